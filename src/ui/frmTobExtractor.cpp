#include "frmTobExtractor.h"

#include "AppIcon.h"
#include "BackgroundRun.h"
#include "CaptionButton.h"
#include "Diagnostics.h"
#include "DriveList.h"
#include "FolderList.h"
#include "FormLook.h"
#include "OpenFileDialog.h"
#include "QtMessageBox.h"
#include "ResultListView.h"
#include "frmRcTweaks.h"

#include "core/Clock.h"
#include "core/FileSystem.h"
#include "core/FileUtils.h"
#include "detect/Dispatch.h"
#include "tob1/Tob1Converter.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>

#include <algorithm>
#include <exception>
#include <utility>

namespace tobx {

namespace {

// The texts of each pane's source dialog.
struct SourceDialog {
    const char* pattern;
    const char* title;
    const char* entries; // filter entries 1 to 3, each ending in '|'
};
constexpr SourceDialog kSourceDialogs[2] = {
    {"*.tob;*.toj;*.idx;*.img", "Select Source file to extract / convert",
     "TObrava I Bik; Tobrava II data file (*.tob)|*.tob|"
     "TObrava I Jpg file (*.toj)|*.toj|"
     "Rollcage Stage II index; data file (*.idx;*.img)|*.idx;*.img|"},
    {"*.lst;*.bik;*.jpg", "Select .lst file to build new archive or other to convert",
     "Tobrava II / Rollcage list file (*.lst)|*.lst|"
     "bik file (*.bik)|*.bik|"
     "jpg file (*.jpg)|*.jpg|"},
};
constexpr int kAllSupportedEntry = 4;

constexpr const char* kConverterTitle = "Select File to convert";
constexpr const char* kConverterPattern = "*.toj;*.tob;*.jpg;*.bik";
constexpr const char* kConverterFilter = "TObrava Jpg (*.toj)|*.toj|TObrava Bik (*.tob)|*.tob|jpg (*.jpg)|*.jpg|"
                                         "bik (*.bik)|*.bik|All supported (*.toj;*.tob;*.jpg;*.bik)|*.toj;*.tob;*.jpg;*.bik";

constexpr const char* kCreateDirFailed =
    "Directory NOT created - already exist or source file not selected or too much directories above.";

// Where the tweaks dialog opens, from the main window's top-left corner.
constexpr int kTweaksLeftTwips = 4600;
constexpr int kTweaksTopTwips = 100;

QString latin(const char* text)
{
    return QString::fromLatin1(text);
}

QString indexed(const char* name, int index)
{
    return latin(name) + QLatin1Char('_') + QString::number(index);
}

template <typename W>
W* placed(W* widget, const QString& name, int x, int y, int w, int h)
{
    widget->setObjectName(name);
    widget->setGeometry(x, y, w, h);
    return widget;
}

QLineEdit* pathField(QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    // A display: the program sets it, nothing typed there is ever read.
    field->setReadOnly(true);
    return field;
}

void showPath(QLineEdit* field, const QString& path)
{
    field->setText(path);
    field->setToolTip(path);
}

// The wait pointer for as long as an operation runs, however it ends.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

frmTobExtractor::frmTobExtractor(const WindowServices& services, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmTobExtractor"));
    MessageBox* messages = services.messages;
    if (!messages) {
        m_ownMessages = std::make_unique<QtMessageBox>(this);
        messages = m_ownMessages.get();
    }
    m_files = services.files;
    if (!m_files) {
        m_ownFiles = std::make_unique<QtOpenFileDialog>(this);
        m_files = m_ownFiles.get();
    }
    Clock* clock = services.clock;
    if (!clock) {
        m_ownClock = std::make_unique<SystemClock>();
        clock = m_ownClock.get();
    }
    m_state = std::make_unique<AppState>(*messages, *clock);

    setWindowTitle(latin(kDesignedCaption));
    setWindowIcon(AppIcon());
    setFont(FormFont());
    setFixedSize(601, 461);
    createControls();
    setTabOrders();
    for (int i = 0; i < 2; ++i) {
        m_listViews[i] = std::make_unique<ResultListView>(lstSrcFiles[i]);
        m_state->lstSrcFiles[i].setObserver(m_listViews[i].get());
    }
    m_runs = new BackgroundRun(this, *m_state, {m_listViews[0].get(), m_listViews[1].get()});
    qApp->installEventFilter(this);
    Form_Load();
    centreOnScreen();
}

frmTobExtractor::~frmTobExtractor()
{
    // The dialog reads the tweak model, which goes before the child widgets do.
    if (m_tweaksDialog) {
        m_tweaksDialog->dismiss();
        delete m_tweaksDialog.data();
    }
    for (ResultList& list : m_state->lstSrcFiles)
        list.setObserver(nullptr);
}

void frmTobExtractor::createControls()
{
    fraExtract = placed(new QGroupBox(QStringLiteral("Extract"), this), QStringLiteral("fraExtract"), 8, 2, 265, 455);
    fraBuild = placed(new QGroupBox(QStringLiteral("Build"), this), QStringLiteral("fraBuild"), 328, 2, 265, 455);

    const std::array<QGroupBox*, 2> panes{fraExtract, fraBuild};
    const char* const srcFrameCaptions[2] = {"Select source file to extract",
                                             "Select source list file to build new archive"};
    const char* const selectCaptions[2] = {"Select &Source file to extract / convert...",
                                           "Select .lst to build archive or other to convert..."};
    const char* const dstFrameCaptions[2] = {"Select destination to Extract / Convert files to",
                                             "Select directory for output"};
    const char* const createDirCaptions[2] = {"Create Directory (src. file name w/o ext.)",
                                              "Create Directory (file name w/o ext. from .lst)"};
    const char* const goCaptions[2] = {"&Extract", "&Build"};

    for (int i = 0; i < 2; ++i) {
        QGroupBox* src = new QGroupBox(latin(srcFrameCaptions[i]), panes[i]);
        fraSelectSrcFile[i] = placed(src, indexed("fraSelectSrcFile", i), 8, 12, 249, 185);
        cmdSelectSrc[i] = placed(new CaptionButton(latin(selectCaptions[i]), src), indexed("cmdSelectSrc", i), 8, 16, 233, 23);
        txtSrcPath[i] = placed(pathField(src), indexed("txtSrcPath", i), 8, 46, 233, 19);
        lstSrcFiles[i] = placed(new QListWidget(src), indexed("lstSrcFiles", i), 8, 74, 233, 79);
        // Operations highlight many lines at once (every entry written).
        lstSrcFiles[i]->setSelectionMode(QAbstractItemView::MultiSelection);
        lstSrcFiles[i]->setUniformItemSizes(true);

        QGroupBox* dst = new QGroupBox(latin(dstFrameCaptions[i]), panes[i]);
        fraSelectDstDir[i] = placed(dst, indexed("fraSelectDstDir", i), 8, 200, 249, 217);
        drvDst[i] = placed(new DriveList(dst), indexed("drvDst", i), 8, 14, 233, 21);
        dirDst[i] = placed(new FolderList(dst), indexed("dirDst", i), 8, 42, 233, 111);
        cmdCreateDir[i] = placed(new CaptionButton(latin(createDirCaptions[i]), dst), indexed("cmdCreateDir", i), 8, 160, 233, 21);
        txtDstPath[i] = placed(pathField(dst), indexed("txtDstPath", i), 8, 188, 233, 19);

        cmdGo[i] = placed(new CaptionButton(latin(goCaptions[i]), panes[i]), indexed("cmdGo", i), 8, 424, 113, 23);

        connect(cmdSelectSrc[i], &QPushButton::clicked, this, [this, i] { cmdSelectSrc_Click(i); });
        connect(cmdGo[i], &QPushButton::clicked, this, [this, i] { cmdGo_Click(i); });
        connect(drvDst[i], &DriveList::driveChanged, this, [this, i] { drvDst_Change(i); });
        connect(dirDst[i], &FolderList::folderChanged, this, [this, i] { dirDst_Change(i); });
        connect(cmdCreateDir[i], &QPushButton::clicked, this, [this, i] { cmdCreateDir_Click(i); });
    }

    chkUseTweaks = placed(new QCheckBox(QStringLiteral("Use Rc2 Tweaks"), fraExtract), QStringLiteral("chkUseTweaks"), 136, 418, 113, 17);
    chkCreateLstOnly = placed(new QCheckBox(QStringLiteral("Create List File &Only"), fraExtract), QStringLiteral("chkCreateLstOnly"), 136, 434, 113, 17);
    chkMoveFiles = placed(new QCheckBox(QStringLiteral("&Move Files"), fraBuild), QStringLiteral("chkMoveFiles"), 160, 426, 73, 17);
    connect(chkUseTweaks, &QCheckBox::toggled, this, [this] { chkUseTweaks_Click(); });
    connect(chkCreateLstOnly, &QCheckBox::toggled, this, [this] { chkCreateLstOnly_Click(); });
    connect(chkMoveFiles, &QCheckBox::toggled, this, [this] { chkMoveFiles_Click(); });

    cmdAbout = placed(new CaptionButton(QStringLiteral("&About"), this), QStringLiteral("cmdAbout"), 280, 12, 41, 33);
    const char* const showPathsCaptions[2] = {"SP0", "SP1"};
    const char* const copyPathsCaptions[2] = {"&<=", "=&>"};
    const int showPathsTop[2] = {126, 152};
    const int copyPathsTop[2] = {228, 204};
    for (int i = 0; i < 2; ++i) {
        cmdShowPaths[i] = placed(new CaptionButton(latin(showPathsCaptions[i]), this), indexed("cmdShowPaths", i), 280, showPathsTop[i], 41, 27);
        cmdCopyPaths[i] = placed(new CaptionButton(latin(copyPathsCaptions[i]), this), indexed("cmdCopyPaths", i), 280, copyPathsTop[i], 41, 25);
        connect(cmdShowPaths[i], &QPushButton::clicked, this, [this, i] { cmdShowPaths_Click(i); });
        connect(cmdCopyPaths[i], &QPushButton::clicked, this, [this, i] { cmdCopyPaths_Click(i); });
    }
    cmdTob1cnv = placed(new CaptionButton(QStringLiteral("Tobrava I Converter"), this), QStringLiteral("cmdTob1cnv"), 272, 314, 57, 33);
    cmdExit = placed(new CaptionButton(QStringLiteral("E&xit"), this), QStringLiteral("cmdExit"), 280, 422, 41, 33);
    connect(cmdAbout, &QPushButton::clicked, this, [this] { cmdAbout_Click(); });
    connect(cmdTob1cnv, &QPushButton::clicked, this, [this] { cmdTob1cnv_Click(); });
    connect(cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
}

void frmTobExtractor::setTabOrders()
{
    const std::pair<QWidget*, int> order[] = {
        {cmdSelectSrc[0], 2}, {txtSrcPath[0], 3}, {lstSrcFiles[0], 4}, {drvDst[0], 6}, {dirDst[0], 7},
        {cmdCreateDir[0], 8}, {txtDstPath[0], 9}, {cmdGo[0], 10}, {chkCreateLstOnly, 11},
        {cmdSelectSrc[1], 14}, {txtSrcPath[1], 15}, {lstSrcFiles[1], 16}, {drvDst[1], 18}, {dirDst[1], 19},
        {cmdCreateDir[1], 20}, {txtDstPath[1], 21}, {cmdGo[1], 22}, {chkMoveFiles, 23}, {cmdAbout, 24},
        {cmdCopyPaths[1], 25}, {cmdCopyPaths[0], 26}, {cmdExit, 27}, {cmdTob1cnv, 28}, {cmdShowPaths[0], 29},
        {cmdShowPaths[1], 30}, {chkUseTweaks, 31},
    };
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1].first, order[i].first);
}

void frmTobExtractor::Form_Load()
{
    setWindowTitle(VersionedCaption(windowTitle(), TOBX_VERSION_MAJOR, TOBX_VERSION_MINOR, TOBX_VERSION_PATCH));
    m_state->StartDir = QDir::currentPath();
    // Both folder lists start at the current folder; opening it runs the
    // destination handler of each pane, Extract first.
    for (int i = 0; i < 2; ++i)
        if (!dirDst[i]->setCurrentFolder(m_state->StartDir))
            dirDst_Change(i);
}

void frmTobExtractor::centreOnScreen()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
}

template <typename Body>
void frmTobExtractor::guarded(Body&& body)
{
    try {
        std::forward<Body>(body)();
    } catch (const std::exception& error) {
        showError(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        showError(QStringLiteral("unknown error"));
    }
}

void frmTobExtractor::showError(const QString& reason)
{
    try {
        m_state->show(QStringLiteral("The operation stopped on an error: ") + reason, QStringLiteral("ERROR"),
                      MsgIcon::Critical);
    } catch (...) {
        // Nothing more can be reported; the window carries on.
    }
}

void frmTobExtractor::showSrcPath(int index)
{
    showPath(txtSrcPath[index], m_state->SrcFile[index].FPath);
}

void frmTobExtractor::showDstPath(int index)
{
    showPath(txtDstPath[index], m_state->DstFile[index].FPath);
}

void frmTobExtractor::cmdSelectSrc_Click(int index)
{
    guarded([&] {
        const SourceDialog& texts = kSourceDialogs[index];
        const QString pattern = latin(texts.pattern);
        OpenFileRequest request;
        request.title = latin(texts.title);
        request.filter = latin(texts.entries) + QStringLiteral("All supported (") + pattern + QStringLiteral(")|") + pattern;
        request.filterIndex = kAllSupportedEntry;
        const QString previous = m_state->SrcFile[index].FPath;
        request.initialFile = !previous.isEmpty() && !previous.endsWith(QLatin1Char('/'))
            ? previous
            : JoinPath(ProgramFolder(), pattern);
        const std::optional<ChosenFile> chosen = m_files->open(request);
        if (!chosen)
            return;
        SelectSourceFile(*m_state, index, chosen->fullPath, chosen->bareName);
        showSrcPath(index);
        dirDst_Change(index);
    });
}

void frmTobExtractor::cmdGo_Click(int index)
{
    const WaitCursor wait;
    guarded([&] { m_runs->runPane(index, m_tweaks); });
    // Also after an error that escaped the operation.
    QDir::setCurrent(m_state->StartDir);
    guarded([&] {
        m_listViews[index]->flush();
        // The Build pane's output name was read afresh before the build.
        if (index == BuildPane)
            showDstPath(BuildPane);
    });
}

void frmTobExtractor::drvDst_Change(int index)
{
    guarded([&] {
        // A volume that cannot be opened: the selector goes back to the
        // volume of the folder still shown.
        if (!dirDst[index]->setCurrentFolder(drvDst[index]->currentRoot()))
            drvDst[index]->showVolumeOf(dirDst[index]->currentFolder());
    });
}

void frmTobExtractor::dirDst_Change(int index)
{
    guarded([&] {
        const QString folder = dirDst[index]->currentFolder();
        SetDstFolder(*m_state, index, folder);
        showDstPath(index);
        drvDst[index]->showVolumeOf(folder);
    });
}

void frmTobExtractor::cmdCreateDir_Click(int index)
{
    guarded([&] {
        const PATHS& dst = m_state->DstFile[index];
        // Every cause (no output name, folder exists, parent missing, name
        // refused) gets the one message.
        if (dst.FName.size() <= 4) {
            m_state->show(latin(kCreateDirFailed));
            return;
        }
        const QString newDir = dst.FPath.chopped(4);
        if (!QDir().mkdir(newDir) || !dirDst[index]->setCurrentFolder(newDir)) {
            m_state->show(latin(kCreateDirFailed));
            return;
        }
        dirDst[1 - index]->refresh();
    });
}

void frmTobExtractor::cmdCopyPaths_Click(int index)
{
    guarded([&] {
        const int other = 1 - index;
        const PATHS& from = m_state->DstFile[other];
        if (!from.FPath.endsWith(QLatin1Char('/'))) {
            PATHS& src = m_state->SrcFile[index];
            // Copied as they are: this folder has no trailing '/', and a name
            // from a list file's first field may hold a sub-path.
            src.FDir = from.FDir;
            src.FPath = from.FPath;
            src.FName = from.FName;
            src.FExt = GetFileExt(src.FName);
            txtSrcPath[index]->setText(txtDstPath[other]->text());
            txtSrcPath[index]->setToolTip(txtDstPath[other]->toolTip());
            QString reason;
            if (!SetDstFileName(*m_state, index, &reason))
                m_state->showIoError(QStringLiteral("Cannot read the list file"), src.FPath, reason);
        }
        const QString otherSource = m_state->SrcFile[other].FDir;
        if (!otherSource.isEmpty())
            dirDst[index]->setCurrentFolder(QDir::cleanPath(otherSource));
        dirDst_Change(index);
    });
}

void frmTobExtractor::RefreshBuildPane()
{
    guarded([&] {
        QString reason;
        if (!tobx::RefreshBuildPane(*m_state, &reason))
            m_state->showIoError(QStringLiteral("Cannot read the list file"), m_state->SrcFile[BuildPane].FPath, reason);
        dirDst_Change(BuildPane);
    });
}

void frmTobExtractor::cmdShowPaths_Click(int index)
{
    guarded([&] {
        m_state->show(PathDumpText(*m_state, index, txtSrcPath[index]->text(), txtDstPath[index]->text()),
                      PathDumpTitle(index));
    });
}

void frmTobExtractor::cmdAbout_Click()
{
    guarded([&] {
        m_state->show(AboutText(windowTitle(), QStringLiteral(" (c) " TOBX_COPYRIGHT_YEARS " the TobExtractor developers")),
                      latin(kAboutTitle));
    });
}

void frmTobExtractor::cmdTob1cnv_Click()
{
    guarded([&] {
        OpenFileRequest request;
        request.title = latin(kConverterTitle);
        request.filter = latin(kConverterFilter);
        request.filterIndex = 1;
        request.initialFile = m_state->CnvPath.isEmpty() ? JoinPath(ProgramFolder(), latin(kConverterPattern))
                                                         : m_state->CnvPath;
        const std::optional<ChosenFile> chosen = m_files->open(request);
        if (!chosen)
            return;
        m_state->CnvPath = chosen->fullPath;
        m_runs->convert(chosen->fullPath, chosen->bareName);
    });
}

void frmTobExtractor::cmdExit_Click()
{
    close();
}

void frmTobExtractor::chkUseTweaks_Click()
{
    guarded([&] {
        m_state->UseTweaks = chkUseTweaks->isChecked();
        if (!m_state->UseTweaks) {
            closeTweaksDialog();
            return;
        }
        m_state->RcVersion = Rc2DemoPC;
        if (!m_tweaksDialog) {
            auto* dialog = new frmRcTweaks(m_tweaks, m_state->RcVersion, this);
            connect(dialog, &frmRcTweaks::closeRequested, this, [this] { chkUseTweaks->setChecked(false); });
            m_tweaksDialog = dialog;
        }
        m_tweaksDialog->setWindowIcon(windowIcon());
        m_tweaksDialog->move(frameGeometry().topLeft() + QPoint(Twips(kTweaksLeftTwips), Twips(kTweaksTopTwips)));
        m_tweaksDialog->show();
    });
}

void frmTobExtractor::closeTweaksDialog()
{
    frmRcTweaks* dialog = m_tweaksDialog;
    m_tweaksDialog = nullptr;
    if (!dialog)
        return;
    dialog->dismiss();
    // Possibly called from within the dialog's own close event.
    dialog->deleteLater();
}

void frmTobExtractor::chkCreateLstOnly_Click()
{
    m_state->CreateLstOnly = chkCreateLstOnly->isChecked();
}

void frmTobExtractor::chkMoveFiles_Click()
{
    m_state->MoveFiles = chkMoveFiles->isChecked();
}

void frmTobExtractor::closeEvent(QCloseEvent* event)
{
    // During a run: asked, then cancelled; the window closes once it stopped.
    if (!m_runs->allowClose()) {
        event->ignore();
        return;
    }
    if (chkUseTweaks->isChecked())
        chkUseTweaks->setChecked(false);
    closeTweaksDialog();
    event->accept();
}

bool frmTobExtractor::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F5) {
        const auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this) {
            if (!m_runs->running()) // a run reads the Build pane's paths
                RefreshBuildPane();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tobx

// SPDX-License-Identifier: MIT
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
#include "OpenFromOutside.h"
#include "ResultListView.h"
#include "RunFeedback.h"
#include "StatusLine.h"
#include "WindowMemory.h"
#include "frmRcTweaks.h"

#include "core/Clock.h"
#include "core/FileSystem.h"
#include "core/FileUtils.h"
#include "detect/Dispatch.h"
#include "detect/QualifySrcFile.h"
#include "tob1/Tob1Converter.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QScreen>
#include <QTimer>
#include <QSettings>

#include <algorithm>
#include <exception>
#include <optional>
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

// The window's default and smallest size, at which every control sits where
// the control table puts it.
constexpr int kFormWidth = 601;
constexpr int kFormHeight = 461;

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

QLineEdit* pathField(QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    // A display: the program sets it, nothing typed there is ever read; a
    // path dropped on it goes to the pane.
    field->setReadOnly(true);
    field->setAcceptDrops(false);
    return field;
}

FileDialogKind sourceDialog(int index)
{
    return index == BuildPane ? FileDialogKind::BuildSource : FileDialogKind::ExtractSource;
}

QString folderOf(const QString& file)
{
    return QFileInfo(file).absolutePath();
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
    if (services.settings)
        m_memory = std::make_unique<WindowMemory>(*services.settings);

    setWindowTitle(latin(kDesignedCaption));
    setWindowIcon(AppIcon());
    setMinimumSize(kFormWidth, kFormHeight);
    resize(kFormWidth, kFormHeight);
    setAcceptDrops(true);
    createControls();
    setFont(FittingFont(this));
    setTabOrders();
    for (int i = 0; i < 2; ++i) {
        m_listViews[i] = std::make_unique<ResultListView>(lstSrcFiles[i]);
        m_state->lstSrcFiles[i].setObserver(m_listViews[i].get());
    }
    m_runs = new BackgroundRun(this, *m_state, {m_listViews[0].get(), m_listViews[1].get()});
    qApp->installEventFilter(this);
    Form_Load();
    restorePlace();
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

template <typename W>
W* frmTobExtractor::placed(W* widget, const QString& name, int x, int y, int w, int h)
{
    widget->setObjectName(name);
    widget->setGeometry(x, y, w, h);
    m_designed.insert(widget, widget->geometry());
    return widget;
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
        // In the room the frame leaves below the list.
        lblStatus[i] = placed(new StatusLine(src), indexed("lblStatus", i), 8, 159, 233, 19);

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
        connect(drvDst[i], &DriveList::folderTyped, this, [this, i] { openTypedFolder(i); });
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
    // Both folder lists start at the current folder, or at the pane's
    // remembered destination while it exists; opening it runs the
    // destination handler of each pane, Extract first.
    for (int i = 0; i < 2; ++i) {
        const QString remembered = m_memory ? m_memory->destination(i) : QString();
        if (!remembered.isEmpty() && dirDst[i]->setCurrentFolder(remembered))
            continue;
        if (!dirDst[i]->setCurrentFolder(m_state->StartDir))
            dirDst_Change(i);
    }
}

void frmTobExtractor::centreOnScreen()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
}

void frmTobExtractor::restorePlace()
{
    const std::optional<WindowMemory::Place> place = m_memory ? m_memory->windowPlace() : std::nullopt;
    if (!place) {
        centreOnScreen();
        return;
    }
    resize(place->size.expandedTo(minimumSize()));
    // On the screen it was on, or on the main screen when that one is gone;
    // moved back inside where it would stick out.
    const QScreen* where = QGuiApplication::screenAt(place->position);
    if (!where)
        where = QGuiApplication::primaryScreen();
    move(where ? PlaceInside(QRect(place->position, size()), where->availableGeometry()) : place->position);
}

void frmTobExtractor::rememberOnClose()
{
    if (!m_memory)
        return;
    for (int i = 0; i < 2; ++i)
        m_memory->setDestination(i, m_state->DstFile[i].FDir);
    m_memory->setWindowPlace({pos(), size()});
    m_memory->sync();
}

void frmTobExtractor::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutControls();
}

void frmTobExtractor::layoutControls()
{
    const int extraWidth = std::max(0, width() - kFormWidth);
    const int extraHeight = std::max(0, height() - kFormHeight);
    const std::array<int, 2> paneGrowth{extraWidth / 2, extraWidth - extraWidth / 2};
    // The result list and the folder list share the extra height.
    const int srcGrowth = extraHeight / 2;
    const int dstGrowth = extraHeight - srcGrowth;
    const auto put = [this](QWidget* control, int dx, int dy, int dw, int dh) {
        const QRect designed = m_designed.value(control);
        control->setGeometry(designed.x() + dx, designed.y() + dy, designed.width() + dw, designed.height() + dh);
    };
    put(fraExtract, 0, 0, paneGrowth[0], extraHeight);
    put(fraBuild, paneGrowth[0], 0, paneGrowth[1], extraHeight);
    for (int i = 0; i < 2; ++i) {
        const int grow = paneGrowth[i];
        put(fraSelectSrcFile[i], 0, 0, grow, srcGrowth);
        put(cmdSelectSrc[i], 0, 0, grow, 0);
        put(txtSrcPath[i], 0, 0, grow, 0);
        put(lstSrcFiles[i], 0, 0, grow, srcGrowth);
        put(lblStatus[i], 0, srcGrowth, grow, 0);
        put(fraSelectDstDir[i], 0, srcGrowth, grow, dstGrowth);
        put(drvDst[i], 0, 0, grow, 0);
        put(dirDst[i], 0, 0, grow, dstGrowth);
        put(cmdCreateDir[i], 0, dstGrowth, grow, 0);
        put(txtDstPath[i], 0, dstGrowth, grow, 0);
        put(cmdGo[i], 0, extraHeight, 0, 0);
    }
    for (QWidget* check : {static_cast<QWidget*>(chkUseTweaks), static_cast<QWidget*>(chkCreateLstOnly),
                           static_cast<QWidget*>(chkMoveFiles)})
        put(check, 0, extraHeight, 0, 0);
    // The middle column keeps its buttons beside the parts of the panes they
    // act on: the path buttons at the foot of the source frames, the
    // converter in the middle of the destination frames, Exit at the bottom.
    const int middle = paneGrowth[0];
    put(cmdAbout, middle, 0, 0, 0);
    for (int i = 0; i < 2; ++i) {
        put(cmdShowPaths[i], middle, srcGrowth, 0, 0);
        put(cmdCopyPaths[i], middle, srcGrowth, 0, 0);
    }
    put(cmdTob1cnv, middle, srcGrowth + dstGrowth / 2, 0, 0);
    put(cmdExit, middle, extraHeight, 0, 0);
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
            : JoinPath(firstDialogFolder(sourceDialog(index)), pattern);
        const std::optional<ChosenFile> chosen = m_files->open(request);
        if (!chosen)
            return;
        chooseSource(index, chosen->fullPath, chosen->bareName);
    });
}

void frmTobExtractor::chooseSource(int index, const QString& fullPath, const QString& bareName)
{
    SelectSourceFile(*m_state, index, fullPath, bareName);
    showSrcPath(index);
    dirDst_Change(index);
    rememberDialogFolder(sourceDialog(index), fullPath);
}

QString frmTobExtractor::firstDialogFolder(FileDialogKind dialog) const
{
    const QString remembered = m_memory ? m_memory->dialogFolder(dialog) : QString();
    if (!remembered.isEmpty())
        return remembered;
    return FirstDialogFolder(m_state->StartDir, ProgramFolder(), QDir::homePath());
}

void frmTobExtractor::rememberDialogFolder(FileDialogKind dialog, const QString& chosenFile)
{
    if (m_memory)
        m_memory->setDialogFolder(dialog, folderOf(chosenFile));
}

void frmTobExtractor::openFiles(const QStringList& paths, int pane)
{
    // A run works from the sources chosen when it started: these wait for its end.
    if (m_runs->running()) {
        QTimer::singleShot(200, this, [this, paths, pane] { openFiles(paths, pane); });
        return;
    }
    guarded([&] {
        std::array<bool, 2> taken{};
        QStringList left;
        for (const QString& path : paths) {
            const QFileInfo file(path);
            // Only an existing file can be chosen in a dialog.
            if (!file.isFile()) {
                m_state->show(QStringLiteral("File not found or file is empty or wrong file size."),
                              QStringLiteral("ERROR"), MsgIcon::Critical);
                continue;
            }
            const int target = pane >= 0 ? pane : PaneForFile(file.absoluteFilePath());
            if (taken[target]) {
                left.append(QDir::toNativeSeparators(file.absoluteFilePath()));
                continue;
            }
            taken[target] = true;
            chooseSource(target, file.absoluteFilePath(), file.fileName());
        }
        if (!left.isEmpty())
            m_state->show(QStringLiteral("Each pane takes one source file; the first one for each pane was chosen. "
                                         "Not chosen:\n")
                              + left.join(QLatin1Char('\n')),
                          QString(), MsgIcon::Information);
    });
}

int frmTobExtractor::paneOf(const QWidget* control) const
{
    for (const QWidget* w = control; w && w != this; w = w->parentWidget()) {
        if (w == fraExtract)
            return ExtractPane;
        if (w == fraBuild)
            return BuildPane;
    }
    return -1;
}

void frmTobExtractor::dropPaths(const QStringList& paths, const QWidget* target)
{
    if (paths.isEmpty())
        return;
    const int pane = paneOf(target);
    QStringList files;
    QString folder;
    for (const QString& path : paths) {
        if (QFileInfo(path).isDir()) {
            if (folder.isEmpty())
                folder = path;
        } else {
            files.append(path);
        }
    }
    // A folder becomes the destination of the pane it is dropped on; outside
    // the panes it has no place.
    if (pane >= 0 && !folder.isEmpty() && files.isEmpty()) {
        guarded([&] {
            if (!dirDst[pane]->setCurrentFolder(folder))
                showStatus(pane, QStringLiteral("Cannot open the folder ") + QDir::toNativeSeparators(folder));
        });
        return;
    }
    if (!files.isEmpty())
        openFiles(files, pane);
}

void frmTobExtractor::dragEnterEvent(QDragEnterEvent* event)
{
    if (!m_runs->running() && !DroppedPaths(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void frmTobExtractor::dragMoveEvent(QDragMoveEvent* event)
{
    if (!m_runs->running() && !DroppedPaths(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void frmTobExtractor::dropEvent(QDropEvent* event)
{
    const QStringList paths = DroppedPaths(event->mimeData());
    if (paths.isEmpty() || m_runs->running())
        return;
    event->acceptProposedAction();
    dropPaths(paths, childAt(event->position().toPoint()));
}

void frmTobExtractor::showStatus(int index, const QString& text)
{
    lblStatus[index]->setMessage(text);
}

QString frmTobExtractor::statusText(int index) const
{
    return lblStatus[index]->message();
}

void frmTobExtractor::cmdGo_Click(int index)
{
    const WaitCursor wait;
    std::optional<PaneRun> run;
    guarded([&] { run = m_runs->runPane(index, m_tweaks); });
    // Also after an error that escaped the operation.
    QDir::setCurrent(m_state->StartDir);
    guarded([&] {
        m_listViews[index]->flush();
        // The Build pane's output name was read afresh before the build.
        if (index == BuildPane)
            showDstPath(BuildPane);
        showStatus(index, run ? PaneRunFeedback(*m_state, index, *run) : QStringLiteral("Stopped on an error"));
        // Folders the run made show up at once.
        for (FolderList* list : dirDst)
            list->refresh();
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
        drvDst[index]->showFolder(folder);
    });
}

void frmTobExtractor::openTypedFolder(int index)
{
    guarded([&] {
        const QString typed = drvDst[index]->typedFolder();
        if (dirDst[index]->setCurrentFolder(typed))
            return;
        showStatus(index, QStringLiteral("No such folder: ") + QDir::toNativeSeparators(typed));
        drvDst[index]->showFolder(dirDst[index]->currentFolder());
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
        // Pressed again: the destination is the folder made the first time,
        // and a folder of the same name inside it is not what anyone wants.
        const bool alreadyThere = QDir(dst.FDir).dirName() == QFileInfo(newDir).fileName();
        if (alreadyThere || !QDir().mkdir(newDir) || !dirDst[index]->setCurrentFolder(newDir)) {
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
        Message dump;
        dump.text = PathDumpText(*m_state, index, txtSrcPath[index]->text(), txtDstPath[index]->text());
        dump.title = PathDumpTitle(index);
        dump.fixedPitch = true;
        m_state->messages.show(dump);
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
        request.initialFile = m_state->CnvPath.isEmpty()
            ? JoinPath(firstDialogFolder(FileDialogKind::Converter), latin(kConverterPattern))
            : m_state->CnvPath;
        const std::optional<ChosenFile> chosen = m_files->open(request);
        if (!chosen)
            return;
        m_state->CnvPath = chosen->fullPath;
        rememberDialogFolder(FileDialogKind::Converter, chosen->fullPath);
        const Outcome outcome = m_runs->convert(chosen->fullPath, chosen->bareName);
        // The converter's pictures are Tobrava I files, which the Extract
        // pane's dialog lists.
        showStatus(ExtractPane, ConverterFeedback(outcome, chosen->bareName));
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
        placeTweaksDialog();
        m_tweaksDialog->show();
    });
}

void frmTobExtractor::placeTweaksDialog()
{
    const QPoint wanted = frameGeometry().topLeft() + QPoint(Twips(kTweaksLeftTwips), Twips(kTweaksTopTwips));
    // The dialog has no frame yet; it will get one like the main window's.
    const QSize frame = frameGeometry().size() - geometry().size();
    const QScreen* where = screen();
    m_tweaksDialog->move(where ? PlaceInside(QRect(wanted, m_tweaksDialog->size() + frame), where->availableGeometry())
                               : wanted);
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
    rememberOnClose();
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

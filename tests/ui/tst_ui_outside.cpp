// SPDX-License-Identifier: MIT
// Files that reach the window from outside its dialogs (the command line, the
// desktop, a drop), and what the window remembers between runs.
#include "Samples.h"
#include "UiTestSupport.h"
#include "core/FileUtils.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace tobx;
using namespace tobx::test;

namespace {

const QString kNotFound = QStringLiteral("File not found or file is empty or wrong file size.");
const QString kExtractPattern = QStringLiteral("*.tob;*.toj;*.idx;*.img");
const QString kBuildPattern = QStringLiteral("*.lst;*.bik;*.jpg");

// The sample files the rows name, below the start folder.
void writeSamples(WindowHarness& w)
{
    const QByteArray archive = samples::MakeTobArchive(samples::NestedEntries(4, 40, 2));
    w.write("games/data.tob", archive);
    w.write("games/other.tob", archive);
    w.write("games/data.bin", archive); // an archive under another extension
    w.write("games/rc.idx", QByteArray(32, '\0'));
    w.write("mods/data.lst", samples::MakeTobList("data.tob", {"a.bin"}));
    w.write("mods/rc.lst", QByteArray("rc.idx\r\n\r\n0,RCIMG.000,-\r\n"));
    w.write("mods/notes.lst", QByteArray("just some notes\r\n"));
    w.write("games/tiny.tob", QByteArray("VX"));
    QDir().mkpath(w.path("out"));
}

QString underStart(const WindowHarness& w, const QString& relative)
{
    return relative.isEmpty() ? QString() : w.path(relative);
}

} // namespace

class OutsideTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void openFiles_data();
    void openFiles();
    void openedAsIfChosen();
    void drops_data();
    void drops();
    void dragEnter_data();
    void dragEnter();
    void rememberedBetweenRuns();
    void nothingRememberedWithoutSettings();
    void rememberedPlace_data();
    void rememberedPlace();
};

void OutsideTest::openFiles_data()
{
    QTest::addColumn<QStringList>("files");     // below the start folder
    QTest::addColumn<QString>("extract");       // the Extract pane's source afterwards, "" none
    QTest::addColumn<QString>("build");         // the Build pane's source afterwards
    QTest::addColumn<QStringList>("boxes");     // texts the boxes hold, in order
    QTest::newRow("archive") << QStringList{"games/data.tob"} << "games/data.tob" << "" << QStringList{};
    QTest::newRow("list file") << QStringList{"mods/data.lst"} << "" << "mods/data.lst" << QStringList{};
    QTest::newRow("Rollcage list and index") << QStringList{"mods/rc.lst", "games/rc.idx"} << "games/rc.idx" << "mods/rc.lst"
                                             << QStringList{};
    QTest::newRow("archive under another extension, without the detection's warning")
        << QStringList{"games/data.bin"} << "games/data.bin" << "" << QStringList{};
    QTest::newRow("list that names neither kind") << QStringList{"mods/notes.lst"} << "mods/notes.lst" << "" << QStringList{};
    QTest::newRow("too small to type") << QStringList{"games/tiny.tob"} << "games/tiny.tob" << "" << QStringList{};
    QTest::newRow("two archives: the first is taken, the second named")
        << QStringList{"games/data.tob", "mods/data.lst", "games/other.tob"} << "games/data.tob" << "mods/data.lst"
        << QStringList{"other.tob"};
    QTest::newRow("missing file") << QStringList{"games/none.tob"} << "" << "" << QStringList{kNotFound};
    QTest::newRow("a folder") << QStringList{"games"} << "" << "" << QStringList{kNotFound};
    QTest::newRow("missing, then an archive") << QStringList{"games/none.tob", "games/data.tob"} << "games/data.tob" << ""
                                              << QStringList{kNotFound};
}

void OutsideTest::openFiles()
{
    QFETCH(QStringList, files);
    QFETCH(QString, extract);
    QFETCH(QString, build);
    QFETCH(QStringList, boxes);
    WindowHarness w;
    writeSamples(w);
    for (const QString& text : boxes)
        w.h.box.expect(QString(), text);
    QStringList paths;
    for (const QString& file : files)
        paths.append(w.path(file));
    w.window->openFiles(paths);
    TOBX_VERIFY_BOXES(w.h.box);
    TOBX_VERIFY_FILES(w.files); // no dialog opened
    QCOMPARE(w.state().SrcFile[ExtractPane].FPath, underStart(w, extract));
    QCOMPARE(w.state().SrcFile[BuildPane].FPath, underStart(w, build));
    QCOMPARE(w.srcPathText(ExtractPane), underStart(w, extract));
    QCOMPARE(w.srcPathText(BuildPane), underStart(w, build));
    for (const Message& box : w.h.box.shown) {
        if (box.text == kNotFound) {
            QCOMPARE(box.title, QStringLiteral("ERROR"));
            QCOMPARE(box.icon, MsgIcon::Critical);
        } else {
            QCOMPARE(box.icon, MsgIcon::Information);
            QVERIFY2(box.text.contains(QLatin1String("the first one for each pane was chosen")), qPrintable(box.text));
        }
    }
}

// The same records, fields and lists as a choice in the pane's dialog.
void OutsideTest::openedAsIfChosen()
{
    WindowHarness byDialog;
    WindowHarness byName;
    for (WindowHarness* w : {&byDialog, &byName}) {
        writeSamples(*w);
        QVERIFY(w->openFolder(BuildPane, w->path("out")));
    }
    byDialog.selectSource(ExtractPane, byDialog.path("games/data.tob"));
    byDialog.selectSource(BuildPane, byDialog.path("mods/data.lst"));
    byName.window->openFiles({byName.path("mods/data.lst"), byName.path("games/data.tob")});
    for (int pane = 0; pane < 2; ++pane) {
        const auto relative = [](const WindowHarness& w, const QString& path) {
            return QString(path).replace(w.startDir(), QStringLiteral("<start>"));
        };
        const PATHS& a = byDialog.state().SrcFile[pane];
        const PATHS& b = byName.state().SrcFile[pane];
        QCOMPARE(relative(byName, b.FPath), relative(byDialog, a.FPath));
        QCOMPARE(relative(byName, b.FDir), relative(byDialog, a.FDir));
        QCOMPARE(b.FName, a.FName);
        QCOMPARE(b.FExt, a.FExt);
        QCOMPARE(byName.state().DstFile[pane].FName, byDialog.state().DstFile[pane].FName);
        QCOMPARE(relative(byName, byName.dstPathText(pane)), relative(byDialog, byDialog.dstPathText(pane)));
    }
    QCOMPARE(byName.dstPathText(BuildPane), byName.path("out/data.tob"));
    // The pane's dialog then reopens at the file, as after a choice.
    byName.files.cancel();
    byName.click("cmdSelectSrc_1");
    QCOMPARE(byName.files.requests.constFirst().initialFile, byName.path("mods/data.lst"));
}

void OutsideTest::drops_data()
{
    QTest::addColumn<QString>("target");    // the control dropped on; "" the window's own background
    QTest::addColumn<QStringList>("paths"); // below the start folder
    QTest::addColumn<QString>("extract");   // the Extract pane's source afterwards
    QTest::addColumn<QString>("build");
    QTest::addColumn<QString>("extractDest"); // the destinations afterwards, below the start folder ("" the start folder)
    QTest::addColumn<QString>("buildDest");
    QTest::addColumn<int>("boxes");

    QTest::newRow("archive on the Build pane's list goes to that pane")
        << "lstSrcFiles_1" << QStringList{"games/data.tob"} << "" << "games/data.tob" << "" << "" << 0;
    QTest::newRow("list on the Extract pane's source frame")
        << "fraSelectSrcFile_0" << QStringList{"mods/data.lst"} << "mods/data.lst" << "" << "" << "" << 0;
    QTest::newRow("list on the middle column goes to its pane")
        << "cmdAbout" << QStringList{"mods/data.lst"} << "" << "mods/data.lst" << "" << "" << 0;
    QTest::newRow("archive on the window's background") << "" << QStringList{"games/data.tob"} << "games/data.tob" << ""
                                                        << "" << "" << 0;
    QTest::newRow("folder on the Build pane's folder list")
        << "dirDst_1" << QStringList{"games"} << "" << "" << "" << "games" << 0;
    QTest::newRow("hidden folder on the Extract pane's Go button")
        << "cmdGo_0" << QStringList{"games/.wine"} << "" << "" << "games/.wine" << "" << 0;
    QTest::newRow("folder outside the panes has no place") << "cmdExit" << QStringList{"games"} << "" << "" << "" << "" << 0;
    QTest::newRow("two files on a pane: the first is taken")
        << "dirDst_0" << QStringList{"games/data.tob", "games/other.tob"} << "games/data.tob" << "" << "" << "" << 1;
}

void OutsideTest::drops()
{
    QFETCH(QString, target);
    QFETCH(QStringList, paths);
    QFETCH(QString, extract);
    QFETCH(QString, build);
    QFETCH(QString, extractDest);
    QFETCH(QString, buildDest);
    QFETCH(int, boxes);
    WindowHarness w;
    writeSamples(w);
    QVERIFY(QDir().mkpath(w.path("games/.wine")));
    w.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));

    QPoint at(300, 90); // between the panes, above the path buttons
    if (!target.isEmpty()) {
        QWidget* control = w.control<QWidget>(target);
        QVERIFY2(control, qPrintable(target));
        at = control->mapTo(w.window.get(), control->rect().center());
    }
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls.append(QUrl::fromLocalFile(w.path(path)));
    QMimeData data;
    data.setUrls(urls);
    for (int i = 0; i < boxes; ++i)
        w.h.box.expect(QString(), QStringLiteral("Not chosen"));
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    // Straight to the window's handler: the application passes a drop on
    // only while a real drag is under way.
    static_cast<QObject*>(w.window.get())->event(&drop);
    TOBX_VERIFY_BOXES(w.h.box);
    QVERIFY(drop.isAccepted());
    QCOMPARE(w.state().SrcFile[ExtractPane].FPath, underStart(w, extract));
    QCOMPARE(w.state().SrcFile[BuildPane].FPath, underStart(w, build));
    QCOMPARE(w.state().DstFile[ExtractPane].FDir, extractDest.isEmpty() ? w.startDir() : w.path(extractDest));
    QCOMPARE(w.state().DstFile[BuildPane].FDir, buildDest.isEmpty() ? w.startDir() : w.path(buildDest));
}

void OutsideTest::dragEnter_data()
{
    QTest::addColumn<bool>("withFile");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("a local file") << true << true;
    QTest::newRow("plain text") << false << false;
}

void OutsideTest::dragEnter()
{
    QFETCH(bool, withFile);
    QFETCH(bool, accepted);
    WindowHarness w;
    QVERIFY(w.window->acceptDrops());
    QMimeData data;
    if (withFile)
        data.setUrls({QUrl::fromLocalFile(w.write("games/data.tob", QByteArray("VXBG0000000000")))});
    else
        data.setText(QStringLiteral("games/data.tob"));
    QDragEnterEvent enter(QPoint(300, 90), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    enter.ignore();
    static_cast<QObject*>(w.window.get())->event(&enter);
    QCOMPARE(enter.isAccepted(), accepted);
}

void OutsideTest::rememberedBetweenRuns()
{
    QTemporaryDir shared;
    QVERIFY(shared.isValid());
    const auto at = [&](const QString& relative) { return shared.filePath(relative); };
    for (const char* folder : {"games", "out/extract", "out/build", "pics"})
        QVERIFY(QDir().mkpath(at(QString::fromLatin1(folder))));
    QVERIFY(samples::WriteFile(at("games/data.tob"), samples::MakeTobArchive(samples::NestedEntries(3, 20, 1))));
    QVERIFY(samples::WriteFile(at("pics/title.toj"), samples::MakeToj(11, 5)));
    QSettings settings(at("settings.ini"), QSettings::IniFormat);
    QPoint place;
    {
        WindowHarness w(nullptr, &settings);
        QVERIFY(w.openFolder(ExtractPane, at("out/extract")));
        QVERIFY(w.openFolder(BuildPane, at("out/build")));
        w.selectSource(ExtractPane, at("games/data.tob"));
        w.files.choose(at("pics/title.toj"));
        w.click("cmdTob1cnv");
        w.window->move(40, 50);
        w.window->resize(700, 500);
        w.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));
        place = w.window->pos();
        w.window->close();
        TOBX_VERIFY_BOXES(w.h.box);
    }
    {
        WindowHarness w(nullptr, &settings);
        QCOMPARE(w.state().DstFile[ExtractPane].FDir, at("out/extract"));
        QCOMPARE(w.state().DstFile[BuildPane].FDir, at("out/build"));
        QCOMPARE(w.dstPathText(BuildPane), at("out/build/"));
        QCOMPARE(w.window->pos(), place);
        QCOMPARE(w.window->size(), QSize(700, 500));
        // Each dialog first opens in its own last folder; the Build pane's
        // never chose a file and opens in the start folder.
        for (int i = 0; i < 3; ++i)
            w.files.cancel();
        w.click("cmdSelectSrc_0");
        w.click("cmdSelectSrc_1");
        w.click("cmdTob1cnv");
        TOBX_VERIFY_FILES(w.files);
        QCOMPARE(w.files.requests.at(0).initialFile, JoinPath(at("games"), kExtractPattern));
        QCOMPARE(w.files.requests.at(1).initialFile, JoinPath(w.startDir(), kBuildPattern));
        QCOMPARE(w.files.requests.at(2).initialFile, JoinPath(at("pics"), QStringLiteral("*.toj;*.tob;*.jpg;*.bik")));
        // No run changes the records kept for the next start.
        w.window->close();
    }
    // Folders removed meanwhile: the defaults, without a word.
    QVERIFY(QDir(at("out/build")).removeRecursively());
    QVERIFY(QDir(at("games")).removeRecursively());
    {
        WindowHarness w(nullptr, &settings);
        QCOMPARE(w.state().DstFile[ExtractPane].FDir, at("out/extract"));
        QCOMPARE(w.state().DstFile[BuildPane].FDir, w.startDir());
        w.files.cancel();
        w.click("cmdSelectSrc_0");
        QCOMPARE(w.files.requests.at(0).initialFile, JoinPath(w.startDir(), kExtractPattern));
        TOBX_VERIFY_BOXES(w.h.box);
    }
}

void OutsideTest::nothingRememberedWithoutSettings()
{
    QTemporaryDir other;
    {
        WindowHarness w;
        QVERIFY(w.openFolder(ExtractPane, other.path()));
        w.window->close();
    }
    WindowHarness w;
    QCOMPARE(w.state().DstFile[ExtractPane].FDir, w.startDir());
}

void OutsideTest::rememberedPlace_data()
{
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QSize>("restored");
    QTest::newRow("on the screen") << QPoint(30, 20) << QSize(650, 480) << QSize(650, 480);
    QTest::newRow("on a screen that is gone") << QPoint(5000, 4000) << QSize(650, 480) << QSize(650, 480);
    QTest::newRow("smaller than the window can be") << QPoint(30, 20) << QSize(200, 100) << QSize(601, 461);
}

void OutsideTest::rememberedPlace()
{
    QFETCH(QPoint, position);
    QFETCH(QSize, size);
    QFETCH(QSize, restored);
    QTemporaryDir shared;
    QSettings settings(shared.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
    settings.setValue(QStringLiteral("Window/Position"), position);
    settings.setValue(QStringLiteral("Window/Size"), size);
    WindowHarness w(nullptr, &settings);
    QCOMPARE(w.window->size(), restored);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(area.contains(QRect(w.window->pos(), w.window->size())));
    if (area.contains(position))
        QCOMPARE(w.window->pos(), position);
}

QTEST_MAIN(OutsideTest)
#include "tst_ui_outside.moc"

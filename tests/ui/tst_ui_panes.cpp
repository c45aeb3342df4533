// SPDX-License-Identifier: MIT
// The panes' path handling through the real controls: source selection,
// destination folders, creating a folder, copying paths between the panes,
// F5, the path dump, the about box and the converter's dialog.
#include "Samples.h"
#include "UiTestSupport.h"
#include "core/FileSystem.h"
#include "core/FileUtils.h"
#include "ui/DriveList.h"
#include "ui/FolderList.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>

using namespace tobx;
using namespace tobx::test;

namespace {

const QString kExtractPattern = QStringLiteral("*.tob;*.toj;*.idx;*.img");
const QString kBuildPattern = QStringLiteral("*.lst;*.bik;*.jpg");
const QString kCreateDirFailed =
    QStringLiteral("Directory NOT created - already exist or source file not selected or too much directories above.");

QByteArray sampleArchive()
{
    return samples::MakeTobArchive(samples::NestedEntries(6, 64, 3));
}

QByteArray listNaming(const QByteArray& archive)
{
    return samples::MakeTobList(archive, {"a.bin", "b.bin"});
}

// Writes the source of a pane: an archive for the Extract pane, a list file
// naming `archive` for the Build pane.
QString writeSource(WindowHarness& w, int pane, const QString& relative, const QByteArray& archive = "data.tob")
{
    return w.write(relative, pane == ExtractPane ? sampleArchive() : listNaming(archive));
}

QStringList listedFolders(const FolderList* list)
{
    QStringList folders;
    for (int row = 0; row < list->count(); ++row)
        folders.append(list->item(row)->data(FolderList::PathRole).toString());
    return folders;
}

} // namespace

class PanesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sourceDialog_data();
    void sourceDialog();
    void selectSource_data();
    void selectSource();
    void cancelledSelectionChangesNothing();
    void buildPaneOutputName_data();
    void buildPaneOutputName();
    void typedDestination_data();
    void typedDestination();
    void folderList_data();
    void folderList();
    void driveSelector();
    void createDir_data();
    void createDir();
    void copyPaths_data();
    void copyPaths();
    void copyPathsWithNothingChosen();
    void refreshKey_data();
    void refreshKey();
    void pathDump_data();
    void pathDump();
    void aboutBox();
    void converter();
    void converterCancelled();
};

void PanesTest::sourceDialog_data()
{
    QTest::addColumn<int>("pane");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("pattern");
    QTest::newRow("extract") << 0 << "Select Source file to extract / convert"
                             << "TObrava I Bik; Tobrava II data file (*.tob)|*.tob|TObrava I Jpg file (*.toj)|*.toj|"
                                "Rollcage Stage II index; data file (*.idx;*.img)|*.idx;*.img|"
                                "All supported (*.tob;*.toj;*.idx;*.img)|*.tob;*.toj;*.idx;*.img"
                             << kExtractPattern;
    QTest::newRow("build") << 1 << "Select .lst file to build new archive or other to convert"
                           << "Tobrava II / Rollcage list file (*.lst)|*.lst|bik file (*.bik)|*.bik|jpg file (*.jpg)|*.jpg|"
                              "All supported (*.lst;*.bik;*.jpg)|*.lst;*.bik;*.jpg"
                           << kBuildPattern;
}

void PanesTest::sourceDialog()
{
    QFETCH(int, pane);
    QFETCH(QString, title);
    QFETCH(QString, filter);
    QFETCH(QString, pattern);
    WindowHarness w;
    const QString chosen = writeSource(w, pane, pane == 0 ? QStringLiteral("games/data.tob") : QStringLiteral("mods/data.lst"));
    w.selectSource(pane, chosen);
    w.selectSource(pane, chosen);
    TOBX_VERIFY_FILES(w.files);
    QCOMPARE(w.files.requests.size(), 2);
    const OpenFileRequest& first = w.files.requests.at(0);
    QCOMPARE(first.title, title);
    QCOMPARE(first.filter, filter);
    QCOMPARE(first.filterIndex, 4);
    // The first time in the folder the program was started from (not its
    // own folder) with the pattern as the name, afterwards at the previous
    // choice.
    QCOMPARE(first.initialFile, JoinPath(w.startDir(), pattern));
    QCOMPARE(w.files.requests.at(1).initialFile, chosen);
    TOBX_VERIFY_BOXES(w.h.box);
}

void PanesTest::selectSource_data()
{
    QTest::addColumn<int>("pane");
    QTest::addColumn<QString>("relative");
    QTest::addColumn<QByteArray>("listArchive"); // first field of a list file
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("ext");
    QTest::addColumn<QString>("outputName");
    QTest::newRow("archive") << 0 << "games/data.tob" << QByteArray() << "games/" << "tob" << "data.lst";
    QTest::newRow("upper-case extension keeps the stem") << 0 << "games/GAME.IDX" << QByteArray() << "games/" << "idx" << "GAME.lst";
    QTest::newRow("no extension") << 0 << "games/README" << QByteArray() << "games/" << "" << "README.lst";
    QTest::newRow("list file") << 1 << "mods/data.lst" << QByteArray("data.tob") << "mods/" << "lst" << "data.tob";
    QTest::newRow("list with a sub-path") << 1 << "mods/data.lst" << QByteArray("sub\\data.tob") << "mods/" << "lst" << "sub/data.tob";
}

void PanesTest::selectSource()
{
    QFETCH(int, pane);
    QFETCH(QString, relative);
    QFETCH(QByteArray, listArchive);
    QFETCH(QString, folder);
    QFETCH(QString, ext);
    QFETCH(QString, outputName);
    WindowHarness w;
    const QString chosen = pane == ExtractPane ? w.write(relative, sampleArchive()) : w.write(relative, listNaming(listArchive));
    w.selectSource(pane, chosen);

    const PATHS& src = w.state().SrcFile[pane];
    QCOMPARE(src.FPath, chosen);
    QCOMPARE(src.FDir, w.path(folder));
    QCOMPARE(src.FName, QFileInfo(chosen).fileName());
    QCOMPARE(src.FExt, ext);
    QCOMPARE(w.srcPathText(pane), chosen);
    QCOMPARE(w.control<QLineEdit>("txtSrcPath_" + QString::number(pane))->toolTip(), chosen);
    QCOMPARE(w.state().DstFile[pane].FName, outputName);
    QCOMPARE(w.dstPathText(pane), w.path(outputName));
    // The other pane is untouched.
    const int other = 1 - pane;
    QCOMPARE(w.state().SrcFile[other].FPath, QString());
    QCOMPARE(w.dstPathText(other), w.startDir() + QLatin1Char('/'));
    TOBX_VERIFY_FILES(w.files);
    TOBX_VERIFY_BOXES(w.h.box);
}

void PanesTest::buildPaneOutputName_data()
{
    QTest::addColumn<QString>("relative");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("outputName"); // "" for the folder alone
    QTest::newRow("list file") << "mods/data.lst" << QByteArray("data.tob\r\n\r\na.bin\r\n") << "data.tob";
    QTest::newRow("accented name in Windows-1252") << "mods/caf.lst" << QByteArray("caf\xE9.tob,x\r\n") << "caf\u00E9.tob";
    QTest::newRow("Tobrava II archive") << "games/data.tob" << sampleArchive() << "";
    QTest::newRow("video") << "games/intro.bik" << QByteArray::fromHex("42494B69010200001000") + "ABC\r\n" << "";
    QTest::newRow("JPEG picture") << "pics/photo.jpg" << QByteArray::fromHex("FFD8FFE000104A46494600") << "";
    QTest::newRow("undefined Windows-1252 code") << "mods/odd.lst" << QByteArray("a\x81" "b.tob\r\n") << "";
}

// The first "field" of a binary file is no output name: the Build pane then
// shows the folder alone, as with no list.
void PanesTest::buildPaneOutputName()
{
    QFETCH(QString, relative);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, outputName);
    WindowHarness w;
    w.selectSource(BuildPane, w.write(relative, bytes));
    QCOMPARE(w.state().DstFile[BuildPane].FName, outputName);
    QCOMPARE(w.dstPathText(BuildPane), w.startDir() + QLatin1Char('/') + outputName);
    // F5 reads the list the same way.
    QTest::keyClick(w.window.get(), Qt::Key_F5);
    QCOMPARE(w.state().DstFile[BuildPane].FName, outputName);
    w.h.box.expect(QStringLiteral("Show Paths 1"), QString());
    w.click("cmdShowPaths_1");
    TOBX_VERIFY_BOXES(w.h.box);
    QVERIFY(w.h.box.shown.constFirst().text.contains(" DstFile(1).FName   \"" + outputName + "\"\n"));
}

void PanesTest::typedDestination_data()
{
    // %1 is the start folder, %2 the home folder.
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("opened"); // "" when nothing opens
    QTest::newRow("hidden folder") << "%1/games/.wine/drive_c" << "%1/games/.wine/drive_c";
    QTest::newRow("with blanks around it") << "  %1/games  " << "%1/games";
    QTest::newRow("file URL") << "file://%1/games/.wine" << "%1/games/.wine";
    QTest::newRow("home folder") << "~" << "%2";
    QTest::newRow("missing folder") << "%1/games/nowhere" << "";
    QTest::newRow("a file, not a folder") << "%1/games/data.tob" << "";
}

void PanesTest::typedDestination()
{
    QFETCH(QString, typed);
    QFETCH(QString, opened);
    WindowHarness w;
    QVERIFY(QDir().mkpath(w.path("games/.wine/drive_c")));
    w.write("games/data.tob", sampleArchive());
    const auto expand = [&](const QString& text) {
        return QString(text).replace(QLatin1String("%1"), w.startDir()).replace(QLatin1String("%2"), QDir::homePath());
    };
    auto* drives = w.control<DriveList>("drvDst_1");
    w.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));
    drives->lineEdit()->setFocus();
    drives->lineEdit()->selectAll();
    QTest::keyClicks(drives->lineEdit(), expand(typed));
    QTest::keyClick(drives->lineEdit(), Qt::Key_Return);
    TOBX_VERIFY_BOXES(w.h.box);
    const QString destination = opened.isEmpty() ? w.startDir() : expand(opened);
    QCOMPARE(w.state().DstFile[BuildPane].FDir, destination);
    QCOMPARE(w.control<FolderList>("dirDst_1")->currentFolder(), destination);
    // The field shows the folder opened, or the one kept.
    QCOMPARE(drives->currentText(), QDir::toNativeSeparators(destination));
    const QString status = w.window->statusText(BuildPane);
    if (opened.isEmpty())
        QVERIFY2(status.startsWith(QLatin1String("No such folder: ")), qPrintable(status));
    else
        QCOMPARE(status, QString());
    QCOMPARE(w.state().DstFile[ExtractPane].FDir, w.startDir());
}

void PanesTest::cancelledSelectionChangesNothing()
{
    WindowHarness w;
    const QString chosen = writeSource(w, ExtractPane, "games/data.tob");
    w.selectSource(ExtractPane, chosen);
    w.files.cancel();
    w.click("cmdSelectSrc_0");
    TOBX_VERIFY_FILES(w.files);
    QCOMPARE(w.state().SrcFile[0].FPath, chosen);
    QCOMPARE(w.state().SrcFile[0].FName, QStringLiteral("data.tob"));
    QCOMPARE(w.srcPathText(0), chosen);
    QCOMPARE(w.dstPathText(0), w.path("data.lst"));
    TOBX_VERIFY_BOXES(w.h.box);
}

void PanesTest::folderList_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("target"); // the entry acted on, below the start folder ("" the start folder's parent)
    QTest::addColumn<bool>("opens");
    QTest::newRow("single click only highlights") << "click" << "beta" << false;
    QTest::newRow("arrow key only highlights") << "down" << "alpha" << false;
    QTest::newRow("double click opens") << "double" << "beta" << true;
    QTest::newRow("enter opens the highlighted entry") << "enter" << "beta" << true;
    QTest::newRow("double click on an ancestor") << "double" << "" << true;
    QTest::newRow("hidden folder listed and opened") << "double" << ".wine" << true;
}

void PanesTest::folderList()
{
    QFETCH(QString, action);
    QFETCH(QString, target);
    QFETCH(bool, opens);
    WindowHarness w;
    QDir().mkpath(w.path("alpha"));
    QDir().mkpath(w.path("beta"));
    if (target.startsWith(QLatin1Char('.')))
        QDir().mkpath(w.path(target));
    auto* list = w.control<FolderList>("dirDst_1");
    list->refresh();
    w.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));
    const QString targetPath = target.isEmpty() ? QFileInfo(w.startDir()).absolutePath() : w.path(target);
    const int row = int(listedFolders(list).indexOf(targetPath));
    QVERIFY2(row >= 0, qPrintable(listedFolders(list).join(QLatin1Char(' '))));
    const QPoint at = list->visualItemRect(list->item(row)).center();

    if (action == QLatin1String("click")) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    } else if (action == QLatin1String("down")) {
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down); // from the start folder to its first subfolder
    } else if (action == QLatin1String("double")) {
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    } else {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::keyClick(list, Qt::Key_Return);
    }
    QCOMPARE(list->highlightedFolder(), targetPath);
    const QString expected = opens ? targetPath : w.startDir();
    QCOMPARE(list->currentFolder(), expected);
    QCOMPARE(w.state().DstFile[1].FDir, expected);
    const QString shown = expected.endsWith(QLatin1Char('/')) ? expected : expected + QLatin1Char('/');
    QCOMPARE(w.dstPathText(1), shown);
    QCOMPARE(w.control<QLineEdit>("txtDstPath_1")->toolTip(), shown);
    // The Extract pane keeps its own destination.
    QCOMPARE(w.state().DstFile[0].FDir, w.startDir());
}

void PanesTest::driveSelector()
{
    WindowHarness w;
    auto* drives = w.control<DriveList>("drvDst_0");
    auto* folders = w.control<FolderList>("dirDst_0");
    QCOMPARE(drives->itemData(0).toString(), QDir::rootPath());
    // The selector shows the volume that holds the folder shown.
    const QString volume = drives->volumeOf(w.startDir());
    QVERIFY(!volume.isEmpty());
    QCOMPARE(drives->currentRoot(), volume);
    QVERIFY(w.startDir().startsWith(volume));

    // Picking a volume opens its root folder, which becomes the destination.
    w.window->drvDst_Change(ExtractPane);
    QCOMPARE(folders->currentFolder(), volume);
    QCOMPARE(w.state().DstFile[ExtractPane].FDir, volume);
    QCOMPARE(w.dstPathText(ExtractPane), JoinPath(volume, QString()));
    QCOMPARE(w.state().DstFile[BuildPane].FDir, w.startDir());
}

void PanesTest::createDir_data()
{
    QTest::addColumn<int>("pane");
    QTest::addColumn<QString>("source");      // "" for none chosen
    QTest::addColumn<QByteArray>("listArchive");
    QTest::addColumn<QString>("existing");    // a folder made beforehand, "" for none
    QTest::addColumn<QString>("created");     // the folder that becomes the destination, "" for the message
    QTest::addColumn<QString>("shownAfter");  // txtDstPath afterwards, below the start folder
    QTest::addColumn<bool>("pressAgain");     // a second press shows the message and changes nothing

    QTest::newRow("extract pane") << 0 << "games/data.tob" << QByteArray() << "" << "out/data" << "out/data/data.lst" << false;
    QTest::newRow("folder exists already") << 0 << "games/data.tob" << QByteArray() << "out/data" << "" << "out/data.lst" << false;
    QTest::newRow("no source chosen") << 0 << "" << QByteArray() << "" << "" << "out/" << false;
    QTest::newRow("build pane") << 1 << "mods/data.lst" << QByteArray("data.tob") << "" << "out/data" << "out/data/data.tob" << false;
    QTest::newRow("build pane, parent of a sub-path missing") << 1 << "mods/data.lst" << QByteArray("sub\\data.tob") << ""
                                                              << "" << "out/sub/data.tob" << false;
    QTest::newRow("build pane, sub-path present") << 1 << "mods/data.lst" << QByteArray("sub\\data.tob") << "out/sub"
                                                  << "out/sub/data" << "out/sub/data/sub/data.tob" << false;
    QTest::newRow("extract pane, pressed a second time") << 0 << "games/data.tob" << QByteArray() << "" << "out/data"
                                                         << "out/data/data.lst" << true;
    QTest::newRow("build pane, sub-path, pressed a second time") << 1 << "mods/data.lst" << QByteArray("sub\\data.tob")
                                                                 << "out/sub" << "out/sub/data" << "out/sub/data/sub/data.tob"
                                                                 << true;
}

void PanesTest::createDir()
{
    QFETCH(int, pane);
    QFETCH(QString, source);
    QFETCH(QByteArray, listArchive);
    QFETCH(QString, existing);
    QFETCH(QString, created);
    QFETCH(QString, shownAfter);
    QFETCH(bool, pressAgain);
    WindowHarness w;
    QVERIFY(QDir().mkpath(w.path("out")));
    if (!existing.isEmpty())
        QVERIFY(QDir().mkpath(w.path(existing)));
    if (!source.isEmpty())
        w.selectSource(pane, writeSource(w, pane, source, listArchive));
    for (int i = 0; i < 2; ++i)
        QVERIFY(w.openFolder(i, w.path("out")));
    const QStringList before = QDir(w.path("out")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);

    if (created.isEmpty())
        w.h.box.expect(QStringLiteral("TobExtractor"), kCreateDirFailed);
    w.click("cmdCreateDir_" + QString::number(pane));
    TOBX_VERIFY_BOXES(w.h.box);
    if (created.isEmpty()) {
        const Message& box = w.h.box.shown.constFirst();
        QCOMPARE(box.text, kCreateDirFailed);
        QCOMPARE(box.icon, MsgIcon::None);
        QCOMPARE(box.buttons, MsgButtons::Ok);
        QCOMPARE(QDir(w.path("out")).entryList(QDir::Dirs | QDir::NoDotAndDotDot), before);
        QCOMPARE(w.state().DstFile[pane].FDir, w.path("out"));
    } else {
        QVERIFY(QFileInfo(w.path(created)).isDir());
        QCOMPARE(w.state().DstFile[pane].FDir, w.path(created));
        QCOMPARE(w.control<FolderList>("dirDst_" + QString::number(pane))->currentFolder(), w.path(created));
    }
    QCOMPARE(w.dstPathText(pane), w.path(shownAfter));
    QCOMPARE(w.state().DstFile[pane].FPath, w.path(shownAfter));
    // The other pane lists the same parent and shows the new folder at once.
    const auto* otherList = w.control<FolderList>("dirDst_" + QString::number(1 - pane));
    if (created == QLatin1String("out/data"))
        QVERIFY(listedFolders(otherList).contains(w.path("out/data")));
    QCOMPARE(w.state().DstFile[1 - pane].FDir, w.path("out"));

    if (!pressAgain)
        return;
    const QStringList inside = QDir(w.path(created)).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    w.h.box.expect(QStringLiteral("TobExtractor"), kCreateDirFailed);
    w.click("cmdCreateDir_" + QString::number(pane));
    TOBX_VERIFY_BOXES(w.h.box);
    QCOMPARE(QDir(w.path(created)).entryList(QDir::Dirs | QDir::NoDotAndDotDot), inside);
    QCOMPARE(w.state().DstFile[pane].FDir, w.path(created));
    QCOMPARE(w.dstPathText(pane), w.path(shownAfter));
}

void PanesTest::copyPaths_data()
{
    QTest::addColumn<int>("pane");            // the pane that receives: 1 "=&>", 0 "&<="
    QTest::addColumn<QString>("otherSource"); // chosen in the other pane
    QTest::addColumn<QString>("otherDest");   // the other pane's destination folder
    QTest::addColumn<QString>("outputFile");  // written at the other pane's output path (a list for "=&>")
    QTest::addColumn<QString>("srcPath");
    QTest::addColumn<QString>("srcDir");
    QTest::addColumn<QString>("srcName");
    QTest::addColumn<QString>("srcExt");
    QTest::addColumn<QString>("dstShown");

    QTest::newRow("=&> extract to build") << 1 << "games/data.tob" << "work" << "work/data.lst"
                                          << "work/data.lst" << "work" << "data.lst" << "lst" << "games/data.tob";
    QTest::newRow("&<= build to extract") << 0 << "mods/data.lst" << "out" << ""
                                          << "out/data.tob" << "out" << "data.tob" << "tob" << "mods/data.lst";
}

void PanesTest::copyPaths()
{
    QFETCH(int, pane);
    QFETCH(QString, otherSource);
    QFETCH(QString, otherDest);
    QFETCH(QString, outputFile);
    QFETCH(QString, srcPath);
    QFETCH(QString, srcDir);
    QFETCH(QString, srcName);
    QFETCH(QString, srcExt);
    QFETCH(QString, dstShown);
    WindowHarness w;
    const int other = 1 - pane;
    w.selectSource(other, writeSource(w, other, otherSource));
    QVERIFY(QDir().mkpath(w.path(otherDest)));
    QVERIFY(w.openFolder(other, w.path(otherDest)));
    if (!outputFile.isEmpty())
        w.write(outputFile, listNaming("data.tob"));

    w.click("cmdCopyPaths_" + QString::number(pane));
    TOBX_VERIFY_BOXES(w.h.box);
    const PATHS& src = w.state().SrcFile[pane];
    QCOMPARE(src.FPath, w.path(srcPath));
    QCOMPARE(src.FDir, w.path(srcDir)); // copied as it is, without a trailing '/'
    QCOMPARE(src.FName, srcName);
    QCOMPARE(src.FExt, srcExt);
    QCOMPARE(w.srcPathText(pane), w.path(srcPath));
    QCOMPARE(w.control<QLineEdit>("txtSrcPath_" + QString::number(pane))->toolTip(), w.path(srcPath));
    // The destination is the other pane's source folder.
    QCOMPARE(w.state().DstFile[pane].FDir, QFileInfo(w.path(otherSource)).absolutePath());
    QCOMPARE(w.dstPathText(pane), w.path(dstShown));
    QCOMPARE(w.state().DstFile[pane].FPath, w.path(dstShown));
    // The other pane is left as it was.
    QCOMPARE(w.state().SrcFile[other].FPath, w.path(otherSource));
}

void PanesTest::copyPathsWithNothingChosen()
{
    WindowHarness w;
    QVERIFY(QDir().mkpath(w.path("out")));
    QVERIFY(w.openFolder(BuildPane, w.path("out")));
    w.click("cmdCopyPaths_1");
    w.click("cmdCopyPaths_0");
    TOBX_VERIFY_BOXES(w.h.box);
    for (int pane = 0; pane < 2; ++pane) {
        QCOMPARE(w.state().SrcFile[pane].FPath, QString());
        QCOMPARE(w.srcPathText(pane), QString());
    }
    QCOMPARE(w.dstPathText(BuildPane), w.path("out/"));
    QCOMPARE(w.dstPathText(ExtractPane), w.startDir() + QLatin1Char('/'));
}

void PanesTest::refreshKey_data()
{
    QTest::addColumn<QString>("focus"); // the control that gets the key
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("listChosen");
    QTest::newRow("list of the Extract pane") << "lstSrcFiles_0" << Qt::KeyboardModifiers() << true;
    QTest::newRow("shift, path field of the Build pane") << "txtSrcPath_1" << Qt::KeyboardModifiers(Qt::ShiftModifier) << true;
    QTest::newRow("ctrl, exit button") << "cmdExit" << Qt::KeyboardModifiers(Qt::ControlModifier) << true;
    QTest::newRow("alt, folder list") << "dirDst_0" << Qt::KeyboardModifiers(Qt::AltModifier) << true;
    QTest::newRow("ctrl+shift, window") << "frmTobExtractor" << Qt::KeyboardModifiers(Qt::ControlModifier | Qt::ShiftModifier) << true;
    QTest::newRow("no list chosen") << "cmdGo_1" << Qt::KeyboardModifiers() << false;
}

void PanesTest::refreshKey()
{
    QFETCH(QString, focus);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, listChosen);
    WindowHarness w;
    QVERIFY(QDir().mkpath(w.path("out")));
    QVERIFY(w.openFolder(BuildPane, w.path("out")));
    if (listChosen) {
        w.selectSource(BuildPane, w.write("mods/data.lst", listNaming("first.tob")));
        QCOMPARE(w.dstPathText(BuildPane), w.path("out/first.tob"));
        // Edited outside the program.
        w.write("mods/data.lst", listNaming("second.tob"));
    }
    QWidget* target = focus == w.window->objectName() ? w.window.get() : w.control<QWidget>(focus);
    QVERIFY(target);
    QTest::keyClick(target, Qt::Key_F5, modifiers);
    TOBX_VERIFY_BOXES(w.h.box);
    const QString expected = listChosen ? w.path("out/second.tob") : w.path("out/");
    QCOMPARE(w.dstPathText(BuildPane), expected);
    QCOMPARE(w.state().DstFile[BuildPane].FPath, expected);
    QCOMPARE(w.state().DstFile[BuildPane].FName, listChosen ? QStringLiteral("second.tob") : QString());
}

void PanesTest::pathDump_data()
{
    QTest::addColumn<int>("pane");
    QTest::addColumn<QString>("chosen"); // "" for nothing chosen
    QTest::newRow("extract pane at start") << 0 << "";
    QTest::newRow("build pane at start") << 1 << "";
    QTest::newRow("extract pane with an archive") << 0 << "g/data.tob";
    QTest::newRow("build pane with a list") << 1 << "g/data.lst";
}

void PanesTest::pathDump()
{
    QFETCH(int, pane);
    QFETCH(QString, chosen);
    WindowHarness w;
    QString srcDir, srcPath, srcName, srcExt, dstName;
    if (!chosen.isEmpty()) {
        srcPath = writeSource(w, pane, chosen);
        srcDir = w.path("g/");
        srcName = QFileInfo(srcPath).fileName();
        srcExt = pane == 0 ? QStringLiteral("tob") : QStringLiteral("lst");
        dstName = pane == 0 ? QStringLiteral("data.lst") : QStringLiteral("data.tob");
        w.selectSource(pane, srcPath);
    }
    const QString start = w.startDir();
    const QString dstPath = start + QLatin1Char('/') + dstName;
    const QString i = QString::number(pane);
    const QString expected =
        "PATHS(" + i + ") /0 means Extract, 1 means Build/:\n"
        "\n"
        " SrcFile(" + i + ").FDir    \"" + srcDir + "\"\n"
        " SrcFile(" + i + ").FPath   \"" + srcPath + "\"\n"
        " txtSrcPath(" + i + ").Text \"" + srcPath + "\"\n"
        " SrcFile(" + i + ").FName   \"" + srcName + "\"\n"
        " SrcFile(" + i + ").FExt    \"" + srcExt + "\"\n"
        "\n"
        " DstFile(" + i + ").FDir    \"" + start + "\"\n"
        " DstFile(" + i + ").FPath   \"" + dstPath + "\"\n"
        " txtDstPath(" + i + ").Text \"" + dstPath + "\"\n"
        " DstFile(" + i + ").FName   \"" + dstName + "\"\n"
        " DstFile(" + i + ").FExt    \"\"\n"
        "\n"
        "FType:  0 - Unknown - not recognized;  1 - TOBrava II archive;  2 - Rollcage archive IMaGe;  "
        "3 - Rollcage InDeX;  4 - TObrava I Jpg;  5 - TObrava I Bik;  11 - Tobrava II LST;  12 - Rollcage LST;  "
        "14 - JPG;  15 - BIK\n"
        "\n";
    w.h.box.expect("Show Paths " + i, QString());
    w.click("cmdShowPaths_" + i);
    TOBX_VERIFY_BOXES(w.h.box);
    const Message& box = w.h.box.shown.constFirst();
    QCOMPARE(box.text, expected);
    QCOMPARE(box.icon, MsgIcon::None);
    QCOMPARE(box.buttons, MsgButtons::Ok);
    // The padded labels line up only in a fixed-width font.
    QVERIFY(box.fixedPitch);
}

void PanesTest::aboutBox()
{
    WindowHarness w;
    w.h.box.expect(QStringLiteral("Nothing Fancy... Just About Message Box"), QString());
    w.click("cmdAbout");
    TOBX_VERIFY_BOXES(w.h.box);
    const Message& box = w.h.box.shown.constFirst();
    QCOMPARE(box.icon, MsgIcon::None);
    QCOMPARE(box.buttons, MsgButtons::Ok);
    const QStringList lines = box.text.split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 17); // no line break after the last line
    // The caption, then a notice with the years and the maker.
    QVERIFY2(lines.at(0).startsWith(w.window->windowTitle() + " (c) "), qPrintable(lines.at(0)));
    QVERIFY(lines.at(0).contains(QLatin1String("TobExtractor")));
    const QStringList rest{
        "",
        "With this program you may:",
        "",
        " - Extract files from Tobrava II archives (demo too).",
        " - Build Tobrava II archive including subdirectories (using file list).",
        "",
        " - Extract files from Rollcage I / II archives (demo and psx version too).",
        " - Build Rollcage archive (using file list).",
        "",
        " - Apply some Rollcage Stage II predefined Tweaks (including game convertion)",
        " - By edit created .lst file you may apply your own Tweaks (be carefull)",
        "",
        " - Convert Tobrava I jpg files (no jpg algorythm is used in this program).",
        " - Rename Tobrava Bik Files.",
        "",
        "All Rights Reserved for their respective owners.",
    };
    QCOMPARE(lines.mid(1), rest);
}

void PanesTest::converter()
{
    WindowHarness w;
    const QByteArray picture = samples::MakeToj(11, 5);
    const QString toj = w.write("pics/title.toj", picture);
    w.files.choose(toj);
    w.files.choose(toj);
    w.click("cmdTob1cnv");
    QCOMPARE(w.state().CnvPath, toj);
    QCOMPARE(w.read("pics/title.jpg"), QByteArray::fromHex("FFD8FFE000104A464946") + picture);
    QCOMPARE(w.window->statusText(ExtractPane), QStringLiteral("title.jpg written"));
    // Again: the dialog opens on the previous choice, and the older picture
    // is replaced once the user agrees.
    w.h.box.expect(QString(), QStringLiteral("title.jpg"), MsgResult::Yes);
    w.click("cmdTob1cnv");
    TOBX_VERIFY_FILES(w.files);
    TOBX_VERIFY_BOXES(w.h.box);
    QCOMPARE(w.read("pics/title.jpg").size(), 21);

    const OpenFileRequest& first = w.files.requests.at(0);
    QCOMPARE(first.title, QStringLiteral("Select File to convert"));
    QCOMPARE(first.filter, QStringLiteral("TObrava Jpg (*.toj)|*.toj|TObrava Bik (*.tob)|*.tob|jpg (*.jpg)|*.jpg|"
                                          "bik (*.bik)|*.bik|All supported (*.toj;*.tob;*.jpg;*.bik)|*.toj;*.tob;*.jpg;*.bik"));
    QCOMPARE(first.filterIndex, 1);
    QCOMPARE(first.initialFile, JoinPath(w.startDir(), QStringLiteral("*.toj;*.tob;*.jpg;*.bik")));
    QCOMPARE(w.files.requests.at(1).initialFile, toj);
    // The panes are not involved.
    QCOMPARE(w.state().SrcFile[0].FPath, QString());
    QCOMPARE(w.state().SrcFile[1].FPath, QString());
}

void PanesTest::converterCancelled()
{
    WindowHarness w;
    w.files.cancel();
    w.click("cmdTob1cnv");
    TOBX_VERIFY_FILES(w.files);
    TOBX_VERIFY_BOXES(w.h.box);
    QCOMPARE(w.state().CnvPath, QString());
    QVERIFY(QDir(w.startDir()).entryList(QDir::Files).isEmpty());
}

QTEST_MAIN(PanesTest)
#include "tst_ui_panes.moc"

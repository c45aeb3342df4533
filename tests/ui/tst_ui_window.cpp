// SPDX-License-Identifier: MIT
// The main window as it opens: caption, controls, tab order, initial state,
// the layout at other sizes, the font, and the translation of the dialogs'
// filters into Qt's form.
#include "UiTestSupport.h"
#include "ui/Diagnostics.h"
#include "ui/FormLook.h"
#include "ui/OpenFileDialog.h"
#include "ui/StatusLine.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QApplication>
#include <QListWidget>
#include <QTest>

using namespace tobx;
using namespace tobx::test;

class WindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void versionedCaption_data();
    void versionedCaption();
    void captionCarriesBuildVersion();
    void controls_data();
    void controls();
    void tabOrder();
    void initialState();
    void optionFlags_data();
    void optionFlags();
    void nameFilters_data();
    void nameFilters();
    void splitInitialFile_data();
    void splitInitialFile();
    void grownLayout_data();
    void grownLayout();
    void neverSmallerThanDesigned();
    void fontFitsCaptions();
    void placeInside_data();
    void placeInside();
    void firstDialogFolder_data();
    void firstDialogFolder();
};

void WindowTest::versionedCaption_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("patch");
    QTest::addColumn<QString>("caption");
    QTest::newRow("1.0.4") << 1 << 0 << 4 << "Tobrava  II Extractor - WIP v1.0.4";
    QTest::newRow("minor 12, no zero fill") << 1 << 12 << 4 << "Tobrava  II Extractor - WIP v1.12.4";
    QTest::newRow("all zero") << 0 << 0 << 0 << "Tobrava  II Extractor - WIP v0.0.0";
    QTest::newRow("large numbers") << 10 << 200 << 3000 << "Tobrava  II Extractor - WIP v10.200.3000";
}

void WindowTest::versionedCaption()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, patch);
    QFETCH(QString, caption);
    QCOMPARE(VersionedCaption(QString::fromLatin1(kDesignedCaption), major, minor, patch), caption);
}

void WindowTest::captionCarriesBuildVersion()
{
    WindowHarness w;
    QCOMPARE(w.window->windowTitle(), QStringLiteral("Tobrava  II Extractor - WIP v%1.%2.%3")
                                          .arg(TOBX_VERSION_MAJOR)
                                          .arg(TOBX_VERSION_MINOR)
                                          .arg(TOBX_VERSION_PATCH));
    QVERIFY(!w.window->windowIcon().isNull());
    // The designed size is the default and the smallest; the window grows.
    QCOMPARE(w.window->size(), QSize(601, 461));
    QCOMPARE(w.window->minimumSize(), QSize(601, 461));
    QVERIFY(w.window->maximumWidth() > 601 && w.window->maximumHeight() > 461);
}

void WindowTest::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("parentName");
    QTest::addColumn<QRect>("geometry");

    const QString window = QStringLiteral("frmTobExtractor");
    QTest::newRow("fraExtract") << "fraExtract" << "QGroupBox" << "Extract" << window << QRect(8, 2, 265, 455);
    QTest::newRow("fraBuild") << "fraBuild" << "QGroupBox" << "Build" << window << QRect(328, 2, 265, 455);
    QTest::newRow("fraSelectSrcFile_1") << "fraSelectSrcFile_1" << "QGroupBox" << "Select source list file to build new archive"
                                        << "fraBuild" << QRect(8, 12, 249, 185);
    QTest::newRow("cmdSelectSrc_0") << "cmdSelectSrc_0" << "QPushButton" << "Select &Source file to extract / convert..."
                                    << "fraSelectSrcFile_0" << QRect(8, 16, 233, 23);
    QTest::newRow("cmdSelectSrc_1") << "cmdSelectSrc_1" << "QPushButton" << "Select .lst to build archive or other to convert..."
                                    << "fraSelectSrcFile_1" << QRect(8, 16, 233, 23);
    QTest::newRow("lstSrcFiles_0") << "lstSrcFiles_0" << "QListWidget" << "" << "fraSelectSrcFile_0" << QRect(8, 74, 233, 79);
    QTest::newRow("lblStatus_1") << "lblStatus_1" << "tobx::StatusLine" << "" << "fraSelectSrcFile_1" << QRect(8, 159, 233, 19);
    QTest::newRow("fraSelectDstDir_0") << "fraSelectDstDir_0" << "QGroupBox" << "Select destination to Extract / Convert files to"
                                       << "fraExtract" << QRect(8, 200, 249, 217);
    QTest::newRow("dirDst_1") << "dirDst_1" << "QListWidget" << "" << "fraSelectDstDir_1" << QRect(8, 42, 233, 111);
    QTest::newRow("drvDst_0") << "drvDst_0" << "QComboBox" << "" << "fraSelectDstDir_0" << QRect(8, 14, 233, 21);
    QTest::newRow("cmdCreateDir_1") << "cmdCreateDir_1" << "QPushButton" << "Create Directory (file name w/o ext. from .lst)"
                                    << "fraSelectDstDir_1" << QRect(8, 160, 233, 21);
    QTest::newRow("txtDstPath_0") << "txtDstPath_0" << "QLineEdit" << "" << "fraSelectDstDir_0" << QRect(8, 188, 233, 19);
    QTest::newRow("cmdGo_0") << "cmdGo_0" << "QPushButton" << "&Extract" << "fraExtract" << QRect(8, 424, 113, 23);
    QTest::newRow("cmdGo_1") << "cmdGo_1" << "QPushButton" << "&Build" << "fraBuild" << QRect(8, 424, 113, 23);
    QTest::newRow("chkUseTweaks") << "chkUseTweaks" << "QCheckBox" << "Use Rc2 Tweaks" << "fraExtract" << QRect(136, 418, 113, 17);
    QTest::newRow("chkCreateLstOnly") << "chkCreateLstOnly" << "QCheckBox" << "Create List File &Only" << "fraExtract"
                                      << QRect(136, 434, 113, 17);
    QTest::newRow("chkMoveFiles") << "chkMoveFiles" << "QCheckBox" << "&Move Files" << "fraBuild" << QRect(160, 426, 73, 17);
    QTest::newRow("cmdCopyPaths_1") << "cmdCopyPaths_1" << "QPushButton" << "=&>" << window << QRect(280, 204, 41, 25);
    QTest::newRow("cmdCopyPaths_0") << "cmdCopyPaths_0" << "QPushButton" << "&<=" << window << QRect(280, 228, 41, 25);
    QTest::newRow("cmdShowPaths_1") << "cmdShowPaths_1" << "QPushButton" << "SP1" << window << QRect(280, 152, 41, 27);
    QTest::newRow("cmdTob1cnv") << "cmdTob1cnv" << "QPushButton" << "Tobrava I Converter" << window << QRect(272, 314, 57, 33);
    QTest::newRow("cmdExit") << "cmdExit" << "QPushButton" << "E&xit" << window << QRect(280, 422, 41, 33);
}

void WindowTest::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QString, caption);
    QFETCH(QString, parentName);
    QFETCH(QRect, geometry);
    WindowHarness w;
    QWidget* control = w.control<QWidget>(name);
    QVERIFY2(control, qPrintable(name));
    QVERIFY2(control->inherits(qPrintable(className)), control->metaObject()->className());
    QCOMPARE(control->parentWidget()->objectName(), parentName);
    QCOMPARE(control->geometry(), geometry);
    QVERIFY(control->isEnabled());
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        QCOMPARE(button->text(), caption);
    else if (auto* frame = qobject_cast<QGroupBox*>(control))
        QCOMPARE(frame->title(), caption);
}

void WindowTest::tabOrder()
{
    WindowHarness w;
    const QStringList expected{
        "cmdSelectSrc_0", "txtSrcPath_0", "lstSrcFiles_0", "drvDst_0", "dirDst_0", "cmdCreateDir_0",
        "txtDstPath_0", "cmdGo_0", "chkCreateLstOnly", "cmdSelectSrc_1", "txtSrcPath_1", "lstSrcFiles_1",
        "drvDst_1", "dirDst_1", "cmdCreateDir_1", "txtDstPath_1", "cmdGo_1", "chkMoveFiles", "cmdAbout",
        "cmdCopyPaths_1", "cmdCopyPaths_0", "cmdExit", "cmdTob1cnv", "cmdShowPaths_0", "cmdShowPaths_1",
        "chkUseTweaks",
    };
    // The chain is circular; start it at the first control of the order.
    QWidget* first = w.control<QWidget>(expected.constFirst());
    QStringList chain;
    QWidget* widget = first;
    do {
        if ((widget->focusPolicy() & Qt::TabFocus) && !widget->objectName().isEmpty())
            chain.append(widget->objectName());
        widget = widget->nextInFocusChain();
    } while (widget != first);
    QCOMPARE(chain, expected);
}

void WindowTest::initialState()
{
    WindowHarness w;
    const AppState& s = w.state();
    QCOMPARE(s.StartDir, w.startDir());
    for (int pane = 0; pane < 2; ++pane) {
        const QString n = QString::number(pane);
        QCOMPARE(s.DstFile[pane].FDir, w.startDir());
        QCOMPARE(s.DstFile[pane].FName, QString());
        QCOMPARE(w.dstPathText(pane), w.startDir() + QLatin1Char('/'));
        QCOMPARE(w.control<QLineEdit>("txtDstPath_" + n)->toolTip(), w.startDir() + QLatin1Char('/'));
        QCOMPARE(w.srcPathText(pane), QString());
        QVERIFY(w.control<QLineEdit>("txtSrcPath_" + n)->isReadOnly());
        QVERIFY(w.control<QLineEdit>("txtDstPath_" + n)->isReadOnly());
        QCOMPARE(w.control<QListWidget>("lstSrcFiles_" + n)->count(), 0);
        QCOMPARE(s.SrcFile[pane].FPath, QString());
    }
    for (const char* name : {"chkUseTweaks", "chkCreateLstOnly", "chkMoveFiles"}) {
        QVERIFY2(!w.control<QCheckBox>(QString::fromLatin1(name))->isChecked(), name);
        QVERIFY2(w.control<QCheckBox>(QString::fromLatin1(name))->isEnabled(), name);
    }
    QVERIFY(!s.UseTweaks && !s.CreateLstOnly && !s.MoveFiles);
    QCOMPARE(int(s.RcVersion), 0);
    QCOMPARE(s.CnvPath, QString());
    QVERIFY(!w.window->tweaksDialog());
}

void WindowTest::optionFlags_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("flag"); // 0 list only, 1 move files, 2 use tweaks
    QTest::newRow("Create List File Only") << "chkCreateLstOnly" << 0;
    QTest::newRow("Move Files") << "chkMoveFiles" << 1;
    QTest::newRow("Use Rc2 Tweaks") << "chkUseTweaks" << 2;
}

void WindowTest::optionFlags()
{
    QFETCH(QString, box);
    QFETCH(int, flag);
    WindowHarness w;
    const auto flags = [&] {
        const AppState& s = w.state();
        return QList<bool>{s.CreateLstOnly, s.MoveFiles, s.UseTweaks};
    };
    QList<bool> expected{false, false, false};
    QCOMPARE(flags(), expected);
    QCheckBox* check = w.control<QCheckBox>(box);
    check->click();
    expected[flag] = true;
    QCOMPARE(flags(), expected);
    check->click();
    expected[flag] = false;
    QCOMPARE(flags(), expected);
}

void WindowTest::nameFilters_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("extract pane") << "TObrava I Bik; Tobrava II data file (*.tob)|*.tob|TObrava I Jpg file (*.toj)|*.toj|"
                                     "Rollcage Stage II index; data file (*.idx;*.img)|*.idx;*.img|"
                                     "All supported (*.tob;*.toj;*.idx;*.img)|*.tob;*.toj;*.idx;*.img"
                                  << QStringList{"TObrava I Bik; Tobrava II data file (*.tob) (*.tob)",
                                                 "TObrava I Jpg file (*.toj) (*.toj)",
                                                 "Rollcage Stage II index; data file (*.idx;*.img) (*.idx *.img)",
                                                 "All supported (*.tob;*.toj;*.idx;*.img) (*.tob *.toj *.idx *.img)"};
    QTest::newRow("description without patterns of its own") << "bik file|*.bik" << QStringList{"bik file (*.bik)"};
    QTest::newRow("trailing bar") << "a|*.a|" << QStringList{"a (*.a)"};
    QTest::newRow("description left without pattern") << "a|*.a|b" << QStringList{"a (*.a)"};
    QTest::newRow("empty") << "" << QStringList{};
}

void WindowTest::nameFilters()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, expected);
    QCOMPARE(QtNameFilters(filter), expected);
}

void WindowTest::splitInitialFile_data()
{
    QTest::addColumn<QString>("initial");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("name");
    QTest::newRow("pattern in program folder") << "/opt/tobx/*.tob;*.toj" << "/opt/tobx" << "*.tob;*.toj";
    QTest::newRow("previous choice") << "/games/data.tob" << "/games" << "data.tob";
    QTest::newRow("at the root") << "/data.tob" << "/" << "data.tob";
    QTest::newRow("bare name") << "data.tob" << "" << "data.tob";
}

void WindowTest::splitInitialFile()
{
    QFETCH(QString, initial);
    QFETCH(QString, folder);
    QFETCH(QString, name);
    const InitialFile split = SplitInitialFile(initial);
    QCOMPARE(split.folder, folder);
    QCOMPARE(split.name, name);
}

void WindowTest::grownLayout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("grown"); // at 801 x 661: 100 more for each pane, 100 more for each list
    QTest::newRow("fraExtract") << "fraExtract" << QRect(8, 2, 365, 655);
    QTest::newRow("fraBuild") << "fraBuild" << QRect(428, 2, 365, 655);
    QTest::newRow("txtSrcPath_0") << "txtSrcPath_0" << QRect(8, 46, 333, 19);
    QTest::newRow("lstSrcFiles_1") << "lstSrcFiles_1" << QRect(8, 74, 333, 179);
    QTest::newRow("lblStatus_0") << "lblStatus_0" << QRect(8, 259, 333, 19);
    QTest::newRow("fraSelectDstDir_1") << "fraSelectDstDir_1" << QRect(8, 300, 349, 317);
    QTest::newRow("drvDst_0") << "drvDst_0" << QRect(8, 14, 333, 21);
    QTest::newRow("dirDst_0") << "dirDst_0" << QRect(8, 42, 333, 211);
    QTest::newRow("cmdCreateDir_1") << "cmdCreateDir_1" << QRect(8, 260, 333, 21);
    QTest::newRow("txtDstPath_1") << "txtDstPath_1" << QRect(8, 288, 333, 19);
    QTest::newRow("cmdGo_0") << "cmdGo_0" << QRect(8, 624, 113, 23);
    QTest::newRow("chkMoveFiles") << "chkMoveFiles" << QRect(160, 626, 73, 17);
    QTest::newRow("cmdAbout") << "cmdAbout" << QRect(380, 12, 41, 33);
    QTest::newRow("cmdShowPaths_0") << "cmdShowPaths_0" << QRect(380, 226, 41, 27);
    QTest::newRow("cmdCopyPaths_1") << "cmdCopyPaths_1" << QRect(380, 304, 41, 25);
    QTest::newRow("cmdTob1cnv") << "cmdTob1cnv" << QRect(372, 464, 57, 33);
    QTest::newRow("cmdExit") << "cmdExit" << QRect(380, 622, 41, 33);
}

void WindowTest::grownLayout()
{
    QFETCH(QString, name);
    QFETCH(QRect, grown);
    WindowHarness w;
    QWidget* control = w.control<QWidget>(name);
    QVERIFY(control);
    const QRect designed = control->geometry();
    w.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));
    w.window->resize(801, 661);
    QCOMPARE(control->geometry(), grown);
    // Back at the designed size, every control is where the table puts it.
    w.window->resize(601, 461);
    QCOMPARE(control->geometry(), designed);
}

void WindowTest::neverSmallerThanDesigned()
{
    WindowHarness w;
    w.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));
    w.window->resize(300, 200);
    QCOMPARE(w.window->size(), QSize(601, 461));
    // An odd extra width: the middle column stays between the panes.
    w.window->resize(700, 500);
    const QRect extract = w.control<QWidget>("fraExtract")->geometry();
    const QRect build = w.control<QWidget>("fraBuild")->geometry();
    for (const char* name : {"cmdAbout", "cmdShowPaths_0", "cmdCopyPaths_0", "cmdTob1cnv", "cmdExit"}) {
        const QRect button = w.control<QWidget>(QString::fromLatin1(name))->geometry();
        // The converter's button touches both frames by design.
        QVERIFY2(button.left() >= extract.right() && button.right() <= build.left(), name);
    }
    QCOMPARE(build.right(), 700 - 9);
}

void WindowTest::fontFitsCaptions()
{
    WindowHarness w;
    const QFont font = w.window->font();
    // The application's family, at a size at which every caption fits.
    QCOMPARE(font.family(), QApplication::font().family());
    QVERIFY(CaptionsFit(w.window.get(), font));
    QVERIFY(font.pixelSize() >= 8);
    // A much larger size would cut captions off, so the check has teeth.
    QFont large = font;
    large.setPixelSize(24);
    QVERIFY(!CaptionsFit(w.window.get(), large));
    // The tweaks dialog, a window of its own, fits its font as well.
    w.control<QCheckBox>("chkUseTweaks")->click();
    QVERIFY(w.window->tweaksDialog());
    QVERIFY(CaptionsFit(w.window->tweaksDialog(), w.window->tweaksDialog()->font()));
}

void WindowTest::placeInside_data()
{
    QTest::addColumn<QRect>("wanted");
    QTest::addColumn<QPoint>("placed");
    // In an area of 1280 x 1000 at the origin.
    QTest::newRow("inside stays") << QRect(400, 100, 290, 442) << QPoint(400, 100);
    QTest::newRow("off the right edge") << QRect(1208, 100, 290, 442) << QPoint(990, 100);
    QTest::newRow("off the bottom") << QRect(100, 800, 290, 442) << QPoint(100, 558);
    QTest::newRow("off the left and the top") << QRect(-50, -20, 290, 442) << QPoint(0, 0);
    QTest::newRow("off two edges") << QRect(1200, 900, 290, 442) << QPoint(990, 558);
    QTest::newRow("larger than the area") << QRect(100, 100, 1400, 1200) << QPoint(0, 0);
}

void WindowTest::placeInside()
{
    QFETCH(QRect, wanted);
    QFETCH(QPoint, placed);
    QCOMPARE(PlaceInside(wanted, QRect(0, 0, 1280, 1000)), placed);
    // An area that does not start at the origin (a panel on the left, a second screen).
    QCOMPARE(PlaceInside(wanted.translated(1280, 40), QRect(1280, 40, 1280, 1000)), placed + QPoint(1280, 40));
}

void WindowTest::firstDialogFolder_data()
{
    QTest::addColumn<bool>("startedInProgramFolder");
    QTest::newRow("started elsewhere") << false;
    QTest::newRow("started in the program's folder") << true;
}

void WindowTest::firstDialogFolder()
{
    QFETCH(bool, startedInProgramFolder);
    Harness h;
    const QString program = h.dir.filePath(QStringLiteral("bin"));
    const QString elsewhere = h.dir.filePath(QStringLiteral("work"));
    const QString home = h.dir.filePath(QStringLiteral("home"));
    for (const QString& folder : {program, elsewhere, home})
        QVERIFY(QDir().mkpath(folder));
    // The same folder spelt another way is still the program's folder.
    const QString start = startedInProgramFolder ? program + QStringLiteral("/../bin") : elsewhere;
    QCOMPARE(FirstDialogFolder(start, program, home), startedInProgramFolder ? home : start);
}

QTEST_MAIN(WindowTest)
#include "tst_ui_window.moc"

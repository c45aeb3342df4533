// The main window as it opens: caption, controls, tab order, initial state,
// and the translation of the dialogs' filters into Qt's form.
#include "UiTestSupport.h"
#include "ui/Diagnostics.h"
#include "ui/OpenFileDialog.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
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
    QCOMPARE(w.window->size(), QSize(601, 461));
    QCOMPARE(w.window->minimumSize(), w.window->maximumSize());
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

QTEST_MAIN(WindowTest)
#include "tst_ui_window.moc"

// SPDX-License-Identifier: MIT
// The Qt services behind the core's interfaces: the message box and the
// open-file dialog, shown for real on the offscreen screen and answered there.
#include "UiTestSupport.h"
#include "ui/QtMessageBox.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>

using namespace tobx;
using namespace tobx::test;

Q_DECLARE_METATYPE(tobx::MsgIcon)
Q_DECLARE_METATYPE(tobx::MsgButtons)
Q_DECLARE_METATYPE(tobx::MsgResult)

namespace {

// Runs `act` on the modal dialog once it is up.
template <typename Dialog>
void whenShown(std::function<void(Dialog*)> act)
{
    QTimer::singleShot(0, qApp, [act] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            qWarning("no modal dialog up");
            if (QWidget* other = QApplication::activeModalWidget())
                other->close();
            return;
        }
        act(dialog);
    });
}

} // namespace

class ServicesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void messageBox_data();
    void messageBox();
    void fileDialog_data();
    void fileDialog();
    void fileDialogCancelled();
    void dialogsAboveTweaks_data();
    void dialogsAboveTweaks();
    void fixedPitchText_data();
    void fixedPitchText();
};

void ServicesTest::messageBox_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<MsgIcon>("icon");
    QTest::addColumn<MsgButtons>("buttons");
    QTest::addColumn<MsgResult>("defaultButton");
    QTest::addColumn<int>("press"); // a QMessageBox::StandardButton, or 0 for Escape
    QTest::addColumn<QString>("shownTitle");
    QTest::addColumn<int>("qtIcon");
    QTest::addColumn<int>("qtButtons");
    QTest::addColumn<int>("qtDefault");
    QTest::addColumn<MsgResult>("answer");

    const int yesNo = QMessageBox::Yes | QMessageBox::No;
    const int yesNoCancel = yesNo | QMessageBox::Cancel;
    QTest::newRow("plain note, program's name") << "" << MsgIcon::None << MsgButtons::Ok << MsgResult::Ok << int(QMessageBox::Ok)
                                                << "TobExtractor" << int(QMessageBox::NoIcon) << int(QMessageBox::Ok)
                                                << int(QMessageBox::Ok) << MsgResult::Ok;
    QTest::newRow("error") << "ERROR" << MsgIcon::Critical << MsgButtons::Ok << MsgResult::Ok << int(QMessageBox::Ok) << "ERROR"
                           << int(QMessageBox::Critical) << int(QMessageBox::Ok) << int(QMessageBox::Ok) << MsgResult::Ok;
    QTest::newRow("warning of detection") << "" << MsgIcon::Exclamation << MsgButtons::Ok << MsgResult::Ok << int(QMessageBox::Ok)
                                          << "TobExtractor" << int(QMessageBox::Warning) << int(QMessageBox::Ok)
                                          << int(QMessageBox::Ok) << MsgResult::Ok;
    QTest::newRow("overwrite, yes") << "File already exist" << MsgIcon::Question << MsgButtons::YesNo << MsgResult::No
                                    << int(QMessageBox::Yes) << "File already exist" << int(QMessageBox::Question) << yesNo
                                    << int(QMessageBox::No) << MsgResult::Yes;
    QTest::newRow("overwrite, escape is no") << "File already exist" << MsgIcon::Question << MsgButtons::YesNo << MsgResult::No
                                             << 0 << "File already exist" << int(QMessageBox::Question) << yesNo
                                             << int(QMessageBox::No) << MsgResult::No;
    QTest::newRow("three buttons, cancel") << "File Exist" << MsgIcon::Question << MsgButtons::YesNoCancel << MsgResult::No
                                           << int(QMessageBox::Cancel) << "File Exist" << int(QMessageBox::Question)
                                           << yesNoCancel << int(QMessageBox::No) << MsgResult::Cancel;
    QTest::newRow("three buttons, escape is cancel") << "File Exist" << MsgIcon::Question << MsgButtons::YesNoCancel
                                                     << MsgResult::No << 0 << "File Exist" << int(QMessageBox::Question)
                                                     << yesNoCancel << int(QMessageBox::No) << MsgResult::Cancel;
    const int toAll = QMessageBox::YesToAll | QMessageBox::NoToAll;
    QTest::newRow("for all, yes to all") << "File Exist" << MsgIcon::Question << MsgButtons::YesNoCancelToAll << MsgResult::No
                                         << int(QMessageBox::YesToAll) << "File Exist" << int(QMessageBox::Question)
                                         << (yesNoCancel | toAll) << int(QMessageBox::No) << MsgResult::YesToAll;
    QTest::newRow("for all, no to all") << "File Exist" << MsgIcon::Question << MsgButtons::YesNoCancelToAll << MsgResult::No
                                        << int(QMessageBox::NoToAll) << "File Exist" << int(QMessageBox::Question)
                                        << (yesNoCancel | toAll) << int(QMessageBox::No) << MsgResult::NoToAll;
    QTest::newRow("for all, escape is cancel") << "File Exist" << MsgIcon::Question << MsgButtons::YesNoCancelToAll
                                               << MsgResult::No << 0 << "File Exist" << int(QMessageBox::Question)
                                               << (yesNoCancel | toAll) << int(QMessageBox::No) << MsgResult::Cancel;
    QTest::newRow("converter, yes to all") << "File Exist" << MsgIcon::Question << MsgButtons::YesNoToAll << MsgResult::No
                                           << int(QMessageBox::YesToAll) << "File Exist" << int(QMessageBox::Question)
                                           << (yesNo | toAll) << int(QMessageBox::No) << MsgResult::YesToAll;
    QTest::newRow("converter, escape is no") << "File Exist" << MsgIcon::Question << MsgButtons::YesNoToAll << MsgResult::No
                                             << 0 << "File Exist" << int(QMessageBox::Question) << (yesNo | toAll)
                                             << int(QMessageBox::No) << MsgResult::No;
    QTest::newRow("information, no") << "Just info" << MsgIcon::Information << MsgButtons::YesNo << MsgResult::Yes
                                     << int(QMessageBox::No) << "Just info" << int(QMessageBox::Information) << yesNo
                                     << int(QMessageBox::Yes) << MsgResult::No;
}

void ServicesTest::messageBox()
{
    QFETCH(QString, title);
    QFETCH(MsgIcon, icon);
    QFETCH(MsgButtons, buttons);
    QFETCH(MsgResult, defaultButton);
    QFETCH(int, press);
    QFETCH(QString, shownTitle);
    QFETCH(int, qtIcon);
    QFETCH(int, qtButtons);
    QFETCH(int, qtDefault);
    QFETCH(MsgResult, answer);

    const QString text = QStringLiteral("data.tob already exist\n<b>not bold</b> & C:\\path");
    struct Seen {
        QString title, text;
        int icon = -1, buttons = -1, defaultButton = -1, format = -1;
    } seen;
    whenShown<QMessageBox>([&](QMessageBox* box) {
        seen = {box->windowTitle(), box->text(), int(box->icon()), int(box->standardButtons()),
                int(box->standardButton(box->defaultButton())), int(box->textFormat())};
        if (press == 0)
            QTest::keyClick(box, Qt::Key_Escape);
        else
            box->button(QMessageBox::StandardButton(press))->click();
    });
    QtMessageBox messages;
    const MsgResult result = messages.show(Message{text, title, icon, buttons, defaultButton});
    QCOMPARE(seen.title, shownTitle);
    QCOMPARE(seen.text, text);
    QCOMPARE(seen.format, int(Qt::PlainText));
    QCOMPARE(seen.icon, qtIcon);
    QCOMPARE(seen.buttons, qtButtons);
    QCOMPARE(seen.defaultButton, qtDefault);
    QCOMPARE(result, answer);
}

void ServicesTest::fileDialog_data()
{
    QTest::addColumn<QString>("initial");    // below the temporary folder
    QTest::addColumn<QString>("folder");     // where the dialog opens
    QTest::addColumn<QString>("nameShown");  // the file name box
    QTest::newRow("program folder with the pattern") << "prog/*.tob;*.toj;*.idx;*.img" << "prog" << "*.tob;*.toj;*.idx;*.img";
    QTest::newRow("previous choice") << "games/data.tob" << "games" << "data.tob";
}

void ServicesTest::fileDialog()
{
    QFETCH(QString, initial);
    QFETCH(QString, folder);
    QFETCH(QString, nameShown);
    Harness h;
    const QString chosen = h.write(QStringLiteral("games/data.tob"), QByteArray("VXBG0000000000"));
    QDir().mkpath(h.path(QStringLiteral("prog")));
    const QString filter = QStringLiteral("TObrava I Bik; Tobrava II data file (*.tob)|*.tob|"
                                          "Rollcage Stage II index; data file (*.idx;*.img)|*.idx;*.img|"
                                          "All supported (*.tob;*.toj;*.idx;*.img)|*.tob;*.toj;*.idx;*.img");
    struct Seen {
        QString title, directory, filterShown, nameText;
        QStringList filters, descriptions;
        int fileMode = -1;
        bool hideDetails = false;
    } seen;
    whenShown<QFileDialog>([&](QFileDialog* dialog) {
        seen.title = dialog->windowTitle();
        seen.directory = dialog->directory().absolutePath();
        seen.filters = dialog->nameFilters();
        seen.filterShown = dialog->selectedNameFilter();
        seen.fileMode = int(dialog->fileMode());
        seen.hideDetails = dialog->testOption(QFileDialog::HideNameFilterDetails);
        if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            seen.nameText = name->text();
        if (auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo")))
            for (int i = 0; i < types->count(); ++i)
                seen.descriptions.append(types->itemText(i));
        dialog->selectFile(chosen);
        static_cast<QDialog*>(dialog)->accept(); // as the Open button does
    });
    QtOpenFileDialog files;
    const std::optional<ChosenFile> result =
        files.open({QStringLiteral("Select Source file to extract / convert"), filter, 3, h.path(initial)});
    QCOMPARE(seen.title, QStringLiteral("Select Source file to extract / convert"));
    QCOMPARE(seen.directory, QFileInfo(h.path(folder)).absoluteFilePath());
    QCOMPARE(seen.filters.size(), 3);
    // The user reads the descriptions exactly as given, the third preselected.
    QVERIFY(seen.hideDetails);
    const QStringList descriptions{QStringLiteral("TObrava I Bik; Tobrava II data file (*.tob)"),
                                   QStringLiteral("Rollcage Stage II index; data file (*.idx;*.img)"),
                                   QStringLiteral("All supported (*.tob;*.toj;*.idx;*.img)")};
    QCOMPARE(seen.descriptions, descriptions);
    QCOMPARE(seen.filterShown, descriptions.at(2));
    QCOMPARE(seen.fileMode, int(QFileDialog::ExistingFile));
    QCOMPARE(seen.nameText, nameShown);
    QVERIFY(result);
    QCOMPARE(QFileInfo(result->fullPath).canonicalFilePath(), QFileInfo(chosen).canonicalFilePath());
    QCOMPARE(result->bareName, QStringLiteral("data.tob"));
}

void ServicesTest::fileDialogCancelled()
{
    Harness h;
    whenShown<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    QtOpenFileDialog files;
    QVERIFY(!files.open({QStringLiteral("Select File to convert"), QStringLiteral("x (*.x)|*.x"), 1, h.path(QStringLiteral("*.x"))}));
}

// A dialog opened while the tweaks dialog is shown joins it above the other
// windows, so that the tweaks dialog does not hide its buttons.
void ServicesTest::dialogsAboveTweaks_data()
{
    QTest::addColumn<bool>("tweaksShown");
    QTest::addColumn<bool>("fileDialog"); // else a message box
    QTest::newRow("file dialog with the tweaks dialog") << true << true;
    QTest::newRow("file dialog alone") << false << true;
    QTest::newRow("message box with the tweaks dialog") << true << false;
    QTest::newRow("message box alone") << false << false;
}

void ServicesTest::dialogsAboveTweaks()
{
    QFETCH(bool, tweaksShown);
    QFETCH(bool, fileDialog);
    WindowHarness w;
    w.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));
    if (tweaksShown) {
        w.click(QStringLiteral("chkUseTweaks"));
        QVERIFY(w.window->tweaksDialog() && w.window->tweaksDialog()->isVisible());
    }
    int onTop = -1;
    bool aboveTweaks = false; // a dialog of the tweaks dialog, so stacked above it
    const auto look = [&](QWidget* dialog) {
        onTop = dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        const QWindow* tweaks = w.window->tweaksDialog() ? w.window->tweaksDialog()->windowHandle() : nullptr;
        aboveTweaks = tweaks && dialog->windowHandle() && dialog->windowHandle()->transientParent() == tweaks;
    };
    if (fileDialog) {
        whenShown<QFileDialog>([&](QFileDialog* dialog) {
            look(dialog);
            dialog->reject();
        });
        QtOpenFileDialog files(w.window.get());
        QVERIFY(!files.open({QStringLiteral("Select Source file to extract / convert"), QStringLiteral("x (*.x)|*.x"), 1,
                             w.path(QStringLiteral("*.x"))}));
    } else {
        whenShown<QMessageBox>([&](QMessageBox* box) {
            look(box);
            box->button(QMessageBox::Ok)->click();
        });
        QtMessageBox messages(w.window.get());
        Message note;
        note.text = QStringLiteral("Not implemented yet!");
        messages.show(note);
    }
    QCOMPARE(onTop, int(tweaksShown));
    QCOMPARE(aboveTweaks, tweaksShown);
}

void ServicesTest::fixedPitchText_data()
{
    QTest::addColumn<bool>("fixedPitch");
    QTest::newRow("path dump") << true;
    QTest::newRow("any other box") << false;
}

void ServicesTest::fixedPitchText()
{
    QFETCH(bool, fixedPitch);
    int labelFixed = -1;
    whenShown<QMessageBox>([&](QMessageBox* box) {
        if (const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")))
            labelFixed = QFontInfo(label->font()).fixedPitch();
        box->button(QMessageBox::Ok)->click();
    });
    Message dump;
    dump.text = QStringLiteral(" SrcFile(0).FDir    \"\"\n txtSrcPath(0).Text \"\"");
    dump.fixedPitch = fixedPitch;
    QtMessageBox messages;
    messages.show(dump);
    QCOMPARE(labelFixed, int(fixedPitch));
}

QTEST_MAIN(ServicesTest)
#include "tst_ui_services.moc"

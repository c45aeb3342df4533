// SPDX-License-Identifier: MIT
// "Use Rc2 Tweaks" and the tweaks dialog: opening, placing, the enable rules
// through clicks on the real check boxes, and the ways it closes.
#include "UiTestSupport.h"
#include "ui/frmRcTweaks.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPointer>
#include <QRadioButton>
#include <QScreen>
#include <QTest>

using namespace tobx;
using namespace tobx::test;

namespace {

QCheckBox* useTweaks(const WindowHarness& w)
{
    return w.control<QCheckBox>(QStringLiteral("chkUseTweaks"));
}

QCheckBox* tweak(frmRcTweaks* dialog, int index)
{
    return dialog->findChild<QCheckBox*>(QStringLiteral("chkTweak_") + QString::number(index));
}

const char* const kOptionNames[4] = {nullptr, "optTrck", "optScramble", "optLoading"};

QRadioButton* option(frmRcTweaks* dialog, int group, int index)
{
    return dialog->findChild<QRadioButton*>(QString::fromLatin1(kOptionNames[group]) + QLatin1Char('_')
                                            + QString::number(index));
}

// A click where a user clicks: on the box of the check box or option.
void userClick(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

// The states of the five check boxes as "te" letters: T ticked, t unticked,
// E enabled, e disabled; e.g. "tE tE tE te te".
QString checkStates(frmRcTweaks* dialog)
{
    QStringList states;
    for (int i = 1; i <= 5; ++i) {
        QCheckBox* box = tweak(dialog, i);
        states.append(QString(box->isChecked() ? QLatin1Char('T') : QLatin1Char('t'))
                      + (box->isEnabled() ? QLatin1Char('E') : QLatin1Char('e')));
    }
    return states.join(QLatin1Char(' '));
}

// Which groups have their options enabled, e.g. "EeE".
QString groupStates(frmRcTweaks* dialog)
{
    QString states;
    for (int group = 1; group <= 3; ++group) {
        const int count = 5 - group;
        int enabled = 0;
        for (int i = 1; i <= count; ++i)
            enabled += option(dialog, group, i)->isEnabled() ? 1 : 0;
        states += enabled == count ? QLatin1Char('E') : enabled == 0 ? QLatin1Char('e') : QLatin1Char('?');
    }
    return states;
}

} // namespace

class TweaksTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void opensPlacedAndOnTop();
    void keptOnScreen_data();
    void keptOnScreen();
    void dialogControls_data();
    void dialogControls();
    void enableRules_data();
    void enableRules();
    void optionsAreExclusiveAndReachTheModel();
    void freshOnReopen();
    void closeBoxUnticks();
    void closingMainWindowClosesDialog();
};

void TweaksTest::opensPlacedAndOnTop()
{
    WindowHarness w;
    w.window->move(120, 80);
    w.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));
    QCOMPARE(int(w.state().RcVersion), 0);
    useTweaks(w)->click();

    frmRcTweaks* dialog = w.window->tweaksDialog();
    QVERIFY(dialog);
    QVERIFY(dialog->isVisible());
    QVERIFY(w.state().UseTweaks);
    QCOMPARE(int(w.state().RcVersion), 4);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Rollcage Stage II Tweaks"));
    QVERIFY(dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(dialog->isWindow());
    QCOMPARE(dialog->windowModality(), Qt::NonModal);
    QCOMPARE(dialog->windowIcon().cacheKey(), w.window->windowIcon().cacheKey());
    QCOMPARE(dialog->size(), QSize(290, 442)); // 4350 x 6630 twips
    // 4600 twips right of and 100 twips below the main window's corner.
    QCOMPARE(dialog->pos(), w.window->frameGeometry().topLeft() + QPoint(307, 7));
    // The main window stays usable.
    QVERIFY(w.window->isEnabled());
    QVERIFY(!QApplication::activeModalWidget());
}

void TweaksTest::keptOnScreen_data()
{
    // The main window's corner, from the right and bottom edges of the
    // screen's available area (negative: from its left and top edges).
    QTest::addColumn<QPoint>("fromEdges");
    QTest::addColumn<bool>("clampX");
    QTest::addColumn<bool>("clampY");
    QTest::newRow("room on the right") << QPoint(-120, -80) << false << false;
    QTest::newRow("near the right edge") << QPoint(400, -80) << true << false;
    QTest::newRow("near the bottom edge") << QPoint(-120, 300) << false << true;
    QTest::newRow("near both") << QPoint(350, 200) << true << true;
}

// The dialog keeps its offset from the main window unless that would put it
// outside the screen's available area; then it moves back just inside.
void TweaksTest::keptOnScreen()
{
    QFETCH(QPoint, fromEdges);
    QFETCH(bool, clampX);
    QFETCH(bool, clampY);
    WindowHarness w;
    const QRect area = w.window->screen()->availableGeometry();
    const int x = fromEdges.x() < 0 ? area.left() - fromEdges.x() : area.right() + 1 - fromEdges.x();
    const int y = fromEdges.y() < 0 ? area.top() - fromEdges.y() : area.bottom() + 1 - fromEdges.y();
    w.window->move(x, y);
    w.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));
    useTweaks(w)->click();
    frmRcTweaks* dialog = w.window->tweaksDialog();
    QVERIFY(dialog);
    const QPoint offset = w.window->frameGeometry().topLeft() + QPoint(307, 7);
    const QPoint expected(clampX ? area.right() + 1 - dialog->frameGeometry().width() : offset.x(),
                          clampY ? area.bottom() + 1 - dialog->frameGeometry().height() : offset.y());
    QCOMPARE(dialog->pos(), expected);
    QVERIFY(area.contains(dialog->frameGeometry()));
}

void TweaksTest::dialogControls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("parentName");
    QTest::addColumn<QRect>("geometry"); // twips / 15
    QTest::newRow("frmTweaks") << "frmTweaks" << "Tweaks" << "frmRcTweaks" << QRect(8, 6, 273, 429);
    QTest::newRow("chkTweak_1") << "chkTweak_1" << "Select Playable Track as Ventura: Knock Down\n(for PC Demo version)"
                                << "frmTweaks" << QRect(8, 18, 257, 25);
    QTest::newRow("chkTweak_4") << "chkTweak_4" << "Use Credits Pictures as Loading\n(for PC versions: Full; Semi Full)"
                                << "frmTweaks" << QRect(8, 350, 257, 25);
    QTest::newRow("fraScrambleTrck") << "fraScrambleTrck" << "" << "frmTweaks" << QRect(24, 164, 201, 71);
    QTest::newRow("optTrck_4") << "optTrck_4" << "Jump Gate: Star Dock (untextured)" << "fraSingleTrck" << QRect(8, 66, 185, 17);
    QTest::newRow("optScramble_3") << "optScramble_3" << "Scramble: EndZone" << "fraScrambleTrck" << QRect(8, 48, 185, 17);
    QTest::newRow("optLoading_2") << "optLoading_2" << "Use Main Loading" << "fraLoading" << QRect(8, 30, 185, 17);
    QTest::newRow("chkTweak_5") << "chkTweak_5" << "Patch idx to use uncompressed exec only\n(for PSX Demo version)"
                                << "frmTweaks" << QRect(8, 392, 257, 25);
}

void TweaksTest::dialogControls()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, parentName);
    QFETCH(QRect, geometry);
    WindowHarness w;
    useTweaks(w)->click();
    QWidget* control = w.window->tweaksDialog()->findChild<QWidget*>(name);
    QVERIFY2(control, qPrintable(name));
    QCOMPARE(control->parentWidget()->objectName(), parentName);
    QCOMPARE(control->geometry(), geometry);
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        QCOMPARE(button->text(), caption);
    else
        QCOMPARE(qobject_cast<QGroupBox*>(control)->title(), caption);
}

void TweaksTest::enableRules_data()
{
    QTest::addColumn<QList<int>>("clicks"); // check boxes clicked, in order
    QTest::addColumn<QString>("checks");
    QTest::addColumn<QString>("groups");
    QTest::newRow("as opened") << QList<int>{} << "tE tE tE te te" << "eee";
    QTest::newRow("track tweak") << QList<int>{1} << "TE tE te te te" << "Eee";
    QTest::newRow("track tweak off again") << QList<int>{1, 1} << "tE tE tE te te" << "eee";
    QTest::newRow("scramble tweak") << QList<int>{2} << "tE TE te te te" << "eEe";
    QTest::newRow("both, one off: semi full stays off") << QList<int>{1, 2, 1} << "tE TE te te te" << "eEe";
    QTest::newRow("semi full") << QList<int>{3} << "te te TE tE te" << "eeE";
    QTest::newRow("credits turn loading off") << QList<int>{3, 4} << "te te TE TE te" << "eee";
    QTest::newRow("credits off again") << QList<int>{3, 4, 4} << "te te TE tE te" << "eeE";
    QTest::newRow("semi full off with credits ticked") << QList<int>{3, 4, 3} << "tE tE tE Te te" << "eee";
    QTest::newRow("semi full on again, loading stays off") << QList<int>{3, 4, 3, 3} << "te te TE TE te" << "eee";
    QTest::newRow("disabled boxes ignore clicks") << QList<int>{1, 3, 4, 5} << "TE tE te te te" << "Eee";
}

void TweaksTest::enableRules()
{
    QFETCH(QList<int>, clicks);
    QFETCH(QString, checks);
    QFETCH(QString, groups);
    WindowHarness w;
    useTweaks(w)->click();
    frmRcTweaks* dialog = w.window->tweaksDialog();
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    for (const int index : clicks)
        userClick(tweak(dialog, index));
    QCOMPARE(checkStates(dialog), checks);
    QCOMPARE(groupStates(dialog), groups);
    // The engine reads the model, which must say the same.
    const RcTweakModel& model = w.window->tweakModel();
    for (int i = 1; i <= 5; ++i) {
        QCOMPARE(model.ticked(i), tweak(dialog, i)->isChecked());
        QCOMPARE(model.enabled(i), tweak(dialog, i)->isEnabled());
    }
}

void TweaksTest::optionsAreExclusiveAndReachTheModel()
{
    WindowHarness w;
    useTweaks(w)->click();
    frmRcTweaks* dialog = w.window->tweaksDialog();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    const RcTweakModel& model = w.window->tweakModel();
    QVERIFY(option(dialog, 1, 1)->isChecked());
    QVERIFY(option(dialog, 2, 1)->isChecked());
    QVERIFY(option(dialog, 3, 1)->isChecked());

    userClick(option(dialog, 1, 3)); // disabled: nothing
    QVERIFY(model.selected(1, 1));
    userClick(tweak(dialog, 1));
    userClick(option(dialog, 1, 3));
    QVERIFY(option(dialog, 1, 3)->isChecked());
    QVERIFY(!option(dialog, 1, 1)->isChecked());
    QVERIFY(model.selected(1, 3) && !model.selected(1, 1));
    QVERIFY(model.chosen(1, 3));
    // Another frame keeps its own choice.
    QVERIFY(option(dialog, 2, 1)->isChecked());
    QVERIFY(model.selected(2, 1));
}

void TweaksTest::freshOnReopen()
{
    WindowHarness w;
    w.window->show();
    QCheckBox* box = useTweaks(w);
    box->click();
    QPointer<frmRcTweaks> first = w.window->tweaksDialog();
    QVERIFY(QTest::qWaitForWindowExposed(first.data()));
    userClick(tweak(first, 1));
    userClick(option(first, 1, 4));
    QVERIFY(w.window->tweakModel().chosen(1, 4));

    box->click(); // off
    QVERIFY(!w.window->tweaksDialog());
    QVERIFY(!first->isVisible());
    QVERIFY(!w.state().UseTweaks);
    QVERIFY(!w.window->tweakModel().isOpen());
    QVERIFY(!w.window->tweakModel().active(1));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(first.isNull());

    w.window->move(w.window->pos() + QPoint(40, 30));
    box->click(); // on again
    frmRcTweaks* second = w.window->tweaksDialog();
    QVERIFY(second);
    QCOMPARE(checkStates(second), QStringLiteral("tE tE tE te te"));
    QCOMPARE(groupStates(second), QStringLiteral("eee"));
    QVERIFY(option(second, 1, 1)->isChecked());
    QVERIFY(w.window->tweakModel().selected(1, 1));
    // Placed against where the main window is now.
    QCOMPARE(second->pos(), w.window->frameGeometry().topLeft() + QPoint(307, 7));
}

void TweaksTest::closeBoxUnticks()
{
    WindowHarness w;
    w.window->show();
    useTweaks(w)->click();
    QPointer<frmRcTweaks> dialog = w.window->tweaksDialog();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.data()));
    userClick(tweak(dialog, 3));
    QVERIFY(dialog->close());

    QVERIFY(!useTweaks(w)->isChecked());
    QVERIFY(!w.state().UseTweaks);
    QVERIFY(!w.window->tweaksDialog());
    QVERIFY(!w.window->tweakModel().isOpen());
    QVERIFY(!w.window->tweakModel().active(3));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(dialog.isNull());
    QVERIFY(w.window->isVisible());
}

void TweaksTest::closingMainWindowClosesDialog()
{
    WindowHarness w;
    w.window->show();
    useTweaks(w)->click();
    QPointer<frmRcTweaks> dialog = w.window->tweaksDialog();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.data()));

    w.click(QStringLiteral("cmdExit"));
    QVERIFY(!w.window->isVisible());
    QVERIFY(dialog.isNull() || !dialog->isVisible());
    QVERIFY(!w.window->tweakModel().isOpen());
    QVERIFY(!w.state().UseTweaks);
    // No window of the program is left open.
    for (const QWidget* window : QApplication::topLevelWidgets())
        QVERIFY2(!window->isVisible(), qPrintable(window->objectName()));
}

QTEST_MAIN(TweaksTest)
#include "tst_ui_tweaks.moc"

// SPDX-License-Identifier: MIT
// The tweaks dialog model (which choices it offers and combines) and the
// tweaks engine that turns the choices into list redirects.
#include "rollcage/RcCatalogue.h"
#include "rollcage/RcTweakModel.h"
#include "rollcage/RcTweaks.h"

#include "RcTweakScript.h"

#include <QSet>
#include <QTest>

using namespace tobx;
using tobx::test::playTweaks;

namespace {

// The check boxes 1 to 5 whose state is set, as "1 3 4".
QString checks(const RcTweakModel& model, bool (RcTweakModel::*state)(int) const)
{
    QStringList on;
    for (int i = 1; i <= 5; ++i)
        if ((model.*state)(i))
            on.append(QString::number(i));
    return on.join(QLatin1Char(' '));
}

// Per group "on", "off", or "mixed" when its options disagree.
QString groupsEnabled(const RcTweakModel& model)
{
    QStringList groups;
    for (int g = 1; g <= 3; ++g) {
        int enabled = 0;
        for (int o = 1; o <= RcTweakModel::optionCount(g); ++o)
            enabled += model.optionEnabled(g, o) ? 1 : 0;
        groups.append(enabled == 0 ? QStringLiteral("off")
                                   : enabled == RcTweakModel::optionCount(g) ? QStringLiteral("on")
                                                                             : QStringLiteral("mixed"));
    }
    return groups.join(QLatin1Char(' '));
}

// The selected option of each group, as "1 1 1".
QString selections(const RcTweakModel& model)
{
    QStringList picked;
    for (int g = 1; g <= 3; ++g) {
        QString which = QStringLiteral("0");
        for (int o = 1; o <= RcTweakModel::optionCount(g); ++o)
            if (model.selected(g, o))
                which = QString::number(o);
        picked.append(which);
    }
    return picked.join(QLatin1Char(' '));
}

using Redirect = QByteArray (*)(const RcTweakModel&, qint16);

// Every row of a full numbering that gets a redirect, as "82:88 83:89".
QString redirectsOf(const RcTweakModel& model, Redirect redirect)
{
    QStringList found;
    for (int row = 0; row <= 289; ++row) {
        const QByteArray target = redirect(model, qint16(row));
        if (target != "-")
            found.append(QString::number(row) + QLatin1Char(':') + QString::fromLatin1(target));
    }
    return found.join(QLatin1Char(' '));
}

QSet<int> demoContentRows()
{
    QSet<int> rows;
    for (int demo = 0; demo < 135; ++demo)
        rows.insert(RcDemoToFull(qint16(demo)));
    return rows;
}

} // namespace

class TestRcTweaks : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void dialogStates_data();
    void dialogStates();
    void closedDialogOffersNothing();
    void callbackFollowsEveryChange();
    void tweakRedirects_data();
    void tweakRedirects();
    void creditsPicturesReplaceLoadingScreens_data();
    void creditsPicturesReplaceLoadingScreens();
    void semiFullRows_data();
    void semiFullRows();
    void semiFullShowsDemoContentOnly();
};

void TestRcTweaks::dialogStates_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("ticked");
    QTest::addColumn<QString>("enabled");
    QTest::addColumn<QString>("groups");
    QTest::addColumn<QString>("selected");

    // What the load step enables for each edition code.
    QTest::newRow("open 0") << "o0" << "" << "" << "off off off" << "1 1 1";
    QTest::newRow("open 1 RcFullPC") << "o1" << "" << "" << "off off off" << "1 1 1";
    QTest::newRow("open 2 RcDemoPC") << "o2" << "" << "" << "off off off" << "1 1 1";
    QTest::newRow("open 3 Rc2FullPC") << "o3" << "" << "4" << "off off off" << "1 1 1";
    QTest::newRow("open 4 Rc2DemoPC") << "o4" << "" << "1 2 3" << "off off off" << "1 1 1";
    QTest::newRow("open 7 Rc2FullPSX") << "o7" << "" << "" << "off off off" << "1 1 1";
    QTest::newRow("open 8 Rc2DemoPSX") << "o8" << "" << "5" << "off off off" << "1 1 1";
    QTest::newRow("open 9 UnknownVersion") << "o9" << "" << "4" << "off off on" << "1 1 1";
    QTest::newRow("open 200") << "o200" << "" << "" << "off off off" << "1 1 1";

    // The enable rules, driven by clicks as the user makes them.
    QTest::newRow("track on") << "o4 c1" << "1" << "1 2" << "on off off" << "1 1 1";
    QTest::newRow("track on and off") << "o4 c1 c1" << "" << "1 2 3" << "off off off" << "1 1 1";
    QTest::newRow("scramble on") << "o4 c2" << "2" << "1 2" << "off on off" << "1 1 1";
    QTest::newRow("both swaps, track off") << "o4 c1 c2 c1" << "2" << "1 2" << "off on off" << "1 1 1";
    QTest::newRow("both swaps off") << "o4 c1 c2 c1 c2" << "" << "1 2 3" << "off off off" << "1 1 1";
    QTest::newRow("semi full on") << "o4 c3" << "3" << "3 4" << "off off on" << "1 1 1";
    QTest::newRow("semi full on and off") << "o4 c3 c3" << "" << "1 2 3" << "off off off" << "1 1 1";
    QTest::newRow("semi full, credits") << "o4 c3 c4" << "3 4" << "3 4" << "off off off" << "1 1 1";
    QTest::newRow("semi full, credits on and off") << "o4 c3 c4 c4" << "3" << "3 4" << "off off on" << "1 1 1";
    QTest::newRow("credits kept, semi full off") << "o4 c3 c4 c3" << "4" << "1 2 3" << "off off off" << "1 1 1";
    QTest::newRow("credits kept, semi full again") << "o4 c3 c4 c3 c3" << "3 4" << "3 4" << "off off off" << "1 1 1";
    QTest::newRow("full edition credits") << "o3 c4" << "4" << "4" << "off off off" << "1 1 1";
    QTest::newRow("psx patch has no rule") << "o8 c5" << "5" << "5" << "off off off" << "1 1 1";

    // A disabled control takes no click or selection.
    QTest::newRow("credits disabled at start") << "o4 c4" << "" << "1 2 3" << "off off off" << "1 1 1";
    QTest::newRow("semi full disabled by track") << "o4 c1 c3" << "1" << "1 2" << "on off off" << "1 1 1";
    QTest::newRow("track disabled by semi full") << "o4 c3 c1 c2" << "3" << "3 4" << "off off on" << "1 1 1";
    QTest::newRow("option of a disabled group") << "o4 s1.3 s2.2" << "" << "1 2 3" << "off off off" << "1 1 1";

    // Options are exclusive within their group and survive being disabled.
    QTest::newRow("select track 3") << "o4 c1 s1.3" << "1" << "1 2" << "on off off" << "3 1 1";
    QTest::newRow("select track 3 then 4") << "o4 c1 s1.3 s1.4" << "1" << "1 2" << "on off off" << "4 1 1";
    QTest::newRow("selection kept when disabled") << "o4 c1 s1.2 c1" << "" << "1 2 3" << "off off off" << "2 1 1";
    QTest::newRow("main loading") << "o4 c3 s3.2" << "3" << "3 4" << "off off on" << "1 1 2";

    // Reopening starts from the initial choices again.
    QTest::newRow("reopen") << "o4 c1 s1.4 x o4" << "" << "1 2 3" << "off off off" << "1 1 1";
}

void TestRcTweaks::dialogStates()
{
    QFETCH(QString, script);
    RcTweakModel model;
    playTweaks(model, script);
    QTEST(checks(model, &RcTweakModel::ticked), "ticked");
    QTEST(checks(model, &RcTweakModel::enabled), "enabled");
    QTEST(groupsEnabled(model), "groups");
    QTEST(selections(model), "selected");
}

void TestRcTweaks::closedDialogOffersNothing()
{
    RcTweakModel model;
    for (const QString& script : {QStringLiteral(""), QStringLiteral("o4 c3 c4 x"), QStringLiteral("o9 x")}) {
        playTweaks(model, script);
        QVERIFY(!model.isOpen());
        QCOMPARE(checks(model, &RcTweakModel::ticked), QString());
        QCOMPARE(checks(model, &RcTweakModel::enabled), QString());
        QCOMPARE(groupsEnabled(model), QStringLiteral("off off off"));
        playTweaks(model, QStringLiteral("c1 c3 c4"));
        QCOMPARE(checks(model, &RcTweakModel::ticked), QString());
        QCOMPARE(redirectsOf(model, RcTweakRedirect), QString());
    }
}

void TestRcTweaks::callbackFollowsEveryChange()
{
    RcTweakModel model;
    int calls = 0;
    model.changed = [&] { ++calls; };
    playTweaks(model, QStringLiteral("o4 c3 s3.2 x"));
    QCOMPARE(calls, 4);
    playTweaks(model, QStringLiteral("c4")); // closed: nothing changes
    QCOMPARE(calls, 4);
}

void TestRcTweaks::tweakRedirects_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("redirects");

    QTest::newRow("no tweak ticked") << "o4" << "";
    QTest::newRow("power surge") << "o4 c1" << "82:88 83:89 88:82 89:83";
    QTest::newRow("full force") << "o4 c1 s1.2" << "80:88 81:89 88:80 89:81";
    QTest::newRow("ida 447") << "o4 c1 s1.3" << "84:88 85:89 88:84 89:85";
    QTest::newRow("star dock") << "o4 c1 s1.4" << "86:88 87:89 88:86 89:87";
    QTest::newRow("scramble introduction") << "o4 c2" << "80:90 81:91 90:80 91:81";
    QTest::newRow("scramble flipflop") << "o4 c2 s2.2" << "80:92 81:93 92:80 93:81";
    QTest::newRow("scramble endzone") << "o4 c2 s2.3" << "80:94 81:95 94:80 95:81";
    QTest::newRow("full force and introduction") << "o4 c1 s1.2 c2" << "80:90 81:91 88:80 89:81 90:80 91:81";
    QTest::newRow("power surge and endzone") << "o4 c1 c2 s2.3"
                                             << "80:94 81:95 82:88 83:89 88:82 89:83 94:80 95:81";
    QTest::newRow("track unticked again") << "o4 c1 s1.3 c1" << "";
    QTest::newRow("semi full is not a tweak redirect") << "o4 c3" << "";
}

void TestRcTweaks::tweakRedirects()
{
    QFETCH(QString, script);
    RcTweakModel model;
    playTweaks(model, script);
    QTEST(redirectsOf(model, RcTweakRedirect), "redirects");
}

void TestRcTweaks::creditsPicturesReplaceLoadingScreens_data()
{
    QTest::addColumn<QString>("script");
    QTest::newRow("full edition") << "o3 c4";
    QTest::newRow("semi full") << "o4 c3 c4";
    QTest::newRow("unknown edition") << "o9 c4";
}

// The 17 loading screens each take a different credits picture.
void TestRcTweaks::creditsPicturesReplaceLoadingScreens()
{
    QFETCH(QString, script);
    RcTweakModel model;
    playTweaks(model, script);
    QSet<int> pictures;
    for (int row = 0; row <= 289; ++row) {
        const QByteArray redirect = RcTweakRedirect(model, qint16(row));
        QCOMPARE(redirect, RcCreditsAsLoading(model, qint16(row)));
        if (row < 236 || row > 252) {
            QCOMPARE(redirect, QByteArray("-"));
            continue;
        }
        const int picture = redirect.toInt();
        QVERIFY(RcEntryInfo(qint16(row)).description.startsWith("LOADING SCREEN: "));
        QVERIFY(RcEntryInfo(qint16(picture)).description.startsWith("CREDITS PICTURE: "));
        pictures.insert(picture);
    }
    QCOMPARE(pictures.size(), 17);
    QCOMPARE(RcTweakRedirect(model, 236), QByteArray("278"));
    QCOMPARE(RcTweakRedirect(model, 239), QByteArray("283"));
    QCOMPARE(RcTweakRedirect(model, 252), QByteArray("271"));
    playTweaks(model, QStringLiteral("c4")); // unticked: no credits any more
    QCOMPARE(redirectsOf(model, RcCreditsAsLoading), QString());
}

void TestRcTweaks::semiFullRows_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("row");
    QTest::addColumn<QByteArray>("redirect");

    const QString demoInfo = QStringLiteral("o4 c3");
    const QString mainLoading = QStringLiteral("o4 c3 s3.2");
    const QString credits = QStringLiteral("o4 c3 c4");
    QTest::newRow("82 to knock down") << demoInfo << 82 << QByteArray("100");
    QTest::newRow("83 to knock down") << demoInfo << 83 << QByteArray("101");
    QTest::newRow("80 holds demo content") << demoInfo << 80 << QByteArray("-");
    QTest::newRow("86 to full force") << demoInfo << 86 << QByteArray("80");
    QTest::newRow("203 to power surge") << demoInfo << 203 << QByteArray("93");
    QTest::newRow("204 to unnamed pair") << demoInfo << 204 << QByteArray("232");
    QTest::newRow("209 to unnamed pair") << demoInfo << 209 << QByteArray("233");
    QTest::newRow("211 rubble soccer") << demoInfo << 211 << QByteArray("81");
    QTest::newRow("212 stays empty") << demoInfo << 212 << QByteArray("-");
    QTest::newRow("231 stays empty") << demoInfo << 231 << QByteArray("-");
    QTest::newRow("237 demo info") << demoInfo << 237 << QByteArray("251");
    QTest::newRow("239 is demo content") << demoInfo << 239 << QByteArray("-");
    QTest::newRow("242 is demo content") << demoInfo << 242 << QByteArray("-");
    QTest::newRow("252 team photo") << demoInfo << 252 << QByteArray("286");
    QTest::newRow("255 time slow") << demoInfo << 255 << QByteArray("254");
    QTest::newRow("257 time slow") << demoInfo << 257 << QByteArray("254");
    QTest::newRow("284 bink logo") << demoInfo << 284 << QByteArray("287");
    QTest::newRow("285 matrox logo") << demoInfo << 285 << QByteArray("288");
    QTest::newRow("237 main loading") << mainLoading << 237 << QByteArray("239");
    QTest::newRow("250 main loading") << mainLoading << 250 << QByteArray("239");
    QTest::newRow("252 main loading") << mainLoading << 252 << QByteArray("286");
    QTest::newRow("237 loading options off") << credits << 237 << QByteArray("-");
    QTest::newRow("252 loading options off") << credits << 252 << QByteArray("-");
    QTest::newRow("82 loading options off") << credits << 82 << QByteArray("100");
}

void TestRcTweaks::semiFullRows()
{
    QFETCH(QString, script);
    QFETCH(int, row);
    RcTweakModel model;
    playTweaks(model, script);
    QTEST(RcSemiFullRedirect(model, qint16(row)), "redirect");
}

// Every row the demo lacks, but 212 to 231, shows demo content of the same
// kind; rows that hold demo content keep it.
void TestRcTweaks::semiFullShowsDemoContentOnly()
{
    RcTweakModel model;
    playTweaks(model, QStringLiteral("o4 c3"));
    const QSet<int> demoRows = demoContentRows();
    for (int row = 0; row <= 289; ++row) {
        const QByteArray redirect = RcSemiFullRedirect(model, qint16(row));
        const QByteArray name = QByteArray::number(row);
        if (demoRows.contains(row) || (row >= 212 && row <= 231)) {
            QVERIFY2(redirect == "-", name.constData());
            continue;
        }
        bool isNumber = false;
        const int target = redirect.toInt(&isNumber);
        QVERIFY2(isNumber && demoRows.contains(target), name.constData());
        QVERIFY2(RcEntryInfo(qint16(target)).typeCode == RcEntryInfo(qint16(row)).typeCode, name.constData());
    }
}

QTEST_GUILESS_MAIN(TestRcTweaks)
#include "tst_rc_tweaks.moc"

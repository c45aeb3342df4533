// SPDX-License-Identifier: MIT
// The content catalogue: type codes and descriptions by entry number, car
// names, and the demo-to-full numbering.
#include "rollcage/RcCatalogue.h"

#include <QSet>
#include <QTest>

using namespace tobx;

class TestRcCatalogue : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void entryInfo_data();
    void entryInfo();
    void everyEntryIsListSafe();
    void carEntriesFollowTheCarTable();
    void trackPairsShareOneDescription();
    void carName_data();
    void carName();
    void demoToFull_data();
    void demoToFull();
    void demoNumberingIsASubsetInDemoOrder();
};

void TestRcCatalogue::entryInfo_data()
{
    QTest::addColumn<int>("entry");
    QTest::addColumn<QByteArray>("typeCode");
    QTest::addColumn<QByteArray>("description");

    QTest::newRow("0 first car model") << 0 << QByteArray("PINP") << QByteArray("CAR MODEL: Sub Sonic: Taipan: Type I");
    QTest::newRow("1 Type II") << 1 << QByteArray("PINP") << QByteArray("CAR MODEL: Sub Sonic: Taipan: Type II");
    QTest::newRow("2 Type III") << 2 << QByteArray("PINP") << QByteArray("CAR MODEL: Sub Sonic: Taipan: Type III");
    QTest::newRow("7 misspelt car") << 7 << QByteArray("PINP") << QByteArray("CAR MODEL: Richter: Vicking: Type II");
    QTest::newRow("59 last car model") << 59 << QByteArray("PINP") << QByteArray("CAR MODEL: Unity: Genesis: Type III");
    QTest::newRow("60 first texture") << 60 << QByteArray("BM6D") << QByteArray("CAR TEXTURES: Sub Sonic: Taipan");
    QTest::newRow("79 last texture") << 79 << QByteArray("BM6D") << QByteArray("CAR TEXTURES: Unity: Genesis");
    QTest::newRow("80 first track") << 80 << QByteArray("GFXM") << QByteArray("TRACK: Outworld: Full Force (DEMO)");
    QTest::newRow("81 its BTP") << 81 << QByteArray("BTP") << QByteArray("TRACK: Outworld: Full Force (DEMO)");
    QTest::newRow("98 misspelt track") << 98 << QByteArray("GFXM") << QByteArray("TRACK: Harpoon: Archipelaga");
    QTest::newRow("107 misspelt world") << 107 << QByteArray("BTP") << QByteArray("TRACK: Outword: Angel City");
    QTest::newRow("203 last named pair") << 203 << QByteArray("BTP") << QByteArray("TRACK: Pursuit: Figure of Hate");
    QTest::newRow("204 unnamed pair") << 204 << QByteArray("GFXM") << QByteArray("???");
    QTest::newRow("209 unnamed pair") << 209 << QByteArray("BTP") << QByteArray("???");
    QTest::newRow("210 rubble soccer") << 210 << QByteArray("GFXM") << QByteArray("TRACK: Rubble Soccer");
    QTest::newRow("211 rubble soccer") << 211 << QByteArray("BTP") << QByteArray("TRACK: Rubble Soccer");
    QTest::newRow("212 first P") << 212 << QByteArray("P") << QByteArray("???");
    QTest::newRow("218 the ? entry") << 218 << QByteArray("?") << QByteArray("???");
    QTest::newRow("225 P") << 225 << QByteArray("P") << QByteArray("???");
    QTest::newRow("231 last P") << 231 << QByteArray("P") << QByteArray("???");
    QTest::newRow("232 unnamed GFXM") << 232 << QByteArray("GFXM") << QByteArray("???");
    QTest::newRow("233 unnamed BTP") << 233 << QByteArray("BTP") << QByteArray("???");
    QTest::newRow("234 option fields") << 234 << QByteArray("POF") << QByteArray("POSSIBLE OPTION FIELDS - Different in Demo");
    QTest::newRow("235 font") << 235 << QByteArray("BM") << QByteArray("Font - Different in Demo");
    QTest::newRow("236 first loading") << 236 << QByteArray("BM6") << QByteArray("LOADING SCREEN: Race All Tracks");
    QTest::newRow("244 loading soccer") << 244 << QByteArray("BM6") << QByteArray("LOADING SCREEN: Rubble Soccer");
    QTest::newRow("251 game info") << 251 << QByteArray("BM6")
                                   << QByteArray("LOADING SCREEN: Game Info (DEMO - Used in Demo version only - in Full - Place Holder)");
    QTest::newRow("252 team photo") << 252 << QByteArray("BM6") << QByteArray("LOADING SCREEN: Team Photo (Cheat - snar)");
    QTest::newRow("253 freeze") << 253 << QByteArray("BM6D") << QByteArray("POWERUP TEXTURE: Freeze");
    QTest::newRow("254 time slow") << 254 << QByteArray("BM6") << QByteArray("POWERUP TEXTURE: Time Slow: rouge/blue circles");
    QTest::newRow("257 time slow") << 257 << QByteArray("BM6") << QByteArray("POWERUP TEXTURE: Time Slow: blue lines");
    QTest::newRow("258 logo") << 258 << QByteArray("BM") << QByteArray("Optimized For AMD Logo");
    QTest::newRow("259 dots") << 259 << QByteArray("BM6") << QByteArray("TEXTURE: Unknown: dots");
    QTest::newRow("260 smog") << 260 << QByteArray("BM6") << QByteArray("TEXTURE: Unknown: smog?");
    QTest::newRow("261 first face") << 261 << QByteArray("BM6") << QByteArray("CREDITS PICTURE: South Park Face: Computer Killer");
    QTest::newRow("267 bobo") << 267 << QByteArray("BM6") << QByteArray("CREDITS PICTURE: South Park Face: Bobo");
    QTest::newRow("282 last face") << 282 << QByteArray("BM6") << QByteArray("CREDITS PICTURE: South Park Face: Eyupp");
    QTest::newRow("283 intro") << 283 << QByteArray("BM6") << QByteArray("CREDITS PICTURE: Intro");
    QTest::newRow("285 matrox") << 285 << QByteArray("BM6") << QByteArray("CREDITS PICTURE: Powered by Matrox Logo");
    QTest::newRow("286 kiss") << 286 << QByteArray("BM6") << QByteArray("CREDITS PICTURE: HIDDEN PHOTO: Kiss");
    QTest::newRow("288 boy") << 288 << QByteArray("BM6") << QByteArray("CREDITS PICTURE: HIDDEN PHOTO: Boy (Zorvek)");
    QTest::newRow("289 sounds") << 289 << QByteArray("PCSF")
                                << QByteArray("PC Sound Effect File (can be extracted to wave's files)");
    QTest::newRow("-1 outside") << -1 << QByteArray("-") << QByteArray("???");
    QTest::newRow("290 outside") << 290 << QByteArray("-") << QByteArray("???");
}

void TestRcCatalogue::entryInfo()
{
    QFETCH(int, entry);
    QFETCH(QByteArray, typeCode);
    QFETCH(QByteArray, description);
    const RcEntryText info = RcEntryInfo(qint16(entry));
    QCOMPARE(info.typeCode, typeCode);
    QCOMPARE(info.description, description);
}

// Every text ends up as a list field, where a comma or an empty text would
// shift the fields of the row.
void TestRcCatalogue::everyEntryIsListSafe()
{
    const QSet<QByteArray> codes{"PINP", "BM6D", "GFXM", "BTP", "P", "?", "POF", "BM", "BM6", "PCSF"};
    for (int entry = 0; entry <= 289; ++entry) {
        const RcEntryText info = RcEntryInfo(qint16(entry));
        QVERIFY2(codes.contains(info.typeCode), qPrintable(QString::number(entry)));
        QVERIFY(!info.description.isEmpty());
        QVERIFY(!info.description.contains(','));
        QVERIFY(!info.description.startsWith(' '));
    }
}

void TestRcCatalogue::carEntriesFollowTheCarTable()
{
    const QByteArray suffixes[] = {": Type I", ": Type II", ": Type III"};
    for (int car = 0; car < 20; ++car) {
        const QByteArray name = RcCarName(quint8(car));
        QVERIFY(!name.isEmpty());
        for (int type = 0; type < 3; ++type)
            QCOMPARE(RcEntryInfo(qint16(3 * car + type)).description, "CAR MODEL: " + name + suffixes[type]);
        QCOMPARE(RcEntryInfo(qint16(60 + car)).description, "CAR TEXTURES: " + name);
    }
}

void TestRcCatalogue::trackPairsShareOneDescription()
{
    QSet<QByteArray> trackNames;
    for (int even = 80; even <= 210; even += 2) {
        const RcEntryText gfxm = RcEntryInfo(qint16(even));
        const RcEntryText btp = RcEntryInfo(qint16(even + 1));
        QCOMPARE(gfxm.typeCode, QByteArray("GFXM"));
        QCOMPARE(btp.typeCode, QByteArray("BTP"));
        QCOMPARE(btp.description, gfxm.description);
        if (even <= 202) {
            QVERIFY(gfxm.description.startsWith("TRACK: "));
            trackNames.insert(gfxm.description);
        }
    }
    QCOMPARE(trackNames.size(), 62); // every named pair is a track of its own
}

void TestRcCatalogue::carName_data()
{
    QTest::addColumn<int>("car");
    QTest::addColumn<QByteArray>("name");
    QTest::newRow("0") << 0 << QByteArray("Sub Sonic: Taipan");
    QTest::newRow("2 misspelt") << 2 << QByteArray("Richter: Vicking");
    QTest::newRow("19 last") << 19 << QByteArray("Unity: Genesis");
    QTest::newRow("20 none") << 20 << QByteArray();
    QTest::newRow("255 none") << 255 << QByteArray();
}

void TestRcCatalogue::carName()
{
    QFETCH(int, car);
    QFETCH(QByteArray, name);
    QCOMPARE(RcCarName(quint8(car)), name);
}

void TestRcCatalogue::demoToFull_data()
{
    QTest::addColumn<int>("demo");
    QTest::addColumn<int>("full");
    QTest::newRow("0 car") << 0 << 0;
    QTest::newRow("81 full force stays") << 81 << 81;
    QTest::newRow("82 power surge") << 82 << 92;
    QTest::newRow("85 ida 447") << 85 << 105;
    QTest::newRow("86 star dock") << 86 << 116;
    QTest::newRow("88 knock down") << 88 << 100;
    QTest::newRow("90 introduction") << 90 << 120;
    QTest::newRow("93 flip flop") << 93 << 145;
    QTest::newRow("94 end zone") << 94 << 168;
    QTest::newRow("96 unnamed pair") << 96 << 232;
    QTest::newRow("99 font") << 99 << 235;
    QTest::newRow("100 single") << 100 << 239;
    QTest::newRow("101 scramble") << 101 << 242;
    QTest::newRow("102 game info") << 102 << 251;
    QTest::newRow("103 freeze") << 103 << 253;
    QTest::newRow("104 time slow") << 104 << 254;
    QTest::newRow("105 amd logo") << 105 << 258;
    QTest::newRow("130 intro") << 130 << 283;
    QTest::newRow("131 kiss") << 131 << 286;
    QTest::newRow("134 sounds") << 134 << 289;
    QTest::newRow("135 beyond") << 135 << 135;
    QTest::newRow("-1 negative") << -1 << -1;
}

void TestRcCatalogue::demoToFull()
{
    QFETCH(int, demo);
    QFETCH(int, full);
    QCOMPARE(int(RcDemoToFull(qint16(demo))), full);
}

// The demo holds a part of the full content, each piece once, and its eight
// track pairs in the order the tweaks rely on.
void TestRcCatalogue::demoNumberingIsASubsetInDemoOrder()
{
    QSet<int> seen;
    for (int demo = 0; demo < 135; ++demo) {
        const int full = RcDemoToFull(qint16(demo));
        QVERIFY(full >= 0 && full <= 289);
        QVERIFY2(!seen.contains(full), qPrintable(QString::number(demo)));
        seen.insert(full);
        if (demo < 100)
            QCOMPARE(full % 2, demo % 2); // an even "GFXM" entry stays even
    }
    const QByteArray demoTracks[] = {"Outworld: Full Force", "Skyway: Power Surge", "Leviathan: Ida 447",
                                     "Jumpgate: Star Dock", "Ventura: Knock Down", "Scramble: Introduction",
                                     "Scramble: Flip Flop", "Scramble: End Zone"};
    for (int pair = 0; pair < 8; ++pair) {
        const RcEntryText gfxm = RcEntryInfo(RcDemoToFull(qint16(80 + 2 * pair)));
        const RcEntryText btp = RcEntryInfo(RcDemoToFull(qint16(81 + 2 * pair)));
        QVERIFY2(gfxm.description.startsWith("TRACK: " + demoTracks[pair] + " (DEMO"), gfxm.description.constData());
        QCOMPARE(gfxm.typeCode, QByteArray("GFXM"));
        QCOMPARE(btp.typeCode, QByteArray("BTP"));
        QCOMPARE(btp.description, gfxm.description);
    }
}

QTEST_GUILESS_MAIN(TestRcCatalogue)
#include "tst_rc_catalogue.moc"

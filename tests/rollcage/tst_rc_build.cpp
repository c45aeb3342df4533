// SPDX-License-Identifier: MIT
// Building a Rollcage index from a list: round trips, redirects, the reading
// rules, the first-line checks and every refusal, which must leave an existing
// index untouched.
#include "RcTestFiles.h"

#include "rollcage/RcBuild.h"
#include "rollcage/RcExtract.h"
#include "rollcage/RcTweakModel.h"

#include <QTest>

using namespace tobx;
using namespace tobx::test;

namespace {

void expectDone(ScriptedMessageBox& box)
{
    box.expect(QString::fromLatin1(kProgramName), QStringLiteral("BUILD DONE ("));
}

QByteArray le32(quint32 value)
{
    QByteArray bytes;
    for (int n = 0; n < 4; ++n)
        bytes.append(char((value >> (8 * n)) & 0xFF));
    return bytes;
}

// Records as "offset length word3 word4", to index bytes.
QByteArray indexOf(const QStringList& records)
{
    QByteArray index;
    for (const QString& record : records)
        for (const QString& value : record.split(QLatin1Char(' ')))
            index += le32(value.toUInt());
    return index;
}

// A list row with the given redirect and values; the other columns as an
// extraction writes them.
QByteArray row(int number, const QByteArray& redirect, const QByteArray& values)
{
    QList<QByteArray> v = values.split(' ');
    return redirect + ", " + QByteArray::number(number) + ", -, RCIMG." + QByteArray::number(number).rightJustified(3, '0')
        + ", " + v.join(", ") + ", BM6, Some picture\r\n";
}

// Rows 0 to 3 with the values 10*k+1 to 10*k+4 and no redirect.
QByteArray fourRows()
{
    QByteArray rows;
    for (int k = 0; k < 4; ++k)
        rows += row(k, "-", QByteArray::number(10 * k + 1) + ' ' + QByteArray::number(10 * k + 2) + ' '
                                + QByteArray::number(10 * k + 3) + ' ' + QByteArray::number(10 * k + 4));
    return rows;
}

QStringList fourRecords()
{
    return {QStringLiteral("1 2 3 4"), QStringLiteral("11 12 13 14"), QStringLiteral("21 22 23 24"),
            QStringLiteral("31 32 33 34")};
}

} // namespace

class TestRcBuild : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data();
    void roundTrip();
    void buildsRows_data();
    void buildsRows();
    void manyRowsBuiltWhole();
    void resultLines();
    void refusedRows_data();
    void refusedRows();
    void firstLine_data();
    void firstLine();
    void overwriteQuestion_data();
    void overwriteQuestion();
    void overwriteQuestionKeepsTheListSpelling();
    void missingList();
};

void TestRcBuild::roundTrip_data()
{
    QTest::addColumn<int>("entries");
    QTest::newRow("290") << 290;
    QTest::newRow("135") << 135;
    QTest::newRow("7") << 7;
}

// Extracted without tweaks and built unchanged: the same index, byte for byte.
void TestRcBuild::roundTrip()
{
    QFETCH(int, entries);
    Harness h;
    const RcPairOnDisk pair = writeRcPair(h, entries, 40000, quint32(entries) + 100);
    setUpExtract(h, pair.indexPath, QStringLiteral("work"));
    h.state.CreateLstOnly = true;
    RcTweakModel model;
    QCOMPARE(ExtractRcArchive(h.state, model), Outcome::Done);

    setUpBuild(h, h.path(QStringLiteral("work/RC.lst")));
    QCOMPARE(h.state.DstFile[BuildPane].FName, QStringLiteral("RC.IDX"));
    // RC.lst naming RC.IDX differs in case only: no mismatch to report.
    expectDone(h.box);
    QCOMPARE(BuildRcIndex(h.state), Outcome::Done);
    TOBX_VERIFY_BOXES(h.box);
    QCOMPARE(h.read(QStringLiteral("out/RC.IDX")), pair.index);
}

void TestRcBuild::buildsRows_data()
{
    QTest::addColumn<QByteArray>("rows");
    QTest::addColumn<QStringList>("records");

    QTest::newRow("as listed") << fourRows() << fourRecords();
    QByteArray spaced = fourRows();
    spaced.replace("\r\n", "\r\n\r\n\r\n");
    QTest::newRow("blank lines between rows") << spaced << fourRecords();
    QByteArray spread = fourRows();
    spread.replace(", ", "\r\n");
    QTest::newRow("one field per line") << spread << fourRecords();
    QTest::newRow("stray fields") << fourRows().left(fourRows().indexOf("-, 2, -")) + "-, 2, -\r\n"
                                  << fourRecords().mid(0, 2);
    QTest::newRow("no rows") << QByteArray() << QStringList{};

    QByteArray swapped = fourRows();
    swapped.replace("-, 1, ", "3, 1, ");
    swapped.replace("-, 3, ", "1, 3, ");
    QTest::newRow("rows 1 and 3 swap") << swapped
                                       << QStringList{QStringLiteral("1 2 3 4"), QStringLiteral("31 32 33 34"),
                                                      QStringLiteral("21 22 23 24"), QStringLiteral("11 12 13 14")};
    QByteArray chain = fourRows();
    chain.replace("-, 0, ", "1, 0, ");
    chain.replace("-, 1, ", "2, 1, ");
    QTest::newRow("redirect followed one step") << chain
                                                << QStringList{QStringLiteral("11 12 13 14"), QStringLiteral("21 22 23 24"),
                                                               QStringLiteral("21 22 23 24"), QStringLiteral("31 32 33 34")};
    QByteArray own = fourRows();
    own.replace("-, 2, ", "2, 2, ");
    QTest::newRow("redirect to itself") << own << fourRecords();
    QByteArray last = fourRows();
    last.replace("-, 0, ", "+3 , 0, ");
    QTest::newRow("redirect to the last row") << last
                                              << QStringList{QStringLiteral("31 32 33 34"), QStringLiteral("11 12 13 14"),
                                                             QStringLiteral("21 22 23 24"), QStringLiteral("31 32 33 34")};

    QTest::newRow("values as numbers are read")
        << row(0, "-", "12.9 abc 007x 4294967295") + row(1, "-", "0 0 0 0")
        << QStringList{QStringLiteral("12 0 7 4294967295"), QStringLiteral("0 0 0 0")};
}

void TestRcBuild::buildsRows()
{
    QFETCH(QByteArray, rows);
    QFETCH(QStringList, records);
    Harness h;
    const QString list = h.write(QStringLiteral("RC.lst"), "RC.idx\r\n\r\n" + rows);
    setUpBuild(h, list);
    expectDone(h.box);
    QCOMPARE(BuildRcIndex(h.state), Outcome::Done);
    TOBX_VERIFY_BOXES(h.box);
    QCOMPARE(h.read(QStringLiteral("out/RC.idx")), indexOf(records));
    QCOMPARE(h.box.shown.first().icon, MsgIcon::Information);
}

void TestRcBuild::manyRowsBuiltWhole()
{
    Harness h;
    QByteArray rows;
    QByteArray expected;
    for (int k = 0; k < 500; ++k) {
        rows += row(k, k == 0 ? "499" : "-", QByteArray::number(k) + " 1 2 3");
        expected += le32(quint32(k == 0 ? 499 : k)) + le32(1) + le32(2) + le32(3);
    }
    setUpBuild(h, h.write(QStringLiteral("RC.lst"), "RC.idx\r\n\r\n" + rows));
    expectDone(h.box);
    QCOMPARE(BuildRcIndex(h.state), Outcome::Done);
    TOBX_VERIFY_BOXES(h.box);
    QCOMPARE(h.read(QStringLiteral("out/RC.idx")), expected);
}

// Each complete row goes to the Build pane's result list, its fields joined.
void TestRcBuild::resultLines()
{
    Harness h;
    setUpBuild(h, h.write(QStringLiteral("RC.lst"), "RC.idx\r\n\r\n-, 0\r\n, -, a,b, 1, 2, 3, 4, T\r\n" + fourRows()));
    expectDone(h.box);
    QCOMPARE(BuildRcIndex(h.state), Outcome::Done);
    const QStringList lines = h.state.lstSrcFiles[BuildPane].texts();
    QCOMPARE(lines.size(), 5);
    QCOMPARE(lines.first(), QStringLiteral("-, 0, -, a, b, 1, 2, 3, 4, T"));
    QCOMPARE(lines.at(1), QStringLiteral("-, 0, -, RCIMG.000, 1, 2, 3, 4, BM6, Some picture"));
    QCOMPARE(h.read(QStringLiteral("out/RC.idx")).left(16), indexOf({QStringLiteral("0 1 2 3")}));
}

void TestRcBuild::refusedRows_data()
{
    QTest::addColumn<QByteArray>("rows");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("icon");
    QTest::addColumn<bool>("existing");

    const int none = int(MsgIcon::None);
    const int critical = int(MsgIcon::Critical);
    const auto redirected = [](const QByteArray& redirect) {
        QByteArray rows = fourRows();
        rows.replace("-, 3, ", redirect + ", 3, ");
        return rows;
    };
    for (bool existing : {false, true}) {
        const char* const suffix = existing ? ", index exists" : "";
        QTest::addRow("redirect N%s", suffix) << redirected("4") << "ERROR" << "Value not in range" << none << existing;
        QTest::addRow("redirect -1%s", suffix) << redirected("-1") << "ERROR" << "Value not in range" << none << existing;
        QTest::addRow("redirect word%s", suffix) << redirected("abc") << "ERROR" << "Value not in range" << none << existing;
        QTest::addRow("redirect fraction%s", suffix) << redirected("1.5") << "ERROR" << "Value not in range" << none << existing;
        QTest::addRow("redirect huge%s", suffix) << redirected("99999999999999999999") << "ERROR" << "Value not in range"
                                                 << none << existing;
        QTest::addRow("offset above 32 bits%s", suffix)
            << fourRows() + row(4, "-", "4294967296 0 0 0") << "ERROR" << "Row 4, column 4 (offset)" << critical << existing;
        QTest::addRow("negative word 4%s", suffix)
            << fourRows() + row(4, "-", "1 2 3 -7") << "ERROR" << "Row 4, column 7 (word 4)" << critical << existing;
    }
    QTest::newRow("bad value reached through a redirect")
        << redirected("4") + row(4, "-", "1 -2 3 4") << "ERROR" << "Row 4, column 5 (length)" << critical << false;
}

// Every row is checked before anything is written.
void TestRcBuild::refusedRows()
{
    QFETCH(QByteArray, rows);
    QFETCH(QString, title);
    QFETCH(QString, text);
    QFETCH(int, icon);
    QFETCH(bool, existing);
    Harness h;
    if (existing)
        h.write(QStringLiteral("out/RC.idx"), "the old index");
    setUpBuild(h, h.write(QStringLiteral("RC.lst"), "RC.idx\r\n\r\n" + rows));
    if (existing)
        h.box.expect(QStringLiteral("File already exist"), QString(), MsgResult::Yes);
    h.box.expect(title, text);
    QCOMPARE(BuildRcIndex(h.state), Outcome::Stopped);
    TOBX_VERIFY_BOXES(h.box);
    const Message& refusal = h.box.shown.last();
    QCOMPARE(int(refusal.icon), icon);
    QCOMPARE(refusal.buttons, MsgButtons::Ok);
    if (icon == int(MsgIcon::None))
        QCOMPARE(refusal.text, QStringLiteral("Value not in range"));
    QCOMPARE(h.exists(QStringLiteral("out/RC.idx")), existing);
    if (existing)
        QCOMPARE(h.read(QStringLiteral("out/RC.idx")), QByteArray("the old index"));
    QCOMPARE(QDir(h.path(QStringLiteral("out"))).entryList(QDir::Files | QDir::Hidden).size(), existing ? 1 : 0);
}

void TestRcBuild::firstLine_data()
{
    QTest::addColumn<QString>("listName");
    QTest::addColumn<QByteArray>("firstLine");
    QTest::addColumn<QStringList>("boxes"); // "title|text" in order
    QTest::addColumn<QString>("built");     // below out/, empty when nothing is built

    const QString done = QStringLiteral("TobExtractor|BUILD DONE (");
    const QString mismatch = QStringLiteral("Just info|File name mismatch\n(.lst file name doesn't match .idx name inside .lst file)");
    QTest::newRow("matching name") << "a.lst" << QByteArray("a.idx") << QStringList{done} << "a.idx";
    QTest::newRow("case differs only") << "Rc.LST" << QByteArray("rC.IdX") << QStringList{done} << "rC.IdX";
    QTest::newRow("other name") << "MYRC.LST" << QByteArray("RC.IDX") << QStringList{mismatch, done} << "RC.IDX";
    QTest::newRow("short list name") << "lst" << QByteArray("a.idx") << QStringList{mismatch, done} << "a.idx";
    QTest::newRow("leading blanks and more fields") << "RC.lst" << QByteArray("   RC.idx, 5, 6") << QStringList{done} << "RC.idx";
    QTest::newRow("list folder stripped") << "RC.lst" << QByteArray("@LISTDIR@RC.idx") << QStringList{done} << "RC.idx";
    QTest::newRow("sub folder") << "RC.lst" << QByteArray("sub\\RC.idx") << QStringList{mismatch, done} << "sub/RC.idx";
    QTest::newRow("too short") << "x.lst" << QByteArray("x.id")
                               << QStringList{QStringLiteral("Error|.idx file name to create too short - look first line inside .lst file")}
                               << "";
    QTest::newRow("just the extension") << "x.lst" << QByteArray(".idx")
                                        << QStringList{QStringLiteral("Error|.idx file name to create too short")} << "";
    QTest::newRow("wrong extension") << "RC.lst" << QByteArray("RC.DAT")
                                     << QStringList{QStringLiteral("Error|First line of .lst doesn't contain a valid .idx file name - no .idx extension")}
                                     << "";
    QTest::newRow("leads out of the folder") << "RC.lst" << QByteArray("..\\RC.idx")
                                             << QStringList{mismatch, QStringLiteral("ERROR|RC.idx")} << "";
    QTest::newRow("absolute elsewhere") << "RC.lst" << QByteArray("/tmp/RC.idx")
                                        << QStringList{mismatch, QStringLiteral("ERROR|RC.idx")} << "";
    QTest::newRow("control bytes") << "RC.lst" << QByteArray("\x1a\x1aRC.idx")
                                   << QStringList{mismatch, QStringLiteral("ERROR|(a control character (byte below 0x20) in the name): <1A><1A>RC.idx")}
                                   << "";
    QTest::newRow("dot level") << "RC.lst" << QByteArray(".\\RC.idx")
                               << QStringList{mismatch, QStringLiteral("ERROR|(\".\" level): .\\RC.idx")} << "";
}

void TestRcBuild::firstLine()
{
    QFETCH(QString, listName);
    QFETCH(QByteArray, firstLine);
    QFETCH(QStringList, boxes);
    QFETCH(QString, built);
    Harness h;
    QDir().mkpath(h.path(QStringLiteral("out/sub")));
    firstLine.replace("@LISTDIR@", h.path(QStringLiteral("lists/")).toLocal8Bit());
    const QString list = h.write(QStringLiteral("lists/") + listName, firstLine + "\r\n\r\n" + fourRows());
    setUpBuild(h, list);
    for (const QString& box : boxes)
        h.box.expect(box.section(QLatin1Char('|'), 0, 0), box.section(QLatin1Char('|'), 1));
    const Outcome outcome = BuildRcIndex(h.state);
    TOBX_VERIFY_BOXES(h.box);
    QCOMPARE(outcome, built.isEmpty() ? Outcome::Stopped : Outcome::Done);
    const QStringList written = QDir(h.path(QStringLiteral("out"))).entryList(QDir::Files);
    const QStringList writtenBelow = QDir(h.path(QStringLiteral("out/sub"))).entryList(QDir::Files);
    QCOMPARE(written.size() + writtenBelow.size(), built.isEmpty() ? 0 : 1);
    if (!built.isEmpty())
        QCOMPARE(h.read(QStringLiteral("out/") + built), indexOf(fourRecords()));
    QVERIFY(!QFileInfo::exists(h.path(QStringLiteral("RC.idx"))));
    for (const Message& message : h.box.shown)
        if (message.title == QStringLiteral("Error"))
            QCOMPARE(message.icon, MsgIcon::Critical);
}

void TestRcBuild::overwriteQuestion_data()
{
    QTest::addColumn<bool>("agree");
    QTest::newRow("yes") << true;
    QTest::newRow("no") << false;
}

void TestRcBuild::overwriteQuestion()
{
    QFETCH(bool, agree);
    Harness h;
    h.write(QStringLiteral("out/RC.idx"), QByteArray());
    setUpBuild(h, h.write(QStringLiteral("RC.lst"), "RC.idx\r\n\r\n" + fourRows()));
    h.box.expect(QStringLiteral("File already exist"), QStringLiteral("RC.idx already exist\nDo you want to overwrite it?"),
                 agree ? MsgResult::Yes : MsgResult::No);
    if (agree)
        expectDone(h.box);
    QCOMPARE(BuildRcIndex(h.state), agree ? Outcome::Done : Outcome::Cancelled);
    TOBX_VERIFY_BOXES(h.box);
    const Message& question = h.box.shown.first();
    QCOMPARE(question.icon, MsgIcon::Question);
    QCOMPARE(question.buttons, MsgButtons::YesNo);
    QCOMPARE(question.defaultButton, MsgResult::No);
    QCOMPARE(h.read(QStringLiteral("out/RC.idx")), agree ? indexOf(fourRecords()) : QByteArray());
    QCOMPARE(h.state.lstSrcFiles[BuildPane].size(), agree ? 4 : 0);
}

// The question names the index as the list spells it.
void TestRcBuild::overwriteQuestionKeepsTheListSpelling()
{
    Harness h;
    h.write(QStringLiteral("out/sub/RC.idx"), "OLD");
    setUpBuild(h, h.write(QStringLiteral("RC.lst"), "sub\\RC.idx\r\n\r\n" + fourRows()));
    h.box.expect(QStringLiteral("Just info"), QString());
    h.box.expect(QStringLiteral("File already exist"), QStringLiteral("sub\\RC.idx already exist\nDo you want to overwrite it?"),
                 MsgResult::No);
    QCOMPARE(BuildRcIndex(h.state), Outcome::Cancelled);
    TOBX_VERIFY_BOXES(h.box);
    QCOMPARE(h.read(QStringLiteral("out/sub/RC.idx")), QByteArray("OLD"));
}

void TestRcBuild::missingList()
{
    Harness h;
    setUpBuild(h, h.path(QStringLiteral("gone.lst")));
    h.box.expect(QStringLiteral("ERROR"), QStringLiteral("gone.lst"));
    QCOMPARE(BuildRcIndex(h.state), Outcome::Stopped);
    TOBX_VERIFY_BOXES(h.box);
}

QTEST_GUILESS_MAIN(TestRcBuild)
#include "tst_rc_build.moc"

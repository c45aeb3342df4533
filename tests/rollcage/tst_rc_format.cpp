// SPDX-License-Identifier: MIT
// The Rollcage formats: index records, entry file names, the image path, list
// rows and the list reader with its value rules.
#include "TestSupport.h"

#include "rollcage/RcFormat.h"

#include <QTest>

using namespace tobx;
using tobx::test::Harness;

namespace {

// Rows as "f0|f1|...|f9", one string per row, for compact expectations.
QStringList rowTexts(const QList<RcRow>& rows)
{
    QStringList texts;
    for (const RcRow& row : rows) {
        QStringList fields;
        for (const QByteArray& field : row)
            fields.append(QString::fromLatin1(field));
        texts.append(fields.join(QLatin1Char('|')));
    }
    return texts;
}

const QByteArray kRow0 = "-, 0, -, RCIMG.000, 100, 20, 0, 0, PINP, CAR";
const QByteArray kRow1 = "5, 1, -, RCIMG.001, 200, 30, 7, 8, BTP, TRACK";
const QString kRow0Fields = QStringLiteral("-|0|-|RCIMG.000|100|20|0|0|PINP|CAR");
const QString kRow1Fields = QStringLiteral("5|1|-|RCIMG.001|200|30|7|8|BTP|TRACK");

} // namespace

class TestRcFormat : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void recordLayout_data();
    void recordLayout();
    void recordValues_data();
    void recordValues();
    void entryFileName_data();
    void entryFileName();
    void rowText_data();
    void rowText();
    void imagePath_data();
    void imagePath();
    void formatRow();
    void groupEnds();
    void parseList_data();
    void parseList();
    void redirect_data();
    void redirect();
    void value_data();
    void value();
};

void TestRcFormat::recordLayout_data()
{
    QTest::addColumn<int>("indexSize");
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("firstRecordAt");
    QTest::newRow("full 4640") << 4640 << 290 << 0;
    QTest::newRow("demo 2160") << 2160 << 135 << 0;
    QTest::newRow("full plus 10") << 4650 << 290 << 10;
    QTest::newRow("8 bytes") << 8 << 0 << 8;
    QTest::newRow("15 bytes") << 15 << 0 << 15;
    QTest::newRow("one record") << 16 << 1 << 0;
    QTest::newRow("one record plus 15") << 31 << 1 << 15;
}

void TestRcFormat::recordLayout()
{
    QFETCH(int, indexSize);
    QFETCH(int, records);
    QFETCH(int, firstRecordAt);
    QCOMPARE(RcRecordCount(indexSize), qsizetype(records));
    QCOMPARE(RcRecordPosition(indexSize, 0), qsizetype(firstRecordAt));
    if (records > 0) // the last record ends with the file
        QCOMPARE(RcRecordPosition(indexSize, records - 1) + RcRecordSize, qsizetype(indexSize));
}

void TestRcFormat::recordValues_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<quint32>("offset");
    QTest::addColumn<quint32>("length");
    QTest::addColumn<quint32>("word3");
    QTest::addColumn<quint32>("word4");
    QTest::newRow("4096") << QByteArray::fromHex("00100000" "00080000" "00000000" "00000000")
                          << 4096u << 2048u << 0u << 0u;
    QTest::newRow("all ones") << QByteArray::fromHex("ffffffff" "ffffffff" "ffffffff" "ffffffff")
                              << 0xFFFFFFFFu << 0xFFFFFFFFu << 0xFFFFFFFFu << 0xFFFFFFFFu;
    QTest::newRow("byte order") << QByteArray::fromHex("01020304" "80000000" "00000080" "000000ff")
                                << 0x04030201u << 0x80u << 0x80000000u << 0xFF000000u;
}

// Read from the bytes, and written back to the same bytes.
void TestRcFormat::recordValues()
{
    QFETCH(QByteArray, bytes);
    const RcRecord record = ReadRcRecord(QByteArray("pad") + bytes, 3);
    QTEST(record.offset, "offset");
    QTEST(record.length, "length");
    QTEST(record.word3, "word3");
    QTEST(record.word4, "word4");
    QByteArray written = "x";
    AppendRcRecord(written, record);
    QCOMPARE(written, "x" + bytes);
}

void TestRcFormat::entryFileName_data()
{
    QTest::addColumn<int>("entry");
    QTest::addColumn<QByteArray>("name");
    QTest::newRow("0") << 0 << QByteArray("RCIMG.000");
    QTest::newRow("5") << 5 << QByteArray("RCIMG.005");
    QTest::newRow("42") << 42 << QByteArray("RCIMG.042");
    QTest::newRow("289") << 289 << QByteArray("RCIMG.289");
    QTest::newRow("290, past the full numbering") << 290 << QByteArray("RCIMG.290");
    QTest::newRow("999") << 999 << QByteArray("RCIMG.999");
    QTest::newRow("1000 widens") << 1000 << QByteArray("RCIMG.1000");
    QTest::newRow("65535") << 65535 << QByteArray("RCIMG.65535");
}

void TestRcFormat::entryFileName()
{
    QFETCH(int, entry);
    QTEST(RcEntryFileName(entry), "name");
}

// The numbers of the full numbering are shared texts, the others made anew;
// both must read the same.
void TestRcFormat::rowText_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("0") << 0 << QByteArray("0");
    QTest::newRow("134") << 134 << QByteArray("134");
    QTest::newRow("289, the last full row") << 289 << QByteArray("289");
    QTest::newRow("290") << 290 << QByteArray("290");
    QTest::newRow("32767") << 32767 << QByteArray("32767");
    QTest::newRow("-1") << -1 << QByteArray("-1");
}

void TestRcFormat::rowText()
{
    QFETCH(int, row);
    QTEST(RcRowText(row), "text");
}

void TestRcFormat::imagePath_data()
{
    QTest::addColumn<QString>("indexName");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QString>("imageName");
    QTest::newRow("exact name") << "RC.IDX" << QStringList{"RC.img", "RC.IMG"} << "RC.img";
    QTest::newRow("only upper case") << "RC.IDX" << QStringList{"RC.IMG"} << "RC.IMG";
    QTest::newRow("mixed case") << "data.idx" << QStringList{"DATA.Img"} << "DATA.Img";
    QTest::newRow("two case variants") << "RC.IDX" << QStringList{"RC.IMG", "rc.IMG"} << "RC.img";
    QTest::newRow("missing") << "RC.IDX" << QStringList{"RC.DAT"} << "RC.img";
    QTest::newRow("last three characters") << "game.x.idx" << QStringList{} << "game.x.img";
}

void TestRcFormat::imagePath()
{
    QFETCH(QString, indexName);
    QFETCH(QStringList, present);
    Harness h;
    h.write(indexName, QByteArray(16, '\0'));
    for (const QString& name : present)
        h.write(name, "GT20");
    QTEST(QFileInfo(RcImagePath(h.path(indexName))).fileName(), "imageName");
    QCOMPARE(QFileInfo(RcImagePath(h.path(indexName))).path(), QFileInfo(h.path(indexName)).path());
}

void TestRcFormat::formatRow()
{
    const RcRow row{"-", "7", "-", "RCIMG.007", "4096", "2048", "0", "0", "-", "-"};
    QCOMPARE(FormatRcListRow(row), QByteArray("-, 7, -, RCIMG.007, 4096, 2048, 0, 0, -, -"));
    QCOMPARE(RcListHeader("RC.IDX"), QByteArray("RC.IDX\r\n\r\n"));
}

void TestRcFormat::groupEnds()
{
    QList<int> ends;
    for (int entry = -1; entry <= 300; ++entry)
        if (IsRcGroupEnd(entry))
            ends.append(entry);
    QCOMPARE(ends, (QList<int>{59, 79, 119, 169, 189, 199, 203, 209, 211, 217, 218, 231, 233, 235, 252, 260, 282, 285, 288}));
}

void TestRcFormat::parseList_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("indexName");
    QTest::addColumn<QStringList>("rows");

    QTest::newRow("canonical") << "RC.IDX\r\n\r\n" + kRow0 + "\r\n" + kRow1 + "\r\n"
                               << QByteArray("RC.IDX") << QStringList{kRow0Fields, kRow1Fields};
    QTest::newRow("header only") << QByteArray("RC.IDX\r\n\r\n") << QByteArray("RC.IDX") << QStringList{};
    QTest::newRow("empty text") << QByteArray() << QByteArray() << QStringList{};
    QTest::newRow("no line end at the end") << "RC.IDX\r\n\r\n" + kRow0 << QByteArray("RC.IDX") << QStringList{kRow0Fields};
    QTest::newRow("group separators and blank lines")
        << "RC.IDX\r\n\r\n\r\n" + kRow0 + "\r\n\r\n\r\n" + kRow1 + "\r\n\r\n" << QByteArray("RC.IDX")
        << QStringList{kRow0Fields, kRow1Fields};
    QByteArray spread = kRow0 + ", " + kRow1;
    spread.replace(", ", "\r\n");
    QTest::newRow("one field per line") << "RC.IDX\r\n\r\n" + spread + "\r\n" << QByteArray("RC.IDX")
                                        << QStringList{kRow0Fields, kRow1Fields};
    QTest::newRow("rows split anywhere")
        << QByteArray("RC.IDX\r\n\r\n-, 0, -, RCIMG.000\r\n100, 20, 0, 0, PINP, CAR, 5, 1\r\n-, RCIMG.001, 200, 30, 7, 8, BTP, TRACK\r\n")
        << QByteArray("RC.IDX") << QStringList{kRow0Fields, kRow1Fields};
    QTest::newRow("LF and CR line ends") << "RC.IDX\n\r" + kRow0 + "\n" + kRow1 + "\r" << QByteArray("RC.IDX")
                                         << QStringList{kRow0Fields, kRow1Fields};
    QTest::newRow("second line not empty") << "RC.IDX\r\n" + kRow0 + "\r\n" << QByteArray("RC.IDX")
                                           << QStringList{kRow0Fields};
    QTest::newRow("first line: one field") << "  RC.IDX, 1, 2, 3\r\n\r\n" + kRow0 + "\r\n" << QByteArray("RC.IDX")
                                           << QStringList{kRow0Fields};
    QTest::newRow("stray fields ignored")
        << "RC.IDX\r\n\r\n" + kRow0 + "\r\n" + kRow1 + "\r\n-, 2, -, RCIMG.002, 9\r\n" << QByteArray("RC.IDX")
        << QStringList{kRow0Fields, kRow1Fields};
    QTest::newRow("empty field shifts the rest")
        << QByteArray("RC.IDX\r\n\r\n-, 0, , -, RCIMG.000, 100, 20, 0, 0, PINP, CAR\r\n") << QByteArray("RC.IDX")
        << QStringList{kRow0Fields};
    QTest::newRow("blank and tab fields dropped")
        << QByteArray("RC.IDX\r\n\r\n-, 0,   ,\t, -, RCIMG.000, 100, 20, 0, 0, PINP, CAR,\r\n") << QByteArray("RC.IDX")
        << QStringList{kRow0Fields};
    QTest::newRow("trailing blanks kept") << QByteArray("RC.IDX\r\n\r\n7 , 0, -, X, 1 , 2, 3, 4, T, D  \r\n")
                                          << QByteArray("RC.IDX") << QStringList{QStringLiteral("7 |0|-|X|1 |2|3|4|T|D  ")};
    QTest::newRow("quotes are plain") << QByteArray("\"RC.IDX\"\r\n\r\n\"a, b\", 1, 2, 3, 4, 5, 6, 7, 8, 9\r\n")
                                      << QByteArray("\"RC.IDX\"") << QStringList{QStringLiteral("\"a|b\"|1|2|3|4|5|6|7|8")};
}

void TestRcFormat::parseList()
{
    QFETCH(QByteArray, text);
    const RcList list = ParseRcList(text);
    QTEST(list.indexName, "indexName");
    QTEST(rowTexts(list.rows), "rows");
}

void TestRcFormat::redirect_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<int>("kind");
    QTest::addColumn<qint64>("row");
    const int own = int(RcRedirectKind::Own);
    const int row = int(RcRedirectKind::Row);
    const int invalid = int(RcRedirectKind::Invalid);
    QTest::newRow("dash") << QByteArray("-") << own << qint64(0);
    QTest::newRow("dash with blanks") << QByteArray("- ") << own << qint64(0);
    QTest::newRow("number") << QByteArray("88") << row << qint64(88);
    QTest::newRow("zero") << QByteArray("0") << row << qint64(0);
    QTest::newRow("leading zeros") << QByteArray("007") << row << qint64(7);
    QTest::newRow("trailing blank") << QByteArray("7 ") << row << qint64(7);
    QTest::newRow("plus") << QByteArray("+7") << row << qint64(7);
    QTest::newRow("negative") << QByteArray("-3") << row << qint64(-3);
    QTest::newRow("huge saturates") << QByteArray("99999999999999999999999") << row << qint64(4294967296);
    QTest::newRow("word") << QByteArray("abc") << invalid << qint64(0);
    QTest::newRow("number and text") << QByteArray("7a") << invalid << qint64(0);
    QTest::newRow("fraction") << QByteArray("5.0") << invalid << qint64(0);
    QTest::newRow("sign only") << QByteArray("+") << invalid << qint64(0);
    QTest::newRow("empty") << QByteArray() << invalid << qint64(0);
    QTest::newRow("inner blank") << QByteArray("1 2") << invalid << qint64(0);
}

void TestRcFormat::redirect()
{
    QFETCH(QByteArray, field);
    QFETCH(int, kind);
    const RcRedirect redirect = ParseRcRedirect(field);
    QCOMPARE(int(redirect.kind), kind);
    if (redirect.kind == RcRedirectKind::Row)
        QTEST(redirect.row, "row");
}

void TestRcFormat::value_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<bool>("fits");
    QTest::addColumn<quint32>("value");
    QTest::newRow("number") << QByteArray("4096") << true << 4096u;
    QTest::newRow("zero") << QByteArray("0") << true << 0u;
    QTest::newRow("leading zeros") << QByteArray("000123") << true << 123u;
    QTest::newRow("fraction dropped") << QByteArray("12.9") << true << 12u;
    QTest::newRow("fraction only") << QByteArray(".5") << true << 0u;
    QTest::newRow("trailing text") << QByteArray("12abc") << true << 12u;
    QTest::newRow("exponent is text") << QByteArray("1e3") << true << 1u;
    QTest::newRow("no number") << QByteArray("abc") << true << 0u;
    QTest::newRow("empty") << QByteArray() << true << 0u;
    QTest::newRow("plus") << QByteArray("+5") << true << 5u;
    QTest::newRow("minus zero") << QByteArray("-0") << true << 0u;
    QTest::newRow("largest") << QByteArray("4294967295") << true << 4294967295u;
    QTest::newRow("largest with fraction") << QByteArray("4294967295.99") << true << 4294967295u;
    QTest::newRow("one above") << QByteArray("4294967296") << false << 0u;
    QTest::newRow("far above") << QByteArray("123456789012345678901234567890") << false << 0u;
    QTest::newRow("negative") << QByteArray("-1") << false << 0u;
    QTest::newRow("negative fraction") << QByteArray("-0.5") << false << 0u;
}

void TestRcFormat::value()
{
    QFETCH(QByteArray, field);
    QFETCH(bool, fits);
    const std::optional<quint32> value = ParseRcValue(field);
    QCOMPARE(value.has_value(), fits);
    if (fits)
        QTEST(*value, "value");
}

QTEST_GUILESS_MAIN(TestRcFormat)
#include "tst_rc_format.moc"

// SPDX-License-Identifier: MIT
// Extraction of Rollcage index and image pairs: the list file line by line,
// the entry files byte by byte, the tweaks, and every way a run can end.
#include "RcTestFiles.h"
#include "RcTweakScript.h"

#include "rollcage/RcExtract.h"
#include "rollcage/RcTweakModel.h"

#include <QFile>
#include <QTest>

using namespace tobx;
using namespace tobx::test;

namespace {

constexpr qint64 kImageSize = 48 * 1024;

void expectDone(ScriptedMessageBox& box)
{
    box.expect(QString::fromLatin1(kProgramName), QStringLiteral("EXTRACT DONE ("));
}

// Every row with a record has its entry file holding that record's slice of
// the image, and there are no other entry files.
void verifyEntryFiles(const Harness& h, const QList<ExpectedRow>& rows, const QByteArray& image)
{
    QStringList expectedNames;
    for (const ExpectedRow& row : rows) {
        if (!row.record)
            continue;
        const QString name = QString::fromLatin1(row.fileName);
        expectedNames.append(name);
        QVERIFY2(h.read(QStringLiteral("dest/") + name) == sliceOf(image, *row.record), qPrintable(name));
    }
    expectedNames.sort();
    QCOMPARE(entryFilesIn(h.path(QStringLiteral("dest"))), expectedNames);
}

// The index after the records have been replaced at the given positions.
QByteArray patchedIndex(QList<RcSampleRecord>& records, const QHash<int, RcSampleRecord>& changes)
{
    for (auto it = changes.begin(); it != changes.end(); ++it)
        records[it.key()] = it.value();
    return samples::MakeRcIndex(records);
}

} // namespace

class TestRcExtract : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void wholeList_data();
    void wholeList();
    void semiFull_data();
    void semiFull();
    void semiFullLeavesOutRecordsBeyondItsRows();
    void tweaksOffMeansNoRedirect();
    void indexSizeRefused_data();
    void indexSizeRefused();
    void indexWithoutRecords_data();
    void indexWithoutRecords();
    void unalignedIndexReadsFromTheEnd();
    void listOnly_data();
    void listOnly();
    void largestIndexListOnly();
    void thousandEntriesWidenTheName();
    void missingImage();
    void imageFoundDespiteCase();
    void entriesPastTheImage();
    void imageShrinksDuringRun();
    void overwriteQuestions_data();
    void overwriteQuestions();
    void existingListReplacedWithoutAsking();
    void linkInDestinationRefused();
    void destinationMissing();
    void listReplacedOnlyAtTheEnd_data();
    void listReplacedOnlyAtTheEnd();
    void indexNameTheListCannotCarry();
};

void TestRcExtract::wholeList_data()
{
    QTest::addColumn<int>("entries");
    QTest::addColumn<QString>("tweaks");
    QTest::addColumn<QString>("redirects"); // rows checked exactly
    QTest::addColumn<int>("redirectCount"); // all rows with a redirect

    QTest::newRow("290 plain") << 290 << "" << "" << 0;
    QTest::newRow("135 plain") << 135 << "" << "" << 0;
    QTest::newRow("100 plain") << 100 << "" << "" << 0;
    QTest::newRow("135 tweaks on, none chosen") << 135 << "o4" << "" << 0;
    QTest::newRow("135 power surge") << 135 << "o4 c1" << "82:88 83:89 88:82 89:83" << 4;
    QTest::newRow("135 endzone") << 135 << "o4 c2 s2.3" << "80:94 81:95 94:80 95:81" << 4;
    QTest::newRow("135 full force and introduction")
        << 135 << "o4 c1 s1.2 c2" << "80:90 81:91 88:80 89:81 90:80 91:81" << 6;
    QTest::newRow("290 credits as loading") << 290 << "o3 c4" << "236:278 237:270 239:283 251:268 252:271" << 17;
    QTest::newRow("135 credits as loading") << 135 << "o3 c4" << "" << 0;
}

void TestRcExtract::wholeList()
{
    QFETCH(int, entries);
    QFETCH(QString, tweaks);
    QFETCH(QString, redirects);
    QFETCH(int, redirectCount);
    Harness h;
    const RcPairOnDisk pair = writeRcPair(h, entries, kImageSize, quint32(entries));
    setUpExtract(h, pair.indexPath);
    RcTweakModel model;
    playTweaks(model, tweaks);
    h.state.UseTweaks = model.isOpen();
    h.state.StartTime = 86399.5; // across midnight
    h.clock.now = 0.25;
    h.box.expect(QString::fromLatin1(kProgramName), QStringLiteral("EXTRACT DONE (0.750 seconds)"));

    QCOMPARE(ExtractRcArchive(h.state, model), Outcome::Done);
    TOBX_VERIFY_BOXES(h.box);
    QCOMPARE(h.box.shown.first().icon, MsgIcon::Information);

    QList<ExpectedRow> rows = plainRows(pair.records);
    const QStringList lines = h.state.lstSrcFiles[ExtractPane].texts();
    QCOMPARE(lines.size(), qsizetype(entries));
    // The listed rows have exactly these redirects; the others are only
    // counted, and all other columns are compared in full below.
    const QHash<int, QByteArray> expected = parseRedirects(redirects);
    int redirected = 0;
    for (int row = 0; row < entries; ++row) {
        rows[row].redirect = lines[row].section(QStringLiteral(", "), 0, 0).toLatin1();
        redirected += rows[row].redirect != "-" ? 1 : 0;
        if (expected.contains(row))
            QCOMPARE(rows[row].redirect, expected.value(row));
    }
    QCOMPARE(redirected, redirectCount);
    const QByteArray list = h.read(QStringLiteral("dest/RC.lst"));
    QCOMPARE(list, expectedListText("RC.IDX", rows));
    QCOMPARE(lines, toTexts(expectedLines(rows)));
    const int separators = entries == 290 ? 19 : entries == 135 ? 8 : 0;
    QCOMPARE(list.count("\r\n\r\n"), qsizetype(1 + separators));
    verifyEntryFiles(h, rows, pair.image);
}

void TestRcExtract::semiFull_data()
{
    QTest::addColumn<QString>("tweaks");
    QTest::addColumn<QString>("redirects");
    QTest::newRow("demo information loading") << "o4 c3" << "82:100 204:232 237:251 239:- 252:286 212:- 255:254";
    QTest::newRow("main loading") << "o4 c3 s3.2" << "82:100 237:239 239:- 250:239 252:286 231:-";
    QTest::newRow("credits as loading") << "o4 c3 c4" << "82:100 237:270 239:283 252:271 212:-";
}

// A demo index spread over the 290 full rows.
void TestRcExtract::semiFull()
{
    QFETCH(QString, tweaks);
    QFETCH(QString, redirects);
    Harness h;
    const RcPairOnDisk pair = writeRcPair(h, 135, kImageSize, 11);
    setUpExtract(h, pair.indexPath);
    RcTweakModel model;
    playTweaks(model, tweaks);
    h.state.UseTweaks = true;
    expectDone(h.box);

    QCOMPARE(ExtractRcArchive(h.state, model), Outcome::Done);
    TOBX_VERIFY_BOXES(h.box);

    QList<ExpectedRow> rows = semiFullRows(pair.records);
    const QList<QByteArray> written = h.read(QStringLiteral("dest/RC.lst")).split('\n');
    QCOMPARE(written.size(), 2 + 290 + 19 + 1);
    QStringList lines = h.state.lstSrcFiles[ExtractPane].texts();
    QCOMPARE(lines.size(), 290);
    // Column 0 is checked by rule below; the other columns exactly.
    for (int row = 0; row < 290; ++row) {
        const QByteArray redirect = lines[row].section(QStringLiteral(", "), 0, 0).toLatin1();
        const bool hasContent = rows[row].record.has_value();
        const bool loadingScreen = row >= 236 && row <= 252;
        if (hasContent && !(loadingScreen && tweaks.contains(QLatin1String("c4"))))
            QCOMPARE(redirect, QByteArray("-"));
        else if (row >= 212 && row <= 231)
            QCOMPARE(redirect, QByteArray("-"));
        else if (!hasContent) // shows demo content
            QVERIFY2(redirect != "-" && rows[redirect.toInt()].record.has_value(), qPrintable(lines[row]));
        rows[row].redirect = redirect;
    }
    const QHash<int, QByteArray> expected = parseRedirects(redirects);
    for (auto it = expected.begin(); it != expected.end(); ++it)
        QCOMPARE(rows[it.key()].redirect, it.value());
    QCOMPARE(lines, toTexts(expectedLines(rows)));
    QCOMPARE(h.read(QStringLiteral("dest/RC.lst")), expectedListText("RC.IDX", rows));
    QVERIFY(lines[92].startsWith(QStringLiteral("-, 92, from 82, RCIMG.092, ")));
    QVERIFY(lines[82].startsWith(QStringLiteral("100, 82, -, -, 0, 0, 0, 0, GFXM, ")));
    verifyEntryFiles(h, rows, pair.image);
    QCOMPARE(h.read(QStringLiteral("dest/RCIMG.092")), sliceOf(pair.image, pair.records[82]));
    QCOMPARE(entryFilesIn(h.path(QStringLiteral("dest"))).size(), 135);
}

// Records past 134 keep their position; those past row 289 have no row.
void TestRcExtract::semiFullLeavesOutRecordsBeyondItsRows()
{
    Harness h;
    const RcPairOnDisk pair = writeRcPair(h, 300, kImageSize, 5);
    setUpExtract(h, pair.indexPath);
    RcTweakModel model;
    playTweaks(model, QStringLiteral("o4 c3"));
    h.state.UseTweaks = true;
    h.state.CreateLstOnly = true;
    h.box.expect(QString::fromLatin1(kProgramName), QStringLiteral("10 index records"));

    QCOMPARE(ExtractRcArchive(h.state, model), Outcome::Done);
    TOBX_VERIFY_BOXES(h.box);
    QCOMPARE(h.box.shown.first().icon, MsgIcon::Information);
    const QStringList lines = h.state.lstSrcFiles[ExtractPane].texts();
    QCOMPARE(lines.size(), 290);
    // All but the redirect column; row 92 gets record 92 first, then record
    // 82, which is nearer the start, and row 289 likewise record 134.
    const QList<ExpectedRow> rows = semiFullRows(pair.records);
    for (int row = 0; row < 290; ++row)
        QCOMPARE(lines[row].section(QStringLiteral(", "), 1),
                 QString::fromLatin1(expectedLine(row, rows[row])).section(QStringLiteral(", "), 1));
    QVERIFY(lines[92].startsWith(QStringLiteral("-, 92, from 82, RCIMG.092, ")));
    QVERIFY(lines[289].startsWith(QStringLiteral("-, 289, from 134, RCIMG.289, ")));
    QVERIFY(lines[200].startsWith(QStringLiteral("80, 200, -, RCIMG.200, "))); // redirected, yet extracted
    QVERIFY(lines[200].contains(QStringLiteral(", %1, ").arg(pair.records[200].offset)));
}

// "Use Rc2 Tweaks" unticked: the dialog's choices count for nothing.
void TestRcExtract::tweaksOffMeansNoRedirect()
{
    Harness h;
    const RcPairOnDisk pair = writeRcPair(h, 135, kImageSize, 3);
    setUpExtract(h, pair.indexPath);
    RcTweakModel model;
    playTweaks(model, QStringLiteral("o4 c3"));
    h.state.UseTweaks = false;
    h.state.CreateLstOnly = true;
    QCOMPARE(ExtractRcArchive(h.state, model), Outcome::Done);
    TOBX_VERIFY_BOXES(h.box);
    QCOMPARE(h.read(QStringLiteral("dest/RC.lst")), expectedListText("RC.IDX", plainRows(pair.records)));
}

void TestRcExtract::indexSizeRefused_data()
{
    QTest::addColumn<int>("size"); // -1: no index file
    QTest::newRow("missing") << -1;
    QTest::newRow("empty") << 0;
    QTest::newRow("7 bytes") << 7;
    QTest::newRow("one byte over 1 MiB") << 1048577;
}

void TestRcExtract::indexSizeRefused()
{
    QFETCH(int, size);
    Harness h;
    const QString indexPath = size < 0 ? h.path(QStringLiteral("src/RC.IDX"))
                                       : h.write(QStringLiteral("src/RC.IDX"), QByteArray(size, '\0'));
    h.write(QStringLiteral("src/RC.img"), "GT20");
    setUpExtract(h, indexPath);
    h.box.expect(QStringLiteral("ERROR"), QStringLiteral("File not found or file is empty or file is too small or too big."));
    RcTweakModel model;
    QCOMPARE(ExtractRcArchive(h.state, model), Outcome::Stopped);
    TOBX_VERIFY_BOXES(h.box);
    QCOMPARE(h.box.shown.first().icon, MsgIcon::Critical);
    QVERIFY(QDir(h.path(QStringLiteral("dest"))).isEmpty());
    QCOMPARE(h.state.lstSrcFiles[ExtractPane].size(), 0);
}

void TestRcExtract::indexWithoutRecords_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("semiFull");
    QTest::newRow("8 bytes") << 8 << false;
    QTest::newRow("15 bytes") << 15 << false;
    QTest::newRow("15 bytes, semi full") << 15 << true;
}

void TestRcExtract::indexWithoutRecords()
{
    QFETCH(int, size);
    QFETCH(bool, semiFull);
    Harness h;
    const QString indexPath = h.write(QStringLiteral("src/RC.IDX"), QByteArray(size, '\xEE'));
    h.write(QStringLiteral("src/RC.img"), "GT20");
    setUpExtract(h, indexPath);
    RcTweakModel model;
    if (semiFull)
        playTweaks(model, QStringLiteral("o4 c3"));
    h.state.UseTweaks = semiFull;
    expectDone(h.box);
    QCOMPARE(ExtractRcArchive(h.state, model), Outcome::Done);
    TOBX_VERIFY_BOXES(h.box);
    QCOMPARE(h.state.lstSrcFiles[ExtractPane].size(), semiFull ? 290 : 0);
    if (!semiFull)
        QCOMPARE(h.read(QStringLiteral("dest/RC.lst")), QByteArray("RC.IDX\r\n\r\n"));
    QCOMPARE(entryFilesIn(h.path(QStringLiteral("dest"))), QStringList());
}

void TestRcExtract::unalignedIndexReadsFromTheEnd()
{
    Harness h;
    RcPairOnDisk pair = writeRcPair(h, 290, kImageSize, 8);
    h.write(QStringLiteral("src/RC.IDX"), QByteArray(10, '\x7F') + pair.index);
    setUpExtract(h, pair.indexPath);
    expectDone(h.box);
    RcTweakModel model;
    QCOMPARE(ExtractRcArchive(h.state, model), Outcome::Done);
    TOBX_VERIFY_BOXES(h.box);
    QCOMPARE(h.read(QStringLiteral("dest/RC.lst")), expectedListText("RC.IDX", plainRows(pair.records)));
    verifyEntryFiles(h, plainRows(pair.records), pair.image);
}

void TestRcExtract::listOnly_data()
{
    QTest::addColumn<bool>("imagePresent");
    QTest::newRow("with image") << true;
    QTest::newRow("without image") << false;
}

// The list and the result lines are complete; no entry file, no message.
void TestRcExtract::listOnly()
{
    QFETCH(bool, imagePresent);
    Harness h;
    const RcPairOnDisk pair = writeRcPair(h, 290, kImageSize, 2);
    if (!imagePresent)
        QFile::remove(h.path(QStringLiteral("src/RC.img")));
    setUpExtract(h, pair.indexPath);
    h.state.CreateLstOnly = true;
    RcTweakModel model;
    QCOMPARE(ExtractRcArchive(h.state, model), Outcome::Done);
    TOBX_VERIFY_BOXES(h.box);
    QCOMPARE(h.read(QStringLiteral("dest/RC.lst")), expectedListText("RC.IDX", plainRows(pair.records)));
    QCOMPARE(h.state.lstSrcFiles[ExtractPane].size(), 290);
    QCOMPARE(entryFilesIn(h.path(QStringLiteral("dest"))), QStringList());
}

void TestRcExtract::largestIndexListOnly()
{
    Harness h;
    const RcPairOnDisk pair = writeRcPair(h, 65536, kImageSize, 4);
    QCOMPARE(pair.index.size(), 1048576);
    setUpExtract(h, pair.indexPath);
    h.state.CreateLstOnly = true;
    RcTweakModel model;
    QCOMPARE(ExtractRcArchive(h.state, model), Outcome::Done);
    TOBX_VERIFY_BOXES(h.box);
    const QStringList lines = h.state.lstSrcFiles[ExtractPane].texts();
    QCOMPARE(lines.size(), 65536);
    QCOMPARE(lines.last().toLatin1(), expectedLine(65535, plainRows(pair.records).last()));
    QVERIFY(lines.last().startsWith(QStringLiteral("-, 65535, -, RCIMG.65535, ")));
}

void TestRcExtract::thousandEntriesWidenTheName()
{
    Harness h;
    const RcPairOnDisk pair = writeRcPair(h, 1002, 256 * 1024, 6);
    setUpExtract(h, pair.indexPath);
    expectDone(h.box);
    RcTweakModel model;
    QCOMPARE(ExtractRcArchive(h.state, model), Outcome::Done);
    TOBX_VERIFY_BOXES(h.box);
    const QList<ExpectedRow> rows = plainRows(pair.records);
    QCOMPARE(h.read(QStringLiteral("dest/RC.lst")), expectedListText("RC.IDX", rows));
    QVERIFY(h.state.lstSrcFiles[ExtractPane].texts().at(1000).startsWith(QStringLiteral("-, 1000, -, RCIMG.1000, ")));
    verifyEntryFiles(h, rows, pair.image);
    QVERIFY(h.exists(QStringLiteral("dest/RCIMG.999")));
    QVERIFY(h.exists(QStringLiteral("dest/RCIMG.1001")));
}

// The run stops before any entry: no entry file, and the list does not take
// its name, since the run did not reach its end.
void TestRcExtract::missingImage()
{
    Harness h;
    const RcPairOnDisk pair = writeRcPair(h, 135, kImageSize, 2);
    QFile::remove(h.path(QStringLiteral("src/RC.img")));
    setUpExtract(h, pair.indexPath);
    h.box.expect(QStringLiteral("ERROR"), QStringLiteral("RC.img"));
    RcTweakModel model;
    QCOMPARE(ExtractRcArchive(h.state, model), Outcome::Stopped);
    TOBX_VERIFY_BOXES(h.box);
    QCOMPARE(h.box.shown.first().icon, MsgIcon::Critical);
    QVERIFY(!h.exists(QStringLiteral("dest/RC.lst")));
    QCOMPARE(QDir(h.path(QStringLiteral("dest"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList());
}

void TestRcExtract::imageFoundDespiteCase()
{
    Harness h;
    const RcPairOnDisk pair = writeRcPair(h, 100, kImageSize, 9);
    QVERIFY(QFile::rename(h.path(QStringLiteral("src/RC.img")), h.path(QStringLiteral("src/RC.IMG"))));
    setUpExtract(h, pair.indexPath);
    expectDone(h.box);
    RcTweakModel model;
    QCOMPARE(ExtractRcArchive(h.state, model), Outcome::Done);
    TOBX_VERIFY_BOXES(h.box);
    verifyEntryFiles(h, plainRows(pair.records), pair.image);
}

// No truncated file: the entries that do not fit are named in one box.
void TestRcExtract::entriesPastTheImage()
{
    Harness h;
    RcPairOnDisk pair = writeRcPair(h, 20, kImageSize, 12);
    const quint32 size = quint32(kImageSize);
    const QHash<int, RcSampleRecord> changes{
        {3, {size - 10, 11, 0, 0}},           // one byte too many
        {7, {0xFFFFFFF0u, 0x20u, 0, 0}},      // offset and length wrap in 32 bits
        {9, {size, 0, 1, 2}},                 // empty at the very end: fine
        {12, {size - 16, 16, 3, 4}},          // the last bytes: fine
        {15, {size + 1, 0, 0, 0}},            // empty, but past the end
    };
    h.write(QStringLiteral("src/RC.IDX"), patchedIndex(pair.records, changes));
    setUpExtract(h, pair.indexPath);
    h.box.expect(QString::fromLatin1(kProgramName), QStringLiteral("RCIMG.003, RCIMG.007, RCIMG.015"));
    expectDone(h.box);
    RcTweakModel model;
    QCOMPARE(ExtractRcArchive(h.state, model), Outcome::Done);
    TOBX_VERIFY_BOXES(h.box);
    QCOMPARE(h.box.shown.first().icon, MsgIcon::Exclamation);
    QList<ExpectedRow> rows = plainRows(pair.records);
    QCOMPARE(h.read(QStringLiteral("dest/RC.lst")), expectedListText("RC.IDX", rows));
    for (int skipped : {3, 7, 15})
        rows[skipped].record.reset();
    verifyEntryFiles(h, rows, pair.image);
    QCOMPARE(h.read(QStringLiteral("dest/RCIMG.012")), pair.image.right(16));
    QVERIFY(h.exists(QStringLiteral("dest/RCIMG.009")));
}

// The image becomes shorter while the user answers a question: the entry it
// ends in and those after it join the entries past the end of the image (no
// half-written file, no signal), and the run goes on to its end.
void TestRcExtract::imageShrinksDuringRun()
{
    Harness h;
    ActingBox box;
    AppState state(box, h.clock);
    constexpr quint32 MiB = 1 << 20;
    RcPairOnDisk pair = writeRcPair(h, 5, 8 * MiB, 21);
    const QHash<int, RcSampleRecord> changes{
        {0, {0, 1000, 0, 0}},
        {1, {1000, 5000, 0, 0}},
        {2, {2 * MiB, 2 * MiB, 0, 0}},
        {3, {4 * MiB, 2 * MiB, 0, 0}}, // the cut falls inside it
        {4, {7 * MiB, 100, 0, 0}},     // wholly past the cut
    };
    h.write(QStringLiteral("src/RC.IDX"), patchedIndex(pair.records, changes));
    QDir().mkpath(h.path(QStringLiteral("dest")));
    SetDstFolder(state, ExtractPane, h.path(QStringLiteral("dest")));
    SelectSourceFile(state, ExtractPane, pair.indexPath, QStringLiteral("RC.IDX"));
    h.write(QStringLiteral("dest/RCIMG.001"), "old one");
    box.actOnTitle = QStringLiteral("File Exist");
    box.action = [&] { QVERIFY(QFile::resize(samples::RcSampleImagePath(pair.indexPath), 5 * MiB)); };
    box.script.expect(QStringLiteral("File Exist"), QStringLiteral("File: RCIMG.001 exist."), MsgResult::Yes);
    box.script.expect(QString::fromLatin1(kProgramName), QStringLiteral("RCIMG.003, RCIMG.004"));
    expectDone(box.script);
    RcTweakModel model;
    QCOMPARE(ExtractRcArchive(state, model), Outcome::Done);
    TOBX_VERIFY_BOXES(box.script);
    QVERIFY(box.script.shown.at(1).text.startsWith(QStringLiteral("These entries reach past the end of the image file")));
    for (int k : {0, 1, 2})
        QVERIFY(h.read(QStringLiteral("dest/RCIMG.00%1").arg(k)) == sliceOf(pair.image, pair.records[k]));
    QVERIFY(!h.exists(QStringLiteral("dest/RCIMG.003")));
    QVERIFY(!h.exists(QStringLiteral("dest/RCIMG.004")));
}

void TestRcExtract::overwriteQuestions_data()
{
    QTest::addColumn<int>("first");  // answer for RCIMG.001
    QTest::addColumn<int>("second"); // answer for RCIMG.004, or -1 when not asked
    QTest::addColumn<int>("outcome");
    const int yes = int(MsgResult::Yes), no = int(MsgResult::No), cancel = int(MsgResult::Cancel);
    QTest::newRow("yes, yes") << yes << yes << int(Outcome::Done);
    QTest::newRow("no, no") << no << no << int(Outcome::Done);
    QTest::newRow("yes, cancel") << yes << cancel << int(Outcome::Cancelled);
    QTest::newRow("cancel") << cancel << -1 << int(Outcome::Cancelled);
}

void TestRcExtract::overwriteQuestions()
{
    QFETCH(int, first);
    QFETCH(int, second);
    QFETCH(int, outcome);
    Harness h;
    const RcPairOnDisk pair = writeRcPair(h, 10, kImageSize, 13);
    h.write(QStringLiteral("dest/RCIMG.001"), "old one");
    h.write(QStringLiteral("dest/RCIMG.004"), QByteArray()); // empty counts as existing
    setUpExtract(h, pair.indexPath);
    h.box.expect(QStringLiteral("File Exist"), QStringLiteral("File: RCIMG.001 exist.\nDo you want to overwrite?"),
                 MsgResult(first));
    if (second >= 0)
        h.box.expect(QStringLiteral("File Exist"), QStringLiteral("File: RCIMG.004 exist."), MsgResult(second));
    if (outcome == int(Outcome::Done))
        expectDone(h.box);
    RcTweakModel model;
    QCOMPARE(int(ExtractRcArchive(h.state, model)), outcome);
    TOBX_VERIFY_BOXES(h.box);
    const Message& question = h.box.shown.first();
    QCOMPARE(question.icon, MsgIcon::Question);
    QCOMPARE(question.buttons, MsgButtons::YesNoCancelToAll);
    QCOMPARE(question.defaultButton, MsgResult::No);

    const auto slice = [&](int k) { return sliceOf(pair.image, pair.records[k]); };
    QCOMPARE(h.read(QStringLiteral("dest/RCIMG.000")), slice(0)); // written before any question
    QCOMPARE(h.read(QStringLiteral("dest/RCIMG.001")), first == int(MsgResult::Yes) ? slice(1) : QByteArray("old one"));
    QCOMPARE(h.read(QStringLiteral("dest/RCIMG.004")), second == int(MsgResult::Yes) ? slice(4) : QByteArray());
    QCOMPARE(h.exists(QStringLiteral("dest/RCIMG.002")), first != int(MsgResult::Cancel));
    QCOMPARE(h.exists(QStringLiteral("dest/RCIMG.005")), outcome == int(Outcome::Done));
    QCOMPARE(h.state.lstSrcFiles[ExtractPane].size(), 10);
}

void TestRcExtract::existingListReplacedWithoutAsking()
{
    Harness h;
    const RcPairOnDisk pair = writeRcPair(h, 3, kImageSize, 1);
    h.write(QStringLiteral("dest/RC.lst"), QByteArray(100000, 'x'));
    setUpExtract(h, pair.indexPath);
    h.state.CreateLstOnly = true;
    RcTweakModel model;
    QCOMPARE(ExtractRcArchive(h.state, model), Outcome::Done);
    TOBX_VERIFY_BOXES(h.box);
    QCOMPARE(h.read(QStringLiteral("dest/RC.lst")), expectedListText("RC.IDX", plainRows(pair.records)));
}

// An entry file that is a link could carry the write out of the folder.
void TestRcExtract::linkInDestinationRefused()
{
    Harness h;
    const RcPairOnDisk pair = writeRcPair(h, 5, kImageSize, 1);
    const QString outside = h.write(QStringLiteral("outside.bin"), "keep me");
    QDir().mkpath(h.path(QStringLiteral("dest")));
    QVERIFY(QFile::link(outside, h.path(QStringLiteral("dest/RCIMG.002"))));
    setUpExtract(h, pair.indexPath);
    h.box.expect(QStringLiteral("ERROR"), QStringLiteral("RCIMG.002"));
    RcTweakModel model;
    QCOMPARE(ExtractRcArchive(h.state, model), Outcome::Stopped);
    TOBX_VERIFY_BOXES(h.box);
    QCOMPARE(h.read(QStringLiteral("outside.bin")), QByteArray("keep me"));
    QVERIFY(!h.exists(QStringLiteral("dest/RCIMG.003")));
}

void TestRcExtract::destinationMissing()
{
    Harness h;
    const RcPairOnDisk pair = writeRcPair(h, 5, kImageSize, 1);
    setUpExtract(h, pair.indexPath);
    SetDstFolder(h.state, ExtractPane, h.path(QStringLiteral("nowhere")));
    h.box.expect(QStringLiteral("ERROR"), QStringLiteral("RC.lst"));
    RcTweakModel model;
    QCOMPARE(ExtractRcArchive(h.state, model), Outcome::Stopped);
    TOBX_VERIFY_BOXES(h.box);
    QCOMPARE(h.box.shown.first().icon, MsgIcon::Critical);
    QVERIFY(!h.exists(QStringLiteral("nowhere")));
}

// The list takes its name only when the run reaches its end: a cancel or a
// failure leaves an old list byte for byte and no list where none was, and no
// temporary file either.
void TestRcExtract::listReplacedOnlyAtTheEnd_data()
{
    QTest::addColumn<QByteArray>("oldList"); // null: none
    QTest::addColumn<QString>("ending");     // "done", "cancel" or "error"
    const QByteArray old = "RC.IDX\r\n\r\n-, 0, -, RCIMG.000, 1, 2, 3, 4, hand, edited\r\n";
    for (const QByteArray& oldList : {old, QByteArray()}) {
        for (const char* ending : {"done", "cancel", "error"})
            QTest::addRow("%s, %s", oldList.isNull() ? "no old list" : "old list", ending) << oldList << QString::fromLatin1(ending);
    }
}

void TestRcExtract::listReplacedOnlyAtTheEnd()
{
    QFETCH(QByteArray, oldList);
    QFETCH(QString, ending);
    Harness h;
    const RcPairOnDisk pair = writeRcPair(h, 5, kImageSize, 4);
    QDir().mkpath(h.path(QStringLiteral("dest")));
    if (!oldList.isNull())
        h.write(QStringLiteral("dest/RC.lst"), oldList);
    h.write(QStringLiteral("dest/RCIMG.001"), "old one");
    QStringList expected{QStringLiteral("RCIMG.000"), QStringLiteral("RCIMG.001")};
    if (ending == QLatin1String("error")) {
        // A link where an entry goes stops the run.
        QVERIFY(QFile::link(h.path(QStringLiteral("dest/RCIMG.000")), h.path(QStringLiteral("dest/RCIMG.003"))));
        expected << QStringLiteral("RCIMG.002") << QStringLiteral("RCIMG.003");
    }
    setUpExtract(h, pair.indexPath);
    h.box.expect(QStringLiteral("File Exist"), QStringLiteral("File: RCIMG.001 exist."),
                 ending == QLatin1String("cancel") ? MsgResult::Cancel : MsgResult::No);
    if (ending == QLatin1String("error"))
        h.box.expect(QStringLiteral("ERROR"), QStringLiteral("RCIMG.003"));
    if (ending == QLatin1String("done"))
        expectDone(h.box);
    RcTweakModel model;
    ExtractRcArchive(h.state, model);
    TOBX_VERIFY_BOXES(h.box);

    if (ending == QLatin1String("done")) {
        QCOMPARE(h.read(QStringLiteral("dest/RC.lst")), expectedListText("RC.IDX", plainRows(pair.records)));
        expected << QStringLiteral("RC.lst") << QStringLiteral("RCIMG.002") << QStringLiteral("RCIMG.003")
                 << QStringLiteral("RCIMG.004");
    } else if (!oldList.isNull()) {
        QCOMPARE(h.read(QStringLiteral("dest/RC.lst")), oldList);
        expected << QStringLiteral("RC.lst");
    }
    expected.sort();
    QCOMPARE(QDir(h.path(QStringLiteral("dest"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name),
             expected);
}

// The list's first line names the index for a later build; Windows-1252 has
// no letters for this name, so nothing is written.
void TestRcExtract::indexNameTheListCannotCarry()
{
    Harness h;
    const RcPairOnDisk pair = writeRcPair(h, 5, kImageSize, 4, QString::fromUtf8("src/日本.IDX"));
    setUpExtract(h, pair.indexPath);
    h.box.expect(QStringLiteral("ERROR"), QString::fromUtf8("The index's name cannot be written into the list file: 日本.IDX\n"
                                                            "A list file holds names in Windows-1252, which has no character for \"日本\"."));
    RcTweakModel model;
    QCOMPARE(ExtractRcArchive(h.state, model), Outcome::Stopped);
    TOBX_VERIFY_BOXES(h.box);
    QCOMPARE(QDir(h.path(QStringLiteral("dest"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
}

QTEST_GUILESS_MAIN(TestRcExtract)
#include "tst_rc_extract.moc"

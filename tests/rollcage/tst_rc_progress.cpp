// SPDX-License-Identifier: MIT
// Rollcage extraction and index build over many entries: answers for all,
// the user's cancel at an entry boundary, and the progress they report.

#include "RcTestFiles.h"
#include "TestSupport.h"
#include "rollcage/RcBuild.h"
#include "rollcage/RcExtract.h"
#include "rollcage/RcTweakModel.h"

#include <QTest>

using namespace tobx;
using namespace tobx::test;

Q_DECLARE_METATYPE(tobx::MsgResult)

namespace {

constexpr int kEntries = 8;
constexpr qint64 kImageSize = 32 * 1024;

QString entryFile(int i)
{
    return QStringLiteral("dest/RCIMG.%1").arg(i, 3, 10, QLatin1Char('0'));
}

QByteArray entryBytes(const RcPairOnDisk& pair, int i)
{
    const RcSampleRecord& r = pair.records[i];
    return pair.image.mid(r.offset, r.length);
}

} // namespace

class RcProgressTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void answersForAll_data();
    void answersForAll();
    void extractionCancelled_data();
    void extractionCancelled();
    void extractionProgress();
    void buildCancelled();
};

void RcProgressTest::answersForAll_data()
{
    QTest::addColumn<QList<MsgResult>>("pressed");
    QTest::addColumn<QString>("replaced"); // per entry: r replaced, k kept
    using R = MsgResult;
    QTest::newRow("yes to all asks once") << QList<R>{R::YesToAll} << "rrrrrrrr";
    QTest::newRow("no to all asks once") << QList<R>{R::NoToAll} << "kkkkkkkk";
    QTest::newRow("yes, then no to all") << QList<R>{R::Yes, R::NoToAll} << "rkkkkkkk";
}

void RcProgressTest::answersForAll()
{
    QFETCH(QList<MsgResult>, pressed);
    QFETCH(QString, replaced);
    Harness h;
    const RcPairOnDisk pair = writeRcPair(h, kEntries, kImageSize, 5);
    setUpExtract(h, pair.indexPath);
    for (int i = 0; i < kEntries; ++i)
        h.write(entryFile(i), "old");
    for (const MsgResult button : pressed)
        h.box.expect(QStringLiteral("File Exist"), QStringLiteral(" exist.\nDo you want to overwrite?"), button);
    h.box.expect(QString::fromLatin1(kProgramName), QStringLiteral("EXTRACT DONE ("));
    RcTweakModel tweaks;
    QCOMPARE(ExtractRcArchive(h.state, tweaks), Outcome::Done);
    TOBX_VERIFY_BOXES(h.box);
    QCOMPARE(h.box.shown.first().buttons, MsgButtons::YesNoCancelToAll);
    QCOMPARE(h.box.shown.first().defaultButton, MsgResult::No);
    for (int i = 0; i < kEntries; ++i)
        QCOMPARE(h.read(entryFile(i)), replaced.at(i) == QLatin1Char('r') ? entryBytes(pair, i) : QByteArray("old"));
}

void RcProgressTest::extractionCancelled_data()
{
    QTest::addColumn<int>("after");
    QTest::newRow("before the first entry") << 0;
    QTest::newRow("after three entries") << 3;
}

void RcProgressTest::extractionCancelled()
{
    QFETCH(int, after);
    Harness h;
    const RcPairOnDisk pair = writeRcPair(h, kEntries, kImageSize, 6);
    setUpExtract(h, pair.indexPath);
    CancelAfter cancel(after);
    h.state.progress.attach(nullptr, &cancel);
    RcTweakModel tweaks;
    QCOMPARE(ExtractRcArchive(h.state, tweaks), Outcome::Cancelled);
    TOBX_VERIFY_BOXES(h.box); // no DONE message
    for (int i = 0; i < kEntries; ++i) {
        QCOMPARE(h.exists(entryFile(i)), i < after);
        if (i < after)
            QCOMPARE(h.read(entryFile(i)), entryBytes(pair, i));
    }
    // As after Cancel at an overwrite question: no list is left where there
    // was none.
    QVERIFY(!h.exists("dest/RC.lst"));
}

void RcProgressTest::extractionProgress()
{
    Harness h;
    const RcPairOnDisk pair = writeRcPair(h, kEntries, kImageSize, 7);
    setUpExtract(h, pair.indexPath);
    RecordingProgressSink sink;
    h.state.progress.attach(&sink, nullptr);
    h.box.expect(QString::fromLatin1(kProgramName), QStringLiteral("EXTRACT DONE ("));
    RcTweakModel tweaks;
    QCOMPARE(ExtractRcArchive(h.state, tweaks), Outcome::Done);
    TOBX_VERIFY_BOXES(h.box);
    qint64 bytes = 0;
    for (const RcSampleRecord& record : pair.records)
        bytes += record.length;
    QCOMPARE(sink.reports.first().entriesTotal, kEntries);
    QCOMPARE(sink.reports.first().bytesTotal, bytes);
    QCOMPARE(sink.reports.last().entriesDone, kEntries);
    QCOMPARE(sink.reports.last().bytesDone, bytes);
}

void RcProgressTest::buildCancelled()
{
    Harness h;
    const RcPairOnDisk pair = writeRcPair(h, kEntries, kImageSize, 8);
    setUpExtract(h, pair.indexPath);
    h.box.expect(QString::fromLatin1(kProgramName), QStringLiteral("EXTRACT DONE ("));
    RcTweakModel tweaks;
    QCOMPARE(ExtractRcArchive(h.state, tweaks), Outcome::Done);
    h.box.reset();

    setUpBuild(h, h.path("dest/RC.lst"), QStringLiteral("src"));
    RefreshBuildPane(h.state);
    h.write("src/RC.IDX", "the old index");
    h.box.expect(QStringLiteral("File already exist"), QStringLiteral("RC.IDX already exist"), MsgResult::Yes);
    CancelAfter cancel(0);
    h.state.progress.attach(nullptr, &cancel);
    QCOMPARE(BuildRcIndex(h.state), Outcome::Cancelled);
    TOBX_VERIFY_BOXES(h.box);
    QCOMPARE(h.read("src/RC.IDX"), QByteArray("the old index"));
}

QTEST_GUILESS_MAIN(RcProgressTest)
#include "tst_rc_progress.moc"

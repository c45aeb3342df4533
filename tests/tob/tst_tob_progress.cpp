// SPDX-License-Identifier: MIT
// Tobrava II extraction and build over many entries: answers for all, the
// user's cancel at an entry boundary, and the progress they report.

#include "Samples.h"
#include "TestSupport.h"
#include "TobFixtures.h"
#include "core/Names.h"
#include "tob/TobBuild.h"
#include "tob/TobExtract.h"

#include <QTest>

using namespace tobx;
using namespace tobx::test;
using tobx::samples::MakeTobArchive;
using tobx::samples::MakeTobList;
using tobx::samples::TobEntry;

Q_DECLARE_METATYPE(tobx::MsgResult)

namespace {

const QString kProgram = QStringLiteral("TobExtractor");
constexpr int kEntries = 6;

QList<TobEntry> entries()
{
    QList<TobEntry> list;
    for (int i = 0; i < kEntries; ++i)
        list.append({"sub\\e" + QByteArray::number(i) + ".bin", QByteArray(100 * (i + 1), char('a' + i))});
    return list;
}

QByteArray oldContent(int i)
{
    return "old " + QByteArray::number(i);
}

// The entries as files below mod/, where the list of a build names them.
QList<QByteArray> writeSources(const Harness& h)
{
    QList<QByteArray> names;
    for (const TobEntry& entry : entries()) {
        h.write(QStringLiteral("mod/") + NameToPath(entry.name), entry.content);
        names.append(entry.name);
    }
    return names;
}

} // namespace

class TobProgressTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void answersForAll_data();
    void answersForAll();
    void extractionCancelled_data();
    void extractionCancelled();
    void extractionProgress_data();
    void extractionProgress();
    void buildCancelled_data();
    void buildCancelled();
    void buildProgress();
};

void TobProgressTest::answersForAll_data()
{
    QTest::addColumn<QList<MsgResult>>("pressed"); // one box each
    QTest::addColumn<QString>("replaced");         // per entry: r replaced, k kept
    using R = MsgResult;
    QTest::newRow("yes to all asks once") << QList<R>{R::YesToAll} << "rrrrrr";
    QTest::newRow("no to all asks once") << QList<R>{R::NoToAll} << "kkkkkk";
    QTest::newRow("yes, no, then no to all") << QList<R>{R::Yes, R::No, R::NoToAll} << "rkkkkk";
    QTest::newRow("no, then yes to all") << QList<R>{R::No, R::YesToAll} << "krrrrr";
}

void TobProgressTest::answersForAll()
{
    QFETCH(QList<MsgResult>, pressed);
    QFETCH(QString, replaced);
    Harness h;
    const QList<TobEntry> all = entries();
    PrepareExtraction(h, MakeTobArchive(all));
    for (int i = 0; i < kEntries; ++i)
        h.write(QStringLiteral("out/sub/e%1.bin").arg(i), oldContent(i));
    for (const MsgResult button : pressed)
        h.box.expect(QStringLiteral("File Exist"), QStringLiteral(" exist.\nDo you want to overwrite?"), button);
    h.box.expect(kProgram, QStringLiteral("EXTRACT DONE ("));
    QCOMPARE(ExtractTobArchive(h.state), Outcome::Done);
    TOBX_VERIFY_BOXES(h.box);
    const Message& question = h.box.shown.first();
    QCOMPARE(question.buttons, MsgButtons::YesNoCancelToAll);
    QCOMPARE(question.defaultButton, MsgResult::No);
    for (int i = 0; i < kEntries; ++i) {
        const QByteArray expected = replaced.at(i) == QLatin1Char('r') ? all[i].content : oldContent(i);
        QCOMPARE(h.read(QStringLiteral("out/sub/e%1.bin").arg(i)), expected);
    }

    // The answer held for that run only: the next one asks again.
    h.box.reset();
    h.box.expect(QStringLiteral("File Exist"), QStringLiteral("File: sub\\e0.bin exist."), MsgResult::Cancel);
    QCOMPARE(ExtractTobArchive(h.state), Outcome::Cancelled);
    TOBX_VERIFY_BOXES(h.box);
}

void TobProgressTest::extractionCancelled_data()
{
    QTest::addColumn<int>("after"); // entry boundaries passed before the cancel
    QTest::addColumn<QByteArray>("oldList"); // null: none there before
    QTest::newRow("before the first entry") << 0 << QByteArray();
    QTest::newRow("after two entries") << 2 << QByteArray();
    QTest::newRow("before the last entry") << kEntries - 1 << QByteArray();
    QTest::newRow("after two entries, a hand-edited list there")
        << 2 << QByteArray("data.tob\r\n\r\nsub\\e0.bin\r\n; my notes\r\n");
}

void TobProgressTest::extractionCancelled()
{
    QFETCH(int, after);
    QFETCH(QByteArray, oldList);
    Harness h;
    const QList<TobEntry> all = entries();
    PrepareExtraction(h, MakeTobArchive(all));
    if (!oldList.isNull())
        h.write("out/data.lst", oldList);
    CancelAfter cancel(after); // boundary `after` is the one that stops
    h.state.progress.attach(nullptr, &cancel);
    QCOMPARE(ExtractTobArchive(h.state), Outcome::Cancelled);
    TOBX_VERIFY_BOXES(h.box); // no DONE message, nothing else
    for (int i = 0; i < kEntries; ++i) {
        const QString path = QStringLiteral("out/sub/e%1.bin").arg(i);
        QCOMPARE(h.exists(path), i < after);
        if (i < after)
            QCOMPARE(h.read(path), all[i].content);
    }
    // The list that was there stays byte for byte; none is left where there
    // was none.
    QCOMPARE(h.exists("out/data.lst"), !oldList.isNull());
    if (!oldList.isNull())
        QCOMPARE(h.read("out/data.lst"), oldList);
}

void TobProgressTest::extractionProgress_data()
{
    QTest::addColumn<bool>("listOnly");
    QTest::newRow("entries and bytes") << false;
    QTest::newRow("list only writes no bytes") << true;
}

void TobProgressTest::extractionProgress()
{
    QFETCH(bool, listOnly);
    Harness h;
    const QList<TobEntry> all = entries();
    PrepareExtraction(h, MakeTobArchive(all));
    h.state.CreateLstOnly = listOnly;
    RecordingProgressSink sink;
    h.state.progress.attach(&sink, nullptr);
    h.box.expect(kProgram, QStringLiteral("EXTRACT DONE ("));
    QCOMPARE(ExtractTobArchive(h.state), Outcome::Done);
    TOBX_VERIFY_BOXES(h.box);
    qint64 bytes = 0;
    for (const TobEntry& entry : all)
        bytes += entry.content.size();
    QVERIFY(sink.reports.size() >= 2);
    const qint64 bytesTotal = listOnly ? 0 : bytes;
    QCOMPARE(sink.reports.first().entriesTotal, kEntries);
    QCOMPARE(sink.reports.first().bytesTotal, bytesTotal);
    QCOMPARE(sink.reports.first().entriesDone, 0);
    QCOMPARE(sink.reports.last().entriesDone, kEntries);
    QCOMPARE(sink.reports.last().bytesDone, bytesTotal);
}

void TobProgressTest::buildCancelled_data()
{
    QTest::addColumn<int>("after");
    QTest::addColumn<bool>("move");
    QTest::newRow("before the first entry") << 0 << false;
    QTest::newRow("after three entries, moving") << 3 << true;
    QTest::newRow("before the last entry, moving") << kEntries - 1 << true;
}

void TobProgressTest::buildCancelled()
{
    QFETCH(int, after);
    QFETCH(bool, move);
    Harness h;
    QList<QByteArray> names = writeSources(h);
    PrepareBuild(h.state, h, MakeTobList("data.tob", names));
    h.write("outdir/data.tob", "the old archive");
    h.state.MoveFiles = move;
    const QStringList before = EntriesBelow(h.path(QString()));
    h.box.expect(QStringLiteral("File already exist"), QStringLiteral("data.tob already exist"), MsgResult::Yes);
    CancelAfter cancel(after);
    h.state.progress.attach(nullptr, &cancel);
    QCOMPARE(BuildTobArchive(h.state), Outcome::Cancelled);
    TOBX_VERIFY_BOXES(h.box);
    QCOMPARE(h.read("outdir/data.tob"), QByteArray("the old archive"));
    // No temporary archive left, no source moved.
    QCOMPARE(EntriesBelow(h.path(QString())), before);
}

void TobProgressTest::buildProgress()
{
    Harness h;
    QList<QByteArray> names = writeSources(h);
    qint64 bytes = 0;
    for (const TobEntry& entry : entries())
        bytes += entry.content.size();
    names.append("missing.bin"); // an entry boundary too, without bytes
    PrepareBuild(h.state, h, MakeTobList("data.tob", names));
    RecordingProgressSink sink;
    h.state.progress.attach(&sink, nullptr);
    h.box.expect(QStringLiteral("Skip"), QStringLiteral("missing.bin"));
    h.box.expect(kProgram, QStringLiteral("BUILD DONE ("));
    QCOMPARE(BuildTobArchive(h.state), Outcome::Done);
    TOBX_VERIFY_BOXES(h.box);
    QCOMPARE(sink.reports.first().entriesTotal, kEntries + 1);
    QCOMPARE(sink.reports.first().bytesTotal, bytes);
    QCOMPARE(sink.reports.last().entriesDone, kEntries + 1);
    QCOMPARE(sink.reports.last().bytesDone, bytes);
}

QTEST_GUILESS_MAIN(TobProgressTest)
#include "tst_tob_progress.moc"

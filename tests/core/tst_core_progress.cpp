// SPDX-License-Identifier: MIT
// How a run tells how far it is and learns of a cancel, the figures a display
// shows, and the answers for all of an overwrite question.
#include "TestSupport.h"
#include "core/Progress.h"

#include <QElapsedTimer>
#include <QTest>

using namespace tobx;
using namespace tobx::test;

Q_DECLARE_METATYPE(tobx::MsgResult)

class ProgressTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void countsAndTotals();
    void reportsAreThrottled();
    void reportNamesTheEntryInHand();
    void cancelAtBoundary();
    void figures_data();
    void figures();
    void formats_data();
    void formats();
    void answerForAll_data();
    void answerForAll();
};

void ProgressTest::countsAndTotals()
{
    RecordingProgressSink sink;
    Progress progress;
    progress.attach(&sink, nullptr);
    progress.start(3, 60);
    const qint64 sizes[] = {10, 20, 30};
    for (const qint64 size : sizes)
        QVERIFY(progress.next("entry", size));
    progress.finish();
    QVERIFY(sink.reports.size() >= 2);
    const ProgressReport& first = sink.reports.first();
    QCOMPARE(first.entriesDone, 0);
    QCOMPARE(first.entriesTotal, 3);
    QCOMPARE(first.bytesDone, 0);
    QCOMPARE(first.bytesTotal, 60);
    const ProgressReport& last = sink.reports.last();
    QCOMPARE(last.entriesDone, 3);
    QCOMPARE(last.bytesDone, 60);
    QVERIFY(last.currentName.isEmpty());
    for (qsizetype i = 1; i < sink.reports.size(); ++i) {
        QVERIFY(sink.reports[i].entriesDone >= sink.reports[i - 1].entriesDone);
        QVERIFY(sink.reports[i].bytesDone >= sink.reports[i - 1].bytesDone);
    }
}

void ProgressTest::reportsAreThrottled()
{
    RecordingProgressSink sink;
    Progress progress;
    progress.attach(&sink, nullptr);
    QElapsedTimer timer;
    timer.start();
    constexpr int kEntries = 200000;
    progress.start(kEntries, kEntries);
    for (int i = 0; i < kEntries; ++i)
        progress.next("e", 1);
    progress.finish();
    // The first and the last, and one per interval in between at most.
    const qint64 allowed = 2 + timer.elapsed() / Progress::kReportIntervalMs + 1;
    QVERIFY2(sink.reports.size() <= allowed, qPrintable(QString::number(sink.reports.size())));
    QCOMPARE(sink.reports.last().entriesDone, kEntries);
    QCOMPARE(sink.reports.last().bytesDone, kEntries);
}

void ProgressTest::reportNamesTheEntryInHand()
{
    RecordingProgressSink sink;
    Progress progress;
    progress.attach(&sink, nullptr);
    progress.start(2, 8);
    QTest::qSleep(int(Progress::kReportIntervalMs) + 10);
    progress.next("sub\\caf\xe9.txt", 5); // Windows-1252, as names are stored
    QCOMPARE(sink.reports.size(), 2);
    QCOMPARE(sink.reports.last().currentName, QStringLiteral("sub\\caf\u00e9.txt"));
    QCOMPARE(sink.reports.last().entriesDone, 0);
    QTest::qSleep(int(Progress::kReportIntervalMs) + 10);
    progress.next("b", 3);
    QCOMPARE(sink.reports.last().entriesDone, 1);
    QCOMPARE(sink.reports.last().bytesDone, 5);
}

void ProgressTest::cancelAtBoundary()
{
    CancelFlag flag;
    Progress progress;
    progress.attach(nullptr, &flag);
    progress.start(3, 0);
    QVERIFY(progress.next("a", 0));
    flag.request();
    QVERIFY(!progress.next("b", 0));
    flag.reset();
    QVERIFY(progress.next("b", 0));

    Progress unattached; // the tests' and a plain run's: never cancelled
    unattached.start(1, 0);
    QVERIFY(unattached.next("a", 0));
}

void ProgressTest::figures_data()
{
    QTest::addColumn<qint64>("entriesDone");
    QTest::addColumn<qint64>("entriesTotal");
    QTest::addColumn<qint64>("bytesDone");
    QTest::addColumn<qint64>("bytesTotal");
    QTest::addColumn<double>("elapsed");
    QTest::addColumn<int>("percent");
    QTest::addColumn<double>("bytesPerSecond");
    QTest::addColumn<double>("secondsLeft");
    QTest::newRow("by bytes") << 1LL << 4LL << 250LL << 1000LL << 2.0 << 25 << 125.0 << 6.0;
    QTest::newRow("by entries without bytes") << 3LL << 4LL << 0LL << 0LL << 3.0 << 75 << 0.0 << 1.0;
    QTest::newRow("too early to tell") << 1LL << 4LL << 500LL << 1000LL << 0.1 << 50 << -1.0 << -1.0;
    QTest::newRow("nothing done yet") << 0LL << 4LL << 0LL << 1000LL << 5.0 << 0 << -1.0 << -1.0;
    QTest::newRow("all done") << 4LL << 4LL << 1000LL << 1000LL << 4.0 << 100 << 250.0 << 0.0;
    QTest::newRow("empty run") << 0LL << 0LL << 0LL << 0LL << 1.0 << 0 << -1.0 << -1.0;
}

void ProgressTest::figures()
{
    QFETCH(qint64, entriesDone);
    QFETCH(qint64, entriesTotal);
    QFETCH(qint64, bytesDone);
    QFETCH(qint64, bytesTotal);
    QFETCH(double, elapsed);
    QFETCH(int, percent);
    QFETCH(double, bytesPerSecond);
    QFETCH(double, secondsLeft);
    const ProgressFigures f = FiguresFor({entriesDone, entriesTotal, bytesDone, bytesTotal, QString()}, elapsed);
    QCOMPARE(f.percent, percent);
    QCOMPARE(f.bytesPerSecond, bytesPerSecond);
    QCOMPARE(f.secondsLeft, secondsLeft);
}

void ProgressTest::formats_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("bytes");
    QTest::addColumn<QString>("duration");
    QTest::newRow("small") << 3.0 << "3 bytes" << "3 s";
    QTest::newRow("just under a unit") << 1023.0 << "1023 bytes" << "17 min 03 s";
    QTest::newRow("one KiB") << 1024.0 << "1.0 KiB" << "17 min 04 s";
    QTest::newRow("a part second rounds up") << 0.2 << "0 bytes" << "1 s";
    QTest::newRow("MiB and hours") << 5.5 * 1024 * 1024 << "5.5 MiB" << "1601 h 59 min";
    QTest::newRow("GiB") << 1.5 * 1024 * 1024 * 1024 << "1.5 GiB" << "447392 h 25 min";
}

void ProgressTest::formats()
{
    QFETCH(double, value);
    QFETCH(QString, bytes);
    QFETCH(QString, duration);
    QCOMPARE(FormatBytes(value), bytes);
    QCOMPARE(FormatDuration(value), duration);
}

void ProgressTest::answerForAll_data()
{
    QTest::addColumn<QList<MsgResult>>("pressed"); // the buttons of the boxes shown, in order
    QTest::addColumn<QList<MsgResult>>("answers"); // what five questions are answered
    using R = MsgResult;
    QTest::newRow("yes to all at once") << QList<R>{R::YesToAll} << QList<R>{R::Yes, R::Yes, R::Yes, R::Yes, R::Yes};
    QTest::newRow("no to all after two") << QList<R>{R::Yes, R::No, R::NoToAll}
                                         << QList<R>{R::Yes, R::No, R::No, R::No, R::No};
    QTest::newRow("single answers ask every time") << QList<R>{R::Yes, R::No, R::Yes, R::No, R::Yes}
                                                   << QList<R>{R::Yes, R::No, R::Yes, R::No, R::Yes};
}

void ProgressTest::answerForAll()
{
    QFETCH(QList<MsgResult>, pressed);
    QFETCH(QList<MsgResult>, answers);
    ScriptedMessageBox box;
    for (const MsgResult button : pressed)
        box.expect(QStringLiteral("File Exist"), QStringLiteral("exist."), button);
    AnswerForAll overwrite;
    const Message question{QStringLiteral("File: a exist.\nDo you want to overwrite?"), QStringLiteral("File Exist"),
                           MsgIcon::Question, MsgButtons::YesNoCancelToAll, MsgResult::No};
    QList<MsgResult> got;
    for (int i = 0; i < answers.size(); ++i)
        got.append(overwrite.ask(box, question));
    QCOMPARE(got, answers);
    TOBX_VERIFY_BOXES(box);
    // A new run asks again.
    AnswerForAll nextRun;
    box.reset();
    box.expect(QStringLiteral("File Exist"), QString(), MsgResult::Cancel);
    QCOMPARE(nextRun.ask(box, question), MsgResult::Cancel);
    TOBX_VERIFY_BOXES(box);
}

QTEST_GUILESS_MAIN(ProgressTest)
#include "tst_core_progress.moc"

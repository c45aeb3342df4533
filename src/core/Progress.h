// SPDX-License-Identifier: MIT
#pragma once
// How far a run is, and the user's wish to stop it. An operation announces
// its totals, then passes every entry boundary through next(): that counts
// the entries before it as done, reports now and then, and answers whether
// the user has asked to cancel. A run stopped there leaves what answering
// Cancel to an overwrite question at that entry would leave.

#include <QByteArray>
#include <QByteArrayView>
#include <QElapsedTimer>
#include <QString>

#include <atomic>

namespace tobx {

struct ProgressReport {
    qint64 entriesDone = 0;
    qint64 entriesTotal = 0;
    qint64 bytesDone = 0;
    qint64 bytesTotal = 0;
    QString currentName; // the entry being handled; empty at the end
};

// Receives the reports of a run, on the run's thread.
class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    virtual void progressed(const ProgressReport& report) = 0;
};

// Asked at every entry boundary whether the run is to stop.
class CancelSource {
public:
    virtual ~CancelSource() = default;
    virtual bool cancelRequested() = 0;
};

// A cancel that another thread, or a signal handler, asks for.
class CancelFlag final : public CancelSource {
public:
    void request() { m_requested.store(true, std::memory_order_relaxed); }
    void reset() { m_requested.store(false, std::memory_order_relaxed); }
    bool cancelRequested() override { return m_requested.load(std::memory_order_relaxed); }

private:
    std::atomic<bool> m_requested{false};
};

class Progress {
public:
    // Reports reach the sink at most this often, besides the first and the last.
    static constexpr qint64 kReportIntervalMs = 50;

    // Either may be null: no reports, no cancel.
    void attach(ProgressSink* sink, CancelSource* cancel);

    // The run's size, before its first entry.
    void start(qint64 entriesTotal, qint64 bytesTotal);
    // An entry boundary: the entry `name` of `bytes` comes next, the ones
    // before it are done. False when the user has asked to cancel.
    bool next(QByteArrayView name, qint64 bytes);
    // Every entry done; the last report.
    void finish();
    // Reports where the run is, due or not: before it pauses for the user,
    // so that a display does not show an older state meanwhile.
    void reportNow();

private:
    bool due();
    void report();

    ProgressSink* m_sink = nullptr;
    CancelSource* m_cancel = nullptr;
    ProgressReport m_now;
    qint64 m_entriesBegun = 0;
    qint64 m_pendingBytes = 0; // of the entry in hand
    QByteArray m_name;         // of the entry in hand, as stored in the archive
    QElapsedTimer m_sinceReport;
};

// What a display shows besides the counts.
struct ProgressFigures {
    int percent = 0;            // by bytes, or by entries when there are none
    double bytesPerSecond = -1; // -1: not known yet
    double entriesPerSecond = -1;
    double secondsLeft = -1;    // -1: not known yet
};
ProgressFigures FiguresFor(const ProgressReport& report, double secondsElapsed);

// "512 bytes", "12.3 KiB", "1.5 GiB".
QString FormatBytes(double bytes);
// "3 s", "4 min 05 s", "1 h 02 min".
QString FormatDuration(double seconds);

} // namespace tobx

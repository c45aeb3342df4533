// SPDX-License-Identifier: MIT
#include "Progress.h"

#include "Names.h"

#include <algorithm>
#include <cmath>

namespace tobx {

void Progress::attach(ProgressSink* sink, CancelSource* cancel)
{
    m_sink = sink;
    m_cancel = cancel;
}

void Progress::start(qint64 entriesTotal, qint64 bytesTotal)
{
    m_now = ProgressReport{0, entriesTotal, 0, bytesTotal, QString()};
    m_entriesBegun = 0;
    m_pendingBytes = 0;
    m_name.clear();
    if (m_sink)
        report();
}

bool Progress::next(QByteArrayView name, qint64 bytes)
{
    if (m_cancel && m_cancel->cancelRequested())
        return false;
    m_now.entriesDone = m_entriesBegun++;
    m_now.bytesDone += m_pendingBytes;
    m_pendingBytes = bytes;
    if (!m_sink)
        return true;
    // Kept in the room of the previous name: no allocation per entry. It is
    // only turned into text for a report that goes out.
    m_name.resize(name.size());
    std::copy(name.begin(), name.end(), m_name.begin());
    if (due())
        report();
    return true;
}

void Progress::finish()
{
    m_now.entriesDone = m_entriesBegun;
    m_now.bytesDone += m_pendingBytes;
    m_pendingBytes = 0;
    m_name.clear();
    if (m_sink)
        report();
}

void Progress::reportNow()
{
    if (m_sink)
        report();
}

bool Progress::due()
{
    return !m_sinceReport.isValid() || m_sinceReport.elapsed() >= kReportIntervalMs;
}

void Progress::report()
{
    m_sinceReport.start();
    m_now.currentName = NameToText(m_name);
    m_sink->progressed(m_now);
}

ProgressFigures FiguresFor(const ProgressReport& report, double secondsElapsed)
{
    ProgressFigures figures;
    const bool byBytes = report.bytesTotal > 0;
    const double done = double(byBytes ? report.bytesDone : report.entriesDone);
    const double total = double(byBytes ? report.bytesTotal : report.entriesTotal);
    if (total > 0)
        figures.percent = int(std::clamp(std::floor(100 * done / total), 0.0, 100.0));
    // Too early a rate says nothing but the cost of starting.
    if (secondsElapsed < 0.2 || done <= 0)
        return figures;
    figures.bytesPerSecond = double(report.bytesDone) / secondsElapsed;
    figures.entriesPerSecond = double(report.entriesDone) / secondsElapsed;
    figures.secondsLeft = std::max(0.0, (total - done) * secondsElapsed / done);
    return figures;
}

QString FormatBytes(double bytes)
{
    static const char* const kUnits[] = {"KiB", "MiB", "GiB", "TiB"};
    if (bytes < 1024)
        return QStringLiteral("%1 bytes").arg(qint64(bytes));
    int unit = -1;
    while (bytes >= 1024 && unit < 3) {
        bytes /= 1024;
        ++unit;
    }
    return QStringLiteral("%1 %2").arg(bytes, 0, 'f', 1).arg(QLatin1String(kUnits[unit]));
}

QString FormatDuration(double seconds)
{
    const qint64 whole = qint64(std::ceil(seconds));
    if (whole < 60)
        return QStringLiteral("%1 s").arg(whole);
    if (whole < 3600)
        return QStringLiteral("%1 min %2 s").arg(whole / 60).arg(whole % 60, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1 h %2 min").arg(whole / 3600).arg(whole / 60 % 60, 2, 10, QLatin1Char('0'));
}

} // namespace tobx

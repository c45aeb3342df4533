// SPDX-License-Identifier: MIT
#include "ConsoleProgress.h"

#include <QString>

namespace tobx {

namespace {

void write(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

} // namespace

ConsoleProgress::ConsoleProgress(std::FILE* err, bool terminal)
    : m_err(err)
    , m_terminal(terminal)
{
}

QString ConsoleProgress::LineFor(const ProgressReport& report, double secondsElapsed)
{
    const ProgressFigures figures = FiguresFor(report, secondsElapsed);
    QString line = QStringLiteral("%1% %2/%3 entries").arg(figures.percent, 3).arg(report.entriesDone).arg(report.entriesTotal);
    if (report.bytesTotal > 0)
        line += QStringLiteral(", %1/%2").arg(FormatBytes(double(report.bytesDone)), FormatBytes(double(report.bytesTotal)));
    if (report.bytesTotal > 0 && figures.bytesPerSecond >= 0)
        line += QStringLiteral(", %1/s").arg(FormatBytes(figures.bytesPerSecond));
    else if (figures.entriesPerSecond >= 0)
        line += QStringLiteral(", %1 entries/s").arg(qint64(figures.entriesPerSecond));
    return line;
}

void ConsoleProgress::progressed(const ProgressReport& report)
{
    if (!m_sinceStart.isValid())
        m_sinceStart.start();
    const QString line = LineFor(report, double(m_sinceStart.elapsed()) / 1000);
    // A shorter line must cover the whole of the longer one before it.
    const qsizetype padding = qMax<qsizetype>(0, m_lineLength - line.size());
    write(m_err, QLatin1Char('\r') + line + QString(padding, QLatin1Char(' ')));
    m_lineLength = line.size();
    m_lineShown = true;
}

void ConsoleProgress::interrupt()
{
    if (!m_lineShown)
        return;
    write(m_err, m_terminal ? QStringLiteral("\r\x1b[K") : QStringLiteral("\n"));
    m_lineShown = false;
    m_lineLength = 0;
}

void ConsoleProgress::end()
{
    if (m_lineShown)
        write(m_err, QStringLiteral("\n"));
    m_lineShown = false;
    m_lineLength = 0;
}

} // namespace tobx

// SPDX-License-Identifier: MIT
#pragma once
// The progress of a tobx run as one line on standard error, written over and
// over in place: percentage, entries, bytes and rate. Standard output, where
// scripts read the messages, never sees it.

#include "core/Progress.h"

#include <QElapsedTimer>

#include <cstdio>

namespace tobx {

class ConsoleProgress final : public ProgressSink {
public:
    // terminal: the stream is a terminal, whose line can be wiped; elsewhere
    // an interrupted line is ended instead.
    ConsoleProgress(std::FILE* err, bool terminal);

    void progressed(const ProgressReport& report) override;
    // Before other text: the line in progress is wiped or ended.
    void interrupt();
    // The run is over: the last line stays and is ended.
    void end();

    static QString LineFor(const ProgressReport& report, double secondsElapsed);

private:
    std::FILE* m_err;
    bool m_terminal;
    bool m_lineShown = false;
    qsizetype m_lineLength = 0;
    QElapsedTimer m_sinceStart;
};

} // namespace tobx

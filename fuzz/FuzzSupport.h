// SPDX-License-Identifier: MIT
#pragma once
// What every fuzz target needs around an operation: a user who agrees to every
// question, a clock that stands still, and whole-file reads and writes that
// stop the run when the harness itself cannot work. For the targets that stay
// in memory: input bytes held in blocks of exactly their size, and a way to
// cut one input into the pieces a reader takes.

#include "core/AppState.h"
#include "core/Clock.h"
#include "core/MessageBox.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>

// The sanitizer's defaults suit a program that runs once: a quarantine of
// 256 MB of freed blocks and a long stack kept for every allocation. Most of
// a fuzz run's time would go into them, so both are kept small; a finding is
// replayed with the defaults (ASAN_OPTIONS overrides these) for full stacks.
extern "C" const char* __asan_default_options()
{
    return "quarantine_size_mb=1:thread_local_quarantine_size_kb=16:malloc_context_size=2:max_malloc_fill_size=0";
}

namespace tobx::fuzz {

class AgreeingBox final : public MessageBox {
public:
    MsgResult show(const Message& message) override
    {
        return message.buttons == MsgButtons::Ok ? MsgResult::Ok : MsgResult::Yes;
    }
};

// Agrees like AgreeingBox and keeps every message, for targets that check
// what was said.
class RecordingBox final : public MessageBox {
public:
    MsgResult show(const Message& message) override
    {
        shown.append(message);
        return message.buttons == MsgButtons::Ok ? MsgResult::Ok : MsgResult::Yes;
    }
    QList<Message> shown;
};

class StillClock final : public Clock {
public:
    double secondsSinceMidnight() const override { return 0; }
};

// Writes a whole file, making its folders first.
inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        std::abort();
}

inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        std::abort();
    return file.readAll();
}

// The state an in-memory target keeps for all its runs (setting one up costs
// more than most runs). What a run said is forgotten when it ends, not when
// the next one starts: libFuzzer runs an input a second time, to look for a
// leak, whenever its allocations and frees do not match.
struct RunState {
    RecordingBox box;
    StillClock clock;
    AppState state{box, clock};

    void forget()
    {
        box.shown.clear();
        for (ResultList& lines : state.lstSrcFiles)
            lines.clear();
    }
};

class FreshRun {
public:
    FreshRun()
        : m_run(shared())
    {
        m_run.forget();
    }
    ~FreshRun() { m_run.forget(); }
    FreshRun(const FreshRun&) = delete;
    FreshRun& operator=(const FreshRun&) = delete;

    RunState& operator*() const { return m_run; }
    RunState* operator->() const { return &m_run; }

private:
    static RunState& shared()
    {
        static RunState run;
        return run;
    }
    RunState& m_run;
};

// A copy of some bytes in a heap block of exactly their size: the address
// sanitizer then stops any reader that looks even one byte past them, which a
// QByteArray (spare capacity, a terminating 0x00) would let pass.
class ExactBytes {
public:
    explicit ExactBytes(QByteArrayView bytes)
        : m_size(bytes.size())
        , m_data(new char[size_t(m_size)])
    {
        std::copy(bytes.begin(), bytes.end(), m_data.get());
    }
    QByteArrayView view() const { return QByteArrayView(m_data.get(), m_size); }
    // Shares the block; the array must not outlive this object.
    QByteArray array() const { return QByteArray::fromRawData(m_data.get(), m_size); }

private:
    qsizetype m_size;
    std::unique_ptr<char[]> m_data;
};

// Cuts one fuzz input into pieces, front to back; what is missing reads as 0
// or as an empty piece.
class InputCutter {
public:
    InputCutter(const std::uint8_t* data, std::size_t size)
        : m_rest(reinterpret_cast<const char*>(data), qsizetype(size))
    {
    }
    quint8 byte()
    {
        if (m_rest.isEmpty())
            return 0;
        const quint8 value = quint8(m_rest.front());
        m_rest = m_rest.sliced(1);
        return value;
    }
    QByteArrayView piece(qsizetype size)
    {
        const QByteArrayView taken = m_rest.first(std::min(size, m_rest.size()));
        m_rest = m_rest.sliced(taken.size());
        return taken;
    }
    QByteArrayView rest() const { return m_rest; }

private:
    QByteArrayView m_rest;
};

} // namespace tobx::fuzz

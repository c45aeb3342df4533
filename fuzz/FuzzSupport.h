#pragma once
// What every fuzz target needs around an operation: a user who agrees to every
// question, a clock that stands still, and whole-file reads and writes that
// stop the run when the harness itself cannot work.

#include "core/Clock.h"
#include "core/MessageBox.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <cstdlib>

namespace tobx::fuzz {

class AgreeingBox final : public MessageBox {
public:
    MsgResult show(const Message& message) override
    {
        return message.buttons == MsgButtons::Ok ? MsgResult::Ok : MsgResult::Yes;
    }
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

} // namespace tobx::fuzz

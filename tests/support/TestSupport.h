// SPDX-License-Identifier: MIT
#pragma once
// Test doubles for the platform layer: a message box that answers from a script
// and records every box, and a clock that shows the time it is told.

#include "core/AppState.h"
#include "core/Clock.h"
#include "core/MessageBox.h"
#include "core/Progress.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <utility>

namespace tobx::test {

class ScriptedMessageBox final : public MessageBox {
public:
    // The next box must have this title and contain this text; it is answered
    // with `answer`. An empty title or text matches any.
    void expect(const QString& title, const QString& textContains, MsgResult answer = MsgResult::Ok);

    MsgResult show(const Message& message) override;

    // Every box shown, in order.
    QList<Message> shown;
    // Boxes that came unexpected or did not match, and expectations left over.
    QStringList problems() const;
    bool clean() const { return problems().isEmpty(); }
    void reset();

private:
    struct Expectation {
        QString title;
        QString text;
        MsgResult answer;
    };
    QList<Expectation> m_script;
    QStringList m_problems;
};

// Keeps every progress report of a run.
class RecordingProgressSink final : public ProgressSink {
public:
    void progressed(const ProgressReport& report) override { reports.append(report); }
    QList<ProgressReport> reports;
};

// The user cancels once the run has passed `boundaries` entry boundaries:
// the entries before the next one are done, that one and the rest are not.
class CancelAfter final : public CancelSource {
public:
    explicit CancelAfter(int boundaries)
        : m_left(boundaries)
    {
    }
    bool cancelRequested() override { return m_left-- <= 0; }

private:
    int m_left;
};

class FixedClock final : public Clock {
public:
    double now = 0;
    double secondsSinceMidnight() const override { return now; }
};

// Runs an action when the box with the given title comes, then answers from
// the script: a question is the pause in which the user could look at the
// files or change them.
class ActingBox final : public MessageBox {
public:
    ScriptedMessageBox script;
    QString actOnTitle;
    std::function<void()> action;

    MsgResult show(const Message& message) override
    {
        if (action && message.shownTitle() == actOnTitle)
            std::exchange(action, nullptr)();
        return script.show(message);
    }
};

// A fresh state with scripted services and a temporary folder to work in.
struct Harness {
    ScriptedMessageBox box;
    FixedClock clock;
    AppState state{box, clock};
    QTemporaryDir dir;

    QString path(const QString& relative) const;
    // Writes a file below the temporary folder, creating its folders.
    QString write(const QString& relative, const QByteArray& bytes) const;
    QByteArray read(const QString& relative) const;
    bool exists(const QString& relative) const;
};

} // namespace tobx::test

// Fails the test when a box came unexpected or an expected one never came.
#define TOBX_VERIFY_BOXES(box) QVERIFY2((box).clean(), qPrintable((box).problems().join(QLatin1Char('\n'))))

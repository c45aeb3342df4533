// SPDX-License-Identifier: MIT
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tobx::test {

namespace {
QString describe(const Message& m)
{
    return QStringLiteral("[%1] %2").arg(m.shownTitle(), m.text);
}
} // namespace

void ScriptedMessageBox::expect(const QString& title, const QString& textContains, MsgResult answer)
{
    m_script.append({title, textContains, answer});
}

MsgResult ScriptedMessageBox::show(const Message& message)
{
    shown.append(message);
    if (m_script.isEmpty()) {
        m_problems.append(QStringLiteral("unexpected box ") + describe(message));
        return message.defaultButton;
    }
    const Expectation next = m_script.takeFirst();
    if ((!next.title.isEmpty() && message.shownTitle() != next.title)
        || (!next.text.isEmpty() && !message.text.contains(next.text))) {
        m_problems.append(QStringLiteral("expected [%1] %2, got %3").arg(next.title, next.text, describe(message)));
        return message.defaultButton;
    }
    return next.answer;
}

QStringList ScriptedMessageBox::problems() const
{
    QStringList all = m_problems;
    for (const Expectation& e : m_script)
        all.append(QStringLiteral("expected box never shown: [%1] %2").arg(e.title, e.text));
    return all;
}

void ScriptedMessageBox::reset()
{
    shown.clear();
    m_script.clear();
    m_problems.clear();
}

QString Harness::path(const QString& relative) const
{
    return dir.filePath(relative);
}

QString Harness::write(const QString& relative, const QByteArray& bytes) const
{
    const QString full = path(relative);
    QDir().mkpath(QFileInfo(full).path());
    QFile file(full);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write test file");
    return full;
}

QByteArray Harness::read(const QString& relative) const
{
    QFile file(path(relative));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

bool Harness::exists(const QString& relative) const
{
    return QFileInfo::exists(path(relative));
}

} // namespace tobx::test

// SPDX-License-Identifier: MIT
#include "ConsoleMessageBox.h"

#include <QString>

#include <utility>

#include <unistd.h>

namespace tobx {

namespace {

QString buttonName(MsgResult button)
{
    switch (button) {
    case MsgResult::Ok:
        return QStringLiteral("OK");
    case MsgResult::Yes:
        return QStringLiteral("Yes");
    case MsgResult::No:
        return QStringLiteral("No");
    case MsgResult::Cancel:
        return QStringLiteral("Cancel");
    case MsgResult::YesToAll:
        return QStringLiteral("Yes to All");
    case MsgResult::NoToAll:
        return QStringLiteral("No to All");
    }
    return QString();
}

QString buttonList(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::Ok:
        return QStringLiteral("OK");
    case MsgButtons::YesNo:
        return QStringLiteral("Yes/No");
    case MsgButtons::YesNoCancel:
        return QStringLiteral("Yes/No/Cancel");
    case MsgButtons::YesNoToAll:
        return QStringLiteral("Yes/No/Yes to All/No to All");
    case MsgButtons::YesNoCancelToAll:
        return QStringLiteral("Yes/No/Cancel/Yes to All/No to All");
    }
    return QString();
}

void print(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

// A line read is a button's name; on a terminal its first letter will do.
std::optional<MsgResult> parseAnswer(const QString& line, bool firstLetterWill)
{
    const QString word = line.simplified().toLower();
    const std::pair<const char*, MsgResult> names[] = {
        {"yes", MsgResult::Yes},           {"no", MsgResult::No},
        {"cancel", MsgResult::Cancel},     {"yes to all", MsgResult::YesToAll},
        {"no to all", MsgResult::NoToAll},
    };
    for (const auto& [name, button] : names)
        if (word == QLatin1String(name))
            return button;
    if (firstLetterWill && !word.isEmpty()) {
        for (const auto& [name, button] : names)
            if (button != MsgResult::YesToAll && button != MsgResult::NoToAll && word.at(0) == QLatin1Char(name[0]))
                return button;
    }
    return std::nullopt;
}

// The answer when the user has pressed Ctrl+C at a question.
MsgResult interruptedAnswer(const Message& message)
{
    return Offers(message.buttons, MsgResult::Cancel) ? MsgResult::Cancel : MsgResult::No;
}

} // namespace

std::optional<CliAnswer> ParseCliAnswer(const QString& text)
{
    const QString word = text.toLower();
    if (word == QLatin1String("ask"))
        return CliAnswer::Ask;
    if (word == QLatin1String("yes"))
        return CliAnswer::Yes;
    if (word == QLatin1String("no"))
        return CliAnswer::No;
    if (word == QLatin1String("cancel"))
        return CliAnswer::Cancel;
    return std::nullopt;
}

ConsoleMessageBox::ConsoleMessageBox(CliAnswer answer, std::FILE* out, std::FILE* err, std::FILE* in,
                                     ConsoleProgress* progress, CancelSource* interrupt)
    : m_answer(answer)
    , m_out(out)
    , m_err(err)
    , m_in(in)
    , m_progress(progress)
    , m_interrupt(interrupt)
{
}

MsgResult ConsoleMessageBox::show(const Message& message)
{
    if (m_progress)
        m_progress->interrupt();
    const bool toErr = message.icon == MsgIcon::Critical || message.icon == MsgIcon::Exclamation;
    std::FILE* stream = toErr ? m_err : m_out;
    print(stream, message.shownTitle() + QStringLiteral(": ") + message.text + QLatin1Char('\n'));
    if (message.buttons == MsgButtons::Ok)
        return MsgResult::Ok;
    print(stream, QStringLiteral("[%1, default %2]\n").arg(buttonList(message.buttons), buttonName(message.defaultButton)));
    const MsgResult answer = answerQuestion(message);
    print(stream, QStringLiteral("> %1\n").arg(buttonName(answer)));
    return answer;
}

MsgResult ConsoleMessageBox::answerQuestion(const Message& message)
{
    switch (m_answer) {
    case CliAnswer::Yes:
        return MsgResult::Yes;
    case CliAnswer::No:
        return MsgResult::No;
    case CliAnswer::Cancel:
        // A question without Cancel counts a Cancel answer as No.
        return Offers(message.buttons, MsgResult::Cancel) ? MsgResult::Cancel : MsgResult::No;
    case CliAnswer::Ask:
        break;
    }
    if (!m_in)
        return message.defaultButton;
    return readAnswer(message, isatty(fileno(m_in)) != 0);
}

// On a terminal the user is prompted and asked until the answer fits; from a
// pipe the lines are the answers, and a script that runs out of them, or
// keeps sending what is no answer, gets the default button.
MsgResult ConsoleMessageBox::readAnswer(const Message& message, bool terminal)
{
    for (int attempt = 0; terminal || attempt < kPipedAttempts; ++attempt) {
        if (m_interrupt && m_interrupt->cancelRequested())
            return interruptedAnswer(message);
        if (terminal)
            print(m_out, QStringLiteral("? "));
        char line[256];
        if (!std::fgets(line, sizeof line, m_in)) {
            if (m_interrupt && m_interrupt->cancelRequested())
                return interruptedAnswer(message);
            return message.defaultButton;
        }
        const QString text = QString::fromLocal8Bit(line);
        if (text.trimmed().isEmpty())
            return message.defaultButton;
        const std::optional<MsgResult> choice = parseAnswer(text, terminal);
        if (choice && Offers(message.buttons, *choice))
            return *choice;
        print(m_out, QStringLiteral("Answer %1 (empty for %2).\n").arg(buttonList(message.buttons), buttonName(message.defaultButton)));
    }
    return message.defaultButton;
}

} // namespace tobx

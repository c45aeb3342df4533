#include "ConsoleMessageBox.h"

#include <QString>

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
    }
    return QString();
}

void print(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

bool offers(MsgButtons buttons, MsgResult button)
{
    switch (buttons) {
    case MsgButtons::Ok:
        return button == MsgResult::Ok;
    case MsgButtons::YesNo:
        return button == MsgResult::Yes || button == MsgResult::No;
    case MsgButtons::YesNoCancel:
        return button != MsgResult::Ok;
    }
    return false;
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

ConsoleMessageBox::ConsoleMessageBox(CliAnswer answer, std::FILE* out, std::FILE* err, std::FILE* in)
    : m_answer(answer)
    , m_out(out)
    , m_err(err)
    , m_in(in)
{
}

MsgResult ConsoleMessageBox::show(const Message& message)
{
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
        return offers(message.buttons, MsgResult::Cancel) ? MsgResult::Cancel : MsgResult::No;
    case CliAnswer::Ask:
        break;
    }
    if (m_in && isatty(fileno(m_in)) != 0)
        return askTerminal(message);
    return message.defaultButton;
}

MsgResult ConsoleMessageBox::askTerminal(const Message& message)
{
    for (;;) {
        print(m_out, QStringLiteral("? "));
        char line[64];
        if (!std::fgets(line, sizeof line, m_in))
            return message.defaultButton;
        const QString word = QString::fromLocal8Bit(line).trimmed().toLower();
        if (word.isEmpty())
            return message.defaultButton;
        MsgResult choice = MsgResult::Ok;
        if (word.startsWith(QLatin1Char('y')))
            choice = MsgResult::Yes;
        else if (word.startsWith(QLatin1Char('n')))
            choice = MsgResult::No;
        else if (word.startsWith(QLatin1Char('c')))
            choice = MsgResult::Cancel;
        if (offers(message.buttons, choice))
            return choice;
        print(m_out, QStringLiteral("Answer %1 (empty for %2).\n").arg(buttonList(message.buttons), buttonName(message.defaultButton)));
    }
}

} // namespace tobx

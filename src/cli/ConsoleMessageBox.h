#pragma once
// Message boxes on a terminal: every box is printed as "TITLE: TEXT"; a
// question shows its buttons and its default and is answered from --answer,
// from the terminal, or by its default button.

#include "core/MessageBox.h"

#include <cstdio>
#include <optional>

namespace tobx {

enum class CliAnswer { Ask, Yes, No, Cancel };

std::optional<CliAnswer> ParseCliAnswer(const QString& text);

class ConsoleMessageBox final : public MessageBox {
public:
    ConsoleMessageBox(CliAnswer answer, std::FILE* out, std::FILE* err, std::FILE* in);
    MsgResult show(const Message& message) override;

private:
    MsgResult answerQuestion(const Message& message);
    MsgResult askTerminal(const Message& message);

    CliAnswer m_answer;
    std::FILE* m_out;
    std::FILE* m_err;
    std::FILE* m_in;
};

} // namespace tobx

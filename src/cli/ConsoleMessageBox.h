// SPDX-License-Identifier: MIT
#pragma once
// Message boxes on a terminal: every box is printed as "TITLE: TEXT"; a
// question shows its buttons and its default and is answered from --answer,
// from the terminal, or line by line from standard input ("yes", "no",
// "cancel", "yes to all", "no to all"), its default button at the end of input.

#include "ConsoleProgress.h"
#include "core/MessageBox.h"
#include "core/Progress.h"

#include <cstdio>
#include <optional>

namespace tobx {

enum class CliAnswer { Ask, Yes, No, Cancel };

std::optional<CliAnswer> ParseCliAnswer(const QString& text);

class ConsoleMessageBox final : public MessageBox {
public:
    // progress: its line is ended before a box is printed. interrupt: Ctrl+C,
    // which answers a question Cancel (No where it has no Cancel).
    ConsoleMessageBox(CliAnswer answer, std::FILE* out, std::FILE* err, std::FILE* in,
                      ConsoleProgress* progress = nullptr, CancelSource* interrupt = nullptr);
    MsgResult show(const Message& message) override;

    // Lines from a pipe that are no answer before the default button is taken.
    static constexpr int kPipedAttempts = 3;

private:
    MsgResult answerQuestion(const Message& message);
    MsgResult readAnswer(const Message& message, bool terminal);

    CliAnswer m_answer;
    std::FILE* m_out;
    std::FILE* m_err;
    std::FILE* m_in;
    ConsoleProgress* m_progress;
    CancelSource* m_interrupt;
};

} // namespace tobx

// SPDX-License-Identifier: MIT
#include "MessageBox.h"

namespace tobx {

QString Message::shownTitle() const
{
    return title.isEmpty() ? QString::fromLatin1(kProgramName) : title;
}

bool Offers(MsgButtons buttons, MsgResult button)
{
    switch (buttons) {
    case MsgButtons::Ok:
        return button == MsgResult::Ok;
    case MsgButtons::YesNo:
        return button == MsgResult::Yes || button == MsgResult::No;
    case MsgButtons::YesNoCancel:
        return button == MsgResult::Yes || button == MsgResult::No || button == MsgResult::Cancel;
    case MsgButtons::YesNoToAll:
        return button != MsgResult::Ok && button != MsgResult::Cancel;
    case MsgButtons::YesNoCancelToAll:
        return button != MsgResult::Ok;
    }
    return false;
}

MsgResult AnswerForAll::ask(MessageBox& box, const Message& question)
{
    if (m_forAll != MsgResult::Ok)
        return m_forAll;
    const MsgResult answer = box.show(question);
    switch (answer) {
    case MsgResult::YesToAll:
        m_forAll = MsgResult::Yes;
        return m_forAll;
    case MsgResult::NoToAll:
        m_forAll = MsgResult::No;
        return m_forAll;
    default:
        return answer;
    }
}

} // namespace tobx

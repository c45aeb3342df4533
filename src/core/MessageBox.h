// SPDX-License-Identifier: MIT
#pragma once
// The one way the operations talk to the user: a modal box with a text, a title,
// an icon and a set of buttons, answered by the button pressed. The window shows
// it with Qt, the command line prints it, tests script it.

#include <QString>

namespace tobx {

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
// The "ToAll" sets add "Yes to All" and "No to All" to an overwrite question
// that a run may ask once per entry.
enum class MsgButtons { Ok, YesNo, YesNoCancel, YesNoToAll, YesNoCancelToAll };
enum class MsgResult { Ok, Yes, No, Cancel, YesToAll, NoToAll };

inline constexpr const char* kProgramName = "TobExtractor";

struct Message {
    QString text;  // lines separated by '\n'
    QString title; // empty: the program's name
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
    MsgResult defaultButton = MsgResult::Ok;
    // The text is a table whose columns line up only in a fixed-width font.
    bool fixedPitch = false;

    // The title a box shows: its own, or the program's name.
    QString shownTitle() const;
};

class MessageBox {
public:
    virtual ~MessageBox() = default;
    virtual MsgResult show(const Message& message) = 0;
};

// True when the box offers the button.
bool Offers(MsgButtons buttons, MsgResult button);

// One run's overwrite question with "Yes to All" and "No to All": once the
// user has answered for all, the rest of the run's questions are answered
// the same without being shown. A new run starts with a new one.
class AnswerForAll {
public:
    // Shows the question unless an answer for all was given; returns Yes, No
    // or (where the buttons offer it) Cancel.
    MsgResult ask(MessageBox& box, const Message& question);

private:
    MsgResult m_forAll = MsgResult::Ok; // Ok: not given yet
};

} // namespace tobx

#pragma once
// The one way the operations talk to the user: a modal box with a text, a title,
// an icon and a set of buttons, answered by the button pressed. The window shows
// it with Qt, the command line prints it, tests script it.

#include <QString>

namespace tobx {

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgButtons { Ok, YesNo, YesNoCancel };
enum class MsgResult { Ok, Yes, No, Cancel };

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

} // namespace tobx

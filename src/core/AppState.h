// SPDX-License-Identifier: MIT
#pragma once
// The state both panes share: path records, signature tables, option flags,
// result lists, and the services through which operations reach the user.
// Operations take this object and nothing else, so the window, the command
// line and the tests drive the very same code.

#include "Clock.h"
#include "MessageBox.h"
#include "Progress.h"
#include "ResultList.h"

#include <QByteArray>
#include <QString>

#include <array>

namespace tobx {

inline constexpr int ExtractPane = 0;
inline constexpr int BuildPane = 1;

// A path record. In SrcFile: the chosen file, its folder with a trailing
// separator, its bare name and its lower-case extension. In DstFile: the
// output path, the destination folder (no trailing separator but at the root)
// and the output name; FExt stays empty.
struct PATHS {
    QString FPath;
    QString FDir;
    QString FName;
    QString FExt;
};

// How an operation ended; the command line turns it into its exit status.
enum class Outcome {
    Done,      // ended normally (its DONE message, a written conversion, a list-only run)
    Stopped,   // a refusal or an error message ended it
    Cancelled, // the user's answer ended it
    Nothing,   // no operation belongs to the source in this pane
};

struct AppState {
    AppState(MessageBox& messages, Clock& clock);

    std::array<PATHS, 2> SrcFile;
    std::array<PATHS, 2> DstFile;
    std::array<QByteArray, 6> SrcSig;
    std::array<QString, 6> SrcExt;
    double StartTime = 0;
    QString StartDir;
    quint8 RcVersion = 0;
    QString CnvPath;

    // Option flags: the tick states of the window's check boxes.
    bool CreateLstOnly = false; // "Create List File &Only"
    bool UseTweaks = false;     // "Use Rc2 Tweaks"
    bool MoveFiles = false;     // "&Move Files"

    std::array<ResultList, 2> lstSrcFiles;

    MessageBox& messages;
    Clock& clock;
    // Where the run reports how far it is and learns of the user's cancel.
    Progress progress;

    // A run on another thread works on a state of its own: every path, table
    // and flag of `other`, with this state's services and empty result lists.
    void takeInputsFrom(const AppState& other);

    MsgResult show(const QString& text, const QString& title = QString(),
                   MsgIcon icon = MsgIcon::None, MsgButtons buttons = MsgButtons::Ok,
                   MsgResult defaultButton = MsgResult::Ok);
    // A critical "ERROR" box naming the path and the system's reason.
    void showIoError(const QString& what, const QString& path, const QString& reason);
    // "EXTRACT DONE (" / "BUILD DONE (" with the time elapsed since StartTime.
    void showDone(const QString& prefix);
    QString elapsedText() const;
};

} // namespace tobx

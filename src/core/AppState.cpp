// SPDX-License-Identifier: MIT
#include "AppState.h"

#include <QDir>

namespace tobx {

AppState::AppState(MessageBox& messages, Clock& clock)
    : messages(messages)
    , clock(clock)
{
    SrcSig = {QByteArray("VXBG"),
              QByteArray("BIK"),
              QByteArray("\xFF\xD8\xFF\xE0\x00\x10JFIF", 10),
              QByteArray(1, '\0'),
              QByteArray(4, '\0'),
              QByteArray("GT20")};
    SrcExt = {QStringLiteral("tob"), QStringLiteral("bik"), QStringLiteral("jpg"),
              QStringLiteral("toj"), QStringLiteral("idx"), QStringLiteral("img")};
    StartDir = QDir::currentPath();
}

void AppState::takeInputsFrom(const AppState& other)
{
    SrcFile = other.SrcFile;
    DstFile = other.DstFile;
    SrcSig = other.SrcSig;
    SrcExt = other.SrcExt;
    StartTime = other.StartTime;
    StartDir = other.StartDir;
    RcVersion = other.RcVersion;
    CnvPath = other.CnvPath;
    CreateLstOnly = other.CreateLstOnly;
    UseTweaks = other.UseTweaks;
    MoveFiles = other.MoveFiles;
}

MsgResult AppState::show(const QString& text, const QString& title, MsgIcon icon,
                         MsgButtons buttons, MsgResult defaultButton)
{
    return messages.show(Message{text, title, icon, buttons, defaultButton});
}

void AppState::showIoError(const QString& what, const QString& path, const QString& reason)
{
    show(what + QStringLiteral(": ") + QDir::toNativeSeparators(path) + QLatin1Char('\n') + reason,
         QStringLiteral("ERROR"), MsgIcon::Critical);
}

QString AppState::elapsedText() const
{
    return FormatElapsed(ElapsedSeconds(StartTime, clock.secondsSinceMidnight()));
}

void AppState::showDone(const QString& prefix)
{
    show(prefix + elapsedText() + QStringLiteral(" seconds)"), QString(), MsgIcon::Information);
}

} // namespace tobx

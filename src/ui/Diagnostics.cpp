// SPDX-License-Identifier: MIT
#include "Diagnostics.h"

#include "detect/QualifySrcFile.h"

#include <QStringList>

namespace tobx {

QString VersionedCaption(const QString& caption, int major, int minor, int patch)
{
    return caption + QStringLiteral(" v%1.%2.%3").arg(major).arg(minor).arg(patch);
}

QString PathDumpTitle(int pane)
{
    return QStringLiteral("Show Paths ") + QString::number(pane);
}

QString PathDumpText(const AppState& state, int pane, const QString& srcPathText, const QString& dstPathText)
{
    const QString n = QString::number(pane);
    const PATHS& src = state.SrcFile[pane];
    const PATHS& dst = state.DstFile[pane];
    const auto quoted = [](const QString& value) { return QLatin1Char('"') + value + QLatin1Char('"'); };
    // The labels are padded so that the opening quotes line up.
    const QStringList lines{
        QStringLiteral("PATHS(") + n + QStringLiteral(") /0 means Extract, 1 means Build/:"),
        QString(),
        QStringLiteral(" SrcFile(") + n + QStringLiteral(").FDir    ") + quoted(src.FDir),
        QStringLiteral(" SrcFile(") + n + QStringLiteral(").FPath   ") + quoted(src.FPath),
        QStringLiteral(" txtSrcPath(") + n + QStringLiteral(").Text ") + quoted(srcPathText),
        QStringLiteral(" SrcFile(") + n + QStringLiteral(").FName   ") + quoted(src.FName),
        QStringLiteral(" SrcFile(") + n + QStringLiteral(").FExt    ") + quoted(src.FExt),
        QString(),
        QStringLiteral(" DstFile(") + n + QStringLiteral(").FDir    ") + quoted(dst.FDir),
        QStringLiteral(" DstFile(") + n + QStringLiteral(").FPath   ") + quoted(dst.FPath),
        QStringLiteral(" txtDstPath(") + n + QStringLiteral(").Text ") + quoted(dstPathText),
        QStringLiteral(" DstFile(") + n + QStringLiteral(").FName   ") + quoted(dst.FName),
        QStringLiteral(" DstFile(") + n + QStringLiteral(").FExt    ") + quoted(dst.FExt),
        QString(),
        FTypeLegend(),
        QString(),
    };
    QString text;
    for (const QString& line : lines)
        text += line + QLatin1Char('\n');
    return text;
}

QString AboutText(const QString& caption, const QString& notice)
{
    const QStringList lines{
        caption + notice,
        QString(),
        QStringLiteral("With this program you may:"),
        QString(),
        QStringLiteral(" - Extract files from Tobrava II archives (demo too)."),
        QStringLiteral(" - Build Tobrava II archive including subdirectories (using file list)."),
        QString(),
        QStringLiteral(" - Extract files from Rollcage I / II archives (demo and psx version too)."),
        QStringLiteral(" - Build Rollcage archive (using file list)."),
        QString(),
        QStringLiteral(" - Apply some Rollcage Stage II predefined Tweaks (including game convertion)"),
        QStringLiteral(" - By edit created .lst file you may apply your own Tweaks (be carefull)"),
        QString(),
        QStringLiteral(" - Convert Tobrava I jpg files (no jpg algorythm is used in this program)."),
        QStringLiteral(" - Rename Tobrava Bik Files."),
        QString(),
        QStringLiteral("All Rights Reserved for their respective owners."),
    };
    return lines.join(QLatin1Char('\n'));
}

} // namespace tobx

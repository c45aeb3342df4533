// SPDX-License-Identifier: MIT
#include "RunFeedback.h"

#include "detect/QualifySrcFile.h"

#include <QFileInfo>

namespace tobx {

namespace {

QString bareName(const QString& path)
{
    return QFileInfo(path).fileName();
}

QString doneFeedback(const AppState& state, int pane)
{
    const QString written = bareName(state.DstFile[pane].FName);
    if (pane == BuildPane)
        return written + QStringLiteral(" written");
    if (state.CreateLstOnly)
        return written + QStringLiteral(" written (list only)");
    return written + QStringLiteral(" written, %1 entries listed").arg(state.lstSrcFiles[pane].size());
}

} // namespace

QString PaneRunFeedback(const AppState& state, int pane, const PaneRun& run)
{
    const QString what = pane == BuildPane ? QStringLiteral("Build") : QStringLiteral("Extraction");
    switch (run.outcome) {
    case Outcome::Done:
        return doneFeedback(state, pane);
    case Outcome::Cancelled:
        return what + QStringLiteral(" cancelled");
    case Outcome::Stopped:
        if (run.type == TypeUnknown)
            return QStringLiteral("Unknown source file format");
        return what + QStringLiteral(" stopped (") + FTypeLegendEntry(run.type) + QLatin1Char(')');
    case Outcome::Nothing:
        break;
    }
    return QStringLiteral("Nothing to do in this pane for ") + FTypeLegendEntry(run.type);
}

QString ConverterFeedback(Outcome outcome, const QString& chosenName)
{
    switch (outcome) {
    case Outcome::Done:
        // The picture goes beside the chosen file, "jpg" in place of its
        // last three letters.
        return bareName(chosenName).chopped(3) + QStringLiteral("jpg written");
    case Outcome::Cancelled:
        return QStringLiteral("Conversion cancelled");
    case Outcome::Stopped:
    case Outcome::Nothing:
        break;
    }
    return QStringLiteral("Conversion stopped");
}

} // namespace tobx

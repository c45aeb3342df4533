// SPDX-License-Identifier: MIT
#include "Dispatch.h"

#include "QualifySrcFile.h"
#include "core/FileUtils.h"
#include "rollcage/RcBuild.h"
#include "rollcage/RcExtract.h"
#include "tob/TobBuild.h"
#include "tob/TobExtract.h"

#include <QDir>

#include <exception>

namespace tobx {

namespace {

Outcome notImplemented(AppState& state)
{
    state.show(QStringLiteral("Not implemented yet!"));
    return Outcome::Stopped;
}

Outcome dispatchExtract(AppState& state, quint8 type, const RcTweakModel& tweaks)
{
    switch (type) {
    case TypeTobArchive:
        return ExtractTobArchive(state);
    case TypeRcIndex:
        return ExtractRcArchive(state, tweaks);
    case TypeRcImage:
    case TypeTob1Picture:
    case TypeTob1Video:
        return notImplemented(state);
    default:
        return Outcome::Nothing;
    }
}

Outcome dispatchBuild(AppState& state, quint8 type)
{
    QString reason;
    if (!RefreshBuildPane(state, &reason)) {
        state.showIoError(QStringLiteral("Cannot read the list file"), state.SrcFile[BuildPane].FPath, reason);
        return Outcome::Stopped;
    }
    switch (type) {
    case TypeTobList:
        return BuildTobArchive(state);
    case TypeRcList:
        return BuildRcIndex(state);
    case TypeJpeg:
    case TypeBik:
        return notImplemented(state);
    default:
        return Outcome::Nothing;
    }
}

// The start folder comes back however the run ends.
struct RestoreStartDir {
    const QString& dir;
    ~RestoreStartDir() { QDir::setCurrent(dir); }
};

} // namespace

PaneRun RunPaneOperation(AppState& state, int pane, const RcTweakModel& tweaks)
{
    RestoreStartDir restore{state.StartDir};
    PaneRun run;
    state.StartTime = state.clock.secondsSinceMidnight();
    state.lstSrcFiles[pane].clear();
    try {
        run.type = QualifySrcFile(state, state.SrcFile[pane].FPath, state.SrcFile[pane].FExt);
        if (run.type == TypeUnknown) {
            state.show(QStringLiteral("Unknown source file format"), QString(), MsgIcon::Exclamation);
            run.outcome = Outcome::Stopped;
        } else if (pane == BuildPane) {
            run.outcome = dispatchBuild(state, run.type);
        } else {
            run.outcome = dispatchExtract(state, run.type, tweaks);
        }
    } catch (const std::exception& error) {
        state.show(QStringLiteral("The operation stopped on an error: ") + QString::fromLocal8Bit(error.what()),
                   QStringLiteral("ERROR"), MsgIcon::Critical);
        run.outcome = Outcome::Stopped;
    }
    return run;
}

} // namespace tobx

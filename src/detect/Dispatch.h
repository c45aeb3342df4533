// SPDX-License-Identifier: MIT
#pragma once
// What a pane's Go button does: stamp the start time, empty the pane's result
// list, type the source, run the operation that belongs to that type in that
// pane, and restore the start folder whatever happens.

#include "core/AppState.h"

namespace tobx {

class RcTweakModel;

struct PaneRun {
    Outcome outcome = Outcome::Nothing;
    quint8 type = 0; // the detected FType
};

PaneRun RunPaneOperation(AppState& state, int pane, const RcTweakModel& tweaks);

} // namespace tobx

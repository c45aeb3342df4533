#pragma once
#include "core/AppState.h"

namespace tobx {

// Builds a new Rollcage index from the Build pane's list file.
Outcome BuildRcIndex(AppState& state);

} // namespace tobx

// SPDX-License-Identifier: MIT
#pragma once
#include "core/AppState.h"

namespace tobx {

// Builds a Tobrava II archive from the Build pane's list file.
Outcome BuildTobArchive(AppState& state);

} // namespace tobx

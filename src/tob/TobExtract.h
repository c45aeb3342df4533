// SPDX-License-Identifier: MIT
#pragma once
#include "core/AppState.h"

namespace tobx {

// Unpacks the Extract pane's Tobrava II archive into its destination folder and
// writes the list file that names every entry.
Outcome ExtractTobArchive(AppState& state);

} // namespace tobx

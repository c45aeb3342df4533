#pragma once
#include "core/AppState.h"

namespace tobx {

class RcTweakModel;

// Extracts the Extract pane's Rollcage index and image pair into entry files
// and an annotated list file, with the tweak redirects chosen in `tweaks`.
Outcome ExtractRcArchive(AppState& state, const RcTweakModel& tweaks);

} // namespace tobx

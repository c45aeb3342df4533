#pragma once
#include "core/AppState.h"

namespace tobx {

// The converter's file step: restores the JFIF prefix of the Tobrava I picture
// chosen in its dialog (full path and bare name) into a ".jpg" beside it.
Outcome ConvertTob1Picture(AppState& state, const QString& chosenPath, const QString& bareName);

} // namespace tobx

// SPDX-License-Identifier: MIT
#pragma once
// The one line of feedback that every run leaves in its pane's status line,
// beside the messages the operation showed itself: what was written, or why
// nothing was.

#include "core/AppState.h"
#include "detect/Dispatch.h"

#include <QString>

namespace tobx {

// After a pane's Go button: from the run's outcome and type, the pane's
// output name and result list.
QString PaneRunFeedback(const AppState& state, int pane, const PaneRun& run);

// After the Tobrava I converter, for the picture chosen in its dialog.
QString ConverterFeedback(Outcome outcome, const QString& chosenName);

} // namespace tobx

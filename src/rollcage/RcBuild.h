// SPDX-License-Identifier: MIT
#pragma once
#include "RcFormat.h"
#include "core/AppState.h"

#include <QList>

#include <optional>

namespace tobx {

// The index a list's rows make, each row taking the record of the row its
// redirect names; nothing, after the message, when a row cannot be built.
std::optional<QByteArray> RcIndexFromRows(AppState& state, const QList<RcRow>& rows);

// Builds a new Rollcage index from the Build pane's list file.
Outcome BuildRcIndex(AppState& state);

} // namespace tobx

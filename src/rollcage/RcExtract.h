// SPDX-License-Identifier: MIT
#pragma once
#include "RcFormat.h"
#include "core/AppState.h"

#include <QList>

#include <optional>

namespace tobx {

class RcTweakModel;

// The rows an extraction lists for an index held in memory, and the record
// each row received (none for a row the index does not fill).
struct RcEntryTable {
    QList<RcRow> rows;
    QList<std::optional<RcRecord>> records;
    qsizetype recordsLeftOut = 0; // semi-full records that land beyond the last row
};

// One row per record of the index, or the 290 rows of the semi-full
// conversion, with the catalogue's columns and the redirects of the tweaks
// chosen in `tweaks` when state.UseTweaks is set.
RcEntryTable BuildRcEntryTable(AppState& state, const RcTweakModel& tweaks, const QByteArray& index);

// The list text of a table, named after the Extract pane's source; every row
// also goes to the Extract pane's result list.
QByteArray RcListText(AppState& state, const RcEntryTable& table);

// Extracts the Extract pane's Rollcage index and image pair into entry files
// and an annotated list file, with the tweak redirects chosen in `tweaks`.
Outcome ExtractRcArchive(AppState& state, const RcTweakModel& tweaks);

} // namespace tobx

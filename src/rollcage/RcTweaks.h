// SPDX-License-Identifier: MIT
#pragma once
// The predefined Rollcage Stage II tweaks. A tweak only fills the redirect
// column of a list row: "-" for none, or the number of the row whose index
// record the rebuilt index puts in this row's place. The choices are read from
// the tweaks model at the moment of the call; a closed model means no tweak.

#include <QByteArray>
#include <QtGlobal>

namespace tobx {

class RcTweakModel;

// The redirect of every tweak but the semi-full conversion, for a row of the
// list as it is numbered (demo or full).
QByteArray RcTweakRedirect(const RcTweakModel& tweaks, qint16 row);

// The track swaps of a demo list: the chosen track takes the slot of Ventura:
// Knock Down, the chosen scramble track the slot of Outworld: Full Force.
QByteArray RcTrackSwap(const RcTweakModel& tweaks, qint16 demoRow);

// The loading screens of a full list show credits pictures.
QByteArray RcCreditsAsLoading(const RcTweakModel& tweaks, qint16 fullRow);

// The semi-full conversion: a row the demo lacks shows demo content.
QByteArray RcSemiFullRedirect(const RcTweakModel& tweaks, qint16 fullRow);

} // namespace tobx

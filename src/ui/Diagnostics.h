// SPDX-License-Identifier: MIT
#pragma once
// Texts of the main window that are built rather than typed: the caption with
// the version, the path dump of a pane and the about box.

#include "core/AppState.h"

#include <QString>

namespace tobx {

// The caption as designed, before the version is appended.
inline constexpr const char* kDesignedCaption = "Tobrava  II Extractor - WIP";
inline constexpr const char* kAboutTitle = "Nothing Fancy... Just About Message Box";

// caption + " v" + major.minor.patch, plain decimals.
QString VersionedCaption(const QString& caption, int major, int minor, int patch);

// "Show Paths " + pane.
QString PathDumpTitle(int pane);
// The pane's path records next to the texts of its path fields, then the
// legend of the type codes; every line ends in '\n'.
QString PathDumpText(const AppState& state, int pane, const QString& srcPathText, const QString& dstPathText);

// The about box: the caption followed by the notice, then what the program does.
QString AboutText(const QString& caption, const QString& notice);

} // namespace tobx

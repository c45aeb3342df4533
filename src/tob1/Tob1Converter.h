// SPDX-License-Identifier: MIT
#pragma once
#include "core/AppState.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace tobx {

// The converter's file step: restores the JFIF prefix of the Tobrava I picture
// chosen in its dialog (full path and bare name) into a ".jpg" beside it.
Outcome ConvertTob1Picture(AppState& state, const QString& chosenPath, const QString& bareName);

// The pieces of that step that need no file, so that they can be tried on
// bytes in memory. The refusal of a chosen name and size, or an empty text:
QString Tob1Refusal(const QString& bareName, double size);
// The output path: the chosen path with "jpg" in place of its last three characters.
QString Tob1OutputPath(const QString& chosenPath);
// The restored picture: the JFIF prefix, then the picture's bytes unchanged.
QByteArray Tob1ToJpeg(const AppState& state, QByteArrayView picture);

} // namespace tobx

// SPDX-License-Identifier: MIT
#pragma once
// Measures and fonts of both windows. The layouts are given in pixels (the
// main window) and twips (the tweaks dialog); the font is the application's
// own, at a size at which every caption fits its control.

#include <QFont>
#include <QRect>

class QWidget;

namespace tobx {

// Twips (1/1440 inch) to pixels at 15 twips a pixel, rounded to the nearest.
constexpr int Twips(int twips)
{
    return (twips * 2 + 15) / 30;
}

// True when every caption of the form's controls (buttons, check boxes,
// option buttons, frame titles) fits inside its control in font.
bool CaptionsFit(const QWidget* form, const QFont& font);

// The application's font at the largest size, not above its own, at which
// the form's captions fit; when they fit at no readable size, the narrower
// width of the same family is tried as well. Call it once the controls are
// placed.
QFont FittingFont(const QWidget* form);

// The top-left corner that keeps a window of the wanted place inside area:
// moved back just enough where it would stick out, to the area's left or top
// edge when it is larger than the area.
QPoint PlaceInside(const QRect& wanted, const QRect& area);

} // namespace tobx

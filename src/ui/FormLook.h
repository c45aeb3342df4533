#pragma once
// Measures and the font shared by both windows. The layouts are fixed in
// pixels (the main window) and twips (the tweaks dialog); the font is chosen
// narrow enough that every caption fits its control.

#include <QFont>

namespace tobx {

// Twips (1/1440 inch) to pixels at 15 twips a pixel, rounded to the nearest.
constexpr int Twips(int twips)
{
    return (twips * 2 + 15) / 30;
}

// The font of both windows' controls.
QFont FormFont();

} // namespace tobx

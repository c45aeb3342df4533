// SPDX-License-Identifier: MIT
#pragma once
class QWidget;

namespace tobx {

// Keeps a window above all other windows (onTop) or returns it to the normal
// order. The window manager may refuse; the window then simply works in the
// normal order, and nothing is reported.
void StayOnTop(QWidget* window, bool onTop) noexcept;

// A window that stays above all others (the tweaks dialog) while it is shown.
QWidget* ShownStayOnTopWindow();
bool StayOnTopWindowShown();

// A dialog about to open joins the stay-on-top band while such a window is
// shown, and is stacked above it, so that the window does not cover the
// dialog's buttons.
void KeepAboveStayOnTopWindows(QWidget* dialog);

} // namespace tobx

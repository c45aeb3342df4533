#pragma once
class QWidget;

namespace tobx {

// Keeps a window above all other windows (onTop) or returns it to the normal
// order. The window manager may refuse; the window then simply works in the
// normal order, and nothing is reported.
void StayOnTop(QWidget* window, bool onTop) noexcept;

} // namespace tobx

// SPDX-License-Identifier: MIT
#pragma once
#include <QIcon>

namespace tobx {

// The program's icon: an archive crate with an arrow leaving it, the same
// picture the desktop entry shows, at every size a window manager asks for.
QIcon AppIcon();

} // namespace tobx

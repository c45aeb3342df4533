// SPDX-License-Identifier: MIT
#include "AppIcon.h"

namespace tobx {

QIcon AppIcon()
{
    // Rendered at build time from data/icons, one PNG per size, so that a
    // window manager picks a picture drawn for its size instead of scaling one.
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace tobx

#include "StayOnTop.h"

#include <QWidget>

namespace tobx {

void StayOnTop(QWidget* window, bool onTop) noexcept
{
    if (!window)
        return;
    try {
        if (window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) != onTop) {
            // Changing the flags of a shown window hides it; show it again
            // where it was.
            const bool shown = window->isVisible();
            window->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
            if (shown)
                window->show();
        }
        if (window->isVisible())
            window->raise();
    } catch (...) {
        // The window keeps the normal order.
    }
}

} // namespace tobx

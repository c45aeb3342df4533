#include "StayOnTop.h"

#include <QApplication>
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

bool StayOnTopWindowShown()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (const QWidget* window : windows)
        if (window->isVisible() && window->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
            return true;
    return false;
}

void KeepAboveStayOnTopWindows(QWidget* dialog)
{
    if (dialog && !dialog->isVisible() && StayOnTopWindowShown())
        dialog->setWindowFlag(Qt::WindowStaysOnTopHint, true);
}

} // namespace tobx

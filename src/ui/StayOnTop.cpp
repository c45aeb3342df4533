// SPDX-License-Identifier: MIT
#include "StayOnTop.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWindow>
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

QWidget* ShownStayOnTopWindow()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows)
        if (window->isVisible() && window->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
            return window;
    return nullptr;
}

bool StayOnTopWindowShown()
{
    return ShownStayOnTopWindow() != nullptr;
}

namespace {

// Window managers keep a dialog with the window it belongs to (the main
// window), below a stay-on-top window shown earlier; as a dialog of the
// stay-on-top window it is stacked above that one.
class StackAboveWhenShown final : public QObject {
public:
    StackAboveWhenShown(QWidget* dialog, QWidget* onTop)
        : QObject(dialog)
        , m_onTop(onTop)
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* dialog = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Show && dialog && m_onTop && m_onTop->isVisible()
            && dialog->windowHandle() && m_onTop->windowHandle())
            dialog->windowHandle()->setTransientParent(m_onTop->windowHandle());
        return false;
    }

private:
    QPointer<QWidget> m_onTop;
};

} // namespace

void KeepAboveStayOnTopWindows(QWidget* dialog)
{
    QWidget* onTop = ShownStayOnTopWindow();
    if (!dialog || dialog->isVisible() || !onTop || onTop == dialog)
        return;
    dialog->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    dialog->installEventFilter(new StackAboveWhenShown(dialog, onTop));
}

} // namespace tobx

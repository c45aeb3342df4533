// SPDX-License-Identifier: MIT
#pragma once
// Runs the window's operations on a worker thread, one at a time, while the
// window's own thread goes on painting and answering. The operation works on
// a copy of the window's state taken when it starts; its message boxes are
// shown on the window's thread, its result lines reach the list boxes there,
// and what it leaves (the start time, the output paths, the result list)
// comes back into the window's state when it ends. Meanwhile the controls
// that would start another run or change the inputs of one are disabled.

#include "core/AppState.h"
#include "detect/Dispatch.h"

#include <QList>
#include <QObject>
#include <QPointer>

#include <array>
#include <functional>

class QWidget;

namespace tobx {

class CrossThreadMessageBox;
class ProgressDisplay;
class RcTweakModel;

class BackgroundRun final : public QObject {
    Q_OBJECT
public:
    // window: the main window, whose controls are found by their names;
    // views: what shows each pane's result list.
    BackgroundRun(QWidget* window, AppState& windowState, std::array<ResultListObserver*, 2> views);
    ~BackgroundRun() override;

    bool running() const { return m_running; }

    // Each returns when the operation has ended; the window's events are
    // handled meanwhile.
    PaneRun runPane(int pane, const RcTweakModel& tweaks);
    Outcome convert(const QString& chosenPath, const QString& bareName);

    // The user's cancel: the run stops at its next entry boundary.
    void cancel();

    // The window is about to close. Idle: true. During a run the user is
    // asked first; on Yes the run is cancelled and the window closes when it
    // has stopped. False while the window is to stay open for now.
    bool allowClose();

    ProgressDisplay* display() const { return m_display; }

private:
    void runOnWorker(const QString& title, AppState& run, const std::function<void()>& work);
    void disableInputs();
    void restoreInputs();

    QWidget* m_window;
    AppState& m_windowState;
    std::array<ResultListObserver*, 2> m_views;
    CrossThreadMessageBox* m_messages;
    ProgressDisplay* m_display;
    CancelFlag m_cancel;
    bool m_running = false;
    bool m_closeWhenStopped = false;
    QList<QPointer<QWidget>> m_disabled;
};

} // namespace tobx

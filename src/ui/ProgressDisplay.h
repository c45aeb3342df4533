// SPDX-License-Identifier: MIT
#pragma once
// The progress of a run on the worker thread, in a small window of its own
// beside the main window: a bar, the current entry's name, the counts, the
// rate and the time left, and a Cancel button. It shows only once a run has
// lasted kShowAfterMs, so that short runs do not flicker. Not modal: the main
// window stays visible, movable and painted underneath.

#include "core/Progress.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>

class QLabel;
class QProgressBar;
class QPushButton;

namespace tobx {

class ProgressDisplay final : public QDialog, public ProgressSink {
    Q_OBJECT
public:
    static constexpr int kShowAfterMs = 300;

    explicit ProgressDisplay(QWidget* window);

    // A run begins (title: what it does) and ends; on the window's thread.
    void begin(const QString& title);
    void end();

    // From the run's thread.
    void progressed(const ProgressReport& report) override;

Q_SIGNALS:
    // The Cancel button, Esc, or the display's own close button.
    void cancelRequested();

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void showWhenDue();
    void showReport(const ProgressReport& report);
    void refresh();
    void requestCancel();

    QLabel* m_name = nullptr;
    QProgressBar* m_bar = nullptr;
    QLabel* m_counts = nullptr;
    QLabel* m_rate = nullptr;
    QPushButton* m_cancel = nullptr;
    QTimer m_showTimer;
    QElapsedTimer m_sinceBegin;
    ProgressReport m_last;
    bool m_running = false;
};

} // namespace tobx

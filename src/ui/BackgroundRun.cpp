// SPDX-License-Identifier: MIT
#include "BackgroundRun.h"

#include "CrossThreadMessageBox.h"
#include "ProgressDisplay.h"
#include "QueuedResultObserver.h"

#include "rollcage/RcTweakModel.h"
#include "tob1/Tob1Converter.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <exception>
#include <memory>
#include <utility>

namespace tobx {

namespace {

// The controls that start a run or change what a run reads. The path
// displays, the result lists, SP0/SP1, About and Exit stay usable.
const char* const kRunInputs[] = {
    "cmdSelectSrc_0", "cmdSelectSrc_1", "cmdGo_0",       "cmdGo_1",         "drvDst_0",       "drvDst_1",
    "dirDst_0",       "dirDst_1",       "cmdCreateDir_0", "cmdCreateDir_1", "cmdCopyPaths_0", "cmdCopyPaths_1",
    "chkUseTweaks",   "chkCreateLstOnly", "chkMoveFiles", "cmdTob1cnv",
};

const char* const kPaneTitles[2] = {"Extract", "Build"};

} // namespace

BackgroundRun::BackgroundRun(QWidget* window, AppState& windowState, std::array<ResultListObserver*, 2> views)
    : QObject(window)
    , m_window(window)
    , m_windowState(windowState)
    , m_views(views)
    , m_messages(new CrossThreadMessageBox(windowState.messages, this))
    , m_display(new ProgressDisplay(window))
{
    connect(m_display, &ProgressDisplay::cancelRequested, this, &BackgroundRun::cancel);
}

BackgroundRun::~BackgroundRun() = default;

PaneRun BackgroundRun::runPane(int pane, const RcTweakModel& tweaks)
{
    AppState run(*m_messages, m_windowState.clock);
    run.takeInputsFrom(m_windowState);
    QueuedResultObserver lines(m_views[pane]);
    run.lstSrcFiles[pane].setObserver(&lines);
    // The tweaks as chosen when the run starts; the dialog stays usable.
    RcTweakModel choices = tweaks;
    choices.changed = nullptr;
    PaneRun result;
    runOnWorker(QString::fromLatin1(kPaneTitles[pane]), run, [&] { result = RunPaneOperation(run, pane, choices); });
    lines.deliver();
    m_windowState.StartTime = run.StartTime;
    m_windowState.DstFile[pane] = run.DstFile[pane]; // the Build pane's output name, read afresh
    m_windowState.lstSrcFiles[pane].takeLines(run.lstSrcFiles[pane]);
    return result;
}

Outcome BackgroundRun::convert(const QString& chosenPath, const QString& bareName)
{
    AppState run(*m_messages, m_windowState.clock);
    run.takeInputsFrom(m_windowState);
    Outcome outcome = Outcome::Nothing;
    runOnWorker(QStringLiteral("Tobrava I Converter"), run,
                [&] { outcome = ConvertTob1Picture(run, chosenPath, bareName); });
    return outcome;
}

void BackgroundRun::cancel()
{
    if (m_running)
        m_cancel.request();
}

bool BackgroundRun::allowClose()
{
    if (!m_running)
        return true;
    if (m_closeWhenStopped)
        return false; // asked already; the run is stopping
    const MsgResult answer = m_windowState.show(
        QStringLiteral("An operation is still running.\nStop it at the next entry and close the window?"),
        QString(), MsgIcon::Question, MsgButtons::YesNo, MsgResult::No);
    if (answer == MsgResult::Yes && m_running) {
        m_closeWhenStopped = true;
        cancel();
    }
    return !m_running;
}

void BackgroundRun::runOnWorker(const QString& title, AppState& run, const std::function<void()>& work)
{
    m_cancel.reset();
    run.progress.attach(m_display, &m_cancel);
    m_messages->setProgress(&run.progress);
    std::exception_ptr failure;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
    }));
    QEventLoop loop;
    connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    m_running = true;
    disableInputs();
    m_display->begin(title);
    worker->start();
    loop.exec();
    // The loop also ends when the application quits; the run must still stop
    // before its state goes, and may need this thread for a box meanwhile.
    while (!worker->isFinished()) {
        m_cancel.request();
        QCoreApplication::processEvents();
        worker->wait(20);
    }
    worker->wait();
    m_messages->setProgress(nullptr);
    m_display->end();
    restoreInputs();
    m_running = false;
    if (std::exchange(m_closeWhenStopped, false))
        QTimer::singleShot(0, m_window, &QWidget::close);
    if (failure)
        std::rethrow_exception(failure);
}

void BackgroundRun::disableInputs()
{
    m_disabled.clear();
    for (const char* name : kRunInputs) {
        QWidget* control = m_window->findChild<QWidget*>(QString::fromLatin1(name));
        if (control && control->isEnabled()) {
            control->setEnabled(false);
            m_disabled.append(control);
        }
    }
}

void BackgroundRun::restoreInputs()
{
    for (const QPointer<QWidget>& control : std::as_const(m_disabled))
        if (control)
            control->setEnabled(true);
    m_disabled.clear();
}

} // namespace tobx

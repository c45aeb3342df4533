// SPDX-License-Identifier: MIT
#include "ProgressDisplay.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace tobx {

namespace {
constexpr int kWidth = 380;
// While a message box of the run is open, the display waits behind it.
constexpr int kRetryMs = 100;
} // namespace

ProgressDisplay::ProgressDisplay(QWidget* window)
    : QDialog(window)
{
    setObjectName(QStringLiteral("progressDisplay"));
    setModal(false);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setMinimumWidth(kWidth);

    m_name = new QLabel(this);
    m_name->setObjectName(QStringLiteral("lblProgressName"));
    m_name->setMinimumWidth(kWidth - 30);
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("barProgress"));
    m_bar->setRange(0, 100);
    m_counts = new QLabel(this);
    m_counts->setObjectName(QStringLiteral("lblProgressCounts"));
    m_rate = new QLabel(this);
    m_rate->setObjectName(QStringLiteral("lblProgressRate"));
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("cmdProgressCancel"));
    connect(m_cancel, &QPushButton::clicked, this, &ProgressDisplay::requestCancel);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_name);
    layout->addWidget(m_bar);
    layout->addWidget(m_counts);
    layout->addWidget(m_rate);
    layout->addLayout(buttons);
    // Neither resized nor maximised: it holds a few lines only.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_showTimer.setSingleShot(true);
    connect(&m_showTimer, &QTimer::timeout, this, &ProgressDisplay::showWhenDue);
}

void ProgressDisplay::begin(const QString& title)
{
    setWindowTitle(title);
    m_last = ProgressReport();
    m_running = true;
    m_cancel->setEnabled(true);
    m_cancel->setText(QStringLiteral("Cancel"));
    m_sinceBegin.start();
    refresh();
    m_showTimer.start(kShowAfterMs);
}

void ProgressDisplay::end()
{
    m_running = false;
    m_showTimer.stop();
    hide();
}

void ProgressDisplay::progressed(const ProgressReport& report)
{
    // Addressed to the display, so that nothing arrives once it is gone.
    QMetaObject::invokeMethod(this, [this, report] { showReport(report); }, Qt::QueuedConnection);
}

void ProgressDisplay::showWhenDue()
{
    if (!m_running)
        return;
    if (QApplication::activeModalWidget()) {
        m_showTimer.start(kRetryMs);
        return;
    }
    refresh();
    if (auto* window = parentWidget()) {
        // Centred over the main window, which stays in sight around it.
        adjustSize();
        move(window->frameGeometry().center() - QPoint(width() / 2, height() / 2));
    }
    show();
}

void ProgressDisplay::showReport(const ProgressReport& report)
{
    if (!m_running)
        return;
    m_last = report;
    if (isVisible())
        refresh();
}

void ProgressDisplay::refresh()
{
    const QLocale locale;
    const ProgressFigures figures = FiguresFor(m_last, double(m_sinceBegin.elapsed()) / 1000);
    m_bar->setValue(figures.percent);
    const QString name = m_last.currentName.isEmpty() ? QStringLiteral(" ") : m_last.currentName;
    m_name->setText(m_name->fontMetrics().elidedText(name, Qt::ElideMiddle, kWidth - 30));
    m_name->setToolTip(m_last.currentName);
    QString counts = QStringLiteral("Entries: %1 of %2").arg(locale.toString(m_last.entriesDone), locale.toString(m_last.entriesTotal));
    if (m_last.bytesTotal > 0)
        counts += QStringLiteral("    %1 of %2").arg(FormatBytes(double(m_last.bytesDone)), FormatBytes(double(m_last.bytesTotal)));
    m_counts->setText(counts);
    if (figures.secondsLeft < 0) {
        m_rate->setText(QStringLiteral("Starting..."));
        return;
    }
    const QString rate = m_last.bytesTotal > 0 ? FormatBytes(figures.bytesPerSecond) + QStringLiteral("/s")
                                               : QStringLiteral("%1 entries/s").arg(qint64(figures.entriesPerSecond));
    m_rate->setText(rate + QStringLiteral(", about ") + FormatDuration(figures.secondsLeft) + QStringLiteral(" left"));
}

void ProgressDisplay::requestCancel()
{
    if (!m_running || !m_cancel->isEnabled())
        return;
    m_cancel->setEnabled(false);
    m_cancel->setText(QStringLiteral("Cancelling..."));
    Q_EMIT cancelRequested();
}

void ProgressDisplay::reject()
{
    requestCancel();
}

void ProgressDisplay::closeEvent(QCloseEvent* event)
{
    requestCancel();
    event->ignore();
}

} // namespace tobx

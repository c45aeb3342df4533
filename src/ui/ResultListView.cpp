// SPDX-License-Identifier: MIT
#include "ResultListView.h"

#include <QItemSelection>
#include <QItemSelectionModel>
#include <QListWidget>
#include <QTimer>

#include <iterator>
#include <map>
#include <utility>

namespace tobx {

namespace {
// How often a running operation's lines are painted.
constexpr qint64 kRepaintMs = 250;
} // namespace

ResultListView::ResultListView(QListWidget* list)
    : m_list(list)
{
    m_sinceRepaint.start();
}

void ResultListView::cleared()
{
    m_texts.clear();
    m_highlights.clear();
    m_list->clear();
}

void ResultListView::appended(qsizetype, const QString& text)
{
    m_texts.append(text);
    gathered();
}

void ResultListView::selectionChanged(qsizetype row, bool selected)
{
    m_highlights.append({row, selected});
    gathered();
}

void ResultListView::gathered()
{
    // Runs as soon as the event loop gets control again: after the operation,
    // or while it waits in a message box.
    if (!m_flushScheduled) {
        m_flushScheduled = true;
        QTimer::singleShot(0, m_list, [this] { flush(); });
    }
    if (m_sinceRepaint.elapsed() >= kRepaintMs) {
        flush();
        m_list->repaint();
        m_sinceRepaint.restart();
    }
}

void ResultListView::flush()
{
    m_flushScheduled = false;
    if (!m_texts.isEmpty()) {
        m_list->addItems(m_texts);
        m_texts.clear();
        // Each new line is brought into view as it comes.
        m_list->scrollToBottom();
    }
    if (m_highlights.isEmpty())
        return;
    // Only the last state of a row counts (an extraction selects, deselects
    // and selects again each line). Neighbouring rows with the same state go
    // in as one range: a selection made of single rows grows too slowly with
    // tens of thousands of lines.
    std::map<qsizetype, bool> last;
    for (const Highlight& h : std::as_const(m_highlights))
        last[h.row] = h.selected;
    m_highlights.clear();
    const QAbstractItemModel* model = m_list->model();
    const qsizetype rows = model->rowCount();
    QItemSelection select;
    QItemSelection deselect;
    auto it = last.begin();
    while (it != last.end()) {
        const qsizetype first = it->first;
        const bool selected = it->second;
        qsizetype end = first;
        auto next = std::next(it);
        while (next != last.end() && next->first == end + 1 && next->second == selected) {
            end = next->first;
            ++next;
        }
        if (first >= 0 && end < rows)
            (selected ? select : deselect).append(QItemSelectionRange(model->index(int(first), 0), model->index(int(end), 0)));
        it = next;
    }
    // One call each: every call compares the whole selection before and after.
    QItemSelectionModel* selection = m_list->selectionModel();
    if (!deselect.isEmpty())
        selection->select(deselect, QItemSelectionModel::Deselect);
    if (!select.isEmpty())
        selection->select(select, QItemSelectionModel::Select);
}

} // namespace tobx

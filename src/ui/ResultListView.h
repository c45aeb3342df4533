// SPDX-License-Identifier: MIT
#pragma once
// Mirrors a pane's result list in its list box while an operation fills it.
// Operations run without returning to the event loop and may add tens of
// thousands of lines, so lines and highlights are gathered and handed to the
// list box in batches: when the operation returns, when it pauses in a message
// box, and now and then in between with a repaint so that progress shows.

#include "core/ResultList.h"

#include <QElapsedTimer>
#include <QList>
#include <QStringList>

class QListWidget;

namespace tobx {

class ResultListView final : public ResultListObserver {
public:
    explicit ResultListView(QListWidget* list);

    void cleared() override;
    void appended(qsizetype row, const QString& text) override;
    void selectionChanged(qsizetype row, bool selected) override;

    // Hands everything gathered to the list box.
    void flush();

private:
    void gathered();

    QListWidget* m_list;
    QStringList m_texts;
    struct Highlight {
        qsizetype row;
        bool selected;
    };
    QList<Highlight> m_highlights;
    bool m_flushScheduled = false;
    QElapsedTimer m_sinceRepaint;
};

} // namespace tobx

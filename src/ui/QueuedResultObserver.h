// SPDX-License-Identifier: MIT
#pragma once
// Carries what an operation on the worker thread does to a result list over
// to the window's thread, where the list box's own observer sees it in the
// same order. Changes are gathered and delivered in batches, as soon as the
// window's event loop gets to them.

#include "core/ResultList.h"

#include <QList>
#include <QMutex>
#include <QObject>
#include <QString>

namespace tobx {

class QueuedResultObserver final : public QObject, public ResultListObserver {
    Q_OBJECT
public:
    // Created on the window's thread; `target` is only called there.
    explicit QueuedResultObserver(ResultListObserver* target, QObject* parent = nullptr);

    void cleared() override;
    void appended(qsizetype row, const QString& text) override;
    void selectionChanged(qsizetype row, bool selected) override;

    // Hands everything gathered to the target now; on the window's thread.
    void deliver();

private:
    enum class Kind { Cleared, Appended, Selection };
    struct Change {
        Kind kind;
        qsizetype row = 0;
        QString text;
        bool selected = false;
    };
    void gather(Change change);

    ResultListObserver* m_target;
    QMutex m_mutex;
    QList<Change> m_pending;
    bool m_scheduled = false;
};

} // namespace tobx

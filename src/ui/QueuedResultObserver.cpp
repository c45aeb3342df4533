// SPDX-License-Identifier: MIT
#include "QueuedResultObserver.h"

#include <QMutexLocker>
#include <QThread>

#include <utility>

namespace tobx {

QueuedResultObserver::QueuedResultObserver(ResultListObserver* target, QObject* parent)
    : QObject(parent)
    , m_target(target)
{
}

void QueuedResultObserver::cleared()
{
    gather({Kind::Cleared, 0, QString(), false});
}

void QueuedResultObserver::appended(qsizetype row, const QString& text)
{
    gather({Kind::Appended, row, text, false});
}

void QueuedResultObserver::selectionChanged(qsizetype row, bool selected)
{
    gather({Kind::Selection, row, QString(), selected});
}

void QueuedResultObserver::gather(Change change)
{
    QMutexLocker lock(&m_mutex);
    m_pending.append(std::move(change));
    if (m_scheduled)
        return;
    m_scheduled = true;
    // Addressed to this object, so that a delivery still queued when it is
    // gone is dropped with it.
    QMetaObject::invokeMethod(this, [this] { deliver(); }, Qt::QueuedConnection);
}

void QueuedResultObserver::deliver()
{
    Q_ASSERT(QThread::currentThread() == thread());
    QList<Change> changes;
    {
        QMutexLocker lock(&m_mutex);
        changes.swap(m_pending);
        m_scheduled = false;
    }
    if (!m_target)
        return;
    for (const Change& change : std::as_const(changes)) {
        switch (change.kind) {
        case Kind::Cleared:
            m_target->cleared();
            break;
        case Kind::Appended:
            m_target->appended(change.row, change.text);
            break;
        case Kind::Selection:
            m_target->selectionChanged(change.row, change.selected);
            break;
        }
    }
}

} // namespace tobx

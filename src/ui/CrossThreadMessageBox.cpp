// SPDX-License-Identifier: MIT
#include "CrossThreadMessageBox.h"

#include <QThread>

#include <exception>

namespace tobx {

CrossThreadMessageBox::CrossThreadMessageBox(MessageBox& shown, QObject* parent)
    : QObject(parent)
    , m_shown(shown)
{
}

MsgResult CrossThreadMessageBox::show(const Message& message)
{
    if (QThread::currentThread() == thread())
        return m_shown.show(message);
    if (m_progress)
        m_progress->reportNow();
    MsgResult answer = message.defaultButton;
    // What the box throws reaches the operation, as if it had been shown on
    // the operation's own thread; Qt's event loop must not see it.
    std::exception_ptr failure;
    QMetaObject::invokeMethod(
        this,
        [&] {
            try {
                answer = m_shown.show(message);
            } catch (...) {
                failure = std::current_exception();
            }
        },
        Qt::BlockingQueuedConnection);
    if (failure)
        std::rethrow_exception(failure);
    return answer;
}

} // namespace tobx

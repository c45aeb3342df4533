// SPDX-License-Identifier: MIT
#pragma once
// The message box an operation on the worker thread talks to: every box is
// handed to the window's thread, shown there by the window's own message box
// (text, title, icon, buttons and default button as they are), and the
// worker waits for the button pressed.

#include "core/MessageBox.h"
#include "core/Progress.h"

#include <QObject>

namespace tobx {

class CrossThreadMessageBox final : public QObject, public MessageBox {
    Q_OBJECT
public:
    // Created on the window's thread; `shown` is called there only.
    explicit CrossThreadMessageBox(MessageBox& shown, QObject* parent = nullptr);
    MsgResult show(const Message& message) override;

    // The run whose boxes these are: it reports where it is before each box,
    // so that the progress display shows the entry being asked about.
    void setProgress(Progress* progress) { m_progress = progress; }

private:
    MessageBox& m_shown;
    Progress* m_progress = nullptr;
};

} // namespace tobx

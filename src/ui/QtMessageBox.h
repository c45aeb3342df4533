// SPDX-License-Identifier: MIT
#pragma once
// The core's message boxes shown as modal Qt message boxes.

#include "core/MessageBox.h"

class QWidget;

namespace tobx {

class QtMessageBox final : public MessageBox {
public:
    explicit QtMessageBox(QWidget* parent = nullptr)
        : m_parent(parent)
    {
    }
    void setParent(QWidget* parent) { m_parent = parent; }
    MsgResult show(const Message& message) override;

private:
    QWidget* m_parent;
};

} // namespace tobx

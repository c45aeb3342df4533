// SPDX-License-Identifier: MIT
#pragma once
// One line of feedback under a pane's result list: how the pane's last run
// ended. A text too long for the line is cut with an ellipsis; the whole
// text is the tooltip.

#include <QLabel>

namespace tobx {

class StatusLine : public QLabel {
    Q_OBJECT
public:
    explicit StatusLine(QWidget* parent = nullptr);

    void setMessage(const QString& message);
    QString message() const { return m_message; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void showElided();

    QString m_message;
};

} // namespace tobx

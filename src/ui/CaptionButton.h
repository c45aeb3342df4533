// SPDX-License-Identifier: MIT
#pragma once
// A push button whose caption wraps onto several lines when it is wider than
// the button, as the narrow buttons of the middle column need ("Tobrava I
// Converter" in 57 pixels).

#include <QPushButton>

namespace tobx {

class CaptionButton : public QPushButton {
    Q_OBJECT
public:
    explicit CaptionButton(const QString& caption, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace tobx

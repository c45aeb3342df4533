// SPDX-License-Identifier: MIT
#include "CaptionButton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace tobx {

CaptionButton::CaptionButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent)
{
}

void CaptionButton::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    // The style draws the bevel and focus frame; the caption is drawn here so
    // that it can wrap, which the style's own label never does.
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);

    QRect area = rect().adjusted(2, 2, -2, -2);
    if (isDown() || isChecked())
        area.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                       style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    int flags = Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;
    if (!style()->styleHint(QStyle::SH_UnderlineShortcut, &option, this))
        flags |= Qt::TextHideMnemonic;
    painter.drawItemText(area, flags, option.palette, isEnabled(), caption, QPalette::ButtonText);
}

} // namespace tobx

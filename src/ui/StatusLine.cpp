// SPDX-License-Identifier: MIT
#include "StatusLine.h"

#include <QEvent>
#include <QFontMetrics>

#include <algorithm>

namespace tobx {

StatusLine::StatusLine(QWidget* parent)
    : QLabel(parent)
{
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setIndent(2);
}

void StatusLine::setMessage(const QString& message)
{
    m_message = message;
    setToolTip(message);
    showElided();
}

void StatusLine::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    showElided();
}

void StatusLine::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        showElided();
}

void StatusLine::showElided()
{
    const int room = contentsRect().width() - 2 * indent();
    setText(fontMetrics().elidedText(m_message, Qt::ElideMiddle, std::max(room, 0)));
}

} // namespace tobx

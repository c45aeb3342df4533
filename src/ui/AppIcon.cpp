#include "AppIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace tobx {

namespace {

// Drawn on a 64 x 64 grid and scaled, so small sizes keep the same shapes.
void paintIcon(QPainter& p, int size)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);

    // Crate: front face, lid and side, with a band across.
    const QColor wood(0xC8, 0x8A, 0x3A);
    const QColor woodDark(0x8A, 0x55, 0x1E);
    const QColor outline(0x3B, 0x24, 0x0E);
    p.setPen(QPen(outline, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));

    QPainterPath lid;
    lid.moveTo(6, 26);
    lid.lineTo(18, 16);
    lid.lineTo(50, 16);
    lid.lineTo(38, 26);
    lid.closeSubpath();
    p.setBrush(wood.lighter(120));
    p.drawPath(lid);

    QPainterPath side;
    side.moveTo(38, 26);
    side.lineTo(50, 16);
    side.lineTo(50, 48);
    side.lineTo(38, 58);
    side.closeSubpath();
    p.setBrush(woodDark);
    p.drawPath(side);

    p.setBrush(wood);
    p.drawRect(QRectF(6, 26, 32, 32));
    p.setPen(QPen(outline, 1.5));
    p.drawLine(QPointF(6, 42), QPointF(38, 42));
    p.drawLine(QPointF(38, 42), QPointF(50, 32));

    // Arrow rising out of the crate, up and to the right.
    QPainterPath arrow;
    arrow.moveTo(20, 34);
    arrow.lineTo(40, 14);
    arrow.lineTo(34, 12);
    arrow.lineTo(56, 4);
    arrow.lineTo(48, 26);
    arrow.lineTo(46, 20);
    arrow.lineTo(26, 40);
    arrow.closeSubpath();
    p.setPen(QPen(QColor(0x14, 0x4D, 0x1C), 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(0x3C, 0xB0, 0x4A));
    p.drawPath(arrow);
}

} // namespace

QIcon AppIcon()
{
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paintIcon(painter, size);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace tobx

#include "app/handicon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

// Drawn on a 32-unit grid and scaled to the image size.
QPixmap drawHand(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);

    QPainterPath outline;
    outline.addRoundedRect(QRectF(9.5, 2.5, 5, 16), 2.5, 2.5); // index finger
    outline.addRoundedRect(QRectF(14.5, 10.5, 4.5, 8), 2.2, 2.2);
    outline.addRoundedRect(QRectF(19, 11.5, 4.5, 8), 2.2, 2.2);
    outline.addRoundedRect(QRectF(23.5, 12.5, 4, 8), 2, 2);
    outline.addRoundedRect(QRectF(9.5, 15.5, 18, 13), 4, 4); // palm
    QPainterPath thumb;
    thumb.addRoundedRect(QRectF(-2.5, -2, 5, 11), 2.5, 2.5);
    outline = outline.united(QTransform().translate(8.5, 17).rotate(-40).map(thumb)).simplified();

    // At least one whole pixel wide, so the small image keeps a solid outline.
    QPen pen(Qt::black, qMax(1.2, 32.0 / size), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::white);
    p.drawPath(outline);
    // Creases between the folded fingers.
    pen.setWidthF(qMax(1.0, 32.0 / size));
    p.setPen(pen);
    p.drawLine(QPointF(14.5, 11.5), QPointF(14.5, 14));
    p.drawLine(QPointF(19, 12.5), QPointF(19, 15));
    p.drawLine(QPointF(23.5, 13.5), QPointF(23.5, 16));
    p.end();
    return pixmap;
}

} // namespace

QIcon handIcon()
{
    QIcon icon;
    icon.addPixmap(drawHand(32));
    icon.addPixmap(drawHand(16));
    return icon;
}

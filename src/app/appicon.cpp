#include "app/appicon.h"

#include <QPainter>
#include <QPixmap>

void paintAppIcon(QPainter &p, int size)
{
    const qreal u = size / 32.0;
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 40, 40), qMax<qreal>(1.0, u)));
    p.setBrush(QColor(220, 220, 220));
    p.drawRoundedRect(QRectF(1.5 * u, 1.5 * u, 29 * u, 29 * u), 4 * u, 4 * u);
    const QColor bands[] = {QColor(10, 10, 10), QColor(0, 0, 238), QColor(85, 26, 139), QColor(238, 0, 0)};
    for (int i = 0; i < 4; ++i) {
        p.setPen(Qt::NoPen);
        p.setBrush(bands[i]);
        p.drawRect(QRectF(5 * u, (6 + 5.5 * i) * u, 22 * u, 3.5 * u));
    }
    p.setBrush(Qt::white);
    p.setPen(QPen(QColor(40, 40, 40), qMax<qreal>(1.0, u)));
    p.drawEllipse(QPointF(20 * u, 16.5 * u), 3.5 * u, 3.5 * u);
}

QIcon appIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paintAppIcon(painter, size);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

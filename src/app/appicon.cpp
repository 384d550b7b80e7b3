#include "app/appicon.h"

#include "color/colortargets.h"

#include <QPainter>
#include <QPixmap>

namespace {

QColor defaultColorOf(ColorTarget target)
{
    const color::Rgb c = targetInfo(target).defaultColor;
    return QColor(c.red, c.green, c.blue);
}

} // namespace

void paintAppIcon(QPainter &p, int size)
{
    const qreal u = size / 32.0;
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 40, 40), qMax<qreal>(1.0, u)));
    // A page in the default colors: the back color under a band of each other one.
    p.setBrush(defaultColorOf(ColorTarget::Back));
    p.drawRoundedRect(QRectF(1.5 * u, 1.5 * u, 29 * u, 29 * u), 4 * u, 4 * u);
    int band = 0;
    for (const ColorTargetInfo &info : colorTargets) {
        if (info.target == ColorTarget::Back)
            continue;
        p.setPen(Qt::NoPen);
        p.setBrush(defaultColorOf(info.target));
        p.drawRect(QRectF(5 * u, (6 + 5.5 * band++) * u, 22 * u, 3.5 * u));
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

#include "preview/previewbox.h"

#include <QMouseEvent>
#include <QPainter>

namespace {
constexpr qreal twipsPerPixel = 15.0;
}

PreviewBox::PreviewBox(QWidget *parent) : QWidget(parent)
{
    setAutoFillBackground(true);
}

void PreviewBox::setTiledPicture(const QPixmap &picture, const QList<Tile> &tiles)
{
    m_picture = picture;
    m_tiles = tiles;
    update();
}

void PreviewBox::clearPicture()
{
    m_picture = QPixmap();
    m_tiles.clear();
    update();
}

void PreviewBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit clicked();
    QWidget::mousePressEvent(event);
}

void PreviewBox::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    if (m_picture.isNull() || m_tiles.isEmpty())
        return;
    // The back color is already filled in; the tiles go over it, the labels over them.
    QPainter painter(this);
    painter.setClipRegion(event->region());
    const QRectF source(QPointF(0, 0), m_picture.size());
    for (const Tile &t : m_tiles) {
        const QRectF target(t.x / twipsPerPixel, t.y / twipsPerPixel, t.width / twipsPerPixel,
                            t.height / twipsPerPixel);
        if (target.intersects(rect()))
            painter.drawPixmap(target, m_picture, source);
    }
}

#include "preview/previewbox.h"

#include "platform/twips.h"

#include <QMouseEvent>
#include <QPainter>

PreviewBox::PreviewBox(QWidget *parent) : QWidget(parent)
{
    setAutoFillBackground(true);
}

void PreviewBox::setTiledPicture(const QPixmap &picture, QSize fullSize, const QList<Tile> &tiles)
{
    m_picture = picture;
    m_fullSize = fullSize;
    m_tiles = tiles;
    m_pattern = QPixmap();
    update();
}

void PreviewBox::clearPicture()
{
    m_picture = QPixmap();
    m_fullSize = QSize();
    m_tiles.clear();
    m_pattern = QPixmap();
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
    if (m_picture.isNull() || m_fullSize.isEmpty() || m_tiles.isEmpty())
        return;
    // The back color is already filled in; the tiles go over it, the labels over them.
    QPainter painter(this);
    painter.setClipRegion(event->region());
    // A picture with transparency is blended with the back color tile by tile;
    // an opaque one hides it wholly, so its tiles can be drawn ahead.
    if (m_picture.hasAlphaChannel()) {
        paintTiles(painter);
        return;
    }
    const qreal ratio = devicePixelRatioF();
    if (m_pattern.isNull() || m_pattern.devicePixelRatio() != ratio || m_pattern.deviceIndependentSize() != size()) {
        m_pattern = QPixmap(size() * ratio);
        m_pattern.setDevicePixelRatio(ratio);
        m_pattern.fill(Qt::transparent);
        QPainter pattern(&m_pattern);
        paintTiles(pattern);
    }
    painter.drawPixmap(0, 0, m_pattern);
}

void PreviewBox::paintTiles(QPainter &painter) const
{
    const QRectF source(QPointF(0, 0), m_picture.size());
    // The part's share of each tile: all of it when the part is the whole picture.
    const qreal shareX = static_cast<qreal>(m_picture.width()) / m_fullSize.width();
    const qreal shareY = static_cast<qreal>(m_picture.height()) / m_fullSize.height();
    constexpr auto twipsPerPixel = static_cast<qreal>(platform::twipsPerPixel);
    for (const Tile &t : m_tiles) {
        const QRectF target(t.x / twipsPerPixel, t.y / twipsPerPixel, t.width / twipsPerPixel * shareX,
                            t.height / twipsPerPixel * shareY);
        if (target.intersects(rect()))
            painter.drawPixmap(target, m_picture, source);
    }
}

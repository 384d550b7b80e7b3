#include "app/paintcache.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QStyleFactory>
#include <QStyleOption>

namespace {

// Whether a pixmap drawn ahead lands exactly as drawing in place would.
bool copyable(const QPainter *painter)
{
    const QPaintDevice *device = painter->device();
    const qreal ratio = device->devicePixelRatioF();
    return painter->opacity() == 1.0 && painter->compositionMode() == QPainter::CompositionMode_SourceOver
           && painter->worldTransform().type() <= QTransform::TxTranslate && ratio == qRound(ratio)
           && (device->devType() == QInternal::Widget || device->devType() == QInternal::Pixmap
               || device->devType() == QInternal::Image);
}

// Draws `draw(painter, rect at the origin)` through a pixmap kept under `key`.
template <class Draw> void drawCached(QPainter *painter, const QRect &rect, const QString &key, Draw draw)
{
    const qreal ratio = painter->device()->devicePixelRatioF();
    const QString fullKey = key + QStringLiteral("@%1").arg(ratio);
    QPixmap pixmap;
    if (!QPixmapCache::find(fullKey, &pixmap)) {
        pixmap = QPixmap(rect.size() * ratio);
        pixmap.setDevicePixelRatio(ratio);
        pixmap.fill(Qt::transparent);
        QPainter ahead(&pixmap);
        ahead.setRenderHints(painter->renderHints());
        ahead.setPen(painter->pen());
        ahead.setBrush(painter->brush());
        ahead.setFont(painter->font());
        draw(&ahead, QRect(QPoint(0, 0), rect.size()));
        ahead.end();
        QPixmapCache::insert(fullKey, pixmap);
    }
    painter->drawPixmap(rect.topLeft(), pixmap);
}

QString paletteKey(const QStyleOption *option)
{
    return QString::number(option->palette.cacheKey(), 16) + QLatin1Char('-')
           + QString::number(option->direction == Qt::RightToLeft);
}

} // namespace

PaintCacheStyle::PaintCacheStyle(QStyle *base) :
    QProxyStyle(base), m_caching(baseStyle()->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) == 0)
{
}

void PaintCacheStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                                    const QWidget *widget) const
{
    if (!m_caching || option->rect.isEmpty() || !copyable(painter)
        || (element != PE_IndicatorRadioButton && element != PE_PanelLineEdit)) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    QString key = QStringLiteral("dudovuvov-%1-%2-%3x%4-")
                      .arg(int(element))
                      .arg(int(option->state))
                      .arg(option->rect.width())
                      .arg(option->rect.height())
                  + paletteKey(option);
    if (element == PE_PanelLineEdit) {
        const auto *frame = qstyleoption_cast<const QStyleOptionFrame *>(option);
        if (frame == nullptr) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        key += QStringLiteral("-%1-%2-%3").arg(frame->lineWidth).arg(frame->midLineWidth).arg(int(frame->features));
        drawCached(painter, option->rect, key, [&](QPainter *ahead, const QRect &rect) {
            QStyleOptionFrame moved = *frame;
            moved.rect = rect;
            QProxyStyle::drawPrimitive(element, &moved, ahead, widget);
        });
        return;
    }
    drawCached(painter, option->rect, key, [&](QPainter *ahead, const QRect &rect) {
        QStyleOption moved = *option;
        moved.rect = rect;
        QProxyStyle::drawPrimitive(element, &moved, ahead, widget);
    });
}

void PaintCacheStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                                         const QWidget *widget) const
{
    const auto *bar = qstyleoption_cast<const QStyleOptionSlider *>(option);
    if (!m_caching || control != CC_ScrollBar || bar == nullptr || option->rect.isEmpty() || !copyable(painter)) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    // Drawn in the style's own order: the groove, which covers the whole
    // bar, then the handle, which follows the value, then the arrow buttons,
    // which cover the handle's end where it reaches them. The first and the
    // last come from the cache.
    const SubControls arrows = SC_ScrollBarAddLine | SC_ScrollBarSubLine | SC_ScrollBarFirst | SC_ScrollBarLast;
    auto layer = [&](SubControls parts) {
        QStyleOptionSlider only = *bar;
        only.subControls = bar->subControls & parts;
        only.activeSubControls = bar->activeSubControls & parts;
        return only;
    };
    auto cached = [&](QStyleOptionSlider only) {
        if (only.subControls == SC_None)
            return;
        const QString key = QStringLiteral("dudovuvov-bar-%1-%2-%3-%4x%5-%6-%7-%8-")
                                .arg(int(only.state))
                                .arg(int(only.subControls))
                                .arg(int(only.activeSubControls))
                                .arg(only.rect.width())
                                .arg(only.rect.height())
                                .arg(int(only.orientation))
                                .arg(int(only.sliderPosition <= only.minimum))
                                .arg(int(only.sliderPosition >= only.maximum))
                            + paletteKey(&only);
        drawCached(painter, only.rect, key, [&](QPainter *ahead, const QRect &rect) {
            only.rect = rect;
            QProxyStyle::drawComplexControl(control, &only, ahead, widget);
        });
    };
    cached(layer(SC_ScrollBarGroove));
    const QStyleOptionSlider moving = layer(~(SC_ScrollBarGroove | arrows));
    if (moving.subControls != SC_None)
        QProxyStyle::drawComplexControl(control, &moving, painter, widget);
    cached(layer(arrows));
}

void usePaintCache()
{
    QApplication::setStyle(new PaintCacheStyle(QStyleFactory::create(QApplication::style()->name())));
}

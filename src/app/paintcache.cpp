#include "app/paintcache.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QStyleFactory>
#include <QStyleOption>

#include <initializer_list>

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

// A cache key of whole numbers, four UTF-16 units each: built without any
// formatting, as it is on every repaint.
QString keyOf(std::initializer_list<qint64> parts)
{
    QString key(static_cast<qsizetype>(parts.size()) * 4, Qt::Uninitialized);
    QChar *out = key.data();
    for (const qint64 part : parts)
        for (int shift = 0; shift < 64; shift += 16)
            *out++ = QChar(static_cast<char16_t>(static_cast<quint64>(part) >> shift));
    return key;
}

qint64 paletteOf(const QStyleOption *option)
{
    return option->palette.cacheKey();
}

// Draws what `draw(painter)` draws inside `rect` through a pixmap kept under
// `key`: drawn there once, with `rect`'s top left at the pixmap's origin.
template <class Draw> void drawCached(QPainter *painter, const QRect &rect, QString key, Draw draw)
{
    const qreal ratio = painter->device()->devicePixelRatioF();
    key += keyOf({qRound(ratio), rect.width(), rect.height()});
    QPixmap pixmap;
    if (!QPixmapCache::find(key, &pixmap)) {
        pixmap = QPixmap(rect.size() * ratio);
        pixmap.setDevicePixelRatio(ratio);
        pixmap.fill(Qt::transparent);
        QPainter ahead(&pixmap);
        ahead.setRenderHints(painter->renderHints());
        ahead.setPen(painter->pen());
        ahead.setBrush(painter->brush());
        ahead.setFont(painter->font());
        ahead.translate(-rect.topLeft());
        draw(&ahead);
        ahead.end();
        QPixmapCache::insert(key, pixmap);
    }
    painter->drawPixmap(rect.topLeft(), pixmap);
}

enum class Part : qint64 { Radio = 1, LineEdit, Groove, Arrows, Handle };

} // namespace

PaintCacheStyle::PaintCacheStyle(QStyle *base) :
    QProxyStyle(base), m_caching(baseStyle()->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) == 0)
{
}

void PaintCacheStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                                    const QWidget *widget) const
{
    const auto *frame = qstyleoption_cast<const QStyleOptionFrame *>(option);
    const bool cacheable = (element == PE_IndicatorRadioButton || (element == PE_PanelLineEdit && frame != nullptr));
    if (!m_caching || !cacheable || option->rect.isEmpty() || !copyable(painter)) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    const QString key =
        element == PE_IndicatorRadioButton
            ? keyOf({qint64(Part::Radio), option->state.toInt(), paletteOf(option), option->direction})
            : keyOf({qint64(Part::LineEdit), option->state.toInt(), paletteOf(option), option->direction,
                     frame->lineWidth, frame->midLineWidth, frame->features.toInt()});
    drawCached(painter, option->rect, key,
               [&](QPainter *ahead) { QProxyStyle::drawPrimitive(element, option, ahead, widget); });
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
    // bar, then the handle, then the arrow buttons, which cover the handle's
    // end where it reaches them. The handle looks the same wherever it is,
    // so it is kept by its size, not its place.
    const SubControls arrows = SC_ScrollBarAddLine | SC_ScrollBarSubLine | SC_ScrollBarFirst | SC_ScrollBarLast;
    auto layer = [&](SubControls parts) {
        QStyleOptionSlider only = *bar;
        only.subControls = bar->subControls & parts;
        only.activeSubControls = bar->activeSubControls & parts;
        return only;
    };
    auto cached = [&](Part part, const QStyleOptionSlider &only, const QRect &rect) {
        if (only.subControls == SC_None || rect.isEmpty())
            return;
        const QString key =
            keyOf({qint64(part), only.state.toInt(), only.subControls.toInt(), only.activeSubControls.toInt(),
                   only.orientation, paletteOf(&only), only.direction, only.rect.width(), only.rect.height(),
                   only.sliderPosition <= only.minimum, only.sliderPosition >= only.maximum});
        drawCached(painter, rect, key,
                   [&](QPainter *ahead) { QProxyStyle::drawComplexControl(control, &only, ahead, widget); });
    };
    cached(Part::Groove, layer(SC_ScrollBarGroove), bar->rect);
    const QStyleOptionSlider handle = layer(SC_ScrollBarSlider);
    QStyleOptionSlider atStart = handle;
    // The handle's own picture does not depend on where it is.
    atStart.sliderPosition = atStart.minimum;
    atStart.sliderValue = atStart.minimum;
    const QRect handleRect = subControlRect(control, bar, SC_ScrollBarSlider, widget);
    const QRect handleAtStart = subControlRect(control, &atStart, SC_ScrollBarSlider, widget);
    if (handleRect.size() == handleAtStart.size())
        // With room around it: the handle's outline reaches a pixel past its rectangle.
        drawCached(painter, handleRect.adjusted(-2, -2, 2, 2),
                   keyOf({qint64(Part::Handle), handle.state.toInt(), handle.activeSubControls.toInt(),
                          handle.orientation, paletteOf(&handle), handle.direction}),
                   [&](QPainter *ahead) { QProxyStyle::drawComplexControl(control, &handle, ahead, widget); });
    else
        QProxyStyle::drawComplexControl(control, &handle, painter, widget);
    const QStyleOptionSlider pages = layer(SC_ScrollBarAddPage | SC_ScrollBarSubPage);
    if (pages.subControls != SC_None)
        QProxyStyle::drawComplexControl(control, &pages, painter, widget);
    cached(Part::Arrows, layer(arrows), bar->rect);
}

void usePaintCache()
{
    QApplication::setStyle(new PaintCacheStyle(QStyleFactory::create(QApplication::style()->name())));
}

#pragma once

#include <QProxyStyle>

// The default style draws radio indicators, line-edit panels and the
// grooves and arrows of scroll bars with gradients and antialiased curves on
// every repaint, which makes up most of what a color edit costs. For the same
// size, state and palette they look the same each time, so they are drawn
// once into a pixmap and copied from there; a scroll bar's handle, the only
// part that moves, is still drawn each time. Styles other than the default
// are passed through untouched: their looks may change with animations this
// cache knows nothing of.
class PaintCacheStyle : public QProxyStyle {
public:
    // Takes `base` over, as QProxyStyle does.
    explicit PaintCacheStyle(QStyle *base);

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget) const override;

private:
    bool m_caching;
};

// Puts the cache in front of the application's style.
void usePaintCache();

#pragma once

#include "preview/colorvision.h"

#include <QGraphicsEffect>
#include <QObject>

class QMenu;

// Draws the preview (its color, labels and tiles) as seen with a color-vision
// deficiency, with the simulation's name in the corner.
class ColorVisionEffect : public QGraphicsEffect {
    Q_OBJECT
public:
    explicit ColorVisionEffect(preview::Vision vision, QObject *parent = nullptr);
    preview::Vision vision() const { return m_vision; }

protected:
    void draw(QPainter *painter) override;

private:
    preview::Vision m_vision;
};

// The preview area's context menu that chooses the simulation. Nothing is
// stored: every start shows normal vision.
class ColorVisionPreview : public QObject {
    Q_OBJECT
public:
    // Offers the simulations on the preview box's context menu.
    explicit ColorVisionPreview(QWidget &preview);
    preview::Vision vision() const { return m_vision; }
    void setVision(preview::Vision vision);
    QMenu *menu() const { return m_menu; }

private:
    void showMenu(const QPoint &pos);

    QWidget &m_preview;
    preview::Vision m_vision = preview::Vision::Normal;
    QMenu *m_menu;
};

#pragma once

#include "preview/tilegrid.h"

#include <QList>
#include <QPixmap>
#include <QWidget>

class QPainter;

// The preview area: its back color is the page background, the sample
// labels lie on it, and a background image is tiled over it.
class PreviewBox : public QWidget {
    Q_OBJECT
public:
    explicit PreviewBox(QWidget *parent = nullptr);

    // Tiles a picture of `fullSize` pixels over the area, each tile stretched
    // to its size. `picture` is the whole picture or its top-left part (what
    // the area can show), drawn at each tile's origin at the tile's scale.
    // The tiles are painted on every repaint until the picture is emptied.
    void setTiledPicture(const QPixmap &picture, QSize fullSize, const QList<Tile> &tiles);
    // The empty picture: the back color shows again.
    void clearPicture();

    const QPixmap &picture() const { return m_picture; }
    const QList<Tile> &tiles() const { return m_tiles; }

signals:
    // A click on the area itself, outside the labels.
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void paintTiles(QPainter &painter) const;

    QPixmap m_picture;
    QSize m_fullSize;
    QList<Tile> m_tiles;
    // The tiles of an opaque picture drawn once at the screen's pixel ratio,
    // so that a repaint is one copy however many tiles there are.
    QPixmap m_pattern;
};

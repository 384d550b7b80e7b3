#pragma once

#include "preview/tilegrid.h"

#include <QList>
#include <QPixmap>
#include <QWidget>

// The preview area: its back color is the page background, the sample
// labels lie on it, and a background image is tiled over it.
class PreviewBox : public QWidget {
    Q_OBJECT
public:
    explicit PreviewBox(QWidget *parent = nullptr);

    // Tiles `picture` over the area, each tile stretched to its size. The
    // tiles are painted on every repaint until the picture is emptied.
    void setTiledPicture(const QPixmap &picture, const QList<Tile> &tiles);
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
    QPixmap m_picture;
    QList<Tile> m_tiles;
};

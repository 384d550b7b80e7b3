#pragma once

#include <QWidget>

// The preview area: its back color is the page background, the sample
// labels lie on it, and a background image is tiled over it.
class PreviewBox : public QWidget {
    Q_OBJECT
public:
    explicit PreviewBox(QWidget *parent = nullptr);

signals:
    // A click on the area itself, outside the labels.
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};

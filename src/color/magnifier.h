#pragma once

#include <QImage>
#include <QPoint>
#include <QString>
#include <QWidget>

class QTimer;

// The window that follows the pointer while a color is taken off the screen:
// the device pixels around the pointer enlarged, the one under it framed, its
// color as #RRGGBB and the name of the target it will go to. It holds the
// pointer (a crosshair everywhere) and the keyboard until the pick ends.
class Magnifier : public QWidget {
    Q_OBJECT
public:
    // Device pixels on each side of the one under the pointer, and how many
    // logical pixels each of them becomes.
    static constexpr int reach = 5;
    static constexpr int zoom = 10;

    explicit Magnifier(const QString &targetName);
    ~Magnifier() override;

    // Shows the window at the pointer and takes the pointer and keyboard.
    void start();
    // Grabs around the pointer again, moves beside it and repaints.
    void follow();
    // The device pixel under the pointer and its color, as last grabbed.
    QPoint center() const { return m_center; }
    QRgb color() const;

signals:
    void picked(QRgb color);
    void cancelled();

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void takeInput();
    void place();
    void finish(bool take);

    QString m_target;
    QImage m_grab;
    QPoint m_center;
    QTimer *m_takeInput;
    bool m_finished = false;
};

#pragma once

#include "platform/twips.h"

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QRect>

class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QWidget;

// Window layouts are given in twips.
constexpr int tw(int twips)
{
    return twips / platform::twipsPerPixel;
}
constexpr QRect twRect(int left, int top, int width, int height)
{
    return {tw(left), tw(top), tw(width), tw(height)};
}

// "Back color" and "fore color" of a control, kept in its palette so that
// there is one source of truth that both painting and tests read.
void setBackColor(QWidget *w, const QColor &c);
QColor backColor(const QWidget *w);
void setForeColor(QWidget *w, const QColor &c);
QColor foreColor(const QWidget *w);

// The window's sans-serif face: "MS Sans Serif" where installed, else the
// metric-compatible Liberation Sans at the same size.
QString sansSerifFamily();
QFont sansSerifFont(double points, bool bold = false);

// A control of the given kind, named and placed (geometry in pixels).
template <class W> W *makeControl(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *w = new W(parent);
    w->setObjectName(QLatin1String(name));
    w->setGeometry(geometry);
    return w;
}

// A control that shows `text`, with its tooltip.
template <class W>
W *captioned(QWidget *parent, const char *name, const QString &text, const QString &tooltip, const QRect &geometry)
{
    auto *w = makeControl<W>(parent, name, geometry);
    w->setText(text);
    w->setToolTip(tooltip);
    return w;
}

// The kinds of control the windows are drawn with, named and placed.
QPushButton *button(QWidget *parent, const char *name, const QString &caption, const QString &tooltip,
                    const QRect &geometry);
template <class L = QLabel> L *label(QWidget *parent, const char *name, const QString &caption, const QRect &geometry)
{
    auto *l = makeControl<L>(parent, name, geometry);
    l->setText(caption);
    return l;
}
QLineEdit *textBox(QWidget *parent, const char *name, const QString &text, const QString &tooltip,
                   const QRect &geometry);
// A framed label that shows a color as its back color.
QLabel *swatch(QWidget *parent, const char *name, const QRect &geometry);
QRadioButton *option(QWidget *parent, const char *name, const QString &caption, const QString &tooltip,
                     const QRect &geometry);
// A vertical slider over 0..255 that reports only the settled value of a drag.
QScrollBar *slider(QWidget *parent, const char *name, const QRect &geometry);

// The program's fixed-size secondary windows: application-modal, destroyed
// when closed, titled with the program's name, in the window font.
void setUpFixedDialog(class QDialog *dialog, const char *name, QSize clientSize);

// Places a window not yet shown so that its frame is centred on its owner's,
// kept on the owner's screen. Done by the program itself: left to the toolkit,
// a window without a frame of its own (no window manager) is shifted by a
// guessed frame.
void centreOverOwner(QWidget *window);

// A label that reports clicks.
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
};

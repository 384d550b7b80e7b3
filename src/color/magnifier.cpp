#include "color/magnifier.h"

#include "platform/desktop.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace {

constexpr int side = (2 * Magnifier::reach + 1) * Magnifier::zoom;
constexpr int textHeight = 40;
// From the pointer to the window: farther than the grabbed pixels reach,
// so the window never shows itself.
constexpr int gap = 24;

} // namespace

Magnifier::Magnifier(const QString &targetName) : m_target(targetName), m_takeInput(new QTimer(this))
{
    setObjectName(QStringLiteral("Magnifier"));
    setWindowTitle(QStringLiteral("Pick from screen"));
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(side + 2, side + 2 + textHeight);
    setCursor(Qt::CrossCursor);
    setMouseTracking(true);
    m_takeInput->setInterval(10);
    connect(m_takeInput, &QTimer::timeout, this, &Magnifier::takeInput);
}

Magnifier::~Magnifier()
{
    if (!m_finished) {
        releaseMouse();
        releaseKeyboard();
        QGuiApplication::restoreOverrideCursor();
    }
}

void Magnifier::start()
{
    QGuiApplication::setOverrideCursor(Qt::CrossCursor);
    follow();
    show();
    takeInput();
    if (m_takeInput != nullptr && !m_finished && windowHandle() != nullptr && !windowHandle()->isExposed())
        m_takeInput->start();
}

// The server grants a grab only to a window it shows: tried until then.
void Magnifier::takeInput()
{
    if (windowHandle() == nullptr || !windowHandle()->isExposed())
        return;
    m_takeInput->stop();
    activateWindow();
    grabMouse(Qt::CrossCursor);
    grabKeyboard();
    follow();
}

void Magnifier::follow()
{
    m_center = platform::desktop().pointerPosition();
    m_grab =
        platform::desktop().grabScreen(QRect(m_center - QPoint(reach, reach), QSize(2 * reach + 1, 2 * reach + 1)));
    place();
    repaint();
}

QRgb Magnifier::color() const
{
    return m_grab.isNull() ? 0 : m_grab.pixel(reach, reach);
}

// Beside the pointer, on the pointer's screen: to the lower right, or
// wherever the screen's edge leaves room.
void Magnifier::place()
{
    QScreen *screen = QGuiApplication::primaryScreen();
    QPointF at = m_center;
    for (QScreen *s : QGuiApplication::screens()) {
        const QRect g = s->geometry();
        const qreal f = s->devicePixelRatio();
        const QRectF device(g.topLeft(), QSizeF(g.width() * f, g.height() * f));
        if (device.contains(m_center)) {
            screen = s;
            at = g.topLeft() + QPointF(m_center - g.topLeft()) / f;
            break;
        }
    }
    const QRect room = screen->geometry();
    int x = qRound(at.x()) + gap;
    int y = qRound(at.y()) + gap;
    if (x + width() > room.right() + 1)
        x = qRound(at.x()) - gap - width();
    if (y + height() > room.bottom() + 1)
        y = qRound(at.y()) - gap - height();
    x = std::clamp(x, room.left(), std::max(room.left(), room.right() + 1 - width()));
    y = std::clamp(y, room.top(), std::max(room.top(), room.bottom() + 1 - height()));
    if (pos() != QPoint(x, y))
        move(x, y);
}

// Every key is the magnifier's while it holds the keyboard: the window's
// own keys (Esc, arrows on its controls) must not fire underneath.
bool Magnifier::event(QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

void Magnifier::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    p.setPen(Qt::black);
    p.drawRect(0, 0, side + 1, side + 1);
    if (!m_grab.isNull())
        p.drawImage(QRect(1, 1, side, side), m_grab);
    // The pixel that will be taken, framed dark and light to show on any color.
    const QRect cell(1 + reach * zoom, 1 + reach * zoom, zoom, zoom);
    p.setPen(Qt::black);
    p.drawRect(cell.adjusted(-2, -2, 1, 1));
    p.setPen(Qt::white);
    p.drawRect(cell.adjusted(-1, -1, 0, 0));

    const QColor c = QColor::fromRgb(color());
    const QRect swatch(4, side + 6, textHeight - 10, textHeight - 10);
    p.fillRect(swatch, c);
    p.setPen(palette().windowText().color());
    p.drawRect(swatch.adjusted(0, 0, -1, -1));
    const QRect text(swatch.right() + 6, side + 2, width() - swatch.right() - 8, textHeight - 2);
    p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, c.name().toUpper() + QLatin1Char('\n') + m_target);
}

void Magnifier::keyPressEvent(QKeyEvent *event)
{
    const int step = (event->modifiers() & Qt::ShiftModifier) != 0 ? 10 : 1;
    QPoint move;
    switch (event->key()) {
    case Qt::Key_Left: move = {-step, 0}; break;
    case Qt::Key_Right: move = {step, 0}; break;
    case Qt::Key_Up: move = {0, -step}; break;
    case Qt::Key_Down: move = {0, step}; break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space: finish(true); return;
    case Qt::Key_Escape: finish(false); return;
    default: event->accept(); return;
    }
    QPoint to = m_center + move;
    // Kept on the desktop: the pointer stops at the last screen's edge.
    const QList<QRect> screens = platform::desktop().screenAreas();
    bool onScreen = screens.isEmpty();
    for (const QRect &s : screens)
        onScreen = onScreen || s.contains(to);
    if (!onScreen)
        for (const QRect &s : screens)
            if (s.contains(m_center))
                to = QPoint(std::clamp(to.x(), s.left(), s.right()), std::clamp(to.y(), s.top(), s.bottom()));
    platform::desktop().warpPointer(to);
    follow();
}

void Magnifier::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        follow();
        finish(true);
    } else if (event->button() == Qt::RightButton) {
        finish(false);
    }
}

void Magnifier::mouseMoveEvent(QMouseEvent *)
{
    follow();
}

void Magnifier::finish(bool take)
{
    if (m_finished)
        return;
    m_finished = true;
    m_takeInput->stop();
    releaseMouse();
    releaseKeyboard();
    QGuiApplication::restoreOverrideCursor();
    hide();
    if (take)
        emit picked(color());
    else
        emit cancelled();
}

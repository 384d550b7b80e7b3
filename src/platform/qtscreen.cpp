// The real desktop's screen: grabbing and the pointer through Qt and the X
// connection, the desktop portal's color picker over D-Bus.
#include "platform/qtdesktop.h"

#include <QCursor>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QVariantMap>
#include <QtGui/qguiapplication_platform.h>

#ifdef DUDOVUVOV_HAVE_XCB
#include <xcb/xcb.h>
#endif

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

#ifdef DUDOVUVOV_HAVE_XCB
xcb_connection_t *xcbConnection()
{
    if (auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
        return x11->connection();
    return nullptr;
}

xcb_window_t rootWindow(xcb_connection_t *connection)
{
    return xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
}
#endif

// Qt keeps a screen's top-left in device pixels and scales only its size.
QRect deviceArea(const QScreen *screen)
{
    const QRect g = screen->geometry();
    const qreal f = screen->devicePixelRatio();
    return {g.topLeft(), QSize(qRound(g.width() * f), qRound(g.height() * f))};
}

} // namespace

// Elsewhere (Wayland, or a build without xcb) only the desktop's picker can.
bool QtDesktop::canReadScreen()
{
#ifdef DUDOVUVOV_HAVE_XCB
    return xcbConnection() != nullptr;
#else
    return false;
#endif
}

QList<QRect> QtDesktop::screenAreas()
{
    QList<QRect> areas;
    for (const QScreen *screen : QGuiApplication::screens())
        areas << deviceArea(screen);
    return areas;
}

QImage QtDesktop::grabScreen(const QRect &area)
{
    QImage result(area.size(), QImage::Format_RGB32);
    result.fill(Qt::black);
    QPainter painter(&result);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (QScreen *screen : QGuiApplication::screens()) {
        const QRect device = deviceArea(screen);
        const QRect part = device.intersected(area);
        if (part.isEmpty())
            continue;
        // grabWindow takes logical places and scales them itself, so at 1.5
        // not every device pixel can start a grab: start at or before the
        // wanted one and cut it out of a slightly larger picture.
        const qreal f = screen->devicePixelRatio();
        const QPoint rel = part.topLeft() - device.topLeft();
        const int lx = static_cast<int>(std::floor(rel.x() / f));
        const int ly = static_cast<int>(std::floor(rel.y() / f));
        const QPoint start(qRound(lx * f), qRound(ly * f));
        int lw = static_cast<int>(std::ceil((rel.x() + part.width() - start.x()) / f));
        int lh = static_cast<int>(std::ceil((rel.y() + part.height() - start.y()) / f));
        QPixmap grabbed = screen->grabWindow(0, lx, ly, lw, lh);
        // Rounded past the root's edge the server refuses the grab.
        if (grabbed.isNull())
            grabbed = screen->grabWindow(0, lx, ly, std::max(1, lw - 1), std::max(1, lh - 1));
        if (grabbed.isNull())
            continue;
        QImage image = grabbed.toImage();
        image.setDevicePixelRatio(1);
        const QRect from(rel - start, part.size());
        painter.drawImage(part.topLeft() - area.topLeft(), image, from);
    }
    return result;
}

QPoint QtDesktop::pointerPosition()
{
#ifdef DUDOVUVOV_HAVE_XCB
    if (xcb_connection_t *c = xcbConnection()) {
        xcb_query_pointer_reply_t *reply = xcb_query_pointer_reply(c, xcb_query_pointer(c, rootWindow(c)), nullptr);
        if (reply != nullptr) {
            const QPoint at(reply->root_x, reply->root_y);
            free(reply);
            return at;
        }
    }
#endif
    return QCursor::pos();
}

// Qt's QCursor::setPos takes logical places; at 1.5 some device pixels have
// none, so the pointer is moved on the X connection itself.
void QtDesktop::warpPointer(const QPoint &devicePixel)
{
#ifdef DUDOVUVOV_HAVE_XCB
    if (xcb_connection_t *c = xcbConnection()) {
        xcb_warp_pointer(c, XCB_NONE, rootWindow(c), 0, 0, 0, 0, static_cast<int16_t>(devicePixel.x()),
                         static_cast<int16_t>(devicePixel.y()));
        xcb_flush(c);
        return;
    }
#endif
    QCursor::setPos(devicePixel);
}

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");

// One PickColor call: the request's handle, then its Response signal.
class PortalPick : public QObject {
    Q_OBJECT
public:
    PortalPick(std::function<void(Desktop::PickAnswer, QRgb)> done) : m_done(std::move(done)) {}

    void start()
    {
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected()) {
            finishLater(Desktop::PickAnswer::Unavailable);
            return;
        }
        static int serial = 0;
        const QString token = QStringLiteral("dudovuvov%1").arg(++serial);
        // Listening before the call: a quick portal may answer before the
        // handle comes back.
        QString sender = bus.baseService().mid(1);
        sender.replace(QLatin1Char('.'), QLatin1Char('_'));
        listen(QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token));
        QDBusMessage call = QDBusMessage::createMethodCall(
            portalService, QStringLiteral("/org/freedesktop/portal/desktop"),
            QStringLiteral("org.freedesktop.portal.Screenshot"), QStringLiteral("PickColor"));
        call << QString() << QVariantMap{{QStringLiteral("handle_token"), token}};
        auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *w) {
            w->deleteLater();
            const QDBusPendingReply<QDBusObjectPath> reply = *w;
            if (reply.isError()) {
                finish(Desktop::PickAnswer::Unavailable);
                return;
            }
            // An older portal makes up its own handle.
            if (reply.value().path() != m_path)
                listen(reply.value().path());
        });
    }

private slots:
    void response(uint code, const QVariantMap &results)
    {
        if (code == 1) {
            finish(Desktop::PickAnswer::Cancelled);
            return;
        }
        const QVariant color = results.value(QStringLiteral("color"));
        if (code != 0 || !color.canConvert<QDBusArgument>()) {
            finish(Desktop::PickAnswer::Unavailable);
            return;
        }
        const auto arg = color.value<QDBusArgument>();
        double r = 0, g = 0, b = 0;
        arg.beginStructure();
        arg >> r >> g >> b;
        arg.endStructure();
        const auto byte = [](double v) { return std::clamp(static_cast<int>(std::lround(v * 255.0)), 0, 255); };
        finish(Desktop::PickAnswer::Picked, qRgb(byte(r), byte(g), byte(b)));
    }

private:
    void listen(const QString &path)
    {
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!m_path.isEmpty())
            bus.disconnect(portalService, m_path, QStringLiteral("org.freedesktop.portal.Request"),
                           QStringLiteral("Response"), this, SLOT(response(uint, QVariantMap)));
        m_path = path;
        // Qt D-Bus connects signals by their signatures only.
        bus.connect(portalService, m_path, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"),
                    this, SLOT(response(uint, QVariantMap)));
    }
    void finishLater(Desktop::PickAnswer answer)
    {
        QMetaObject::invokeMethod(
            this, [this, answer] { finish(answer); }, Qt::QueuedConnection);
    }
    void finish(Desktop::PickAnswer answer, QRgb color = 0)
    {
        if (m_finished)
            return;
        m_finished = true;
        QDBusConnection::sessionBus().disconnect(portalService, m_path,
                                                 QStringLiteral("org.freedesktop.portal.Request"),
                                                 QStringLiteral("Response"), this, SLOT(response(uint, QVariantMap)));
        deleteLater();
        m_done(answer, color);
    }

    std::function<void(Desktop::PickAnswer, QRgb)> m_done;
    QString m_path;
    bool m_finished = false;
};

} // namespace

void QtDesktop::pickColorFromDesktop(QWidget *, std::function<void(PickAnswer, QRgb)> done)
{
    auto *pick = new PortalPick(std::move(done));
    pick->setParent(qApp);
    pick->start();
}

} // namespace platform

#include "qtscreen.moc"

#include "platform/desktop.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

namespace platform {

namespace {
Desktop *g_desktop = nullptr;
}

Desktop &desktop()
{
    if (g_desktop == nullptr) {
        std::fputs("dudovuvov: no desktop backend installed\n", stderr);
        std::abort();
    }
    return *g_desktop;
}

QImage Desktop::grabScreen(const QRect &area)
{
    QImage black(area.size(), QImage::Format_RGB32);
    black.fill(Qt::black);
    return black;
}

void Desktop::pickColorFromDesktop(QWidget *, std::function<void(PickAnswer, QRgb)> done)
{
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [done = std::move(done)] { done(PickAnswer::Unavailable, 0); },
        Qt::QueuedConnection);
}

void setDesktop(Desktop *d)
{
    g_desktop = d;
}

} // namespace platform

#include "app/frmmain.h"
#include "platform/desktop.h"
#include "platform/qtdesktop.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Dudovuvov"));
    QApplication::setApplicationDisplayName(QStringLiteral("Dudovuvov"));
    QApplication::setApplicationVersion(QStringLiteral(DUDOVUVOV_VERSION));
    QApplication::setOrganizationName(QStringLiteral("Zudedidu"));

    platform::QtDesktop desktop;
    platform::setDesktop(&desktop);

    frmmain window;
    if (!window.loaded())
        return 0;
    QObject::connect(&window, &frmmain::unloaded, &app, &QApplication::quit);
    window.show();
    return QApplication::exec();
}

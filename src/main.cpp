#include "app/commandline.h"
#include "app/frmmain.h"
#include "app/paintcache.h"
#include "app/quitsignals.h"
#include "platform/desktop.h"
#include "platform/qtdesktop.h"

#include <QApplication>

#include <cstdio>

namespace {

// Prints what the arguments asked for; true when the program should go on.
bool honour(const CommandLineOutcome &outcome, int &exitCode)
{
    std::fputs(outcome.output.toLocal8Bit().constData(), stdout);
    std::fputs(outcome.error.toLocal8Bit().constData(), stderr);
    exitCode = outcome.exitCode;
    return outcome.run;
}

} // namespace

int main(int argc, char *argv[])
{
    // Help and version need no display; they are answered before the
    // toolkit starts and before the single-instance lock is taken.
    QStringList rawArguments;
    for (int i = 0; i < argc; ++i)
        rawArguments << QString::fromLocal8Bit(argv[i]);
    int exitCode = 0;
    if (!honour(readCommandLine(rawArguments, true), exitCode))
        return exitCode;

    QApplication app(argc, argv);
    if (!honour(readCommandLine(QApplication::arguments(), false), exitCode))
        return exitCode;
    QApplication::setApplicationName(QStringLiteral("Dudovuvov"));
    // No display name of its own: on X11 Qt would append it to every window's
    // caption ("About — Dudovuvov"); the name above serves where one is needed.
    QApplication::setApplicationVersion(QStringLiteral(DUDOVUVOV_VERSION));
    QApplication::setOrganizationName(QStringLiteral("Zudedidu"));
    QGuiApplication::setDesktopFileName(QStringLiteral("example.zudedidu.Dudovuvov"));

    usePaintCache();

    platform::QtDesktop desktop;
    platform::setDesktop(&desktop);

    // A signal to end is a close of the main window: the place is stored and
    // the lock released as on any close.
    QuitSignals quitSignals;
    frmmain *running = nullptr;
    bool quitRequested = false;
    QObject::connect(&quitSignals, &QuitSignals::requested, &app, [&] {
        quitRequested = true;
        if (running != nullptr)
            running->close();
        else if (QWidget *box = QApplication::activeModalWidget())
            box->close(); // a start-up message, answered as by its OK
    });

    frmmain window;
    if (!window.loaded())
        return 0;
    QObject::connect(&window, &frmmain::unloaded, &app, &QApplication::quit);
    window.show();
    running = &window;
    if (quitRequested) // it came while the window loaded
        QMetaObject::invokeMethod(&window, &QWidget::close, Qt::QueuedConnection);
    return QApplication::exec();
}

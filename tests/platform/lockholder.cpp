// Takes the single-instance lock, says so, and waits to be killed.
#include "platform/qtdesktop.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    platform::QtDesktop desktop;
    std::printf(desktop.earlierInstanceRunning() ? "running\n" : "locked\n");
    std::fflush(stdout);
    QThread::sleep(60);
    return 0;
}

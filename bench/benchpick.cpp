// The magnifier following the pointer on a real X server: the pointer is
// moved across the whole screen, and each move's grab and repaint of the
// magnifier is timed. Prints rows of bench/run's table.
// usage: benchpick [MOVES]
#include "color/magnifier.h"
#include "platform/qtdesktop.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int moves = argc > 1 ? std::max(2, atoi(argv[1])) : 500;
    platform::QtDesktop desktop;
    platform::setDesktop(&desktop);
    if (!desktop.canReadScreen()) {
        std::fputs("benchpick: needs an X server\n", stderr);
        return 1;
    }
    const QRect screen = desktop.screenAreas().value(0);
    Magnifier magnifier(QStringLiteral("Backcolor"));
    magnifier.start();
    for (int i = 0; i < 200 && !(magnifier.windowHandle() && magnifier.windowHandle()->isExposed()); ++i)
        QApplication::processEvents(QEventLoop::AllEvents, 10);

    std::vector<double> ms;
    QElapsedTimer clock;
    for (int i = 0; i < moves; ++i) {
        // Left to right across the screen, down and up again twice on the way.
        const int x = screen.left() + i * (screen.width() - 1) / (moves - 1);
        const int phase = (i * 4 * (screen.height() - 1) / (moves - 1)) % (2 * (screen.height() - 1));
        const int y = screen.top() + (phase < screen.height() ? phase : 2 * (screen.height() - 1) - phase);
        desktop.warpPointer({x, y});
        clock.start();
        magnifier.follow();
        ms.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        QApplication::processEvents();
    }
    std::sort(ms.begin(), ms.end());
    const auto at = [&](double q) { return ms[std::min(ms.size() - 1, static_cast<std::size_t>(q * ms.size()))]; };
    std::printf("pick\tmagnifier: grab and repaint per pointer move, %dx%d screen, median\t%.2f ms (%d moves)\t-\n",
                screen.width(), screen.height(), at(0.5), moves);
    std::printf("pick\tmagnifier: grab and repaint per pointer move, p99\t%.2f ms (max %.2f ms)\t< 8 ms\n", at(0.99),
                ms.back());
    magnifier.close();
    return 0;
}

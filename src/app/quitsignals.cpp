#include "app/quitsignals.h"

#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <iterator>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace {

#ifdef Q_OS_UNIX
constexpr int quitSignals[] = {SIGTERM, SIGINT, SIGHUP};

// [0] is written by the handler, [1] read by the event loop.
int g_pair[2] = {-1, -1};
struct sigaction g_before[std::size(quitSignals)];

// Only what is safe in a signal handler: one write that never blocks.
void onQuitSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(g_pair[0], &byte, 1);
    errno = saved;
}
#endif

} // namespace

QuitSignals::QuitSignals(QObject *parent) : QObject(parent)
{
#ifdef Q_OS_UNIX
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_pair) != 0)
        return;
    ::fcntl(g_pair[0], F_SETFL, ::fcntl(g_pair[0], F_GETFL) | O_NONBLOCK);
    ::fcntl(g_pair[1], F_SETFL, ::fcntl(g_pair[1], F_GETFL) | O_NONBLOCK);
    m_notifier = new QSocketNotifier(g_pair[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        while (::read(g_pair[1], bytes, sizeof bytes) > 0) {
        }
        emit requested();
    });
    struct sigaction action {};
    action.sa_handler = onQuitSignal;
    sigemptyset(&action.sa_mask);
    // No SA_RESETHAND: tools such as timeout(1) send the signal both to the
    // program and to its group, and the second must not cut the close short.
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(quitSignals); ++i) {
        ::sigaction(quitSignals[i], nullptr, &g_before[i]);
        // Started with it ignored (nohup, a background job): it stays ignored.
        if (g_before[i].sa_handler != SIG_IGN)
            ::sigaction(quitSignals[i], &action, nullptr);
    }
#endif
}

QuitSignals::~QuitSignals()
{
#ifdef Q_OS_UNIX
    if (m_notifier == nullptr)
        return;
    for (std::size_t i = 0; i < std::size(quitSignals); ++i)
        ::sigaction(quitSignals[i], &g_before[i], nullptr);
    delete m_notifier;
    m_notifier = nullptr;
    ::close(g_pair[0]);
    ::close(g_pair[1]);
    g_pair[0] = g_pair[1] = -1;
#endif
}

// Measures how fast programs put their first window on an X display.
//
//   startprobe RUNS WARMUP LABEL=PROGRAM [LABEL=PROGRAM ...]
//
// For every run it starts PROGRAM with a fresh HOME and XDG folders and listens
// on its own X connection: SubstructureNotify on the root window reports the
// program's top-level windows as they are created, and Expose is selected on
// each at once; a DAMAGE object on the root reports the first drawing. It
// timestamps exec -> MapNotify -> first Expose -> first drawing, then reads
// VmHWM and the CPU time used from /proc while the program still lives and ends it with SIGTERM.
// The programs take turns run by run, so a drift in the machine's speed hits
// all of them alike. Output: one tab-separated line per program and measure:
//   LABEL  MEASURE  MEDIAN  MIN  MAX  UNIT
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <poll.h>
#include <set>
#include <signal.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int timeoutMs = 15000;

double nowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

struct Program {
    std::string label;
    std::string path;
    std::vector<double> map, expose, paint, cpu, hwmMb;
};

struct Run {
    double exec = 0;
    std::optional<double> map, expose, paint;
    long hwmKb = -1;
    double cpuMs = -1;
    bool missedExpose = false;
};

long vmHwmKb(pid_t pid)
{
    const std::string path = "/proc/" + std::to_string(pid) + "/status";
    FILE *f = std::fopen(path.c_str(), "r");
    if (f == nullptr)
        return -1;
    char line[256];
    long kb = -1;
    while (std::fgets(line, sizeof line, f) != nullptr)
        if (std::sscanf(line, "VmHWM: %ld kB", &kb) == 1)
            break;
    std::fclose(f);
    return kb;
}

// CPU time of all the threads of `pid` so far: unlike the wall clock, it does
// not grow when other programs hold the machine's cores.
double cpuMs(pid_t pid)
{
    std::error_code error;
    double ns = 0;
    for (const auto &task : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
        FILE *f = std::fopen((task.path() / "schedstat").c_str(), "r");
        if (f == nullptr)
            continue;
        unsigned long long onCpu = 0;
        if (std::fscanf(f, "%llu", &onCpu) == 1)
            ns += static_cast<double>(onCpu);
        std::fclose(f);
    }
    return ns / 1e6;
}

class Probe {
public:
    Probe()
    {
        m_conn = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(m_conn)) {
            std::fprintf(stderr, "startprobe: cannot open the display\n");
            std::exit(2);
        }
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_conn)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_conn, m_root, XCB_CW_EVENT_MASK, &mask);

        const xcb_query_extension_reply_t *ext = xcb_get_extension_data(m_conn, &xcb_damage_id);
        if (ext != nullptr && ext->present) {
            free(xcb_damage_query_version_reply(m_conn, xcb_damage_query_version(m_conn, 1, 1), nullptr));
            m_damageEvent = ext->first_event + XCB_DAMAGE_NOTIFY;
            const xcb_damage_damage_t damage = xcb_generate_id(m_conn);
            xcb_damage_create(m_conn, damage, m_root, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
        }
        free(xcb_get_input_focus_reply(m_conn, xcb_get_input_focus(m_conn), nullptr));
    }
    ~Probe() { xcb_disconnect(m_conn); }

    bool hasDamage() const { return m_damageEvent >= 0; }

    // One start of `path`; false when it showed no window in time.
    bool measure(const std::string &path, Run &run)
    {
        char dirTemplate[] = "/tmp/startprobe-XXXXXX";
        const char *home = mkdtemp(dirTemplate);
        if (home == nullptr)
            return false;
        const std::string h = home;
        for (const char *sub : {"/config", "/cache", "/data", "/runtime"})
            mkdir((h + sub).c_str(), 0700);

        m_created.clear();
        m_selectSeq.clear();
        run = Run{};
        run.exec = nowMs();
        const pid_t pid = fork();
        if (pid == 0) {
            setenv("HOME", home, 1);
            setenv("XDG_CONFIG_HOME", (h + "/config").c_str(), 1);
            setenv("XDG_CACHE_HOME", (h + "/cache").c_str(), 1);
            setenv("XDG_DATA_HOME", (h + "/data").c_str(), 1);
            setenv("XDG_RUNTIME_DIR", (h + "/runtime").c_str(), 1);
            const int null = open("/dev/null", O_RDWR);
            dup2(null, STDIN_FILENO);
            dup2(null, STDOUT_FILENO);
            if (std::getenv("STARTPROBE_VERBOSE") == nullptr)
                dup2(null, STDERR_FILENO);
            execl(path.c_str(), path.c_str(), static_cast<char *>(nullptr));
            _exit(127);
        }
        bool ok = pid > 0 && waitFor(run, pid, [&] { return run.expose && (run.paint || !hasDamage()); });
        if (ok) {
            run.cpuMs = cpuMs(pid);
            run.hwmKb = vmHwmKb(pid);
        }
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
            // The server tears the windows down after the connection closes.
            waitFor(run, -1, [&] { return m_created.empty(); });
        }
        std::filesystem::remove_all(h);
        return ok && run.hwmKb > 0 && !run.missedExpose;
    }

private:
    template <class Done> bool waitFor(Run &run, pid_t child, Done done)
    {
        const double deadline = nowMs() + timeoutMs;
        pollfd pfd{xcb_get_file_descriptor(m_conn), POLLIN, 0};
        for (;;) {
            while (xcb_generic_event_t *ev = xcb_poll_for_event(m_conn)) {
                handle(ev, run);
                free(ev);
            }
            if (done())
                return true;
            if (xcb_connection_has_error(m_conn))
                return false;
            if (child > 0 && waitpid(child, nullptr, WNOHANG) == child)
                return false;
            const double left = deadline - nowMs();
            if (left <= 0)
                return false;
            // Wakes at least every 50 ms to notice a child that died without a window.
            poll(&pfd, 1, std::min(50, static_cast<int>(left) + 1));
        }
    }

    void handle(xcb_generic_event_t *ev, Run &run)
    {
        const double t = nowMs();
        const int type = ev->response_type & 0x7f;
        if (type == XCB_CREATE_NOTIFY) {
            const auto *e = reinterpret_cast<xcb_create_notify_event_t *>(ev);
            if (e->parent != m_root)
                return;
            m_created.insert(e->window);
            const uint32_t mask = XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
            m_selectSeq[e->window] = xcb_change_window_attributes(m_conn, e->window, XCB_CW_EVENT_MASK, &mask).sequence;
            xcb_flush(m_conn);
        } else if (type == XCB_MAP_NOTIFY) {
            const auto *e = reinterpret_cast<xcb_map_notify_event_t *>(ev);
            if (!m_created.count(e->window) || run.map)
                return;
            run.map = t;
            m_mapped = e->window;
            // The event carries the number of our last request the server had
            // handled; if that was before our Expose selection, the first
            // Expose went to nobody and the run does not count.
            const auto pending = static_cast<int16_t>(static_cast<uint16_t>(m_selectSeq[e->window]) - e->sequence);
            if (pending > 0)
                run.missedExpose = true;
        } else if (type == XCB_EXPOSE) {
            const auto *e = reinterpret_cast<xcb_expose_event_t *>(ev);
            if (run.map && e->window == m_mapped && !run.expose)
                run.expose = t;
        } else if (type == XCB_DESTROY_NOTIFY) {
            m_created.erase(reinterpret_cast<xcb_destroy_notify_event_t *>(ev)->window);
        } else if (hasDamage() && type == m_damageEvent) {
            if (run.map && !run.paint)
                run.paint = t;
        }
    }

    xcb_connection_t *m_conn = nullptr;
    xcb_window_t m_root = 0;
    xcb_window_t m_mapped = 0;
    int m_damageEvent = -1;
    std::set<xcb_window_t> m_created;
    std::map<xcb_window_t, unsigned> m_selectSeq;
};

struct Stats {
    double median, min, max;
};

Stats stats(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    const double median = n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
    return {median, v.front(), v.back()};
}

void print(const std::string &label, const char *measure, const std::vector<double> &values, const char *unit)
{
    if (values.empty())
        return;
    const Stats s = stats(values);
    std::printf("%s\t%s\t%.2f\t%.2f\t%.2f\t%s\n", label.c_str(), measure, s.median, s.min, s.max, unit);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: startprobe RUNS WARMUP LABEL=PROGRAM [LABEL=PROGRAM ...]\n");
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    const int warmup = std::atoi(argv[2]);
    std::vector<Program> programs;
    for (int i = 3; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto eq = arg.find('=');
        if (eq == std::string::npos) {
            std::fprintf(stderr, "startprobe: %s is not LABEL=PROGRAM\n", argv[i]);
            return 2;
        }
        programs.push_back({arg.substr(0, eq), arg.substr(eq + 1), {}, {}, {}, {}, {}});
    }

    Probe probe;
    int failures = 0;
    for (int i = 0; i < warmup + runs; ++i) {
        for (Program &p : programs) {
            Run run;
            // A run whose first Expose raced past our selection is repeated.
            bool ok = false;
            for (int attempt = 0; attempt < 5 && !ok; ++attempt)
                ok = probe.measure(p.path, run);
            if (!ok) {
                std::fprintf(stderr, "startprobe: %s showed no window\n", p.label.c_str());
                ++failures;
                continue;
            }
            if (i < warmup)
                continue;
            p.map.push_back(*run.map - run.exec);
            p.expose.push_back(*run.expose - run.exec);
            if (run.paint)
                p.paint.push_back(*run.paint - run.exec);
            p.cpu.push_back(run.cpuMs);
            p.hwmMb.push_back(run.hwmKb / 1024.0);
        }
    }
    for (const Program &p : programs) {
        print(p.label, "map", p.map, "ms");
        print(p.label, "expose", p.expose, "ms");
        print(p.label, "paint", p.paint, "ms");
        print(p.label, "cpu", p.cpu, "ms");
        print(p.label, "VmHWM", p.hwmMb, "MB");
    }
    return failures == 0 ? 0 : 1;
}

// In-process benchmarks of the main window on a scripted desktop:
//
//   benchui [--edits N] [--parts edit,image,page] [--large WxH]
//
// Edit latency: from a key press until the preview, the hex box and the
// swatch of the selected target have been repainted, counted by their paint
// events; for a target switch, from the click until the option, the value
// boxes and the sliders show the new target. Background image: loading
// pictures of four sizes until the preview shows them, and repainting the
// preview. Page: composing the page and writing it, alone and through the
// page window. Prints tab-separated rows: PART MEASURE RESULT GOAL.
#include "../tests/support/maincontrols.h"
#include "allocount.h"
#include "app/frmmain.h"
#include "app/paintcache.h"
#include "color/frmadjust.h"
#include "output/bodytag.h"
#include "output/frminfo.h"
#include "output/frmtag.h"
#include "output/htmltext.h"
#include "output/pagetext.h"
#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/scripteddesktop.h"
#include "preview/previewbox.h"
#include "widgets/controls.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

// Counts paint events of the widgets it watches.
class PaintCounter : public QObject {
public:
    void watch(std::initializer_list<QWidget *> widgets)
    {
        for (QObject *w : m_watched)
            w->removeEventFilter(this);
        m_watched.assign(widgets.begin(), widgets.end());
        for (QObject *w : m_watched)
            w->installEventFilter(this);
        reset();
    }
    void reset() { m_painted.assign(m_watched.size(), false); }
    void dump(int i) const
    {
        for (size_t k = 0; k < m_watched.size(); ++k)
            if (!m_painted[k])
                std::fprintf(stderr, "edit %d: %s not painted\n", i, qPrintable(m_watched[k]->objectName()));
    }
    bool allPainted() const
    {
        return std::all_of(m_painted.begin(), m_painted.end(), [](bool p) { return p; });
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            for (size_t i = 0; i < m_watched.size(); ++i)
                if (m_watched[i] == watched)
                    m_painted[i] = true;
        return false;
    }

private:
    std::vector<QObject *> m_watched;
    std::vector<bool> m_painted;
};

// With BENCHUI_CENSUS set: which widgets paint, per measured step, printed
// after each measure. Shows what an edit repaints besides what it must.
class PaintCensus : public QObject {
public:
    static PaintCensus *instance()
    {
        static PaintCensus *census = qEnvironmentVariableIsSet("BENCHUI_CENSUS") ? new PaintCensus : nullptr;
        return census;
    }
    void start()
    {
        m_counts.clear();
        QCoreApplication::instance()->installEventFilter(this);
    }
    void stop(int steps)
    {
        QCoreApplication::instance()->removeEventFilter(this);
        std::vector<std::pair<int, QString>> rows;
        for (auto it = m_counts.cbegin(); it != m_counts.cend(); ++it)
            rows.emplace_back(it.value(), it.key());
        std::sort(rows.rbegin(), rows.rend());
        for (const auto &[count, name] : rows)
            std::fprintf(stderr, "  %6.2f paints per step  %s\n", double(count) / steps, qPrintable(name));
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++m_counts[QLatin1String(watched->metaObject()->className()) + QLatin1Char(' ') + watched->objectName()];
        return false;
    }

private:
    QHash<QString, int> m_counts;
};

struct Series {
    std::vector<double> ms;
    std::vector<double> cpuMs;
    long allocations = 0;
    int unfinished = 0;

    static double quantile(std::vector<double> v, double q)
    {
        std::sort(v.begin(), v.end());
        if (v.empty())
            return 0;
        const size_t i = std::min(v.size() - 1, static_cast<size_t>(q * static_cast<double>(v.size())));
        return v[i];
    }
};

void row(const QString &part, const QString &measure, const QString &result, const QString &goal = {})
{
    std::printf("%s\t%s\t%s\t%s\n", qPrintable(part), qPrintable(measure), qPrintable(result),
                qPrintable(goal.isEmpty() ? QStringLiteral("-") : goal));
    std::fflush(stdout);
}

// CPU time of the whole process, so that time lost to other programs on a
// busy machine can be told from time spent here.
double cpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

QString ms(double v)
{
    return QStringLiteral("%1 ms").arg(v, 0, 'f', v < 10 ? 3 : 1);
}

// Runs `step(i)` `count` times after a warm-up; each time until `done()`,
// processing events meanwhile (for at most a second).
Series measure(int count, const std::function<void(int)> &step, const std::function<bool()> &done,
               const std::function<void()> &between = {})
{
    Series s;
    QElapsedTimer clock;
    // An even warm-up, so that the measured steps start from the same state.
    const int warmup = std::min(20, count + count % 2);
    for (int i = 0; i < warmup + count; ++i) {
        QCoreApplication::processEvents();
        if (between)
            between();
        const long allocsBefore = allocount::count();
        const double cpuBefore = cpuMs();
        clock.start();
        step(i);
        while (!done() && clock.elapsed() < 1000)
            QCoreApplication::processEvents();
        const qint64 ns = clock.nsecsElapsed();
        const double cpu = cpuMs() - cpuBefore;
        if (i < warmup)
            continue;
        s.allocations += allocount::count() - allocsBefore;
        if (!done())
            ++s.unfinished;
        s.ms.push_back(static_cast<double>(ns) / 1e6);
        s.cpuMs.push_back(cpu);
        if (PaintCensus *census = PaintCensus::instance(); census && i == warmup)
            census->start();
    }
    if (PaintCensus *census = PaintCensus::instance())
        census->stop(count - 1);
    return s;
}

// Rows for one measure: median and 99th percentile, and how many runs with
// their heap allocations.
void report(const QString &part, const QString &what, const Series &s, const QString &medianGoal,
            const QString &p99Goal, const QString &unit = QStringLiteral("edit"))
{
    auto result = [&](double q) {
        return QStringLiteral("%1 (CPU %2)").arg(ms(Series::quantile(s.ms, q)), ms(Series::quantile(s.cpuMs, q)));
    };
    row(part, what + QStringLiteral(": median"), result(0.5), medianGoal);
    row(part, what + QStringLiteral(": p99"), result(0.99), p99Goal);
    QString detail = QStringLiteral("%1 runs").arg(s.ms.size());
    if (allocount::available())
        detail += QStringLiteral(", %1 allocations per %2")
                      .arg(static_cast<double>(s.allocations) / static_cast<double>(s.ms.size()), 0, 'f', 0)
                      .arg(unit);
    if (s.unfinished > 0)
        detail += QStringLiteral(", %1 UNFINISHED").arg(s.unfinished);
    row(part, what + QStringLiteral(": runs"), detail);
}

void benchEdits(const testsupport::MainControls &w, int count)
{
    const QString part = QStringLiteral("edit latency");
    const QString median = QStringLiteral("< 1 ms"), p99 = QStringLiteral("< 4 ms");
    PaintCounter counter;
    auto painted = [&counter] { return counter.allPainted(); };
    auto reset = [&counter] { counter.reset(); };

    // Typing into the red value box while the back color is selected.
    w.optBACK->setChecked(true);
    QCoreApplication::processEvents();
    w.txtred->setFocus();
    w.txtred->setText(QStringLiteral("1"));
    counter.watch({w.picboxMAIN, w.txtHEXback, w.lblhexbackcolor});
    report(part, QStringLiteral("key in value box"),
           measure(
               count,
               [&](int i) {
                   // Alternately appends a digit and takes it away again: 1 -> 1d -> 1.
                   if (i % 2 == 0)
                       QTest::keyClick(w.txtred, static_cast<Qt::Key>(Qt::Key_0 + (i / 2) % 10));
                   else
                       QTest::keyClick(w.txtred, Qt::Key_Backspace);
               },
               painted, reset),
           median, p99);

    // One arrow step on the green slider.
    w.VScrollGreen->setFocus();
    report(part, QStringLiteral("slider step"),
           measure(
               count, [&](int i) { QTest::keyClick(w.VScrollGreen, i % 2 == 0 ? Qt::Key_Up : Qt::Key_Down); }, painted,
               reset),
           median, p99);

    // Switching between the text and the back color by clicking the options.
    const Series switches = measure(
        count,
        [&](int i) {
            const bool toText = i % 2 == 0;
            // What a switch shows: the new option on and the new target's
            // values in the boxes and sliders. Its preview, hex box and
            // swatch already show its color.
            QRadioButton *option = toText ? w.optTEXT : w.optBACK;
            counter.watch({option, w.txtred, w.txtgreen, w.txtblue, w.VScrollRed, w.VScrollGreen, w.VScrollBlue});
            QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(8, option->height() / 2));
        },
        painted, reset);
    report(part, QStringLiteral("target switch"), switches, median, p99);

    // One arrow step on the Adjust window's OKLCH lightness, up and down
    // again, on the back color: the preview and the contrast strip repaint.
    QTest::mouseClick(w.optBACK, Qt::LeftButton, {}, QPoint(8, w.optBACK->height() / 2));
    QTest::keyClick(w.VScrollRed, Qt::Key_J, Qt::ControlModifier);
    auto *adjust = testsupport::findWindow<frmadjust>(*w.picboxMAIN->window());
    auto *lightness = adjust != nullptr ? adjust->findChild<QSlider *>(QStringLiteral("sldOklchL")) : nullptr;
    auto *strip = w.picboxMAIN->window()->findChild<QWidget *>(QStringLiteral("contrastStrip"));
    if (lightness == nullptr || strip == nullptr) {
        std::fprintf(stderr, "benchui: no Adjust window\n");
        return;
    }
    QApplication::setActiveWindow(adjust);
    lightness->setFocus();
    counter.watch({w.picboxMAIN, strip, w.txtHEXback, w.lblhexbackcolor});
    // Its goal is the p99 alone: a step also repaints the Adjust window and
    // all three channels of the main window.
    report(
        part, QStringLiteral("Adjust slider step"),
        measure(
            count, [&](int i) { QTest::keyClick(lightness, i % 2 == 0 ? Qt::Key_Up : Qt::Key_Down); }, painted, reset),
        QStringLiteral("-"), p99);
    adjust->close();
    QApplication::setActiveWindow(w.picboxMAIN->window());
}

// Composing the page and writing it, alone and through the windows.
void benchPage(frmmain &window, platform::ScriptedDesktop &desktop, int count, const QString &folder)
{
    const testsupport::MainControls w = testsupport::controlsOf(window);
    const QString part = QStringLiteral("page");
    const QString path = folder + QStringLiteral("/Dudovuvov.htm");
    auto always = [] { return true; };
    auto colors = [&w] {
        return PageColors{.back = w.txtHEXback->text(),
                          .text = w.txtHEXtext->text(),
                          .newLink = w.txtnewlink->text(),
                          .visitedLink = w.txtvisitedlink->text(),
                          .activeLink = w.txtactivelink->text(),
                          .imageName = QStringLiteral("tile.png")};
    };
    const QString name = QStringLiteral("Zofia \u0141ukasiewicz"), title = QStringLiteral("Colors & <tags>");

    QByteArray bytes;
    report(part, QStringLiteral("compose (tag, page text, ISO-8859-1)"),
           measure(
               count, [&](int) { bytes = latin1WithReferences(pageText(name, title, bodyTag(colors()))); }, always),
           QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("page"));

    QString reason;
    const int writes = std::max(2, count / 10);
    report(part, QStringLiteral("write the file atomically"),
           measure(
               writes,
               [&](int) {
                   if (!writeFileAtomically(path, bytes, reason))
                       std::fprintf(stderr, "benchui: %s\n", qPrintable(reason));
               },
               always),
           QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("page"));

    // "Ready!" in the page window: compose, the (scripted) save dialog, the
    // atomic write, the window closing and the closing message.
    frminfo *info = nullptr;
    QFile::remove(path);
    auto written = [&] { return QFile::exists(path); };
    auto openInfo = [&] {
        QFile::remove(path);
        // The page window of the last run deletes itself on close.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        w.cmdtag->click();
        auto *tag = testsupport::findWindow<frmtag>(window);
        if (tag == nullptr)
            return;
        tag->cmdCREATEhtml->click();
        info = nullptr;
        for (frminfo *candidate : window.findChildren<frminfo *>(QStringLiteral("frminfo")))
            if (candidate->isVisible())
                info = candidate;
        if (info != nullptr) {
            info->txtNAME->setText(name);
            info->txtTITLE->setText(title);
        }
        desktop.answerSave(path);
    };
    const Series ready = measure(
        std::max(2, count / 20),
        [&](int) {
            if (info != nullptr)
                info->cmdready->click();
        },
        written, openInfo);
    desktop.takeMessages();
    if (auto *tag = testsupport::findWindow<frmtag>(window))
        tag->close();
    report(part, QStringLiteral("Ready! click to page written"), ready, QStringLiteral("-"), QStringLiteral("-"),
           QStringLiteral("page"));
}

long vmHwmKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

// Writes a test picture of the given size: a smooth gradient with a little
// noise, so that the large one is the size of an ordinary photograph.
QString makePicture(const QString &folder, QSize size, const char *format)
{
    QImage image(size, QImage::Format_RGB32);
    quint32 seed = 12345;
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            seed = seed * 1664525U + 1013904223U;
            const int noise = static_cast<int>(seed >> 28);
            line[x] = qRgb((x * 255 / size.width() + noise) & 255, (y * 255 / size.height() + noise) & 255,
                           (x + y + noise) & 255);
        }
    }
    const QString path = QStringLiteral("%1/picture-%2x%3.%4")
                             .arg(folder)
                             .arg(size.width())
                             .arg(size.height())
                             .arg(QString::fromLatin1(format).toLower());
    image.save(path, format, 90);
    return path;
}

// Loading a picture through "Load Image" until the preview has painted it,
// and repainting the preview afterwards; the peak memory after the largest.
void benchImages(const testsupport::MainControls &w, platform::ScriptedDesktop &desktop, int count,
                 const QString &folder, QSize large)
{
    const QString part = QStringLiteral("background image");
    const struct {
        QSize size;
        const char *format;
    } pictures[] = {{{1, 1}, "PNG"}, {{16, 16}, "PNG"}, {{256, 256}, "PNG"}, {large, "JPG"}};
    PaintCounter counter;
    counter.watch({w.picboxMAIN});
    // The pictures are made first: drawing the large one takes its full size in
    // memory, which is the bench's own cost, not the program's. The peak is then
    // started afresh (Linux: "5" into clear_refs resets VmHWM to the present size).
    QStringList paths;
    for (const auto &picture : pictures)
        paths.append(makePicture(folder, picture.size, picture.format));
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (clearRefs.open(QIODevice::WriteOnly))
        clearRefs.write("5");
    clearRefs.close();
    const long hwmBefore = vmHwmKb();
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const auto &picture = pictures[i];
        const QString &path = paths[i];
        const QString what = QStringLiteral("%1 x %2 %3")
                                 .arg(picture.size.width())
                                 .arg(picture.size.height())
                                 .arg(QString::fromLatin1(picture.format));
        const Series load = measure(
            std::max(2, count / 50), [&](int) { w.cmdload->click(); }, [&] { return counter.allPainted(); },
            [&] {
                if (w.cmdclear->isEnabled())
                    w.cmdclear->click();
                QCoreApplication::processEvents();
                desktop.answerOpen(path);
                counter.reset();
            });
        report(part, what + QStringLiteral(": load to painted preview"), load,
               picture.size == QSize(4000, 3000) ? QStringLiteral("< 50 ms") : QStringLiteral("-"), QStringLiteral("-"),
               QStringLiteral("load"));
        const Series repaint = measure(
            std::max(2, count / 10), [&](int) { w.picboxMAIN->repaint(); }, [&] { return counter.allPainted(); },
            [&] { counter.reset(); });
        report(part, what + QStringLiteral(": repaint of the preview"), repaint, QStringLiteral("< 5 ms"),
               QStringLiteral("< 5 ms"), QStringLiteral("repaint"));
    }
    row(part, QStringLiteral("peak memory (VmHWM) after the %1 x %2 picture").arg(large.width()).arg(large.height()),
        QStringLiteral("%1 MB (%2 MB before the pictures)")
            .arg(static_cast<double>(vmHwmKb()) / 1024.0, 0, 'f', 1)
            .arg(static_cast<double>(hwmBefore) / 1024.0, 0, 'f', 1),
        QStringLiteral("-"));
}

} // namespace

int main(int argc, char *argv[])
{
    // Private settings and runtime folders, a desktop that never blocks.
    QTemporaryDir config, runtime;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    QFile::setPermissions(runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption editsOption(QStringLiteral("edits"), QStringLiteral("Edits per measure."),
                                         QStringLiteral("N"), QStringLiteral("1000"));
    parser.addOption(editsOption);
    const QCommandLineOption partsOption(QStringLiteral("parts"), QStringLiteral("Comma-separated: edit, image, page."),
                                         QStringLiteral("LIST"), QStringLiteral("edit,image,page"));
    parser.addOption(partsOption);
    const QCommandLineOption largeOption(QStringLiteral("large"), QStringLiteral("Size of the largest picture."),
                                         QStringLiteral("WxH"), QStringLiteral("4000x3000"));
    parser.addOption(largeOption);
    parser.process(app);
    const QStringList largeSize = parser.value(largeOption).split(QLatin1Char('x'));
    const QSize large(largeSize.value(0).toInt(), largeSize.value(1).toInt());

    usePaintCache();
    platform::ScriptedDesktop desktop;
    platform::setDesktop(&desktop);

    frmmain window;
    window.show();
    QApplication::setActiveWindow(&window);
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "benchui: the main window was not shown\n");
        return 1;
    }
    const QStringList parts = parser.value(partsOption).split(QLatin1Char(','));
    const int count = parser.value(editsOption).toInt();
    QTemporaryDir output;
    if (parts.contains(QStringLiteral("edit")))
        benchEdits(testsupport::controlsOf(window), count);
    if (parts.contains(QStringLiteral("image")))
        benchImages(testsupport::controlsOf(window), desktop, count, output.path(), large);
    if (parts.contains(QStringLiteral("page")))
        benchPage(window, desktop, count, output.path());
    platform::setDesktop(nullptr);
    return 0;
}

#include "app/frmmain.h"
#include "color/coloreditor.h"
#include "color/contrast.h"
#include "color/contraststrip.h"
#include "testsupport.h"

#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <functional>
#include <vector>

#include <time.h>

using testsupport::control;

namespace {

double threadMilliseconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Milliseconds per run of `work`, in this thread's processor time (other
// programs on a busy machine do not count), the median over batches. The
// wall-clock median goes to the log beside it.
double perRun(const char *what, int batches, int runs, const std::function<void(int)> &work)
{
    std::vector<double> cpu, wall;
    for (int b = 0; b < batches; ++b) {
        QElapsedTimer timer;
        timer.start();
        const double start = threadMilliseconds();
        for (int i = 0; i < runs; ++i)
            work(b * runs + i);
        cpu.push_back((threadMilliseconds() - start) / runs);
        wall.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6 / runs);
    }
    std::sort(cpu.begin(), cpu.end());
    std::sort(wall.begin(), wall.end());
    qInfo("%-34s %.4f ms (wall clock %.4f ms)", what, cpu[cpu.size() / 2], wall[wall.size() / 2]);
    return cpu[cpu.size() / 2];
}

// Timing budgets are reported, and fail the run only when asked for
// (DUDOVUVOV_BENCH_STRICT=1): a loaded or instrumented machine must not
// turn a measurement into a failing test.
bool withinBudget(double measured, double budget, const char *what)
{
    if (measured < budget)
        return true;
    qWarning("%s: %.4f ms, over the budget of %.1f ms", what, measured, budget);
    return !qEnvironmentVariableIsSet("DUDOVUVOV_BENCH_STRICT");
}

} // namespace

// How much the contrast strip adds to a color change, and what reading a
// background image's pixels costs.
class BenchContrast : public QObject {
    Q_OBJECT
private slots:
    void stripUpdateOnAColorChange()
    {
        testsupport::MainWindow w;
        auto *red = control<QLineEdit>(w.window.get(), "txtred");
        auto *strip = control<ContrastStrip>(w.window.get(), "contrastStrip");
        // Each run is one whole color change through the value box: slider,
        // colorupdate, store, and the strip where it listens.
        auto change = [red](int i) {
            red->setText(QString::number(100 + i % 50));
            QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
        };
        const double with = perRun("color change with the strip", 21, 400, change);
        const double refresh = perRun("strip refresh alone", 21, 400, [strip](int) { strip->refreshNow(); });
        QObject::disconnect(&w.window->colorEditor(), &ColorEditor::colorChanged, strip, nullptr);
        const double without = perRun("color change without the strip", 21, 400, change);
        perRun("repainting the strip", 21, 50, [strip](int) { strip->repaint(); });
        qInfo("the strip adds %.4f ms to a color change", with - without);
        QVERIFY(withinBudget(refresh, 0.2, "strip refresh"));
        QVERIFY(withinBudget(with - without, 0.2, "strip added to a color change"));
    }

    void imageScan()
    {
        testsupport::MainWindow w;
        QTemporaryDir dir;
        // Noise: every pixel of the preview a different color, the most work for the scan.
        QImage noise(200, 120, QImage::Format_RGB32);
        QRandomGenerator random(7);
        for (int y = 0; y < noise.height(); ++y)
            for (int x = 0; x < noise.width(); ++x)
                noise.setPixel(x, y, 0xFF000000u | (random.generate() & 0xFFFFFFu));
        const QString path = dir.filePath(QStringLiteral("noise.png"));
        QVERIFY(noise.save(path));
        w.env.desktop.answerOpen(path);
        QTest::mouseClick(control<QPushButton>(w.window.get(), "cmdload"), Qt::LeftButton);
        QVERIFY(!control<QLabel>(w.window.get(), "HIDDENlbltaginfo")->text().isEmpty());
        auto *strip = control<ContrastStrip>(w.window.get(), "contrastStrip");
        QVERIFY(strip->report().overImage);

        auto *preview = control<QWidget>(w.window.get(), "picboxMAIN");
        const QImage pixels = ContrastStrip::previewPixels(preview, Qt::white);
        const std::span<const std::uint32_t> span(reinterpret_cast<const std::uint32_t *>(pixels.constBits()),
                                                  std::size_t(pixels.width() * pixels.height()));
        QVERIFY(contrast::Backdrop::pixels(span).size() > 10000);
        qInfo("preview %dx%d pixels", pixels.width(), pixels.height());
        perRun("grab of the preview", 11, 20, [&](int) { ContrastStrip::previewPixels(preview, Qt::white); });
        perRun("scan of its pixels", 11, 20, [&](int) { contrast::Backdrop::pixels(span); });
        const double whole = perRun("grab, scan and refresh", 11, 20, [strip, &path](int) {
            strip->setPicture(path);
            strip->refreshNow();
        });
        QVERIFY(withinBudget(whole, 2.0, "image scan"));
        // Over an image a color change looks the pixels up, it does not scan them again.
        auto *red = control<QLineEdit>(w.window.get(), "txtred");
        auto change = [red](int i) {
            red->setText(QString::number(100 + i % 50));
            QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
        };
        const double with = perRun("color change over the image", 21, 200, change);
        QObject::disconnect(&w.window->colorEditor(), &ColorEditor::colorChanged, strip, nullptr);
        const double without = perRun("the same without the strip", 21, 200, change);
        qInfo("over the image the strip adds %.4f ms to a color change", with - without);
        QVERIFY(withinBudget(with - without, 0.2, "strip added to a color change"));
    }
};

QTEST_MAIN(BenchContrast)
#include "tst_contrastbench.moc"

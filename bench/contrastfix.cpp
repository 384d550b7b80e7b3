// The contrast fix along OKLCH lightness against the former one along HSL
// lightness, over the same failing pairs: how many reach AA, and how far the
// fixed color lies from the one it replaces (deltaEOK, mean and worst).
//
//   contrastfix [pairs] [seed]      (defaults 2000 and 1)
#include "color/colorspaces.h"
#include "color/contrast.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using contrast::Backdrop;
using contrast::Rgb;

namespace {

struct Pair {
    Rgb color;
    Rgb background;
};

struct Outcome {
    int reached = 0;
    int none = 0;
    double sumDistance = 0;
    double worstDistance = 0;
    double milliseconds = 0;
};

double distance(Rgb a, Rgb b)
{
    return color::deltaEOK(color::oklabFromSrgb(color::toSrgb(a)), color::oklabFromSrgb(color::toSrgb(b)));
}

Outcome measure(const std::vector<Pair> &pairs, const std::function<std::optional<Rgb>(Rgb, const Backdrop &)> &fix)
{
    Outcome out;
    QElapsedTimer timer;
    timer.start();
    for (const Pair &p : pairs) {
        const Backdrop backdrop = Backdrop::plain(p.background);
        const std::optional<Rgb> fixed = fix(p.color, backdrop);
        if (!fixed) {
            ++out.none;
            continue;
        }
        if (backdrop.worstRatio(*fixed) >= contrast::AA)
            ++out.reached;
        const double d = distance(p.color, *fixed);
        out.sumDistance += d;
        out.worstDistance = std::max(out.worstDistance, d);
    }
    out.milliseconds = static_cast<double>(timer.nsecsElapsed()) / 1e6 / static_cast<double>(pairs.size());
    return out;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int wanted = args.size() > 1 ? args[1].toInt() : 2000;
    const quint32 seed = args.size() > 2 ? args[2].toUInt() : 1;

    // Today's test cases first, then random failing pairs.
    std::vector<Pair> pairs = {
        {{238, 0, 0}, {220, 220, 220}},     {{119, 119, 119}, {255, 255, 255}}, {{20, 40, 90}, {0, 0, 0}},
        {{230, 220, 40}, {255, 255, 255}},  {{120, 60, 150}, {118, 118, 118}},  {{130, 130, 130}, {117, 117, 117}},
        {{250, 240, 235}, {200, 210, 220}}, {{150, 150, 150}, {220, 220, 220}},
    };
    QRandomGenerator random(seed);
    const auto component = [&] { return int(random.bounded(256)); };
    while (int(pairs.size()) < wanted) {
        const Pair p{{component(), component(), component()}, {component(), component(), component()}};
        if (Backdrop::plain(p.background).worstRatio(p.color) < contrast::AA)
            pairs.push_back(p);
    }

    const Outcome hsl = measure(pairs, [](Rgb c, const Backdrop &b) { return contrast::nearestByHslLightness(c, b); });
    const Outcome oklch = measure(pairs, [](Rgb c, const Backdrop &b) { return contrast::nearestByLightness(c, b); });
    const auto row = [&](const char *name, const Outcome &o) {
        std::printf("%-22s %6.2f %%   %6d   %.4f        %.4f       %.3f ms\n", name,
                    100.0 * o.reached / double(pairs.size()), o.none, o.sumDistance / double(pairs.size() - o.none),
                    o.worstDistance, o.milliseconds);
    };
    std::printf("%zu failing pairs on plain backgrounds (seed %u)\n", pairs.size(), seed);
    std::printf("%-22s %-10s %-8s %-13s %-12s %s\n", "fix", "reach AA", "no fix", "mean dEOK", "worst dEOK",
                "time per fix");
    row("HSL lightness (old)", hsl);
    row("OKLCH lightness (new)", oklch);
    return hsl.reached == oklch.reached || oklch.reached == int(pairs.size()) ? 0 : 1;
}

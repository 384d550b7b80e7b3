#include "color/contrast.h"

#include "color/colorspaces.h"
#include "color/srgb.h"

#include <QStringList>

#include <algorithm>
#include <bit>
#include <cmath>

namespace contrast {

namespace {

const std::array<double, 256> &linearTable()
{
    static const std::array<double, 256> table = [] {
        std::array<double, 256> t{};
        for (int v = 0; v < 256; ++v)
            t[v] = color::srgbToLinear(static_cast<std::uint8_t>(v));
        return t;
    }();
    return table;
}

double luminanceOf(std::uint32_t rgb)
{
    const auto &lin = linearTable();
    return 0.2126 * lin[(rgb >> 16) & 0xFF] + 0.7152 * lin[(rgb >> 8) & 0xFF] + 0.0722 * lin[rgb & 0xFF];
}

// The HSL weight of each channel for a hue in degrees: red, green, blue.
std::array<double, 3> hueWeights(double h)
{
    std::array<double, 3> w{};
    const std::array<double, 3> n = {0, 8, 4};
    for (int i = 0; i < 3; ++i) {
        const double k = std::fmod(n[i] + h / 30, 12);
        w[i] = std::max(-1.0, std::min({k - 3, 9 - k, 1.0}));
    }
    return w;
}

// One of the table's names for every target, as shared strings made once:
// the strip writes them on every color change.
using Names = std::array<QString, colorTargets.size()>;
Names namesFrom(const char *ColorTargetInfo::*field)
{
    Names names;
    for (const ColorTargetInfo &info : colorTargets)
        if (info.*field != nullptr)
            names[indexOf(info.target)] = QLatin1String(info.*field);
    return names;
}

QString longName(ColorTarget t)
{
    static const Names names = namesFrom(&ColorTargetInfo::sentenceWords);
    return names[indexOf(t)];
}

QString sentenceGrade(Grade g)
{
    switch (g) {
    case Grade::AAA: return QStringLiteral("AAA");
    case Grade::AA: return QStringLiteral("AA");
    case Grade::AALarge: return QStringLiteral("AA for large text only");
    case Grade::Fail: return QStringLiteral("fails AA");
    }
    return {};
}

// "a", "a and b", "a, b and c".
QString joined(const QStringList &items)
{
    if (items.size() <= 1)
        return items.join(QString());
    return items.mid(0, items.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") + items.last();
}

QString capitalized(QString s)
{
    if (!s.isEmpty())
        s[0] = s[0].toUpper();
    return s;
}

} // namespace

double linearChannel(int v)
{
    return linearTable()[static_cast<std::size_t>(std::clamp(v, 0, 255))];
}

double relativeLuminance(Rgb c)
{
    return 0.2126 * linearChannel(c.red) + 0.7152 * linearChannel(c.green) + 0.0722 * linearChannel(c.blue);
}

double contrastRatio(double luminanceA, double luminanceB)
{
    const double lighter = std::max(luminanceA, luminanceB);
    const double darker = std::min(luminanceA, luminanceB);
    return (lighter + 0.05) / (darker + 0.05);
}

double contrastRatio(Rgb a, Rgb b)
{
    return contrastRatio(relativeLuminance(a), relativeLuminance(b));
}

Grade grade(double ratio)
{
    if (ratio >= AAA)
        return Grade::AAA;
    if (ratio >= AA)
        return Grade::AA;
    if (ratio >= AALarge)
        return Grade::AALarge;
    return Grade::Fail;
}

QString gradeText(Grade g)
{
    switch (g) {
    case Grade::AAA: return QStringLiteral("AAA");
    case Grade::AA: return QStringLiteral("AA");
    case Grade::AALarge: return QStringLiteral("AA large");
    case Grade::Fail: return QStringLiteral("\u2717");
    }
    return {};
}

QString ratioText(double ratio, int decimals)
{
    // Hundredths (tenths), never rounded up: the next step counts only when
    // the ratio really reaches it, the same comparison the grades make.
    const int scale = decimals == 1 ? 10 : 100;
    auto steps = static_cast<long long>(std::floor(ratio * scale));
    if (static_cast<double>(steps + 1) / scale <= ratio)
        ++steps;
    else if (static_cast<double>(steps) / scale > ratio)
        --steps;
    return QStringLiteral("%1.%2").arg(steps / scale).arg(steps % scale, decimals == 1 ? 1 : 2, 10, QLatin1Char('0'));
}

bool tooCloseToText(Rgb link, Rgb text)
{
    return contrastRatio(link, text) < LinkFromText;
}

Backdrop Backdrop::plain(Rgb background)
{
    Backdrop b;
    b.m_luminances = {relativeLuminance(background)};
    return b;
}

Backdrop Backdrop::pixels(std::span<const std::uint32_t> argb)
{
    // Tiles repeat and images have runs of one color: repeats are dropped
    // before sorting.
    std::vector<std::uint64_t> keys;
    keys.reserve(argb.size());
    std::uint32_t last = 0;
    for (std::size_t i = 0; i < argb.size(); ++i) {
        const std::uint32_t p = argb[i] & 0xFFFFFFu;
        if (i == 0 || p != last)
            keys.push_back(std::bit_cast<std::uint64_t>(luminanceOf(p)));
        last = p;
    }
    // Non-negative doubles order like their bit patterns: a radix sort of
    // those keeps the scan of a whole preview well inside a millisecond.
    std::vector<std::uint64_t> sorted(keys.size());
    for (int shift = 0; shift < 64; shift += 8) {
        std::array<std::size_t, 257> start{};
        for (std::uint64_t k : keys)
            ++start[((k >> shift) & 0xFF) + 1];
        if (std::find(start.begin() + 1, start.end(), keys.size()) != start.end())
            continue; // every key has the same byte here
        for (std::size_t b = 1; b < start.size(); ++b)
            start[b] += start[b - 1];
        for (std::uint64_t k : keys)
            sorted[start[(k >> shift) & 0xFF]++] = k;
        keys.swap(sorted);
    }
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    Backdrop b;
    b.m_luminances.reserve(keys.size());
    for (std::uint64_t k : keys)
        b.m_luminances.push_back(std::bit_cast<double>(k));
    return b;
}

double Backdrop::worstRatio(double luminance) const
{
    if (m_luminances.empty())
        return contrastRatio(1.0, 0.0);
    // The nearest luminances on either side give the lowest ratio.
    const auto above = std::lower_bound(m_luminances.begin(), m_luminances.end(), luminance);
    double worst = contrastRatio(1.0, 0.0);
    if (above != m_luminances.end())
        worst = contrastRatio(luminance, *above);
    if (above != m_luminances.begin())
        worst = std::min(worst, contrastRatio(luminance, *std::prev(above)));
    return worst;
}

namespace {

// The 8-bit color at a place on the HSL path.
Rgb fromHsl(const color::Hsl &c)
{
    return color::toRgb(color::srgbFromHsl(c));
}

} // namespace

std::optional<Rgb> nearestByHslLightness(Rgb c, const Backdrop &backdrop, double minimum)
{
    if (backdrop.worstRatio(c) >= minimum)
        return c;
    const color::Hsl start = color::hslFromSrgb(color::toSrgb(c));
    // Along the lightness each 8-bit component changes at known points; the
    // color is constant between two of them, so every color the path passes
    // is looked at once, and none is skipped.
    std::vector<double> cuts = {0.0, 1.0};
    for (double w : hueWeights(start.h)) {
        const double ws = w * start.s;
        for (int k = 0; k < 255; ++k) {
            const double t = (k + 0.5) / 255;
            if (1 - ws > 1e-12) {
                const double l = t / (1 - ws); // channel = l (1 - ws) below half lightness
                if (l > 0 && l <= 0.5)
                    cuts.push_back(l);
            }
            if (1 + ws > 1e-12) {
                const double l = (t + ws) / (1 + ws); // channel = l (1 + ws) - ws above it
                if (l >= 0.5 && l < 1)
                    cuts.push_back(l);
            }
        }
    }
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());

    std::optional<Rgb> best;
    double bestDistance = 2, bestRatio = 0;
    auto consider = [&](double low, double high, double at) {
        const Rgb candidate = fromHsl({start.h, start.s, at});
        const double ratio = backdrop.worstRatio(candidate);
        if (ratio < minimum)
            return;
        const double distance = start.l < low ? low - start.l : (start.l > high ? start.l - high : 0.0);
        if (distance < bestDistance || (distance == bestDistance && ratio > bestRatio)) {
            best = candidate;
            bestDistance = distance;
            bestRatio = ratio;
        }
    };
    consider(0, 0, 0);
    for (std::size_t i = 0; i + 1 < cuts.size(); ++i)
        consider(cuts[i], cuts[i + 1], (cuts[i] + cuts[i + 1]) / 2);
    consider(1, 1, 1);
    return best;
}

std::optional<Rgb> nearestByLightness(Rgb c, const Backdrop &backdrop, double minimum)
{
    if (backdrop.worstRatio(c) >= minimum)
        return c;
    const color::Oklch start = color::oklchFromSrgb(color::toSrgb(c));
    const auto at = [&](double l) { return color::toRgb(color::mapIntoSrgb(color::Oklch{l, start.c, start.h}).color); };
    // Outward from the color in steps finer than any 8-bit step along the
    // way, both ways at once: the first that reaches the minimum is the
    // nearest (of two at one distance, the one that stands off more).
    constexpr double step = 1.0 / 4096;
    for (int k = 1;; ++k) {
        const double distance = k * step;
        bool inside = false;
        std::optional<Rgb> best;
        double bestRatio = 0;
        for (const double l : {start.l - distance, start.l + distance}) {
            if (l <= -step || l >= 1 + step)
                continue;
            inside = true;
            const Rgb candidate = at(std::clamp(l, 0.0, 1.0));
            const double ratio = backdrop.worstRatio(candidate);
            if (ratio >= minimum && ratio > bestRatio) {
                best = candidate;
                bestRatio = ratio;
            }
        }
        if (best)
            return best;
        if (!inside)
            break;
    }
    // Gamut mapping can leave a lightness out that HSL reaches.
    return nearestByHslLightness(c, backdrop, minimum);
}

Report report(const std::array<Rgb, Graded> &colors, const Backdrop &backdrop, bool overImage)
{
    const Rgb text = colors[gradedIndex(ColorTarget::Text)];
    Report r;
    r.overImage = overImage;
    for (std::size_t i = 0; i < Graded; ++i) {
        Entry &e = r.entries[i];
        e.target = gradedTargets()[i];
        e.ratio = backdrop.worstRatio(colors[i]);
        e.nearText = e.target != ColorTarget::Text && tooCloseToText(colors[i], text);
    }
    return r;
}

bool failing(const Entry &e)
{
    return e.ratio < AA;
}

QString shortName(ColorTarget t, Density d)
{
    static const Names names = namesFrom(&ColorTargetInfo::stripWord);
    const QString &name = names[indexOf(t)];
    return d == Density::Short || d == Density::Shortest ? name.left(1) : name;
}

QString entryText(const Entry &e, Density d)
{
    QString s = shortName(e.target, d) + QLatin1Char(' ') + ratioText(e.ratio, d == Density::Shortest ? 1 : 2)
                + QLatin1Char(' ') + gradeText(grade(e.ratio));
    if (e.nearText)
        s += QLatin1Char('*');
    return s;
}

QString fixKey(ColorTarget t)
{
    return QStringLiteral("Alt+%1").arg(gradedIndex(t) + 1);
}

QString nearTextNote(const Report &r, Density d)
{
    for (const Entry &e : r.entries)
        if (e.nearText)
            return d == Density::Shortest ? QStringLiteral("*\u2248text") : QStringLiteral("*near text");
    return {};
}

QString leadText(const Report &r, Density d)
{
    if (!r.overImage)
        return {};
    return d == Density::Full ? QStringLiteral("Worst on image:") : QStringLiteral("Worst:");
}

QString sentence(const Report &r)
{
    QStringList parts;
    QStringList near;
    QStringList fixes;
    for (const Entry &e : r.entries) {
        parts << QStringLiteral("%1 %2:1 (%3)")
                     .arg(longName(e.target), ratioText(e.ratio), sentenceGrade(grade(e.ratio)));
        if (e.nearText)
            near << longName(e.target);
        if (failing(e))
            fixes << QStringLiteral("%1 for %2").arg(fixKey(e.target), longName(e.target));
    }
    QString s = r.overImage ? QStringLiteral("Worst-case contrast over the background image: ")
                            : QStringLiteral("Contrast against the background: ");
    s += joined(parts) + QLatin1Char('.');
    if (!near.isEmpty())
        s += QLatin1Char(' ') + capitalized(joined(near)) + QStringLiteral(" are within 3:1 of the text color.");
    if (!fixes.isEmpty())
        s += QStringLiteral(" To reach AA by changing only the lightness, click a failing entry or press ")
             + fixes.join(QStringLiteral(" or ")) + QLatin1Char('.');
    return s;
}

QString noFixText(ColorTarget t)
{
    return QStringLiteral("No lightness of the %1 reaches AA here: nothing changed.")
        .arg(QLatin1String(targetInfo(t).colorWords));
}

} // namespace contrast

#include "color/colorspaces.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace color {
namespace {

using Matrix = std::array<std::array<double, 3>, 3>;

std::array<double, 3> times(const Matrix &m, const std::array<double, 3> &v)
{
    std::array<double, 3> out{};
    for (int i = 0; i < 3; ++i)
        out[i] = m[i][0] * v[0] + m[i][1] * v[1] + m[i][2] * v[2];
    return out;
}

// The CSS color standard's matrices, written as it writes them (rational
// where it gives them so) so that rounding agrees with other implementations.
constexpr Matrix linearSrgbToXyz = {{
    {506752.0 / 1228815, 87881.0 / 245763, 12673.0 / 70218},
    {87098.0 / 409605, 175762.0 / 245763, 12673.0 / 175545},
    {7918.0 / 409605, 87881.0 / 737289, 1001167.0 / 1053270},
}};
constexpr Matrix xyzToLinearSrgb = {{
    {12831.0 / 3959, -329.0 / 214, -1974.0 / 3959},
    {-851781.0 / 878810, 1648619.0 / 878810, 36519.0 / 878810},
    {705.0 / 12673, -2585.0 / 12673, 705.0 / 667},
}};
constexpr Matrix linearP3ToXyz = {{
    {608311.0 / 1250200, 189793.0 / 714400, 198249.0 / 1000160},
    {35783.0 / 156275, 247089.0 / 357200, 198249.0 / 2500400},
    {0.0, 32229.0 / 714400, 5220557.0 / 5000800},
}};
// Bradford chromatic adaptation from the D50 white of Lab to D65.
constexpr Matrix d50ToD65 = {{
    {0.955473421488075, -0.02309845494876471, 0.06325924320057072},
    {-0.0283697093338637, 1.0099953980813041, 0.021041441191917323},
    {0.012314014864481998, -0.020507649298898964, 1.330365926242124},
}};
constexpr Matrix xyzToLms = {{
    {0.8190224379967030, 0.3619062600528904, -0.1288737815209879},
    {0.0329836539323885, 0.9292868615863434, 0.0361446663506424},
    {0.0481771893596242, 0.2642395317527308, 0.6335478284694309},
}};
constexpr Matrix lmsToOklab = {{
    {0.2104542683093140, 0.7936177747023054, -0.0040720430116193},
    {1.9779985324311684, -2.4285922420485799, 0.4505937096174110},
    {0.0259040424655478, 0.7827717124575296, -0.8086757549230774},
}};
constexpr Matrix oklabToLms = {{
    {1.0000000000000000, 0.3963377773761749, 0.2158037573099136},
    {1.0000000000000000, -0.1055613458156586, -0.0638541728258133},
    {1.0000000000000000, -0.0894841775298119, -1.2914855480194092},
}};
constexpr Matrix lmsToXyz = {{
    {1.2268798758459243, -0.5578149944602171, 0.2813910456659647},
    {-0.0405757452148008, 1.1122868032803170, -0.0717110580655164},
    {-0.0763729366746601, -0.4214933324022432, 1.5869240198367816},
}};

constexpr double degrees = 180.0 / std::numbers::pi;

// Hue in 0..360.
double normalHue(double h)
{
    if (!std::isfinite(h))
        return 0;
    h = std::fmod(h, 360.0);
    return h < 0 ? h + 360.0 : h;
}

Xyz toXyz(const std::array<double, 3> &v)
{
    return {v[0], v[1], v[2]};
}

} // namespace

Srgb toSrgb(Rgb c)
{
    return {c.red / 255.0, c.green / 255.0, c.blue / 255.0};
}

Rgb toRgb(Srgb c)
{
    const auto channel = [](double v) {
        return static_cast<int>(std::lround(std::clamp(std::isfinite(v) ? v : 0.0, 0.0, 1.0) * 255.0));
    };
    return {channel(c.r), channel(c.g), channel(c.b)};
}

double linearFromGamma(double channel)
{
    const double magnitude = std::abs(channel);
    const double linear = magnitude <= 0.04045 ? magnitude / 12.92 : std::pow((magnitude + 0.055) / 1.055, 2.4);
    return std::copysign(linear, channel);
}

double gammaFromLinear(double linear)
{
    const double magnitude = std::abs(linear);
    const double gamma = magnitude > 0.0031308 ? 1.055 * std::pow(magnitude, 1 / 2.4) - 0.055 : 12.92 * magnitude;
    return std::copysign(gamma, linear);
}

Xyz xyzFromSrgb(Srgb c)
{
    return toXyz(times(linearSrgbToXyz, {linearFromGamma(c.r), linearFromGamma(c.g), linearFromGamma(c.b)}));
}

Srgb srgbFromXyz(Xyz c)
{
    const auto linear = times(xyzToLinearSrgb, {c.x, c.y, c.z});
    return {gammaFromLinear(linear[0]), gammaFromLinear(linear[1]), gammaFromLinear(linear[2])};
}

Xyz xyzFromDisplayP3(Srgb p3)
{
    // display-p3 shares sRGB's transfer curve.
    return toXyz(times(linearP3ToXyz, {linearFromGamma(p3.r), linearFromGamma(p3.g), linearFromGamma(p3.b)}));
}

Xyz xyzFromLab(Lab c)
{
    constexpr double kappa = 24389.0 / 27;
    constexpr double epsilon = 216.0 / 24389;
    constexpr std::array<double, 3> d50 = {0.3457 / 0.3585, 1.0, (1.0 - 0.3457 - 0.3585) / 0.3585};
    const double f1 = (c.l + 16) / 116;
    const double f0 = c.a / 500 + f1;
    const double f2 = f1 - c.b / 200;
    const double x = std::pow(f0, 3) > epsilon ? std::pow(f0, 3) : (116 * f0 - 16) / kappa;
    const double y = c.l > kappa * epsilon ? std::pow(f1, 3) : c.l / kappa;
    const double z = std::pow(f2, 3) > epsilon ? std::pow(f2, 3) : (116 * f2 - 16) / kappa;
    return toXyz(times(d50ToD65, {x * d50[0], y * d50[1], z * d50[2]}));
}

Xyz xyzD65FromD50(Xyz c)
{
    return toXyz(times(d50ToD65, {c.x, c.y, c.z}));
}

Lab labFromLch(double l, double c, double h)
{
    const double radians = normalHue(h) / degrees;
    return {l, c * std::cos(radians), c * std::sin(radians)};
}

Oklab oklabFromXyz(Xyz c)
{
    auto lms = times(xyzToLms, {c.x, c.y, c.z});
    for (double &v : lms)
        v = std::cbrt(v);
    const auto lab = times(lmsToOklab, lms);
    return {lab[0], lab[1], lab[2]};
}

Xyz xyzFromOklab(Oklab c)
{
    auto lms = times(oklabToLms, {c.l, c.a, c.b});
    for (double &v : lms)
        v = v * v * v;
    return toXyz(times(lmsToXyz, lms));
}

Oklab oklabFromSrgb(Srgb c)
{
    return oklabFromXyz(xyzFromSrgb(c));
}

Srgb srgbFromOklab(Oklab c)
{
    return srgbFromXyz(xyzFromOklab(c));
}

Oklch oklchFromOklab(Oklab c)
{
    const double chroma = std::hypot(c.a, c.b);
    // Below this a gray's a and b are rounding noise, and its hue means nothing.
    constexpr double achromatic = 0.000004;
    const double hue = chroma < achromatic ? 0.0 : normalHue(std::atan2(c.b, c.a) * degrees);
    return {c.l, chroma, hue};
}

Oklab oklabFromOklch(Oklch c)
{
    const double radians = normalHue(c.h) / degrees;
    const double chroma = std::max(c.c, 0.0);
    return {c.l, chroma * std::cos(radians), chroma * std::sin(radians)};
}

Oklch oklchFromSrgb(Srgb c)
{
    return oklchFromOklab(oklabFromSrgb(c));
}

Srgb srgbFromOklch(Oklch c)
{
    return srgbFromOklab(oklabFromOklch(c));
}

Hsl hslFromSrgb(Srgb c)
{
    const double high = std::max({c.r, c.g, c.b});
    const double low = std::min({c.r, c.g, c.b});
    const double l = (high + low) / 2;
    const double d = high - low;
    Hsl out{0, 0, l};
    if (d == 0)
        return out;
    out.s = (l == 0 || l == 1) ? 0 : (high - l) / std::min(l, 1 - l);
    if (high == c.r)
        out.h = (c.g - c.b) / d + (c.g < c.b ? 6 : 0);
    else if (high == c.g)
        out.h = (c.b - c.r) / d + 2;
    else
        out.h = (c.r - c.g) / d + 4;
    out.h = normalHue(out.h * 60);
    return out;
}

Srgb srgbFromHsl(Hsl c)
{
    const double h = normalHue(c.h);
    const double a = c.s * std::min(c.l, 1 - c.l);
    const auto f = [&](double n) {
        const double k = std::fmod(n + h / 30, 12.0);
        return c.l - a * std::max(-1.0, std::min({k - 3, 9 - k, 1.0}));
    };
    return {f(0), f(8), f(4)};
}

Srgb srgbFromHwb(double h, double whiteness, double blackness)
{
    if (whiteness + blackness >= 1) {
        const double gray = whiteness / (whiteness + blackness);
        return {gray, gray, gray};
    }
    const Srgb pure = srgbFromHsl({h, 1, 0.5});
    const double scale = 1 - whiteness - blackness;
    return {pure.r * scale + whiteness, pure.g * scale + whiteness, pure.b * scale + whiteness};
}

bool inGamut(Srgb c, double epsilon)
{
    const auto within = [&](double v) { return v >= -epsilon && v <= 1 + epsilon; };
    return within(c.r) && within(c.g) && within(c.b);
}

double deltaEOK(Oklab a, Oklab b)
{
    return std::sqrt((a.l - b.l) * (a.l - b.l) + (a.a - b.a) * (a.a - b.a) + (a.b - b.b) * (a.b - b.b));
}

Mapped mapIntoSrgb(Oklch origin)
{
    if (origin.l >= 1)
        return {{1, 1, 1}, false};
    if (origin.l <= 0)
        return {{0, 0, 0}, false};
    const Srgb direct = srgbFromOklch(origin);
    if (inGamut(direct))
        return {direct, false};

    constexpr double jnd = 0.02;
    constexpr double epsilon = 0.0001;
    const auto clip = [](Srgb c) {
        return Srgb{std::clamp(c.r, 0.0, 1.0), std::clamp(c.g, 0.0, 1.0), std::clamp(c.b, 0.0, 1.0)};
    };
    Oklch current = origin;
    Srgb clipped = clip(direct);
    if (deltaEOK(oklabFromSrgb(clipped), oklabFromOklch(current)) < jnd)
        return {clipped, true};
    double low = 0;
    double high = origin.c;
    bool lowInGamut = true;
    while (high - low > epsilon) {
        current.c = (low + high) / 2;
        const Srgb candidate = srgbFromOklch(current);
        if (lowInGamut && inGamut(candidate)) {
            low = current.c;
            continue;
        }
        clipped = clip(candidate);
        const double e = deltaEOK(oklabFromSrgb(clipped), oklabFromOklch(current));
        if (e < jnd) {
            if (jnd - e < epsilon)
                break;
            lowInGamut = false;
            low = current.c;
        } else {
            high = current.c;
        }
    }
    return {clipped, true};
}

Mapped mapIntoSrgb(Srgb c)
{
    if (inGamut(c))
        return {c, false};
    Mapped mapped = mapIntoSrgb(oklchFromSrgb(c));
    mapped.wasOutside = true;
    return mapped;
}

} // namespace color

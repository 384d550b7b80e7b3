#pragma once

#include "color/rgb.h"

#include <array>

// The color spaces of CSS: sRGB and its cylindrical forms HSL and HWB, CIE
// Lab and LCH (D50), OKLab and OKLCH, and display-p3. Conversions go
// through CIE XYZ (D65) in double precision, with the matrices the CSS color
// standard gives, so results agree with other implementations of it.
namespace color {

// Gamma-encoded sRGB, 1 being full; values outside 0..1 lie outside sRGB.
struct Srgb {
    double r = 0, g = 0, b = 0;
};
// Lightness 0..1, a and b about -0.4..0.4.
struct Oklab {
    double l = 0, a = 0, b = 0;
};
// Lightness 0..1, chroma 0.. (sRGB reaches about 0.32), hue in degrees
// 0..360.
struct Oklch {
    double l = 0, c = 0, h = 0;
};
// Hue in degrees 0..360, saturation and lightness 0..1.
struct Hsl {
    double h = 0, s = 0, l = 0;
};
// CIE Lab (D50): lightness 0..100.
struct Lab {
    double l = 0, a = 0, b = 0;
};
// CIE XYZ, Y = 1 for white.
struct Xyz {
    double x = 0, y = 0, z = 0;
};

Srgb toSrgb(Rgb c);
// Each channel clamped to 0..1 and rounded to the nearest of 256 steps.
Rgb toRgb(Srgb c);

// One gamma-encoded channel as linear light and back; the sign of a
// channel outside 0..1 is kept, as CSS extends the curve.
double linearFromGamma(double channel);
double gammaFromLinear(double linear);

Xyz xyzFromSrgb(Srgb c);
Srgb srgbFromXyz(Xyz c);
Xyz xyzFromDisplayP3(Srgb p3);
Xyz xyzFromLab(Lab c);
// XYZ relative to the D50 white (of Lab) adapted to D65, where the rest lives.
Xyz xyzD65FromD50(Xyz c);
// Polar forms: chroma and hue (degrees) from a and b, and back.
Lab labFromLch(double l, double c, double h);

Oklab oklabFromXyz(Xyz c);
Xyz xyzFromOklab(Oklab c);
Oklab oklabFromSrgb(Srgb c);
Srgb srgbFromOklab(Oklab c);
Oklch oklchFromOklab(Oklab c);
Oklab oklabFromOklch(Oklch c);
Oklch oklchFromSrgb(Srgb c);
Srgb srgbFromOklch(Oklch c);

// An achromatic color has no hue: its HSL and OKLCH hue is 0.
Hsl hslFromSrgb(Srgb c);
Srgb srgbFromHsl(Hsl c);
// Hue in degrees, whiteness and blackness 0..1.
Srgb srgbFromHwb(double h, double whiteness, double blackness);

// Whether each channel lies within 0..1, give or take `epsilon`.
bool inGamut(Srgb c, double epsilon = 0.000075);
// The distance between two colors in OKLab.
double deltaEOK(Oklab a, Oklab b);

// A color brought into sRGB by the CSS gamut-mapping algorithm: its OKLCH
// chroma is reduced until clipping the rest changes it by less than a just
// noticeable difference (deltaEOK 0.02). A color in sRGB comes back as it is.
struct Mapped {
    Srgb color;
    bool wasOutside = false;
};
Mapped mapIntoSrgb(Oklch c);
Mapped mapIntoSrgb(Srgb c);

} // namespace color

#pragma once

#include "color/colortargets.h"
#include "color/rgb.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// Contrast of the page colors after WCAG 2.x: relative luminance, contrast
// ratio, grades, the lightness fix, and the texts of the contrast strip.
namespace contrast {

using color::Rgb;

// The ratios the grades and the fix aim at.
inline constexpr double AAA = 7.0;
inline constexpr double AA = 4.5;
inline constexpr double AALarge = 3.0;
// Links that are not underlined must differ from the body text by this much.
inline constexpr double LinkFromText = 3.0;

// One sRGB component 0..255 as linear light 0..1.
double linearChannel(int v);
double relativeLuminance(Rgb c);
// (L1 + 0.05) / (L2 + 0.05) with L1 the lighter of the two luminances.
double contrastRatio(double luminanceA, double luminanceB);
double contrastRatio(Rgb a, Rgb b);

enum class Grade { Fail, AALarge, AA, AAA };
// Judged on the exact ratio.
Grade grade(double ratio);
// "AAA", "AA", "AA large", or the fail mark.
QString gradeText(Grade g);
// The ratio with two (or one) decimals, truncated: 4.499 shows "4.49",
// never "4.50".
QString ratioText(double ratio, int decimals = 2);

// True where a link color is within 3:1 of the text color.
bool tooCloseToText(Rgb link, Rgb text);

// What a color is seen against: one luminance for a plain background, the
// luminances of all pixels for a background image. A color's ratio against
// it is its worst one.
class Backdrop {
public:
    static Backdrop plain(Rgb background);
    // Opaque 0xAARRGGBB pixels; the alpha byte is ignored.
    static Backdrop pixels(std::span<const std::uint32_t> argb);

    double worstRatio(double luminance) const;
    double worstRatio(Rgb c) const { return worstRatio(relativeLuminance(c)); }
    // Number of distinct luminances.
    std::size_t size() const { return m_luminances.size(); }

private:
    std::vector<double> m_luminances; // sorted, distinct
};

// The color nearest in OKLCH lightness to `c`, with its OKLCH hue and chroma
// where sRGB has them (brought into sRGB by the CSS gamut mapping where it
// has not), that reaches `minimum` against the backdrop. Where no OKLCH
// lightness does, the HSL path below is taken; nothing when neither reaches
// it. A color that already reaches it is returned unchanged.
std::optional<Rgb> nearestByLightness(Rgb c, const Backdrop &backdrop, double minimum = AA);

// The former fix, kept as the fallback of the one above and for comparison
// (bench/contrastfix.cpp): the color nearest in HSL lightness, with its HSL
// hue and saturation, that reaches `minimum`.
std::optional<Rgb> nearestByHslLightness(Rgb c, const Backdrop &backdrop, double minimum = AA);

// The colors the strip judges against the background: every target but the
// back color, in the order of gradedTargets().
inline constexpr std::size_t Graded = gradedTargets().size();

struct Entry {
    ColorTarget target = ColorTarget::Text;
    double ratio = 1; // against the background, worst case over an image
    bool nearText = false;
};

struct Report {
    std::array<Entry, Graded> entries;
    bool overImage = false;
};

// The report for the graded colors against the backdrop of the page.
// `colors` are the graded targets' colors, in their order.
Report report(const std::array<Rgb, Graded> &colors, const Backdrop &backdrop, bool overImage);

// True where the entry falls short of AA and the fix applies.
bool failing(const Entry &e);

// How tightly the strip writes its line; it takes the first that fits.
enum class Density {
    Full,    // "Worst on image: Text 14.43 AAA ... *near text"
    Named,   // "Worst:" for "Worst on image:"
    Short,   // initials: "T 14.43 AAA"
    Shortest // one decimal, "*≈text"
};
inline constexpr std::array<Density, 4> Densities = {Density::Full, Density::Named, Density::Short, Density::Shortest};

// The entry's name on the strip: "Text", "New", "Visited", "Active", or its initial.
QString shortName(ColorTarget t, Density d = Density::Full);
// The entry as the strip shows it, for example "Active 3.30 AA large"; a
// star marks a link within 3:1 of the text.
QString entryText(const Entry &e, Density d = Density::Full);
// The key that fixes the entry: "Alt+1" for Text to "Alt+4" for ActiveLink.
QString fixKey(ColorTarget t);
// The strip's closing note on the star; empty when no link is near the text.
QString nearTextNote(const Report &r, Density d = Density::Full);
// The strip's opening words: only over an image.
QString leadText(const Report &r, Density d = Density::Full);
// The full sentence for the accessible description and the tooltip.
QString sentence(const Report &r);
// Said when a fix was asked for and no lightness reaches AA.
QString noFixText(ColorTarget t);

} // namespace contrast

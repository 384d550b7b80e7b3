#pragma once

#include "color/rgb.h"

#include <QString>
#include <QStringView>

#include <optional>
#include <utility>
#include <vector>

namespace color {

// A CSS named color (the full CSS list, ASCII case-insensitive); not
// "transparent" nor "currentcolor", which name no color of their own.
std::optional<Rgb> namedColor(QStringView name);

// A color read from CSS text, and what the reading had to leave out: a page's
// colors have no transparency and lie within sRGB.
struct ReadColor {
    Rgb rgb;
    bool translucent = false; // its alpha is below 1; `rgb` is the color without it
    bool gamutMapped = false; // it lay outside sRGB and was brought in
    friend bool operator==(const ReadColor &, const ReadColor &) = default;
};

// A CSS color value in any form of CSS Color 4 (ASCII case-insensitive):
// "#RGB", "#RGBA", "#RRGGBB", "#RRGGBBAA"; rgb()/rgba() and hsl()/hsla() in
// the comma syntax or the space syntax with "/ alpha"; hwb(), lab(), lch(),
// oklab(), oklch(); color(srgb ...), color(srgb-linear ...), color(display-p3
// ...), color(xyz ...), color(xyz-d50 ...), color(xyz-d65 ...); "none" for a
// component in the space syntax; a named color or "transparent". rgb()
// components are clamped to 0..255 and rounded half up on their exact value.
std::optional<ReadColor> cssColorValue(QStringView value);

// The same for an opaque color only: a translucent one gives nothing.
std::optional<Rgb> cssColor(QStringView value);

// A color as a user pastes it: a CSS color value, "RRGGBB" without its "#",
// or one color declaration of our own "Copy as CSS" text ("color: #0A0A0A;",
// "a:link { color: #0000EE; }"); blanks around are ignored. Anything else,
// a CSS text with more than one color among them, gives nothing.
std::optional<ReadColor> pastedColor(const QString &text);

// The pasted color where it is opaque.
std::optional<Rgb> colorFromText(const QString &text);

// A color as CSS writes it in the space syntax: hue and percentages with at
// most one decimal, OKLCH chroma with at most three, trailing zeros dropped,
// a gray's hue 0: "hsl(0 100% 50%)", "oklch(62.8% 0.258 29.2)". Of the texts
// one step around the rounded values the nearest that reads back to the same
// 8-bit color is written; where none does, each gets one decimal more.
QString hslText(Rgb c);
QString oklchText(Rgb c);

// Why a pasted or dropped translucent color is refused.
QString translucentColorText(const QString &text);
// What became of a pasted or dropped color outside sRGB.
QString gamutMappedText(const QString &text, Rgb mapped);

// An HTML attribute's color by the legacy rules browsers apply to BGCOLOR,
// TEXT, LINK, VLINK and ALINK: never fails for a text that is not empty or
// "transparent" ("chucknorris" is #C00000).
std::optional<Rgb> legacyColor(QStringView value);

// CSS rules: selectors and declarations (property in lower case, value
// trimmed), in the order written. Comments are dropped; a text that does not
// read as rules gives nothing.
struct CssRule {
    QString selectors;
    std::vector<std::pair<QString, QString>> declarations;
};
std::optional<std::vector<CssRule>> cssRules(QStringView css);

// Declarations without a rule around them ("color: red; background-color: #fff").
std::optional<std::vector<std::pair<QString, QString>>> cssDeclarations(QStringView text);

// One code point as text. (QString::fromUcs4 would drop a U+FEFF, taking it
// for a byte order mark.)
QString codePointText(char32_t code);

// The text of a CSS string or url(...) with its escapes undone.
QString cssUnescaped(QStringView text);

} // namespace color

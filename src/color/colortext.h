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

// A CSS color value: "#RGB", "#RRGGBB", "rgb(r, g, b)" with numbers or
// percentages (clamped to 0..255, rounded half up), or a named color.
std::optional<Rgb> cssColor(QStringView value);

// A color as a user pastes it: a CSS color value, "RRGGBB" without its "#",
// or one color declaration of our own "Copy as CSS" text ("color: #0A0A0A;",
// "a:link { color: #0000EE; }"); blanks around are ignored. Anything else,
// a CSS text with more than one color among them, gives nothing.
std::optional<Rgb> colorFromText(const QString &text);

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

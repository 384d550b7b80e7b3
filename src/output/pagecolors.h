#pragma once

#include "color/colortargets.h"
#include "color/colortext.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

namespace output {

// What a page says about its five colors and its background image; a piece
// the page leaves out is absent.
struct ReadColors {
    // In the order of the table of targets.
    std::array<std::optional<color::Rgb>, colorTargets.size()> colors;
    // The image's file name as written (character references undone).
    std::optional<QString> background;
    std::optional<color::Rgb> &operator[](ColorTarget t) { return colors[static_cast<std::size_t>(t)]; }
    const std::optional<color::Rgb> &operator[](ColorTarget t) const { return colors[static_cast<std::size_t>(t)]; }
    friend bool operator==(const ReadColors &, const ReadColors &) = default;
};

// The colors of a page's first BODY tag (BGCOLOR, TEXT, LINK, VLINK, ALINK
// by the legacy color rules; BACKGROUND), overridden by our own "Copy as CSS"
// rules in its STYLE blocks, as a browser shows them. The page is read in the
// encoding it declares (UTF-8 or UTF-16 by a byte order mark or a META line;
// otherwise ISO-8859-1). Nothing when the page has neither a BODY tag nor
// such a rule.
std::optional<ReadColors> readPageColors(const QByteArray &page);

// The colors of our own CSS rules (body, a:link, a:visited, a:active) in a
// style sheet; absent where the sheet says nothing or cannot be read.
ReadColors colorsFromCss(const QString &css);

// HTML character references in an attribute value undone: numeric ones and
// the named ones for &, <, >, ", ' and the ISO-8859-1 characters.
QString htmlUnescaped(const QString &text);

// The messages of opening a page's colors.
QString pageTooLargeText(const QString &path);
QString pageUnreadableText(const QString &path, const QString &reason);
QString pageWithoutBodyText(const QString &path);
QString pageImageMissingText(const QString &name, const QString &folder);
// The same for a background image that is there but cannot be used, `why`
// ending the sentence.
QString pageImageUnusableText(const QString &name, const QString &folder, const QString &why);

} // namespace output

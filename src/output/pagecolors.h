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
    // The page links or imports style sheets, which are not read.
    bool linksStyleSheets = false;
    std::optional<color::Rgb> &operator[](ColorTarget t) { return colors[static_cast<std::size_t>(t)]; }
    const std::optional<color::Rgb> &operator[](ColorTarget t) const { return colors[static_cast<std::size_t>(t)]; }
    friend bool operator==(const ReadColors &, const ReadColors &) = default;
};

// The colors a browser shows for a page: the body element's BGCOLOR, TEXT,
// LINK, VLINK and ALINK (by the legacy color rules) and BACKGROUND, as an
// HTML5 parser builds it (later BODY tags add what the first left out), with
// the page's STYLE blocks cascaded over them. The page is decoded as a
// browser decodes it (byte order mark, META prescan, else windows-1252).
// Nothing when the page has neither a BODY tag nor such a rule.
std::optional<ReadColors> readPageColors(const QByteArray &page);

// The colors one style sheet gives by the cascade (body, html, a, :link,
// :visited, :active); absent where it says nothing.
ReadColors colorsFromCss(const QString &css);

// The messages of opening a page's colors.
QString pageTooLargeText(const QString &path);
QString pageUnreadableText(const QString &path, const QString &reason);
QString pageWithoutBodyText(const QString &path);
// What an opened page gave that was left out: its background color
// (`backColor`, a HexColor), which a loaded picture keeps from changing, and
// its background image `image`, which is not in `folder` or, with `why`, is
// there but cannot be used; empty where nothing was left out.
QString pageLeftOutText(const QString &backColor, const QString &image, const QString &folder, const QString &why = {});
// Said after the colors of a page that links style sheets.
QString pageStyleSheetsText();

} // namespace output

#pragma once

#include "color/colortext.h"

#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

namespace output {

// What a page's legacy BODY attributes give, before any style sheet:
// presentational hints, which every author rule outranks.
struct BodyHints {
    std::optional<color::Rgb> back, text, link, vlink, alink;
    std::optional<QString> background;
};

// The cascade's outcome for the five colors and the image. A piece set to
// "transparent" or "none" by a winning rule is absent.
struct CascadedColors {
    std::optional<color::Rgb> back, text, link, vlink, alink;
    std::optional<QString> background;
    // A sheet @imports another, which is not read.
    bool importsSheets = false;
};

// Whether a media query list ("screen", "print, all", "not print") holds for
// a screen; a query with features is taken as not holding. An empty list is all.
bool mediaForScreen(QStringView mediaList);

// The style sheets in page order, read by CSS Syntax Level 3, cascaded over
// the hints among body, html, a, :link, :visited, :active (and a: with each)
// by importance, specificity and order.
CascadedColors cascadedColors(const BodyHints &hints, const std::vector<QString> &sheets);

} // namespace output

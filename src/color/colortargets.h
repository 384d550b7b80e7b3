#pragma once

#include "color/colortext.h"

#include <QString>

#include <array>
#include <cstddef>

// The five colors a page is given, in the order their options stand in the
// main window.
enum class ColorTarget { Text, Back, NewLink, VisitedLink, ActiveLink };

// A page's five colors as HexColors ("#RRGGBB", as the hex boxes hold them)
// and its background image's bare name (empty for none).
struct PageColors {
    QString back, text, newLink, visitedLink, activeLink;
    QString imageName = {};

    QString &operator[](ColorTarget target);
    const QString &operator[](ColorTarget target) const;
    friend bool operator==(const PageColors &, const PageColors &) = default;
};

// Everything that tells one target from another: the names of the main
// window's controls that show and keep it, its texts, and where it goes in a
// page. Whatever lists the targets walks this table.
struct ColorTargetInfo {
    ColorTarget target;
    // Option button: name, caption and tooltip.
    const char *option;
    const char *caption;
    const char *optionTip;
    // Reset button, or none.
    const char *reset = nullptr;
    // The three state fields that keep its red, green and blue.
    std::array<const char *, 3> stores;
    // Hex box and swatch of the right column, and the copy button below them.
    const char *hexBox;
    const char *swatch;
    const char *copyButton;
    const char *copyCaption;
    const char *copyTip;
    // What shows it in the preview: the preview box itself for the back color.
    const char *previewElement;
    color::Rgb defaultColor;
    // Where a page's colors keep it.
    QString PageColors::*pageField;
    // In a page: the BODY attribute (none: left out of the tag), and the CSS
    // rule and property, the rule's place among the link states (link,
    // visited, hover, active: 1 to 4; 0 for the body).
    const char *attribute = nullptr;
    const char *cssSelector;
    const char *cssProperty;
    int cssOrder = 0;
    // For a screen reader: the swatch's name and the preview's words for it.
    const char *spokenName;
    const char *previewWords;
    // On the contrast strip, which judges every target but the back color:
    // its entry's name and text, and the target in its sentences.
    const char *stripEntry = nullptr;
    const char *stripName = nullptr;
    const char *longName = nullptr;
    const char *colorWords = nullptr;
};

inline constexpr std::array<ColorTargetInfo, 5> colorTargets = {{
    {
        .target = ColorTarget::Text,
        .option = "optTEXT",
        .caption = "Set &Textcolor",
        .optionTip = " Work with Textcolor ",
        .stores = {"HIDDENtxtred", "HIDDENtxtgreen", "HIDDENtxtblue"},
        .hexBox = "txtHEXtext",
        .swatch = "lblhextxtcolor",
        .copyButton = "cmdCOPYTEXT",
        .copyCaption = "Copy Textcolor",
        .copyTip = " Copy text color to Clipboard ",
        .previewElement = "lblpic",
        .defaultColor = {10, 10, 10},
        .pageField = &PageColors::text,
        .attribute = "TEXT",
        .cssSelector = "body",
        .cssProperty = "color",
        .spokenName = "Textcolor",
        .previewWords = "Textcolor",
        .stripEntry = "contrastText",
        .stripName = "Text",
        .longName = "text",
        .colorWords = "text color",
    },
    {
        .target = ColorTarget::Back,
        .option = "optBACK",
        .caption = "Set &Backcolor",
        .optionTip = " Work with Backcolor ",
        .stores = {"HIDDENtxtbackred", "HIDDENtxtbackgreen", "HIDDENtxtbackblue"},
        .hexBox = "txtHEXback",
        .swatch = "lblhexbackcolor",
        .copyButton = "cmdCOPYBACK",
        .copyCaption = "Copy Backcolor",
        .copyTip = " Copy background color to Clipboard ",
        .previewElement = "picboxMAIN",
        .defaultColor = {220, 220, 220},
        .pageField = &PageColors::back,
        .attribute = "BGCOLOR",
        .cssSelector = "body",
        .cssProperty = "background-color",
        .spokenName = "Backcolor",
        .previewWords = "Backcolor",
    },
    {
        .target = ColorTarget::NewLink,
        .option = "optNewlinks",
        .caption = "Set   New  Links color",
        .optionTip = " Work with new link color ",
        .reset = "cmdresetNEW",
        .stores = {"HIDDENtxtnewlinksred", "HIDDENtxtnewlinksgreen", "HIDDENtxtnewlinksblue"},
        .hexBox = "txtnewlink",
        .swatch = "lblhexnewlinkcolor",
        .copyButton = "cmdCOPYnewlink",
        .copyCaption = "Copy New Link",
        .copyTip = " Copy new link color to Clipboard ",
        .previewElement = "lblpicNewlink",
        .defaultColor = {0, 0, 238},
        .pageField = &PageColors::newLink,
        .attribute = "LINK",
        .cssSelector = "a:link",
        .cssProperty = "color",
        .cssOrder = 1,
        .spokenName = "New link color",
        .previewWords = "new links",
        .stripEntry = "contrastNewlink",
        .stripName = "New",
        .longName = "new links",
        .colorWords = "new link color",
    },
    {
        .target = ColorTarget::VisitedLink,
        .option = "optVisitedlinks",
        .caption = "Set Visited Links color",
        .optionTip = " Work with visited link color ",
        .reset = "cmdresetVISITED",
        .stores = {"HIDDENtxtvisitedlinksred", "HIDDENtxtvisitedlinksgreen", "HIDDENtxtvisitedlinksblue"},
        .hexBox = "txtvisitedlink",
        .swatch = "lblhexvisitedlinkcolor",
        .copyButton = "cmdCOPYvisitedlink",
        .copyCaption = "Copy Visited Link",
        .copyTip = " Copy visited link color to Clipboard ",
        .previewElement = "lblpicVisitedlink",
        .defaultColor = {85, 26, 139},
        .pageField = &PageColors::visitedLink,
        .attribute = "VLINK",
        .cssSelector = "a:visited",
        .cssProperty = "color",
        .cssOrder = 2,
        .spokenName = "Visited link color",
        .previewWords = "visited links",
        .stripEntry = "contrastVisitedlink",
        .stripName = "Visited",
        .longName = "visited links",
        .colorWords = "visited link color",
    },
    {
        .target = ColorTarget::ActiveLink,
        .option = "optActivelinks",
        .caption = "Set Active Links color",
        .optionTip = " Work with active link color ",
        .reset = "cmdresetACTIVE",
        .stores = {"HIDDENtxtactivelinksred", "HIDDENtxtactivelinksgreen", "HIDDENtxtactivelinksblue"},
        .hexBox = "txtactivelink",
        .swatch = "lblhexactivelinkcolor",
        .copyButton = "cmdCOPYactivelink",
        .copyCaption = "Copy Active Link",
        .copyTip = " Copy active link color to Clipboard ",
        .previewElement = "lblpicActivelink",
        .defaultColor = {238, 0, 0},
        .pageField = &PageColors::activeLink,
        .attribute = "ALINK",
        .cssSelector = "a:active",
        .cssProperty = "color",
        .cssOrder = 4,
        .spokenName = "Active link color",
        .previewWords = "active links",
        .stripEntry = "contrastActivelink",
        .stripName = "Active",
        .longName = "active links",
        .colorWords = "active link color",
    },
}};

// Where `target` stands in the table, and in every array sized by it.
constexpr std::size_t indexOf(ColorTarget target)
{
    return static_cast<std::size_t>(target);
}

constexpr const ColorTargetInfo &targetInfo(ColorTarget target)
{
    return colorTargets[indexOf(target)];
}

// The row of each target, in the table's order.
static_assert([] {
    for (std::size_t i = 0; i < colorTargets.size(); ++i)
        if (indexOf(colorTargets[i].target) != i)
            return false;
    return true;
}());

// The order a page names them in: the back color first, then the others as
// the window lists them (BGCOLOR, TEXT, LINK, VLINK, ALINK).
constexpr std::array<ColorTarget, colorTargets.size()> pageOrder()
{
    std::array<ColorTarget, colorTargets.size()> order{};
    std::size_t n = 0;
    order[n++] = ColorTarget::Back;
    for (const ColorTargetInfo &t : colorTargets)
        if (t.target != ColorTarget::Back)
            order[n++] = t.target;
    return order;
}

// The targets the contrast strip judges against the back color, in its order.
constexpr std::array<ColorTarget, colorTargets.size() - 1> gradedTargets()
{
    std::array<ColorTarget, colorTargets.size() - 1> graded{};
    std::size_t n = 0;
    for (const ColorTargetInfo &t : colorTargets)
        if (t.stripName != nullptr)
            graded[n++] = t.target;
    return graded;
}

// Where a graded target stands among gradedTargets().
constexpr std::size_t gradedIndex(ColorTarget target)
{
    std::size_t i = 0;
    for (const ColorTarget t : gradedTargets()) {
        if (t == target)
            break;
        ++i;
    }
    return i;
}

// The default color as a hex box shows it.
QString defaultHex(ColorTarget target);

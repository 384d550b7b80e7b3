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
    const char *reset;
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
    // In a page: the BODY attribute, and the CSS rule and property.
    const char *attribute;
    const char *cssSelector;
    const char *cssProperty;
    // For a screen reader: the swatch's name and the preview's words for it.
    const char *spokenName;
    const char *previewWords;
    // On the contrast strip, which judges every target but the back color:
    // its entry's name and text, and the target in its sentences.
    const char *stripEntry;
    const char *stripName;
    const char *longName;
    const char *colorWords;
};

inline constexpr std::array<ColorTargetInfo, 5> colorTargets = {{
    {ColorTarget::Text,
     "optTEXT",
     "Set &Textcolor",
     " Work with Textcolor ",
     nullptr,
     {"HIDDENtxtred", "HIDDENtxtgreen", "HIDDENtxtblue"},
     "txtHEXtext",
     "lblhextxtcolor",
     "cmdCOPYTEXT",
     "Copy Textcolor",
     " Copy text color to Clipboard ",
     "lblpic",
     {10, 10, 10},
     &PageColors::text,
     "TEXT",
     "body",
     "color",
     "Textcolor",
     "Textcolor",
     "contrastText",
     "Text",
     "text",
     "text color"},
    {ColorTarget::Back,
     "optBACK",
     "Set &Backcolor",
     " Work with Backcolor ",
     nullptr,
     {"HIDDENtxtbackred", "HIDDENtxtbackgreen", "HIDDENtxtbackblue"},
     "txtHEXback",
     "lblhexbackcolor",
     "cmdCOPYBACK",
     "Copy Backcolor",
     " Copy background color to Clipboard ",
     "picboxMAIN",
     {220, 220, 220},
     &PageColors::back,
     "BGCOLOR",
     "body",
     "background-color",
     "Backcolor",
     "Backcolor",
     nullptr,
     nullptr,
     nullptr,
     nullptr},
    {ColorTarget::NewLink,
     "optNewlinks",
     "Set   New  Links color",
     " Work with new link color ",
     "cmdresetNEW",
     {"HIDDENtxtnewlinksred", "HIDDENtxtnewlinksgreen", "HIDDENtxtnewlinksblue"},
     "txtnewlink",
     "lblhexnewlinkcolor",
     "cmdCOPYnewlink",
     "Copy New Link",
     " Copy new link color to Clipboard ",
     "lblpicNewlink",
     {0, 0, 238},
     &PageColors::newLink,
     "LINK",
     "a:link",
     "color",
     "New link color",
     "new links",
     "contrastNewlink",
     "New",
     "new links",
     "new link color"},
    {ColorTarget::VisitedLink,
     "optVisitedlinks",
     "Set Visited Links color",
     " Work with visited link color ",
     "cmdresetVISITED",
     {"HIDDENtxtvisitedlinksred", "HIDDENtxtvisitedlinksgreen", "HIDDENtxtvisitedlinksblue"},
     "txtvisitedlink",
     "lblhexvisitedlinkcolor",
     "cmdCOPYvisitedlink",
     "Copy Visited Link",
     " Copy visited link color to Clipboard ",
     "lblpicVisitedlink",
     {85, 26, 139},
     &PageColors::visitedLink,
     "VLINK",
     "a:visited",
     "color",
     "Visited link color",
     "visited links",
     "contrastVisitedlink",
     "Visited",
     "visited links",
     "visited link color"},
    {ColorTarget::ActiveLink,
     "optActivelinks",
     "Set Active Links color",
     " Work with active link color ",
     "cmdresetACTIVE",
     {"HIDDENtxtactivelinksred", "HIDDENtxtactivelinksgreen", "HIDDENtxtactivelinksblue"},
     "txtactivelink",
     "lblhexactivelinkcolor",
     "cmdCOPYactivelink",
     "Copy Active Link",
     " Copy active link color to Clipboard ",
     "lblpicActivelink",
     {238, 0, 0},
     &PageColors::activeLink,
     "ALINK",
     "a:active",
     "color",
     "Active link color",
     "active links",
     "contrastActivelink",
     "Active",
     "active links",
     "active link color"},
}};

constexpr const ColorTargetInfo &targetInfo(ColorTarget target)
{
    return colorTargets[static_cast<std::size_t>(target)];
}

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

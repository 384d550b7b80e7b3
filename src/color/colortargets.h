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
// page. Whatever lists the targets walks this table. A field ending in
// "Name" is a control's objectName; every other text is shown or spoken.
struct ColorTargetInfo {
    ColorTarget target;

    // The controls, by objectName. Option button.
    const char *optionName;
    // Reset button, or none.
    const char *resetName = nullptr;
    // The three state fields that keep its red, green and blue.
    std::array<const char *, 3> storeNames;
    // Hex box and swatch of the right column, and the copy button below them.
    const char *hexBoxName;
    const char *swatchName;
    const char *copyButtonName;
    // What shows it in the preview: the preview box itself for the back color.
    const char *previewElementName;
    // Its entry on the contrast strip, which judges every target but the back
    // color: none for the back color.
    const char *stripEntryName = nullptr;

    // The texts. The option button's caption and tooltip.
    const char *optionCaption;
    const char *optionTip;
    // The copy button's caption.
    const char *copyCaption;
    // Its color in the middle of a sentence: the copy button's tooltip and
    // the strip's message when no lightness fixes it.
    const char *colorWords;
    // Its name standing alone: spoken for its swatch and hex box, and the
    // magnifier's title while it is picked.
    const char *title;
    // Its words in the preview's spoken description.
    const char *previewWords;
    // After "Reset" in its Reset button's spoken name: the option's words.
    const char *resetWords = nullptr;
    // The word that starts its strip entry (its initial where room is short).
    const char *stripWord = nullptr;
    // Its name in the strip's full sentence.
    const char *sentenceWords = nullptr;

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
};

inline constexpr std::array<ColorTargetInfo, 5> colorTargets = {{
    {
        .target = ColorTarget::Text,
        .optionName = "optTEXT",
        .storeNames = {"HIDDENtxtred", "HIDDENtxtgreen", "HIDDENtxtblue"},
        .hexBoxName = "txtHEXtext",
        .swatchName = "lblhextxtcolor",
        .copyButtonName = "cmdCOPYTEXT",
        .previewElementName = "lblpic",
        .stripEntryName = "contrastText",
        .optionCaption = "Set &Textcolor",
        .optionTip = " Work with Textcolor ",
        .copyCaption = "Copy Textcolor",
        .colorWords = "text color",
        .title = "Textcolor",
        .previewWords = "Textcolor",
        .stripWord = "Text",
        .sentenceWords = "text",
        .defaultColor = {10, 10, 10},
        .pageField = &PageColors::text,
        .attribute = "TEXT",
        .cssSelector = "body",
        .cssProperty = "color",
    },
    {
        .target = ColorTarget::Back,
        .optionName = "optBACK",
        .storeNames = {"HIDDENtxtbackred", "HIDDENtxtbackgreen", "HIDDENtxtbackblue"},
        .hexBoxName = "txtHEXback",
        .swatchName = "lblhexbackcolor",
        .copyButtonName = "cmdCOPYBACK",
        .previewElementName = "picboxMAIN",
        .optionCaption = "Set &Backcolor",
        .optionTip = " Work with Backcolor ",
        .copyCaption = "Copy Backcolor",
        .colorWords = "background color",
        .title = "Backcolor",
        .previewWords = "Backcolor",
        .defaultColor = {220, 220, 220},
        .pageField = &PageColors::back,
        .attribute = "BGCOLOR",
        .cssSelector = "body",
        .cssProperty = "background-color",
    },
    {
        .target = ColorTarget::NewLink,
        .optionName = "optNewlinks",
        .resetName = "cmdresetNEW",
        .storeNames = {"HIDDENtxtnewlinksred", "HIDDENtxtnewlinksgreen", "HIDDENtxtnewlinksblue"},
        .hexBoxName = "txtnewlink",
        .swatchName = "lblhexnewlinkcolor",
        .copyButtonName = "cmdCOPYnewlink",
        .previewElementName = "lblpicNewlink",
        .stripEntryName = "contrastNewlink",
        .optionCaption = "Set   New  Links color",
        .optionTip = " Work with new link color ",
        .copyCaption = "Copy New Link",
        .colorWords = "new link color",
        .title = "New link color",
        .previewWords = "new links",
        .resetWords = "New Links color",
        .stripWord = "New",
        .sentenceWords = "new links",
        .defaultColor = {0, 0, 238},
        .pageField = &PageColors::newLink,
        .attribute = "LINK",
        .cssSelector = "a:link",
        .cssProperty = "color",
        .cssOrder = 1,
    },
    {
        .target = ColorTarget::VisitedLink,
        .optionName = "optVisitedlinks",
        .resetName = "cmdresetVISITED",
        .storeNames = {"HIDDENtxtvisitedlinksred", "HIDDENtxtvisitedlinksgreen", "HIDDENtxtvisitedlinksblue"},
        .hexBoxName = "txtvisitedlink",
        .swatchName = "lblhexvisitedlinkcolor",
        .copyButtonName = "cmdCOPYvisitedlink",
        .previewElementName = "lblpicVisitedlink",
        .stripEntryName = "contrastVisitedlink",
        .optionCaption = "Set Visited Links color",
        .optionTip = " Work with visited link color ",
        .copyCaption = "Copy Visited Link",
        .colorWords = "visited link color",
        .title = "Visited link color",
        .previewWords = "visited links",
        .resetWords = "Visited Links color",
        .stripWord = "Visited",
        .sentenceWords = "visited links",
        .defaultColor = {85, 26, 139},
        .pageField = &PageColors::visitedLink,
        .attribute = "VLINK",
        .cssSelector = "a:visited",
        .cssProperty = "color",
        .cssOrder = 2,
    },
    {
        .target = ColorTarget::ActiveLink,
        .optionName = "optActivelinks",
        .resetName = "cmdresetACTIVE",
        .storeNames = {"HIDDENtxtactivelinksred", "HIDDENtxtactivelinksgreen", "HIDDENtxtactivelinksblue"},
        .hexBoxName = "txtactivelink",
        .swatchName = "lblhexactivelinkcolor",
        .copyButtonName = "cmdCOPYactivelink",
        .previewElementName = "lblpicActivelink",
        .stripEntryName = "contrastActivelink",
        .optionCaption = "Set Active Links color",
        .optionTip = " Work with active link color ",
        .copyCaption = "Copy Active Link",
        .colorWords = "active link color",
        .title = "Active link color",
        .previewWords = "active links",
        .resetWords = "Active Links color",
        .stripWord = "Active",
        .sentenceWords = "active links",
        .defaultColor = {238, 0, 0},
        .pageField = &PageColors::activeLink,
        .attribute = "ALINK",
        .cssSelector = "a:active",
        .cssProperty = "color",
        .cssOrder = 4,
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

// A Reset button has its words, and a target on the contrast strip all of
// its strip texts.
static_assert([] {
    for (const ColorTargetInfo &t : colorTargets) {
        if ((t.resetName == nullptr) != (t.resetWords == nullptr))
            return false;
        const bool graded = t.stripEntryName != nullptr;
        if ((t.stripWord != nullptr) != graded || (t.sentenceWords != nullptr) != graded)
            return false;
    }
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
        if (t.stripEntryName != nullptr)
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
// The copy button's tooltip.
QString copyTip(ColorTarget target);

#include "output/pagecolors.h"

#include "platform/ascii.h"

#include "output/csscascade.h"
#include "output/pageencoding.h"
#include "output/pageparse.h"

#include <algorithm>

namespace output {

namespace {

using color::Rgb;

ReadColors readColors(const CascadedColors &c)
{
    ReadColors colors;
    colors[ColorTarget::Back] = c.back;
    colors[ColorTarget::Text] = c.text;
    colors[ColorTarget::NewLink] = c.link;
    colors[ColorTarget::VisitedLink] = c.vlink;
    colors[ColorTarget::ActiveLink] = c.alink;
    colors.background = c.background;
    colors.linksStyleSheets = c.importsSheets;
    return colors;
}

bool anyPiece(const ReadColors &colors)
{
    return colors.background
           || std::any_of(colors.colors.begin(), colors.colors.end(), [](const auto &c) { return c.has_value(); });
}

// A STYLE element a browser applies on a screen.
bool applied(const ParsedPage::Style &style)
{
    const QString type = ascii::lowered(style.type.trimmed());
    return (type.isEmpty() || type == u"text/css") && mediaForScreen(style.media);
}

// What the body element's attributes say, before any style rule.
BodyHints bodyHints(const ParsedPage &parsed)
{
    BodyHints hints;
    for (const auto &[name, value] : parsed.bodyAttributes) {
        std::optional<Rgb> *hint = name == u"bgcolor" ? &hints.back
                                   : name == u"text"  ? &hints.text
                                   : name == u"link"  ? &hints.link
                                   : name == u"vlink" ? &hints.vlink
                                   : name == u"alink" ? &hints.alink
                                                      : nullptr;
        if (hint)
            *hint = color::legacyColor(value);
        else if (name == u"background")
            hints.background = value;
    }
    return hints;
}

// The page's style blocks that apply, in their order.
std::vector<QString> appliedSheets(const ParsedPage &parsed)
{
    std::vector<QString> sheets;
    for (const ParsedPage::Style &style : parsed.styles)
        if (applied(style))
            sheets.push_back(style.css);
    return sheets;
}

} // namespace

QString pageTooLargeText(const QString &path)
{
    return QStringLiteral("%1 is larger than 10 MB.\r\nNo colors were read from it.").arg(path);
}

QString pageUnreadableText(const QString &path, const QString &reason)
{
    return QStringLiteral("%1 could not be read:\r\n%2\r\nNo colors were read from it.").arg(path, reason);
}

QString pageWithoutBodyText(const QString &path)
{
    return QStringLiteral("%1 has no BODY tag.\r\nNo colors were read from it.").arg(path);
}

QString pageStyleSheetsText()
{
    return QStringLiteral(
        "The page links style sheets, which were not read: its colors come from the page itself only.");
}

QString pageLeftOutText(const QString &backColor, const QString &image, const QString &folder, const QString &why)
{
    const QString start = QStringLiteral("The page's colors were read, but its background ");
    if (image.isEmpty())
        return start
               + QStringLiteral("color %1 was left out: the back color cannot change while a background image is "
                                "loaded.")
                     .arg(backColor);
    if (!why.isEmpty() && backColor.isEmpty())
        return start + QStringLiteral("image %1 in %2 was left out: %3.").arg(image, folder, why);
    if (!why.isEmpty())
        return start
               + QStringLiteral("image %1 in %2 was left out (%3), and so was its background color %4: the back "
                                "color cannot change while a background image is loaded.")
                     .arg(image, folder, why, backColor);
    if (backColor.isEmpty())
        return start + QStringLiteral("image %1 is not in %2 and was left out.").arg(image, folder);
    return start
           + QStringLiteral("image %1 is not in %2, and the back color cannot change while a background image is "
                            "loaded: both the image and the background color %3 were left out.")
                 .arg(image, folder, backColor);
}

ReadColors colorsFromCss(const QString &css)
{
    return readColors(cascadedColors({}, {css}));
}

std::optional<ReadColors> readPageColors(const QByteArray &page)
{
    const ParsedPage parsed = parsePage(pageAsUtf8(page));
    ReadColors colors = readColors(cascadedColors(bodyHints(parsed), appliedSheets(parsed)));
    colors.linksStyleSheets = colors.linksStyleSheets || parsed.linksStyleSheets;
    if (!parsed.bodyTag && !anyPiece(colors))
        return std::nullopt;
    return colors;
}

} // namespace output

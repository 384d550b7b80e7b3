#include "output/cssoutput.h"

#include "color/colortext.h"
#include "color/rgb.h"

#include <algorithm>
#include <array>

namespace output {

QString cssStringEscaped(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar ch : text) {
        if (ch == QLatin1Char('"') || ch == QLatin1Char('\\'))
            out += QLatin1Char('\\') + ch;
        else if (ch.unicode() < 0x20 || ch.unicode() == 0x7F)
            // A hex escape ends with a blank so that a following hex digit is not taken into it.
            out += QStringLiteral("\\%1 ").arg(ch.unicode(), 0, 16);
        else
            out += ch;
    }
    return out;
}

QString cssStyleBlock(const PageColors &given, ColorNotation notation)
{
    PageColors c = given;
    if (notation == ColorNotation::Oklch)
        for (const ColorTarget target : pageOrder())
            if (const auto rgb = color::hexColorValue(c[target]))
                c[target] = color::oklchText(*rgb);
    const auto body = [](const ColorTargetInfo &t) { return QLatin1String(t.cssSelector) == QLatin1String("body"); };
    QString css = QStringLiteral("body {\n");
    for (const ColorTarget target : pageOrder())
        if (body(targetInfo(target)))
            css += QStringLiteral("  %1: %2;\n").arg(QLatin1String(targetInfo(target).cssProperty), c[target]);
    if (!c.imageName.isEmpty())
        css += QStringLiteral("  background-image: url(\"%1\");\n").arg(cssStringEscaped(c.imageName));
    css += QLatin1String("}\n");
    // The link states in the order a style sheet needs them, whatever the
    // window's order: link, visited, hover, active.
    std::array<ColorTarget, colorTargets.size()> states = pageOrder();
    std::stable_sort(states.begin(), states.end(),
                     [](ColorTarget a, ColorTarget b) { return targetInfo(a).cssOrder < targetInfo(b).cssOrder; });
    for (const ColorTarget target : states)
        if (!body(targetInfo(target)))
            css += QStringLiteral("%1 { %2: %3; }\n")
                       .arg(QLatin1String(targetInfo(target).cssSelector),
                            QLatin1String(targetInfo(target).cssProperty), c[target]);
    return css;
}

QStringList colorCopyFormats(const QString &hexColor)
{
    const auto rgb = hexColor.size() == 7 ? color::hexColorValue(hexColor) : std::nullopt;
    if (!rgb)
        return {hexColor};
    const QString digits = hexColor.mid(1);
    return {hexColor,
            QLatin1Char('#') + digits.toLower(),
            digits,
            QStringLiteral("rgb(%1, %2, %3)").arg(rgb->red).arg(rgb->green).arg(rgb->blue),
            color::hslText(*rgb),
            color::oklchText(*rgb)};
}

} // namespace output

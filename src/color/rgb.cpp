#include "color/rgb.h"

#include "platform/ascii.h"

namespace color {

QString hexDigits(int component)
{
    return QString::number(component, 16).toUpper();
}

QString twoHexDigits(int component)
{
    QString text = hexDigits(component);
    if (text.size() == 1) // one of "0" .. "F"
        text.prepend(QLatin1Char('0'));
    return text;
}

QString hexColor(int r, int g, int b)
{
    const auto inRange = [](int v) { return v >= 0 && v <= 255; };
    if (!inRange(r) || !inRange(g) || !inRange(b))
        return QLatin1Char('#') + twoHexDigits(r) + twoHexDigits(g) + twoHexDigits(b);
    // Built in place: every edit shows one, on the hex box and the hidden mix.
    static constexpr char digits[] = "0123456789ABCDEF";
    QString text(7, QLatin1Char('#'));
    qsizetype at = 1;
    for (const int v : {r, g, b}) {
        text[at++] = QLatin1Char(digits[v / 16]);
        text[at++] = QLatin1Char(digits[v % 16]);
    }
    return text;
}

std::optional<Rgb> hexColorValue(QStringView text, bool hashRequired)
{
    if (text.startsWith(QLatin1Char('#')))
        text = text.mid(1);
    else if (hashRequired)
        return std::nullopt;
    if (text.size() != 3 && text.size() != 6)
        return std::nullopt;
    for (const QChar ch : text)
        if (ascii::hexValue(ch) < 0)
            return std::nullopt;
    const auto digit = [&](qsizetype i) { return ascii::hexValue(text[i]); };
    if (text.size() == 3)
        return Rgb{digit(0) * 17, digit(1) * 17, digit(2) * 17};
    return Rgb{digit(0) * 16 + digit(1), digit(2) * 16 + digit(3), digit(4) * 16 + digit(5)};
}

} // namespace color

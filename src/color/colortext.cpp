#include "color/colortext.h"

#include "color/colorspaces.h"
#include "platform/ascii.h"

#include <QList>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <string>

namespace color {

namespace {

struct NamedColor {
    const char *name;
    unsigned value;
};

// Sorted by name, for a binary search.
constexpr NamedColor namedColors[] = {
    {"aliceblue", 0xF0F8FF},
    {"antiquewhite", 0xFAEBD7},
    {"aqua", 0x00FFFF},
    {"aquamarine", 0x7FFFD4},
    {"azure", 0xF0FFFF},
    {"beige", 0xF5F5DC},
    {"bisque", 0xFFE4C4},
    {"black", 0x000000},
    {"blanchedalmond", 0xFFEBCD},
    {"blue", 0x0000FF},
    {"blueviolet", 0x8A2BE2},
    {"brown", 0xA52A2A},
    {"burlywood", 0xDEB887},
    {"cadetblue", 0x5F9EA0},
    {"chartreuse", 0x7FFF00},
    {"chocolate", 0xD2691E},
    {"coral", 0xFF7F50},
    {"cornflowerblue", 0x6495ED},
    {"cornsilk", 0xFFF8DC},
    {"crimson", 0xDC143C},
    {"cyan", 0x00FFFF},
    {"darkblue", 0x00008B},
    {"darkcyan", 0x008B8B},
    {"darkgoldenrod", 0xB8860B},
    {"darkgray", 0xA9A9A9},
    {"darkgreen", 0x006400},
    {"darkgrey", 0xA9A9A9},
    {"darkkhaki", 0xBDB76B},
    {"darkmagenta", 0x8B008B},
    {"darkolivegreen", 0x556B2F},
    {"darkorange", 0xFF8C00},
    {"darkorchid", 0x9932CC},
    {"darkred", 0x8B0000},
    {"darksalmon", 0xE9967A},
    {"darkseagreen", 0x8FBC8F},
    {"darkslateblue", 0x483D8B},
    {"darkslategray", 0x2F4F4F},
    {"darkslategrey", 0x2F4F4F},
    {"darkturquoise", 0x00CED1},
    {"darkviolet", 0x9400D3},
    {"deeppink", 0xFF1493},
    {"deepskyblue", 0x00BFFF},
    {"dimgray", 0x696969},
    {"dimgrey", 0x696969},
    {"dodgerblue", 0x1E90FF},
    {"firebrick", 0xB22222},
    {"floralwhite", 0xFFFAF0},
    {"forestgreen", 0x228B22},
    {"fuchsia", 0xFF00FF},
    {"gainsboro", 0xDCDCDC},
    {"ghostwhite", 0xF8F8FF},
    {"gold", 0xFFD700},
    {"goldenrod", 0xDAA520},
    {"gray", 0x808080},
    {"green", 0x008000},
    {"greenyellow", 0xADFF2F},
    {"grey", 0x808080},
    {"honeydew", 0xF0FFF0},
    {"hotpink", 0xFF69B4},
    {"indianred", 0xCD5C5C},
    {"indigo", 0x4B0082},
    {"ivory", 0xFFFFF0},
    {"khaki", 0xF0E68C},
    {"lavender", 0xE6E6FA},
    {"lavenderblush", 0xFFF0F5},
    {"lawngreen", 0x7CFC00},
    {"lemonchiffon", 0xFFFACD},
    {"lightblue", 0xADD8E6},
    {"lightcoral", 0xF08080},
    {"lightcyan", 0xE0FFFF},
    {"lightgoldenrodyellow", 0xFAFAD2},
    {"lightgray", 0xD3D3D3},
    {"lightgreen", 0x90EE90},
    {"lightgrey", 0xD3D3D3},
    {"lightpink", 0xFFB6C1},
    {"lightsalmon", 0xFFA07A},
    {"lightseagreen", 0x20B2AA},
    {"lightskyblue", 0x87CEFA},
    {"lightslategray", 0x778899},
    {"lightslategrey", 0x778899},
    {"lightsteelblue", 0xB0C4DE},
    {"lightyellow", 0xFFFFE0},
    {"lime", 0x00FF00},
    {"limegreen", 0x32CD32},
    {"linen", 0xFAF0E6},
    {"magenta", 0xFF00FF},
    {"maroon", 0x800000},
    {"mediumaquamarine", 0x66CDAA},
    {"mediumblue", 0x0000CD},
    {"mediumorchid", 0xBA55D3},
    {"mediumpurple", 0x9370DB},
    {"mediumseagreen", 0x3CB371},
    {"mediumslateblue", 0x7B68EE},
    {"mediumspringgreen", 0x00FA9A},
    {"mediumturquoise", 0x48D1CC},
    {"mediumvioletred", 0xC71585},
    {"midnightblue", 0x191970},
    {"mintcream", 0xF5FFFA},
    {"mistyrose", 0xFFE4E1},
    {"moccasin", 0xFFE4B5},
    {"navajowhite", 0xFFDEAD},
    {"navy", 0x000080},
    {"oldlace", 0xFDF5E6},
    {"olive", 0x808000},
    {"olivedrab", 0x6B8E23},
    {"orange", 0xFFA500},
    {"orangered", 0xFF4500},
    {"orchid", 0xDA70D6},
    {"palegoldenrod", 0xEEE8AA},
    {"palegreen", 0x98FB98},
    {"paleturquoise", 0xAFEEEE},
    {"palevioletred", 0xDB7093},
    {"papayawhip", 0xFFEFD5},
    {"peachpuff", 0xFFDAB9},
    {"peru", 0xCD853F},
    {"pink", 0xFFC0CB},
    {"plum", 0xDDA0DD},
    {"powderblue", 0xB0E0E6},
    {"purple", 0x800080},
    {"rebeccapurple", 0x663399},
    {"red", 0xFF0000},
    {"rosybrown", 0xBC8F8F},
    {"royalblue", 0x4169E1},
    {"saddlebrown", 0x8B4513},
    {"salmon", 0xFA8072},
    {"sandybrown", 0xF4A460},
    {"seagreen", 0x2E8B57},
    {"seashell", 0xFFF5EE},
    {"sienna", 0xA0522D},
    {"silver", 0xC0C0C0},
    {"skyblue", 0x87CEEB},
    {"slateblue", 0x6A5ACD},
    {"slategray", 0x708090},
    {"slategrey", 0x708090},
    {"snow", 0xFFFAFA},
    {"springgreen", 0x00FF7F},
    {"steelblue", 0x4682B4},
    {"tan", 0xD2B48C},
    {"teal", 0x008080},
    {"thistle", 0xD8BFD8},
    {"tomato", 0xFF6347},
    {"turquoise", 0x40E0D0},
    {"violet", 0xEE82EE},
    {"wheat", 0xF5DEB3},
    {"white", 0xFFFFFF},
    {"whitesmoke", 0xF5F5F5},
    {"yellow", 0xFFFF00},
    {"yellowgreen", 0x9ACD32},
};

Rgb fromValue(unsigned value)
{
    return {int(value >> 16 & 0xFF), int(value >> 8 & 0xFF), int(value & 0xFF)};
}

bool cssBlank(QChar ch)
{
    return ascii::isBlank(ch);
}

bool asciiEqualsLower(QStringView text, const char *lower)
{
    return ascii::equalsLower(text, lower);
}

QStringView cssTrimmed(QStringView text)
{
    while (!text.isEmpty() && cssBlank(text.front()))
        text = text.mid(1);
    while (!text.isEmpty() && cssBlank(text.back()))
        text.chop(1);
    return text;
}

bool isDigit(QChar ch)
{
    return ch.unicode() >= '0' && ch.unicode() <= '9';
}

// A CSS <number> as its exact decimal value: digits times a power of ten.
struct Decimal {
    bool negative = false;
    std::string digits; // no leading zeros; empty for zero
    long long exponent = 0;
};

std::optional<Decimal> cssNumber(QStringView text)
{
    Decimal number;
    qsizetype i = 0;
    const auto digits = [&] {
        const qsizetype start = i;
        for (; i < text.size() && isDigit(text[i]); ++i)
            if (!number.digits.empty() || text[i] != u'0')
                number.digits += char(text[i].unicode());
        return i - start;
    };
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        number.negative = text[i++] == u'-';
    qsizetype mantissa = digits();
    if (i < text.size() && text[i] == u'.') {
        ++i;
        const qsizetype start = i;
        for (; i < text.size() && isDigit(text[i]); ++i) {
            if (!number.digits.empty() || text[i] != u'0')
                number.digits += char(text[i].unicode());
            // Each fraction digit, zero or not, moves the point.
            --number.exponent;
        }
        if (i == start)
            return std::nullopt;
        mantissa += i - start;
    }
    if (mantissa == 0)
        return std::nullopt;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
            negativeExponent = text[i++] == u'-';
        const qsizetype start = i;
        long long exponent = 0;
        for (; i < text.size() && isDigit(text[i]); ++i)
            exponent = std::min(exponent * 10 + (text[i].unicode() - '0'), 1'000'000'000LL);
        if (i == start)
            return std::nullopt;
        number.exponent += negativeExponent ? -exponent : exponent;
    }
    if (i != text.size())
        return std::nullopt;
    return number;
}

// The decimal times 255/100, still exact.
Decimal percentOf255(Decimal number)
{
    int carry = 0;
    for (auto digit = number.digits.rbegin(); digit != number.digits.rend(); ++digit) {
        const int product = (*digit - '0') * 255 + carry;
        *digit = char('0' + product % 10);
        carry = product / 10;
    }
    for (; carry > 0; carry /= 10)
        number.digits.insert(number.digits.begin(), char('0' + carry % 10));
    number.exponent -= 2;
    return number;
}

// Clamped to 0..255 and rounded half away from zero on the exact value, as
// CSS does: a double would take 0.49999999999999994 for a half.
int clampedComponent(const Decimal &number)
{
    if (number.digits.empty() || number.negative)
        return 0;
    const long long integerDigits = static_cast<long long>(number.digits.size()) + number.exponent;
    if (integerDigits > 3)
        return 255;
    if (integerDigits < 0)
        return 0;
    int whole = 0;
    for (long long n = 0; n < integerDigits; ++n)
        whole = whole * 10 + (std::size_t(n) < number.digits.size() ? number.digits[std::size_t(n)] - '0' : 0);
    const bool up =
        std::size_t(integerDigits) < number.digits.size() && number.digits[std::size_t(integerDigits)] >= '5';
    return std::min(whole + (up ? 1 : 0), 255);
}

// One piece of the inside of a color function, as CSS cuts it into tokens.
struct Piece {
    enum Kind { Number, Percentage, Dimension, None, Ident, Comma, Slash } kind = Number;
    Decimal exact; // Number, Percentage, Dimension
    double value = 0;
    QString word; // a Dimension's unit or an Ident, in lower case
};

double toDouble(const Decimal &number)
{
    if (number.digits.empty())
        return 0;
    const std::string text = (number.negative ? "-" : "") + number.digits + 'e' + std::to_string(number.exponent);
    // Beyond this no component means anything more, and the gamut mapping
    // wants finite numbers.
    constexpr double far = 1e9;
    return std::clamp(std::strtod(text.c_str(), nullptr), -far, far);
}

bool identLetter(QChar ch)
{
    const char16_t c = ch.unicode();
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c >= 0x80;
}

bool startsIdent(QStringView t, qsizetype i)
{
    if (i >= t.size())
        return false;
    if (identLetter(t[i]))
        return true;
    return t[i] == u'-' && i + 1 < t.size() && (identLetter(t[i + 1]) || t[i + 1] == u'-');
}

qsizetype identEnd(QStringView t, qsizetype i)
{
    while (i < t.size() && (identLetter(t[i]) || isDigit(t[i]) || t[i] == u'-'))
        ++i;
    return i;
}

bool startsNumber(QStringView t, qsizetype i)
{
    const auto digitAt = [&](qsizetype k) { return k < t.size() && isDigit(t[k]); };
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-'))
        ++i;
    return digitAt(i) || (i < t.size() && t[i] == u'.' && digitAt(i + 1));
}

// The tokens of a function's inside; anything but numbers, percentages,
// dimensions, words, commas and slashes gives nothing. As in CSS, "1-2" is
// two numbers and "1.2.3" too.
std::optional<std::vector<Piece>> pieces(QStringView t)
{
    std::vector<Piece> out;
    const auto digitAt = [&](qsizetype k) { return k < t.size() && isDigit(t[k]); };
    qsizetype i = 0;
    while (i < t.size()) {
        const QChar ch = t[i];
        if (cssBlank(ch)) {
            ++i;
        } else if (ch == u',' || ch == u'/') {
            out.push_back({ch == u',' ? Piece::Comma : Piece::Slash, {}, 0, {}});
            ++i;
        } else if (startsNumber(t, i)) {
            const qsizetype start = i;
            if (t[i] == u'+' || t[i] == u'-')
                ++i;
            while (digitAt(i))
                ++i;
            if (i < t.size() && t[i] == u'.' && digitAt(i + 1))
                for (++i; digitAt(i);)
                    ++i;
            if (i < t.size() && (t[i] == u'e' || t[i] == u'E')) {
                if (digitAt(i + 1))
                    i += 1;
                else if (i + 2 < t.size() && (t[i + 1] == u'+' || t[i + 1] == u'-') && digitAt(i + 2))
                    i += 2;
                if (digitAt(i))
                    while (digitAt(i))
                        ++i;
            }
            Piece piece;
            piece.exact = *cssNumber(t.mid(start, i - start));
            piece.value = toDouble(piece.exact);
            if (i < t.size() && t[i] == u'%') {
                piece.kind = Piece::Percentage;
                ++i;
            } else if (startsIdent(t, i)) {
                const qsizetype end = identEnd(t, i);
                piece.kind = Piece::Dimension;
                piece.word = ascii::lowered(t.mid(i, end - i).toString());
                i = end;
            }
            out.push_back(std::move(piece));
        } else if (startsIdent(t, i)) {
            const qsizetype end = identEnd(t, i);
            const QStringView word = t.mid(i, end - i);
            if (asciiEqualsLower(word, "none"))
                out.push_back({Piece::None, {}, 0, {}});
            else
                out.push_back({Piece::Ident, {}, 0, ascii::lowered(word.toString())});
            i = end;
        } else {
            return std::nullopt;
        }
    }
    return out;
}

// A number, or a percentage of `full`; "none" is zero.
std::optional<double> numberOrPercent(const Piece &p, double full)
{
    switch (p.kind) {
    case Piece::Number: return p.value;
    case Piece::Percentage: return p.value / 100 * full;
    case Piece::None: return 0.0;
    default: return std::nullopt;
    }
}

// Degrees from a number or an angle.
std::optional<double> hue(const Piece &p)
{
    if (p.kind == Piece::Number)
        return p.value;
    if (p.kind == Piece::None)
        return 0.0;
    if (p.kind != Piece::Dimension)
        return std::nullopt;
    if (p.word == u"deg")
        return p.value;
    if (p.word == u"grad")
        return p.value * 0.9;
    if (p.word == u"rad")
        return p.value * 180 / std::numbers::pi;
    if (p.word == u"turn")
        return p.value * 360;
    return std::nullopt;
}

// An 8-bit rgb() component, rounded on its exact value.
std::optional<int> rgbComponent(const Piece &p)
{
    switch (p.kind) {
    case Piece::Number: return clampedComponent(p.exact);
    case Piece::Percentage: return clampedComponent(percentOf255(p.exact));
    case Piece::None: return 0;
    default: return std::nullopt;
    }
}

ReadColor fromSrgb(Srgb c)
{
    const Mapped mapped = mapIntoSrgb(c);
    return {toRgb(mapped.color), false, mapped.wasOutside};
}

ReadColor fromXyz(Xyz c)
{
    return fromSrgb(srgbFromXyz(c));
}

ReadColor fromOklch(Oklch c)
{
    // Mapped from OKLCH itself, as the mapping works there; out of sRGB
    // includes a lightness beyond white that the mapping takes to white.
    const bool outside = !inGamut(srgbFromOklch(c));
    return {toRgb(mapIntoSrgb(c).color), false, outside};
}

std::optional<ReadColor> hexValue(QStringView text)
{
    const QStringView digits = text.mid(1);
    if (digits.size() != 3 && digits.size() != 4 && digits.size() != 6 && digits.size() != 8)
        return std::nullopt;
    for (const QChar ch : digits)
        if (ascii::hexValue(ch) < 0)
            return std::nullopt;
    const bool single = digits.size() <= 4;
    const auto component = [&](int n) {
        return single ? ascii::hexValue(digits[n]) * 17
                      : ascii::hexValue(digits[2 * n]) * 16 + ascii::hexValue(digits[2 * n + 1]);
    };
    const bool alpha = digits.size() == 4 || digits.size() == 8;
    return ReadColor{{component(0), component(1), component(2)}, alpha && component(3) < 255, false};
}

// "name(" ... ")" of every color function. The end of the text closes a
// parenthesis left open, as it does in a style sheet: "rgb(1 2 3" is a color.
std::optional<ReadColor> colorFunction(QStringView text)
{
    const qsizetype open = text.indexOf(u'(');
    if (open <= 0 || identEnd(text, 0) != open || !startsIdent(text, 0))
        return std::nullopt;
    const QString name = ascii::lowered(text.left(open).toString());
    const qsizetype close = text.back() == u')' ? 1 : 0;
    auto list = pieces(text.mid(open + 1, text.size() - open - 1 - close));
    if (!list)
        return std::nullopt;
    const std::vector<Piece> &p = *list;
    const bool legacy = std::any_of(p.begin(), p.end(), [](const Piece &x) { return x.kind == Piece::Comma; });
    const bool rgb = name == u"rgb" || name == u"rgba";
    const bool hsl = name == u"hsl" || name == u"hsla";

    std::vector<Piece> parts;
    std::optional<Piece> alpha;
    QString space;
    if (legacy) {
        // Commas everywhere, and no "none", in the old rgb() and hsl() only.
        if (!(rgb || hsl) || (p.size() != 5 && p.size() != 7))
            return std::nullopt;
        for (std::size_t n = 0; n < p.size(); ++n) {
            const bool comma = p[n].kind == Piece::Comma;
            if (comma != (n % 2 == 1) || p[n].kind == Piece::Slash || p[n].kind == Piece::None
                || p[n].kind == Piece::Ident)
                return std::nullopt;
        }
        parts = {p[0], p[2], p[4]};
        if (p.size() == 7)
            alpha = p[6];
        if (rgb
            && !(
                std::all_of(parts.begin(), parts.end(), [](const Piece &x) { return x.kind == Piece::Number; })
                || std::all_of(parts.begin(), parts.end(), [](const Piece &x) { return x.kind == Piece::Percentage; })))
            return std::nullopt;
        if (hsl && (parts[1].kind != Piece::Percentage || parts[2].kind != Piece::Percentage))
            return std::nullopt;
    } else {
        std::size_t n = 0;
        if (name == u"color") {
            if (p.empty() || p[0].kind != Piece::Ident)
                return std::nullopt;
            space = p[0].word;
            n = 1;
        }
        if (p.size() != n + 3 && p.size() != n + 5)
            return std::nullopt;
        for (std::size_t k = n; k < n + 3; ++k) {
            if (p[k].kind == Piece::Comma || p[k].kind == Piece::Slash || p[k].kind == Piece::Ident)
                return std::nullopt;
            parts.push_back(p[k]);
        }
        if (p.size() == n + 5) {
            if (p[n + 3].kind != Piece::Slash)
                return std::nullopt;
            alpha = p[n + 4];
        }
    }

    double opacity = 1;
    if (alpha) {
        if (alpha->kind == Piece::Dimension || alpha->kind == Piece::Slash || alpha->kind == Piece::Ident)
            return std::nullopt;
        opacity = std::clamp(*numberOrPercent(*alpha, 1), 0.0, 1.0);
    }

    std::optional<ReadColor> read;
    const auto three = [&](double full0, double full1, double full2) -> std::optional<std::array<double, 3>> {
        const auto a = numberOrPercent(parts[0], full0), b = numberOrPercent(parts[1], full1),
                   c = numberOrPercent(parts[2], full2);
        if (!a || !b || !c)
            return std::nullopt;
        return std::array<double, 3>{*a, *b, *c};
    };
    if (rgb) {
        const auto r = rgbComponent(parts[0]), g = rgbComponent(parts[1]), b = rgbComponent(parts[2]);
        if (r && g && b)
            read = ReadColor{{*r, *g, *b}, false, false};
    } else if (hsl || name == u"hwb") {
        const auto h = hue(parts[0]), x = numberOrPercent(parts[1], 100), y = numberOrPercent(parts[2], 100);
        if (h && x && y)
            // A saturation below zero counts as zero.
            read = fromSrgb(hsl ? srgbFromHsl({*h, std::max(*x / 100, 0.0), *y / 100})
                                : srgbFromHwb(*h, *x / 100, *y / 100));
    } else if (name == u"lab" || name == u"lch") {
        const auto l = numberOrPercent(parts[0], 100);
        const auto ab = numberOrPercent(parts[1], name == u"lab" ? 125 : 150);
        const auto bh = name == u"lab" ? numberOrPercent(parts[2], 125) : hue(parts[2]);
        if (l && ab && bh) {
            const double lightness = std::clamp(*l, 0.0, 100.0);
            read = fromXyz(
                xyzFromLab(name == u"lab" ? Lab{lightness, *ab, *bh} : labFromLch(lightness, std::max(*ab, 0.0), *bh)));
        }
    } else if (name == u"oklab" || name == u"oklch") {
        const auto l = numberOrPercent(parts[0], 1);
        const auto ac = numberOrPercent(parts[1], 0.4);
        const auto bh = name == u"oklab" ? numberOrPercent(parts[2], 0.4) : hue(parts[2]);
        if (l && ac && bh) {
            const double lightness = std::clamp(*l, 0.0, 1.0);
            read = fromOklch(name == u"oklab" ? oklchFromOklab({lightness, *ac, *bh})
                                              : Oklch{lightness, std::max(*ac, 0.0), *bh});
        }
    } else if (name == u"color") {
        if (const auto v = three(1, 1, 1)) {
            const Srgb c{(*v)[0], (*v)[1], (*v)[2]};
            if (space == u"srgb")
                read = fromSrgb(c);
            else if (space == u"srgb-linear")
                read = fromSrgb({gammaFromLinear(c.r), gammaFromLinear(c.g), gammaFromLinear(c.b)});
            else if (space == u"display-p3")
                read = fromXyz(xyzFromDisplayP3(c));
            else if (space == u"xyz" || space == u"xyz-d65")
                read = fromXyz({c.r, c.g, c.b});
            else if (space == u"xyz-d50")
                read = fromXyz(xyzD65FromD50({c.r, c.g, c.b}));
        }
    }
    if (read)
        read->translucent = opacity < 1;
    return read;
}

// Character by character over CSS text, outside strings, comments and
// parentheses, the places where a separator counts.
class CssScanner {
public:
    explicit CssScanner(QStringView text) : m_text(text) {}

    // The text up to the next of `stops` at the top level (or the end), and
    // the stop found (0 at the end). Gives nothing for an unclosed string or
    // comment.
    std::optional<std::pair<QString, char16_t>> until(std::u16string_view stops)
    {
        QString out;
        int depth = 0;
        while (m_pos < m_text.size()) {
            const QChar ch = m_text[m_pos];
            if (ch == u'/' && m_pos + 1 < m_text.size() && m_text[m_pos + 1] == u'*') {
                const qsizetype end = m_text.indexOf(u"*/", m_pos + 2);
                if (end < 0)
                    return std::nullopt;
                m_pos = end + 2;
                out += QLatin1Char(' ');
                continue;
            }
            if (depth == 0 && stops.find(ch.unicode()) != std::u16string_view::npos) {
                ++m_pos;
                return std::pair{out, ch.unicode()};
            }
            if (ch == u'"' || ch == u'\'') {
                const qsizetype start = m_pos++;
                while (m_pos < m_text.size() && m_text[m_pos] != ch) {
                    if (m_text[m_pos] == u'\n')
                        return std::nullopt;
                    m_pos += m_text[m_pos] == u'\\' ? 2 : 1;
                }
                if (m_pos >= m_text.size())
                    return std::nullopt;
                ++m_pos;
                out += m_text.mid(start, m_pos - start);
                continue;
            }
            if (ch == u'\\' && m_pos + 1 < m_text.size()) {
                out += m_text.mid(m_pos, 2);
                m_pos += 2;
                continue;
            }
            if (ch == u'(')
                ++depth;
            else if (ch == u')' && depth > 0)
                --depth;
            out += ch;
            ++m_pos;
        }
        return std::pair{out, char16_t(0)};
    }

private:
    QStringView m_text;
    qsizetype m_pos = 0;
};

using Declarations = std::vector<std::pair<QString, QString>>;

// Declarations up to the end of a block ("}") or of the text; `closer` tells
// which was found.
std::optional<Declarations> readDeclarations(CssScanner &scanner, char16_t &closer)
{
    Declarations out;
    for (;;) {
        const auto piece = scanner.until(u";}");
        if (!piece)
            return std::nullopt;
        const QStringView text = cssTrimmed(piece->first);
        if (!text.isEmpty()) {
            const qsizetype colon = text.indexOf(u':');
            if (colon <= 0)
                return std::nullopt;
            const QString property = ascii::lowered(cssTrimmed(text.left(colon)).toString());
            if (property.isEmpty())
                return std::nullopt;
            out.emplace_back(property, cssTrimmed(text.mid(colon + 1)).toString());
        }
        if (piece->second != u';') {
            closer = piece->second;
            return out;
        }
    }
}

} // namespace

std::optional<Rgb> namedColor(QStringView name)
{
    if (name.size() > 20)
        return std::nullopt;
    std::string lower;
    for (const QChar ch : name) {
        const char16_t c = ch.unicode();
        if (c >= 'A' && c <= 'Z')
            lower += char(c - 'A' + 'a');
        else if (c >= 'a' && c <= 'z')
            lower += char(c);
        else
            return std::nullopt;
    }
    const auto found =
        std::lower_bound(std::begin(namedColors), std::end(namedColors), lower,
                         [](const NamedColor &entry, const std::string &key) { return entry.name < key; });
    if (found == std::end(namedColors) || found->name != lower)
        return std::nullopt;
    return fromValue(found->value);
}

std::optional<ReadColor> cssColorValue(QStringView value)
{
    value = cssTrimmed(value);
    if (value.startsWith(u'#'))
        return hexValue(value);
    if (value.contains(u'('))
        return colorFunction(value);
    if (asciiEqualsLower(value, "transparent"))
        return ReadColor{{0, 0, 0}, true, false};
    if (const auto named = namedColor(value))
        return ReadColor{*named, false, false};
    return std::nullopt;
}

std::optional<Rgb> cssColor(QStringView value)
{
    const auto read = cssColorValue(value);
    if (!read || read->translucent)
        return std::nullopt;
    return read->rgb;
}

std::optional<Rgb> colorFromText(const QString &text)
{
    const auto read = pastedColor(text);
    if (!read || read->translucent)
        return std::nullopt;
    return read->rgb;
}

namespace {

QString quotedPaste(const QString &text)
{
    QString shown = text.simplified();
    constexpr qsizetype longest = 48;
    if (shown.size() > longest)
        shown = shown.left(longest - 1) + QChar(0x2026);
    return QLatin1Char('"') + shown + QLatin1Char('"');
}

} // namespace

namespace {

// Units of 10^-decimals as text, trailing zeros dropped: 625 tenths "62.5".
QString scaledText(long long units, int decimals)
{
    long long scale = 1;
    for (int n = 0; n < decimals; ++n)
        scale *= 10;
    QString text = QString::number(units / scale);
    QString part = QStringLiteral("%1").arg(units % scale, decimals, 10, QLatin1Char('0'));
    while (part.endsWith(u'0'))
        part.chop(1);
    return part.isEmpty() ? text : text + QLatin1Char('.') + part;
}

using Units = std::array<long long, 3>;

// The steps around the rounded values, fewest first.
const std::vector<Units> &stepsAround()
{
    static const std::vector<Units> steps = [] {
        std::vector<Units> out;
        for (long long a : {0, -1, 1})
            for (long long b : {0, -1, 1})
                for (long long c : {0, -1, 1})
                    out.push_back({a, b, c});
        std::stable_sort(out.begin(), out.end(), [](const Units &x, const Units &y) {
            return std::abs(x[0]) + std::abs(x[1]) + std::abs(x[2]) < std::abs(y[0]) + std::abs(y[1]) + std::abs(y[2]);
        });
        return out;
    }();
    return steps;
}

// Of the texts `write` gives for the units around the rounded coordinates,
// the first that reads back as `c` (one more decimal where none does): the
// check is the reader itself, so that what it clamps (an OKLCH lightness of
// 100% is white) counts as it will be read.
template <class Write>
QString nearestText(Rgb c, std::array<double, 3> coords, std::array<double, 3> scales, Write write)
{
    for (const int more : {1, 10}) {
        Units base{};
        for (int i = 0; i < 3; ++i)
            base[i] = static_cast<long long>(std::floor(coords[i] * scales[i] * more + 0.5));
        for (const Units &step : stepsAround()) {
            Units units{};
            for (int i = 0; i < 3; ++i)
                units[i] = std::max(base[i] + step[i], 0LL);
            const QString text = write(units, more > 1 ? 1 : 0);
            if (cssColor(text) == c)
                return text;
        }
    }
    Units base{};
    for (int i = 0; i < 3; ++i)
        base[i] = static_cast<long long>(std::floor(coords[i] * scales[i] + 0.5));
    return write(base, 0);
}

long long hueUnits(long long units, int more)
{
    return units % (more ? 36000 : 3600);
}

} // namespace

QString hslText(Rgb c)
{
    const Hsl hsl = hslFromSrgb(toSrgb(c));
    return nearestText(c, {hsl.h, hsl.s * 100, hsl.l * 100}, {10, 10, 10}, [](const Units &u, int more) {
        return QStringLiteral("hsl(%1 %2% %3%)")
            .arg(u[1] == 0 ? QStringLiteral("0") : scaledText(hueUnits(u[0], more), 1 + more),
                 scaledText(u[1], 1 + more), scaledText(u[2], 1 + more));
    });
}

QString oklchText(Rgb c)
{
    const Oklch lch = oklchFromSrgb(toSrgb(c));
    return nearestText(c, {lch.l, lch.c, lch.h}, {1000, 1000, 10}, [](const Units &u, int more) {
        return QStringLiteral("oklch(%1% %2 %3)")
            .arg(scaledText(u[0], 1 + more), scaledText(u[1], 3 + more),
                 u[1] == 0 ? QStringLiteral("0") : scaledText(hueUnits(u[2], more), 1 + more));
    });
}

QString translucentColorText(const QString &text)
{
    return QStringLiteral("%1 has transparency, which the colors of a page's BODY cannot have.").arg(quotedPaste(text));
}

QString gamutMappedText(const QString &text, Rgb mapped)
{
    return QStringLiteral("%1 lies outside sRGB; it was brought in as %2.")
        .arg(quotedPaste(text), hexColor(mapped.red, mapped.green, mapped.blue));
}

std::optional<ReadColor> pastedColor(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (const auto color = cssColorValue(trimmed))
        return color;
    if (trimmed.size() == 6)
        if (const auto color = hexColorValue(trimmed, false))
            return ReadColor{*color, false, false};

    // One color declaration of our CSS, alone or in its rule.
    Declarations declarations;
    if (trimmed.contains(u'{')) {
        const auto rules = cssRules(trimmed);
        if (!rules)
            return std::nullopt;
        for (const CssRule &rule : *rules)
            declarations.insert(declarations.end(), rule.declarations.begin(), rule.declarations.end());
    } else if (const auto list = cssDeclarations(trimmed)) {
        declarations = *list;
    } else {
        return std::nullopt;
    }
    std::optional<ReadColor> found;
    for (const auto &[property, value] : declarations) {
        if (property != u"color" && property != u"background-color")
            continue;
        const auto color = cssColorValue(value);
        if (!color || found)
            return std::nullopt;
        found = color;
    }
    return found;
}

std::optional<std::vector<CssRule>> cssRules(QStringView css)
{
    std::vector<CssRule> rules;
    CssScanner scanner(css);
    for (;;) {
        const auto selectors = scanner.until(u"{};");
        if (!selectors)
            return std::nullopt;
        // An old page hides its style sheet from old browsers in an HTML comment.
        QString head = selectors->first;
        head.replace(QLatin1String("<!--"), QLatin1String(" ")).replace(QLatin1String("-->"), QLatin1String(" "));
        const QString selector = cssTrimmed(head).toString();
        if (selectors->second == 0) {
            if (!selector.isEmpty())
                return std::nullopt;
            return rules;
        }
        if (selectors->second != u'{' || selector.isEmpty())
            return std::nullopt;
        char16_t closer = 0;
        auto declarations = readDeclarations(scanner, closer);
        if (!declarations || closer != u'}')
            return std::nullopt;
        rules.push_back({selector, std::move(*declarations)});
    }
}

std::optional<std::vector<std::pair<QString, QString>>> cssDeclarations(QStringView text)
{
    CssScanner scanner(text);
    char16_t closer = 0;
    auto declarations = readDeclarations(scanner, closer);
    if (!declarations || closer != 0)
        return std::nullopt;
    return declarations;
}

QString codePointText(char32_t code)
{
    if (QChar::requiresSurrogates(code)) {
        const QChar pair[] = {QChar(QChar::highSurrogate(code)), QChar(QChar::lowSurrogate(code))};
        return QString(pair, 2);
    }
    return QString(QChar(char16_t(code)));
}

QString cssUnescaped(QStringView text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\' || i + 1 >= text.size()) {
            out += text[i];
            continue;
        }
        ++i;
        if (text[i] == u'\n' || text[i] == u'\f')
            continue;
        if (text[i] == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            continue;
        }
        if (ascii::hexValue(text[i]) < 0) {
            out += text[i];
            continue;
        }
        char32_t code = 0;
        int count = 0;
        for (; count < 6 && i < text.size() && ascii::hexValue(text[i]) >= 0; ++count, ++i)
            code = code * 16 + char32_t(ascii::hexValue(text[i]));
        // One blank after the digits belongs to the escape.
        if (i < text.size() && text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        else if (i >= text.size() || !cssBlank(text[i]))
            --i;
        if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            code = 0xFFFD;
        out += codePointText(code);
    }
    return out;
}

std::optional<Rgb> legacyColor(QStringView value)
{
    if (value.isEmpty())
        return std::nullopt;
    while (!value.isEmpty() && ascii::isBlank(value.front()))
        value = value.mid(1);
    while (!value.isEmpty() && ascii::isBlank(value.back()))
        value.chop(1);
    // ASCII case only: "tran\u017Fparent" (a long s) is no keyword.
    if (asciiEqualsLower(value, "transparent"))
        return std::nullopt;
    if (const auto named = namedColor(value))
        return named;
    if (value.size() == 4)
        if (const auto color = hexColorValue(value))
            return color;

    // Each UTF-16 unit becomes one digit, so a character beyond the BMP, two
    // units, becomes "00" as the rules ask; the 128-character cut then falls
    // where it falls on the replaced text.
    QString digits = value.left(128).toString();
    if (digits.startsWith(u'#'))
        digits.remove(0, 1);
    for (QChar &ch : digits)
        if (ascii::hexValue(ch) < 0)
            ch = u'0';
    while (digits.isEmpty() || digits.size() % 3 != 0)
        digits += u'0';
    qsizetype length = digits.size() / 3;
    QString parts[3] = {digits.left(length), digits.mid(length, length), digits.mid(2 * length)};
    if (length > 8) {
        for (QString &part : parts)
            part.remove(0, length - 8);
        length = 8;
    }
    while (length > 2
           && std::all_of(std::begin(parts), std::end(parts), [](const QString &p) { return p[0] == u'0'; })) {
        for (QString &part : parts)
            part.remove(0, 1);
        --length;
    }
    const auto component = [](const QString &part) { return ascii::hexValue(part[0]) * 16 + ascii::hexValue(part[1]); };
    if (length == 1)
        return Rgb{ascii::hexValue(parts[0][0]), ascii::hexValue(parts[1][0]), ascii::hexValue(parts[2][0])};
    return Rgb{component(parts[0]), component(parts[1]), component(parts[2])};
}

} // namespace color

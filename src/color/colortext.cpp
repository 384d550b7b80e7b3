#include "color/colortext.h"

#include "platform/ascii.h"

#include <QList>

#include <algorithm>
#include <cmath>
#include <cstdlib>
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

// "rgb(" ... ")": three numbers, or three percentages, separated by commas.
std::optional<Rgb> rgbFunction(QStringView text)
{
    if (text.size() < 5 || text.left(4).compare(u"rgb(", Qt::CaseInsensitive) != 0 || text.back() != u')')
        return std::nullopt;
    const QStringView inside = text.mid(4, text.size() - 5);
    const QList<QStringView> parts = inside.split(u',');
    if (parts.size() != 3)
        return std::nullopt;
    int values[3];
    int percentages = 0;
    for (int n = 0; n < 3; ++n) {
        QStringView part = cssTrimmed(parts[n]);
        const bool percent = part.endsWith(u'%');
        if (percent) {
            part.chop(1);
            ++percentages;
        }
        const std::optional<Decimal> number = cssNumber(part);
        if (!number)
            return std::nullopt;
        values[n] = clampedComponent(percent ? percentOf255(*number) : *number);
    }
    if (percentages != 0 && percentages != 3)
        return std::nullopt;
    return Rgb{values[0], values[1], values[2]};
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
            const QString property = cssTrimmed(text.left(colon)).toString().toLower();
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

std::optional<Rgb> cssColor(QStringView value)
{
    value = cssTrimmed(value);
    if (value.startsWith(u'#'))
        return hexColorValue(value);
    if (const auto rgb = rgbFunction(value))
        return rgb;
    return namedColor(value);
}

std::optional<Rgb> colorFromText(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (const auto color = cssColor(trimmed))
        return color;
    if (trimmed.size() == 6)
        if (const auto color = hexColorValue(trimmed, false))
            return color;

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
    std::optional<Rgb> found;
    for (const auto &[property, value] : declarations) {
        if (property != u"color" && property != u"background-color")
            continue;
        const auto color = cssColor(value);
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

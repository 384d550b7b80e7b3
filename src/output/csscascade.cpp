#include "output/csscascade.h"

#include "platform/ascii.h"

#include <algorithm>
#include <array>
#include <tuple>
#include <utility>

namespace output {

namespace {

using color::Rgb;

enum class T {
    Ident,
    Function,
    AtKeyword,
    Hash,
    String,
    BadString,
    Url,
    BadUrl,
    Delim,
    Number,
    Percentage,
    Dimension,
    Whitespace,
    Cdo,
    Cdc,
    Colon,
    Semicolon,
    Comma,
    LBracket,
    RBracket,
    LParen,
    RParen,
    LBrace,
    RBrace,
};

struct Token {
    T type;
    QString value;                // unescaped name, string or url; a delim's character
    qsizetype start = 0, end = 0; // in the preprocessed text
};

bool isNameStart(char32_t c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c >= 0x80;
}

bool isName(char32_t c)
{
    return isNameStart(c) || (c >= '0' && c <= '9') || c == '-';
}

QString asciiLower(QString s)
{
    return ascii::lowered(std::move(s));
}

// CSS Syntax Level 3, section 4: the tokenizer over preprocessed text.
class Tokenizer {
public:
    explicit Tokenizer(QStringView css)
    {
        // Newlines normalised, NUL and lone surrogates replaced, by code point.
        m_text.reserve(css.size());
        for (qsizetype i = 0; i < css.size(); ++i) {
            char32_t c = css[i].unicode();
            if (QChar::isHighSurrogate(c) && i + 1 < css.size() && QChar::isLowSurrogate(css[i + 1].unicode())) {
                c = QChar::surrogateToUcs4(css[i].unicode(), css[i + 1].unicode());
                ++i;
            } else if (QChar::isSurrogate(c) || c == 0)
                c = 0xFFFD;
            if (c == '\r') {
                if (i + 1 < css.size() && css[i + 1] == u'\n')
                    ++i;
                c = '\n';
            } else if (c == '\f') {
                c = '\n';
            }
            m_text.push_back(c);
        }
    }

    std::vector<Token> tokens()
    {
        std::vector<Token> out;
        while (m_pos < size()) {
            const qsizetype start = m_pos;
            if (at(0) == '/' && at(1) == '*') {
                m_pos += 2;
                while (m_pos < size() && !(at(0) == '*' && at(1) == '/'))
                    ++m_pos;
                m_pos = std::min(m_pos + 2, size());
                continue;
            }
            Token token = next();
            token.start = start;
            token.end = m_pos;
            out.push_back(std::move(token));
        }
        return out;
    }

    QString slice(qsizetype start, qsizetype end) const
    {
        QString s;
        for (qsizetype i = start; i < end; ++i)
            s += color::codePointText(m_text[std::size_t(i)]);
        return s;
    }

private:
    qsizetype size() const { return qsizetype(m_text.size()); }
    char32_t at(qsizetype offset) const
    {
        const qsizetype i = m_pos + offset;
        return i < size() ? m_text[std::size_t(i)] : char32_t(-1);
    }
    static bool validEscape(char32_t a, char32_t b) { return a == '\\' && b != '\n' && b != char32_t(-1); }
    bool startsIdent(qsizetype o) const
    {
        const char32_t a = at(o), b = at(o + 1), c = at(o + 2);
        if (a == '-')
            return isNameStart(b) || b == '-' || validEscape(b, c);
        if (isNameStart(a))
            return true;
        return validEscape(a, b);
    }
    bool startsNumber() const
    {
        const char32_t a = at(0), b = at(1), c = at(2);
        const auto digit = [](char32_t x) { return x >= '0' && x <= '9'; };
        if (a == '+' || a == '-')
            return digit(b) || (b == '.' && digit(c));
        if (a == '.')
            return digit(b);
        return digit(a);
    }

    char32_t escape()
    {
        // After the backslash.
        if (m_pos >= size())
            return 0xFFFD;
        char32_t c = at(0);
        ++m_pos;
        if (ascii::hexValue(c) < 0)
            return c;
        char32_t code = char32_t(ascii::hexValue(c));
        for (int n = 1; n < 6 && ascii::hexValue(at(0)) >= 0; ++n, ++m_pos)
            code = code * 16 + char32_t(ascii::hexValue(at(0)));
        if (ascii::isBlank(at(0)))
            ++m_pos;
        if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return 0xFFFD;
        return code;
    }

    QString name()
    {
        QString out;
        for (;;) {
            const char32_t c = at(0);
            if (isName(c) && c != char32_t(-1)) {
                out += color::codePointText(c);
                ++m_pos;
            } else if (validEscape(c, at(1))) {
                ++m_pos;
                out += color::codePointText(escape());
            } else {
                return out;
            }
        }
    }

    void number()
    {
        if (at(0) == '+' || at(0) == '-')
            ++m_pos;
        const auto digits = [&] {
            while (at(0) >= '0' && at(0) <= '9')
                ++m_pos;
        };
        digits();
        if (at(0) == '.' && at(1) >= '0' && at(1) <= '9') {
            m_pos += 2;
            digits();
        }
        if ((at(0) == 'e' || at(0) == 'E')
            && ((at(1) >= '0' && at(1) <= '9') || ((at(1) == '+' || at(1) == '-') && at(2) >= '0' && at(2) <= '9'))) {
            m_pos += 2;
            digits();
        }
    }

    Token numeric()
    {
        number();
        if (startsIdent(0)) {
            name();
            return {T::Dimension, {}};
        }
        if (at(0) == '%') {
            ++m_pos;
            return {T::Percentage, {}};
        }
        return {T::Number, {}};
    }

    Token string(char32_t quote)
    {
        QString out;
        for (;;) {
            const char32_t c = at(0);
            if (c == char32_t(-1))
                return {T::String, out};
            ++m_pos;
            if (c == quote)
                return {T::String, out};
            if (c == '\n') {
                --m_pos;
                return {T::BadString, {}};
            }
            if (c == '\\') {
                if (at(0) == char32_t(-1))
                    continue;
                if (at(0) == '\n') {
                    ++m_pos;
                    continue;
                }
                out += color::codePointText(escape());
                continue;
            }
            out += color::codePointText(c);
        }
    }

    void badUrlRemnants()
    {
        for (;;) {
            const char32_t c = at(0);
            if (c == char32_t(-1))
                return;
            ++m_pos;
            if (c == ')')
                return;
            if (validEscape(c, at(0)))
                escape();
        }
    }

    Token url()
    {
        QString out;
        while (ascii::isBlank(at(0)))
            ++m_pos;
        for (;;) {
            const char32_t c = at(0);
            if (c == char32_t(-1))
                return {T::Url, out};
            ++m_pos;
            if (c == ')')
                return {T::Url, out};
            if (ascii::isBlank(c)) {
                while (ascii::isBlank(at(0)))
                    ++m_pos;
                if (at(0) == ')' || at(0) == char32_t(-1)) {
                    if (at(0) == ')')
                        ++m_pos;
                    return {T::Url, out};
                }
                badUrlRemnants();
                return {T::BadUrl, {}};
            }
            if (c == '"' || c == '\'' || c == '(' || c < 0x09 || c == 0x0B || (c >= 0x0E && c <= 0x1F) || c == 0x7F) {
                badUrlRemnants();
                return {T::BadUrl, {}};
            }
            if (c == '\\') {
                if (validEscape(c, at(0))) {
                    out += color::codePointText(escape());
                    continue;
                }
                badUrlRemnants();
                return {T::BadUrl, {}};
            }
            out += color::codePointText(c);
        }
    }

    Token identLike()
    {
        const QString value = name();
        if (asciiLower(value) == u"url" && at(0) == '(') {
            ++m_pos;
            while (ascii::isBlank(at(0)) && ascii::isBlank(at(1)))
                ++m_pos;
            const char32_t c = ascii::isBlank(at(0)) ? at(1) : at(0);
            if (c == '"' || c == '\'')
                return {T::Function, value};
            return url();
        }
        if (at(0) == '(') {
            ++m_pos;
            return {T::Function, value};
        }
        return {T::Ident, value};
    }

    Token next()
    {
        const char32_t c = at(0);
        if (ascii::isBlank(c)) {
            while (ascii::isBlank(at(0)))
                ++m_pos;
            return {T::Whitespace, {}};
        }
        if (c == '"' || c == '\'') {
            ++m_pos;
            return string(c);
        }
        if (c == '#') {
            if (isName(at(1)) || validEscape(at(1), at(2))) {
                ++m_pos;
                return {T::Hash, name()};
            }
        }
        if ((c == '+' || c == '.') && startsNumber())
            return numeric();
        if (c == '-') {
            if (startsNumber())
                return numeric();
            if (at(1) == '-' && at(2) == '>') {
                m_pos += 3;
                return {T::Cdc, {}};
            }
            if (startsIdent(0))
                return identLike();
        }
        if (c == '<' && at(1) == '!' && at(2) == '-' && at(3) == '-') {
            m_pos += 4;
            return {T::Cdo, {}};
        }
        if (c == '@' && startsIdent(1)) {
            ++m_pos;
            return {T::AtKeyword, name()};
        }
        if (c == '\\' && validEscape(c, at(1)))
            return identLike();
        if (c >= '0' && c <= '9')
            return numeric();
        if (isNameStart(c))
            return identLike();
        ++m_pos;
        switch (c) {
        case '(': return {T::LParen, {}};
        case ')': return {T::RParen, {}};
        case '[': return {T::LBracket, {}};
        case ']': return {T::RBracket, {}};
        case '{': return {T::LBrace, {}};
        case '}': return {T::RBrace, {}};
        case ':': return {T::Colon, {}};
        case ';': return {T::Semicolon, {}};
        case ',': return {T::Comma, {}};
        default: return {T::Delim, color::codePointText(c)};
        }
    }

    std::vector<char32_t> m_text;
    qsizetype m_pos = 0;
};

using Tokens = std::vector<Token>;
using Span = std::pair<qsizetype, qsizetype>; // [first, last) into a token list

// One component value from `i` on: a token, or a block or function to its
// matching close (or the end); `i` ends after it. False for a block the end cuts off.
bool skipComponent(const Tokens &t, qsizetype &i)
{
    const T open = t[std::size_t(i)].type;
    ++i;
    if (open != T::LBrace && open != T::LBracket && open != T::LParen && open != T::Function)
        return true;
    // Nested blocks are counted on one stack, so a deep nest costs no recursion.
    std::vector<T> closers{open == T::LBrace ? T::RBrace : open == T::LBracket ? T::RBracket : T::RParen};
    while (i < qsizetype(t.size()) && !closers.empty()) {
        const T type = t[std::size_t(i++)].type;
        if (type == closers.back())
            closers.pop_back();
        else if (type == T::LBrace)
            closers.push_back(T::RBrace);
        else if (type == T::LBracket)
            closers.push_back(T::RBracket);
        else if (type == T::LParen || type == T::Function)
            closers.push_back(T::RParen);
    }
    return closers.empty();
}

struct Rule {
    bool at = false;
    QString atName;            // lower case
    Span prelude;              // before the block or ";"
    std::optional<Span> block; // inside the braces
};

// "Consume a list of rules" over [first, last).
std::vector<Rule> rulesIn(const Tokens &t, Span span, bool topLevel)
{
    std::vector<Rule> rules;
    qsizetype i = span.first;
    while (i < span.second) {
        const Token &token = t[std::size_t(i)];
        if (token.type == T::Whitespace || (topLevel && (token.type == T::Cdo || token.type == T::Cdc))) {
            ++i;
            continue;
        }
        Rule rule;
        if (token.type == T::AtKeyword) {
            rule.at = true;
            rule.atName = asciiLower(token.value);
            ++i;
        }
        const qsizetype preludeStart = i;
        bool ended = false;
        while (i < span.second) {
            const T type = t[std::size_t(i)].type;
            if (rule.at && type == T::Semicolon) {
                rule.prelude = {preludeStart, i};
                ++i;
                ended = true;
                break;
            }
            if (type == T::LBrace) {
                rule.prelude = {preludeStart, i};
                const qsizetype open = i;
                const bool closed = skipComponent(t, i);
                rule.block = Span{open + 1, closed ? i - 1 : i};
                ended = true;
                break;
            }
            skipComponent(t, i);
        }
        if (!ended) {
            // A qualified rule cut off by the end is dropped; an at-rule stands.
            if (!rule.at)
                break;
            rule.prelude = {preludeStart, i};
        }
        rules.push_back(std::move(rule));
    }
    return rules;
}

struct Declaration {
    QString property; // lower case
    Span value;       // without blanks around and without !important
    bool important = false;
};

std::vector<Declaration> declarationsIn(const Tokens &t, Span span)
{
    std::vector<Declaration> out;
    qsizetype i = span.first;
    while (i < span.second) {
        const qsizetype start = i;
        while (i < span.second && t[std::size_t(i)].type != T::Semicolon)
            skipComponent(t, i);
        qsizetype a = start, b = i;
        ++i;
        const auto blank = [&](qsizetype k) { return t[std::size_t(k)].type == T::Whitespace; };
        while (a < b && blank(a))
            ++a;
        if (a >= b || t[std::size_t(a)].type != T::Ident)
            continue;
        Declaration d;
        d.property = asciiLower(t[std::size_t(a)].value);
        ++a;
        while (a < b && blank(a))
            ++a;
        if (a >= b || t[std::size_t(a)].type != T::Colon)
            continue;
        ++a;
        while (b > a && blank(b - 1))
            --b;
        // "!" then "important", blanks allowed between and after.
        if (b > a && t[std::size_t(b - 1)].type == T::Ident
            && asciiLower(t[std::size_t(b - 1)].value) == u"important") {
            qsizetype k = b - 1;
            while (k > a && blank(k - 1))
                --k;
            if (k > a && t[std::size_t(k - 1)].type == T::Delim && t[std::size_t(k - 1)].value == u"!") {
                d.important = true;
                b = k - 1;
                while (b > a && blank(b - 1))
                    --b;
            }
        }
        while (a < b && blank(a))
            ++a;
        d.value = {a, b};
        out.push_back(std::move(d));
    }
    return out;
}

// The selectors read, with their specificity.
enum Subject { Html, Body, Anchor, Link, Visited, Active, subjectCount };

struct Selected {
    Subject subject;
    int specificity;
};

std::optional<Selected> selectorOf(const Tokens &t, Span span)
{
    std::vector<const Token *> parts;
    for (qsizetype i = span.first; i < span.second; ++i)
        if (t[std::size_t(i)].type != T::Whitespace)
            parts.push_back(&t[std::size_t(i)]);
    // A blank inside ("a :link") makes a descendant selector, not one of ours.
    for (qsizetype i = span.first + 1; i + 1 < span.second; ++i)
        if (t[std::size_t(i)].type == T::Whitespace)
            return std::nullopt;
    const auto ident = [&](std::size_t n) {
        return parts[n]->type == T::Ident ? asciiLower(parts[n]->value) : QString();
    };
    if (parts.size() == 1 && parts[0]->type == T::Ident) {
        const QString name = ident(0);
        if (name == u"html")
            return Selected{Html, 1};
        if (name == u"body")
            return Selected{Body, 1};
        if (name == u"a")
            return Selected{Anchor, 1};
        return std::nullopt;
    }
    std::size_t n = 0;
    int specificity = 10;
    if (parts.size() == 3) {
        if (ident(0) != u"a")
            return std::nullopt;
        n = 1;
        specificity = 11;
    }
    if (parts.size() != n + 2 || parts[n]->type != T::Colon || parts[n + 1]->type != T::Ident)
        return std::nullopt;
    const QString pseudo = ident(n + 1);
    if (pseudo == u"link")
        return Selected{Link, specificity};
    if (pseudo == u"visited")
        return Selected{Visited, specificity};
    if (pseudo == u"active")
        return Selected{Active, specificity};
    return std::nullopt;
}

// A value the cascade can hold: a color, or "none" (transparent, no image).
template <typename V> struct Winner {
    std::optional<V> value; // empty: transparent / none
    bool set = false;
    bool important = false;
    int specificity = -1; // -1: a presentational hint
    long order = -1;

    void offer(std::optional<V> v, bool imp, int weight, long ord)
    {
        if (set && std::tuple(important, specificity, order) > std::tuple(imp, weight, ord))
            return;
        value = std::move(v);
        set = true;
        important = imp;
        specificity = weight;
        order = ord;
    }
};

struct SubjectValues {
    Winner<Rgb> color, backColor;
    Winner<QString> image;
};

class Sheet {
public:
    explicit Sheet(const QString &css) : m_tokenizer(css), m_t(m_tokenizer.tokens()) {}

    void apply(std::array<SubjectValues, subjectCount> &to, long &order, bool &imports)
    {
        applyRules(rulesIn(m_t, {0, qsizetype(m_t.size())}, true), to, order, imports, 0);
    }

private:
    void applyRules(const std::vector<Rule> &rules, std::array<SubjectValues, subjectCount> &to, long &order,
                    bool &imports, int depth)
    {
        for (const Rule &rule : rules) {
            if (rule.at) {
                if (rule.atName == u"import")
                    imports = true;
                // Only @media for a screen lends its rules; one level deep is what pages use.
                if (rule.atName == u"media" && rule.block && depth < 8
                    && mediaForScreen(m_tokenizer.slice(tokenStart(rule.prelude), tokenEnd(rule.prelude))))
                    applyRules(rulesIn(m_t, *rule.block, false), to, order, imports, depth + 1);
                continue;
            }
            if (!rule.block)
                continue;
            std::vector<Selected> selected;
            qsizetype start = rule.prelude.first;
            for (qsizetype i = rule.prelude.first; i <= rule.prelude.second;) {
                if (i == rule.prelude.second || m_t[std::size_t(i)].type == T::Comma) {
                    if (const auto s = selectorOf(m_t, {start, i}))
                        selected.push_back(*s);
                    start = ++i;
                    continue;
                }
                skipComponent(m_t, i);
            }
            if (selected.empty())
                continue;
            for (const Declaration &d : declarationsIn(m_t, *rule.block)) {
                ++order;
                for (const Selected &s : selected)
                    applyDeclaration(d, to[s.subject], s.specificity, order);
            }
        }
    }

    qsizetype tokenStart(Span s) const { return s.first < s.second ? m_t[std::size_t(s.first)].start : 0; }
    qsizetype tokenEnd(Span s) const { return s.first < s.second ? m_t[std::size_t(s.second - 1)].end : 0; }

    // The value's component values, blanks left out.
    std::vector<Span> components(Span value) const
    {
        std::vector<Span> out;
        for (qsizetype i = value.first; i < value.second;) {
            const qsizetype start = i;
            skipComponent(m_t, i);
            if (m_t[std::size_t(start)].type != T::Whitespace)
                out.push_back({start, std::min(i, value.second)});
        }
        return out;
    }

    // A color: transparent gives a set but empty value; nothing for what is not read.
    std::optional<std::optional<Rgb>> colorOf(Span c) const
    {
        const Token &first = m_t[std::size_t(c.first)];
        if (c.second - c.first == 1 && first.type == T::Ident) {
            if (asciiLower(first.value) == u"transparent")
                return std::optional<Rgb>();
            if (const auto named = color::namedColor(first.value))
                return std::optional<Rgb>(named);
            return std::nullopt;
        }
        if (c.second - c.first == 1 && first.type == T::Hash) {
            if (const auto hex = color::cssColor(QLatin1Char('#') + first.value))
                return std::optional<Rgb>(hex);
            return std::nullopt;
        }
        // The color functions: a translucent color is not read, as a page's
        // colors have no transparency.
        static constexpr const char *functions[] = {"rgb", "rgba", "hsl",   "hsla",  "hwb",
                                                    "lab", "lch",  "oklab", "oklch", "color"};
        if (first.type == T::Function && std::any_of(std::begin(functions), std::end(functions), [&](const char *name) {
                return ascii::equalsLower(first.value, name);
            })) {
            const QString text = asciiLower(first.value) + QLatin1Char('(')
                                 + m_tokenizer.slice(m_t[std::size_t(c.first)].end, tokenEnd(c));
            if (const auto color = color::cssColor(text))
                return std::optional<Rgb>(color);
        }
        return std::nullopt;
    }

    // An image: "none" gives a set but empty value.
    std::optional<std::optional<QString>> imageOf(Span c) const
    {
        const Token &first = m_t[std::size_t(c.first)];
        if (c.second - c.first == 1 && first.type == T::Ident && asciiLower(first.value) == u"none")
            return std::optional<QString>();
        if (c.second - c.first == 1 && first.type == T::Url)
            return std::optional<QString>(first.value);
        if (first.type == T::Function && asciiLower(first.value) == u"url") {
            std::vector<const Token *> inside;
            for (qsizetype i = c.first + 1; i < c.second; ++i)
                if (m_t[std::size_t(i)].type != T::Whitespace)
                    inside.push_back(&m_t[std::size_t(i)]);
            if (inside.size() == 2 && inside[0]->type == T::String && inside[1]->type == T::RParen)
                return std::optional<QString>(inside[0]->value);
            if (inside.size() == 1 && inside[0]->type == T::String && c.second == qsizetype(m_t.size()))
                return std::optional<QString>(inside[0]->value);
        }
        return std::nullopt;
    }

    void applyDeclaration(const Declaration &d, SubjectValues &to, int specificity, long order) const
    {
        const std::vector<Span> parts = components(d.value);
        if (parts.empty())
            return;
        if (d.property == u"color" || d.property == u"background-color") {
            if (parts.size() != 1)
                return;
            if (const auto c = colorOf(parts[0])) {
                if (d.property == u"color") {
                    // "transparent" as a text color is still no color we can show.
                    to.color.offer(*c, d.important, specificity, order);
                } else {
                    to.backColor.offer(*c, d.important, specificity, order);
                }
            }
        } else if (d.property == u"background-image") {
            if (parts.size() != 1)
                return;
            if (const auto image = imageOf(parts[0]))
                to.image.offer(*image, d.important, specificity, order);
        } else if (d.property == u"background") {
            // The shorthand sets both: what it leaves out returns to transparent and none.
            // With layers, the image is the first layer's and the color the last's.
            std::optional<Rgb> back;
            std::optional<QString> image;
            bool imageTaken = false, firstLayer = true;
            for (const Span &part : parts) {
                const Token &token = m_t[std::size_t(part.first)];
                if (token.type == T::Comma) {
                    firstLayer = false;
                    back.reset();
                    continue;
                }
                if (const auto c = colorOf(part)) {
                    back = *c;
                } else if (const auto i = imageOf(part); i && firstLayer && !imageTaken) {
                    image = *i;
                    imageTaken = true;
                }
            }
            to.backColor.offer(back, d.important, specificity, order);
            to.image.offer(image, d.important, specificity, order);
        }
    }

    Tokenizer m_tokenizer;
    Tokens m_t;
};

} // namespace

bool mediaForScreen(QStringView mediaList)
{
    Tokenizer tokenizer(mediaList);
    const Tokens t = tokenizer.tokens();
    std::vector<std::vector<const Token *>> queries(1);
    for (qsizetype i = 0; i < qsizetype(t.size());) {
        const Token &token = t[std::size_t(i)];
        if (token.type == T::Comma) {
            queries.emplace_back();
            ++i;
            continue;
        }
        if (token.type != T::Whitespace)
            queries.back().push_back(&token);
        skipComponent(t, i);
    }
    if (queries.size() == 1 && queries[0].empty())
        return true;
    for (const auto &query : queries) {
        std::size_t n = 0;
        bool negated = false;
        if (n < query.size() && query[n]->type == T::Ident) {
            const QString word = asciiLower(query[n]->value);
            if (word == u"not" || word == u"only") {
                negated = word == u"not";
                ++n;
            }
        }
        // A type alone: features cannot be judged without a window.
        if (n + 1 != query.size() || query[n]->type != T::Ident)
            continue;
        const QString type = asciiLower(query[n]->value);
        if (type == u"and" || type == u"or" || type == u"not" || type == u"only")
            continue;
        const bool screen = type == u"all" || type == u"screen";
        if (screen != negated)
            return true;
    }
    return false;
}

CascadedColors cascadedColors(const BodyHints &hints, const std::vector<QString> &sheets)
{
    std::array<SubjectValues, subjectCount> values;
    const auto hintColor = [](Winner<Rgb> &w, const std::optional<Rgb> &c) {
        if (c)
            w.offer(c, false, -1, -1);
    };
    hintColor(values[Body].backColor, hints.back);
    hintColor(values[Body].color, hints.text);
    if (hints.background)
        values[Body].image.offer(hints.background, false, -1, -1);
    // The attributes stand for rules on :link, :visited and :active.
    hintColor(values[Link].color, hints.link);
    hintColor(values[Visited].color, hints.vlink);
    hintColor(values[Active].color, hints.alink);

    CascadedColors out;
    long order = 0;
    for (const QString &css : sheets)
        Sheet(css).apply(values, order, out.importsSheets);

    // The page's background is the root's, or the body's when the root has none.
    const SubjectValues &html = values[Html], &body = values[Body];
    const bool rootPainted = (html.backColor.set && html.backColor.value) || (html.image.set && html.image.value);
    const SubjectValues &canvas = rootPainted ? html : body;
    out.back = canvas.backColor.value;
    out.background = canvas.image.value;
    // Text inherits from the root when the body says nothing.
    out.text = body.color.set ? body.color.value : html.color.value;
    // The winner among the rules a link in each state matches (an active link taken as not yet visited).
    // Each attribute stays its own state's color: LINK does not color an active link.
    const auto link = [&](std::initializer_list<Subject> subjects, Subject hinted) {
        Winner<Rgb> best;
        for (const Subject s : subjects) {
            const Winner<Rgb> &w = values[s].color;
            if (w.set && (w.specificity >= 0 || s == hinted))
                best.offer(w.value, w.important, w.specificity, w.order);
        }
        return best.value;
    };
    out.link = link({Anchor, Link}, Link);
    out.vlink = link({Anchor, Visited}, Visited);
    out.alink = link({Anchor, Link, Active}, Active);
    return out;
}

} // namespace output

#include "output/pagecolors.h"

#include <QStringDecoder>
#include <QStringList>

#include <algorithm>
#include <array>

namespace output {

namespace {

using color::Rgb;

bool htmlBlank(QChar ch)
{
    const char16_t c = ch.unicode();
    return c == '\t' || c == '\n' || c == '\f' || c == '\r' || c == ' ';
}

bool asciiLetter(QChar ch)
{
    const char16_t c = ch.unicode();
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

QString asciiLower(QString text)
{
    for (QChar &ch : text)
        if (ch.unicode() >= 'A' && ch.unicode() <= 'Z')
            ch = QChar(char16_t(ch.unicode() + 32));
    return text;
}

// ISO-8859-1 names from U+00A0 on, in code order.
constexpr std::array<const char *, 96> latin1Names = {
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",    "copy",   "ordf",
    "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn", "sup2",   "sup3",   "acute",  "micro",
    "para",   "middot", "cedil",  "sup1",   "ordm",   "raquo",  "frac14", "frac12", "frac34", "iquest", "Agrave",
    "Aacute", "Acirc",  "Atilde", "Auml",   "Aring",  "AElig",  "Ccedil", "Egrave", "Eacute", "Ecirc",  "Euml",
    "Igrave", "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde", "Ouml",
    "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",  "szlig",  "agrave", "aacute",
    "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil", "egrave", "eacute", "ecirc",  "euml",   "igrave",
    "iacute", "icirc",  "iuml",   "eth",    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide",
    "oslash", "ugrave", "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml"};

std::optional<char32_t> namedReference(const QString &name)
{
    static const std::pair<const char *, char32_t> basics[] = {
        {"amp", U'&'}, {"lt", U'<'}, {"gt", U'>'}, {"quot", U'"'}, {"apos", U'\''}};
    for (const auto &[entity, code] : basics)
        if (name == QLatin1String(entity))
            return code;
    for (std::size_t i = 0; i < latin1Names.size(); ++i)
        if (name == QLatin1String(latin1Names[i]))
            return char32_t(0xA0 + i);
    return std::nullopt;
}

// A numeric reference's code as browsers take it: C1 codes as the
// windows-1252 characters, nothing usable as U+FFFD.
char32_t referencedCode(char32_t code)
{
    static constexpr char16_t c1[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                                        0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
    if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0xFFFD;
    if (code >= 0x80 && code <= 0x9F)
        return c1[code - 0x80];
    return code;
}

QString character(char32_t code)
{
    return color::codePointText(code);
}

struct Tag {
    QString name;
    std::vector<std::pair<QString, QString>> attributes;
    QString attribute(QLatin1String wanted) const
    {
        for (const auto &[name, value] : attributes)
            if (name == wanted)
                return value;
        return {};
    }
    bool has(QLatin1String wanted) const
    {
        for (const auto &attribute : attributes)
            if (attribute.first == wanted)
                return true;
        return false;
    }
};

bool readAttribute(const QString &name)
{
    static const char *const names[] = {"bgcolor",    "text",    "link",       "vlink",  "alink",
                                        "background", "charset", "http-equiv", "content"};
    for (const char *known : names)
        if (name == QLatin1String(known))
            return true;
    return false;
}

// A start tag's name and attributes from just after "<", the way a browser's
// tokenizer splits them; `pos` ends after its ">". Nothing for a tag the
// text ends inside.
std::optional<Tag> readTag(const QString &text, qsizetype &pos)
{
    Tag tag;
    const qsizetype size = text.size();
    const qsizetype nameStart = pos;
    while (pos < size && !htmlBlank(text[pos]) && text[pos] != u'/' && text[pos] != u'>')
        ++pos;
    tag.name = asciiLower(text.mid(nameStart, pos - nameStart));
    for (;;) {
        while (pos < size && (htmlBlank(text[pos]) || text[pos] == u'/'))
            ++pos;
        if (pos >= size)
            return std::nullopt;
        if (text[pos] == u'>') {
            ++pos;
            return tag;
        }
        // The first character belongs to the name even when it is "=".
        const qsizetype start = pos++;
        while (pos < size && !htmlBlank(text[pos]) && text[pos] != u'/' && text[pos] != u'>' && text[pos] != u'=')
            ++pos;
        const QString name = asciiLower(text.mid(start, pos - start));
        while (pos < size && htmlBlank(text[pos]))
            ++pos;
        QString value;
        if (pos < size && text[pos] == u'=') {
            ++pos;
            while (pos < size && htmlBlank(text[pos]))
                ++pos;
            if (pos >= size)
                return std::nullopt;
            const QChar quote = text[pos];
            if (quote == u'"' || quote == u'\'') {
                const qsizetype end = text.indexOf(quote, pos + 1);
                if (end < 0)
                    return std::nullopt;
                value = text.mid(pos + 1, end - pos - 1);
                pos = end + 1;
            } else {
                const qsizetype valueStart = pos;
                while (pos < size && !htmlBlank(text[pos]) && text[pos] != u'>')
                    ++pos;
                value = text.mid(valueStart, pos - valueStart);
            }
        }
        // Only the few attributes read are kept, so a tag with a great many
        // costs no more than its length. A repeated one is dropped; the first counts.
        if (readAttribute(name) && !tag.has(QLatin1String(name.toLatin1())))
            tag.attributes.emplace_back(name, value);
    }
}

// Elements whose content is text, not tags, up to their own end tag.
bool rawTextElement(const QString &name)
{
    static const char *const names[] = {"script", "style", "title", "textarea", "xmp", "iframe", "noembed", "noframes"};
    for (const char *raw : names)
        if (name == QLatin1String(raw))
            return true;
    return false;
}

// The start of the end tag "</name" closing raw text from `from`, or -1.
qsizetype rawTextEnd(const QString &text, const QString &name, qsizetype from)
{
    const QString closing = QStringLiteral("</") + name;
    for (;;) {
        const qsizetype at = text.indexOf(closing, from, Qt::CaseInsensitive);
        if (at < 0)
            return -1;
        const qsizetype after = at + closing.size();
        if (after >= text.size() || htmlBlank(text[after]) || text[after] == u'/' || text[after] == u'>')
            return at;
        from = at + 1;
    }
}

// The encoding a META tag names: its charset, or the charset in the
// content of an http-equiv one.
QString metaCharset(const Tag &meta)
{
    if (meta.has(QLatin1String("charset")))
        return meta.attribute(QLatin1String("charset")).trimmed();
    const QString content = meta.attribute(QLatin1String("content"));
    const qsizetype at = content.indexOf(QLatin1String("charset"), 0, Qt::CaseInsensitive);
    if (at < 0)
        return {};
    qsizetype pos = at + 7;
    while (pos < content.size() && htmlBlank(content[pos]))
        ++pos;
    if (pos >= content.size() || content[pos] != u'=')
        return {};
    ++pos;
    while (pos < content.size() && htmlBlank(content[pos]))
        ++pos;
    qsizetype end = pos;
    while (end < content.size() && !htmlBlank(content[end]) && content[end] != u';' && content[end] != u'"'
           && content[end] != u'\'')
        ++end;
    return content.mid(pos, end - pos);
}

bool namesUtf8(const QString &label)
{
    const QString lower = asciiLower(label.trimmed());
    return lower == u"utf-8" || lower == u"utf8" || lower == u"unicode-1-1-utf-8";
}

void setColor(std::optional<Rgb> &target, const QString &value)
{
    if (const auto color = color::cssColor(value))
        target = color;
}

// The image in "url(...)" of a CSS value.
std::optional<QString> cssUrl(const QString &value)
{
    const QString trimmed = value.trimmed();
    if (!trimmed.startsWith(QLatin1String("url("), Qt::CaseInsensitive) || !trimmed.endsWith(u')'))
        return std::nullopt;
    QString inside = trimmed.mid(4, trimmed.size() - 5).trimmed();
    if (inside.size() >= 2 && (inside.front() == u'"' || inside.front() == u'\'') && inside.back() == inside.front())
        inside = inside.mid(1, inside.size() - 2);
    return color::cssUnescaped(inside);
}

// Later pieces override earlier ones, as the cascade does.
void overlay(ReadColors &under, const ReadColors &over)
{
    const auto take = [](auto &to, const auto &from) {
        if (from)
            to = from;
    };
    for (std::size_t i = 0; i < under.colors.size(); ++i)
        take(under.colors[i], over.colors[i]);
    take(under.background, over.background);
}

bool anyPiece(const ReadColors &colors)
{
    return colors.background
           || std::any_of(colors.colors.begin(), colors.colors.end(), [](const auto &c) { return c.has_value(); });
}

} // namespace

QString htmlUnescaped(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'&') {
            out += text[i];
            continue;
        }
        qsizetype pos = i + 1;
        if (pos < text.size() && text[pos] == u'#') {
            ++pos;
            const bool hex = pos < text.size() && (text[pos] == u'x' || text[pos] == u'X');
            if (hex)
                ++pos;
            char32_t code = 0;
            const qsizetype digitsStart = pos;
            for (; pos < text.size(); ++pos) {
                const char16_t c = text[pos].unicode();
                int digit = -1;
                if (c >= '0' && c <= '9')
                    digit = c - '0';
                else if (hex && c >= 'a' && c <= 'f')
                    digit = c - 'a' + 10;
                else if (hex && c >= 'A' && c <= 'F')
                    digit = c - 'A' + 10;
                if (digit < 0)
                    break;
                // Past the last code point it stays too large, whatever follows.
                code = code > 0x10FFFF ? code : code * (hex ? 16 : 10) + char32_t(digit);
            }
            if (pos == digitsStart) {
                out += text[i];
                continue;
            }
            if (pos < text.size() && text[pos] == u';')
                ++pos;
            out += character(referencedCode(code));
            i = pos - 1;
            continue;
        }
        const qsizetype nameStart = pos;
        while (pos < text.size() && pos - nameStart < 8
               && (asciiLetter(text[pos]) || (text[pos].unicode() >= '0' && text[pos].unicode() <= '9')))
            ++pos;
        if (pos < text.size() && text[pos] == u';') {
            if (const auto code = namedReference(text.mid(nameStart, pos - nameStart))) {
                out += character(*code);
                i = pos;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

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

QString pageImageMissingText(const QString &name, const QString &folder)
{
    return QStringLiteral("The page's colors were read, but its background image %1 is not in %2 and was left out.")
        .arg(name, folder);
}

QString pageImageUnusableText(const QString &name, const QString &folder, const QString &why)
{
    return QStringLiteral("The page's colors were read, but its background image %1 in %2 was left out: %3.")
        .arg(name, folder, why);
}

ReadColors colorsFromCss(const QString &css)
{
    ReadColors colors;
    const auto rules = color::cssRules(css);
    if (!rules)
        return colors;
    for (const color::CssRule &rule : *rules) {
        for (const QString &selector : rule.selectors.split(u',')) {
            const QString name = asciiLower(selector.simplified());
            for (const auto &[property, value] : rule.declarations) {
                for (const ColorTargetInfo &t : colorTargets)
                    if (name == QLatin1String(t.cssSelector) && property == QLatin1String(t.cssProperty))
                        setColor(colors[t.target], value);
                if (name == u"body" && property == u"background-image") {
                    if (const auto url = cssUrl(value))
                        colors.background = url;
                }
            }
        }
    }
    return colors;
}

std::optional<ReadColors> readPageColors(const QByteArray &page)
{
    // The bytes as text: by a byte order mark, else one character a byte, so
    // the ASCII of the tags reads the same in any encoding that keeps it.
    QString text;
    bool byteWise = false;
    bool utf8 = false;
    if (page.startsWith("\xEF\xBB\xBF")) {
        text = QString::fromUtf8(page.mid(3));
    } else if (page.startsWith("\xFF\xFE") || page.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(page.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        text = decoder.decode(page.mid(2));
    } else {
        text = QString::fromLatin1(page);
        byteWise = true;
    }

    std::optional<Tag> body;
    QStringList styles;
    bool declared = false;
    qsizetype pos = 0;
    for (;;) {
        pos = text.indexOf(u'<', pos);
        if (pos < 0 || pos + 1 >= text.size())
            break;
        const QChar next = text[pos + 1];
        if (text.mid(pos, 4) == u"<!--") {
            const qsizetype end = text.indexOf(QLatin1String("-->"), pos + 2);
            if (end < 0)
                break;
            pos = end + 3;
        } else if (next == u'!' || next == u'?' || next == u'/') {
            const qsizetype end = text.indexOf(u'>', pos + 2);
            if (end < 0)
                break;
            pos = end + 1;
        } else if (asciiLetter(next)) {
            pos += 1;
            const auto tag = readTag(text, pos);
            if (!tag)
                break;
            if (tag->name == u"body" && !body) {
                body = tag;
            } else if (tag->name == u"meta" && !body && !declared && byteWise) {
                const QString label = metaCharset(*tag);
                if (!label.isEmpty()) {
                    declared = true;
                    utf8 = namesUtf8(label);
                }
            } else if (tag->name == u"plaintext") {
                break;
            } else if (rawTextElement(tag->name)) {
                const qsizetype end = rawTextEnd(text, tag->name, pos);
                if (tag->name == u"style")
                    styles << text.mid(pos, end < 0 ? -1 : end - pos);
                if (end < 0)
                    break;
                pos = end;
            }
        } else {
            ++pos;
        }
    }

    const auto decoded = [utf8](const QString &raw) { return utf8 ? QString::fromUtf8(raw.toLatin1()) : raw; };
    ReadColors fromStyle;
    for (const QString &style : styles)
        overlay(fromStyle, colorsFromCss(decoded(style)));
    if (!body && !anyPiece(fromStyle))
        return std::nullopt;
    ReadColors colors;
    if (body) {
        // A value's bytes, read one a byte above, in the page's own encoding.
        const auto value = [&](QLatin1String name) {
            const QString raw = body->attribute(name);
            return htmlUnescaped(decoded(raw));
        };
        for (const ColorTargetInfo &t : colorTargets) {
            const QByteArray name = QByteArray(t.attribute).toLower();
            if (body->has(QLatin1String(name)))
                colors[t.target] = color::legacyColor(value(QLatin1String(name)));
        }
        if (body->has(QLatin1String("background")))
            colors.background = value(QLatin1String("background"));
    }
    overlay(colors, fromStyle);
    return colors;
}

} // namespace output

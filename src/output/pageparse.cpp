#include "output/pageparse.h"

#include "platform/ascii.h"

#include <gumbo.h>

#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringList>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace output {

namespace {

using ascii::isBlank;

char lower(char c)
{
    return ascii::toLower(c);
}

// `word` (lower case) at `at`, ASCII case ignored.
bool wordAt(const QByteArray &text, qsizetype at, const char *word)
{
    const qsizetype n = qsizetype(std::strlen(word));
    if (at + n > text.size())
        return false;
    for (qsizetype i = 0; i < n; ++i)
        if (lower(text[at + i]) != word[i])
            return false;
    return true;
}

// A tag name ends there.
bool nameEnds(const QByteArray &text, qsizetype at)
{
    return at >= text.size() || isBlank(text[at]) || text[at] == '/' || text[at] == '>';
}

// Scans tags the way the tokenizer does from "<": each (position, state)
// is scanned once over all tags, since two scans that meet in the same state
// end alike, so overlapping tags cost no more than the page's length.
class TagScanner {
public:
    explicit TagScanner(const QByteArray &text) : m_text(text), m_seen(text.size(), 0) {}

    // The position after the tag that starts at `at`; -1 where an earlier
    // scan already covered the rest of it (it ends where that one ended).
    qsizetype end(qsizetype at)
    {
        enum State : unsigned char {
            Name = 1,
            Before = 2,
            Attr = 4,
            After = 8,
            Value = 16,
            Double = 32,
            Single = 64,
            Unquoted = 128
        };
        State state = Name;
        const qsizetype size = m_text.size();
        for (qsizetype i = at + 1; i < size; ++i) {
            auto &seen = reinterpret_cast<unsigned char &>(m_seen[i]);
            if (seen & state)
                return -1;
            seen = static_cast<unsigned char>(seen | state);
            const char c = m_text[i];
            switch (state) {
            case Name:
            case Attr:
                if (c == '>')
                    return i + 1;
                if (isBlank(c))
                    state = state == Name ? Before : After;
                else if (c == '/')
                    state = Before;
                else if (c == '=' && state == Attr)
                    state = Value;
                break;
            case Before:
            case After:
                if (c == '>')
                    return i + 1;
                if (c == '=' && state == After)
                    state = Value;
                else if (c == '/')
                    state = Before;
                else if (!isBlank(c))
                    state = Attr;
                break;
            case Value:
                if (c == '"')
                    state = Double;
                else if (c == '\'')
                    state = Single;
                else if (c == '>')
                    return i + 1;
                else if (!isBlank(c))
                    state = Unquoted;
                break;
            case Unquoted:
                if (c == '>')
                    return i + 1;
                if (isBlank(c))
                    state = Before;
                break;
            case Double:
            case Single:
                if (c == (state == Double ? '"' : '\''))
                    state = Before;
                break;
            }
        }
        return size;
    }

private:
    const QByteArray &m_text;
    QByteArray m_seen;
};

struct Piece {
    qsizetype start, end;
};

// Every BODY, LINK and STYLE tag (and STYLE's text up to its end tag) by text.
std::vector<Piece> relevantPieces(const QByteArray &text)
{
    std::vector<Piece> pieces;
    TagScanner scanner(text);
    std::vector<qsizetype> styleEnds; // each "</style" that ends raw text
    for (qsizetype at = text.indexOf("</"); at >= 0; at = text.indexOf("</", at + 2))
        if (wordAt(text, at + 2, "style") && nameEnds(text, at + 7))
            styleEnds.push_back(at);
    qsizetype covered = 0; // scans ended by the memo end no later than this
    for (qsizetype at = text.indexOf('<'); at >= 0; at = text.indexOf('<', at + 1)) {
        const bool body = wordAt(text, at + 1, "body") && nameEnds(text, at + 5);
        const bool link = wordAt(text, at + 1, "link") && nameEnds(text, at + 5);
        const bool style = wordAt(text, at + 1, "style") && nameEnds(text, at + 6);
        if (!body && !link && !style)
            continue;
        qsizetype end = scanner.end(at);
        if (end < 0)
            end = covered;
        if (style && end < text.size()) {
            const auto close = std::lower_bound(styleEnds.begin(), styleEnds.end(), end);
            end = close == styleEnds.end() ? text.size() : std::max(end, scanner.end(*close));
            if (end < 0)
                end = covered;
        }
        end = std::max(end, at + 1);
        covered = std::max(covered, end);
        pieces.push_back({at, end});
    }
    return pieces;
}

// A tag from "<" split as the tokenizer splits it: each attribute's extent
// (name to end of value), and the position after the tag.
struct TagSplit {
    std::vector<std::pair<qsizetype, qsizetype>> attributes;
    qsizetype end = 0;
};

TagSplit splitTag(const QByteArray &text, qsizetype at)
{
    TagSplit tag;
    const qsizetype size = text.size();
    qsizetype i = at + 1;
    while (i < size && !nameEnds(text, i))
        ++i;
    for (;;) {
        while (i < size && (isBlank(text[i]) || text[i] == '/'))
            ++i;
        if (i >= size || text[i] == '>') {
            tag.end = std::min(i + 1, size);
            return tag;
        }
        const qsizetype start = i++;
        while (i < size && !nameEnds(text, i) && text[i] != '=')
            ++i;
        qsizetype j = i;
        while (j < size && isBlank(text[j]))
            ++j;
        if (j < size && text[j] == '=') {
            ++j;
            while (j < size && isBlank(text[j]))
                ++j;
            if (j < size && (text[j] == '"' || text[j] == '\'')) {
                const qsizetype close = text.indexOf(text[j], j + 1);
                j = close < 0 ? size : close + 1;
            } else {
                while (j < size && !isBlank(text[j]) && text[j] != '>')
                    ++j;
            }
            i = j;
        }
        tag.attributes.emplace_back(start, i);
    }
}

// Two changes to tags before the parser sees them. A tag with thousands of
// attributes costs the parser time by their square (each is compared with
// those before it): past the first few hundred, only the first of each
// attribute the reader uses is kept. And in the tags the reader uses, a
// repeated attribute is dropped, which the parser would drop too, since this
// parser also drops an attribute that follows a repeated one.
QByteArray withTidyAttributes(const QByteArray &text)
{
    constexpr std::size_t kept = 256;
    static const char *const used[] = {"bgcolor",    "text",  "link", "vlink", "alink",
                                       "background", "media", "type", "rel",   "href"};
    QByteArray out;
    qsizetype copied = 0;
    for (qsizetype at = text.indexOf('<'); at >= 0 && at + 1 < text.size(); at = text.indexOf('<', at + 1)) {
        const char c = lower(text[at + 1]);
        if (c < 'a' || c > 'z')
            continue;
        const bool read = (wordAt(text, at + 1, "body") && nameEnds(text, at + 5))
                          || (wordAt(text, at + 1, "link") && nameEnds(text, at + 5))
                          || (wordAt(text, at + 1, "style") && nameEnds(text, at + 6));
        const TagSplit tag = splitTag(text, at);
        at = std::max(at, tag.end - 1);
        if (tag.attributes.size() <= (read ? 1 : kept))
            continue;
        std::vector<QByteArray> seen;
        bool changed = false;
        QByteArray rewritten;
        for (std::size_t n = 0; n < tag.attributes.size(); ++n) {
            const auto [start, end] = tag.attributes[n];
            qsizetype nameEnd = start + 1;
            while (nameEnd < end && !nameEnds(text, nameEnd) && text[nameEnd] != '=')
                ++nameEnd;
            const QByteArray name = text.mid(start, nameEnd - start).toLower();
            const bool repeated = std::find(seen.begin(), seen.end(), name) != seen.end();
            const bool wanted =
                n < kept || std::any_of(std::begin(used), std::end(used), [&](const char *u) { return name == u; });
            if (repeated || !wanted) {
                changed = true;
                continue;
            }
            seen.push_back(name);
            rewritten += ' ';
            rewritten += QByteArrayView(text).sliced(start, end - start);
        }
        if (!changed)
            continue;
        out += QByteArrayView(text).sliced(copied, tag.attributes.front().first - copied);
        out += rewritten;
        copied = tag.attributes.back().second;
    }
    if (copied == 0)
        return text;
    out += QByteArrayView(text).sliced(copied);
    return out;
}

// NOSCRIPT read as with scripting on: its content is raw text, which the
// parser does for NOFRAMES, a name of the same length.
void noscriptAsRawText(QByteArray &text)
{
    for (qsizetype at = text.indexOf('<'); at >= 0; at = text.indexOf('<', at + 1)) {
        const qsizetype name = at + 1 + (at + 1 < text.size() && text[at + 1] == '/' ? 1 : 0);
        if (wordAt(text, name, "noscript") && nameEnds(text, name + 8))
            std::memcpy(text.data() + name, "noframes", 8);
    }
}

// This parser turns control characters into U+FFFD, where HTML keeps them
// (a parse error only). They pass through it as code points of the
// supplementary private use area, U+100000 above their own, and come back.
constexpr char32_t controlShift = 0x100000;

bool keptControl(char32_t c)
{
    return (c >= 0x01 && c <= 0x08) || c == 0x0B || (c >= 0x0E && c <= 0x1F) || (c >= 0x7F && c <= 0x9F);
}

void appendUtf8(QByteArray &out, char32_t c)
{
    out += char(0xF0 | (c >> 18));
    out += char(0x80 | ((c >> 12) & 0x3F));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
}

QByteArray controlsShifted(const QByteArray &utf8)
{
    QByteArray out;
    out.reserve(utf8.size());
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80 && keptControl(b)) {
            appendUtf8(out, controlShift + b);
        } else if (b == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) >= 0x80
                   && static_cast<unsigned char>(utf8[i + 1]) <= 0x9F) {
            appendUtf8(out, controlShift + static_cast<unsigned char>(utf8[i + 1]));
            ++i;
        } else {
            out += char(b);
        }
    }
    return out;
}

// Every block the parser allocates, on one list, so the whole tree is freed
// in one loop: its own freeing recurses once per level of nesting.
struct Arena {
    struct alignas(std::max_align_t) Block {
        Block *prev, *next;
    };
    Block head{&head, &head};

    static void *allocate(void *userdata, size_t size)
    {
        auto *arena = static_cast<Arena *>(userdata);
        auto *block = static_cast<Block *>(std::malloc(sizeof(Block) + size));
        if (!block)
            std::abort();
        block->next = arena->head.next;
        block->prev = &arena->head;
        arena->head.next->prev = block;
        arena->head.next = block;
        return block + 1;
    }
    static void deallocate(void *, void *pointer)
    {
        if (!pointer)
            return;
        Block *block = static_cast<Block *>(pointer) - 1;
        block->prev->next = block->next;
        block->next->prev = block->prev;
        std::free(block);
    }
    ~Arena()
    {
        for (Block *b = head.next; b != &head;) {
            Block *next = b->next;
            std::free(b);
            b = next;
        }
    }
};

// The parser's input, for telling a piece of it from one the parser left
// unset (it does so for an attribute after a repeated one).
thread_local QByteArrayView parsedBytes;

QByteArrayView inInput(const GumboStringPiece &piece)
{
    const auto begin = reinterpret_cast<std::uintptr_t>(parsedBytes.data());
    const auto at = reinterpret_cast<std::uintptr_t>(piece.data);
    if (piece.data == nullptr || at < begin || at > begin + std::uintptr_t(parsedBytes.size())
        || piece.length > begin + std::uintptr_t(parsedBytes.size()) - at)
        return {};
    return {piece.data, qsizetype(piece.length)};
}

// The parser's text as a string; `source` is what it came from in the
// parser's input. A shifted control character is shifted back only where the
// source holds one (not where a character reference wrote that code point).
QString text(const char *utf8, const GumboStringPiece &source)
{
    // A leading U+FEFF is a character here, not a byte order mark.
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    QString out = decoder(QByteArrayView(utf8, qsizetype(std::strlen(utf8))));
    const QByteArrayView raw = inInput(source);
    if (!raw.contains("\xF4\x80\x80") && !raw.contains("\xF4\x80\x81") && !raw.contains("\xF4\x80\x82"))
        return out;
    for (qsizetype i = 0; i + 1 < out.size(); ++i) {
        if (!out[i].isHighSurrogate() || !out[i + 1].isLowSurrogate())
            continue;
        const char32_t c = QChar::surrogateToUcs4(out[i], out[i + 1]);
        if (c >= controlShift && keptControl(c - controlShift))
            out.replace(i, 2, QChar(char16_t(c - controlShift)));
    }
    return out;
}

QString text(const GumboAttribute &attribute)
{
    return text(attribute.value, attribute.original_value);
}

const GumboAttribute *attribute(const GumboElement &element, const char *name)
{
    return gumbo_get_attribute(&element.attributes, name);
}

} // namespace

qsizetype relevantEnd(const QByteArray &utf8)
{
    qsizetype end = 0;
    for (const Piece &p : relevantPieces(utf8))
        end = std::max(end, p.end);
    return end;
}

QByteArray parserInput(const QByteArray &utf8)
{
    const std::vector<Piece> pieces = relevantPieces(utf8);
    qsizetype end = 0;
    for (const Piece &p : pieces)
        end = std::max(end, p.end);
    // The budget: so many bytes and tags, ending before a "<".
    qsizetype budget = std::min(end, parserPrefixBytes);
    qsizetype tags = 0;
    for (qsizetype at = utf8.indexOf('<'); at >= 0 && at < budget; at = utf8.indexOf('<', at + 1))
        if (++tags > parserPrefixTags)
            budget = at;
    QByteArray input;
    if (budget >= end) {
        input = utf8.left(end);
    } else {
        if (budget < end && budget > 0 && utf8[budget] != '<') {
            const qsizetype before = utf8.lastIndexOf('<', budget);
            budget = before > 0 ? before : budget;
        }
        input = utf8.left(budget);
        // The first part may end inside a comment, a script or other raw
        // text, which the page itself closed later: close them here, so the
        // pieces that follow are read as tags. Outside them, this is text and
        // end tags the parser passes over. (Inside a tag it stays: a page cut
        // there is one the budget was made for.)
        input += "-->]]></script></style></textarea></title></xmp></iframe></noembed></noframes></select>"
                 "</template>";
        qsizetype taken = budget, tailBytes = 0, tailTags = 0;
        for (const Piece &p : pieces) {
            if (p.start < taken)
                continue;
            const qsizetype length = p.end - p.start;
            const qsizetype pieceTags = qsizetype(std::count(utf8.begin() + p.start, utf8.begin() + p.end, '<'));
            if (tailBytes + length > parserTailBytes || tailTags + pieceTags > parserTailTags)
                break;
            input += QByteArrayView(utf8).sliced(p.start, length);
            tailBytes += length;
            tailTags += pieceTags;
            taken = p.end;
        }
    }
    noscriptAsRawText(input);
    return controlsShifted(withTidyAttributes(input));
}

ParsedPage parsePage(const QByteArray &utf8)
{
    const QByteArray input = parserInput(utf8);
    Arena arena;
    GumboOptions options = kGumboDefaultOptions;
    options.allocator = &Arena::allocate;
    options.deallocator = &Arena::deallocate;
    options.userdata = &arena;
    options.max_errors = 0; // errors are not reported, so none are kept
    GumboOutput *output = gumbo_parse_with_options(&options, input.constData(), std::size_t(input.size()));
    parsedBytes = QByteArrayView(input);

    ParsedPage page;
    // The body element: the root's first body or frameset child.
    const GumboElement &root = output->root->v.element;
    for (unsigned i = 0; i < root.children.length; ++i) {
        const auto *child = static_cast<const GumboNode *>(root.children.data[i]);
        if (child->type != GUMBO_NODE_ELEMENT)
            continue;
        if (child->v.element.tag == GUMBO_TAG_FRAMESET)
            break;
        if (child->v.element.tag != GUMBO_TAG_BODY)
            continue;
        const GumboElement &body = child->v.element;
        page.bodyTag = body.original_tag.length > 0 || body.attributes.length > 0;
        for (unsigned a = 0; a < body.attributes.length; ++a) {
            const auto *attr = static_cast<const GumboAttribute *>(body.attributes.data[a]);
            page.bodyAttributes.emplace_back(QString::fromUtf8(attr->name), text(*attr));
        }
        break;
    }

    // STYLE and LINK elements in tree order, walked without recursion;
    // a template's content is no part of the page.
    std::vector<const GumboNode *> stack{output->document};
    while (!stack.empty()) {
        const GumboNode *node = stack.back();
        stack.pop_back();
        const GumboVector *children = nullptr;
        if (node->type == GUMBO_NODE_DOCUMENT) {
            children = &node->v.document.children;
        } else if (node->type == GUMBO_NODE_ELEMENT) {
            const GumboElement &e = node->v.element;
            if (e.tag == GUMBO_TAG_STYLE
                && (e.tag_namespace == GUMBO_NAMESPACE_HTML || e.tag_namespace == GUMBO_NAMESPACE_SVG)) {
                ParsedPage::Style style;
                for (unsigned i = 0; i < e.children.length; ++i) {
                    const auto *t = static_cast<const GumboNode *>(e.children.data[i]);
                    if (t->type == GUMBO_NODE_TEXT || t->type == GUMBO_NODE_WHITESPACE || t->type == GUMBO_NODE_CDATA)
                        style.css += text(t->v.text.text, t->v.text.original_text);
                }
                if (const GumboAttribute *media = attribute(e, "media"))
                    style.media = text(*media);
                if (const GumboAttribute *type = attribute(e, "type"))
                    style.type = text(*type);
                page.styles.push_back(std::move(style));
                continue;
            }
            if (e.tag == GUMBO_TAG_LINK && e.tag_namespace == GUMBO_NAMESPACE_HTML) {
                const GumboAttribute *rel = attribute(e, "rel");
                const GumboAttribute *href = attribute(e, "href");
                if (rel && href && *href->value) {
                    const QStringList words = text(*rel).toLower().split(
                        QRegularExpression(QStringLiteral("[\\t\\n\\f\\r ]+")), Qt::SkipEmptyParts);
                    if (words.contains(QLatin1String("stylesheet")) && !words.contains(QLatin1String("alternate")))
                        page.linksStyleSheets = true;
                }
            }
            children = &e.children;
        }
        if (children)
            for (unsigned i = children->length; i-- > 0;)
                stack.push_back(static_cast<const GumboNode *>(children->data[i]));
    }
    // No gumbo_destroy_output: the arena frees every block without recursing.
    return page;
}

} // namespace output

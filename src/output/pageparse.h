#pragma once

#include <QByteArray>
#include <QString>

#include <utility>
#include <vector>

namespace output {

// What the tree an HTML5 parser builds from a page says about its colors.
struct ParsedPage {
    // The page has a BODY tag of its own (not one the parser implied), or
    // its body got attributes from one.
    bool bodyTag = false;
    // The body element's attributes (names in lower case, references
    // undone), in the order the parser gave them.
    std::vector<std::pair<QString, QString>> bodyAttributes;
    // Each STYLE element's text with its media and type attributes, in page
    // order; none from inside a template or a noscript.
    struct Style {
        QString css, media, type;
    };
    std::vector<Style> styles;
    // The page links a style sheet (LINK rel=stylesheet).
    bool linksStyleSheets = false;
};

// The limits of what the parser is given (see parsePage).
inline constexpr qsizetype parserPrefixBytes = 1024 * 1024;
inline constexpr qsizetype parserPrefixTags = 6000;
inline constexpr qsizetype parserTailBytes = 1024 * 1024;
inline constexpr qsizetype parserTailTags = 2000;

// Where the parser's input may end: just after the last BODY or LINK tag or
// STYLE element that could be one (found by their text alone), since what
// follows cannot change them.
qsizetype relevantEnd(const QByteArray &utf8);

// The page (UTF-8) as the parser is given it: up to relevantEnd; when that
// is more than parserPrefixBytes or parserPrefixTags tags in, the page up to
// that budget followed by the later BODY, LINK and STYLE pieces alone (within
// the tail budget). A NOSCRIPT becomes raw text as with scripting on.
QByteArray parserInput(const QByteArray &utf8);

// The page (UTF-8) parsed as HTML5 with scripting on, within the limits above.
ParsedPage parsePage(const QByteArray &utf8);

} // namespace output

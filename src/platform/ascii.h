#pragma once

#include <QChar>

#include <type_traits>

// ASCII rules that HTML, CSS and the settings file share: case folds only
// A-Z, and "blank" is ASCII whitespace, never any other Unicode space.

namespace ascii {

constexpr char32_t code(char c)
{
    return static_cast<unsigned char>(c);
}
constexpr char32_t code(char16_t c)
{
    return c;
}
constexpr char32_t code(char32_t c)
{
    return c;
}
constexpr char32_t code(QChar c)
{
    return c.unicode();
}

// Tab, line feed, form feed, carriage return, space.
template <class C> constexpr bool isBlank(C ch)
{
    const char32_t c = code(ch);
    return c == '\t' || c == '\n' || c == '\f' || c == '\r' || c == ' ';
}

// `ch` with A-Z in lower case, of the same type.
template <class C> constexpr C toLower(C ch)
{
    const char32_t c = code(ch);
    return c >= 'A' && c <= 'Z' ? C(char16_t(c + ('a' - 'A'))) : ch;
}

// The value of a hexadecimal digit, either case; -1 for any other character.
template <class C> constexpr int hexValue(C ch)
{
    const char32_t c = code(ch);
    if (c >= '0' && c <= '9')
        return int(c - '0');
    if (c >= 'a' && c <= 'f')
        return int(c - 'a' + 10);
    if (c >= 'A' && c <= 'F')
        return int(c - 'A' + 10);
    return -1;
}

// Whether `text` is `lower` (ASCII, lower case) but for the case of A-Z.
template <class Text> constexpr bool equalsLower(const Text &text, const char *lower)
{
    decltype(text.size()) i = 0;
    for (; lower[i] != 0; ++i)
        if (i >= text.size() || code(toLower(text[i])) != code(lower[i]))
            return false;
    return i == text.size();
}

// `text` with A-Z in lower case.
template <class Text> Text lowered(Text text)
{
    for (auto &c : text)
        c = toLower(std::remove_reference_t<decltype(c)>(c));
    return text;
}

} // namespace ascii

#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// A broken expectation ends the run; libFuzzer keeps the input that did it.
#define FUZZ_REQUIRE(condition)                                                                                        \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            std::fprintf(stderr, "%s:%d: expectation failed: %s\n", __FILE__, __LINE__, #condition);                   \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (false)

namespace fuzz {

// Text from raw bytes. The first byte picks the reading, so one corpus
// holds both readable seeds and arbitrary UTF-16, lone surrogates included:
// even as UTF-8, odd as UTF-16.
inline QString textFrom(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return {};
    const char *bytes = reinterpret_cast<const char *>(data + 1);
    const auto length = static_cast<qsizetype>(size - 1);
    if ((data[0] & 1) == 0)
        return QString::fromUtf8(bytes, length);
    QString text(length / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = QChar(static_cast<char16_t>(std::uint8_t(bytes[2 * i]) | std::uint8_t(bytes[2 * i + 1]) << 8));
    return text;
}

} // namespace fuzz

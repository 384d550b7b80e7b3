// Text pasted into a value box: it reaches a store only as the decimal text
// of a number 0..255, whatever was pasted.
#include "color/valuetext.h"
#include "fuzzsupport.h"

namespace {

bool asciiDigit(QChar ch)
{
    return ch.unicode() >= '0' && ch.unicode() <= '9';
}

bool allAsciiDigits(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (QChar ch : text)
        if (!asciiDigit(ch))
            return false;
    return true;
}

// What the value box's change handling makes of a text: the number it ends
// showing, or -1 when the text is refused and the box falls back to its slider.
int boxValue(const QString &text)
{
    if (text.isEmpty())
        return 0;
    QString digits = text;
    if (!color::isDecimalDigits(digits)) {
        const auto pasted = color::pastedDigits(digits);
        if (!pasted)
            return -1;
        digits = *pasted;
    }
    if (color::atLeast255(digits))
        digits = QStringLiteral("255");
    bool ok = false;
    const int value = digits.toInt(&ok);
    FUZZ_REQUIRE(ok);
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = fuzz::textFrom(data, size);

    FUZZ_REQUIRE(color::isDecimalDigits(text) == allAsciiDigits(text));

    const QString trimmed = text.trimmed();
    const auto pasted = color::pastedDigits(text);
    FUZZ_REQUIRE(pasted.has_value() == allAsciiDigits(trimmed));
    if (pasted) {
        FUZZ_REQUIRE(*pasted == trimmed);
        // The number the digits stand for, however long: compared with 255
        // through its significant digits.
        qsizetype first = 0;
        while (first < pasted->size() && pasted->at(first) == QLatin1Char('0'))
            ++first;
        const QString significant = pasted->mid(first);
        bool small = significant.size() < 3;
        if (significant.size() == 3)
            small = significant.toInt() < 255;
        FUZZ_REQUIRE(color::atLeast255(*pasted) == !small);
    }

    const int value = boxValue(text);
    FUZZ_REQUIRE(value >= -1 && value <= 255);
    if (value >= 0 && pasted) {
        const QString digits = *pasted;
        FUZZ_REQUIRE(value == (color::atLeast255(digits) ? 255 : digits.toInt()));
    }
    return 0;
}

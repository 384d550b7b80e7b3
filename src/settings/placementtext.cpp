#include "settings/placementtext.h"

#include "platform/twips.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace settings {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Beyond this a stored coordinate is damage, not a place on any screen.
constexpr double maxPixels = 1'000'000.0;

} // namespace

std::optional<float> textToSingle(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // from_chars would also take "inf", "nan" and hexadecimal forms.
    std::size_t i = 0;
    std::size_t digits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
        ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            ++i, ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        const std::size_t exponentStart = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            ++i;
        if (i == exponentStart)
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size())
        return std::nullopt;
    if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max())
        return std::nullopt;
    return static_cast<float>(negative ? -value : value);
}

std::string singleToText(float value)
{
    if (value == 0.0F)
        return "0";
    if (std::trunc(value) == value && std::fabs(value) < 1e15F) {
        const auto whole = static_cast<long long>(value);
        return std::to_string(whole);
    }
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::optional<int> twipsToPixels(float twips)
{
    const double pixels = std::nearbyint(static_cast<double>(twips) / platform::twipsPerPixel);
    if (!std::isfinite(pixels) || std::fabs(pixels) > maxPixels)
        return std::nullopt;
    return static_cast<int>(pixels);
}

int centredOffset(double screenSize, double windowSize)
{
    // nearbyint rounds half to even in the default rounding mode.
    const auto difference = static_cast<long long>(std::nearbyint(screenSize - windowSize));
    return static_cast<int>(difference / 2);
}

} // namespace settings

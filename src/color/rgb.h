#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

// Splits a PackedColor (R + 256*G + 65536*B) into its three components.
class RGB {
public:
    void setColor(std::int32_t packed) { m_color = packed; }
    // Division truncates toward zero, so -1 gives Red 255, Green 0, Blue 0.
    std::uint8_t Red() const { return static_cast<std::uint8_t>(m_color & 255); }
    std::uint8_t Green() const { return static_cast<std::uint8_t>((m_color / 256) & 255); }
    std::uint8_t Blue() const { return static_cast<std::uint8_t>((m_color / 65536) & 255); }

private:
    std::int32_t m_color = 0;
};

namespace color {

// One color as its three components, each 0..255.
struct Rgb {
    int red = 0, green = 0, blue = 0;
    friend bool operator==(const Rgb &, const Rgb &) = default;
};

// "#RRGGBB", "#RGB" (each digit doubled) or the same digits without "#"
// when `hashRequired` is false; either case. Anything else gives nothing.
std::optional<Rgb> hexColorValue(QStringView text, bool hashRequired = true);

constexpr std::int32_t packedColor(int r, int g, int b)
{
    return r + 256 * g + 65536 * b;
}

// Upper-case hexadecimal digits without leading zeros: 0 gives "0", 255 "FF".
QString hexDigits(int component);
// Two upper-case digits: 9 gives "09", 160 "A0".
QString twoHexDigits(int component);
// "#RRGGBB".
QString hexColor(int r, int g, int b);
inline QString hexColor(const Rgb &c)
{
    return hexColor(c.red, c.green, c.blue);
}

} // namespace color

#pragma once

#include <cstdint>

// The sRGB transfer functions, shared by the contrast ratios and the
// color-vision simulations so both read the same light from a channel.
namespace color {

// An 8-bit sRGB channel as linear light, 0..1.
double srgbToLinear(std::uint8_t channel);

// Linear light (clamped to 0..1) as the nearest 8-bit sRGB channel.
std::uint8_t linearToSrgb(double linear);

} // namespace color

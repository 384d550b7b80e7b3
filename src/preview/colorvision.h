#pragma once

#include <QString>

#include <array>
#include <cstdint>

namespace preview {

enum class Vision { Normal, Protanopia, Deuteranopia, Tritanopia, Achromatopsia };

// The menu text and the corner caption of a simulation.
QString visionName(Vision vision);

// A color as seen with the given color-vision deficiency, simulated in
// linear RGB. Black and white are unchanged by every simulation.
std::array<std::uint8_t, 3> simulateVision(Vision vision, std::uint8_t r, std::uint8_t g, std::uint8_t b);

// The same in linear light, for components 0..1 (clamped to 0..1).
std::array<double, 3> simulateLinear(Vision vision, const std::array<double, 3> &linearRgb);

} // namespace preview

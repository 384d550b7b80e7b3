#include "preview/colorvision.h"

#include "color/srgb.h"

#include <algorithm>

namespace preview {

namespace {

using Matrix = std::array<std::array<double, 3>, 3>;

// Machado, Oliveira and Fernandes (2009), "A Physiologically-based Model for
// Simulation of Color Vision Deficiency", the matrices for severity 1.0,
// applied to linear RGB.
constexpr Matrix protanopia = {
    {{0.152286, 1.052583, -0.204868}, {0.114503, 0.786281, 0.099216}, {-0.003882, -0.048116, 1.051998}}};
constexpr Matrix deuteranopia = {
    {{0.367322, 0.860646, -0.227968}, {0.280085, 0.672501, 0.047413}, {-0.011820, 0.042940, 0.968881}}};
constexpr Matrix tritanopia = {
    {{1.255528, -0.076749, -0.178779}, {-0.078411, 0.930809, 0.147602}, {0.004733, 0.691367, 0.303900}}};

std::array<double, 3> apply(const Matrix &m, const std::array<double, 3> &v)
{
    std::array<double, 3> out{};
    for (int i = 0; i < 3; ++i)
        out[i] = std::clamp(m[i][0] * v[0] + m[i][1] * v[1] + m[i][2] * v[2], 0.0, 1.0);
    return out;
}

} // namespace

QString visionName(Vision vision)
{
    switch (vision) {
    case Vision::Normal: return QStringLiteral("Normal vision");
    case Vision::Protanopia: return QStringLiteral("Protanopia");
    case Vision::Deuteranopia: return QStringLiteral("Deuteranopia");
    case Vision::Tritanopia: return QStringLiteral("Tritanopia");
    case Vision::Achromatopsia: return QStringLiteral("Achromatopsia");
    }
    return {};
}

std::array<double, 3> simulateLinear(Vision vision, const std::array<double, 3> &rgb)
{
    switch (vision) {
    case Vision::Normal: break;
    case Vision::Protanopia: return apply(protanopia, rgb);
    case Vision::Deuteranopia: return apply(deuteranopia, rgb);
    case Vision::Tritanopia: return apply(tritanopia, rgb);
    case Vision::Achromatopsia: {
        // Rod monochromacy: only the luminance remains.
        const double y = std::clamp(0.2126 * rgb[0] + 0.7152 * rgb[1] + 0.0722 * rgb[2], 0.0, 1.0);
        return {y, y, y};
    }
    }
    return {std::clamp(rgb[0], 0.0, 1.0), std::clamp(rgb[1], 0.0, 1.0), std::clamp(rgb[2], 0.0, 1.0)};
}

std::array<std::uint8_t, 3> simulateVision(Vision vision, std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    if (vision == Vision::Normal)
        return {r, g, b};
    const auto out = simulateLinear(vision, {color::srgbToLinear(r), color::srgbToLinear(g), color::srgbToLinear(b)});
    return {color::linearToSrgb(out[0]), color::linearToSrgb(out[1]), color::linearToSrgb(out[2])};
}

} // namespace preview

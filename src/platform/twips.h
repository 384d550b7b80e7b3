#pragma once

namespace platform {

// Layouts, stored window positions and picture tiles are measured in twips:
// this many make one logical pixel.
constexpr int twipsPerPixel = 15;

} // namespace platform

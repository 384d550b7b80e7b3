#pragma once

#include "color/rgb.h"

#include <QColor>

namespace color {

// The color a PackedColor stands for, as Qt draws it.
inline QColor fromPacked(std::int32_t packed)
{
    RGB split;
    split.setColor(packed);
    return {split.Red(), split.Green(), split.Blue()};
}

} // namespace color

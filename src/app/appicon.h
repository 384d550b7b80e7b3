#pragma once

#include <QIcon>

#include <array>

// The program's icon: a page in the five default colors (the back color
// under a band of each other one) and a slider knob, drawn at every size
// from one description.
QIcon appIcon();
void paintAppIcon(class QPainter &painter, int size);

// The grid the icon is designed on, and the pixel sizes installed into the
// desktop's icon theme beside the scalable drawing.
constexpr int appIconDesignSize = 32;
constexpr std::array<int, 8> appIconSizes()
{
    return {16, 22, 24, 32, 48, 64, 128, 256};
}

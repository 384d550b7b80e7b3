#pragma once

#include <QIcon>
#include <QPoint>

// A pointing hand, our own drawing, at 32 x 32 and 16 x 16 pixels. The top
// row is left empty so that the image can sit on a window's bottom edge
// without showing.
QIcon handIcon();
// Where the fingertip is in the 32 x 32 image: the pointer's hot spot.
constexpr QPoint handHotSpot{12, 2};

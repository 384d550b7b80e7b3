#pragma once

#include "color/colortargets.h"

#include <QString>
#include <QStringList>

namespace output {

// How a style block writes its colors: as they are ("#RRGGBB"), or in oklch().
enum class ColorNotation { Hex, Oklch };

// The five colors and the image as CSS rules for a modern page. The image
// line appears only when an image name is given.
QString cssStyleBlock(const PageColors &colors, ColorNotation notation = ColorNotation::Hex);

// Text escaped for the inside of a double-quoted CSS string.
QString cssStringEscaped(const QString &text);

// One HexColor ("#RRGGBB") in the forms a copy button offers: "#RRGGBB",
// "#rrggbb", "RRGGBB", "rgb(r, g, b)", "hsl(h s% l%)" and "oklch(l% c h)".
// Text that is no HexColor is offered only as it is.
QStringList colorCopyFormats(const QString &hexColor);

} // namespace output

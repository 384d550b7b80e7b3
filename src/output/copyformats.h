#pragma once

#include "color/colortargets.h"

#include <array>
#include <functional>

class ColorSet;
class frmtag;
class QObject;
class QPushButton;

// Context menus of the copy buttons: the color of each target as "#RRGGBB"
// (what a click copies and its hex box shows) and the other forms of
// colorCopyFormats. A copy leaves the focus on `tagButton`, as a click does.
void addCopyFormats(QObject &owner, const std::array<QPushButton *, colorTargets.size()> &buttons,
                    const ColorSet &colors, QPushButton *tagButton);

// The body tag window's "Copy as CSS" (context menu of the tag text and
// Ctrl+Shift+C): the colors and image as a style block; beside it "Copy as
// CSS in oklch()" (actCopyAsCssOklch) writes the colors in oklch().
void addCopyAsCss(frmtag &tag, std::function<PageColors()> colors);

#pragma once

#include <QObject>

class frmmain;
class frmtag;

// Context menus of the five copy buttons: the color as "#RRGGBB" (what a
// click copies), "#rrggbb", "RRGGBB" and "rgb(r, g, b)".
class CopyFormats : public QObject {
    Q_OBJECT
public:
    explicit CopyFormats(frmmain &window);
};

// The body tag window's "Copy as CSS" (context menu of the tag text and
// Ctrl+Shift+C): the main window's five colors and image as a style block.
void addCopyAsCss(frmtag &tag, frmmain &window);

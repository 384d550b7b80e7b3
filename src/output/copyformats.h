#pragma once

#include <QObject>

class frmmain;

// Context menus of the five copy buttons: the color as "#RRGGBB" (what a
// click copies), "#rrggbb", "RRGGBB" and "rgb(r, g, b)".
class CopyFormats : public QObject {
    Q_OBJECT
public:
    explicit CopyFormats(frmmain &window);
};

#pragma once

#include <QIcon>

// The program's icon: five bands in the five default page colors under a
// slider knob, drawn at every size from one description.
QIcon appIcon();
void paintAppIcon(class QPainter &painter, int size);

#pragma once

#include <QImage>
#include <QSize>

class QString;

// A background picture as the preview needs it: the top-left part that can
// show, and the size of the whole picture.
struct PicturePart {
    QImage image;
    QSize fullSize;
};

// Reads the picture file `path` as QPixmap::load would (any format Qt reads,
// told by content, no turning by orientation tags), but of a picture larger
// than `visible` (in picture pixels) decodes only the top-left `visible`
// rectangle (of a PNG, the rows down to it), so a photograph does not cost
// its whole decode and memory, and its size alone does not refuse it. A
// picture that can only be read whole is read if it decodes to 256 MB at most.
// The image is null when the file is no picture or does not decode.
PicturePart readPicturePart(const QString &path, QSize visible);

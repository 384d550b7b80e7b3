#pragma once

#include "preview/previewmessages.h"

#include <QImage>
#include <QSize>
#include <QString>

class QIODevice;

// A background picture as the preview needs it: the top-left part that can
// show, and the size of the whole picture; with no image, why not.
struct PicturePart {
    QImage image;
    QSize fullSize;
    PictureRefusal refusal = PictureRefusal::None;
    QString reason; // the system's words, for an unreadable file
};

// Reads the picture in `file` as QPixmap::load would (any format Qt reads,
// told by content, no turning by orientation tags), but of a picture larger
// than `visible` (in picture pixels) decodes only the top-left `visible`
// rectangle (of a PNG, the rows down to it), so a photograph does not cost
// its whole decode and memory, and its size alone does not refuse it. A
// picture that can only be read whole is read if it decodes to 256 MB at most.
// A gzip file is unpacked, up to svgLimit, as a compressed SVG drawing.
// The image is null when the file is no picture or does not decode.
// `file` is open for reading, at its start.
PicturePart readPicturePart(QIODevice &file, QSize visible);

// The same for the file at `path`, opened once and only if it is a regular
// file, so that it cannot be swapped for a FIFO between a check and the read.
PicturePart readPictureFile(const QString &path, QSize visible);

#include "preview/picturepart.h"

#include <QImageReader>

namespace {
PicturePart whole(QImageReader &reader)
{
    QImage image = reader.read();
    const QSize size = image.size();
    return {std::move(image), size};
}

void leaveOrientation(QImageReader &reader)
{
    // QPixmap::load leaves orientation tags alone; so does the preview.
    reader.setAutoTransform(false);
}
} // namespace

PicturePart readPicturePart(const QString &path, QSize visible)
{
    QImageReader reader(path);
    leaveOrientation(reader);
    const QSize full = reader.size();
    // A size the header does not give, or a picture that fits, is read whole,
    // by the same reader: a second one would look for the format again.
    if (!full.isValid() || (full.width() <= visible.width() && full.height() <= visible.height()))
        return whole(reader);
    const QSize wanted = full.boundedTo(visible);
    reader.setClipRect(QRect(QPoint(0, 0), wanted));
    QImage image = reader.read();
    if (image.isNull())
        return {};
    // A reader that gave something else than the part asked for: its part
    // cannot be placed by scale, the whole picture can.
    if (image.size() != wanted) {
        QImageReader again(path);
        leaveOrientation(again);
        return whole(again);
    }
    return {std::move(image), full};
}

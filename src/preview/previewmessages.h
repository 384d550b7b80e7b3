#pragma once

#include <QString>

// An error as the preview reports it: the description immediately followed
// by the number.
QString errorNumberText(const QString &description, int number);

// Why the loaded image file could not be read (`detail`, the system's own
// words), naming it.
QString imageUnreadableText(const QString &source, const QString &detail);

// Why a file gave no picture.
enum class PictureRefusal {
    None,
    Unreadable,  // no regular file that can be read; the system says why
    NotAPicture, // no format that is read knows it, or it does not decode
    TooLarge,    // a drawing (SVG) of more than svgLimit bytes, unpacked
};

// The largest drawing read, unpacked: its reader holds it whole in memory,
// and more again for what it draws.
constexpr qint64 svgLimit = qint64(8) << 20;

// Why a picture file was refused, to end a sentence; `detail` is the
// system's own words for an unreadable file.
QString pictureRefusalText(PictureRefusal refusal, const QString &detail);

// A picture file given by name (dropped, say) that could not be loaded as
// the background image (`why`, from pictureRefusalText).
QString pictureNotLoadedText(const QString &path, const QString &why);

// An undo or redo that should bring back the picture `path`, which can no
// longer be loaded (`why`, from pictureRefusalText).
QString pictureNotRestoredText(const QString &path, const QString &why);

// The step of an image save that failed.
enum class ImageSaveStep { ReadSource, WriteDestination };

// The message for an image save that failed at `step`, naming the
// destination, and the source too when it is the one at fault, with the
// reason (`detail`, the system's own words).
QString imageSaveFailedText(ImageSaveStep step, const QString &source, const QString &destination,
                            const QString &detail);

// Whether `family`, the face a request for the default sample font resolved
// to, is that face or one with the same metrics.
bool isDefaultSampleFace(const QString &family);

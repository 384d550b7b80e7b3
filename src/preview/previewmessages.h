#pragma once

#include <QString>

// An error as the preview reports it: the description immediately followed
// by the number.
QString errorNumberText(const QString &description, int number);

// Why the loaded image file could not be read (`detail`, the system's own
// words), naming it.
QString imageUnreadableText(const QString &source, const QString &detail);

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

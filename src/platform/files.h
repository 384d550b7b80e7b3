#pragma once

#include <QByteArray>
#include <QString>

// Whether a file may be written in place where its folder takes no new file.
enum class InPlace { Never, WhereFolderIsReadOnly };

// Writes `bytes` to `path` atomically: a failed write leaves any file of
// that name as it was. Only with InPlace::WhereFolderIsReadOnly, and where
// the folder takes no new file, is an existing regular file written in
// place. On failure `reason` tells why.
bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString &reason,
                         InPlace inPlace = InPlace::WhereFolderIsReadOnly);

// What a copy does with a symbolic link standing at its destination.
enum class LinkAtDestination { WriteThrough, Replace };

// How a copy ended: done, or failed at its source or its destination.
enum class CopyResult { Done, SourceFailed, DestinationFailed };

// Copies `source`, which must be a regular file, to `destination` byte for
// byte, replacing a file there atomically. A copy onto the very file it would
// replace succeeds at once. On failure `reason` tells why.
CopyResult copyFileReplacing(const QString &source, const QString &destination, LinkAtDestination link,
                             QString &reason);

#pragma once

#include <QIODevice>
#include <QString>

class QFile;

namespace platform {

// Opens `file` (its name set) only when the name leads to a regular file, and
// never waits doing so: a FIFO, socket, device or folder is refused, as an
// unreadable file, and so is a name swapped for one between the check and the
// open. On failure `error` says why, in the system's words.
bool openRegularFile(QFile &file, QIODevice::OpenMode mode, QString *error = nullptr);

// The same for reading, with the reason always wanted.
bool openRegularFile(QFile &file, QString &reason);

// Whether `path` names a regular file, or a link to one, that can be opened
// for reading without waiting; on false `reason` says why.
bool isReadableRegularFile(const QString &path, QString &reason);

} // namespace platform

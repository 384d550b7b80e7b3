#pragma once

#include <QString>

class QFile;

namespace platform {

// Opens `file` (its name set) for reading only if it is a regular file, and
// never waits doing so: a FIFO, socket, device or folder is refused, as an
// unreadable file. On failure `reason` says why, in the system's words.
bool openRegularFile(QFile &file, QString &reason);

// Whether `path` names a regular file, or a link to one, that can be opened
// for reading without waiting; on false `reason` says why.
bool isReadableRegularFile(const QString &path, QString &reason);

} // namespace platform

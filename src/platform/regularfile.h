#pragma once

#include <QIODevice>

class QFile;
class QString;

namespace platform {

// Opens `file` (its name set) only when the name leads to a regular file.
// A FIFO or device is refused without waiting for a writer, as is a name
// swapped for one between the check and the open. `error` says why.
bool openRegularFile(QFile &file, QIODevice::OpenMode mode, QString *error = nullptr);

} // namespace platform

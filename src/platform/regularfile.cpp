#include "platform/regularfile.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {

namespace {

bool fail(QString *error, const QString &why)
{
    if (error != nullptr)
        *error = why;
    return false;
}

} // namespace

bool openRegularFile(QFile &file, QIODevice::OpenMode mode, QString *error)
{
    if (!QFileInfo(file.fileName()).isFile())
        return fail(error, QStringLiteral("not a regular file"));
#ifdef Q_OS_UNIX
    int flags = O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
    if (mode.testFlag(QIODevice::ReadOnly) && mode.testFlag(QIODevice::WriteOnly))
        flags |= O_RDWR;
    else
        flags |= mode.testFlag(QIODevice::WriteOnly) ? O_WRONLY : O_RDONLY;
    if (mode.testFlag(QIODevice::Truncate))
        flags |= O_TRUNC;
    if (mode.testFlag(QIODevice::Append))
        flags |= O_APPEND;
    const int fd = ::open(QFile::encodeName(file.fileName()).constData(), flags);
    if (fd < 0)
        return fail(error, QString::fromLocal8Bit(std::strerror(errno)));
    struct stat info {};
    // The name may have been swapped for a FIFO since the check above.
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return fail(error, QStringLiteral("not a regular file"));
    }
    // Reads and writes of a regular file block as usual from here on.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, mode, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return fail(error, file.errorString());
    }
    return true;
#else
    if (!file.open(mode))
        return fail(error, file.errorString());
    return true;
#endif
}

} // namespace platform

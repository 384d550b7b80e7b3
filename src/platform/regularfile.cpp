#include "platform/regularfile.h"

#include <QFile>
#include <QFileInfo>
#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <cerrno>
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

QString notRegularReason(bool isFolder)
{
#ifdef Q_OS_UNIX
    if (isFolder)
        return qt_error_string(EISDIR);
#else
    Q_UNUSED(isFolder);
#endif
    return QStringLiteral("Not a regular file");
}

} // namespace

bool openRegularFile(QFile &file, QIODevice::OpenMode mode, QString *error)
{
    // Checked before opening, so that no device is even opened.
    const QFileInfo info(file.fileName());
    if (info.exists() && !info.isFile())
        return fail(error, notRegularReason(info.isDir()));
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
    // Swapped for a FIFO since the check, the open must still not wait for a
    // writer: open without blocking, then look at what was opened.
    const int fd = ::open(QFile::encodeName(file.fileName()).constData(), flags);
    if (fd < 0)
        return fail(error, qt_error_string(errno));
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const QString why = qt_error_string(errno);
        ::close(fd);
        return fail(error, why);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return fail(error, notRegularReason(S_ISDIR(st.st_mode)));
    }
    // Reads and writes of a regular file block as usual from here on.
    const int status = ::fcntl(fd, F_GETFL);
    if (status != -1)
        ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK);
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

bool openRegularFile(QFile &file, QString &reason)
{
    return openRegularFile(file, QIODevice::ReadOnly, &reason);
}

bool isReadableRegularFile(const QString &path, QString &reason)
{
    QFile file(path);
    return openRegularFile(file, reason);
}

} // namespace platform

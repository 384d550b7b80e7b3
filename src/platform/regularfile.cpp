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

bool openRegularFile(QFile &file, QString &reason)
{
    // Checked before opening, so that no device is even opened.
    const QFileInfo info(file.fileName());
    if (info.exists() && !info.isFile()) {
        reason = notRegularReason(info.isDir());
        return false;
    }
#ifdef Q_OS_UNIX
    // Swapped for a FIFO since the check, the open must still not wait for a
    // writer: open without blocking, then look at what was opened.
    const int fd = ::open(QFile::encodeName(file.fileName()).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        reason = qt_error_string(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        reason = qt_error_string(errno);
        ::close(fd);
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        reason = notRegularReason(S_ISDIR(st.st_mode));
        return false;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags != -1)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        reason = file.errorString();
        return false;
    }
    return true;
#else
    if (!file.open(QIODevice::ReadOnly)) {
        reason = file.errorString();
        return false;
    }
    return true;
#endif
}

bool isReadableRegularFile(const QString &path, QString &reason)
{
    QFile file(path);
    return openRegularFile(file, reason);
}

} // namespace platform

#include "platform/lockfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>

namespace platform {

namespace {

QString helperOf(const QString &path)
{
    return path + QStringLiteral(".rmlock");
}

bool usable(const QString &path)
{
    const QFileInfo info(path);
    return !info.isSymLink() && (!info.exists() || info.isFile());
}

bool clear(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isSymLink() && (!info.exists() || info.isFile()))
        return true;
    if (!info.isSymLink() && info.isDir())
        return QDir().rmdir(path);
    return QFile::remove(path);
}

} // namespace

bool lockFilesUsable(const QString &path)
{
    return usable(path) && usable(helperOf(path));
}

bool clearNonLockFiles(const QString &path)
{
    return clear(path) && clear(helperOf(path));
}

bool namesOtherMachine(const QLockFile &lock)
{
    QString host;
    return lock.getLockInfo(nullptr, &host, nullptr) && !host.isEmpty() && host != QSysInfo::machineHostName();
}

bool takeLock(QLockFile &lock, int waitMs)
{
    if (lock.tryLock(0))
        return true;
    if (lock.error() == QLockFile::LockFailedError && namesOtherMachine(lock))
        lock.removeStaleLockFile();
    return lock.tryLock(waitMs);
}

} // namespace platform

#include "platform/pathparts.h"

QString GetFileName(const QString &path, QChar separator)
{
    const qsizetype last = path.lastIndexOf(separator);
    return last < 0 ? path : path.mid(last + 1);
}

QString ReplaceFileName(const QString &path, QChar separator)
{
    const qsizetype last = path.lastIndexOf(separator);
    return last < 0 ? path : path.left(last + 1);
}

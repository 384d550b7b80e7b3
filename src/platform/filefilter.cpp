#include "platform/filefilter.h"

#include <QDir>
#include <QFileInfo>

namespace platform {

namespace {
QString qtPatterns(QString patterns)
{
    QStringList out;
    for (const QString &p :
         patterns.replace(QLatin1Char(';'), QLatin1Char(' ')).split(QLatin1Char(' '), Qt::SkipEmptyParts))
        out << (p == QLatin1String("*.*") ? QStringLiteral("*") : p);
    return out.join(QLatin1Char(' '));
}
} // namespace

QStringList qtNameFilters(const QString &filter)
{
    if (!filter.contains(QLatin1Char('|')))
        return filter.isEmpty() ? QStringList{} : QStringList{qtPatterns(filter)};
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty() && parts[i + 1].isEmpty())
            continue;
        out << QStringLiteral("%1 (%2)").arg(parts[i], qtPatterns(parts[i + 1]));
    }
    return out;
}

QString withDefaultExtension(const QString &path, const QString &defaultExt)
{
    if (path.isEmpty() || defaultExt.isEmpty())
        return path;
    const QString name = QFileInfo(path).fileName();
    if (name.contains(QLatin1Char('.')))
        return path;
    return path + QLatin1Char('.') + defaultExt;
}

QString missingFolderRefusal(const QString &path)
{
    const QFileInfo chosen(path);
    if (path.isEmpty() || chosen.isDir() || QFileInfo(chosen.absolutePath()).isDir())
        return {};
    return QStringLiteral("%1\nThe folder does not exist.\nCheck the path and try again.")
        .arg(QDir::toNativeSeparators(chosen.absolutePath()));
}

} // namespace platform

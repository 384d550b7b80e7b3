#include "app/programinfo.h"

namespace programinfo {

QString programTitle()
{
    return QStringLiteral("Dudovuvov");
}

QString versionLine(int major, int minor, int revision)
{
    return QStringLiteral("Version %1.%2.%3").arg(major).arg(minor).arg(revision);
}

QString versionLine()
{
    return versionLine(DUDOVUVOV_VERSION_MAJOR, DUDOVUVOV_VERSION_MINOR, DUDOVUVOV_VERSION_PATCH);
}

QString noticeLine(int currentYear)
{
    // Four digits as the notice is written, also for a clock set before year 1000.
    return QStringLiteral("Copyright (c) %1 - %2").arg(firstYear).arg(currentYear, 4, 10, QLatin1Char('0'));
}

QString noticeLine(const Clock &today)
{
    return noticeLine(today().year());
}

QDate systemToday()
{
    return QDate::currentDate();
}

QString holderName()
{
    return QStringLiteral("Zudedidu");
}

} // namespace programinfo

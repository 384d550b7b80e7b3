#pragma once

#include <QDate>
#include <QString>

#include <functional>

// What the program says about itself: title, version, rights notice and the
// maker's home page.
namespace programinfo {

QString programTitle();
// The maker's home page, also linked from generated pages.
QString homePageAddress();
// "Version 2.0.2".
QString versionLine(int major, int minor, int revision);
// The version line of this build.
QString versionLine();

// The rights notice runs from this year to the current one.
constexpr int firstYear = 1999;
// "Copyright (c) 1999 - <year>".
QString noticeLine(int currentYear);
// The notice for the year the clock reads now.
using Clock = std::function<QDate()>;
QString noticeLine(const Clock &today);
QDate systemToday();
QString holderName();

} // namespace programinfo

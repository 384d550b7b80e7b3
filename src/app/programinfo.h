#pragma once

#include <QDate>
#include <QString>

#include <functional>

// What the program says about itself: title, version and rights notice. The
// maker's home page is output/pagetext.h's homePageAddress(), one value for
// the about window and the generated pages.
namespace programinfo {

QString programTitle();
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

#pragma once

#include <QString>

// What a screen reader says for a control, made from the texts the user sees.
namespace accessible {

// A caption without its access-key marks ("&&" stands for one "&") and with
// runs of blanks made single: " View Body &Tag" gives "View Body Tag".
QString fromCaption(const QString &caption);

// A tooltip without its surrounding blanks: " Red value " gives "Red value".
QString fromTooltip(const QString &tooltip);

} // namespace accessible

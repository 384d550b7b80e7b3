#pragma once

#include <QString>

#include <optional>

namespace color {

// True for a non-empty run of the digits 0 to 9 and nothing else.
bool isDecimalDigits(const QString &text);

// True when the digits stand for 255 or more (also for numbers too large for
// any integer type).
bool atLeast255(const QString &digits);

// Text that arrived by pasting: a whole number with blanks around it is
// taken as its digits; anything else (signs, decimal points, letters, an
// empty or blank text) is refused and gives nothing.
std::optional<QString> pastedDigits(const QString &text);

} // namespace color

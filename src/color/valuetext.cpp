#include "color/valuetext.h"

namespace color {

bool isDecimalDigits(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (QChar ch : text)
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9'))
            return false;
    return true;
}

bool atLeast255(const QString &digits)
{
    qsizetype first = 0;
    while (first < digits.size() - 1 && digits[first] == QLatin1Char('0'))
        ++first;
    const QString significant = digits.mid(first);
    if (significant.size() != 3)
        return significant.size() > 3;
    return significant >= QLatin1String("255");
}

std::optional<QString> pastedDigits(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (!isDecimalDigits(trimmed))
        return std::nullopt;
    return trimmed;
}

} // namespace color

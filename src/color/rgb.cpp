#include "color/rgb.h"

namespace color {

QString hexDigits(int component)
{
    return QString::number(component, 16).toUpper();
}

QString twoHexDigits(int component)
{
    QString text = hexDigits(component);
    if (text.size() == 1) // one of "0" .. "F"
        text.prepend(QLatin1Char('0'));
    return text;
}

QString hexColor(int r, int g, int b)
{
    return QLatin1Char('#') + twoHexDigits(r) + twoHexDigits(g) + twoHexDigits(b);
}

} // namespace color

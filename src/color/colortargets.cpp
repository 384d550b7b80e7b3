#include "color/colortargets.h"

#include "color/rgb.h"

QString defaultHex(ColorTarget target)
{
    const color::Rgb c = targetInfo(target).defaultColor;
    return color::hexColor(c.red, c.green, c.blue);
}

QString copyTip(ColorTarget target)
{
    return QStringLiteral(" Copy %1 to Clipboard ").arg(QLatin1String(targetInfo(target).colorWords));
}

QString &PageColors::operator[](ColorTarget target)
{
    return this->*targetInfo(target).pageField;
}

const QString &PageColors::operator[](ColorTarget target) const
{
    return this->*targetInfo(target).pageField;
}

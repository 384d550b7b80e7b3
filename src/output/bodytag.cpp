#include "output/bodytag.h"

#include "output/htmltext.h"

QString bodyTag(const BodyColors &colors, const QString &imageName)
{
    const auto piece = [](const char *leadIn, const QString &value) {
        return QLatin1String(leadIn) + QLatin1Char('"') + value + QLatin1String("\" ");
    };
    return piece("<BODY BGCOLOR=", colors.back) + piece("TEXT=", colors.text) + piece("LINK=", colors.newLink)
           + piece("VLINK=", colors.visitedLink) + piece("ALINK=", colors.activeLink) + QLatin1String("BACKGROUND=\"")
           + htmlEscapedInLine(imageName) + QLatin1String("\">");
}

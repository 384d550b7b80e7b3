#include "output/bodytag.h"

#include "output/htmltext.h"

QString bodyTag(const PageColors &colors)
{
    QString tag = QStringLiteral("<BODY ");
    for (const ColorTarget target : pageOrder())
        if (const char *attribute = targetInfo(target).attribute)
            tag += QLatin1String(attribute) + QLatin1String("=\"") + colors[target] + QLatin1String("\" ");
    return tag + QLatin1String("BACKGROUND=\"") + htmlEscapedInLine(colors.imageName) + QLatin1String("\">");
}

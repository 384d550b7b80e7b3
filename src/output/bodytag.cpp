#include "output/bodytag.h"

#include "output/htmltext.h"

QString bodyTag(const PageColors &colors)
{
    QString tag = QStringLiteral("<BODY ");
    for (const ColorTarget target : pageOrder())
        tag +=
            QLatin1String(targetInfo(target).attribute) + QLatin1String("=\"") + colors[target] + QLatin1String("\" ");
    return tag + QLatin1String("BACKGROUND=\"") + htmlEscapedInLine(colors.imageName) + QLatin1String("\">");
}

#include "app/accessibletext.h"

namespace accessible {

QString fromCaption(const QString &caption)
{
    QString text;
    text.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&')) {
            if (i + 1 < caption.size() && caption[i + 1] == QLatin1Char('&'))
                ++i;
            else
                continue;
        }
        text += caption[i];
    }
    return text.simplified();
}

QString fromTooltip(const QString &tooltip)
{
    return tooltip.simplified();
}

} // namespace accessible

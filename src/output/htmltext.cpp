#include "output/htmltext.h"

#include <QList>

QString htmlEscaped(const QString &text)
{
    return text.toHtmlEscaped();
}

QByteArray latin1WithReferences(const QString &text)
{
    QByteArray out;
    out.reserve(text.size());
    for (const uint c : text.toUcs4()) {
        if (c <= 0xFF)
            out.append(static_cast<char>(c));
        else
            out.append("&#" + QByteArray::number(c) + ';');
    }
    return out;
}

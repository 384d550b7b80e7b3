#include "output/htmltext.h"

#include <QList>

QString htmlEscaped(const QString &text)
{
    return text.toHtmlEscaped();
}

QString htmlEscapedInLine(const QString &text)
{
    QString escaped = htmlEscaped(text);
    escaped.replace(QLatin1Char('\r'), QLatin1String("&#13;"));
    escaped.replace(QLatin1Char('\n'), QLatin1String("&#10;"));
    escaped.replace(QChar(QChar::LineSeparator), QLatin1String("&#8232;"));
    escaped.replace(QChar(QChar::ParagraphSeparator), QLatin1String("&#8233;"));
    return escaped;
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

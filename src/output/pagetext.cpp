#include "output/pagetext.h"

#include "output/htmltext.h"

#include <QStringList>

QString homePageAddress()
{
    return QStringLiteral("http://www.zudedidu.example/");
}

namespace {

// The tag as the user left it, but with every line break in it (pasted, or
// typed with Ctrl+Enter) a CR LF like the page's own.
QString withCrLfBreaks(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    for (const QChar other : {QChar(u'\r'), QChar(QChar::LineSeparator), QChar(QChar::ParagraphSeparator)})
        text.replace(other, QLatin1Char('\n'));
    return text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
}

} // namespace

QString pageText(const QString &name, const QString &title, const QString &tag)
{
    const QString shownTitle = htmlEscapedInLine(title.isEmpty() ? QStringLiteral("Untitled") : title);
    const QString rule = QStringLiteral("<HR SIZE=1 WIDTH=\"80%\">");
    QStringList lines = {
        QStringLiteral("<HTML>"),
        QStringLiteral("<HEAD>"),
        QStringLiteral("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=iso-8859-1\">"),
        QStringLiteral("<META NAME=\"Author\" CONTENT=\"") + htmlEscapedInLine(name) + QStringLiteral("\">"),
        QStringLiteral("<META NAME=\"GENERATOR\" CONTENT=\"Dudovuvov\">"),
        QStringLiteral("<TITLE>") + shownTitle + QStringLiteral("</TITLE>"),
        QStringLiteral("</HEAD>"),
        withCrLfBreaks(tag),
        QStringLiteral("<CENTER>"),
        rule + QStringLiteral("<BR>"),
        QStringLiteral("<H1>") + shownTitle + QStringLiteral("</H1>"),
        rule,
        QStringLiteral("Add your text and images...<BR>"),
    };
    for (int i = 0; i < 23; ++i)
        lines << QStringLiteral("<BR>");
    lines << QStringLiteral("<A HREF=\"") + homePageAddress() + QStringLiteral("\">Zudedidu freeware</A>") << rule
          << QStringLiteral("</CENTER>") << QStringLiteral("</BODY>") << QStringLiteral("</HTML>");
    const QString crlf = QStringLiteral("\r\n");
    return lines.join(crlf) + crlf;
}

QString pageDoneText()
{
    return QStringLiteral("All done!\r\nYour webpage has been successfully generated!");
}

QString pageWriteFailedText(const QString &path, const QString &reason)
{
    return QStringLiteral("The page could not be written to %1:\r\n%2").arg(path, reason);
}

QString imageCopyFailedText(const QString &destination, const QString &reason)
{
    return QStringLiteral("The page was written, but the image could not be copied to %1:\r\n%2")
        .arg(destination, reason);
}

QString imageNamedLikePageText()
{
    return QStringLiteral("That is the name of the page itself; the page was kept, and the image was not copied.");
}

// The template page over any author name and title: always 41 lines, in
// ISO-8859-1, and every character of the name and the title comes back out
// of the file.
#include "fuzzsupport.h"
#include "output/htmltext.h"
#include "output/pagetext.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QStringList>

namespace {

// One code point as text. (QString::fromUcs4 would take a leading U+FEFF for
// a byte order mark and drop it.)
QString character(char32_t c)
{
    if (QChar::requiresSurrogates(c)) {
        const QChar pair[] = {QChar(QChar::highSurrogate(c)), QChar(QChar::lowSurrogate(c))};
        return QString(pair, 2);
    }
    return QString(QChar(char16_t(c)));
}

// Reads the file's bytes back as the text a browser shows: ISO-8859-1 with
// the references the page uses.
QString decoded(const QByteArray &latin1)
{
    const QString text = QString::fromLatin1(latin1);
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('&')) {
            out += text[i];
            continue;
        }
        const qsizetype end = text.indexOf(QLatin1Char(';'), i);
        FUZZ_REQUIRE(end > i);
        const QString entity = text.mid(i + 1, end - i - 1);
        if (entity == QLatin1String("amp"))
            out += QLatin1Char('&');
        else if (entity == QLatin1String("lt"))
            out += QLatin1Char('<');
        else if (entity == QLatin1String("gt"))
            out += QLatin1Char('>');
        else if (entity == QLatin1String("quot"))
            out += QLatin1Char('"');
        else {
            FUZZ_REQUIRE(entity.startsWith(QLatin1Char('#')));
            bool ok = false;
            const uint code = entity.mid(1).toUInt(&ok);
            FUZZ_REQUIRE(ok && code <= 0x10FFFF);
            out += character(code);
        }
        i = end;
    }
    return out;
}

// Text between `before` and `after` on a line, read back.
QString field(const QString &line, const QString &before, const QString &after)
{
    FUZZ_REQUIRE(line.startsWith(before) && line.endsWith(after));
    return line.mid(before.size(), line.size() - before.size() - after.size());
}

// A lone surrogate is no character; it is written as the replacement character.
QString valid(const QString &text)
{
    QString out;
    for (const uint c : text.toUcs4())
        out += character(c);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider provider(data, size);
    const std::string nameBytes = provider.ConsumeRandomLengthString(200);
    const std::string titleBytes = provider.ConsumeRandomLengthString(200);
    const QString name = fuzz::textFrom(reinterpret_cast<const std::uint8_t *>(nameBytes.data()), nameBytes.size());
    const QString title = fuzz::textFrom(reinterpret_cast<const std::uint8_t *>(titleBytes.data()), titleBytes.size());
    const QString tag = QStringLiteral("<BODY BGCOLOR=\"#DCDCDC\" TEXT=\"#0A0A0A\">");

    const QByteArray file = latin1WithReferences(pageText(name, title, tag));

    // 41 lines, each ended by CR LF, and no other line break.
    FUZZ_REQUIRE(file.endsWith("\r\n"));
    FUZZ_REQUIRE(file.count("\r\n") == 41);
    FUZZ_REQUIRE(file.count('\n') == 41 && file.count('\r') == 41);

    // Line by line, as a reader of the file sees it.
    QStringList lines;
    for (const QByteArray &line : file.split('\n'))
        lines << decoded(line.endsWith('\r') ? line.chopped(1) : line);
    FUZZ_REQUIRE(lines.size() == 42 && lines.last().isEmpty());
    FUZZ_REQUIRE(field(lines[3], QStringLiteral("<META NAME=\"Author\" CONTENT=\""), QStringLiteral("\">"))
                 == valid(name));
    const QString shownTitle = title.isEmpty() ? QStringLiteral("Untitled") : valid(title);
    FUZZ_REQUIRE(field(lines[5], QStringLiteral("<TITLE>"), QStringLiteral("</TITLE>")) == shownTitle);
    FUZZ_REQUIRE(field(lines[10], QStringLiteral("<H1>"), QStringLiteral("</H1>")) == shownTitle);
    FUZZ_REQUIRE(lines[7] == tag);
    return 0;
}

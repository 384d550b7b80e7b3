#include "output/bodytag.h"
#include "output/cssoutput.h"
#include "output/htmltext.h"
#include "output/pagecolors.h"
#include "output/pagetext.h"

#include <QElapsedTimer>
#include <QTest>

using color::Rgb;
using output::ReadColors;

namespace {

QString hex(const Rgb &c)
{
    return QStringLiteral("#%1%2%3")
        .arg(c.red, 2, 16, QLatin1Char('0'))
        .arg(c.green, 2, 16, QLatin1Char('0'))
        .arg(c.blue, 2, 16, QLatin1Char('0'))
        .toUpper();
}

// One line per piece, so a failure shows which piece differs.
QString shown(const std::optional<ReadColors> &read)
{
    if (!read)
        return QStringLiteral("nothing");
    const auto piece = [](const std::optional<Rgb> &c) { return c ? hex(*c) : QStringLiteral("-"); };
    const ReadColors &r = *read;
    return QStringLiteral("back %1 text %2 link %3 vlink %4 alink %5 image %6")
        .arg(piece(r[ColorTarget::Back]), piece(r[ColorTarget::Text]), piece(r[ColorTarget::NewLink]),
             piece(r[ColorTarget::VisitedLink]), piece(r[ColorTarget::ActiveLink]),
             read->background ? QLatin1Char('[') + *read->background + QLatin1Char(']') : QStringLiteral("-"));
}

std::optional<Rgb> fromHex(const QString &hexColor)
{
    return color::cssColor(hexColor);
}

ReadColors expected(const PageColors &c, std::optional<QString> image)
{
    ReadColors read;
    for (const ColorTargetInfo &t : colorTargets)
        read[t.target] = fromHex(c[t.target]);
    read.background = std::move(image);
    return read;
}

QByteArray ourPage(PageColors colors, const QString &image)
{
    colors.imageName = image;
    return latin1WithReferences(pageText(QStringLiteral("Ann"), QStringLiteral("Colors"), bodyTag(colors)));
}

} // namespace

class TestPageColors : public QObject {
    Q_OBJECT
private slots:
    void ourPageReadsBack_data()
    {
        QTest::addColumn<PageColors>("colors");
        QTest::addColumn<QString>("image");
        const PageColors defaults{"#DCDCDC", "#0A0A0A", "#0000EE", "#551A8B", "#EE0000"};
        const PageColors others{"#000000", "#FFFFFF", "#0F1000", "#A0A0A0", "#12AB9F"};
        QTest::newRow("defaults, no image") << defaults << QString();
        QTest::newRow("image") << others << QStringLiteral("stone.gif");
        QTest::newRow("escaped name") << others << QStringLiteral("a&b <c> \"d\" 'e'.gif");
        QTest::newRow("ISO-8859-1 name") << defaults << QStringLiteral("caf\u00E9 \u00FF.jpg");
        QTest::newRow("name beyond ISO-8859-1") << others << QStringLiteral("\u0141\u00F3d\u017A \U0001F600.png");
        QTest::newRow("reference-like name") << others << QStringLiteral("&amp;&#65;.gif");
        QTest::newRow("byte order mark in the name") << others << QStringLiteral("\uFEFFbom.gif");
    }

    void ourPageReadsBack()
    {
        QFETCH(PageColors, colors);
        QFETCH(QString, image);
        QCOMPARE(shown(output::readPageColors(ourPage(colors, image))), shown(expected(colors, image)));
    }

    void ourCssReadsBack()
    {
        const PageColors css{"#102030", "#FFFFFF", "#0000EE",
                             "#551A8B", "#EE0000", QStringLiteral("my \"best\" back\\ground\t\u0001.gif")};
        const PageColors same{css.back, css.text, css.newLink, css.visitedLink, css.activeLink};
        QCOMPARE(shown(output::colorsFromCss(output::cssStyleBlock(css))), shown(expected(same, css.imageName)));

        // In a page, the style sheet wins over the tag's attributes, as in a browser.
        const PageColors tag{"#000000", "#000000", "#000000", "#000000", "#000000"};
        QByteArray page = ourPage(tag, QStringLiteral("old.gif"));
        page.replace("</HEAD>", "<style type=\"text/css\">\n<!--\n" + output::cssStyleBlock(css).toLatin1()
                                    + "-->\n</style>\n</HEAD>");
        QCOMPARE(shown(output::readPageColors(page)), shown(expected(same, css.imageName)));

        // Without an image line the tag's image stays.
        PageColors noImage = css;
        noImage.imageName.clear();
        page = "<html><style>" + output::cssStyleBlock(noImage).toLatin1() + "</style><body background=old.gif>";
        QCOMPARE(shown(output::readPageColors(page)), shown(expected(same, QStringLiteral("old.gif"))));
    }

    void attributes_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, const QByteArray &page, const char *read) {
            QTest::newRow(name) << page << QString::fromUtf8(read);
        };
        row("any case, order and quoting",
            "<Body alink=\"\" Link='chucknorris'\tvLiNk = 00ff00 TEXT=\"#abc\" bgcolor=red>",
            "back #FF0000 text #AABBCC link #C00000 vlink #00FF00 alink - image -");
        row("absent, empty and transparent", "<BODY TEXT=transparent BGCOLOR LINK=>",
            "back - text - link - vlink - alink - image -");
        row("blank is black", "<body bgcolor=' '>", "back #000000 text - link - vlink - alink - image -");
        row("the first tag counts", "<body text=red><body text=blue bgcolor=blue>",
            "back - text #FF0000 link - vlink - alink - image -");
        row("the first attribute counts", "<body text=red TEXT=blue>",
            "back - text #FF0000 link - vlink - alink - image -");
        row("references in values",
            "<body text=\"&#35;abc\" background=\"a&amp;b&#233;&eacute;&#x141;&#150;&bogus;.gif\">",
            "back - text #AABBCC link - vlink - alink - image [a&b\u00E9\u00E9\u0141\u2013&bogus;.gif]");
        row("slashes between attributes", "<body/text='red'/>", "back - text #FF0000 link - vlink - alink - image -");
        row("an unquoted value takes a slash", "<body text=red/>",
            "back - text #0ED000 link - vlink - alink - image -");
        row("after comments, scripts and other tags",
            "<!-- 1 > 0 <body text=red> --><script>document.write('<body text=red>')</script>"
            "<bodyx text=red><p title='<body text=red>'><BODY\ntext=blue>",
            "back - text #0000FF link - vlink - alink - image -");
        row("empty background", "<body background=\"\">", "back - text - link - vlink - alink - image []");
        QByteArray crowded = "<body ";
        for (int i = 0; i < 100000; ++i)
            crowded += "a" + QByteArray::number(i) + "=1 ";
        row("a great many attributes", crowded + "bgcolor=red bgcolor=blue>",
            "back #FF0000 text - link - vlink - alink - image -");
        row("no body tag", "<html><p>text</p></html>", "nothing");
        row("cut inside the tag", "<body text=\"red", "nothing");
        row("empty", "", "nothing");
    }

    void attributes()
    {
        QFETCH(QByteArray, page);
        QFETCH(QString, expected);
        // Far more than a linear read of the largest page takes, far less
        // than one that goes over all attributes for each attribute.
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(shown(output::readPageColors(page)), expected);
        QVERIFY(timer.elapsed() < 5000);
    }

    void encodings()
    {
        const QByteArray utf8Name = "caf\xC3\xA9.gif";
        const QByteArray tag = "<body bgcolor=#102030 background=\"" + utf8Name + "\">";
        const QString cafe = QStringLiteral("caf\u00E9.gif");
        const auto image = [](const QByteArray &page) {
            const auto read = output::readPageColors(page);
            return read && (*read)[ColorTarget::Back] == Rgb{0x10, 0x20, 0x30} && read->background
                       ? *read->background
                       : QStringLiteral("<unread>");
        };
        QCOMPARE(image("<meta charset=\"UTF-8\">" + tag), cafe);
        QCOMPARE(image("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=utf-8\">" + tag), cafe);
        QCOMPARE(image("\xEF\xBB\xBF" + tag), cafe);
        QCOMPARE(image(tag), QString::fromLatin1(utf8Name));
        QCOMPARE(image("<meta charset=iso-8859-1>" + tag), QString::fromLatin1(utf8Name));
        const QString wide = QString::fromUtf8(tag);
        QByteArray le("\xFF\xFE"), be("\xFE\xFF");
        for (const QChar ch : wide) {
            le.append(char(ch.unicode() & 0xFF)).append(char(ch.unicode() >> 8));
            be.append(char(ch.unicode() >> 8)).append(char(ch.unicode() & 0xFF));
        }
        QCOMPARE(image(le), cafe);
        QCOMPARE(image(be), cafe);
    }
};

QTEST_APPLESS_MAIN(TestPageColors)
#include "tst_pagecolors.moc"

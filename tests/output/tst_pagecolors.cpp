#include "output/bodytag.h"
#include "output/cssoutput.h"
#include "output/htmltext.h"
#include "output/pagecolors.h"
#include "output/pageencoding.h"
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
        const PageColors defaults{.back = "#DCDCDC",
                                  .text = "#0A0A0A",
                                  .newLink = "#0000EE",
                                  .visitedLink = "#551A8B",
                                  .activeLink = "#EE0000"};
        const PageColors others{.back = "#000000",
                                .text = "#FFFFFF",
                                .newLink = "#0F1000",
                                .visitedLink = "#A0A0A0",
                                .activeLink = "#12AB9F"};
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
        const PageColors css{.back = "#102030",
                             .text = "#FFFFFF",
                             .newLink = "#0000EE",
                             .visitedLink = "#551A8B",
                             .activeLink = "#EE0000",
                             .imageName = QStringLiteral("my \"best\" back\\ground\t\u0001.gif")};
        const PageColors same{.back = css.back,
                              .text = css.text,
                              .newLink = css.newLink,
                              .visitedLink = css.visitedLink,
                              .activeLink = css.activeLink};
        QCOMPARE(shown(output::colorsFromCss(output::cssStyleBlock(css))), shown(expected(same, css.imageName)));
        // The copy in oklch() reads back to the same colors.
        QCOMPARE(shown(output::colorsFromCss(output::cssStyleBlock(css, output::ColorNotation::Oklch))),
                 shown(expected(same, css.imageName)));

        // In a page, the style sheet wins over the tag's attributes, as in a browser.
        const PageColors tag{.back = "#000000",
                             .text = "#000000",
                             .newLink = "#000000",
                             .visitedLink = "#000000",
                             .activeLink = "#000000"};
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
        // As a browser's parser does: a later tag adds what the first left out.
        row("a later tag adds missing attributes", "<body text=red><body text=blue bgcolor=blue>",
            "back #0000FF text #FF0000 link - vlink - alink - image -");
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
        // Kept as HTML keeps them, though the parser itself would replace them.
        row("control characters in a value", "<meta charset=utf-8><body background='a\x01\x7f\xc2\x85.gif'>",
            "back - text - link - vlink - alink - image [a\u0001\u007F\u0085.gif]");
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

    // Pages where a browser's answer differs from a hand-made reader's:
    // each row failed with the reader this one replaced.
    void asBrowsersShowThem_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, const QByteArray &page, const char *read) {
            QTest::newRow(name) << page << QString::fromUtf8(read);
        };
        // 1. An at-rule no longer throws the style block away.
        row("@media print before the rules",
            "<style>@media print{body{color:red}} body{background-color:#123456}</style>"
            "<body bgcolor=red>",
            "back #123456 text - link - vlink - alink - image -");
        row("@import before the rules", "<style>@import url(x.css); a:visited{color:#010203}</style><body>",
            "back - text - link - vlink #010203 alink - image -");
        row("@media screen lends its rules",
            "<style>@media screen, print{a:link{color:#0000aa}}</style><body link=red>",
            "back - text - link #0000AA vlink - alink #0000AA image -");
        row("@font-face skipped with its block", "<style>@font-face{body{color:red}} body{color:#000001}</style><body>",
            "back - text #000001 link - vlink - alink - image -");
        // 2. A later BODY tag adds the attributes the body lacks.
        row("later body tag", "<body bgcolor=red><p>x<body text=blue link=yellow bgcolor=green>",
            "back #FF0000 text #0000FF link #FFFF00 vlink - alink - image -");
        // 3. BODY tags a browser never sees.
        row("inside template", "<template><body bgcolor=red></template><body text=blue>",
            "back - text #0000FF link - vlink - alink - image -");
        row("inside noscript in the head", "<head><noscript><body bgcolor=red></noscript></head><body text=blue>",
            "back - text #0000FF link - vlink - alink - image -");
        row("double-escaped script",
            "<script><!--<script></script><body bgcolor=red></script>--></script><body text=blue>",
            "back - text #0000FF link - vlink - alink - image -");
        row("SVG CDATA holding >", "<svg><![CDATA[ > <body bgcolor=red> ]]></svg><body text=blue>",
            "back - text #0000FF link - vlink - alink - image -");
        row("end tag with a quoted >", "</p title='>'<body bgcolor=red>><body text=blue>",
            "back - text #0000FF link - vlink - alink - image -");
        row("after the comment --!>", "<!-- x --!><body bgcolor=red>",
            "back #FF0000 text - link - vlink - alink - image -");
        // 4. HTML5 named references, and legacy ones without ";".
        row("&num;", "<body text='&num;abc'>", "back - text #AABBCC link - vlink - alink - image -");
        row("&lpar; and &NewLine;", "<body background='&lpar;a&NewLine;b&rpar;.gif'>",
            "back - text - link - vlink - alink - image [(a\nb).gif]");
        row("&amp without ;", "<body bgcolor=ff&amp>", "back #0F0F00 text - link - vlink - alink - image -");
        // 5. Encodings and the script's end tag.
        row("Shift_JIS", "<meta charset=shift_jis><body background='\x93\xfa\x96\x7b.gif'>",
            "back - text - link - vlink - alink - image [\u65E5\u672C.gif]");
        row("Shift_JIS keeps 0x7F and 0x80", "<meta charset=sjis><body background='\x7f\x80\x82\xa0.gif'>",
            "back - text - link - vlink - alink - image [\u007F\u0080\u3042.gif]");
        row("a UTF-16 label means UTF-8", "<meta charset=utf-16><body background='caf\xc3\xa9.gif'>",
            "back - text - link - vlink - alink - image [caf\u00E9.gif]");
        row("</\u017Fcript does not end a script",
            "\xef\xbb\xbf<script>x</\xc5\xbf"
            "cript><body bgcolor=red></script><body text=blue>",
            "back - text #0000FF link - vlink - alink - image -");
        // 6. !important and a style block for print.
        row("!important wins over a later rule",
            "<style>body{color:#000001 ! IMPORTANT} body{color:#000002}</style><body>",
            "back - text #000001 link - vlink - alink - image -");
        row("style for print skipped",
            "<style media=print>body{color:red}</style><style media='screen'>a{color:#000003}"
            "</style><body>",
            "back - text - link #000003 vlink #000003 alink #000003 image -");
        // The legacy faults, through a page.
        row("CR LF in a value", "<body bgcolor=\"f\r\nf\">", "back #0F000F text - link - vlink - alink - image -");
        row("long s is no transparent", "<meta charset=utf-8><body bgcolor='tran\xc5\xbfparent'>",
            "back #0000E0 text - link - vlink - alink - image -");
        row("a leading U+FEFF stays",
            "<meta charset=utf-8><body bgcolor='\xef\xbb\xbf"
            "abc'>",
            "back #0ABC00 text - link - vlink - alink - image -");
    }

    void asBrowsersShowThem()
    {
        QFETCH(QByteArray, page);
        QFETCH(QString, expected);
        QCOMPARE(shown(output::readPageColors(page)), expected);
    }

    // The cascade among the selectors read, and the background shorthand.
    void cascade_data()
    {
        QTest::addColumn<QString>("css");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, const char *css, const char *read) {
            QTest::newRow(name) << QString::fromUtf8(css) << QString::fromUtf8(read);
        };
        row("specificity beats order", "a:link{color:#000001} a{color:#000002}",
            "back - text - link #000001 vlink #000002 alink #000001 image -");
        row("order among equals: active after link", "a:link{color:#000001} a:active{color:#000003}",
            "back - text - link #000001 vlink - alink #000003 image -");
        row("link after active hides it", "a:active{color:#000003} a:link{color:#000001}",
            "back - text - link #000001 vlink - alink #000001 image -");
        row("shorthand color and image", "body{background:#102030 url('a b.gif') no-repeat}",
            "back #102030 text - link - vlink - alink - image [a b.gif]");
        row("shorthand resets the color", "body{background-color:red; background:url(x.gif)}",
            "back - text - link - vlink - alink - image [x.gif]");
        row("root background paints the page", "html{background:#000010} body{background:#000020}",
            "back #000010 text - link - vlink - alink - image -");
        row("text inherited from the root", "html{color:#000030}",
            "back - text #000030 link - vlink - alink - image -");
        row("comments, escapes and strings", "/* body{color:red} */ b\\6f dy{color:#000040; x:'}'}",
            "back - text #000040 link - vlink - alink - image -");
        row("a descendant selector is not ours", "html body{color:red} a :link{color:red}",
            "back - text - link - vlink - alink - image -");
        row("unknown values are skipped",
            "body{color:#000050} body{color:color(rec2021 0 0 0)} body{color:hsl(0,0,0)} body{color:bogus}",
            "back - text #000050 link - vlink - alink - image -");
        row("rgb() in the space syntax, rgba() opaque", "body{color:rgb(1 2 3)} a:link{color:rgba(4, 5, 6, 1)}",
            "back - text #010203 link #040506 vlink - alink #040506 image -");
        row("every CSS color function",
            "body{color:HSL(120deg 100% 25%); background:oklch(62.8% 0.258 29.2)} "
            "a:link{color:color(srgb 0 0 1)} a:visited{color:hwb(0 0% 0%)} a:active{color:lab(100 0 0)}",
            "back #FF0000 text #008000 link #0000FF vlink #FF0000 alink #FFFFFF image -");
        row("a translucent color is skipped", "body{color:#000050} body{color:rgb(0 0 0 / 50%)}",
            "back - text #000050 link - vlink - alink - image -");
        row("paste-exact rounding in rgb()", "body{color:rgb(0.49999999999999994, 127.5, 254.5)}",
            "back - text #0080FF link - vlink - alink - image -");
    }

    void cascade()
    {
        QFETCH(QString, css);
        QFETCH(QString, expected);
        QCOMPARE(shown(output::colorsFromCss(css)), expected);
    }

    // Pages that once took seconds or a deep recursion: read fast, and the
    // BODY tag found after them.
    void hostilePages_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QString>("expected");
        const qsizetype size = 10 * 1024 * 1024;
        QByteArray nested;
        nested.reserve(size);
        while (nested.size() < size - 20)
            nested += "<div>";
        QTest::newRow("1.9 million nested tags, then a body") << nested + "<body text=blue>"
                                                              << "back - text #0000FF link - vlink - alink - image -";
        QByteArray crowded = "<body ";
        for (int i = 0; i < 100000; ++i)
            crowded += "a" + QByteArray::number(i) + "=1 ";
        QTest::newRow("100,000 attributes") << crowded + "bgcolor=red bgcolor=blue>"
                                            << "back #FF0000 text - link - vlink - alink - image -";
        QTest::newRow("one line of NULs") << "<body bgcolor=red>" + QByteArray(size - 20, '\0')
                                          << "back #FF0000 text - link - vlink - alink - image -";
        QByteArray script = "<body text=red><script>";
        while (script.size() < 2 * 1024 * 1024)
            script += "if (a<b) c = '<';\n";
        QTest::newRow("a long script, then a body") << script + "</script><body bgcolor=blue>"
                                                    << "back #0000FF text #FF0000 link - vlink - alink - image -";
        QByteArray comment = "<!-- ";
        while (comment.size() < 2 * 1024 * 1024)
            comment += "<p>";
        QTest::newRow("a long comment, then a style") << comment + "--><style>body{color:#000009}</style>"
                                                      << "back - text #000009 link - vlink - alink - image -";
        QByteArray quotes;
        while (quotes.size() < size - 20)
            quotes += "<body a='";
        // A browser sees one tag the end cuts off; the budget closes it where the
        // parser's part ends: a BODY tag with no colors, no crash.
        QTest::newRow("unclosed quotes") << quotes << "back - text - link - vlink - alink - image -";
    }

    void hostilePages()
    {
        QFETCH(QByteArray, page);
        QFETCH(QString, expected);
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(shown(output::readPageColors(page)), expected);
        QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
    }

    void styleSheetsLinked()
    {
        const auto links = [](const QByteArray &page) { return output::readPageColors(page)->linksStyleSheets; };
        QVERIFY(links("<link rel=StyleSheet href=a.css><body>"));
        QVERIFY(links("<style>@import 'a.css';</style><body>"));
        QVERIFY(!links("<link rel='alternate stylesheet' href=a.css><body>"));
        QVERIFY(!links("<template><link rel=stylesheet href=a.css></template><body>"));
        QVERIFY(!links("<body bgcolor=red>"));
    }

    // The encoding found without a transport header, by the HTML prescan.
    void prescan_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QByteArray>("encoding");
        const auto row = [](const char *name, const QByteArray &page, const char *encoding) {
            QTest::newRow(name) << page << QByteArray(encoding);
        };
        row("nothing declared", "<p>caf\xe9", "windows-1252");
        row("byte order mark over a META", "\xef\xbb\xbf<meta charset=shift_jis>", "UTF-8");
        row("UTF-16LE mark", "\xff\xfe<\0", "UTF-16LE");
        row("charset, quoted, any case", "<META CHARSET=' Shift_JIS '>", "Shift_JIS");
        row("http-equiv and content", "<meta http-equiv=Content-Type content='text/html; charset=\"euc-kr\"'>",
            "EUC-KR");
        row("content without http-equiv", "<meta content='text/html; charset=euc-kr'>", "windows-1252");
        row("http-equiv of another kind", "<meta http-equiv=refresh content='charset=gbk'>", "windows-1252");
        row("a comment hides it", "<!-- <meta charset=gbk> --><meta charset=big5>", "Big5");
        row("an attribute value hides it", "<p title='<meta charset=gbk>'><meta charset=koi8-r>", "KOI8-R");
        row("unknown label, the next one counts", "<meta charset=bogus><meta charset=gb2312>", "GBK");
        row("the first one counts", "<meta charset=latin1><meta charset=utf-8>", "windows-1252");
        row("UTF-16 label means UTF-8", "<meta charset=UTF-16BE>", "UTF-8");
        row("x-user-defined", "<meta charset=x-user-defined>", "windows-1252");
        row("ISO-8859-9 is windows-1254", "<meta charset=latin5>", "windows-1254");
        row("past the first 1024 bytes", QByteArray(1010, ' ') + "<meta charset=gbk>", "windows-1252");
        row("charset wins over a later content", "<meta charset=euc-jp content='charset=gbk'>", "EUC-JP");
        row("slash before the attributes", "<meta/charset=sjis>", "Shift_JIS");
    }

    void prescan()
    {
        QFETCH(QByteArray, page);
        QFETCH(QByteArray, encoding);
        QCOMPARE(output::sniffEncoding(page).name, encoding);
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
        // windows-1252 when nothing is declared, also for ISO-8859-1's C1 range.
        QCOMPARE(image("<meta charset=latin1><body bgcolor=#102030 background='\x80.gif'>"),
                 QStringLiteral("\u20AC.gif"));
        QCOMPARE(image("<meta charset=euc-kr><body bgcolor=#102030 background='\xc7\xd1.gif'>"),
                 QStringLiteral("\uD55C.gif"));
        // The declaration counts only in the first 1024 bytes.
        QCOMPARE(image(QByteArray(1024, ' ') + "<meta charset=utf-8>" + tag), QString::fromLatin1(utf8Name));
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

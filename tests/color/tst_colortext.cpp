#include "color/colortext.h"
#include "output/cssoutput.h"

#include <QColor>
#include <QTest>

using color::Rgb;

Q_DECLARE_METATYPE(std::optional<Rgb>)
Q_DECLARE_METATYPE(Rgb)

namespace {

const std::optional<Rgb> refused;

std::optional<Rgb> rgb(int r, int g, int b)
{
    return Rgb{r, g, b};
}

QString shown(const std::optional<Rgb> &c)
{
    return c ? QStringLiteral("(%1, %2, %3)").arg(c->red).arg(c->green).arg(c->blue) : QStringLiteral("nothing");
}

} // namespace

class TestColorText : public QObject {
    Q_OBJECT
private slots:
    void pastedText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::optional<Rgb>>("expected");
        const auto row = [](const char *name, const QString &text, std::optional<Rgb> expected) {
            QTest::newRow(name) << text << expected;
        };
        row("hex", "#551A8B", rgb(85, 26, 139));
        row("hex lower, blanks", " \t#0a0b0c\n", rgb(10, 11, 12));
        row("hex without #", "DCDCDC", rgb(220, 220, 220));
        row("short hex", "#aBc", rgb(0xAA, 0xBB, 0xCC));
        row("short hex without #", "abc", refused);
        row("five digits", "#12345", refused);
        row("seven digits", "#1234567", refused);
        row("eight digits", "#12345678", refused);
        row("not hex", "#GG0000", refused);
        row("empty", "", refused);
        row("blank", "   ", refused);
        row("hash alone", "#", refused);
        row("numbers", "rgb(85, 26, 139)", rgb(85, 26, 139));
        row("tight, upper case", "RGB(0,255,16)", rgb(0, 255, 16));
        row("clamped", "rgb(300, -5, 127.5)", rgb(255, 0, 128));
        row("rounded half up", "rgb(0.5, 1.49, 254.5)", rgb(1, 1, 255));
        // Rounded on the exact decimal: a double's floor(x + 0.5) takes these for halves.
        row("just under a half", "rgb(0.49999999999999994, 2.49999999999999999999, 0.4999e0)", rgb(0, 2, 0));
        row("percentage just under a half", "rgb(0.19607843137254901%, 0%, 100%)", rgb(0, 0, 255));
        row("half by exponent", "rgb(5e-1, 1275e-1, 2.545e2)", rgb(1, 128, 255));
        row("exponent and signs", "rgb(1e2, +5, .5e1)", rgb(100, 5, 5));
        row("huge", "rgb(1e999, 0, 0)", rgb(255, 0, 0));
        row("percentages", "rgb(50%, 100%, 0%)", rgb(128, 255, 0));
        row("percentages clamped", "rgb( 150% , -10% , 33.3% )", rgb(255, 0, 85));
        row("mixed kinds", "rgb(10%, 2, 3)", refused);
        row("two values", "rgb(1, 2)", refused);
        // An alpha above 1 counts as 1: opaque.
        row("alpha", "rgb(1, 2, 3, 4)", rgb(1, 2, 3));
        row("rgba", "rgba(1, 2, 3, 1)", rgb(1, 2, 3));
        row("spaces only", "rgb(1 2 3)", rgb(1, 2, 3));
        row("space syntax, mixed kinds", "rgb(10% 2 none)", rgb(26, 2, 0));
        row("space syntax, opaque alpha", "rgb(1 2 3 / 100%)", rgb(1, 2, 3));
        row("space syntax, translucent", "rgb(1 2 3 / 0.5)", refused);
        row("comma and space mixed", "rgb(1, 2 3)", refused);
        row("alpha without slash", "rgb(1 2 3 4)", refused);
        row("none in comma syntax", "rgb(none, 2, 3)", refused);
        row("eight digits, opaque", "#123456ff", rgb(0x12, 0x34, 0x56));
        row("four digits, opaque", "#AbCf", rgb(0xAA, 0xBB, 0xCC));
        row("four digits, translucent", "#abc8", refused);
        row("hsl", "hsl(120deg 100% 25%)", rgb(0, 128, 0));
        row("hsla, comma syntax", "HSLA(0.5turn, 100%, 50%, 1)", rgb(0, 255, 255));
        row("hsl, numbers in comma syntax", "hsl(120, 100, 25)", refused);
        row("hwb", "hwb(0 0% 0%)", rgb(255, 0, 0));
        row("lab white", "lab(100 0 0)", rgb(255, 255, 255));
        row("oklch", "oklch(0% 0 0)", rgb(0, 0, 0));
        row("oklab gray", "oklab(0.5 0 0)", rgb(99, 99, 99));
        row("color srgb", "color(srgb 1 50% 0)", rgb(255, 128, 0));
        row("color display-p3 red", "color(display-p3 1 0 0)", rgb(255, 11, 12));
        row("unknown color space", "color(rec2021 1 0 0)", refused);
        // CSS names match ASCII case-blind only: a Kelvin sign is no k.
        row("Kelvin sign in a function name", QStringLiteral("o\u212Alch(0% 0 0)"), refused);
        row("Kelvin sign in oklab", QStringLiteral("\u212Alab(0.5 0 0)").prepend(u'o'), refused);
        row("transparent declaration", "color: rgb(0 0 0 / 0);", refused);
        row("modern declaration", "a:link { color: oklch(0.5 0 0); }", rgb(99, 99, 99));
        // The end of the text closes a parenthesis, as in a style sheet; a
        // semicolon inside one belongs to it.
        row("unclosed", "rgb(1, 2, 3", rgb(1, 2, 3));
        row("unclosed, two values", "rgb(1 2", refused);
        row("unclosed declaration", "color: rgb(1 2 3; background: red", refused);
        row("point without digits", "rgb(1., 2, 3)", refused);
        row("empty value", "rgb(1, , 3)", refused);
        row("unit", "rgb(1px, 2, 3)", refused);
        row("named", "rebeccapurple", rgb(0x66, 0x33, 0x99));
        row("named, any case", "  GhostWhite ", rgb(0xF8, 0xF8, 0xFF));
        row("transparent", "transparent", refused);
        row("currentcolor", "currentColor", refused);
        row("unknown name", "chucknorris", refused);
        row("declaration", "color: #0A0A0A;", rgb(10, 10, 10));
        row("our background line", "  background-color: #DCDCDC;\n", rgb(220, 220, 220));
        row("our link rule", "a:link { color: #0000EE; }", rgb(0, 0, 0xEE));
        row("rule, tight", "a:visited{color:rebeccapurple}", rgb(0x66, 0x33, 0x99));
        row("rule with comment", "/* mine */ a:active { color: rgb(1, 2, 3) }", rgb(1, 2, 3));
        row("two colors", "color: #0A0A0A; background-color: #DCDCDC;", refused);
        row("unclosed rule", "a:link { color: #0000EE;", refused);
        row("no color", "width: 10px;", refused);
        row("bad value", "color: nonsense;", refused);
        row("bare hex is no CSS", "color: 0000EE;", refused);
    }

    void pastedText()
    {
        QFETCH(QString, text);
        QFETCH(std::optional<Rgb>, expected);
        QCOMPARE(shown(color::colorFromText(text)), shown(expected));
    }

    // What a paste or drop gets beyond the color: whether it was translucent
    // (refused) or brought into sRGB (said on the status line).
    void pastedOutcome_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("translucent");
        QTest::addColumn<bool>("mapped");
        QTest::newRow("hex") << "#551A8B" << false << false;
        QTest::newRow("rgb half alpha") << "rgb(0 0 0 / 50%)" << true << false;
        QTest::newRow("none alpha is zero") << "hsl(0 0% 0% / none)" << true << false;
        QTest::newRow("tiny alpha") << "rgba(1, 2, 3, 0.999)" << true << false;
        QTest::newRow("transparent") << "transparent" << true << false;
        QTest::newRow("four digits") << "#0000" << true << false;
        QTest::newRow("declaration") << "color: rgb(1 2 3 / .5);" << true << false;
        QTest::newRow("p3 red") << "color(display-p3 1 0 0)" << false << true;
        QTest::newRow("oklch beyond sRGB") << "oklch(70% 0.4 145)" << false << true;
        QTest::newRow("oklch beyond white") << "oklch(120% 0.2 30)" << false << true;
        QTest::newRow("srgb beyond") << "color(srgb 1.2 0 0)" << false << true;
        QTest::newRow("lab in sRGB") << "lab(50 10 10)" << false << false;
        QTest::newRow("both") << "oklch(70% 0.4 145 / 0.5)" << true << true;
        QTest::newRow("clamped rgb is in sRGB") << "rgb(300 0 0)" << false << false;
    }

    void pastedOutcome()
    {
        QFETCH(QString, text);
        QFETCH(bool, translucent);
        QFETCH(bool, mapped);
        const auto read = color::pastedColor(text);
        QVERIFY(read);
        QCOMPARE(read->translucent, translucent);
        QCOMPARE(read->gamutMapped, mapped);
        QCOMPARE(color::colorFromText(text).has_value(), !translucent);
    }

    void messages()
    {
        QCOMPARE(
            color::translucentColorText(QStringLiteral(" rgb(0 0 0 / 50%)\n")),
            QStringLiteral("\"rgb(0 0 0 / 50%)\" has transparency, which the colors of a page's BODY cannot have."));
        QCOMPARE(color::gamutMappedText(QStringLiteral("oklch(70% 0.4 145)"), Rgb{0, 200, 10}),
                 QStringLiteral("\"oklch(70% 0.4 145)\" lies outside sRGB; it was brought in as #00C80A."));
        // A long paste is cut short, on one line.
        const QString longText = QStringLiteral("a:link {\n  color: rgb(0 0 0 / 50%);\n}") + QString(60, u'y');
        const QString said = color::translucentColorText(longText);
        QVERIFY(said.startsWith(QStringLiteral("\"a:link { color: rgb(0 0 0 / 50%); }")));
        QVERIFY(said.contains(QChar(0x2026) + QStringLiteral("\" has")));
        QVERIFY(!said.contains(u'\n'));
    }

    void serialisations_data()
    {
        QTest::addColumn<Rgb>("color");
        QTest::addColumn<QString>("hsl");
        QTest::addColumn<QString>("oklch");
        QTest::newRow("red") << Rgb{255, 0, 0} << "hsl(0 100% 50%)"
                             << "oklch(62.8% 0.258 29.2)";
        QTest::newRow("black") << Rgb{0, 0, 0} << "hsl(0 0% 0%)"
                               << "oklch(0% 0 0)";
        QTest::newRow("white") << Rgb{255, 255, 255} << "hsl(0 0% 100%)"
                               << "oklch(100% 0 0)";
        QTest::newRow("gray hue is 0") << Rgb{128, 128, 128} << "hsl(0 0% 50.2%)"
                                       << "oklch(60% 0 0)";
        QTest::newRow("visited") << Rgb{85, 26, 139} << "hsl(271.3 68.5% 32.4%)"
                                 << "oklch(37.8% 0.172 302.2)";
    }

    void serialisations()
    {
        QFETCH(Rgb, color);
        QFETCH(QString, hsl);
        QFETCH(QString, oklch);
        QCOMPARE(color::hslText(color), hsl);
        QCOMPARE(color::oklchText(color), oklch);
    }

    void ourCopiesReadBack()
    {
        for (const QString &hex : {QStringLiteral("#551A8B"), QStringLiteral("#000000"), QStringLiteral("#FFFFFF")}) {
            const std::optional<Rgb> expected = color::colorFromText(hex);
            QVERIFY(expected);
            for (const QString &copy : output::colorCopyFormats(hex))
                QCOMPARE(shown(color::colorFromText(copy)), shown(expected));
        }
        // Near the ends of each channel, where the readers clamp (an OKLCH
        // lightness of 100% is white), every copy still reads back.
        const int edges[] = {0, 1, 2, 3, 4, 127, 128, 251, 252, 253, 254, 255};
        for (const int r : edges)
            for (const int g : edges)
                for (const int b : edges) {
                    const Rgb c{r, g, b};
                    for (const QString &copy : output::colorCopyFormats(color::hexColor(r, g, b)))
                        if (color::colorFromText(copy) != c)
                            QFAIL(qPrintable(
                                QStringLiteral("%1 reads as %2").arg(copy, shown(color::colorFromText(copy)))));
                }
        // Our whole style block holds five colors, not one.
        const PageColors five{.back = "#DCDCDC",
                              .text = "#0A0A0A",
                              .newLink = "#0000EE",
                              .visitedLink = "#551A8B",
                              .activeLink = "#EE0000",
                              .imageName = "stone.gif"};
        QCOMPARE(shown(color::colorFromText(output::cssStyleBlock(five))), shown(refused));
    }

    // Every name, against the toolkit's own table of the same CSS names
    // (which predates rebeccapurple), in any case; nothing else is a name.
    void namedColorsAgreeWithTheToolkit()
    {
        QStringList names = QColor::colorNames();
        names.removeAll(QStringLiteral("transparent"));
        QCOMPARE(names.size(), 147);
        for (const QString &name : names) {
            const QColor known = QColor::fromString(name);
            QCOMPARE(shown(color::namedColor(name.toUpper())), shown(rgb(known.red(), known.green(), known.blue())));
        }
        QCOMPARE(shown(color::namedColor(u"RebeccaPurple")), shown(rgb(0x66, 0x33, 0x99)));
        for (const char *none : {"transparent", "rebecca", "grey1", "", "reds", "lightgoldenrod"})
            QVERIFY2(!color::namedColor(QString::fromLatin1(none)), none);
    }

    void legacy_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<std::optional<Rgb>>("expected");
        const auto row = [](const char *name, const QString &value, std::optional<Rgb> expected) {
            QTest::newRow(name) << value << expected;
        };
        row("chucknorris", "chucknorris", rgb(0xC0, 0, 0));
        row("short hex", "#abc", rgb(0xAA, 0xBB, 0xCC));
        row("six digits", "00ff00", rgb(0, 0xFF, 0));
        row("seven characters", "#A0b1C2", rgb(0xA0, 0xB1, 0xC2));
        row("named", "red", rgb(0xFF, 0, 0));
        row("named, blanks and case", "\t NaVy \n", rgb(0, 0, 0x80));
        row("empty", "", refused);
        row("transparent", " TransParent ", refused);
        // Keywords compare ASCII case only: a long s is no "s".
        row("long s is no transparent", QStringLiteral("tran\u017Fparent"), rgb(0, 0, 0xE0));
        row("a leading U+FEFF is a character", QStringLiteral("\uFEFFabc"), rgb(0x0A, 0xBC, 0));
        row("Kelvin sign is no k", QStringLiteral("blac\u212A"), rgb(0xB0, 0xAC, 0));
        row("blanks only", "   ", rgb(0, 0, 0));
        row("three characters", "abc", rgb(0x0A, 0x0B, 0x0C));
        row("four with hash, not hex", "#abz", rgb(0x0A, 0x0B, 0));
        row("five characters", "#abcd", rgb(0xAB, 0xCD, 0));
        row("eight characters", "ff0000ff", rgb(0xFF, 0, 0xFF));
        row("sick", "sick", rgb(0, 0xC0, 0));
        row("ninjaturtle", "ninjaturtle", rgb(0, 0xA0, 0));
        row("leading zeros trimmed", "001a000b000c", rgb(0x1A, 0x0B, 0x0C));
        row("zeros trimmed to two", "000a000b000c", rgb(0x0A, 0x0B, 0x0C));
        row("over eight per part", "12ab00000012cd00000012ef000000", rgb(0xAB, 0xCD, 0xEF));
        row("hash alone", "#", rgb(0, 0, 0));
        row("vertical tab is no blank", "\v#abc", rgb(0, 0xAB, 0xC0));
        row("NUL", QString(QChar(0)) + QStringLiteral("ff"), rgb(0, 0x0F, 0x0F));
        row("NULs after hash", QStringLiteral("#%1%1%1").arg(QChar(0)), rgb(0, 0, 0));
        row("non-ASCII, one digit", QStringLiteral("\u00E9ff"), rgb(0, 0x0F, 0x0F));
        row("beyond the BMP, two digits",
            QString::fromUtf8("\xF0\x9F\x98\x80"
                              "ff"),
            rgb(0, 0xFF, 0));
        // The first 128 characters count: the "ffffff" after them is cut.
        row("128 characters", QString(128, u'1') + QStringLiteral("ffffff"), rgb(0x11, 0x11, 0x11));
        row("exactly 128 characters", QString(122, u'1') + QStringLiteral("ffffff"), rgb(0x11, 0x11, 0x1F));
    }

    void legacy()
    {
        QFETCH(QString, value);
        QFETCH(std::optional<Rgb>, expected);
        QCOMPARE(shown(color::legacyColor(value)), shown(expected));
    }
};

QTEST_MAIN(TestColorText)
#include "tst_colortext.moc"

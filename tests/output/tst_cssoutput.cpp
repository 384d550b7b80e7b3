#include "output/cssoutput.h"

#include "color/colortext.h"

#include <QTest>

class TestCssOutput : public QObject {
    Q_OBJECT
private slots:
    void defaults()
    {
        const PageColors colors{.back = QStringLiteral("#DCDCDC"),
                                .text = QStringLiteral("#0A0A0A"),
                                .newLink = QStringLiteral("#0000EE"),
                                .visitedLink = QStringLiteral("#551A8B"),
                                .activeLink = QStringLiteral("#EE0000"),
                                .imageName = QString()};
        QCOMPARE(output::cssStyleBlock(colors), QStringLiteral("body {\n"
                                                               "  background-color: #DCDCDC;\n"
                                                               "  color: #0A0A0A;\n"
                                                               "}\n"
                                                               "a:link { color: #0000EE; }\n"
                                                               "a:visited { color: #551A8B; }\n"
                                                               "a:active { color: #EE0000; }\n"));
    }

    // The same block in oklch(); each line reads back to its color.
    void defaultsInOklch()
    {
        const PageColors colors{.back = QStringLiteral("#DCDCDC"),
                                .text = QStringLiteral("#0A0A0A"),
                                .newLink = QStringLiteral("#0000EE"),
                                .visitedLink = QStringLiteral("#551A8B"),
                                .activeLink = QStringLiteral("#EE0000"),
                                .imageName = QStringLiteral("stone.gif")};
        const QString css = output::cssStyleBlock(colors, output::ColorNotation::Oklch);
        QCOMPARE(css, QStringLiteral("body {\n"
                                     "  background-color: %1;\n"
                                     "  color: %2;\n"
                                     "  background-image: url(\"stone.gif\");\n"
                                     "}\n"
                                     "a:link { color: %3; }\n"
                                     "a:visited { color: oklch(37.8% 0.172 302.2); }\n"
                                     "a:active { color: %4; }\n")
                          .arg(color::oklchText({220, 220, 220}), color::oklchText({10, 10, 10}),
                               color::oklchText({0, 0, 238}), color::oklchText({238, 0, 0})));
        const QStringList lines = css.split(u'\n');
        QCOMPARE(color::colorFromText(lines[1]), color::hexColorValue(colors.back));
        QCOMPARE(color::colorFromText(lines[2]), color::hexColorValue(colors.text));
        QCOMPARE(color::colorFromText(lines[5]), color::hexColorValue(colors.newLink));
        QCOMPARE(color::colorFromText(lines[6]), color::hexColorValue(colors.visitedLink));
        QCOMPARE(color::colorFromText(lines[7]), color::hexColorValue(colors.activeLink));
    }

    void imageNameIsEscapedForACssString()
    {
        PageColors colors{.back = QStringLiteral("#000000"),
                          .text = QStringLiteral("#FFFFFF"),
                          .newLink = QStringLiteral("#0000EE"),
                          .visitedLink = QStringLiteral("#551A8B"),
                          .activeLink = QStringLiteral("#EE0000"),
                          .imageName = QStringLiteral("my \"best\" back\\ground\n.gif")};
        const QString css = output::cssStyleBlock(colors);
        QVERIFY(css.contains(QStringLiteral("  background-image: url(\"my \\\"best\\\" back\\\\ground\\a .gif\");\n")));
        colors.imageName = QStringLiteral("stone.gif");
        QVERIFY(output::cssStyleBlock(colors).contains(QStringLiteral("url(\"stone.gif\")")));
        QCOMPARE(output::cssStringEscaped(QStringLiteral("Łódź é")), QStringLiteral("Łódź é"));
    }

    void copyFormats()
    {
        QCOMPARE(output::colorCopyFormats(QStringLiteral("#551A8B")),
                 (QStringList{"#551A8B", "#551a8b", "551A8B", "rgb(85, 26, 139)", "hsl(271.3 68.5% 32.4%)",
                              "oklch(37.8% 0.172 302.2)"}));
        QCOMPARE(output::colorCopyFormats(QStringLiteral("#000000")),
                 (QStringList{"#000000", "#000000", "000000", "rgb(0, 0, 0)", "hsl(0 0% 0%)", "oklch(0% 0 0)"}));
        QCOMPARE(output::colorCopyFormats(QStringLiteral("#FFFFFF"))[3], QStringLiteral("rgb(255, 255, 255)"));
        QCOMPARE(output::colorCopyFormats(QStringLiteral("#FFFFFF")).last(), QStringLiteral("oklch(100% 0 0)"));
        QCOMPARE(output::colorCopyFormats(QStringLiteral("Text1")), QStringList{"Text1"});
        QCOMPARE(output::colorCopyFormats(QStringLiteral("#12345")), QStringList{"#12345"});
    }
};

QTEST_APPLESS_MAIN(TestCssOutput)
#include "tst_cssoutput.moc"

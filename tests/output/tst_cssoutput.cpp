#include "output/cssoutput.h"

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
                 (QStringList{"#551A8B", "#551a8b", "551A8B", "rgb(85, 26, 139)"}));
        QCOMPARE(output::colorCopyFormats(QStringLiteral("#000000")),
                 (QStringList{"#000000", "#000000", "000000", "rgb(0, 0, 0)"}));
        QCOMPARE(output::colorCopyFormats(QStringLiteral("#FFFFFF")).last(), QStringLiteral("rgb(255, 255, 255)"));
        QCOMPARE(output::colorCopyFormats(QStringLiteral("Text1")), QStringList{"Text1"});
        QCOMPARE(output::colorCopyFormats(QStringLiteral("#12345")), QStringList{"#12345"});
    }
};

QTEST_APPLESS_MAIN(TestCssOutput)
#include "tst_cssoutput.moc"

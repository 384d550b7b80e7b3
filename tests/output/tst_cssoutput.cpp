#include "output/cssoutput.h"

#include <QTest>

class TestCssOutput : public QObject {
    Q_OBJECT
private slots:
    void defaults()
    {
        const PageColors colors{QStringLiteral("#DCDCDC"), QStringLiteral("#0A0A0A"), QStringLiteral("#0000EE"),
                                QStringLiteral("#551A8B"), QStringLiteral("#EE0000"), QString()};
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
        PageColors colors{QStringLiteral("#000000"), QStringLiteral("#FFFFFF"),
                          QStringLiteral("#0000EE"), QStringLiteral("#551A8B"),
                          QStringLiteral("#EE0000"), QStringLiteral("my \"best\" back\\ground\n.gif")};
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

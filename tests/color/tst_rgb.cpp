#include "color/packedcolor.h"
#include "color/rgb.h"
#include "color/valuetext.h"

#include <QTest>

class TestRgb : public QObject {
    Q_OBJECT
private slots:
    void hexDigits_data()
    {
        QTest::addColumn<int>("component");
        QTest::addColumn<QString>("two");
        for (auto [v, text] : std::initializer_list<std::pair<int, const char *>>{
                 {0, "00"}, {9, "09"}, {15, "0F"}, {16, "10"}, {160, "A0"}, {171, "AB"}, {255, "FF"}})
            QTest::newRow(text) << v << QString::fromLatin1(text);
    }
    void hexDigits()
    {
        QFETCH(int, component);
        QFETCH(QString, two);
        QCOMPARE(color::twoHexDigits(component), two);
    }
    void hexColor()
    {
        QCOMPARE(color::hexColor(220, 220, 220), QStringLiteral("#DCDCDC"));
        QCOMPARE(color::hexColor(10, 10, 10), QStringLiteral("#0A0A0A"));
        QCOMPARE(color::hexColor(0, 0, 238), QStringLiteral("#0000EE"));
        QCOMPARE(color::hexColor(85, 26, 139), QStringLiteral("#551A8B"));
        QCOMPARE(color::hexColor(238, 0, 0), QStringLiteral("#EE0000"));
        QCOMPARE(color::hexColor(0, 0, 0), QStringLiteral("#000000"));
        QCOMPARE(color::hexColor(255, 255, 255), QStringLiteral("#FFFFFF"));
        QCOMPARE(color::hexColor(15, 16, 0), QStringLiteral("#0F1000"));
        for (int v = 0; v < 256; ++v) {
            const QString text = color::hexColor(v, 255 - v, v / 2);
            QCOMPARE(text.size(), 7);
            QCOMPARE(text, text.toUpper());
        }
    }
    void packed()
    {
        QCOMPARE(color::packedColor(15, 16, 0), 4111);
        QCOMPARE(color::fromPacked(color::packedColor(1, 2, 3)), QColor(1, 2, 3));
    }
    void splitter_data()
    {
        QTest::addColumn<qint32>("packed");
        QTest::addColumn<int>("red");
        QTest::addColumn<int>("green");
        QTest::addColumn<int>("blue");
        QTest::newRow("mixed") << qint32(86 + 256 * 52 + 65536 * 18) << 86 << 52 << 18;
        QTest::newRow("white") << qint32(16777215) << 255 << 255 << 255;
        QTest::newRow("black") << qint32(0) << 0 << 0 << 0;
        // Division truncates toward zero: not the same as a shift.
        QTest::newRow("minus one") << qint32(-1) << 255 << 0 << 0;
        QTest::newRow("minus 65537") << qint32(-65537) << 255 << 0 << 255;
    }
    void splitter()
    {
        QFETCH(qint32, packed);
        RGB split;
        QCOMPARE(int(split.Red()), 0);
        split.setColor(packed);
        QTEST(int(split.Red()), "red");
        QTEST(int(split.Green()), "green");
        QTEST(int(split.Blue()), "blue");
    }
    void valueText()
    {
        QVERIFY(color::isDecimalDigits(QStringLiteral("007")));
        QVERIFY(!color::isDecimalDigits(QString()));
        QVERIFY(!color::isDecimalDigits(QStringLiteral("1 2")));
        QVERIFY(!color::isDecimalDigits(QStringLiteral("-1")));
        QVERIFY(!color::isDecimalDigits(QStringLiteral("\u0663"))); // Arabic-Indic three
        QVERIFY(!color::atLeast255(QStringLiteral("254")));
        QVERIFY(color::atLeast255(QStringLiteral("255")));
        QVERIFY(color::atLeast255(QStringLiteral("300")));
        QVERIFY(!color::atLeast255(QStringLiteral("000000000099")));
        QVERIFY(color::atLeast255(QStringLiteral("1000")));
        QVERIFY(color::atLeast255(QStringLiteral("99999999999999999999999999999999")));
        QCOMPARE(color::pastedDigits(QStringLiteral(" 128\t")), std::optional<QString>(QStringLiteral("128")));
        QCOMPARE(color::pastedDigits(QStringLiteral("12.5")), std::nullopt);
        QCOMPARE(color::pastedDigits(QStringLiteral("-4")), std::nullopt);
        QCOMPARE(color::pastedDigits(QStringLiteral("  ")), std::nullopt);
        QCOMPARE(color::pastedDigits(QStringLiteral("0x1F")), std::nullopt);
    }
};

QTEST_APPLESS_MAIN(TestRgb)
#include "tst_rgb.moc"

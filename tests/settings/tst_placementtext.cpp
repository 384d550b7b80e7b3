#include "settings/placementtext.h"

#include <QTest>

using namespace settings;

class tst_placementtext : public QObject {
    Q_OBJECT
private slots:
    void numbersFromText_data();
    void numbersFromText();
    void textOfNumbers();
    void twipsToWholePixels();
    void centringRoundsHalfToEvenThenHalvesTowardZero();
};

void tst_placementtext::numbersFromText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<float>("value");
    QTest::newRow("whole") << "1155" << true << 1155.0F;
    QTest::newRow("negative") << "-60" << true << -60.0F;
    QTest::newRow("plus") << "+45" << true << 45.0F;
    QTest::newRow("blanks") << "  300 " << true << 300.0F;
    QTest::newRow("fraction") << "12.5" << true << 12.5F;
    QTest::newRow("leading point") << ".5" << true << 0.5F;
    QTest::newRow("exponent") << "1.5E3" << true << 1500.0F;
    QTest::newRow("error text") << "Error" << false << 0.0F;
    QTest::newRow("empty") << "" << false << 0.0F;
    QTest::newRow("blank") << "   " << false << 0.0F;
    QTest::newRow("sign only") << "-" << false << 0.0F;
    QTest::newRow("trailing letters") << "12abc" << false << 0.0F;
    QTest::newRow("two numbers") << "12 34" << false << 0.0F;
    QTest::newRow("bare exponent") << "1e" << false << 0.0F;
    QTest::newRow("infinity") << "inf" << false << 0.0F;
    QTest::newRow("not a number") << "nan" << false << 0.0F;
    QTest::newRow("hexadecimal") << "0x10" << false << 0.0F;
    QTest::newRow("beyond single precision") << "1e39" << false << 0.0F;
}

void tst_placementtext::numbersFromText()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(float, value);
    const auto converted = textToSingle(text.toStdString());
    QCOMPARE(converted.has_value(), ok);
    if (ok)
        QCOMPARE(*converted, value);
}

void tst_placementtext::textOfNumbers()
{
    QCOMPARE(singleToText(1155.0F), std::string("1155"));
    QCOMPARE(singleToText(-60.0F), std::string("-60"));
    QCOMPARE(singleToText(0.0F), std::string("0"));
    QCOMPARE(singleToText(-0.0F), std::string("0"));
    QCOMPARE(singleToText(12.5F), std::string("12.5"));
    // What is written reads back as the same number.
    for (const float v : {1155.0F, -60.0F, 40000.0F, 0.25F, -7.75F})
        QCOMPARE(textToSingle(singleToText(v)).value_or(-1.0F), v);
}

void tst_placementtext::twipsToWholePixels()
{
    QCOMPARE(twipsToPixels(1155.0F).value_or(-1), 77);
    QCOMPARE(twipsToPixels(-45.0F).value_or(0), -3);
    QCOMPARE(twipsToPixels(1000.0F).value_or(-1), 67);
    QVERIFY(!twipsToPixels(1e30F).has_value());
}

void tst_placementtext::centringRoundsHalfToEvenThenHalvesTowardZero()
{
    QCOMPARE(centredOffset(109, 100), 4);
    QCOMPARE(centredOffset(110, 100), 5);
    QCOMPARE(centredOffset(108.5, 100), 4); // 8.5 -> 8
    QCOMPARE(centredOffset(109.5, 100), 5); // 9.5 -> 10
    QCOMPARE(centredOffset(110.5, 100), 5); // 10.5 -> 10
    QCOMPARE(centredOffset(100, 109), -4);  // toward zero, not down
    QCOMPARE(centredOffset(12000, 7020), 2490);
}

QTEST_APPLESS_MAIN(tst_placementtext)
#include "tst_placementtext.moc"

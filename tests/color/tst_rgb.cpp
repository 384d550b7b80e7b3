#include "color/colorset.h"
#include "color/packedcolor.h"
#include "color/rgb.h"
#include "color/valuetext.h"

#include <QSignalSpy>
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

    // The color set: a picture locks the back color, and each real change is
    // said once, after it.
    void colorSetStartsWithTheDefaults()
    {
        const ColorSet set;
        for (const ColorTargetInfo &t : colorTargets) {
            QCOMPARE(set.color(t.target), t.defaultColor);
            QVERIFY(set.isEditable(t.target));
        }
        QVERIFY(!set.hasPicture());
        QCOMPARE(set.pictureFile(), QString());
    }
    void colorSetChanges_data()
    {
        QTest::addColumn<int>("target");
        QTest::addColumn<bool>("picture");
        QTest::addColumn<bool>("taken");
        for (const ColorTargetInfo &t : colorTargets) {
            const QByteArray name(t.attribute);
            QTest::newRow(name) << int(t.target) << false << true;
            QTest::newRow(name + " under a picture") << int(t.target) << true << (t.target != ColorTarget::Back);
        }
    }
    void colorSetChanges()
    {
        QFETCH(int, target);
        QFETCH(bool, picture);
        QFETCH(bool, taken);
        const auto t = ColorTarget(target);
        ColorSet set;
        if (picture)
            set.setPicture(QStringLiteral("/pics/stone.gif"));
        QSignalSpy changes(&set, &ColorSet::colorChanged);
        QSignalSpy pictures(&set, &ColorSet::pictureChanged);
        const color::Rgb before = set.color(t);
        const color::Rgb other{1, 2, 3};
        QCOMPARE(set.isEditable(t), taken);
        QCOMPARE(set.setColor(t, other), taken);
        QCOMPARE(set.color(t), taken ? other : before);
        QCOMPARE(changes.size(), taken ? 1 : 0);
        if (taken)
            QCOMPARE(changes[0][0].value<ColorTarget>(), t);
        // The same color again is no change, though it is taken.
        QCOMPARE(set.setColor(t, set.color(t)), taken);
        QCOMPARE(changes.size(), taken ? 1 : 0);
        // Undo gives every target its color, the locked one too; once.
        const color::Rgb restored{200, 100, 0};
        set.restoreColor(t, restored);
        set.restoreColor(t, restored);
        QCOMPARE(set.color(t), restored);
        QCOMPARE(changes.size(), taken ? 2 : 1);
        QCOMPARE(changes.constLast()[0].value<ColorTarget>(), t);
        // The other targets never moved.
        for (const ColorTargetInfo &o : colorTargets)
            if (o.target != t)
                QCOMPARE(set.color(o.target), o.defaultColor);
        QCOMPARE(set.hasPicture(), picture);
        QCOMPARE(pictures.size(), 0);
    }
    void colorSetPicture()
    {
        ColorSet set;
        QSignalSpy pictures(&set, &ColorSet::pictureChanged);
        QSignalSpy files(&set, &ColorSet::pictureFileChanged);
        QSignalSpy changes(&set, &ColorSet::colorChanged);
        const QString first = QStringLiteral("/pics/stone.gif");
        const QString second = QStringLiteral("/pics/sky.png");
        set.setPicture(first);
        set.setPicture(first);
        QCOMPARE(pictures.size(), 1);
        QCOMPARE(files.size(), 1);
        QCOMPARE(set.picture(), first);
        QCOMPARE(set.pictureFile(), first);
        QVERIFY(!set.isEditable(ColorTarget::Back));
        set.setPicture(second);
        QCOMPARE(pictures.size(), 2);
        QCOMPARE(files.size(), 2);
        QCOMPARE(set.pictureFile(), second);
        // A clear keeps the last file; a second clear is no change.
        set.setPicture({});
        set.setPicture({});
        QCOMPARE(pictures.size(), 3);
        QCOMPARE(files.size(), 2);
        QVERIFY(!set.hasPicture());
        QVERIFY(set.isEditable(ColorTarget::Back));
        QCOMPARE(set.pictureFile(), second);
        QVERIFY(set.setColor(ColorTarget::Back, {0, 0, 0}));
        // Undo of a clear brings back the file the state field showed then.
        set.restorePictureFile(first);
        set.restorePictureFile(first);
        QCOMPARE(files.size(), 3);
        QCOMPARE(pictures.size(), 3);
        QCOMPARE(set.pictureFile(), first);
        QVERIFY(!set.hasPicture());
        // The same picture again after a clear is a change.
        set.setPicture(first);
        QCOMPARE(pictures.size(), 4);
        QCOMPARE(files.size(), 3);
        QCOMPARE(changes.size(), 1);
    }
};

QTEST_APPLESS_MAIN(TestRgb)
#include "tst_rgb.moc"

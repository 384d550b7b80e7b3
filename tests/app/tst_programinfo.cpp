#include "app/programinfo.h"

#include <QTest>

class TestProgramInfo : public QObject {
    Q_OBJECT
private slots:
    void versionLine()
    {
        QCOMPARE(programinfo::versionLine(2, 0, 2), QStringLiteral("Version 2.0.2"));
        QCOMPARE(programinfo::versionLine(10, 0, 7), QStringLiteral("Version 10.0.7"));
        // This build's own numbers.
        QCOMPARE(programinfo::versionLine(), QStringLiteral("Version 2.0.2"));
    }

    void noticeLineEndsInTheYearGiven()
    {
        QCOMPARE(programinfo::noticeLine(2026), QStringLiteral("Copyright (c) 1999 - 2026"));
        QCOMPARE(programinfo::noticeLine(1999), QStringLiteral("Copyright (c) 1999 - 1999"));
        QCOMPARE(programinfo::noticeLine(812), QStringLiteral("Copyright (c) 1999 - 0812"));
    }

    void noticeLineReadsTheClockEachTime()
    {
        int reads = 0;
        QDate now(2031, 12, 31);
        const programinfo::Clock clock = [&] {
            ++reads;
            return now;
        };
        QCOMPARE(programinfo::noticeLine(clock), QStringLiteral("Copyright (c) 1999 - 2031"));
        now = now.addDays(1);
        QCOMPARE(programinfo::noticeLine(clock), QStringLiteral("Copyright (c) 1999 - 2032"));
        QCOMPARE(reads, 2);
        QCOMPARE(programinfo::systemToday(), QDate::currentDate());
    }

    void fixedTexts()
    {
        QCOMPARE(programinfo::programTitle(), QStringLiteral("Dudovuvov"));
        QVERIFY(!programinfo::holderName().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestProgramInfo)
#include "tst_programinfo.moc"

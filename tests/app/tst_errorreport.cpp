#include "app/errorreport.h"

#include <QTest>

class TestErrorReport : public QObject {
    Q_OBJECT
private slots:
    void text_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("expected");
        QTest::newRow("339") << 339
                             << QStringLiteral("An Error was generated:\r\nDescription: Error 339 - Broken\r\n\r\n"
                                               "Re-install the program to fix this.");
        QTest::newRow("50003") << 50003
                               << QStringLiteral("An Error was generated:\r\nDescription: Error 50003 - Broken\r\n\r\n"
                                                 "Re-install the program to fix this, or get the latest vbruntimes "
                                                 "at Zudedidu.");
        QTest::newRow("7") << 7
                           << QStringLiteral("An Error was generated:\r\nDescription: Error 7 - Broken\r\n\r\n"
                                             "Please inform the author with the error description above.");
        QTest::newRow("negative") << -2147024894
                                  << QStringLiteral("An Error was generated:\r\nDescription: Error-2147024894 - "
                                                    "Broken\r\n\r\nPlease inform the author with the error "
                                                    "description above.");
        QTest::newRow("zero") << 0
                              << QStringLiteral("An Error was generated:\r\nDescription: Error 0 - Broken\r\n\r\n"
                                                "Please inform the author with the error description above.");
    }
    void text()
    {
        QFETCH(int, number);
        QFETCH(QString, expected);
        QCOMPARE(errorReportText(number, QStringLiteral("Broken")), expected);
    }
};

QTEST_GUILESS_MAIN(TestErrorReport)
#include "tst_errorreport.moc"

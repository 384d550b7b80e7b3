#include "app/commandline.h"

#include <QTest>

namespace {
QStringList args(std::initializer_list<const char *> list)
{
    QStringList result{QStringLiteral("/usr/bin/dudovuvov")};
    for (const char *a : list)
        result << QString::fromLatin1(a);
    return result;
}
} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void noArgumentsStartsQuietly()
    {
        for (bool pending : {true, false}) {
            const CommandLineOutcome o = readCommandLine(args({}), pending);
            QVERIFY(o.run);
            QVERIFY(o.output.isEmpty());
            QVERIFY(o.error.isEmpty());
        }
    }

    void versionAndHelpEndWithoutStarting_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("help");
        QTest::newRow("--version") << args({"--version"}) << false;
        QTest::newRow("-v") << args({"-v"}) << false;
        QTest::newRow("--help") << args({"--help"}) << true;
        QTest::newRow("-h") << args({"-h"}) << true;
        // Help wins over anything else on the line, even a mistake.
        QTest::newRow("help beside unknown") << args({"--bogus", "--help"}) << true;
        QTest::newRow("version beside argument") << args({"file", "--version"}) << false;
    }
    void versionAndHelpEndWithoutStarting()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, help);
        const CommandLineOutcome o = readCommandLine(arguments, true);
        QVERIFY(!o.run);
        QCOMPARE(o.exitCode, 0);
        QVERIFY(o.error.isEmpty());
        if (help) {
            QVERIFY(o.output.startsWith(QLatin1String("Usage: dudovuvov [options]\n")));
            QVERIFY(o.output.contains(QLatin1String("--version")));
            QVERIFY(!o.output.contains(QLatin1String("<executable_name>")));
        } else {
            QCOMPARE(o.output, QStringLiteral("Dudovuvov 2.0.2\n"));
        }
    }

    void mistakesEndWithCodeTwo_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown long") << args({"--bogus"}) << QStringLiteral("Unknown option 'bogus'.");
        QTest::newRow("unknown short") << args({"-q"}) << QStringLiteral("Unknown option 'q'.");
        QTest::newRow("argument") << args({"page.htm"}) << QStringLiteral("Unexpected argument 'page.htm'.");
        QTest::newRow("words after one dash") << args({"-hv"}) << QStringLiteral("Unknown option 'hv'.");
    }
    void mistakesEndWithCodeTwo()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        for (bool pending : {true, false}) {
            const CommandLineOutcome o = readCommandLine(arguments, pending);
            QVERIFY(!o.run);
            QCOMPARE(o.exitCode, 2);
            QVERIFY(o.output.isEmpty());
            QCOMPARE(o.error,
                     QStringLiteral("dudovuvov: %1\nTry 'dudovuvov --help' for more information.\n").arg(message));
        }
    }

    // The toolkit's own options are left to it while it has not started, and
    // a mistake beside them is caught on the second reading.
    void toolkitOptionsWaitForTheToolkit()
    {
        QVERIFY(readCommandLine(args({"-platform", "offscreen"}), true).run);
        QVERIFY(readCommandLine(args({"--style=fusion"}), true).run);
        QVERIFY(readCommandLine(args({"-reverse", "--bogus"}), true).run);
        // What the toolkit left over is read strictly.
        QCOMPARE(readCommandLine(args({"--bogus"}), false).exitCode, 2);
        QVERIFY(!readCommandLine(args({"-platformx"}), true).run);
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"

#include "platform/filefilter.h"
#include "platform/qtdesktop.h"
#include "testsupport.h"

#include <QProcess>

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    void nameFilters()
    {
        QCOMPARE(platform::qtNameFilters(QStringLiteral("All Files (*.*)|*.*|")),
                 QStringList{QStringLiteral("All Files (*.*) (*)")});
        QCOMPARE(platform::qtNameFilters(QStringLiteral("*.htm *.html")), QStringList{QStringLiteral("*.htm *.html")});
        QCOMPARE(platform::qtNameFilters(QStringLiteral("Pictures|*.gif;*.jpg|Text|*.txt")),
                 (QStringList{QStringLiteral("Pictures (*.gif *.jpg)"), QStringLiteral("Text (*.txt)")}));
        QVERIFY(platform::qtNameFilters(QString()).isEmpty());
    }

    void defaultExtension()
    {
        QCOMPARE(platform::withDefaultExtension(QStringLiteral("/tmp/page"), QStringLiteral("htm")),
                 QStringLiteral("/tmp/page.htm"));
        QCOMPARE(platform::withDefaultExtension(QStringLiteral("/tmp/page.html"), QStringLiteral("htm")),
                 QStringLiteral("/tmp/page.html"));
        QCOMPARE(platform::withDefaultExtension(QStringLiteral("/tmp/my.dir/page"), QStringLiteral("htm")),
                 QStringLiteral("/tmp/my.dir/page.htm"));
        QCOMPARE(platform::withDefaultExtension(QStringLiteral("/tmp/page"), QString()), QStringLiteral("/tmp/page"));
    }

    void scriptedDialogsAnswerInOrderAndRecord()
    {
        testsupport::Environment env;
        platform::CommonDialog dialog(QStringLiteral("CommonDialog1"), nullptr);
        env.desktop.answerColor(0x123456);
        env.desktop.cancel(platform::ScriptedDesktop::Kind::Color);
        QVERIFY(dialog.ShowColor());
        QCOMPARE(dialog.Color, 0x123456);
        QVERIFY(!dialog.ShowColor());
        QCOMPARE(dialog.Color, 0x123456);
        QCOMPARE(env.desktop.prompts.size(), 2);
        QCOMPARE(env.desktop.prompts[1].color, 0x123456);
        // An unscripted prompt is cancelled and recorded, never waited on.
        QVERIFY(!dialog.ShowOpen());
        QCOMPARE(env.desktop.unscripted, QStringList{QStringLiteral("open dialog CommonDialog1")});
    }

    void instanceLock()
    {
        testsupport::Environment env;
        platform::QtDesktop first;
        QVERIFY(!first.earlierInstanceRunning());
        platform::QtDesktop second;
        QVERIFY(second.earlierInstanceRunning());
    }

    void lockOfAKilledCopyDoesNotBlock()
    {
        testsupport::Environment env;
        QProcess holder;
        holder.start(QStringLiteral(LOCKHOLDER));
        QVERIFY(holder.waitForReadyRead(10000));
        QCOMPARE(holder.readAll().trimmed(), QByteArray("locked"));
        {
            platform::QtDesktop whileAlive;
            QVERIFY(whileAlive.earlierInstanceRunning());
        }
        holder.kill(); // SIGKILL: the lock file stays behind
        QVERIFY(holder.waitForFinished(10000));
        QVERIFY(QFile::exists(platform::instanceLockPath()));
        platform::QtDesktop next;
        QVERIFY(!next.earlierInstanceRunning());
    }

    void unwritableRuntimeFolderStillStarts()
    {
        testsupport::Environment env;
        qputenv("XDG_RUNTIME_DIR", "/nonexistent/run");
        platform::QtDesktop desktop;
        QVERIFY(!desktop.earlierInstanceRunning());
    }
};

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"

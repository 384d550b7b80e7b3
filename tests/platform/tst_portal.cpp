// The desktop portal's color picker over D-Bus, answered by a fake portal on
// a private session bus: a color, a cancel, a refusal and no portal at all.
#include "platform/qtdesktop.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QProcess>
#include <QTest>

#include <optional>

class TestPortal : public QObject {
    Q_OBJECT

    QProcess m_bus;
    QProcess m_portal;

    struct Answer {
        platform::Desktop::PickAnswer answer;
        QRgb color;
    };
    std::optional<Answer> pick()
    {
        platform::QtDesktop desktop;
        std::optional<Answer> heard;
        bool early = true;
        desktop.pickColorFromDesktop(nullptr, [&](platform::Desktop::PickAnswer a, QRgb c) {
            if (early)
                qWarning("answered before the call returned");
            heard = Answer{a, c};
        });
        early = false;
        for (int i = 0; i < 500 && !heard; ++i)
            QTest::qWait(10);
        return heard;
    }
    void startPortal(const char *mode)
    {
        // The system's Python, which has the Debian packages for D-Bus.
        m_portal.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral(FAKE_PORTAL), QLatin1String(mode)});
        QVERIFY(m_portal.waitForStarted());
        QDBusConnectionInterface *bus = QDBusConnection::sessionBus().interface();
        QTRY_VERIFY_WITH_TIMEOUT(bus->isServiceRegistered(QStringLiteral("org.freedesktop.portal.Desktop")), 10000);
    }

private slots:
    void initTestCase()
    {
        // A bus of our own, before anything connects to the session bus.
        m_bus.start(QStringLiteral("dbus-daemon"),
                    {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address")});
        QVERIFY(m_bus.waitForReadyRead(10000));
        const QByteArray address = m_bus.readLine().trimmed();
        QVERIFY(!address.isEmpty());
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);
        QVERIFY(QDBusConnection::sessionBus().isConnected());
    }
    void cleanup()
    {
        m_portal.kill();
        m_portal.waitForFinished();
    }
    void cleanupTestCase()
    {
        m_bus.kill();
        m_bus.waitForFinished();
    }

    void colorIsRoundedToBytes()
    {
        startPortal("color");
        const auto heard = pick();
        QVERIFY(heard);
        QCOMPARE(heard->answer, platform::Desktop::PickAnswer::Picked);
        QCOMPARE(QColor(heard->color).name(), QStringLiteral("#8040ff"));
    }
    void cancelIsCancelled()
    {
        startPortal("cancel");
        const auto heard = pick();
        QVERIFY(heard);
        QCOMPARE(heard->answer, platform::Desktop::PickAnswer::Cancelled);
    }
    void otherEndingIsUnavailable()
    {
        startPortal("fail");
        const auto heard = pick();
        QVERIFY(heard);
        QCOMPARE(heard->answer, platform::Desktop::PickAnswer::Unavailable);
    }
    void noPortalIsUnavailable()
    {
        const auto heard = pick();
        QVERIFY(heard);
        QCOMPARE(heard->answer, platform::Desktop::PickAnswer::Unavailable);
    }
};

QTEST_MAIN(TestPortal)
#include "tst_portal.moc"

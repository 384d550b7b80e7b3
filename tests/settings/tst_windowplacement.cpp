#include "app/frmmain.h"
#include "settings/filebackend.h"
#include "settings/registry.h"
#include "settings/windowplacement.h"
#include "testsupport.h"

#include <QPushButton>
#include <QScreen>
#include <QWindow>

using testsupport::control;
using testsupport::Store;

namespace {

// A program start on the settings of `env`.
std::unique_ptr<frmmain> start()
{
    auto window = std::make_unique<frmmain>();
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        qWarning("main window was not exposed");
    return window;
}

// A window that a window manager frames only on its way to the screen: it
// is placed while it has no frame yet, as the main window is before it first
// shows; the frame then comes with its corner where the window was put.
struct FramedLater {
    FramedLater()
    {
        window.setWindowFlag(Qt::FramelessWindowHint);
        window.setFixedSize(468, 362);
        placement.RestoreWindowPlacement();
        QWindow *native = window.windowHandle();
        if (native == nullptr)
            return;
        native->setFlags(native->flags() & ~Qt::FramelessWindowHint);
        native->setFramePosition(window.geometry().topLeft());
        // As the window system then tells the window where it is.
        window.setGeometry(native->geometry());
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qWarning("window was not exposed");
    }
    QWidget window;
    WindowPlacement placement{window};
};

// Where the window stands centred on the primary screen.
QPoint centred(const QWidget &window)
{
    const QRect screen = window.screen()->geometry();
    const QSize outer = window.frameGeometry().size();
    return {(screen.width() - outer.width()) / 2, (screen.height() - outer.height()) / 2};
}

} // namespace

class tst_windowplacement : public QObject {
    Q_OBJECT
private slots:
    void firstStartKeepsTheDesignPositionAndCreatesTheKey();
    void storedPositionIsRestored_data();
    void storedPositionIsRestored();
    void negativePositionIsCentred_data();
    void negativePositionIsCentred();
    void valueThatIsNotANumberIsSkipped_data();
    void valueThatIsNotANumberIsSkipped();
    void positionOffEveryScreenIsCentred();
    void partlyVisiblePositionIsKept();
    void closingStoresThePosition();
    void closingStoresNothing_data();
    void closingStoresNothing();
};

void tst_windowplacement::firstStartKeepsTheDesignPositionAndCreatesTheKey()
{
    testsupport::Environment env;
    auto window = start();
    QCOMPARE(window->pos(), QPoint(77, 51));
    QVERIFY(window->pos() != centred(*window));
    Store store;
    settings::RegistryBackend::Key key = 0;
    QCOMPARE(store.backend.openKey(0x80000001, "Software\\Zudedidu\\Dudovuvov", settings::KEY_READ_ACCESS, key), 0L);
    store.backend.closeKey(key);
    QCOMPARE(store.read("Top"), std::string("Error"));
    QVERIFY(env.desktop.messages.isEmpty());
}

void tst_windowplacement::storedPositionIsRestored_data()
{
    QTest::addColumn<QString>("top");
    QTest::addColumn<QString>("left");
    QTest::addColumn<QPoint>("at");
    QTest::newRow("inside") << "1200"
                            << "1500" << QPoint(100, 80);
    // The screen's edge itself is a place like any other, not a negative one.
    QTest::newRow("left 0") << "1200"
                            << "0" << QPoint(0, 80);
    QTest::newRow("top 0") << "0"
                           << "1500" << QPoint(100, 0);
    QTest::newRow("both 0") << "0"
                            << "0" << QPoint(0, 0);
}

void tst_windowplacement::storedPositionIsRestored()
{
    QFETCH(QString, top);
    QFETCH(QString, left);
    QFETCH(QPoint, at);
    testsupport::Environment env;
    Store().write("Top", top.toStdString());
    Store().write("Left", left.toStdString());
    auto window = start();
    QCOMPARE(window->pos(), at);
    QVERIFY(window->pos() != centred(*window));
}

void tst_windowplacement::negativePositionIsCentred_data()
{
    QTest::addColumn<QString>("top");
    QTest::addColumn<QString>("left");
    QTest::addColumn<bool>("framedLater");
    QTest::newRow("top") << "-45"
                         << "300" << false;
    QTest::newRow("left") << "300"
                          << "-60" << false;
    QTest::newRow("both") << "-15"
                          << "-15" << false;
    // Less than half a pixel: negative as stored, though it rounds to pixel 0.
    QTest::newRow("top -1") << "-1"
                            << "300" << false;
    QTest::newRow("left -7") << "300"
                             << "-7" << false;
    // By the outer size once the frame is known, not by the bare window.
    QTest::newRow("top, framed later") << "-45"
                                       << "300" << true;
    QTest::newRow("left, framed later") << "300"
                                        << "-60" << true;
}

void tst_windowplacement::negativePositionIsCentred()
{
    QFETCH(QString, top);
    QFETCH(QString, left);
    QFETCH(bool, framedLater);
    testsupport::Environment env;
    Store().write("Top", top.toStdString());
    Store().write("Left", left.toStdString());
    if (framedLater) {
        FramedLater framed;
        QVERIFY(framed.window.frameGeometry().size() != framed.window.size());
        QCOMPARE(framed.window.pos(), centred(framed.window));
        return;
    }
    auto window = start();
    QCOMPARE(window->pos(), centred(*window));
    QVERIFY(window->pos().x() > 0 && window->pos().y() > 0);
}

void tst_windowplacement::valueThatIsNotANumberIsSkipped_data()
{
    QTest::addColumn<QString>("top");
    QTest::newRow("letters") << "abc";
    QTest::newRow("empty") << "";
    QTest::newRow("trailing letters") << "600px";
    QTest::newRow("stored error") << "Error";
}

void tst_windowplacement::valueThatIsNotANumberIsSkipped()
{
    QFETCH(QString, top);
    testsupport::Environment env;
    Store().write("Top", top.toStdString());
    Store().write("Left", "300");
    auto window = start();
    QCOMPARE(window->pos(), QPoint(20, 51));
}

void tst_windowplacement::positionOffEveryScreenIsCentred()
{
    testsupport::Environment env;
    Store().write("Top", "200");
    Store().write("Left", "40000");
    auto window = start();
    QCOMPARE(window->pos(), centred(*window));
}

void tst_windowplacement::partlyVisiblePositionIsKept()
{
    testsupport::Environment env;
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const int left = screen.right() - 40;
    Store().write("Top", "200");
    Store().write("Left", std::to_string(left * 15));
    auto window = start();
    QCOMPARE(window->pos(), QPoint(left, 13));
}

void tst_windowplacement::closingStoresThePosition()
{
    testsupport::Environment env;
    auto window = start();
    window->move(100, 80);
    QTest::mouseClick(control<QPushButton>(window.get(), "cmdexit"), Qt::LeftButton);
    QVERIFY(!window->isVisible());
    QCOMPARE(Store().read("Top"), std::string("1200"));
    QCOMPARE(Store().read("Left"), std::string("1500"));

    auto again = start();
    QCOMPARE(again->pos(), QPoint(100, 80));
}

void tst_windowplacement::closingStoresNothing_data()
{
    QTest::addColumn<bool>("placesWindows");
    QTest::newRow("while minimized") << true;
    // As on Wayland: a window's place can be neither set nor read there.
    QTest::newRow("where the platform cannot place windows") << false;
}

void tst_windowplacement::closingStoresNothing()
{
    QFETCH(bool, placesWindows);
    testsupport::Environment env;
    struct Platform {
        explicit Platform(bool places) { WindowPlacement::assumePlatformPlacesWindows(places); }
        ~Platform() { WindowPlacement::assumePlatformPlacesWindows(std::nullopt); }
    } platform(placesWindows);
    Store().write("Top", "1200");
    Store().write("Left", "1500");
    const QString file = settings::FileRegistryBackend::defaultFilePath();
    QFile stored(file);
    QVERIFY(stored.open(QIODevice::ReadOnly));
    const QByteArray before = stored.readAll();
    stored.close();
    auto window = start();
    QCOMPARE(window->pos(), placesWindows ? QPoint(100, 80) : QPoint(77, 51));
    window->move(300, 200);
    if (placesWindows) {
        window->showMinimized();
        QVERIFY(window->isMinimized());
    }
    window->close();
    QVERIFY(stored.open(QIODevice::ReadOnly));
    QCOMPARE(stored.readAll(), before);
}

QTEST_MAIN(tst_windowplacement)
#include "tst_windowplacement.moc"

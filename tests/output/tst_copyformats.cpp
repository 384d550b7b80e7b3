#include "app/frmmain.h"
#include "testsupport.h"

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

using testsupport::control;

class TestCopyFormats : public QObject {
    Q_OBJECT
private slots:
    void eachFormatFromTheButtonsMenu_data()
    {
        QTest::addColumn<int>("entry");
        QTest::addColumn<QString>("copied");
        QTest::newRow("#RRGGBB") << 0 << QStringLiteral("#551A8B");
        QTest::newRow("#rrggbb") << 1 << QStringLiteral("#551a8b");
        QTest::newRow("RRGGBB") << 2 << QStringLiteral("551A8B");
        QTest::newRow("rgb()") << 3 << QStringLiteral("rgb(85, 26, 139)");
    }
    void eachFormatFromTheButtonsMenu()
    {
        QFETCH(int, entry);
        QFETCH(QString, copied);
        testsupport::MainWindow w;
        auto *button = control<QPushButton>(w.window.get(), "cmdCOPYvisitedlink");
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), button->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(button, &event);
        auto *menu = control<QMenu>(button, "cmdCOPYvisitedlinkFormats");
        QVERIFY(menu);
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(menu->actions().size(), 4);
        for (int i = 0; i <= entry; ++i)
            QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Return);
        QTRY_COMPARE(w.env.desktop.clipboard, copied);
        QCOMPARE(QApplication::focusWidget(), control<QWidget>(w.window.get(), "cmdtag"));
        // The menu copied; the colors stay as they were.
        QCOMPARE(control<QLineEdit>(w.window.get(), "txtvisitedlink")->text(), QStringLiteral("#551A8B"));
    }
};

QTEST_MAIN(TestCopyFormats)
#include "tst_copyformats.moc"

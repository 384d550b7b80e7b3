#include "app/frmmain.h"
#include "color/colorset.h"
#include "output/frmtag.h"
#include "testsupport.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
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
        QTest::newRow("hsl()") << 4 << QStringLiteral("hsl(271.3 68.5% 32.4%)");
        QTest::newRow("oklch()") << 5 << QStringLiteral("oklch(37.8% 0.172 302.2)");
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
        QCOMPARE(menu->actions().size(), 6);
        for (int i = 0; i <= entry; ++i)
            QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Return);
        QTRY_COMPARE(w.env.desktop.clipboard, copied);
        QCOMPARE(QApplication::focusWidget(), control<QWidget>(w.window.get(), "cmdtag"));
        // The menu copied; the colors stay as they were.
        QCOMPARE(control<QLineEdit>(w.window.get(), "txtvisitedlink")->text(), QStringLiteral("#551A8B"));
    }

    void copyAsCssFromTheTagWindow()
    {
        testsupport::MainWindow w;
        testsupport::typeInto(control<QLineEdit>(w.window.get(), "txtred"), QStringLiteral("255"));
        w.window->colors().setPicture(QStringLiteral("a\"b.gif"));
        QTest::mouseClick(control<QWidget>(w.window.get(), "cmdtag"), Qt::LeftButton);
        auto *tag = testsupport::findWindow<frmtag>(*w.window);
        QVERIFY(tag);
        QTRY_VERIFY(tag->isVisible());
        const QString tagText = control<QPlainTextEdit>(tag, "txtTag")->toPlainText();
        const QString expected = QStringLiteral("body {\n  background-color: #FFDCDC;\n  color: #0A0A0A;\n"
                                                "  background-image: url(\"a\\\"b.gif\");\n}\n"
                                                "a:link { color: #0000EE; }\na:visited { color: #551A8B; }\n"
                                                "a:active { color: #EE0000; }\n");

        // From the tag text's context menu, by keyboard: the entry is the last one.
        auto *text = control<QPlainTextEdit>(tag, "txtTag");
        QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5), text->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(text->viewport(), &event);
        QMenu *menu = nullptr;
        QTRY_VERIFY((menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) != nullptr);
        QCOMPARE(menu->actions().constLast()->text(), QStringLiteral("Copy as CSS"));
        QTest::keyClick(menu, Qt::Key_Up);
        QTest::keyClick(menu, Qt::Key_Return);
        QTRY_COMPARE(w.env.desktop.clipboard, expected);

        // And by its shortcut in the window.
        w.env.desktop.clipboard.clear();
        QApplication::setActiveWindow(tag);
        QVERIFY(QTest::qWaitForWindowActive(tag));
        text->setFocus();
        QTest::keyClick(text, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(w.env.desktop.clipboard, expected);
        // The tag itself is untouched.
        QCOMPARE(text->toPlainText(), tagText);
        tag->close();
    }

    // Beside "Copy as CSS", the same style block with the colors in oklch().
    void copyAsCssInOklch()
    {
        testsupport::MainWindow w;
        QTest::mouseClick(control<QWidget>(w.window.get(), "cmdtag"), Qt::LeftButton);
        auto *tag = testsupport::findWindow<frmtag>(*w.window);
        QVERIFY(tag);
        QTRY_VERIFY(tag->isVisible());
        auto *text = control<QPlainTextEdit>(tag, "txtTag");
        QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5), text->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(text->viewport(), &event);
        QMenu *menu = nullptr;
        QTRY_VERIFY((menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) != nullptr);
        auto *oklch = menu->findChild<QAction *>(QStringLiteral("actCopyAsCssOklch"));
        QVERIFY(oklch);
        QCOMPARE(menu->actions().indexOf(oklch), menu->actions().size() - 2);
        // Two steps up from the bottom: past "Copy as CSS" to it.
        QTest::keyClick(menu, Qt::Key_Up);
        QTest::keyClick(menu, Qt::Key_Up);
        QTest::keyClick(menu, Qt::Key_Return);
        QTRY_VERIFY(w.env.desktop.clipboard.startsWith(QStringLiteral("body {\n  background-color: oklch(")));
        QVERIFY(w.env.desktop.clipboard.contains(QStringLiteral("a:visited { color: oklch(37.8% 0.172 302.2); }")));
        QVERIFY(!w.env.desktop.clipboard.contains(u'#'));
        tag->close();
    }
};

QTEST_MAIN(TestCopyFormats)
#include "tst_copyformats.moc"

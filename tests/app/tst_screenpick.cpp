// Taking a color off the screen, in the main window on a scripted desktop:
// its screen is a picture whose every pixel differs from its neighbours.
#include "app/frmmain.h"
#include "color/magnifier.h"
#include "testsupport.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

using testsupport::control;

namespace {

QRgb patternAt(int x, int y)
{
    return qRgb(x & 255, (y * 3) & 255, (x + 7 * y) & 255);
}
QString hexAt(int x, int y)
{
    return QColor(patternAt(x, y)).name().toUpper();
}

QImage patternScreen(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, patternAt(x, y));
    return image;
}

Magnifier *shownMagnifier()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *m = qobject_cast<Magnifier *>(w); m != nullptr && m->isVisible())
            return m;
    return nullptr;
}

QStringList fiveColors(const testsupport::MainWindow &w)
{
    return {w->txtHEXtext->text(), w->txtHEXback->text(), w->txtnewlink->text(), w->txtvisitedlink->text(),
            w->txtactivelink->text()};
}

// Chooses an entry of a context menu the way a person does.
void chooseFrom(QWidget *owner, const char *menuName)
{
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(3, 3), owner->mapToGlobal(QPoint(3, 3)));
    QApplication::sendEvent(owner, &event);
    QMenu *menu = nullptr;
    QTRY_VERIFY((menu = owner->window()->findChild<QMenu *>(QLatin1String(menuName))) != nullptr
                || (menu = owner->findChild<QMenu *>(QLatin1String(menuName))) != nullptr);
    auto *action = menu->findChild<QAction *>(QStringLiteral("actPickFromScreen"));
    if (action == nullptr)
        for (QAction *a : menu->actions())
            if (a->objectName() == QLatin1String("actPickFromScreen"))
                action = a;
    QVERIFY(action != nullptr);
    QCOMPARE(action->text(), QStringLiteral("Pick from screen"));
    QCOMPARE(action->shortcut(), QKeySequence(Qt::ALT | Qt::Key_P));
    action->trigger();
    menu->close();
}

} // namespace

class TestScreenPick : public QObject {
    Q_OBJECT

    std::unique_ptr<testsupport::MainWindow> w;
    platform::ScriptedDesktop *desktop = nullptr;

    void startWith(QPoint pointer)
    {
        w = std::make_unique<testsupport::MainWindow>();
        desktop = &w->env.desktop;
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        desktop->screen = patternScreen(screen.size());
        desktop->screens = {screen};
        desktop->pointer = pointer;
    }
    void pressAltP()
    {
        w->window->activateWindow();
        QTRY_VERIFY(w->window->isActiveWindow());
        QTest::keyClick(w->controls.VScrollRed, Qt::Key_P, Qt::AltModifier);
    }

private slots:
    void cleanup()
    {
        // A pick a failed test left open must not answer the next one.
        while (Magnifier *m = shownMagnifier())
            m->close();
        w.reset();
    }

    // Arrow keys move the pointer one device pixel, ten with Shift; Enter
    // takes the framed pixel for the selected target, as one step.
    void keysMoveThePointerAndEnterTakes()
    {
        startWith({100, 200});
        const QStringList before = fiveColors(*w);
        QVERIFY((*w)->optBACK->isChecked());
        pressAltP();
        Magnifier *m = shownMagnifier();
        QVERIFY(m != nullptr);
        // Only what the magnifier shows is grabbed.
        QCOMPARE(desktop->lastGrab, QRect(95, 195, 11, 11));
        QCOMPARE(m->color(), patternAt(100, 200));
        QTest::keyClick(m, Qt::Key_Right);
        QTest::keyClick(m, Qt::Key_Right);
        QTest::keyClick(m, Qt::Key_Down);
        QTest::keyClick(m, Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(m, Qt::Key_Up, Qt::ShiftModifier);
        QCOMPARE(desktop->pointer, QPoint(112, 191));
        QCOMPARE(m->center(), QPoint(112, 191));
        QCOMPARE(desktop->lastGrab, QRect(107, 186, 11, 11));
        QTest::keyClick(m, Qt::Key_Return);
        QVERIFY(shownMagnifier() == nullptr);
        QCOMPARE((*w)->txtHEXback->text(), hexAt(112, 191));
        QCOMPARE(desktop->beeps, 0);

        // One step back gives the color before.
        QTest::keyClick((*w)->VScrollRed, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(fiveColors(*w), before);
        QTest::keyClick((*w)->VScrollRed, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE((*w)->txtHEXback->text(), hexAt(112, 191));
    }

    // Escape and a right click end the pick and change nothing; Space and a
    // left click take.
    void cancelAndTakeKeysAndButtons()
    {
        startWith({300, 150});
        const QStringList before = fiveColors(*w);
        pressAltP();
        QTest::keyClick(shownMagnifier(), Qt::Key_Left);
        QTest::keyClick(shownMagnifier(), Qt::Key_Escape);
        QVERIFY(shownMagnifier() == nullptr);
        pressAltP();
        QTest::mouseClick(shownMagnifier(), Qt::RightButton);
        QVERIFY(shownMagnifier() == nullptr);
        QCOMPARE(fiveColors(*w), before);
        QCOMPARE(desktop->beeps, 0);

        pressAltP();
        desktop->pointer = {40, 30};
        QTest::mouseMove(shownMagnifier(), QPoint(5, 5));
        QTest::mouseClick(shownMagnifier(), Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(shownMagnifier() == nullptr);
        QCOMPARE((*w)->txtHEXback->text(), hexAt(40, 30));

        (*w)->optTEXT->click();
        pressAltP();
        QTest::keyClick(shownMagnifier(), Qt::Key_Space);
        QCOMPARE((*w)->txtHEXtext->text(), hexAt(40, 30));
    }

    // At the screen's edges the magnifier stays whole on the screen, and the
    // pointer stops at the edge.
    void keptOnScreenAtTheEdges()
    {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        for (const QPoint corner : {screen.topLeft(), screen.bottomRight(), QPoint(screen.right(), screen.top()),
                                    QPoint(screen.left(), screen.bottom())}) {
            startWith(corner);
            pressAltP();
            Magnifier *m = shownMagnifier();
            QVERIFY(m != nullptr);
            QVERIFY2(screen.contains(m->frameGeometry()),
                     qPrintable(QStringLiteral("at %1,%2").arg(corner.x()).arg(corner.y())));
            // Nor over the pixels it shows.
            QVERIFY(!m->frameGeometry().intersects(QRect(corner - QPoint(5, 5), QSize(11, 11))));
            for (const Qt::Key key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down})
                QTest::keyClick(m, key, Qt::ShiftModifier);
            QVERIFY(screen.contains(desktop->pointer));
            QTest::keyClick(m, Qt::Key_Escape);
            w.reset();
        }
    }

    // A swatch's or hex box's menu picks for its own target; the preview's
    // menu offers the pick too, for the selected target.
    void menusPickForTheirTarget()
    {
        startWith({60, 70});
        chooseFrom((*w)->lblhexnewlinkcolor, "mnuSwatch");
        QVERIFY(shownMagnifier() != nullptr);
        QTest::keyClick(shownMagnifier(), Qt::Key_Return);
        QCOMPARE((*w)->txtnewlink->text(), hexAt(60, 70));
        QVERIFY((*w)->optNewlinks->isChecked());

        desktop->pointer = {61, 70};
        chooseFrom((*w)->txtvisitedlink, "mnuHexBox");
        QTest::keyClick(shownMagnifier(), Qt::Key_Return);
        QCOMPARE((*w)->txtvisitedlink->text(), hexAt(61, 70));
        QVERIFY((*w)->optVisitedlinks->isChecked());

        desktop->pointer = {62, 70};
        chooseFrom((*w)->picboxMAIN, "mnuColorVision");
        QTest::keyClick(shownMagnifier(), Qt::Key_Return);
        QCOMPARE((*w)->txtvisitedlink->text(), hexAt(62, 70));
    }

    // Under a background image the back color is refused with a beep, as a
    // pasted one is.
    void coveredBackIsRefused()
    {
        startWith({10, 10});
        QTemporaryDir dir;
        const QString picture = dir.filePath(QStringLiteral("tile.png"));
        QImage tile(4, 4, QImage::Format_RGB32);
        tile.fill(Qt::red);
        QVERIFY(tile.save(picture));
        desktop->answerOpen(picture);
        QTest::mouseClick((*w)->cmdload, Qt::LeftButton);
        QVERIFY(!(*w)->optBACK->isEnabled());
        const QStringList before = fiveColors(*w);
        chooseFrom((*w)->txtHEXback, "mnuHexBox");
        QTest::keyClick(shownMagnifier(), Qt::Key_Return);
        QCOMPARE(desktop->beeps, 1);
        QCOMPARE(fiveColors(*w), before);
        QVERIFY((*w)->optTEXT->isChecked());
    }

    // Where the screen cannot be read the desktop's picker is asked: a color
    // is taken rounded, a cancel is silent, no answer is said.
    void desktopPickerAnswers()
    {
        startWith({0, 0});
        desktop->screenReadable = false;
        desktop->pickAnswers.push_back({platform::Desktop::PickAnswer::Picked, qRgb(1, 128, 255)});
        desktop->pickAnswers.push_back({platform::Desktop::PickAnswer::Cancelled, 0});
        const QStringList before = fiveColors(*w);
        pressAltP();
        QVERIFY(shownMagnifier() == nullptr);
        QTRY_COMPARE((*w)->txtHEXback->text(), QStringLiteral("#0180FF"));
        QTest::keyClick((*w)->VScrollRed, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(fiveColors(*w), before);

        pressAltP();
        QTRY_COMPARE(desktop->desktopPicks, 2);
        QTest::qWait(20);
        pressAltP();
        QTRY_COMPARE(desktop->messages.size(), 1);
        QCOMPARE(desktop->messages[0].text,
                 QStringLiteral("Picking a color from the screen needs the desktop's color picker; none answered."));
        QCOMPARE(desktop->desktopPicks, 3);
        QCOMPARE(fiveColors(*w), before);
        QCOMPARE(desktop->grabs, 0);
    }
};

QTEST_MAIN(TestScreenPick)
#include "tst_screenpick.moc"

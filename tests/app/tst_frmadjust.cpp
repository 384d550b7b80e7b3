#include "app/frmmain.h"
#include "color/colorspaces.h"
#include "color/frmadjust.h"
#include "testsupport.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QSlider>
#include <QTemporaryDir>

#include <cmath>

using testsupport::control;
using testsupport::Store;

namespace {

const char *const sliderNames[] = {"sldHslHue", "sldHslSaturation", "sldHslLightness",
                                   "sldOklchL", "sldOklchC",        "sldOklchH"};
const char *const boxNames[] = {"txtHslHue", "txtHslSaturation", "txtHslLightness",
                                "txtOklchL", "txtOklchC",        "txtOklchH"};
const char *const spokenNames[] = {"HSL hue",         "HSL saturation", "HSL lightness",
                                   "OKLCH lightness", "OKLCH chroma",   "OKLCH hue"};

// The angle between two hues, in degrees.
double hueDistance(double a, double b)
{
    return std::abs(std::remainder(a - b, 360.0));
}

// Opens a context menu and chooses its Adjust entry.
void chooseAdjustFrom(QWidget *owner, const char *menuName)
{
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(3, 3), owner->mapToGlobal(QPoint(3, 3)));
    QApplication::sendEvent(owner, &event);
    QMenu *menu = nullptr;
    QTRY_VERIFY((menu = owner->window()->findChild<QMenu *>(QLatin1String(menuName))) != nullptr
                || (menu = owner->findChild<QMenu *>(QLatin1String(menuName))) != nullptr);
    QAction *action = nullptr;
    for (QAction *a : menu->actions())
        if (a->objectName() == QLatin1String("actAdjust"))
            action = a;
    QVERIFY(action != nullptr);
    QCOMPARE(action->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_J));
    action->trigger();
    menu->close();
}

struct Fixture {
    testsupport::MainWindow w;
    frmmain *win = w.window.get();

    // Opens the window by its key, from the main window.
    frmadjust *open() const;
    frmadjust *adjust() const { return testsupport::findWindow<frmadjust>(*win); }
    QSlider *slider(const char *name) const { return control<QSlider>(adjust(), name); }
    QDoubleSpinBox *box(const char *name) const { return control<QDoubleSpinBox>(adjust(), name); }
    double value(const char *name) const { return box(name)->value(); }
    QLabel *gamutNote() const { return control<QLabel>(adjust(), "lblGamut"); }
    void type(color::Rgb c) const
    {
        testsupport::typeInto(w->txtred, QString::number(c.red));
        testsupport::typeInto(w->txtgreen, QString::number(c.green));
        testsupport::typeInto(w->txtblue, QString::number(c.blue));
    }
    // The selected target's color as the main window's value boxes show it.
    color::Rgb shown() const
    {
        return {w->txtred->text().toInt(), w->txtgreen->text().toInt(), w->txtblue->text().toInt()};
    }
    color::Oklch shownOklch() const { return color::oklchFromSrgb(color::toSrgb(shown())); }
    // Types a value into a box and presses Enter.
    void setBox(const char *name, double v) const
    {
        QDoubleSpinBox *b = box(name);
        b->setFocus();
        b->selectAll();
        QTest::keyClicks(b, QString::number(v));
        QTest::keyClick(b, Qt::Key_Return);
        QVERIFY(adjust()->isVisible());
    }
};

// The window on the settings of the environment the caller made.
std::unique_ptr<frmmain> start()
{
    auto window = std::make_unique<frmmain>();
    window->show();
    QApplication::setActiveWindow(window.get());
    if (!QTest::qWaitForWindowExposed(window.get()))
        qWarning("main window was not exposed");
    return window;
}

frmadjust *openAdjust(frmmain &window)
{
    QTest::keyClick(control<QWidget>(&window, "VScrollRed"), Qt::Key_J, Qt::ControlModifier);
    return testsupport::findWindow<frmadjust>(window);
}

frmadjust *Fixture::open() const
{
    frmadjust *adjust = openAdjust(*win);
    return adjust != nullptr && adjust->isVisible() ? adjust : nullptr;
}

} // namespace

class tst_frmadjust : public QObject {
    Q_OBJECT
private slots:
    // Ctrl+J, the preview's menu and a swatch's menu open it, on the target
    // they are for; every slider and box is named, spoken with its group
    // and on the keyboard's way.
    void opensForItsTarget()
    {
        Fixture f;
        frmadjust *adjust = f.open();
        QVERIFY(adjust != nullptr);
        QCOMPARE(adjust->windowTitle(), QStringLiteral("Adjust \u2013 Backcolor"));
        QVERIFY(!adjust->isModal());
        QVERIFY(adjust->geometry().left() > f.win->frameGeometry().right());

        // Tab goes slider, box, slider, box ... through both groups.
        auto focusOwner = [] {
            QWidget *w = QApplication::focusWidget();
            return w != nullptr && qobject_cast<QDoubleSpinBox *>(w->parentWidget()) ? w->parentWidget() : w;
        };
        QApplication::setActiveWindow(adjust);
        f.slider(sliderNames[0])->setFocus(Qt::TabFocusReason);
        for (int i = 0; i < 6; ++i) {
            QSlider *s = f.slider(sliderNames[i]);
            QDoubleSpinBox *b = f.box(boxNames[i]);
            QCOMPARE(s->accessibleName(), QLatin1String(spokenNames[i]));
            QCOMPARE(b->accessibleName(), QLatin1String(spokenNames[i]));
            QCOMPARE(focusOwner(), static_cast<QWidget *>(s));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(focusOwner(), static_cast<QWidget *>(b));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }

        chooseAdjustFrom(f.w->lblhexnewlinkcolor, "mnuSwatch");
        QVERIFY(f.w->optNewlinks->isChecked());
        QCOMPARE(adjust->windowTitle(), QStringLiteral("Adjust \u2013 New link color"));
        QCOMPARE(f.value("txtHslHue"), 240.0); // 0, 0, 238

        adjust->close();
        f.w->optTEXT->setChecked(true);
        chooseAdjustFrom(f.w->picboxMAIN, "mnuColorVision");
        QVERIFY(adjust->isVisible());
        QCOMPARE(adjust->windowTitle(), QStringLiteral("Adjust \u2013 Textcolor"));
        QCOMPARE(testsupport::findWindow<frmadjust>(*f.win), adjust);
    }

    // Lightness moved step by step leaves the group's other two coordinates
    // exactly where they were, and the stored 8-bit color keeps its hue and
    // chroma wherever sRGB holds them; past its edge the chroma is brought
    // in and the window says so.
    void lightnessStepsKeepTheGroup_data()
    {
        QTest::addColumn<QByteArray>("group");
        QTest::newRow("OKLCH") << QByteArray("Oklch");
        QTest::newRow("HSL") << QByteArray("Hsl");
    }
    void lightnessStepsKeepTheGroup()
    {
        QFETCH(QByteArray, group);
        const bool oklch = group == "Oklch";
        Fixture f;
        f.w->optTEXT->setChecked(true);
        const color::Rgb start{30, 60, 140};
        f.type(start);
        QVERIFY(f.open() != nullptr);
        const char *lightness = oklch ? "sldOklchL" : "sldHslLightness";
        const std::array<const char *, 2> kept =
            oklch ? std::array{"txtOklchC", "txtOklchH"} : std::array{"txtHslHue", "txtHslSaturation"};
        const double keptAt[] = {f.value(kept[0]), f.value(kept[1])};
        const color::Oklch from = color::oklchFromSrgb(color::toSrgb(start));
        int inGamut = 0, mapped = 0;
        QSlider *s = f.slider(lightness);
        s->setFocus();
        for (int i = 0; i < 100; ++i) {
            QTest::keyClick(s, Qt::Key_Up);
            QCOMPARE(f.value(kept[0]), keptAt[0]);
            QCOMPARE(f.value(kept[1]), keptAt[1]);
            const color::Rgb now = f.shown();
            QCOMPARE(f.w->HIDDENtxtred->text().toInt(), now.red);
            QCOMPARE(f.w->HIDDENtxtblue->text().toInt(), now.blue);
            if (!oklch) {
                const color::Hsl hsl = color::hslFromSrgb(color::toSrgb(now));
                QVERIFY2(std::abs(hsl.l - s->value() / 1000.0) < 0.003, qPrintable(QString::number(i)));
                continue;
            }
            const color::Oklch got = f.shownOklch();
            if (f.gamutNote()->isVisible()) {
                ++mapped;
                QVERIFY(f.gamutNote()->text().startsWith(QLatin1String("Outside sRGB: chroma reduced to ")));
                const double reduced = f.gamutNote()->text().section(QLatin1Char(' '), -1).toDouble();
                QVERIFY2(reduced < from.c && std::abs(got.c - reduced) < 0.005, qPrintable(f.gamutNote()->text()));
                continue;
            }
            ++inGamut;
            QVERIFY2(hueDistance(got.h, from.h) < 1,
                     qPrintable(QStringLiteral("step %1: hue %2, was %3").arg(i).arg(got.h).arg(from.h)));
            QVERIFY2(std::abs(got.c - from.c) < 0.005,
                     qPrintable(QStringLiteral("step %1: chroma %2, was %3").arg(i).arg(got.c).arg(from.c)));
            QVERIFY(std::abs(got.l - s->value() / 1000.0) < 0.005);
        }
        if (oklch) {
            // The walk crossed the edge of sRGB.
            QVERIFY(inGamut > 20);
            QVERIFY(mapped > 20);
        }
    }

    // A change from anywhere else is read into both groups: the main
    // window's sliders and boxes, undo, another target.
    void followsTheMainWindow()
    {
        Fixture f;
        f.w->optTEXT->setChecked(true);
        frmadjust *adjust = f.open();
        QVERIFY(adjust != nullptr);
        f.type({255, 0, 0});
        QCOMPARE(f.value("txtHslHue"), 0.0);
        QCOMPARE(f.value("txtHslSaturation"), 100.0);
        QCOMPARE(f.value("txtHslLightness"), 50.0);
        QCOMPARE(f.value("txtOklchL"), 62.8);
        QCOMPARE(f.value("txtOklchC"), 0.258);
        QCOMPARE(f.value("txtOklchH"), 29.2);

        f.w->VScrollBlue->setFocus();
        f.w->VScrollBlue->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(f.value("txtHslHue"), 359.8); // 255, 0, 1: the slider moved, not only the box
        f.type({255, 0, 255});
        QCOMPARE(f.value("txtHslHue"), 300.0);
        QCOMPARE(f.value("txtOklchL"), 70.2);
        QCOMPARE(f.value("txtOklchC"), 0.322);
        QCOMPARE(f.value("txtOklchH"), 328.4);

        // An Adjust slider step is one step of the history.
        f.slider("sldHslLightness")->setFocus();
        QTest::keyClick(f.slider("sldHslLightness"), Qt::Key_Down);
        QCOMPARE(f.value("txtHslLightness"), 49.5);
        QCOMPARE(f.shown(), (color::Rgb{252, 0, 252}));
        // Ctrl+Z in this window is the main window's undo.
        QApplication::setActiveWindow(adjust);
        QTest::keyClick(f.slider("sldHslLightness"), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.shown(), (color::Rgb{255, 0, 255}));
        QCOMPARE(f.value("txtHslLightness"), 50.0);

        QTest::mouseClick(f.w->optBACK, Qt::LeftButton);
        QCOMPARE(adjust->windowTitle(), QStringLiteral("Adjust \u2013 Backcolor"));
        QCOMPARE(f.value("txtHslLightness"), 86.3); // 220, 220, 220
        QCOMPARE(f.value("txtHslSaturation"), 0.0);

        // Typed into a box of the window: the main window follows.
        f.setBox("txtHslSaturation", 100);
        f.setBox("txtHslHue", 120);
        QCOMPARE(f.shown(), (color::Rgb{185, 255, 185}));
        QCOMPARE(f.w->txtHEXback->text(), QStringLiteral("#B9FFB9"));
    }

    // A chroma sRGB cannot show is brought in and said; back in sRGB the
    // note goes.
    void gamutNoteComesAndGoes()
    {
        Fixture f;
        f.w->optTEXT->setChecked(true);
        QVERIFY(f.open() != nullptr);
        f.setBox("txtOklchL", 50);
        f.setBox("txtOklchH", 150);
        f.setBox("txtOklchC", 0.3);
        QVERIFY(f.gamutNote()->isVisible());
        const QString note = f.gamutNote()->text();
        QVERIFY2(note.startsWith(QLatin1String("Outside sRGB: chroma reduced to 0.1")), qPrintable(note));
        QCOMPARE(f.gamutNote()->accessibleName(), note);
        QCOMPARE(f.slider("sldOklchC")->accessibleDescription(), note);
        // The request stays as asked; the color is the mapped one.
        QCOMPARE(f.value("txtOklchC"), 0.3);
        // Clipping after the chroma search may move it by up to a just
        // noticeable difference.
        QVERIFY(std::abs(f.shownOklch().h - 150) < 5);
        QVERIFY(std::abs(f.shownOklch().l - 0.5) < 0.02);

        f.setBox("txtOklchC", 0.05);
        QVERIFY(!f.gamutNote()->isVisible());
        QVERIFY(f.slider("sldOklchC")->accessibleDescription().isEmpty());
        QVERIFY(std::abs(f.shownOklch().c - 0.05) < 0.005);
    }

    // The back color under a picture is shown, but not changed.
    void coveredBackStaysAsItIs()
    {
        Fixture f;
        QTemporaryDir dir;
        const QString picture = dir.filePath(QStringLiteral("tile.png"));
        QImage tile(4, 4, QImage::Format_RGB32);
        tile.fill(Qt::red);
        QVERIFY(tile.save(picture));
        f.w.env.desktop.answerOpen(picture);
        QTest::mouseClick(f.w->cmdload, Qt::LeftButton);
        QVERIFY(!f.w->optBACK->isEnabled());

        chooseAdjustFrom(f.w->lblhexbackcolor, "mnuSwatch");
        frmadjust *adjust = f.adjust();
        QVERIFY(adjust != nullptr && adjust->isVisible());
        QCOMPARE(adjust->windowTitle(), QStringLiteral("Adjust \u2013 Backcolor"));
        QVERIFY(!control<QGroupBox>(adjust, "fraHsl")->isEnabled());
        QVERIFY(!control<QGroupBox>(adjust, "fraOklch")->isEnabled());
        auto *locked = control<QLabel>(adjust, "lblLocked");
        QVERIFY(locked->isVisible());
        QVERIFY(locked->text().contains(QLatin1String("background image")));
        QCOMPARE(f.value("txtHslLightness"), 86.3);

        QTest::keyClick(f.slider("sldHslLightness"), Qt::Key_PageDown);
        f.slider("sldOklchL")->setValue(100);
        f.box("txtHslHue")->setValue(200);
        QCOMPARE(f.w->txtHEXback->text(), QStringLiteral("#DCDCDC"));
        QCOMPARE(f.w->HIDDENtxtbackred->text(), QStringLiteral("220"));
        QVERIFY(f.w->optTEXT->isChecked());

        // The picture cleared, the back color is selected and may change.
        QTest::mouseClick(f.w->cmdclear, Qt::LeftButton);
        QVERIFY(control<QGroupBox>(adjust, "fraHsl")->isEnabled());
        QVERIFY(!locked->isVisible());
        f.slider("sldHslLightness")->setFocus();
        QTest::keyClick(f.slider("sldHslLightness"), Qt::Key_PageDown);
        QCOMPARE(f.w->HIDDENtxtbackred->text(), QStringLiteral("207"));
    }

    // Its place and size are kept across runs under their own names; a
    // place off every screen is centred.
    void placeIsKept_data()
    {
        // Top, left, width and height as stored (twips); where it opens.
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<bool>("centred");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("stored") << QStringList{"3000", "4500", "7500", "7200"} << false << QRect(300, 200, 500, 480);
        QTest::newRow("off every screen")
            << QStringList{"3000", "60000", "7500", "7200"} << true << QRect(0, 0, 500, 480);
        QTest::newRow("negative") << QStringList{"-15", "4500", "7500", "7200"} << true << QRect(0, 0, 500, 480);
    }
    void placeIsKept()
    {
        QFETCH(QStringList, stored);
        QFETCH(bool, centred);
        QFETCH(QRect, expected);
        testsupport::Environment env;
        const char *names[] = {"AdjustTop", "AdjustLeft", "AdjustWidth", "AdjustHeight"};
        for (int i = 0; i < 4; ++i)
            Store().write(names[i], stored[i].toStdString());
        auto window = start();
        const QPoint mainAt = window->pos();
        frmadjust *adjust = openAdjust(*window);
        QVERIFY(adjust != nullptr);
        QCOMPARE(adjust->size(), expected.size());
        if (centred) {
            const QRect screen = adjust->screen()->geometry();
            const QSize outer = adjust->frameGeometry().size();
            QCOMPARE(adjust->pos(),
                     QPoint((screen.width() - outer.width()) / 2, (screen.height() - outer.height()) / 2));
        } else {
            QCOMPARE(adjust->pos(), expected.topLeft());
        }
        // The main window's own place is apart from it.
        QCOMPARE(window->pos(), mainAt);

        // Moved, resized, and the program closed while it is open.
        adjust->move(120, 90);
        adjust->resize(520, 500);
        QTest::mouseClick(control<QWidget>(window.get(), "cmdexit"), Qt::LeftButton);
        QCOMPARE(Store().read("AdjustTop"), std::string("1350"));
        QCOMPARE(Store().read("AdjustLeft"), std::string("1800"));
        QCOMPARE(Store().read("AdjustWidth"), std::string("7800"));
        QCOMPARE(Store().read("AdjustHeight"), std::string("7500"));
        window.reset();

        auto again = start();
        frmadjust *reopened = openAdjust(*again);
        QVERIFY(reopened != nullptr);
        QCOMPARE(reopened->pos(), QPoint(120, 90));
        QCOMPARE(reopened->size(), QSize(520, 500));
        // Closed by itself, it stores its place too.
        reopened->move(140, 100);
        QApplication::setActiveWindow(reopened);
        QTest::keyClick(reopened, Qt::Key_Escape);
        QVERIFY(!reopened->isVisible());
        QCOMPARE(Store().read("AdjustLeft"), std::string("2100"));
        QCOMPARE(Store().read("Left"), std::string("1155"));
    }
};

QTEST_MAIN(tst_frmadjust)
#include "tst_frmadjust.moc"

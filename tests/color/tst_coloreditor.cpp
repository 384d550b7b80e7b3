#include "app/frmmain.h"
#include "color/coloreditor.h"
#include "color/colorset.h"
#include "color/colortext.h"
#include "color/rgb.h"
#include "testsupport.h"
#include "widgets/controls.h"

#include <QApplication>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QSignalSpy>

using testsupport::control;

namespace {

// Counts the palette changes of one widget.
class PaletteChanges : public QObject {
public:
    PaletteChanges(QWidget *watched, int &count) : m_count(count) { watched->installEventFilter(this); }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::PaletteChange)
            ++m_count;
        return false;
    }

private:
    int &m_count;
};

struct Window : testsupport::MainWindow {
    QWidget *w() const { return window.get(); }
    QScrollBar *slider(int c) const
    {
        static const char *names[] = {"VScrollRed", "VScrollGreen", "VScrollBlue"};
        return control<QScrollBar>(w(), names[c]);
    }
    QLineEdit *box(int c) const
    {
        static const char *names[] = {"txtred", "txtgreen", "txtblue"};
        return control<QLineEdit>(w(), names[c]);
    }
    QLineEdit *edit(const char *name) const { return control<QLineEdit>(w(), name); }
    QPushButton *button(const char *name) const { return control<QPushButton>(w(), name); }
    QRadioButton *option(const char *name) const { return control<QRadioButton>(w(), name); }
    QWidget *widget(const char *name) const { return control<QWidget>(w(), name); }
    ColorEditor &editor() const { return window->colorEditor(); }

    std::array<int, 3> sliders() const { return {slider(0)->value(), slider(1)->value(), slider(2)->value()}; }
    void setSliders(int r, int g, int b) const
    {
        slider(0)->setValue(r);
        slider(1)->setValue(g);
        slider(2)->setValue(b);
    }
    // Slider values at each run of colorupdate.
    QList<std::array<int, 3>> watchUpdates()
    {
        QObject::connect(&editor(), &ColorEditor::colorChanged, w(), [this] { updates.append(sliders()); });
        return {};
    }
    QList<std::array<int, 3>> updates;

    void click(QWidget *target) const { QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(2, 2)); }
    void select(const char *optionName) const { click(option(optionName)); }
};

QStringList storeTexts(const ColorEditor::TargetControls &t)
{
    return {t.stores[0]->text(), t.stores[1]->text(), t.stores[2]->text()};
}

} // namespace

class TestColorEditor : public QObject {
    Q_OBJECT
private slots:
    void typingIntoAValueBox()
    {
        Window w;
        QLineEdit *red = w.box(0);
        red->setFocus();
        red->selectAll();
        QTest::keyClick(red, Qt::Key_3);
        QCOMPARE(w.slider(0)->value(), 3);
        QTest::keyClick(red, Qt::Key_0);
        QCOMPARE(w.slider(0)->value(), 30);
        QTest::keyClick(red, Qt::Key_0);
        QCOMPARE(red->text(), QStringLiteral("255"));
        QCOMPARE(w.slider(0)->value(), 255);
        QCOMPARE(w.edit("HIDDENtxtbackred")->text(), QStringLiteral("255"));
        QCOMPARE(w.edit("txtHEXback")->text(), QStringLiteral("#FFDCDC"));
        QCOMPARE(backColor(w.widget("lblred")), QColor(255, 0, 0));
        QCOMPARE(backColor(w.widget("picboxMAIN")), QColor(255, 220, 220));

        // Deleting the last digit shows "0" at once.
        testsupport::typeInto(w.box(1), QStringLiteral("7"));
        QCOMPARE(w.slider(1)->value(), 7);
        QTest::keyClick(w.box(1), Qt::Key_Backspace);
        QCOMPARE(w.box(1)->text(), QStringLiteral("0"));
        QCOMPARE(w.slider(1)->value(), 0);
        QCOMPARE(w.edit("HIDDENtxtbackgreen")->text(), QStringLiteral("0"));
    }

    void valueBoxesRejectAllButDigits()
    {
        Window w;
        QLineEdit *blue = w.box(2);
        blue->setFocus();
        blue->end(false);
        for (const char *keys : {"a", "-", ".", " ", "Z", "#", "+"})
            QTest::keyClicks(blue, QString::fromLatin1(keys));
        QTest::keyClick(blue, Qt::Key_Return);
        QTest::keyClick(blue, Qt::Key_Escape); // the main window's Esc opens the color dialog
        w.env.desktop.unscripted.clear();
        QCOMPARE(blue->text(), QStringLiteral("220"));
        QCOMPARE(w.slider(2)->value(), 220);
        QCOMPARE(w.edit("HIDDENtxtbackblue")->text(), QStringLiteral("220"));
    }

    void leadingZerosAreKeptWhileTheSliderStays()
    {
        Window w;
        testsupport::typeInto(w.box(0), QStringLiteral("7"));
        QCOMPARE(w.slider(0)->value(), 7);
        QTest::keyClick(w.box(0), Qt::Key_Home);
        QTest::keyClicks(w.box(0), QStringLiteral("00"));
        QCOMPARE(w.box(0)->text(), QStringLiteral("007"));
        QCOMPARE(w.slider(0)->value(), 7);
        QCOMPARE(w.edit("HIDDENtxtbackred")->text(), QStringLiteral("7"));
    }

    void pastedTextNeverReachesAStore_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("shown");
        QTest::newRow("blanks around a number") << QStringLiteral(" 128 ") << QStringLiteral("128");
        QTest::newRow("huge number") << QStringLiteral("99999999999999999999999") << QStringLiteral("255");
        QTest::newRow("letters") << QStringLiteral("abc") << QStringLiteral("220");
        QTest::newRow("negative") << QStringLiteral("-40") << QStringLiteral("220");
        QTest::newRow("decimal") << QStringLiteral("12.5") << QStringLiteral("220");
        QTest::newRow("blank") << QStringLiteral("   ") << QStringLiteral("220");
        QTest::newRow("other digits") << QStringLiteral("\u0661\u0662") << QStringLiteral("220");
        QTest::newRow("hex") << QStringLiteral("#FF") << QStringLiteral("220");
        QTest::newRow("empty") << QString() << QStringLiteral("0");
    }
    void pastedTextNeverReachesAStore()
    {
        QFETCH(QString, pasted);
        QFETCH(QString, shown);
        Window w;
        testsupport::pasteInto(w.box(0), pasted);
        QCOMPARE(w.box(0)->text(), shown);
        QCOMPARE(w.slider(0)->value(), shown.toInt());
        QCOMPARE(w.edit("HIDDENtxtbackred")->text(), shown);
    }

    // Keys before the click, each at the focus: "@name" focuses a control,
    // "Shift" holds SHIFT down, "X+" and "X-" press and release a key, "X"
    // taps it. Then the button is clicked by the mouse, SHIFT held or not,
    // or pressed with Space while SHIFT is held (no SHIFT key comes with it).
    void allSlidersTogether_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("click");
        QTest::addColumn<QList<int>>("from");
        QTest::addColumn<QList<int>>("to");
        const QStringList shift{"Shift"};
        QTest::newRow("down fast") << "cmdALLdown" << shift << "mouse" << QList<int>{230, 235, 250}
                                   << QList<int>{250, 235, 250};
        QTest::newRow("down slow") << "cmdALLdown" << QStringList{} << "mouse" << QList<int>{230, 235, 250}
                                   << QList<int>{231, 236, 251};
        QTest::newRow("up fast") << "cmdALLup" << shift << "mouse" << QList<int>{20, 21, 100} << QList<int>{20, 1, 80};
        QTest::newRow("up slow") << "cmdALLup" << QStringList{} << "mouse" << QList<int>{20, 21, 100}
                                 << QList<int>{19, 20, 99};
        QTest::newRow("down at white") << "cmdALLdown" << QStringList{} << "mouse" << QList<int>{255, 255, 255}
                                       << QList<int>{255, 255, 255};
        QTest::newRow("up at black") << "cmdALLup" << QStringList{} << "mouse" << QList<int>{0, 0, 0}
                                     << QList<int>{0, 0, 0};
        QTest::newRow("down fast at 234")
            << "cmdALLdown" << shift << "mouse" << QList<int>{234, 235, 255} << QList<int>{254, 235, 255};

        // X repeats no SHIFT key-down: a SHIFT-click or a SHIFT+Space stands
        // for one while SHIFT would still repeat, the last key pressed with
        // none released since.
        const QList<int> grey{100, 100, 100}, fast{120, 120, 120}, slow{101, 101, 101};
        const auto clickRow = [&](const char *name, const QStringList &keys, const QList<int> &to) {
            QTest::newRow(name) << "cmdALLdown" << keys << "SHIFT mouse" << grey << to;
        };
        clickRow("SHIFT-click, no key seen", {}, fast);
        clickRow("SHIFT-click, SHIFT at the sample text", {"@txtBOX", "Shift"}, fast);
        clickRow("SHIFT-click, SHIFT after X went down", {"@txtBOX", "X+", "Shift"}, fast);
        clickRow("SHIFT-click after X", {"@txtBOX", "Shift", "X"}, slow);
        clickRow("SHIFT-click after Left", {"@txtBOX", "Shift", "Left"}, slow);
        clickRow("SHIFT-click after Space", {"@txtBOX", "Shift", "Space"}, slow);
        clickRow("SHIFT-click after X came up", {"@txtBOX", "X+", "Shift", "X-"}, slow);
        clickRow("SHIFT-click after Ctrl on the button", {"Shift", "Control"}, slow);
        clickRow("SHIFT-click after X at the slider", {"@VScrollRed", "Shift", "X"}, slow);
        QTest::newRow("SHIFT+Space, SHIFT at the sample text")
            << "cmdALLdown" << QStringList{"@txtBOX", "Shift"} << "SHIFT Space" << grey << fast;
        QTest::newRow("SHIFT+Space after X")
            << "cmdALLdown" << QStringList{"@txtBOX", "Shift", "X"} << "SHIFT Space" << grey << slow;
        QTest::newRow("SHIFT-click up after X")
            << "cmdALLup" << QStringList{"@txtBOX", "Shift", "X"} << "SHIFT mouse" << grey << QList<int>{99, 99, 99};
    }
    void allSlidersTogether()
    {
        QFETCH(QString, button);
        QFETCH(QStringList, keys);
        QFETCH(QString, click);
        QFETCH(QList<int>, from);
        QFETCH(QList<int>, to);
        Window w;
        w.setSliders(from[0], from[1], from[2]);
        w.watchUpdates();
        QPushButton *b = w.button(qPrintable(button));
        b->setFocus();
        const QHash<QString, Qt::Key> codes{{"Shift", Qt::Key_Shift},
                                            {"X", Qt::Key_X},
                                            {"Left", Qt::Key_Left},
                                            {"Space", Qt::Key_Space},
                                            {"Control", Qt::Key_Control}};
        for (QString key : keys) {
            if (key.startsWith(u'@')) {
                w.widget(qPrintable(key.mid(1)))->setFocus();
                continue;
            }
            QWidget *at = QApplication::focusWidget();
            const QChar how = key.back();
            if (how == u'+' || how == u'-')
                key.chop(1);
            QVERIFY(codes.contains(key));
            if (how == u'+' || key == QLatin1String("Shift"))
                QTest::keyPress(at, codes[key]);
            else if (how == u'-')
                QTest::keyRelease(at, codes[key]);
            else
                QTest::keyClick(at, codes[key]);
        }
        if (click == QLatin1String("SHIFT Space")) {
            b->setFocus();
            for (const bool press : {true, false})
                QTest::simulateEvent(b, press, Qt::Key_Space, Qt::ShiftModifier, QStringLiteral(" "), false);
        } else {
            QTest::mouseClick(b, Qt::LeftButton,
                              click == QLatin1String("SHIFT mouse") ? Qt::ShiftModifier : Qt::NoModifier, QPoint(2, 2));
        }
        QCOMPARE(w.sliders(), (std::array<int, 3>{to[0], to[1], to[2]}));
        int moved = 0;
        for (int c = 0; c < 3; ++c)
            moved += from[c] != to[c] ? 1 : 0;
        QCOMPARE(w.updates.size(), moved);
        QCOMPARE(QApplication::focusWidget(), b);
        QCOMPARE(w.edit("HIDDENtxtbackgreen")->text(), QString::number(to[1]));
    }

    void oneStepRunsColorupdatePerSliderInOrder()
    {
        Window w;
        w.setSliders(100, 100, 100);
        w.watchUpdates();
        w.click(w.button("cmdALLup"));
        QCOMPARE(w.updates, (QList<std::array<int, 3>>{{99, 100, 100}, {99, 99, 100}, {99, 99, 99}}));
    }

    void fastModeFollowsKeysOnTheButtons()
    {
        Window w;
        QPushButton *up = w.button("cmdALLup");
        QPushButton *down = w.button("cmdALLdown");
        up->setFocus();
        QTest::keyPress(up, Qt::Key_A);
        QVERIFY(!testsupport::shiftHeld(*w.window));
        QTest::keyPress(up, Qt::Key_Shift);
        QVERIFY(testsupport::shiftHeld(*w.window));
        // Leaving the button with SHIFT still down keeps fast mode.
        w.slider(0)->setFocus();
        QVERIFY(testsupport::shiftHeld(*w.window));
        // Releasing any key on either button ends it.
        down->setFocus();
        QTest::keyRelease(down, Qt::Key_Space);
        QVERIFY(!testsupport::shiftHeld(*w.window));
    }

    void blackAndWhite()
    {
        Window w;
        w.select("optNewlinks");
        w.box(0)->setFocus();
        w.click(w.button("cmd0"));
        const auto &newLink = w.editor().controls(ColorTarget::NewLink);
        QCOMPARE(storeTexts(newLink), (QStringList{"0", "0", "0"}));
        QCOMPARE(w.edit("txtnewlink")->text(), QStringLiteral("#000000"));
        QCOMPARE(foreColor(w.widget("lblpicNewlink")), QColor(0, 0, 0));
        QCOMPARE(QApplication::focusWidget(), w.slider(0));
        w.click(w.button("cmd255"));
        QCOMPARE(storeTexts(newLink), (QStringList{"255", "255", "255"}));
        QCOMPARE(w.edit("txtnewlink")->text(), QStringLiteral("#FFFFFF"));
        // Other targets untouched.
        QCOMPARE(w.edit("txtHEXback")->text(), QStringLiteral("#DCDCDC"));
        QCOMPARE(w.edit("txtvisitedlink")->text(), QStringLiteral("#551A8B"));
    }

    void slidersByKeyboard()
    {
        Window w;
        w.slider(1)->setFocus();
        QTest::keyClick(w.slider(1), Qt::Key_Down);
        QCOMPARE(w.slider(1)->value(), 221);
        QTest::keyClick(w.slider(1), Qt::Key_PageUp);
        QCOMPARE(w.slider(1)->value(), 211);
        QCOMPARE(w.box(1)->text(), QStringLiteral("211"));
        QCOMPARE(w.edit("HIDDENtxtbackgreen")->text(), QStringLiteral("211"));
        QCOMPARE(w.edit("HIDDENtxthexcolor")->text(), QStringLiteral("#DCD3DC"));
        QCOMPARE(backColor(w.widget("HIDDENlblcolor")), QColor(220, 211, 220));
    }

    void colorupdateWritesOnlyTheSelectedTarget()
    {
        Window w;
        w.setSliders(15, 16, 0);
        QCOMPARE(w.edit("HIDDENtxthexcolor")->text(), QStringLiteral("#0F1000"));
        QCOMPARE(color::packedColor(15, 16, 0), 4111);
        QCOMPARE(w.edit("txtHEXback")->text(), QStringLiteral("#0F1000"));
        QCOMPARE(backColor(w.widget("lblhexbackcolor")), QColor(15, 16, 0));
        QCOMPARE(backColor(w.widget("picboxMAIN")), QColor(15, 16, 0));
        QCOMPARE(w.edit("txtHEXtext")->text(), QStringLiteral("#0A0A0A"));
        QCOMPARE(foreColor(w.widget("lblpic")), QColor(10, 10, 10));
        QCOMPARE(backColor(w.widget("lblhextxtcolor")), QColor(10, 10, 10));
        QCOMPARE(w.edit("txtnewlink")->text(), QStringLiteral("#0000EE"));
    }

    void switchingTargetsKeepsEachColor()
    {
        Window w;
        w.select("optNewlinks");
        QCOMPARE(w.sliders(), (std::array<int, 3>{0, 0, 238}));
        testsupport::typeInto(w.box(0), QStringLiteral("100"));
        w.select("optTEXT");
        QCOMPARE(w.sliders(), (std::array<int, 3>{10, 10, 10}));
        QCOMPARE(w.edit("txtnewlink")->text(), QStringLiteral("#6400EE"));
        QCOMPARE(foreColor(w.widget("lblpicNewlink")), QColor(100, 0, 238));
        w.select("optNewlinks");
        QCOMPARE(w.sliders(), (std::array<int, 3>{100, 0, 238}));
        QCOMPARE(w.box(0)->text(), QStringLiteral("100"));
    }

    void aSwitchShowsNoMixBetween()
    {
        Window w;
        w.select("optTEXT");
        // Counts what reaches the new target's displays while Back is selected.
        QSignalSpy hexWrites(w.edit("txtHEXback"), &QLineEdit::textChanged);
        int recolored = 0;
        PaletteChanges changes(w.widget("picboxMAIN"), recolored);
        w.watchUpdates();
        w.select("optBACK");
        // One colorupdate per moved slider, in order, as always ...
        QCOMPARE(w.updates, (QList<std::array<int, 3>>{{220, 10, 10}, {220, 220, 10}, {220, 220, 220}}));
        // ... but the preview, hex box and swatch of Back already showed its
        // color: none of the mixes between reached them.
        QCOMPARE(hexWrites.count(), 0);
        QCOMPARE(recolored, 0);
        QCOMPARE(backColor(w.widget("picboxMAIN")), QColor(220, 220, 220));
        QCOMPARE(w.edit("HIDDENtxthexcolor")->text(), QStringLiteral("#DCDCDC"));
        // An edit shows at once, before anything else runs.
        w.box(0)->setText(QStringLiteral("7"));
        QCOMPARE(w.edit("txtHEXback")->text(), QStringLiteral("#07DCDC"));
        QCOMPARE(hexWrites.count(), 1);
        QCOMPARE(recolored, 1);
    }

    // A color given to the window's colors directly shows on every control
    // of its target; the selected target's sliders and value boxes follow.
    void controlsFollowTheColors_data()
    {
        QTest::addColumn<int>("target");
        QTest::addColumn<bool>("selected");
        for (const ColorTargetInfo &t : colorTargets) {
            QTest::newRow(t.attribute) << int(t.target) << false;
            QTest::newRow(QByteArray(t.attribute) + " selected") << int(t.target) << true;
        }
    }
    void controlsFollowTheColors()
    {
        QFETCH(int, target);
        QFETCH(bool, selected);
        const auto given = ColorTarget(target);
        const ColorTarget other = given == ColorTarget::Text ? ColorTarget::Back : ColorTarget::Text;
        const ColorTarget on = selected ? given : other;
        Window w;
        w.click(w.editor().controls(on).option);
        const color::Rgb before = w.window->colors().color(on);
        w.window->colors().setColor(given, {1, 2, 250});
        const ColorEditor::TargetControls &t = w.editor().controls(given);
        QCOMPARE(storeTexts(t), (QStringList{"1", "2", "250"}));
        QCOMPARE(t.hexBox->text(), QStringLiteral("#0102FA"));
        QCOMPARE(backColor(t.swatch), QColor(1, 2, 250));
        QCOMPARE(given == ColorTarget::Back ? backColor(t.previewElement) : foreColor(t.previewElement),
                 QColor(1, 2, 250));
        QCOMPARE(w.editor().selectedTarget(), on);
        const color::Rgb shown = selected ? color::Rgb{1, 2, 250} : before;
        QCOMPARE(w.sliders(), (std::array<int, 3>{shown.red, shown.green, shown.blue}));
        QCOMPARE(w.box(2)->text(), QString::number(shown.blue));
        QCOMPARE(w.window->colors().color(given), (color::Rgb{1, 2, 250}));
    }

    // Selecting Back leaves the focus where it is; selecting any other
    // target puts it on the red slider, however the option is switched on,
    // but for the arrow keys, which go on through the group.
    void focusAfterSelecting_data()
    {
        QTest::addColumn<QString>("from");   // the option on before
        QTest::addColumn<QString>("focus");  // the focus before
        QTest::addColumn<QString>("action"); // "click NAME", "on NAME" (from the program) or keys
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("focused");
        QTest::newRow("click Text") << "optBACK"
                                    << "txtgreen"
                                    << "click optTEXT"
                                    << "optTEXT"
                                    << "VScrollRed";
        // The click itself focuses the option.
        QTest::newRow("click Back") << "optTEXT"
                                    << "txtgreen"
                                    << "click optBACK"
                                    << "optBACK"
                                    << "optBACK";
        QTest::newRow("Back from the program") << "optTEXT"
                                               << "txtgreen"
                                               << "on optBACK"
                                               << "optBACK"
                                               << "txtgreen";
        QTest::newRow("preview label") << "optBACK"
                                       << "txtgreen"
                                       << "click lblpicNewlink"
                                       << "optNewlinks"
                                       << "VScrollRed";
        // Tag bears T too: the key reaches the option first, and clicks it.
        QTest::newRow("Alt+T") << "optBACK"
                               << "txtgreen"
                               << "Alt+T"
                               << "optTEXT"
                               << "VScrollRed";
        QTest::newRow("Alt+B") << "optTEXT"
                               << "txtgreen"
                               << "Alt+B"
                               << "optBACK"
                               << "optBACK";
        QTest::newRow("arrow key") << "optBACK"
                                   << "optBACK"
                                   << "Down"
                                   << "optNewlinks"
                                   << "optNewlinks";
    }
    void focusAfterSelecting()
    {
        QFETCH(QString, from);
        QFETCH(QString, focus);
        QFETCH(QString, action);
        QFETCH(QString, selected);
        QFETCH(QString, focused);
        Window w;
        w.select(qPrintable(from));
        w.widget(qPrintable(focus))->setFocus();
        if (action.startsWith(QLatin1String("click ")))
            w.click(w.widget(qPrintable(action.mid(6))));
        else if (action.startsWith(QLatin1String("on ")))
            w.option(qPrintable(action.mid(3)))->setChecked(true);
        else
            QTest::keySequence(QApplication::focusWidget(), QKeySequence(action));
        // An access key of one control alone clicks it a moment later.
        QTRY_VERIFY(w.option(qPrintable(selected))->isChecked());
        QTRY_COMPARE(QApplication::focusWidget()->objectName(), focused);
    }

    void selectingAnEqualColorRunsNoUpdate()
    {
        Window w;
        w.select("optTEXT");
        w.setSliders(220, 220, 220); // Text now equals Back
        w.watchUpdates();
        w.select("optBACK");
        QVERIFY(w.updates.isEmpty());
        w.click(w.widget("lblpic"));
        QVERIFY(w.option("optTEXT")->isChecked());
        QVERIFY(w.updates.isEmpty());
    }

    void resetButtonsFollowTheSelection_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QList<bool>>("enabled");
        QTest::newRow("Back") << "optBACK" << QList<bool>{false, false, false};
        QTest::newRow("Text") << "optTEXT" << QList<bool>{false, false, false};
        QTest::newRow("NewLink") << "optNewlinks" << QList<bool>{true, false, false};
        QTest::newRow("VisitedLink") << "optVisitedlinks" << QList<bool>{false, true, false};
        QTest::newRow("ActiveLink") << "optActivelinks" << QList<bool>{false, false, true};
    }
    void resetButtonsFollowTheSelection()
    {
        QFETCH(QString, option);
        QFETCH(QList<bool>, enabled);
        Window w;
        w.select("optActivelinks"); // start away from every row
        w.select("optTEXT");
        w.select(qPrintable(option));
        QCOMPARE(w.button("cmdresetNEW")->isEnabled(), enabled[0]);
        QCOMPARE(w.button("cmdresetVISITED")->isEnabled(), enabled[1]);
        QCOMPARE(w.button("cmdresetACTIVE")->isEnabled(), enabled[2]);
    }

    void resetRestoresTheStartUpColor_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("reset");
        QTest::addColumn<QString>("hex");
        QTest::addColumn<QStringList>("stores");
        QTest::newRow("NewLink") << "optNewlinks"
                                 << "cmdresetNEW"
                                 << "#0000EE" << QStringList{"0", "0", "238"};
        QTest::newRow("VisitedLink") << "optVisitedlinks"
                                     << "cmdresetVISITED"
                                     << "#551A8B" << QStringList{"85", "26", "139"};
        QTest::newRow("ActiveLink") << "optActivelinks"
                                    << "cmdresetACTIVE"
                                    << "#EE0000" << QStringList{"238", "0", "0"};
    }
    // The start-up colors and the reset defaults are written down in two
    // places; both must give the same color.
    void resetRestoresTheStartUpColor()
    {
        QFETCH(QString, option);
        QFETCH(QString, reset);
        QFETCH(QString, hex);
        QFETCH(QStringList, stores);
        Window w;
        const ColorEditor::TargetControls *target = nullptr;
        for (const auto &t : w.editor().targets())
            if (t.option->objectName() == option)
                target = &t;
        QVERIFY(target != nullptr);
        const QColor color(stores[0].toInt(), stores[1].toInt(), stores[2].toInt());
        QCOMPARE(target->hexBox->text(), hex);
        QCOMPARE(storeTexts(*target), stores);
        QCOMPARE(backColor(target->swatch), color);
        QCOMPARE(foreColor(target->previewElement), color);

        w.select(qPrintable(option));
        w.click(w.button("cmd255"));
        QCOMPARE(target->hexBox->text(), QStringLiteral("#FFFFFF"));
        w.box(2)->setFocus();
        w.watchUpdates();
        w.click(w.button(qPrintable(reset)));
        QCOMPARE(target->hexBox->text(), hex);
        QCOMPARE(storeTexts(*target), stores);
        QCOMPARE(backColor(target->swatch), color);
        QCOMPARE(foreColor(target->previewElement), color);
        QCOMPARE(w.sliders(), (std::array<int, 3>{color.red(), color.green(), color.blue()}));
        QCOMPARE(QApplication::focusWidget(), w.slider(0));
        QCOMPARE(w.updates.size(), 3);
        // Again at the default: nothing changes.
        w.updates.clear();
        w.click(w.button(qPrintable(reset)));
        QVERIFY(w.updates.isEmpty());
    }

    void previewClicksSelectTheirTarget()
    {
        Window w;
        w.click(w.widget("lblpicActivelink"));
        QVERIFY(w.option("optActivelinks")->isChecked());
        QCOMPARE(w.sliders(), (std::array<int, 3>{238, 0, 0}));
        w.click(w.widget("lblpicVisitedlink"));
        QVERIFY(w.option("optVisitedlinks")->isChecked());
        w.click(w.widget("lblpicNewlink"));
        QVERIFY(w.option("optNewlinks")->isChecked());
        w.click(w.widget("lblpic"));
        QVERIFY(w.option("optTEXT")->isChecked());
        // The preview area outside the labels selects Back.
        QTest::mouseClick(w.widget("picboxMAIN"), Qt::LeftButton, {}, QPoint(5, 90));
        QVERIFY(w.option("optBACK")->isChecked());
        QCOMPARE(w.sliders(), (std::array<int, 3>{220, 220, 220}));
    }

    void previewAreaSelectsNothingWhileAnImageIsLoaded()
    {
        Window w;
        w.select("optTEXT");
        w.window->colors().setPicture(QStringLiteral("stone.gif"));
        QTest::mouseClick(w.widget("picboxMAIN"), Qt::LeftButton, {}, QPoint(5, 90));
        QVERIFY(w.option("optTEXT")->isChecked());
        QVERIFY(!w.option("optBACK")->isChecked());
        w.click(w.widget("lblpicNewlink"));
        QVERIFY(w.option("optNewlinks")->isChecked());
    }

    void hexBoxesIgnoreTyping()
    {
        Window w;
        QLineEdit *hex = w.edit("txtHEXtext");
        hex->setFocus();
        hex->selectAll();
        QTest::keyClicks(hex, QStringLiteral("#123456"));
        QTest::keyClick(hex, Qt::Key_Backspace);
        QTest::keyClick(hex, Qt::Key_Delete);
        QCOMPARE(hex->text(), QStringLiteral("#0A0A0A"));
        QCOMPARE(storeTexts(w.editor().controls(ColorTarget::Text)), (QStringList{"10", "10", "10"}));
        QCOMPARE(w.sliders(), (std::array<int, 3>{220, 220, 220}));
    }

    // Random actions over the left column and the target selection; the
    // color model's invariants must hold after each.
    void randomActions()
    {
        const quint32 seed = qEnvironmentVariableIsSet("DUDOVUVOV_SEED")
                                 ? quint32(qEnvironmentVariableIntValue("DUDOVUVOV_SEED"))
                                 : QRandomGenerator::global()->generate();
        const int count =
            qEnvironmentVariableIsSet("DUDOVUVOV_ACTIONS") ? qEnvironmentVariableIntValue("DUDOVUVOV_ACTIONS") : 5000;
        QRandomGenerator rng(seed);
        Window w;
        QStringList log;
        const char *options[] = {"optBACK", "optTEXT", "optNewlinks", "optVisitedlinks", "optActivelinks"};
        const char *previews[] = {"lblpic", "lblpicNewlink", "lblpicVisitedlink", "lblpicActivelink", "picboxMAIN"};
        const char *resets[] = {"cmdresetNEW", "cmdresetVISITED", "cmdresetACTIVE"};
        const QStringList junk = {"abc", "-5", " 42 ", "1e3", "", "   ", "300", "007", "99999999999", "12.5", "\u0663"};

        for (int i = 0; i < count; ++i) {
            const int c = int(rng.bounded(3));
            QString action;
            switch (rng.bounded(12)) {
            case 0: {
                const QString digits = QString::number(rng.bounded(400));
                action = QStringLiteral("type %1 into box %2").arg(digits).arg(c);
                testsupport::typeInto(w.box(c), digits);
                break;
            }
            case 1: {
                const int key = int(rng.bounded(4));
                action = QStringLiteral("key %1 in box %2").arg(key).arg(c);
                w.box(c)->setFocus();
                const Qt::Key keys[] = {Qt::Key_Backspace, Qt::Key_5, Qt::Key_A, Qt::Key_Home};
                QTest::keyClick(w.box(c), keys[key]);
                break;
            }
            case 2: {
                const QString &text = junk[int(rng.bounded(qsizetype(junk.size())))];
                action = QStringLiteral("paste '%1' into box %2").arg(text).arg(c);
                testsupport::pasteInto(w.box(c), text);
                break;
            }
            case 3: {
                const Qt::Key keys[] = {Qt::Key_Up,       Qt::Key_Down, Qt::Key_PageUp,
                                        Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End};
                const int key = int(rng.bounded(6));
                action = QStringLiteral("slider %1 key %2").arg(c).arg(key);
                w.slider(c)->setFocus();
                QTest::keyClick(w.slider(c), keys[key]);
                break;
            }
            case 4:
            case 5: {
                const bool down = rng.bounded(2) == 1;
                const bool shift = rng.bounded(2) == 1;
                action = QStringLiteral("all %1%2").arg(down ? "down" : "up", shift ? " fast" : "");
                QPushButton *b = w.button(down ? "cmdALLdown" : "cmdALLup");
                b->setFocus();
                if (shift)
                    QTest::keyPress(b, Qt::Key_Shift);
                w.click(b);
                if (shift)
                    QTest::keyRelease(b, Qt::Key_Shift);
                break;
            }
            case 6:
                action = QStringLiteral("black or white");
                w.click(w.button(rng.bounded(2) == 1 ? "cmd0" : "cmd255"));
                break;
            case 7:
            case 8: {
                const char *name = options[rng.bounded(5)];
                action = QStringLiteral("select %1").arg(QLatin1String(name));
                w.select(name);
                break;
            }
            case 9: {
                const char *name = previews[rng.bounded(5)];
                action = QStringLiteral("click %1").arg(QLatin1String(name));
                if (qstrcmp(name, "picboxMAIN") == 0)
                    QTest::mouseClick(w.widget(name), Qt::LeftButton, {}, QPoint(5, 90));
                else
                    w.click(w.widget(name));
                break;
            }
            case 10: {
                const char *name = resets[rng.bounded(3)];
                action = QStringLiteral("reset %1").arg(QLatin1String(name));
                if (w.button(name)->isEnabled())
                    w.click(w.button(name));
                break;
            }
            default: {
                action = QStringLiteral("type into hex box");
                testsupport::typeInto(w.edit("txtHEXback"), QStringLiteral("#123"));
                break;
            }
            }
            log << action;
            const QString broken = testsupport::brokenColorModel(*w.window);
            if (!broken.isEmpty()) {
                const QStringList tail = log.mid(qMax(0, int(log.size()) - 40));
                QFAIL(qPrintable(QStringLiteral("%1 after action %2 (seed %3; rerun with DUDOVUVOV_SEED=%3)\n%4")
                                     .arg(broken)
                                     .arg(i)
                                     .arg(seed)
                                     .arg(tail.join(QLatin1Char('\n')))));
            }
        }
        QVERIFY(w.env.desktop.unscripted.isEmpty());
    }

    // Ctrl+V puts a color from the clipboard on the selected target, or on
    // the target of the hex box that has the focus, through the value boxes.
    void pasteAColor()
    {
        Window w;
        QTest::mouseClick(w.option("optNewlinks"), Qt::LeftButton);
        w.slider(0)->setFocus();
        w.env.desktop.clipboard = QStringLiteral(" rgb(85, 26, 139) ");
        QTest::keyClick(w.slider(0), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(w.edit("txtnewlink")->text(), QStringLiteral("#551A8B"));
        QCOMPARE(w.edit("HIDDENtxtnewlinksblue")->text(), QStringLiteral("139"));
        QCOMPARE(w.sliders(), (std::array<int, 3>{85, 26, 139}));

        w.env.desktop.clipboard = QStringLiteral("a:visited { color: #0F1000; }");
        w.edit("txtHEXback")->setFocus();
        QTest::keyClick(w.edit("txtHEXback"), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(w.edit("txtHEXback")->text(), QStringLiteral("#0F1000"));
        QVERIFY(w.option("optBACK")->isChecked());
        QCOMPARE(w.edit("txtnewlink")->text(), QStringLiteral("#551A8B"));
        QCOMPARE(QApplication::focusWidget(), w.slider(0));
        QCOMPARE(w.env.desktop.beeps, 0);
        QCOMPARE(testsupport::brokenColorModel(*w.window), QString());
    }

    // A color outside sRGB is brought in, and the status line says so; a
    // translucent one is refused with a message and changes nothing.
    void pasteCssColor4Forms()
    {
        Window w;
        QTest::mouseClick(w.option("optNewlinks"), Qt::LeftButton);
        w.slider(0)->setFocus();
        const QString outside = QStringLiteral("oklch(70% 0.4 145)");
        w.env.desktop.clipboard = outside;
        QTest::keyClick(w.slider(0), Qt::Key_V, Qt::ControlModifier);
        const auto mapped = color::cssColor(outside);
        QVERIFY(mapped);
        const QString hex = color::hexColor(mapped->red, mapped->green, mapped->blue);
        QCOMPARE(w.edit("txtnewlink")->text(), hex);
        QApplication::processEvents();
        auto *status = control<QLabel>(w.w(), "contrastMessage");
        QVERIFY(status->isVisible());
        QCOMPARE(status->text(), color::gamutMappedText(outside, *mapped));
        QVERIFY(status->text().contains(hex));
        QCOMPARE(w.env.desktop.beeps, 0);
        QVERIFY(w.env.desktop.messages.isEmpty());

        // In sRGB: no word on the status line.
        w.env.desktop.clipboard = QStringLiteral("hsl(120deg 100% 25%)");
        QTest::keyClick(w.slider(0), Qt::Key_V, Qt::ControlModifier);
        QApplication::processEvents();
        QCOMPARE(w.edit("txtnewlink")->text(), QStringLiteral("#008000"));
        QVERIFY(!status->isVisible());

        const QString translucent = QStringLiteral("rgb(0 0 0 / 50%)");
        w.env.desktop.clipboard = translucent;
        QTest::keyClick(w.slider(0), Qt::Key_V, Qt::ControlModifier);
        QApplication::processEvents();
        QCOMPARE(w.edit("txtnewlink")->text(), QStringLiteral("#008000"));
        QCOMPARE(w.edit("HIDDENtxtnewlinksgreen")->text(), QStringLiteral("128"));
        const auto messages = w.env.desktop.takeMessages();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].text, color::translucentColorText(translucent));
        QCOMPARE(w.env.desktop.beeps, 0);
        QCOMPARE(testsupport::brokenColorModel(*w.window), QString());
    }

    // Junk beeps and changes nothing; a value box takes its own paste.
    void pasteJunk()
    {
        Window w;
        const auto hexBoxes = [&w] {
            QStringList texts;
            for (const char *name : {"txtHEXtext", "txtHEXback", "txtnewlink", "txtvisitedlink", "txtactivelink"})
                texts << w.edit(name)->text();
            return texts;
        };
        const QStringList before = hexBoxes();
        w.env.desktop.clipboard = QStringLiteral("#12345");
        w.edit("txtvisitedlink")->setFocus();
        QTest::keyClick(w.edit("txtvisitedlink"), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(w.env.desktop.beeps, 1);
        QCOMPARE(hexBoxes(), before);
        QVERIFY(w.option("optBACK")->isChecked());

        w.env.desktop.clipboard = QStringLiteral("#FF0000");
        w.box(0)->setFocus();
        QTest::keyClick(w.box(0), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(w.env.desktop.beeps, 1);
        QCOMPARE(hexBoxes(), before);
        QCOMPARE(testsupport::brokenColorModel(*w.window), QString());
    }
};

QTEST_MAIN(TestColorEditor)
#include "tst_coloreditor.moc"

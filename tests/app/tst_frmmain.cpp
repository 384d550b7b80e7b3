#include "app/colorhistory.h"
#include "app/frmmain.h"
#include "color/coloreditor.h"
#include "color/colortext.h"
#include "color/rgb.h"
#include "preview/previewbox.h"
#include "testsupport.h"
#include "widgets/controls.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QUrl>

using testsupport::control;
using testsupport::writeFile;

namespace {

// Width 0 where the control sizes itself.
using Inventory = testsupport::InventoryRow;

const char *const together = " Move all sliders together - press SHIFT as well to speed things up ";

// clang-format off
const Inventory controlsTable[] = {
    {"lblR", "QLabel", "R", "", 540, 210, 285, 270, -1},
    {"lblG", "QLabel", "G", "", 1005, 210, 285, 270, -1},
    {"lblB", "QLabel", "B", "", 1485, 210, 285, 270, -1},
    {"cmdALLup", "QPushButton", "", together, 405, 465, 1365, 195, 3},
    {"VScrollRed", "QScrollBar", nullptr, "", 405, 705, 390, 1560, 0},
    {"VScrollGreen", "QScrollBar", nullptr, "", 885, 705, 390, 1560, 1},
    {"VScrollBlue", "QScrollBar", nullptr, "", 1365, 705, 390, 1560, 2},
    {"cmdALLdown", "QPushButton", "", together, 405, 2325, 1365, 195, 4},
    {"lblred", "QLabel", "", "", 405, 2595, 390, 285, -1},
    {"lblgreen", "QLabel", "", "", 885, 2595, 390, 285, -1},
    {"lblblue", "QLabel", "", "", 1365, 2595, 390, 285, -1},
    {"txtred", "QLineEdit", nullptr, " Red value ", 405, 2925, 390, 285, 6},
    {"txtgreen", "QLineEdit", nullptr, " Green value ", 885, 2925, 390, 285, 7},
    {"txtblue", "QLineEdit", nullptr, " Blue value ", 1365, 2925, 390, 285, 8},
    {"cmdUSEwindows", "QPushButton", "&Windows colors", " Use Windows colorbox ", 405, 3315, 1365, 300, 5},
    {"cmd0", "QPushButton", " Black ", " All Black ", 405, 3645, 660, 300, 9},
    {"cmd255", "QPushButton", "White ", " All White ", 1110, 3645, 660, 300, 10},
    {"cmdabout", "QPushButton", "&About", "", 405, 4080, 1365, 525, 31},
    {"cmdexit", "QPushButton", "E&xit", "", 405, 4635, 1365, 405, 32},
    {"lblpreview", "QLabel", "PREVIEW", "", 2790, 195, 0, 0, -1},
    {"picboxMAIN", "PreviewBox", nullptr, "", 2115, 465, 2790, 1500, 35},
    {"txtBOX", "QLineEdit", "Sample", " Enter text as preview ", 2115, 2055, 2790, 330, 11},
    {"optTEXT", "QRadioButton", "Set &Textcolor", " Work with Textcolor ", 2115, 2490, 0, 0, 12},
    {"optBACK", "QRadioButton", "Set &Backcolor", " Work with Backcolor ", 3540, 2490, 0, 0, 13},
    {"optNewlinks", "QRadioButton", "Set   New  Links color", " Work with new link color ", 2115, 2985, 0, 0, 14},
    {"cmdresetNEW", "QPushButton", "Reset", " Reset to defaults ", 4200, 2985, 705, 300, 15},
    {"optVisitedlinks", "QRadioButton", "Set Visited Links color", " Work with visited link color ", 2115, 3315, 0, 0, 16},
    {"cmdresetVISITED", "QPushButton", "Reset", " Reset to defaults ", 4200, 3315, 705, 300, 17},
    {"optActivelinks", "QRadioButton", "Set Active Links color", " Work with active link color ", 2115, 3645, 0, 0, 18},
    {"cmdresetACTIVE", "QPushButton", "Reset", " Reset to defaults ", 4200, 3645, 705, 300, 19},
    {"cmdFONT", "QPushButton", "Alter &Font Preview", " Adjust font (max size 14) ", 2115, 4080, 1365, 525, 20},
    {"comdefFONT", "QPushButton", "D&efault Font", " Reset to default font ", 2115, 4635, 1365, 405, 21},
    {"cmdload", "QPushButton", "&Load Image", " Load a background image ", 3555, 4080, 1365, 300, 22},
    {"cmdclear", "QPushButton", "&Clear Image", " Clear the background image ", 3555, 4410, 1365, 300, 23},
    {"cmdsave", "QPushButton", "Sa&ve Image", " Save the background image ", 3555, 4740, 1365, 300, 24},
    {"lblHTML", "QLabel", "HTML 3", "", 5235, 195, 0, 0, -1},
    {"txtHEXtext", "QLineEdit", "#0A0A0A", " HTML3 value ", 5235, 450, 900, 285, 33},
    {"txtHEXback", "QLineEdit", "#DCDCDC", " HTML3 value ", 5235, 1155, 900, 285, 34},
    {"txtnewlink", "QLineEdit", "#0000EE", " HTML3 value ", 5235, 1860, 900, 285, 36},
    {"txtvisitedlink", "QLineEdit", "#551A8B", " HTML3 value ", 5235, 2580, 900, 285, 37},
    {"txtactivelink", "QLineEdit", "#EE0000", " HTML3 value ", 5235, 3300, 900, 285, 38},
    {"lblhextxtcolor", "QLabel", "", "", 6240, 450, 390, 285, -1},
    {"lblhexbackcolor", "QLabel", "", "", 6240, 1155, 390, 285, -1},
    {"lblhexnewlinkcolor", "QLabel", "", "", 6240, 1860, 390, 285, -1},
    {"lblhexvisitedlinkcolor", "QLabel", "", "", 6240, 2580, 390, 285, -1},
    {"lblhexactivelinkcolor", "QLabel", "", "", 6240, 3300, 390, 285, -1},
    {"cmdCOPYTEXT", "QPushButton", "Copy Textcolor", " Copy text color to Clipboard ", 5235, 795, 1395, 300, 25},
    {"cmdCOPYBACK", "QPushButton", "Copy Backcolor", " Copy background color to Clipboard ", 5235, 1500, 1395, 300, 26},
    {"cmdCOPYnewlink", "QPushButton", "Copy New Link", " Copy new link color to Clipboard ", 5235, 2205, 1395, 300, 27},
    {"cmdCOPYvisitedlink", "QPushButton", "Copy Visited Link", " Copy visited link color to Clipboard ", 5235, 2925, 1395, 300, 28},
    {"cmdCOPYactivelink", "QPushButton", "Copy Active Link", " Copy active link color to Clipboard ", 5235, 3645, 1395, 300, 29},
    {"cmdtag", "QPushButton", " View Body &Tag", " Press for Full Body Tag ", 5235, 4080, 1395, 960, 30},
};
// clang-format on

// A key pressed as a user presses it: at whatever has the focus.
void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

QWidget *focused()
{
    return QApplication::focusWidget();
}

int checkedOptions(const testsupport::MainControls &w)
{
    int on = 0;
    for (const QRadioButton *o : {w.optTEXT, w.optBACK, w.optNewlinks, w.optVisitedlinks, w.optActivelinks})
        on += o->isChecked() ? 1 : 0;
    return on;
}

// Dragged data that counts how often it is read: from another program each
// read is a request the dragging program may never answer.
class DraggedData : public QMimeData {
public:
    mutable int reads = 0;
    int readsBeforeDrop = -1;

protected:
    QVariant retrieveData(const QString &format, QMetaType type) const override
    {
        ++reads;
        return QMimeData::retrieveData(format, type);
    }
};

// A drag of `data` that enters `on`, moves over it and drops there, as the
// window system delivers one; the drop is sent even when refused, and what
// it starts has run on return. True when every step was taken as a copy.
bool dragAndDrop(QWidget *on, DraggedData &data, Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction)
{
    const QPoint at = on->rect().center();
    QDragEnterEvent enter(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(on, &enter);
    QDragMoveEvent move(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(on, &move);
    data.readsBeforeDrop = data.reads;
    QDropEvent drop(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(on, &drop);
    QCoreApplication::processEvents();
    return enter.isAccepted() && move.isAccepted() && drop.isAccepted() && drop.dropAction() == Qt::CopyAction;
}

QStringList hexBoxes(const testsupport::MainControls &w)
{
    QStringList texts;
    for (const QLineEdit *box : {w.txtHEXtext, w.txtHEXback, w.txtnewlink, w.txtvisitedlink, w.txtactivelink})
        texts << box->text();
    return texts;
}

// What undo and redo must bring back: the five hex boxes and the image.
QStringList colorsAndImage(const testsupport::MainControls &w)
{
    return {w.txtHEXtext->text(),    w.txtHEXback->text(),        w.txtnewlink->text(),      w.txtvisitedlink->text(),
            w.txtactivelink->text(), w.HIDDENlblfilename->text(), w.HIDDENlbltaginfo->text()};
}

QString writePicture(const QString &path, const QColor &color)
{
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(color);
    if (!image.save(path))
        qWarning("cannot write %s", qPrintable(path));
    return path;
}

} // namespace

class TestFrmmain : public QObject {
    Q_OBJECT
private slots:
    void inventory_data()
    {
        QTest::addColumn<int>("row");
        for (int i = 0; i < int(std::size(controlsTable)); ++i)
            QTest::newRow(controlsTable[i].name) << i;
    }

    void inventory()
    {
        QFETCH(int, row);
        const Inventory &c = controlsTable[row];
        testsupport::MainWindow w;
        QWidget *widget = control<QWidget>(w.window.get(), c.name);
        QVERIFY(widget);
        const QString mismatches = testsupport::inventoryMismatches(*w.window, {&c, 1});
        QVERIFY2(mismatches.isEmpty(), qPrintable(mismatches));
        QVERIFY(widget->isVisible());
        // Every control lies inside the client area.
        QVERIFY(QRect(QPoint(0, 0), w.window->size()).contains(widget->geometry())
                || widget->parentWidget() != w.window.get());
    }

    // The option group is one stop in it: the option that is on, Back at start.
    void tabOrder()
    {
        testsupport::MainWindow w;
        QStringList expected;
        for (const Inventory &c : controlsTable)
            if (c.tabIndex >= 0) {
                while (expected.size() <= c.tabIndex)
                    expected << QString();
                expected[c.tabIndex] = QString::fromLatin1(c.name);
            }
        QVERIFY(!expected.contains(QString()));
        expected.removeIf([](const QString &name) {
            return name.startsWith(QLatin1String("opt")) && name != QLatin1String("optBACK");
        });
        QStringList actual;
        QWidget *start = control<QWidget>(w.window.get(), "VScrollRed");
        QWidget *current = start;
        do {
            actual << current->objectName();
            current = current->nextInFocusChain();
            while (current != start && (current->focusPolicy() & Qt::TabFocus) == 0)
                current = current->nextInFocusChain();
        } while (current != start && actual.size() < 100);
        // Controls outside the given order (none today) would follow it.
        QCOMPARE(actual.mid(0, expected.size()), expected);
    }

    // Tab reaches the selected option and no other; the arrow keys go round
    // the group both ways, selecting as they go; Tab and Shift+Tab then leave
    // and come back to the option that is on.
    void optionGroupIsOneTabStop()
    {
        testsupport::MainWindow w;
        w->txtBOX->setFocus();
        press(Qt::Key_Tab);
        QCOMPARE(focused(), w->optBACK);
        QVERIFY(w->optBACK->isChecked());
        // Both Reset buttons are disabled while Back is selected.
        press(Qt::Key_Tab);
        QCOMPARE(focused(), w->cmdFONT);
        press(Qt::Key_Backtab);
        QCOMPARE(focused(), w->optBACK);

        const struct {
            Qt::Key key;
            QRadioButton *reached;
            const char *red;
        } steps[] = {{Qt::Key_Down, w->optNewlinks, "0"}, {Qt::Key_Right, w->optVisitedlinks, "85"},
                     {Qt::Key_Up, w->optNewlinks, "0"},   {Qt::Key_Left, w->optBACK, "220"},
                     {Qt::Key_Up, w->optTEXT, "10"},      {Qt::Key_Up, w->optActivelinks, "238"},
                     {Qt::Key_Down, w->optTEXT, "10"},    {Qt::Key_Right, w->optBACK, "220"},
                     {Qt::Key_Right, w->optNewlinks, "0"}};
        for (const auto &step : steps) {
            press(step.key);
            QCOMPARE(focused(), step.reached);
            QVERIFY(step.reached->isChecked());
            QCOMPARE(checkedOptions(w.controls), 1);
            // The selection ran: the value boxes show the target's color.
            QCOMPARE(w->txtred->text(), QString::fromLatin1(step.red));
        }
        QVERIFY(w->cmdresetNEW->isEnabled());
        press(Qt::Key_Tab);
        QCOMPARE(focused(), w->cmdresetNEW);
        press(Qt::Key_Backtab);
        QCOMPARE(focused(), w->optNewlinks);
        press(Qt::Key_Backtab);
        QCOMPARE(focused(), w->txtBOX);
        press(Qt::Key_Tab);
        QCOMPARE(focused(), w->optNewlinks);

        // Selected by a click on the preview, the target's option becomes the stop.
        w->VScrollRed->setFocus();
        QTest::mouseClick(w->lblpic, Qt::LeftButton);
        w->txtBOX->setFocus();
        press(Qt::Key_Tab);
        QCOMPARE(focused(), w->optTEXT);
        press(Qt::Key_Tab);
        QCOMPARE(focused(), w->cmdFONT);
    }

    // An access key that several controls bear moves round them in keyboard
    // order: an option reached so is clicked, and its selection moves the
    // focus on as after a mouse click; a push button is only focused, not
    // pressed.
    void sharedAccessKeyMovesTheFocus()
    {
        testsupport::MainWindow w;
        press(Qt::Key_T, Qt::AltModifier);
        QVERIFY(w->optTEXT->isChecked());
        QCOMPARE(focused(), w->VScrollRed);
        QCOMPARE(w->txtred->text(), QStringLiteral("10"));
        // The option that is on already: the click changes nothing.
        press(Qt::Key_T, Qt::AltModifier);
        QCOMPARE(focused(), w->optTEXT);
        press(Qt::Key_T, Qt::AltModifier);
        QCOMPARE(focused(), w->cmdtag);
        QVERIFY(w->optTEXT->isChecked());
        auto *tag = w.window->findChild<QWidget *>(QStringLiteral("frmtag"));
        QVERIFY(tag == nullptr || !tag->isVisible());
        press(Qt::Key_T, Qt::AltModifier);
        QCOMPARE(focused(), w->optTEXT);

        // From the Back option the next is the Tag button.
        QTest::mouseClick(w->optBACK, Qt::LeftButton);
        QCOMPARE(focused(), w->optBACK);
        press(Qt::Key_T, Qt::AltModifier);
        QCOMPARE(focused(), w->cmdtag);
        QVERIFY(w->optBACK->isChecked());
        press(Qt::Key_T, Qt::AltModifier);
        QVERIFY(w->optTEXT->isChecked());
        QCOMPARE(focused(), w->VScrollRed);

        // Any key, with any number of bearers, in keyboard order rather than
        // the order the captions were set in.
        w->cmdload->setText(QStringLiteral("Load &Tiles"));
        QTest::mouseClick(w->optBACK, Qt::LeftButton);
        press(Qt::Key_T, Qt::AltModifier);
        QCOMPARE(focused(), w->cmdload);
        QVERIFY(w.env.desktop.prompts.isEmpty());
        press(Qt::Key_T, Qt::AltModifier);
        QCOMPARE(focused(), w->cmdtag);
        press(Qt::Key_T, Qt::AltModifier);
        QCOMPARE(focused(), w->VScrollRed);
        QVERIFY(w->optTEXT->isChecked());
        tag = w.window->findChild<QWidget *>(QStringLiteral("frmtag"));
        QVERIFY(tag == nullptr || !tag->isVisible());
    }

    // X repeats no SHIFT key-down to the focused button: a click or a Space
    // made with SHIFT held steps fast all the same.
    void shiftClickStepsFast()
    {
        testsupport::MainWindow w;
        auto sliders = [&w] {
            return QList<int>{w->VScrollRed->value(), w->VScrollGreen->value(), w->VScrollBlue->value()};
        };
        QTest::mouseClick(w->cmdALLdown, Qt::LeftButton, Qt::ShiftModifier);
        QCOMPARE(sliders(), (QList<int>{240, 240, 240}));
        // SHIFT let go, on the button the click focused: plain steps again.
        QCOMPARE(focused(), w->cmdALLdown);
        QTest::keyRelease(w->cmdALLdown, Qt::Key_Shift);
        QTest::mouseClick(w->cmdALLdown, Qt::LeftButton);
        QCOMPARE(sliders(), (QList<int>{241, 241, 241}));

        w->cmdALLup->setFocus();
        press(Qt::Key_Space, Qt::ShiftModifier);
        QCOMPARE(sliders(), (QList<int>{221, 221, 221}));
        // Releasing the key ended fast mode.
        QVERIFY(!testsupport::shiftHeld(*w.window));
        press(Qt::Key_Space);
        QCOMPARE(sliders(), (QList<int>{220, 220, 220}));
    }

    void fonts()
    {
        testsupport::MainWindow w;
        const QFont lblpic = control<QWidget>(w.window.get(), "lblpic")->font();
        QCOMPARE(lblpic.family(), QStringLiteral("Times New Roman"));
        QCOMPARE(lblpic.pointSizeF(), 14.25);
        QVERIFY(!lblpic.bold() && !lblpic.italic() && !lblpic.underline() && !lblpic.strikeOut());
        for (const char *name : {"lblpicNewlink", "lblpicVisitedlink", "lblpicActivelink"}) {
            const QFont f = control<QWidget>(w.window.get(), name)->font();
            QCOMPARE(f.family(), QStringLiteral("Times New Roman"));
            QCOMPARE(f.pointSizeF(), 9.75);
            QVERIFY(f.underline());
            QVERIFY(!f.bold());
        }
        for (const char *name : {"lblpreview", "lblHTML", "lblR", "lblG", "lblB", "cmdtag"}) {
            const QFont f = control<QWidget>(w.window.get(), name)->font();
            QCOMPARE(f.family(), sansSerifFamily());
            QCOMPARE(f.pointSizeF(), 8.25);
            QVERIFY2(f.bold(), name);
        }
        QCOMPARE(control<QWidget>(w.window.get(), "cmdexit")->font().pointSizeF(), 8.25);
        QVERIFY(!control<QWidget>(w.window.get(), "cmdexit")->font().bold());
    }

    void captionsFitTheirBoxes()
    {
        testsupport::MainWindow w;
        for (auto *b : w.window->findChildren<QAbstractButton *>()) {
            if (b->text().isEmpty())
                continue;
            const int textWidth = b->fontMetrics().horizontalAdvance(QString(b->text()).remove(QLatin1Char('&')));
            const int indicator = qobject_cast<QRadioButton *>(b) != nullptr ? 18 : 0;
            QVERIFY2(textWidth + indicator <= b->width(), qPrintable(b->objectName()));
        }
        for (const char *name : {"lblpic", "lblpicNewlink", "lblpicVisitedlink", "lblpicActivelink"}) {
            auto *l = control<QLabel>(w.window.get(), name);
            QVERIFY(l->width() >= l->fontMetrics().horizontalAdvance(l->text()));
            QVERIFY(l->alignment() & Qt::AlignHCenter);
            QVERIFY(!l->autoFillBackground());
        }
    }

    void windowProperties()
    {
        testsupport::MainWindow w;
        QCOMPARE(w.window->windowTitle(), QStringLiteral("Dudovuvov"));
        QCOMPARE(w.window->size(), QSize(468, 362));
        QCOMPARE(w.window->minimumSize(), w.window->maximumSize());
        QCOMPARE(w.window->pos(), QPoint(77, 51));
        QVERIFY(w.window->windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(!(w.window->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(!w.window->windowIcon().isNull());
        QVERIFY(w.window->windowIcon().availableSizes().contains(QSize(32, 32)));
    }

    void stateFieldsStayOutOfSight()
    {
        testsupport::MainWindow w;
        const QStringList names = {QStringLiteral("HIDDENtxthexcolor"),
                                   QStringLiteral("HIDDENlblcolor"),
                                   QStringLiteral("HIDDENlbltaginfo"),
                                   QStringLiteral("HIDDENlblfilename"),
                                   QStringLiteral("picboxHIDDEN"),
                                   QStringLiteral("HIDDENtxtbackred"),
                                   QStringLiteral("HIDDENtxtactivelinksblue")};
        for (const QString &name : names) {
            auto *field = w.window->findChild<QWidget *>(name);
            QVERIFY2(field, qPrintable(name));
            QVERIFY(!field->isVisible());
            QVERIFY(field->x() >= tw(7860));
        }
        QVERIFY(control<QLabel>(w.window.get(), "HIDDENlbltaginfo")->text().isEmpty());
        QVERIFY(control<QLabel>(w.window.get(), "HIDDENlblfilename")->text().isEmpty());
        QVERIFY(w.window->findChild<QObject *>(QStringLiteral("CommonDialog1")));
        QVERIFY(w.window->findChild<QObject *>(QStringLiteral("CommonDialog2")));
    }

    void startUpState()
    {
        testsupport::MainWindow w;
        QWidget *win = w.window.get();
        QVERIFY(control<QAbstractButton>(win, "optBACK")->isChecked());
        QVERIFY(!control<QAbstractButton>(win, "optTEXT")->isChecked());
        for (const char *s : {"VScrollRed", "VScrollGreen", "VScrollBlue"})
            QCOMPARE(control<QScrollBar>(win, s)->value(), 220);
        for (const char *t : {"txtred", "txtgreen", "txtblue"})
            QCOMPARE(control<QLineEdit>(win, t)->text(), QStringLiteral("220"));
        QCOMPARE(backColor(control<QWidget>(win, "lblred")), QColor(220, 0, 0));
        QCOMPARE(backColor(control<QWidget>(win, "lblgreen")), QColor(0, 220, 0));
        QCOMPARE(backColor(control<QWidget>(win, "lblblue")), QColor(0, 0, 220));
        QCOMPARE(backColor(control<QWidget>(win, "lblhextxtcolor")), QColor(10, 10, 10));
        QCOMPARE(backColor(control<QWidget>(win, "lblhexbackcolor")), QColor(220, 220, 220));
        QCOMPARE(backColor(control<QWidget>(win, "lblhexnewlinkcolor")), QColor(0, 0, 238));
        QCOMPARE(backColor(control<QWidget>(win, "lblhexvisitedlinkcolor")), QColor(85, 26, 139));
        QCOMPARE(backColor(control<QWidget>(win, "lblhexactivelinkcolor")), QColor(238, 0, 0));
        QCOMPARE(backColor(control<QWidget>(win, "picboxMAIN")), QColor(220, 220, 220));
        QCOMPARE(foreColor(control<QWidget>(win, "lblpic")), QColor(10, 10, 10));
        QCOMPARE(foreColor(control<QWidget>(win, "lblpicNewlink")), QColor(0, 0, 238));
        QCOMPARE(foreColor(control<QWidget>(win, "lblpicVisitedlink")), QColor(85, 26, 139));
        QCOMPARE(foreColor(control<QWidget>(win, "lblpicActivelink")), QColor(238, 0, 0));
        QCOMPARE(control<QLineEdit>(win, "txtHEXtext")->text(), QStringLiteral("#0A0A0A"));
        QCOMPARE(control<QLineEdit>(win, "txtHEXback")->text(), QStringLiteral("#DCDCDC"));
        QCOMPARE(control<QLineEdit>(win, "txtnewlink")->text(), QStringLiteral("#0000EE"));
        QCOMPARE(control<QLineEdit>(win, "txtvisitedlink")->text(), QStringLiteral("#551A8B"));
        QCOMPARE(control<QLineEdit>(win, "txtactivelink")->text(), QStringLiteral("#EE0000"));
        QCOMPARE(control<QLineEdit>(win, "HIDDENtxthexcolor")->text(), QStringLiteral("#DCDCDC"));
        for (const char *b : {"cmdresetNEW", "cmdresetVISITED", "cmdresetACTIVE", "cmdclear", "cmdsave"})
            QVERIFY2(!control<QWidget>(win, b)->isEnabled(), b);
        QCOMPARE(control<QLabel>(win, "lblpic")->text(), QStringLiteral("Sample"));
        QCOMPARE(QApplication::focusWidget(), control<QWidget>(win, "VScrollRed"));
        QVERIFY(w.env.desktop.messages.isEmpty());
    }

    // Every kind of step, then Ctrl+Z back through each earlier state and
    // Ctrl+Shift+Z and Ctrl+Y forward again. The target an undo or redo
    // changes is selected and shows its color on the sliders.
    void undoAndRedoWalkEveryState()
    {
        testsupport::MainWindow w;
        QTemporaryDir dir;
        writePicture(dir.filePath(QStringLiteral("stone.png")), Qt::darkGray);
        QFile page(dir.filePath(QStringLiteral("page.htm")));
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.write("<html><body bgcolor=\"#102030\" text=\"#405060\" vlink=\"#708090\">x</body></html>");
        page.close();
        // Its back color and then its picture, which covers it, in one step.
        const QString framed = dir.filePath(QStringLiteral("framed.htm"));
        QVERIFY(writeFile(framed, "<body bgcolor=#A0B0C0 background=stone.png>"));

        QList<QStringList> states = {colorsAndImage(w.controls)};
        const auto step = [&] {
            QVERIFY(colorsAndImage(w.controls) != states.constLast());
            states << colorsAndImage(w.controls);
        };
        QTest::mouseClick(w->optNewlinks, Qt::LeftButton);
        QCOMPARE(colorsAndImage(w.controls), states.constLast()); // a switch alone is no step
        testsupport::typeInto(w->txtred, QStringLiteral("12"));
        QTest::keyClick(w->txtred, Qt::Key_0);
        step(); // three digits, one step
        testsupport::typeInto(w->txtgreen, QStringLiteral("77"));
        step(); // another box: a step of its own
        QTest::mouseClick(w->cmdALLdown, Qt::LeftButton);
        step();
        QTest::mouseClick(w->cmdresetNEW, Qt::LeftButton);
        step();
        w.env.desktop.answerOpen(framed);
        press(Qt::Key_O, Qt::ControlModifier);
        step();
        QCOMPARE(w->HIDDENlbltaginfo->text(), QStringLiteral("stone.png"));
        QCOMPARE(w->txtHEXback->text(), QStringLiteral("#A0B0C0"));
        w.env.desktop.clipboard = QStringLiteral("#123456");
        press(Qt::Key_V, Qt::ControlModifier);
        step();
        // Back, under the picture: no step.
        w.env.desktop.clipboard = QStringLiteral("#654321");
        w->txtHEXback->setFocus();
        press(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(colorsAndImage(w.controls), states.constLast());
        w.env.desktop.answerOpen(page.fileName());
        press(Qt::Key_O, Qt::ControlModifier);
        step(); // Text and Visited from one page, its Back left out
        QCOMPARE(w.env.desktop.takeMessages().size(), 1);
        QTest::mouseClick(w->cmdclear, Qt::LeftButton);
        step();
        QTest::mouseClick(w->optActivelinks, Qt::LeftButton);
        QTest::mouseClick(w->cmd0, Qt::LeftButton);
        step();
        QCOMPARE(w.window->history().stack().count(), states.size() - 1);

        const auto showsChange = [&](const QStringList &from, const QStringList &to) {
            // Never Back under a picture.
            for (QRadioButton *option : w.window->findChildren<QRadioButton *>())
                QVERIFY(!option->isChecked() || option->isEnabled());
            // A single changed target is the selected one, its color on the sliders.
            QList<int> changed;
            for (int t = 0; t < 5; ++t)
                if (from[t] != to[t])
                    changed << t;
            if (changed.size() != 1)
                return;
            QRadioButton *options[] = {w->optTEXT, w->optBACK, w->optNewlinks, w->optVisitedlinks, w->optActivelinks};
            const int t = changed.first();
            if (t == 1 && !to[6].isEmpty())
                return; // Back is not edited under a picture
            QVERIFY2(options[t]->isChecked(), qPrintable(to.join(' ')));
            QCOMPARE(color::hexColor(w->VScrollRed->value(), w->VScrollGreen->value(), w->VScrollBlue->value()), to[t]);
        };
        // Back, from a value box for once: the box's own undo yields to the window's.
        w->txtblue->setFocus();
        for (qsizetype i = states.size() - 1; i > 0; --i) {
            press(Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(colorsAndImage(w.controls), states[i - 1]);
            showsChange(states[i], states[i - 1]);
            QCOMPARE(testsupport::brokenColorModel(*w.window), QString());
        }
        press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(colorsAndImage(w.controls), states.constFirst());
        // And forth, by both keys.
        for (qsizetype i = 1; i < states.size(); ++i) {
            press(i % 2 ? Qt::Key_Y : Qt::Key_Z, i % 2 ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier);
            QCOMPARE(colorsAndImage(w.controls), states[i]);
            showsChange(states[i - 1], states[i]);
            QCOMPARE(testsupport::brokenColorModel(*w.window), QString());
        }
        press(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(colorsAndImage(w.controls), states.constLast());
        // The image went back and forth by its own paths: no message, no dialog.
        QVERIFY(w.env.desktop.messages.isEmpty());
        QCOMPARE(w.env.desktop.prompts.size(), 2);
    }

    // Target switches and edits that change nothing leave no step; typing
    // that ends where it began leaves none either.
    void onlyChangesAreSteps()
    {
        testsupport::MainWindow w;
        const QUndoStack &stack = w.window->history().stack();
        QTest::mouseClick(w->optTEXT, Qt::LeftButton);
        QTest::mouseClick(w->lblpicActivelink, Qt::LeftButton);
        w->optActivelinks->setFocus();
        press(Qt::Key_Up);
        QVERIFY(w->optVisitedlinks->isChecked());
        QTest::mouseClick(w->cmdresetVISITED, Qt::LeftButton); // already the default
        QCOMPARE(stack.count(), 0);
        QVERIFY(!w.window->history().undoAction()->isEnabled());
        testsupport::typeInto(w->txtred, QStringLiteral("9"));
        QTest::keyClick(w->txtred, Qt::Key_Backspace);
        testsupport::typeInto(w->txtred, QStringLiteral("85"));
        QCOMPARE(stack.count(), 0);
        // A new focus between digits starts a new step.
        testsupport::typeInto(w->txtred, QStringLiteral("1"));
        w->VScrollRed->setFocus();
        w->txtred->setFocus();
        w->txtred->end(false);
        QTest::keyClick(w->txtred, Qt::Key_2);
        QCOMPARE(stack.count(), 2);
        press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(w->txtvisitedlink->text(), QStringLiteral("#011A8B"));
    }

    // Ctrl+Z in the sample text undoes its typing and no color.
    void sampleTextKeepsItsOwnUndo()
    {
        testsupport::MainWindow w;
        QTest::mouseClick(w->cmd0, Qt::LeftButton);
        w->txtBOX->setFocus();
        w->txtBOX->end(false);
        QTest::keyClicks(w->txtBOX, QStringLiteral("s"));
        QCOMPARE(w->txtBOX->text(), QStringLiteral("Samples"));
        press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(w->txtBOX->text(), QStringLiteral("Sample"));
        QCOMPARE(w->txtHEXback->text(), QStringLiteral("#000000"));
        press(Qt::Key_Z, Qt::ControlModifier);
        press(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(w->txtBOX->text(), QStringLiteral("Samples"));
        press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(w->txtHEXback->text(), QStringLiteral("#000000"));
        QCOMPARE(w.window->history().stack().index(), 1);
        w->VScrollRed->setFocus();
        press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(w->txtHEXback->text(), QStringLiteral("#DCDCDC"));
        QCOMPARE(w->txtBOX->text(), QStringLiteral("Samples"));
    }

    // An undo to a picture that is gone keeps the image and says why.
    void undoToAMissingPictureKeepsTheImage()
    {
        testsupport::MainWindow w;
        QTemporaryDir dir;
        const QString first = writePicture(dir.filePath(QStringLiteral("first.png")), Qt::red);
        const QString second = writePicture(dir.filePath(QStringLiteral("second.png")), Qt::blue);
        for (const QString &picture : {first, second}) {
            w.env.desktop.answerOpen(picture);
            QTest::mouseClick(w->cmdload, Qt::LeftButton);
        }
        QVERIFY(QFile::remove(first));
        press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(w->HIDDENlblfilename->text(), second);
        QCOMPARE(w->HIDDENlbltaginfo->text(), QStringLiteral("second.png"));
        QVERIFY(!w->picboxMAIN->picture().isNull());
        const auto messages = w.env.desktop.takeMessages();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].text, QStringLiteral("The background image \"%1\" could not be shown again: No such file "
                                                  "or directory.")
                                       .arg(first));
        press(Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(w->picboxMAIN->picture().isNull());
        QVERIFY(w->optBACK->isEnabled());
    }

    // The preview's menu keeps its simulations and adds the window's
    // commands, with their keys and states.
    void previewMenuOffersTheCommands()
    {
        testsupport::MainWindow w;
        QWidget *preview = w->picboxMAIN;
        auto *menu = control<QMenu>(preview, "mnuColorVision");
        QVERIFY(menu);
        const auto openMenu = [&] {
            QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(10, 10), preview->mapToGlobal(QPoint(10, 10)));
            QApplication::sendEvent(preview, &event);
            QTRY_VERIFY(menu->isVisible());
        };
        const auto choose = [&](const QString &text) {
            openMenu();
            // A disabled entry is never reached.
            for (int i = 0; i < 12 && (!menu->activeAction() || menu->activeAction()->text() != text); ++i)
                QTest::keyClick(menu, Qt::Key_Down);
            QCOMPARE(menu->activeAction()->text(), text);
            QTest::keyClick(menu, Qt::Key_Return);
            QTRY_VERIFY(!menu->isVisible());
        };
        openMenu();
        QCOMPARE(menu->actions().first()->text(), QStringLiteral("Normal vision"));
        QStringList shown;
        for (QAction *a : menu->actions())
            if (!a->isSeparator())
                shown << a->text() + QLatin1Char('|') + a->shortcut().toString() + QLatin1Char('|')
                             + QString::number(a->isEnabled());
        QCOMPARE(shown.mid(5),
                 (QStringList{"Undo|Ctrl+Z|0", "Redo|Ctrl+Shift+Z|0", "Paste color|Ctrl+V|0",
                              "Open page colors...|Ctrl+O|1", "Pick from screen|Alt+P|1", "Adjust color...|Ctrl+J|1"}));
        QTest::keyClick(menu, Qt::Key_Escape);
        QTRY_VERIFY(!menu->isVisible());

        // Offered for any text, judged without reading it: the clipboard's
        // owner may never answer. A paste of no color beeps.
        w.env.desktop.clipboard = QStringLiteral("no color");
        choose(QStringLiteral("Paste color"));
        QCOMPARE(w.env.desktop.clipboardReads, 1);
        QCOMPARE(w.env.desktop.beeps, 1);
        QCOMPARE(w->txtHEXback->text(), QStringLiteral("#DCDCDC"));

        w.env.desktop.clipboard = QStringLiteral("teal");
        choose(QStringLiteral("Paste color"));
        QCOMPARE(w->txtHEXback->text(), QStringLiteral("#008080"));
        choose(QStringLiteral("Undo"));
        QCOMPARE(w->txtHEXback->text(), QStringLiteral("#DCDCDC"));
        choose(QStringLiteral("Redo"));
        QCOMPARE(w->txtHEXback->text(), QStringLiteral("#008080"));
        w.env.desktop.cancel(platform::ScriptedDesktop::Kind::Open);
        choose(QStringLiteral("Open page colors..."));
        QCOMPARE(w.env.desktop.prompts.size(), 1);
        QCOMPARE(w.env.desktop.prompts[0].dialogTitle, QStringLiteral("Open a web page's colors"));
    }

    void secondCopyIsRefused()
    {
        testsupport::Environment env;
        env.desktop.earlierInstance = true;
        frmmain w;
        QVERIFY(!w.loaded());
        QCOMPARE(env.desktop.messages.size(), 1);
        QCOMPARE(env.desktop.messages[0].text, QStringLiteral("Dudovuvov is already running..."));
        QCOMPARE(env.desktop.messages[0].title, QStringLiteral("Attention!"));
        QVERIFY(env.desktop.messages[0].icon == platform::MessageIcon::Exclamation);
    }

    void errorReportThenLoad()
    {
        testsupport::Environment env;
        env.desktop.instanceError = platform::RuntimeError{50003, QStringLiteral("Unexpected error")};
        frmmain w;
        QVERIFY(w.loaded());
        QCOMPARE(env.desktop.messages.size(), 1);
        QCOMPARE(env.desktop.messages[0].title, QStringLiteral("Error"));
        QVERIFY(env.desktop.messages[0].icon == platform::MessageIcon::None);
        QVERIFY(env.desktop.messages[0].text.endsWith(QStringLiteral("get the latest vbruntimes at Zudedidu.")));
        QCOMPARE(control<QLineEdit>(&w, "txtred")->text(), QStringLiteral("220"));
    }

    void exitAndCloseBoxEndTheProgram()
    {
        for (const bool viaButton : {true, false}) {
            testsupport::MainWindow w;
            QSignalSpy unloaded(w.window.get(), &frmmain::unloaded);
            if (viaButton)
                QTest::mouseClick(control<QWidget>(w.window.get(), "cmdexit"), Qt::LeftButton);
            else
                w.window->close();
            QCOMPARE(unloaded.count(), 1);
            QVERIFY(!w.window->isVisible());
        }
    }

    // Dropped color text reads as a paste does: a color outside sRGB is
    // brought in and the status line says so; a translucent one is refused
    // with a message.
    void droppedCssColors()
    {
        testsupport::MainWindow w;
        const QString outside = QStringLiteral("color(display-p3 0 1 0)");
        DraggedData green;
        green.setText(outside);
        QVERIFY(dragAndDrop(w->lblhexbackcolor, green));
        // Its hue kept: not the clipped #00FF00.
        QCOMPARE(w->txtHEXback->text(), QStringLiteral("#00FB29"));
        QApplication::processEvents();
        auto *status = control<QLabel>(w.window.get(), "contrastMessage");
        QVERIFY(status->isVisible());
        QCOMPARE(status->text(), color::gamutMappedText(outside, {0, 0xFB, 0x29}));

        const QString translucent = QStringLiteral("#00000080");
        DraggedData half;
        half.setText(translucent);
        QVERIFY(!dragAndDrop(w->lblhexbackcolor, half));
        QApplication::processEvents();
        const auto messages = w.env.desktop.takeMessages();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].text, color::translucentColorText(translucent));
        QCOMPARE(w->txtHEXback->text(), QStringLiteral("#00FB29"));
        QCOMPARE(testsupport::brokenColorModel(*w.window), QString());
    }

    // A picture file dropped anywhere on the window loads as the background
    // image, a web page gives its colors: also over a box that takes dropped
    // text, and whatever the file manager offers beside the file.
    void droppedFilesLoadOrOpen()
    {
        QTemporaryDir dir;
        const QString picture = dir.filePath(QStringLiteral("tile.png"));
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(Qt::red);
        QVERIFY(image.save(picture));
        const QString page = dir.filePath(QStringLiteral("colors.HTML"));
        QVERIFY(writeFile(page, "<body bgcolor=#102030 text=#405060 link=#708090 vlink=#A0B0C0 alink=#D0E0F0>"));
        testsupport::MainWindow w;

        DraggedData pageData;
        pageData.setUrls({QUrl::fromLocalFile(page)});
        pageData.setText(page);
        QVERIFY(dragAndDrop(w->txtBOX, pageData));
        QCOMPARE(pageData.readsBeforeDrop, 0);
        QCOMPARE(w->txtBOX->text(), QStringLiteral("Sample"));
        QCOMPARE(hexBoxes(w.controls), QStringList({"#405060", "#102030", "#708090", "#A0B0C0", "#D0E0F0"}));
        QVERIFY(w->optBACK->isChecked());

        DraggedData pictureData;
        pictureData.setUrls({QUrl::fromLocalFile(picture)});
        QVERIFY(dragAndDrop(w.window.get(), pictureData));
        QCOMPARE(w->HIDDENlbltaginfo->text(), QStringLiteral("tile.png"));
        QVERIFY(w->optTEXT->isChecked() && !w->optBACK->isEnabled());
        QCOMPARE(w.env.desktop.messages.size(), 0);

        // A color dropped on the covered background is refused.
        DraggedData navy;
        navy.setText(QStringLiteral("navy"));
        QVERIFY(!dragAndDrop(w->picboxMAIN, navy));
        QCOMPARE(w->txtHEXback->text(), QStringLiteral("#102030"));
        QVERIFY(w->optTEXT->isChecked() && !w->optBACK->isChecked());

        // A page that cannot be used is said so, as after Ctrl+O.
        const QString none = dir.filePath(QStringLiteral("none.htm"));
        QVERIFY(writeFile(none, "<p>no tag</p>"));
        DraggedData noneData;
        noneData.setUrls({QUrl::fromLocalFile(none)});
        QVERIFY(dragAndDrop(w->lblhexbackcolor, noneData));
        const auto messages = w.env.desktop.takeMessages();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].text, none + QStringLiteral(" has no BODY tag.\r\nNo colors were read from it."));
        QCOMPARE(testsupport::brokenColorModel(*w.window), QString());

        // So is a picture that cannot be loaded: a compressed drawing of a
        // gigabyte, refused at once; the picture before it stays.
        const QString bomb = dir.filePath(QStringLiteral("tiles.svgz"));
        QVERIFY(writeFile(bomb, testsupport::gzipped("<svg width='10' height='10'>", qint64(1) << 30, ' ', "</svg>")));
        DraggedData bombData;
        bombData.setUrls({QUrl::fromLocalFile(bomb)});
        QElapsedTimer clock;
        clock.start();
        QVERIFY(dragAndDrop(w.window.get(), bombData));
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
        const auto refused = w.env.desktop.takeMessages();
        QCOMPARE(refused.size(), 1);
        QCOMPARE(refused[0].text, QStringLiteral("\"%1\" was not loaded as the background image: it is a drawing of "
                                                 "more than 8 MB unpacked.")
                                      .arg(bomb));
        QCOMPARE(w->HIDDENlbltaginfo->text(), QStringLiteral("tile.png"));
    }

    // While a picture covers the preview, no path gives the back color a new
    // one: a paste or a drop beeps or is refused; an opened or dropped page
    // gives everything else and says what it left out.
    void backKeepsItsColorUnderAPicture_data()
    {
        QTest::addColumn<QString>("action"); // "paste", "open", "drop page" or "drop on NAME"
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QString>("message"); // %1: the page's folder
        QTest::addColumn<QString>("picture");
        const QByteArray page = "<body bgcolor=#FF00FF text=#405060>";
        const QString backLeftOut = QStringLiteral("The page's colors were read, but its background color #FF00FF was "
                                                   "left out: the back color cannot change while a background image is "
                                                   "loaded.");
        QTest::newRow("paste into its hex box") << "paste" << QByteArray() << QString() << "stone.png";
        for (const char *on : {"txtHEXback", "lblhexbackcolor", "picboxMAIN"})
            QTest::addRow("drop on %s", on)
                << QStringLiteral("drop on %1").arg(on) << QByteArray() << QString() << "stone.png";
        QTest::newRow("page opened") << "open" << page << backLeftOut << "stone.png";
        QTest::newRow("page dropped") << "drop page" << page << backLeftOut << "stone.png";
        // The picture and its name may come from the page all the same.
        QTest::newRow("page with its own picture")
            << "open" << QByteArray("<body bgcolor=#FF00FF text=#405060 background=other.png>") << backLeftOut
            << "other.png";
        QTest::newRow("page with a missing picture")
            << "open" << QByteArray("<body bgcolor=#FF00FF text=#405060 background=gone.png>")
            << QStringLiteral("The page's colors were read, but its background image gone.png is not in %1, and the "
                              "back color cannot change while a background image is loaded: both the image and the "
                              "background color #FF00FF were left out.")
            << "stone.png";
        // Nothing is left out where the page's back color is the one there.
        QTest::newRow("page with the same back color")
            << "open" << QByteArray("<body bgcolor=#DCDCDC text=#405060>") << QString() << "stone.png";
    }
    void backKeepsItsColorUnderAPicture()
    {
        QFETCH(QString, action);
        QFETCH(QByteArray, page);
        QFETCH(QString, message);
        QFETCH(QString, picture);
        QTemporaryDir dir;
        const QString stone = writePicture(dir.filePath(QStringLiteral("stone.png")), Qt::darkGray);
        writePicture(dir.filePath(QStringLiteral("other.png")), Qt::darkGreen);
        const QString pagePath = dir.filePath(QStringLiteral("page.htm"));
        QVERIFY(writeFile(pagePath, page));
        testsupport::MainWindow w;
        w.env.desktop.answerOpen(stone);
        QTest::mouseClick(w->cmdload, Qt::LeftButton);
        QVERIFY(w->optTEXT->isChecked() && !w->optBACK->isEnabled());
        const qsizetype steps = w.window->history().stack().count();

        w.env.desktop.clipboard = QStringLiteral("#FF00FF");
        if (action == QLatin1String("paste")) {
            w->txtHEXback->setFocus();
            press(Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(w.env.desktop.beeps, 1);
        } else if (action.startsWith(QLatin1String("drop on "))) {
            DraggedData magenta;
            magenta.setText(QStringLiteral("#FF00FF"));
            QVERIFY(!dragAndDrop(control<QWidget>(w.window.get(), qPrintable(action.mid(8))), magenta));
        } else if (action == QLatin1String("open")) {
            w.env.desktop.answerOpen(pagePath);
            press(Qt::Key_O, Qt::ControlModifier);
        } else {
            DraggedData pageData;
            pageData.setUrls({QUrl::fromLocalFile(pagePath)});
            QVERIFY(dragAndDrop(w->picboxMAIN, pageData));
        }

        QCOMPARE(w->txtHEXback->text(), QStringLiteral("#DCDCDC"));
        QCOMPARE(backColor(w->lblhexbackcolor), QColor(220, 220, 220));
        QCOMPARE(backColor(w->picboxMAIN), QColor(220, 220, 220));
        for (const QLineEdit *store : {w->HIDDENtxtbackred, w->HIDDENtxtbackgreen, w->HIDDENtxtbackblue})
            QCOMPARE(store->text(), QStringLiteral("220"));
        QVERIFY(!w->optBACK->isChecked() && !w->optBACK->isEnabled());
        QCOMPARE(w->HIDDENlbltaginfo->text(), picture);
        QCOMPARE(testsupport::brokenColorModel(*w.window), QString());
        const auto messages = w.env.desktop.takeMessages();
        if (message.isEmpty()) {
            QCOMPARE(messages.size(), 0);
        } else {
            QCOMPARE(messages.size(), 1);
            QCOMPARE(messages[0].text, message.arg(QDir::toNativeSeparators(dir.path())));
        }
        // A page gives the rest of its colors, as one step.
        if (!page.isEmpty()) {
            QCOMPARE(w->txtHEXtext->text(), QStringLiteral("#405060"));
            QCOMPARE(w.window->history().stack().count(), steps + 1);
        } else {
            QCOMPARE(w.window->history().stack().count(), steps);
        }
    }

    // A color's text dropped on a target's swatch, hex box or preview
    // element becomes that target's color and selects it.
    void droppedColorSetsTheTargetUnderIt()
    {
        testsupport::MainWindow w;
        struct Case {
            const char *on;
            QString text;
            QLineEdit *hexBox;
            QRadioButton *option;
            QString color;
        };
        const Case cases[] = {
            {"lblhextxtcolor", QStringLiteral("#123"), w->txtHEXtext, w->optTEXT, QStringLiteral("#112233")},
            {"txtHEXback", QStringLiteral("rgb(1, 2, 3)"), w->txtHEXback, w->optBACK, QStringLiteral("#010203")},
            {"lblpicNewlink", QStringLiteral("teal"), w->txtnewlink, w->optNewlinks, QStringLiteral("#008080")},
            {"lblhexvisitedlinkcolor", QStringLiteral(" 0A0B0C\n"), w->txtvisitedlink, w->optVisitedlinks,
             QStringLiteral("#0A0B0C")},
            {"lblpicActivelink", QStringLiteral("a:active { color: #FEDCBA; }"), w->txtactivelink, w->optActivelinks,
             QStringLiteral("#FEDCBA")},
            {"lblpic", QStringLiteral("black"), w->txtHEXtext, w->optTEXT, QStringLiteral("#000000")},
            {"picboxMAIN", QStringLiteral("white"), w->txtHEXback, w->optBACK, QStringLiteral("#FFFFFF")},
        };
        for (const Case &c : cases) {
            DraggedData data;
            data.setText(c.text);
            QVERIFY2(dragAndDrop(control<QWidget>(w.window.get(), c.on), data), c.on);
            // Taken from the offered formats; the text is read on the drop.
            QCOMPARE(data.readsBeforeDrop, 0);
            QCOMPARE(c.hexBox->text(), c.color);
            QVERIFY2(c.option->isChecked(), c.on);
            QCOMPARE(testsupport::brokenColorModel(*w.window), QString());
        }
        // Offered only as a move it is refused: the source would lose its text.
        DraggedData moved;
        moved.setText(QStringLiteral("#FFFFFF"));
        QVERIFY(!dragAndDrop(w->lblhextxtcolor, moved, Qt::MoveAction));
        QCOMPARE(w->txtHEXtext->text(), QStringLiteral("#000000"));
    }

    // Anything else is refused and changes nothing. A drag offering files is
    // taken from its formats alone, so what the drop then shows unusable
    // beeps, as a paste of no color does; the sample text box still takes
    // dropped text itself, a link's too.
    void otherDropsAreRefused()
    {
        QTemporaryDir dir;
        const QString notes = dir.filePath(QStringLiteral("notes.txt"));
        QVERIFY(writeFile(notes, "#FF0000"));
        QImage image(2, 2, QImage::Format_RGB32);
        image.fill(Qt::blue);
        const QString a = dir.filePath(QStringLiteral("a.png")), b = dir.filePath(QStringLiteral("b.png"));
        QVERIFY(image.save(a) && image.save(b));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.htm")));
        testsupport::MainWindow w;
        const QStringList before = hexBoxes(w.controls);

        const auto text = [](const QString &t) {
            auto d = std::make_unique<DraggedData>();
            d->setText(t);
            return d;
        };
        const auto files = [](const QStringList &paths, const QString &t = {}) {
            auto d = std::make_unique<DraggedData>();
            QList<QUrl> urls;
            for (const QString &p : paths)
                urls << (p.contains(u':') ? QUrl(p) : QUrl::fromLocalFile(p));
            d->setUrls(urls);
            if (!t.isEmpty())
                d->setText(t);
            return d;
        };
        const QString link = QStringLiteral("https://example.org/a.png");
        struct Drop {
            QWidget *on;
            std::unique_ptr<DraggedData> data;
            bool beeps;
        };
        const Drop drops[] = {
            {w->lblhexbackcolor, text(QStringLiteral("#12345")), true},
            {w->lblpicNewlink, text(QStringLiteral("color: red; color: blue")), true},
            // Only the window's targets take colors.
            {w.window.get(), text(QStringLiteral("#FF0000")), false},
            {w->picboxMAIN, files({notes}), true},
            {w.window.get(), files({a, b}), true},
            {w.window.get(), files({dir.filePath(QStringLiteral("gone.png"))}), true},
            {w.window.get(), files({dir.filePath(QStringLiteral("folder.htm"))}), true},
            {w->lblhextxtcolor, files({link}, link), true},
            {w->lblhextxtcolor, std::make_unique<DraggedData>(), false},
        };
        for (const Drop &d : drops) {
            const int beeps = w.env.desktop.beeps;
            QVERIFY2(!dragAndDrop(d.on, *d.data), qPrintable(d.data->text() + d.data->urls().value(0).toString()));
            QCOMPARE(d.data->readsBeforeDrop, 0);
            QCOMPARE(hexBoxes(w.controls), before);
            QCOMPARE(w.env.desktop.beeps - beeps, d.beeps ? 1 : 0);
        }
        QVERIFY(w->optBACK->isChecked() && w->optBACK->isEnabled());
        QCOMPARE(w->HIDDENlbltaginfo->text(), QString());
        QCOMPARE(w.env.desktop.messages.size(), 0);

        const auto words = text(QStringLiteral("Hello"));
        dragAndDrop(w->txtBOX, *words);
        QVERIFY(w->txtBOX->text().contains(QStringLiteral("Hello")));
        const auto linkData = files({link}, link);
        const int beeps = w.env.desktop.beeps;
        dragAndDrop(w->txtBOX, *linkData);
        QVERIFY(w->txtBOX->text().contains(link));
        QCOMPARE(w.env.desktop.beeps, beeps);
    }
};

QTEST_MAIN(TestFrmmain)
#include "tst_frmmain.moc"

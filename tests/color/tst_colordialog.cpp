#include "app/frmmain.h"
#include "color/coloreditor.h"
#include "color/rgb.h"
#include "platform/qtdesktop.h"
#include "testsupport.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTimer>

using platform::ScriptedDesktop;
using testsupport::control;

namespace {

// Every visible and stored color of the main window, to show that nothing changed.
QStringList colorState(QWidget *w)
{
    QStringList state;
    for (auto *s : w->findChildren<QScrollBar *>())
        state << s->objectName() + QLatin1Char('=') + QString::number(s->value());
    for (auto *t : w->findChildren<QLineEdit *>())
        if (t->objectName() != QLatin1String("txtBOX"))
            state << t->objectName() + QLatin1Char('=') + t->text();
    return state;
}

void pressColorButton(QWidget *w)
{
    QTest::mouseClick(control<QWidget>(w, "cmdUSEwindows"), Qt::LeftButton);
}

// Answers the next real color dialog of `owner` once it shows: notes the
// color it opened on, sets `chosen` and presses OK. Tied to the owner, so an
// unanswered retry ends with its test.
void answerRealColorDialog(QWidget *owner, const QColor &chosen, QColor *openedOn, int tries = 200)
{
    QTimer::singleShot(10, owner, [=] {
        QColorDialog *box = nullptr;
        for (QWidget *top : QApplication::topLevelWidgets())
            if (auto *d = qobject_cast<QColorDialog *>(top); d != nullptr && d->isVisible())
                box = d;
        if (box == nullptr) {
            if (tries > 0)
                answerRealColorDialog(owner, chosen, openedOn, tries - 1);
            else if (QWidget *modal = QApplication::activeModalWidget())
                modal->close(); // never block the run
            return;
        }
        *openedOn = box->currentColor().toRgb();
        box->setCurrentColor(chosen);
        auto *buttons = box->findChild<QDialogButtonBox *>();
        QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
    });
}

QStringList valueBoxes(QWidget *w)
{
    QStringList texts;
    for (const char *name : {"txtred", "txtgreen", "txtblue"})
        texts << control<QLineEdit>(w, name)->text();
    return texts;
}

} // namespace

class TestColorDialog : public QObject {
    Q_OBJECT
private slots:
    void cancelChangesNothingButTheFocus()
    {
        testsupport::MainWindow w;
        QWidget *win = w.window.get();
        control<QWidget>(win, "txtBOX")->setFocus();
        const QStringList before = colorState(win);
        QSignalSpy updates(&w.window->colorEditor(), &ColorEditor::colorChanged);
        w.env.desktop.cancel(ScriptedDesktop::Kind::Color);
        pressColorButton(win);
        QCOMPARE(w.env.desktop.prompts.size(), 1);
        const ScriptedDesktop::Prompt &p = w.env.desktop.prompts[0];
        QVERIFY(p.kind == ScriptedDesktop::Kind::Color);
        QCOMPARE(p.dialogName, QStringLiteral("CommonDialog1"));
        QVERIFY(p.cancelError);
        QCOMPARE(p.flags, 1);
        QCOMPARE(p.color, 0); // black the first time, not the target's color
        QCOMPARE(colorState(win), before);
        QCOMPARE(updates.count(), 0);
        QCOMPARE(QApplication::focusWidget(), control<QWidget>(win, "VScrollRed"));
        QCOMPARE(w.env.desktop.pendingAnswers(), 0);
        QVERIFY(w.env.desktop.messages.isEmpty() && w.env.desktop.unscripted.isEmpty());
    }

    void secondOpeningStartsOnTheFirstChoice()
    {
        testsupport::MainWindow w;
        QWidget *win = w.window.get();
        const qint32 first = color::packedColor(12, 34, 56);
        w.env.desktop.answerColor(first);
        pressColorButton(win);
        // Moving the sliders and selecting another target do not reach the dialog.
        testsupport::typeInto(control<QLineEdit>(win, "txtred"), QStringLiteral("99"));
        QTest::mouseClick(control<QRadioButton>(win, "optTEXT"), Qt::LeftButton);
        w.env.desktop.answerColor(color::packedColor(1, 2, 3));
        pressColorButton(win);
        // A cancel keeps what was chosen last.
        w.env.desktop.cancel(ScriptedDesktop::Kind::Color);
        pressColorButton(win);
        w.env.desktop.cancel(ScriptedDesktop::Kind::Color);
        pressColorButton(win);

        const auto &prompts = w.env.desktop.prompts;
        QCOMPARE(prompts.size(), 4);
        QCOMPARE(prompts[0].color, 0);
        QCOMPARE(prompts[1].color, first);
        QCOMPARE(prompts[2].color, color::packedColor(1, 2, 3));
        QCOMPARE(prompts[3].color, color::packedColor(1, 2, 3));
        for (const auto &p : prompts) {
            QCOMPARE(p.flags, 1);
            QVERIFY(p.cancelError);
        }
        QCOMPARE(control<QLineEdit>(win, "txtHEXback")->text(), QStringLiteral("#632238"));
        QCOMPARE(control<QLineEdit>(win, "txtHEXtext")->text(), QStringLiteral("#010203"));
    }

    void cancelAtFirstOpeningLeavesTheNextOnBlack()
    {
        testsupport::MainWindow w;
        w.env.desktop.cancel(ScriptedDesktop::Kind::Color);
        pressColorButton(w.window.get());
        w.env.desktop.cancel(ScriptedDesktop::Kind::Color);
        pressColorButton(w.window.get());
        QCOMPARE(w.env.desktop.prompts.size(), 2);
        QCOMPARE(w.env.desktop.prompts[1].color, 0);
    }

    void whiteReachesBoxesTargetAndStores_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("hexBox");
        QTest::addColumn<QStringList>("stores");
        QTest::newRow("Back") << "optBACK"
                              << "txtHEXback"
                              << QStringList{"HIDDENtxtbackred", "HIDDENtxtbackgreen", "HIDDENtxtbackblue"};
        QTest::newRow("VisitedLink") << "optVisitedlinks"
                                     << "txtvisitedlink"
                                     << QStringList{"HIDDENtxtvisitedlinksred", "HIDDENtxtvisitedlinksgreen",
                                                    "HIDDENtxtvisitedlinksblue"};
    }
    void whiteReachesBoxesTargetAndStores()
    {
        QFETCH(QString, option);
        QFETCH(QString, hexBox);
        QFETCH(QStringList, stores);
        testsupport::MainWindow w;
        QWidget *win = w.window.get();
        QTest::mouseClick(control<QRadioButton>(win, qPrintable(option)), Qt::LeftButton);
        // The three boxes are written red, green, blue.
        QStringList written;
        for (const char *name : {"txtred", "txtgreen", "txtblue"}) {
            auto *box = control<QLineEdit>(win, name);
            connect(box, &QLineEdit::textChanged, this, [&written, box] { written << box->objectName(); });
        }
        w.env.desktop.answerColor(0xFFFFFF);
        pressColorButton(win);
        QCOMPARE(written, (QStringList{"txtred", "txtgreen", "txtblue"}));
        for (const char *name : {"txtred", "txtgreen", "txtblue"})
            QCOMPARE(control<QLineEdit>(win, name)->text(), QStringLiteral("255"));
        for (const char *name : {"VScrollRed", "VScrollGreen", "VScrollBlue"})
            QCOMPARE(control<QScrollBar>(win, name)->value(), 255);
        QCOMPARE(control<QLineEdit>(win, qPrintable(hexBox))->text(), QStringLiteral("#FFFFFF"));
        for (const QString &store : stores)
            QCOMPARE(control<QLineEdit>(win, qPrintable(store))->text(), QStringLiteral("255"));
        QCOMPARE(QApplication::focusWidget(), control<QWidget>(win, "VScrollRed"));
    }

    void onlyChangedComponentsRecompute()
    {
        testsupport::MainWindow w;
        QWidget *win = w.window.get();
        QSignalSpy updates(&w.window->colorEditor(), &ColorEditor::colorChanged);
        QSignalSpy red(control<QScrollBar>(win, "VScrollRed"), &QScrollBar::valueChanged);
        QSignalSpy green(control<QScrollBar>(win, "VScrollGreen"), &QScrollBar::valueChanged);
        QSignalSpy blue(control<QScrollBar>(win, "VScrollBlue"), &QScrollBar::valueChanged);

        // The color Back already has: nothing moves, nothing is recomputed.
        const QStringList before = colorState(win);
        w.env.desktop.answerColor(color::packedColor(220, 220, 220));
        pressColorButton(win);
        QCOMPARE(updates.count(), 0);
        QCOMPARE(colorState(win), before);

        // Same red, other green: only green moves.
        w.env.desktop.answerColor(color::packedColor(220, 100, 220));
        pressColorButton(win);
        QCOMPARE(red.count(), 0);
        QCOMPARE(green.count(), 1);
        QCOMPARE(blue.count(), 0);
        QCOMPARE(updates.count(), 1);
        QCOMPARE(control<QLineEdit>(win, "txtHEXback")->text(), QStringLiteral("#DC64DC"));
        QCOMPARE(control<QLineEdit>(win, "HIDDENtxtbackgreen")->text(), QStringLiteral("100"));
    }

    // The real dialog: red and blue are apart in the packed color, so a swap
    // between it and the dialog's color shows.
    void realDialogOpensOnAndGivesBackThePackedColor()
    {
        testsupport::MainWindow w;
        QWidget *win = w.window.get();
        platform::QtDesktop real;
        platform::setDesktop(&real);
        const auto restore = qScopeGuard([&w] { platform::setDesktop(&w.env.desktop); });

        QColor openedOn;
        answerRealColorDialog(win, QColor(200, 100, 30), &openedOn);
        pressColorButton(win);
        QCOMPARE(openedOn, QColor(0, 0, 0));
        QCOMPARE(valueBoxes(win), (QStringList{"200", "100", "30"}));
        QCOMPARE(control<QLineEdit>(win, "txtHEXback")->text(), QStringLiteral("#C8641E"));
        QCOMPARE(w->CommonDialog1->Color, color::packedColor(200, 100, 30));

        answerRealColorDialog(win, QColor(10, 60, 240), &openedOn);
        pressColorButton(win);
        QCOMPARE(openedOn, QColor(200, 100, 30));
        QCOMPARE(valueBoxes(win), (QStringList{"10", "60", "240"}));
        QCOMPARE(control<QLineEdit>(win, "txtHEXback")->text(), QStringLiteral("#0A3CF0"));
    }

    void escapeOpensTheDialog()
    {
        testsupport::MainWindow w;
        QWidget *win = w.window.get();
        w.env.desktop.answerColor(color::packedColor(0, 128, 255));
        QTest::keyClick(win, Qt::Key_Escape);
        QCOMPARE(w.env.desktop.prompts.size(), 1);
        QVERIFY(w.env.desktop.prompts[0].kind == ScriptedDesktop::Kind::Color);
        QCOMPARE(control<QLineEdit>(win, "txtHEXback")->text(), QStringLiteral("#0080FF"));

        // Also while a value box has the keyboard.
        auto *green = control<QLineEdit>(win, "txtgreen");
        green->setFocus();
        w.env.desktop.cancel(ScriptedDesktop::Kind::Color);
        QTest::keyClick(green, Qt::Key_Escape);
        QCOMPARE(w.env.desktop.prompts.size(), 2);
        QCOMPARE(green->text(), QStringLiteral("128"));
        QCOMPARE(QApplication::focusWidget(), control<QWidget>(win, "VScrollRed"));
        QVERIFY(w.env.desktop.unscripted.isEmpty());
    }
};

QTEST_MAIN(TestColorDialog)
#include "tst_colordialog.moc"

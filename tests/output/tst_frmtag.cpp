#include "app/frmmain.h"
#include "color/colorset.h"
#include "output/frminfo.h"
#include "output/frmtag.h"
#include "testsupport.h"
#include "widgets/controls.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

using testsupport::control;
using testsupport::processDeletes;

namespace {

const QString defaultTag = QStringLiteral("<BODY BGCOLOR=\"#DCDCDC\" TEXT=\"#0A0A0A\" LINK=\"#0000EE\" "
                                          "VLINK=\"#551A8B\" ALINK=\"#EE0000\" BACKGROUND=\"\">");

void click(QWidget *root, const char *name)
{
    auto *b = control<QPushButton>(root, name);
    QVERIFY(b);
    QTest::mouseClick(b, Qt::LeftButton);
}

// Presses " View Body &Tag" and returns the body tag window it shows.
frmtag *openTag(testsupport::MainWindow &w)
{
    QTest::mouseClick(w->cmdtag, Qt::LeftButton);
    return testsupport::activeWindow<frmtag>(*w.window);
}

} // namespace

class TestFrmtag : public QObject {
    Q_OBJECT
private slots:
    void showsTheDefaultTagModally()
    {
        testsupport::MainWindow w;
        frmtag *tag = openTag(w);
        QVERIFY(tag);
        QVERIFY(tag->isVisible());
        QCOMPARE(tag->txtTag->toPlainText(), defaultTag);
        QCOMPARE(tag->windowModality(), Qt::ApplicationModal);
        QCOMPARE(QApplication::activeModalWidget(), tag);
        QCOMPARE(tag->parentWidget(), w.window.get());
        // The first control in the tab order has the focus.
        QCOMPARE(QApplication::focusWidget(), tag->cmdcopyTag);
    }

    void layout()
    {
        testsupport::MainWindow w;
        frmtag *tag = openTag(w);
        QVERIFY(tag);
        QCOMPARE(tag->windowTitle(), QStringLiteral("Dudovuvov"));
        QCOMPARE(tag->size(), QSize(tw(7020), tw(1680)));
        QCOMPARE(tag->minimumSize(), tag->maximumSize());
        QVERIFY(!(tag->windowFlags() & Qt::WindowMaximizeButtonHint));
        const testsupport::InventoryRow rows[] = {
            {"cmdcopyTag", "QPushButton", "Copy &Tag to Clipboard", "", 465, 975, 2205, 360, 0},
            {"cmdCREATEhtml", "QPushButton", "Create &HTML file",
             " Press here for a template HTMLfile with your specs ", 2730, 975, 2205, 360, 1},
            {"cmdclose", "QPushButton", "&Close", "", 5190, 975, 1500, 360, 2},
            {"txtTag", nullptr, nullptr, nullptr, 465, 240, 6225, 615, 3},
        };
        const QString mismatches = testsupport::inventoryMismatches(*tag, rows);
        QVERIFY2(mismatches.isEmpty(), qPrintable(mismatches));
        for (const char *name : {"cmdcopyTag", "cmdCREATEhtml", "cmdclose"}) {
            auto *b = control<QPushButton>(tag, name);
            QVERIFY(b);
            QVERIFY(b->fontMetrics().horizontalAdvance(b->text().remove(QLatin1Char('&'))) <= b->width());
        }
        QVERIFY(tag->cmdcopyTag->isDefault());
        QCOMPARE(tag->txtTag->objectName(), QStringLiteral("txtTag"));
        QCOMPARE(tag->txtTag->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QVERIFY(tag->txtTag->lineWrapMode() != QPlainTextEdit::NoWrap);
        // The whole tag wraps inside the box rather than running past it.
        QCOMPARE(tag->txtTag->blockCount(), 1);
        QVERIFY(tag->txtTag->horizontalScrollBar()->maximum() == 0);

        QStringList order;
        QWidget *current = tag->cmdcopyTag;
        for (int i = 0; i < 4; ++i) {
            order << current->objectName();
            QTest::keyClick(current, Qt::Key_Tab);
            current = QApplication::focusWidget();
        }
        QCOMPARE(order, (QStringList{"cmdcopyTag", "cmdCREATEhtml", "cmdclose", "txtTag"}));
        QCOMPARE(current, tag->cmdcopyTag);
    }

    void centredOnceThenKeepsItsPlace()
    {
        testsupport::MainWindow w;
        frmtag *tag = openTag(w);
        QVERIFY(tag);
        const QPoint centre = w.window->frameGeometry().center();
        QVERIFY((tag->frameGeometry().center() - centre).manhattanLength() <= 2);
        const QPoint first = tag->pos();
        // Hidden on the way to the page generator, then shown again after
        // the main window moved: the tag window stays where it was.
        click(tag, "cmdCREATEhtml");
        auto *info = testsupport::findWindow<frminfo>(*w.window);
        QVERIFY(info);
        info->close();
        processDeletes();
        w.window->move(w.window->pos() + QPoint(60, 40));
        QCOMPARE(openTag(w), tag);
        QCOMPARE(tag->pos(), first);
    }

    void tagAfterEditsAndWithAnImage()
    {
        testsupport::MainWindow w;
        struct Edit {
            const char *option;
            const char *red, *green, *blue;
        };
        const Edit edits[] = {{"optBACK", "1", "2", "3"},
                              {"optTEXT", "255", "254", "16"},
                              {"optNewlinks", "17", "0", "171"},
                              {"optVisitedlinks", "10", "11", "12"},
                              {"optActivelinks", "200", "100", "0"}};
        for (const Edit &e : edits) {
            QTest::mouseClick(control<QWidget>(w.window.get(), e.option), Qt::LeftButton, {}, QPoint(5, 5));
            testsupport::typeInto(w->txtred, QString::fromLatin1(e.red));
            testsupport::typeInto(w->txtgreen, QString::fromLatin1(e.green));
            testsupport::typeInto(w->txtblue, QString::fromLatin1(e.blue));
        }
        // What loading /pics/stone.gif leaves in the colors.
        w.window->colors().setPicture(QStringLiteral("/pics/stone.gif"));
        frmtag *tag = openTag(w);
        QVERIFY(tag);
        QCOMPARE(tag->txtTag->toPlainText(),
                 QStringLiteral("<BODY BGCOLOR=\"#010203\" TEXT=\"#FFFE10\" LINK=\"#1100AB\" VLINK=\"#0A0B0C\" "
                                "ALINK=\"#C86400\" BACKGROUND=\"stone.gif\">"));
    }

    void imageNameIsEscaped()
    {
        testsupport::MainWindow w;
        w.window->colors().setPicture(QStringLiteral("my \"best\" & <new>.gif"));
        frmtag *tag = openTag(w);
        QVERIFY(tag);
        QVERIFY(tag->txtTag->toPlainText().endsWith(
            QStringLiteral(" BACKGROUND=\"my &quot;best&quot; &amp; &lt;new&gt;.gif\">")));
    }

    void copyButtonAndEnterCopyTheTag()
    {
        for (const bool byEnter : {false, true}) {
            testsupport::MainWindow w;
            w.env.desktop.clipboard = QStringLiteral("something else");
            frmtag *tag = openTag(w);
            QVERIFY(tag);
            if (byEnter)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            else
                click(tag, "cmdcopyTag");
            QCOMPARE(w.env.desktop.clipboard, defaultTag);
            QCOMPARE(w.env.desktop.clipboardWrites, 1);
            QCOMPARE(QApplication::focusWidget(), tag->cmdclose);
            QVERIFY(tag->isVisible());
            QVERIFY(w.env.desktop.messages.isEmpty());
        }
    }

    void enterCopiesWhateverHasTheDefault()
    {
        // Enter typed while the focus is off the buttons presses the default button.
        testsupport::MainWindow w;
        frmtag *tag = openTag(w);
        QVERIFY(tag);
        QTest::keyClick(tag, Qt::Key_Enter);
        QCOMPARE(w.env.desktop.clipboard, defaultTag);
    }

    void enterInTheTagTextCopiesIt()
    {
        struct Press {
            Qt::Key key;
            Qt::KeyboardModifiers modifiers;
        };
        for (const Press &p : {Press{Qt::Key_Return, Qt::NoModifier}, Press{Qt::Key_Enter, Qt::KeypadModifier},
                               Press{Qt::Key_Return, Qt::ShiftModifier}}) {
            testsupport::MainWindow w;
            frmtag *tag = openTag(w);
            QVERIFY(tag);
            QTest::mouseClick(tag->txtTag->viewport(), Qt::LeftButton, {}, QPoint(20, 8));
            QCOMPARE(QApplication::focusWidget(), tag->txtTag);
            QTest::keyClick(tag->txtTag, p.key, p.modifiers);
            QCOMPARE(tag->txtTag->toPlainText(), defaultTag);
            QCOMPARE(w.env.desktop.clipboard, defaultTag);
            QCOMPARE(w.env.desktop.clipboardWrites, 1);
        }
        // Ctrl+Enter breaks the line and copies nothing.
        testsupport::MainWindow w;
        frmtag *tag = openTag(w);
        QVERIFY(tag);
        QTest::mouseClick(tag->txtTag->viewport(), Qt::LeftButton, {}, QPoint(20, 8));
        QTest::keyClick(tag->txtTag, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(tag->txtTag, Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(tag->txtTag->toPlainText(), defaultTag + QLatin1Char('\n'));
        QCOMPARE(w.env.desktop.clipboardWrites, 0);
    }

    void editedTextIsCopied()
    {
        testsupport::MainWindow w;
        frmtag *tag = openTag(w);
        QVERIFY(tag);
        tag->txtTag->setFocus();
        QTest::keyClick(tag->txtTag, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(tag->txtTag, Qt::Key_Backspace);
        QTest::keyClicks(tag->txtTag, QStringLiteral(" onload=\"go()\">"));
        click(tag, "cmdcopyTag");
        QCOMPARE(w.env.desktop.clipboard,
                 QStringLiteral("<BODY BGCOLOR=\"#DCDCDC\" TEXT=\"#0A0A0A\" LINK=\"#0000EE\" VLINK=\"#551A8B\" "
                                "ALINK=\"#EE0000\" BACKGROUND=\"\" onload=\"go()\">"));
    }

    void closeButtonEscAndCloseBoxDestroyTheWindow()
    {
        for (int way = 0; way < 3; ++way) {
            testsupport::MainWindow w;
            QPointer<frmtag> tag = openTag(w);
            QVERIFY(tag);
            tag->txtTag->setPlainText(QStringLiteral("edited"));
            if (way == 0)
                click(tag, "cmdclose");
            else if (way == 1)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            else
                tag->close();
            QVERIFY(!tag->isVisible());
            QCOMPARE(QApplication::activeModalWidget(), nullptr);
            processDeletes();
            QVERIFY2(tag.isNull(), "the body tag window outlived its closing");
            QVERIFY(w.env.desktop.clipboardWrites == 0);
            // The next click creates it afresh.
            frmtag *fresh = openTag(w);
            QVERIFY(fresh);
            QCOMPARE(fresh->txtTag->toPlainText(), defaultTag);
        }
    }

    void goingOnHidesAndReopeningWritesAFreshTag()
    {
        testsupport::MainWindow w;
        frmtag *tag = openTag(w);
        QVERIFY(tag);
        tag->txtTag->setPlainText(QStringLiteral("edited"));
        click(tag, "cmdCREATEhtml");
        QVERIFY(!tag->isVisible());
        auto *info = testsupport::findWindow<frminfo>(*w.window);
        QVERIFY(info);
        QVERIFY(info->isVisible());
        QCOMPARE(QApplication::activeModalWidget(), info);
        info->close();
        processDeletes();
        QCOMPARE(testsupport::findWindow<frmtag>(*w.window), tag);
        QVERIFY(!tag->isVisible());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        // A new color since, and the same window shows the new tag.
        w.window->colors().setPicture(QStringLiteral("sky.png"));
        QCOMPARE(openTag(w), tag);
        QVERIFY(tag->isVisible());
        QCOMPARE(tag->txtTag->toPlainText(),
                 QString(defaultTag).replace(QStringLiteral("\"\">"), QStringLiteral("\"sky.png\">")));
        QCOMPARE(w.window->findChildren<frmtag *>().size(), 1);
    }

    void copyButtons_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("expected");
        QTest::newRow("cmdCOPYTEXT") << "cmdCOPYTEXT"
                                     << "#0A0A0A";
        QTest::newRow("cmdCOPYBACK") << "cmdCOPYBACK"
                                     << "#DCDCDC";
        QTest::newRow("cmdCOPYnewlink") << "cmdCOPYnewlink"
                                        << "#0000EE";
        QTest::newRow("cmdCOPYvisitedlink") << "cmdCOPYvisitedlink"
                                            << "#551A8B";
        QTest::newRow("cmdCOPYactivelink") << "cmdCOPYactivelink"
                                           << "#EE0000";
    }

    void copyButtons()
    {
        QFETCH(QString, button);
        QFETCH(QString, expected);
        testsupport::MainWindow w;
        w.env.desktop.clipboard = QStringLiteral("whatever was there");
        auto *b = w.window->findChild<QPushButton *>(button);
        QVERIFY(b);
        QTest::mouseClick(b, Qt::LeftButton);
        QCOMPARE(w.env.desktop.clipboard, expected);
        QCOMPARE(w.env.desktop.clipboard.size(), 7);
        QCOMPARE(w.env.desktop.clipboardWrites, 1);
        QCOMPARE(QApplication::focusWidget(), w->cmdtag);
        // Nothing else changes.
        QVERIFY(w->optBACK->isChecked());
        QCOMPARE(w->VScrollRed->value(), 220);
        QVERIFY(w.env.desktop.messages.isEmpty());
        QCOMPARE(w.env.desktop.beeps, 0);
    }

    void copyOfAnUnselectedTargetCopiesItsStoredColor()
    {
        testsupport::MainWindow w;
        // Back is selected; its new mix is on the sliders.
        testsupport::typeInto(w->txtred, QStringLiteral("0"));
        QTest::mouseClick(w->cmdCOPYTEXT, Qt::LeftButton);
        QCOMPARE(w.env.desktop.clipboard, QStringLiteral("#0A0A0A"));
        QTest::mouseClick(w->cmdCOPYBACK, Qt::LeftButton);
        QCOMPARE(w.env.desktop.clipboard, QStringLiteral("#00DCDC"));
        QCOMPARE(w.env.desktop.clipboardWrites, 2);
    }

    void spaceAfterACopyOpensTheTagWindow()
    {
        testsupport::MainWindow w;
        QTest::mouseClick(w->cmdCOPYnewlink, Qt::LeftButton);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        auto *tag = testsupport::findWindow<frmtag>(*w.window);
        QVERIFY(tag);
        QVERIFY(tag->isVisible());
    }
};

QTEST_MAIN(TestFrmtag)
#include "tst_frmtag.moc"

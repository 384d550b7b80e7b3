#include "app/accessibletext.h"
#include "app/frmmain.h"
#include "testsupport.h"

#include "preview/previewbox.h"
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QWidget>

using testsupport::control;

namespace {

struct Announced {
    QWidget *widget;
    QString name;
    QString description;
};

// Every focusable, visible control reachable through the accessibility tree
// of `root` (options that are off too: the arrow keys reach them), with what
// a screen reader is told about it.
void walk(QAccessibleInterface *node, QList<Announced> &found, QSet<QObject *> &seen)
{
    if (node == nullptr || seen.contains(node->object()))
        return;
    seen.insert(node->object());
    auto *w = qobject_cast<QWidget *>(node->object());
    if (w != nullptr && w->isVisible() && w->focusPolicy() != Qt::NoFocus && !w->isWindow())
        found.append({w, node->text(QAccessible::Name), node->text(QAccessible::Description)});
    for (int i = 0; i < node->childCount(); ++i)
        walk(node->child(i), found, seen);
}

QList<Announced> announcedControls(QWidget *root)
{
    QList<Announced> found;
    QSet<QObject *> seen;
    walk(QAccessible::queryAccessibleInterface(root), found, seen);
    return found;
}

QString nameOf(QWidget *w)
{
    return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT
private slots:
    void captionsAndTooltipsBecomeSpeech()
    {
        QCOMPARE(accessible::fromCaption(QStringLiteral(" View Body &Tag")), QStringLiteral("View Body Tag"));
        QCOMPARE(accessible::fromCaption(QStringLiteral("Set   New  Links color")),
                 QStringLiteral("Set New Links color"));
        QCOMPARE(accessible::fromCaption(QStringLiteral("Salt && &Pepper")), QStringLiteral("Salt & Pepper"));
        QCOMPARE(accessible::fromCaption(QStringLiteral("Trailing&")), QStringLiteral("Trailing"));
        QCOMPARE(accessible::fromTooltip(QStringLiteral(" Red value ")), QStringLiteral("Red value"));
    }

    void everyFocusableControlHasAName()
    {
        testsupport::MainWindow w;
        const QList<Announced> controls = announcedControls(w.window.get());
        // The keyboard order alone holds 39 controls.
        QVERIFY2(controls.size() >= 39, qPrintable(QString::number(controls.size())));
        for (const Announced &c : controls) {
            const QString who = c.widget->objectName();
            QVERIFY2(!c.name.trimmed().isEmpty(), qPrintable(who + QLatin1String(" has no accessible name")));
            QCOMPARE(c.name, c.name.simplified());
            QVERIFY2(!c.name.contains(QLatin1Char('&')), qPrintable(who));
            if (!c.widget->toolTip().isEmpty())
                QCOMPARE(c.description, c.widget->toolTip().simplified());
        }
    }

    // The body tag, page and about windows, opened as a user opens them.
    void secondaryWindowsToo()
    {
        testsupport::MainWindow w;
        QTest::mouseClick(w->cmdtag, Qt::LeftButton);
        auto *tag = control<QWidget>(w.window.get(), "frmtag");
        QVERIFY(tag != nullptr && tag->isVisible());
        auto *txtTag = control<QWidget>(tag, "txtTag");
        QCOMPARE(nameOf(txtTag), QStringLiteral("BODY tag"));
        QList<Announced> controls = announcedControls(tag);
        QCOMPARE(controls.size(), 4);

        QTest::mouseClick(control<QPushButton>(tag, "cmdCREATEhtml"), Qt::LeftButton);
        QWidget *info = nullptr;
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (top->objectName() == QLatin1String("frminfo") && top->isVisible())
                info = top;
        }
        if (info == nullptr)
            info = control<QWidget>(w.window.get(), "frminfo");
        QVERIFY(info != nullptr);
        controls << announcedControls(info);
        QCOMPARE(nameOf(control<QWidget>(info, "txtNAME")), QStringLiteral("Your name (First, Last) :"));
        info->close();

        QTest::mouseClick(w->cmdabout, Qt::LeftButton);
        auto *about = control<QWidget>(w.window.get(), "frmabout");
        QVERIFY(about != nullptr);
        controls << announcedControls(about);
        for (const Announced &c : std::as_const(controls)) {
            const QString who = c.widget->objectName();
            QVERIFY2(!c.name.trimmed().isEmpty(), qPrintable(who + QLatin1String(" has no accessible name")));
            if (!c.widget->toolTip().isEmpty())
                QCOMPARE(c.description, c.widget->toolTip().simplified());
        }
        about->close();
    }

    // A copy leaves the focus on the tag button; Enter then opens the tag window.
    void enterPressesTheFocusedButton()
    {
        testsupport::MainWindow w;
        QTest::mouseClick(w->cmdCOPYBACK, Qt::LeftButton);
        QCOMPARE(w.env.desktop.clipboard, QStringLiteral("#DCDCDC"));
        QCOMPARE(QApplication::focusWidget(), w->cmdtag);
        QTest::keyClick(w->cmdtag, Qt::Key_Return);
        auto *tag = control<QWidget>(w.window.get(), "frmtag");
        QVERIFY(tag != nullptr && tag->isVisible());
        tag->close();
        QTest::keyClick(w->cmdCOPYTEXT, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(w.env.desktop.clipboard, QStringLiteral("#0A0A0A"));
    }

    void namesAUserHears()
    {
        testsupport::MainWindow w;
        QCOMPARE(nameOf(w->optBACK), QStringLiteral("Set Backcolor"));
        QCOMPARE(nameOf(w->txtred), QStringLiteral("Red value"));
        QCOMPARE(nameOf(w->cmdCOPYTEXT), QStringLiteral("Copy Textcolor"));
        QCOMPARE(nameOf(w->cmd0), QStringLiteral("Black"));
        QCOMPARE(nameOf(w->cmdtag), QStringLiteral("View Body Tag"));
        QCOMPARE(nameOf(w->VScrollGreen), QStringLiteral("Green"));
        QCOMPARE(nameOf(w->txtnewlink), QStringLiteral("New link color HTML3 value"));
        // The five hex boxes share a tooltip; their names tell them apart.
        QSet<QString> hexNames;
        for (QLineEdit *box : {w->txtHEXtext, w->txtHEXback, w->txtnewlink, w->txtvisitedlink, w->txtactivelink})
            hexNames.insert(nameOf(box));
        QCOMPARE(hexNames.size(), 5);
    }

    // The main window is a window; its state fields are no part of its tree.
    void mainWindowTree()
    {
        testsupport::MainWindow w;
        QAccessibleInterface *window = QAccessible::queryAccessibleInterface(w.window.get());
        QCOMPARE(window->role(), QAccessible::Window);
        QSet<QObject *> children;
        for (int i = 0; i < window->childCount(); ++i) {
            QAccessibleInterface *child = window->child(i);
            QVERIFY(child != nullptr);
            QCOMPARE(window->indexOfChild(child), i);
            QCOMPARE(child->parent(), window);
            children.insert(child->object());
        }
        QVERIFY(children.contains(w->VScrollRed) && children.contains(w->txtactivelink));
        const QList<QWidget *> fields = w.window->findChildren<QWidget *>(QRegularExpression(QStringLiteral("HIDDEN")));
        QCOMPARE(fields.size(), 20);
        for (QWidget *field : fields) {
            QVERIFY2(!children.contains(field), qPrintable(field->objectName()));
            QVERIFY2(!QAccessible::queryAccessibleInterface(field)->state().focusable, qPrintable(field->objectName()));
        }
        // Only they: every control that shows is there.
        for (QWidget *shown : w.window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (!shown->isWindow() && !shown->isHidden())
                QVERIFY2(children.contains(shown), qPrintable(shown->objectName()));
        }
    }

    // The three Reset buttons share caption and tooltip; their names tell
    // whose color each resets, in the words of the options beside them.
    void resetButtonsNameTheirTarget()
    {
        testsupport::MainWindow w;
        QCOMPARE(nameOf(w->cmdresetNEW), QStringLiteral("Reset New Links color"));
        QCOMPARE(nameOf(w->cmdresetVISITED), QStringLiteral("Reset Visited Links color"));
        QCOMPARE(nameOf(w->cmdresetACTIVE), QStringLiteral("Reset Active Links color"));
        QCOMPARE(nameOf(w->optNewlinks), QStringLiteral("Set New Links color"));
        QCOMPARE(QAccessible::queryAccessibleInterface(w->cmdresetNEW)->text(QAccessible::Description),
                 QStringLiteral("Reset to defaults"));
    }

    void swatchesAndPreviewAnnounceTheirColors()
    {
        testsupport::MainWindow w;
        QCOMPARE(nameOf(w->lblhexbackcolor), QStringLiteral("Backcolor #DCDCDC"));
        QCOMPARE(nameOf(w->lblhexactivelinkcolor), QStringLiteral("Active link color #EE0000"));
        QCOMPARE(nameOf(w->lblred), QStringLiteral("Red #DC0000"));
        QVERIFY(QAccessible::queryAccessibleInterface(w->picboxMAIN)
                    ->text(QAccessible::Description)
                    .startsWith(QLatin1String("Backcolor #DCDCDC, Textcolor #0A0A0A")));

        // Back is selected at start: typing changes what is announced.
        testsupport::typeInto(w->txtred, QStringLiteral("128"));
        QCOMPARE(nameOf(w->lblhexbackcolor), QStringLiteral("Backcolor #80DCDC"));
        QCOMPARE(nameOf(w->lblred), QStringLiteral("Red #800000"));
        QVERIFY(QAccessible::queryAccessibleInterface(w->picboxMAIN)
                    ->text(QAccessible::Description)
                    .startsWith(QLatin1String("Backcolor #80DCDC,")));

        // Another target: its swatch follows, Back's keeps its color.
        QTest::mouseClick(w->optTEXT, Qt::LeftButton);
        testsupport::typeInto(w->txtgreen, QStringLiteral("255"));
        QCOMPARE(nameOf(w->lblhextxtcolor), QStringLiteral("Textcolor #0AFF0A"));
        QCOMPARE(nameOf(w->lblhexbackcolor), QStringLiteral("Backcolor #80DCDC"));
        QVERIFY(QAccessible::queryAccessibleInterface(w->picboxMAIN)
                    ->text(QAccessible::Description)
                    .contains(QLatin1String("Textcolor #0AFF0A")));
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"

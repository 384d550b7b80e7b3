#include "app/frmmain.h"
#include "color/contrast.h"
#include "color/contraststrip.h"
#include "testsupport.h"
#include "widgets/controls.h"

#include <QAccessible>
#include <QDir>
#include <QGraphicsColorizeEffect>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>

using testsupport::control;

namespace {

// A loaded main window with the strip's parts at hand.
struct Fixture {
    testsupport::MainWindow w;
    QWidget *win = w.window.get();
    ContrastStrip *strip = control<ContrastStrip>(win, "contrastStrip");

    // The strip shows a change once the event that made it is handled.
    QLabel *label(const char *name) const
    {
        QApplication::processEvents();
        return control<QLabel>(win, name);
    }
    QString entry(const char *name) const { return label(name)->text(); }
    QLineEdit *box(const char *name) const { return control<QLineEdit>(win, name); }
    QString text(const char *name) const { return box(name)->text(); }
    QRadioButton *option(const char *name) const { return control<QRadioButton>(win, name); }
    void select(const char *name) const { QTest::mouseClick(option(name), Qt::LeftButton); }
    void type(int r, int g, int b) const
    {
        testsupport::typeInto(box("txtred"), QString::number(r));
        testsupport::typeInto(box("txtgreen"), QString::number(g));
        testsupport::typeInto(box("txtblue"), QString::number(b));
    }
    QStringList stores(const char *prefix) const
    {
        QStringList out;
        for (const char *c : {"red", "green", "blue"})
            out << text(qPrintable(QStringLiteral("HIDDENtxt%1%2").arg(QLatin1String(prefix), QLatin1String(c))));
        return out;
    }
    void screenshot(const QString &name) const
    {
        QApplication::processEvents();
        const QString dir = QStringLiteral(SCREENSHOT_DIR);
        QDir().mkpath(dir);
        QVERIFY(win->grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png")));
        QVERIFY(
            strip->grab().scaled(strip->size() * 2).save(dir + QLatin1Char('/') + name + QStringLiteral("-strip.png")));
    }
    // Loads a picture the way the user does; false where this build has no image loading.
    bool loadImage(const QImage &image, const QString &name)
    {
        const QString path = m_dir.filePath(name);
        if (!image.save(path))
            return false;
        w.env.desktop.answerOpen(path);
        QTest::mouseClick(control<QPushButton>(win, "cmdload"), Qt::LeftButton);
        return !label("HIDDENlbltaginfo")->text().isEmpty();
    }
    QTemporaryDir m_dir;
};

QImage checker(const QColor &a, const QColor &b, int size = 8)
{
    QImage image(size, size, QImage::Format_RGB32);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            image.setPixelColor(x, y, (x + y) % 2 ? a : b);
    return image;
}

bool failing(const QLabel *entry)
{
    return entry->font().underline() && entry->cursor().shape() == Qt::PointingHandCursor;
}

} // namespace

class TestContrastStrip : public QObject {
    Q_OBJECT
private slots:
    void sitsInTheFreeBand()
    {
        Fixture f;
        const QRect band = f.strip->geometry();
        QVERIFY(band.top() >= tw(5040));
        QVERIFY(QRect(QPoint(0, 0), f.win->size()).contains(band));
        for (auto *w : f.win->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
            if (w != f.strip && w->isVisible())
                QVERIFY2(!w->geometry().intersects(band), qPrintable(w->objectName()));
        // Out of the keyboard order: the given controls keep theirs.
        QCOMPARE(f.strip->focusPolicy(), Qt::NoFocus);
        for (auto *w : f.strip->findChildren<QWidget *>())
            QCOMPARE(w->focusPolicy(), Qt::NoFocus);
        // Nothing on the line is cut off, with the longest texts the strip shows.
        auto fits = [&] {
            QApplication::processEvents();
            for (auto *l : f.strip->findChildren<QLabel *>())
                if (l->isVisible()) {
                    QVERIFY2(l->width() >= l->sizeHint().width(), qPrintable(l->text()));
                    QVERIFY2(l->geometry().right() < f.strip->width(), qPrintable(l->text()));
                }
        };
        fits();
        // The longest line: every entry "AA large" and near the text.
        for (const char *target : {"optTEXT", "optNewlinks", "optVisitedlinks", "optActivelinks"}) {
            f.select(target);
            f.type(130, 130, 130);
        }
        f.select("optBACK");
        f.type(255, 255, 255);
        QCOMPARE(f.entry("contrastNote"), QStringLiteral("*near text"));
        QVERIFY2(f.entry("contrastActivelink").endsWith(QStringLiteral(" AA large*")),
                 qPrintable(f.entry("contrastActivelink")));
        f.screenshot(QStringLiteral("contrast-longest"));
        fits();
    }

    void defaultColors()
    {
        Fixture f;
        QCOMPARE(f.entry("contrastText"), QStringLiteral("Text 14.43 AAA"));
        QCOMPARE(f.entry("contrastNewlink"), QStringLiteral("New 6.85 AA*"));
        QCOMPARE(f.entry("contrastVisitedlink"), QStringLiteral("Visited 8.03 AAA*"));
        QCOMPARE(f.entry("contrastActivelink"), QStringLiteral("Active 3.30 AA large"));
        QCOMPARE(f.entry("contrastNote"), QStringLiteral("*near text"));
        QVERIFY(!f.label("contrastLead")->isVisible());
        QVERIFY(failing(f.label("contrastActivelink")));
        QVERIFY(!failing(f.label("contrastText")));
        QCOMPARE(f.strip->accessibleDescription(), f.strip->sentence());
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(f.strip);
        QVERIFY(accessible);
        QCOMPARE(accessible->text(QAccessible::Description), f.strip->sentence());
        QVERIFY(f.strip->sentence().startsWith(QStringLiteral("Contrast against the background: text 14.43:1 (AAA)")));
        QVERIFY(f.strip->sentence().endsWith(QStringLiteral("press Alt+4 for active links.")));
        f.screenshot(QStringLiteral("contrast-defaults"));
    }

    void editingBackChangesTheStrip()
    {
        Fixture f;
        QVERIFY(f.option("optBACK")->isChecked());
        const QColor plate = f.strip->palette().color(QPalette::Window);
        testsupport::typeInto(f.box("txtred"), QStringLiteral("255"));
        // Already after one component the strip follows the mix, not the old store.
        QCOMPARE(f.text("HIDDENtxtbackred"), QStringLiteral("255"));
        const QString afterRed = f.entry("contrastText");
        QVERIFY(afterRed != QStringLiteral("Text 14.43 AAA"));
        testsupport::typeInto(f.box("txtgreen"), QStringLiteral("255"));
        testsupport::typeInto(f.box("txtblue"), QStringLiteral("255"));
        QCOMPARE(f.entry("contrastText"), QStringLiteral("Text 19.79 AAA"));
        QCOMPARE(f.entry("contrastActivelink"), QStringLiteral("Active 4.53 AA"));
        QVERIFY(!failing(f.label("contrastActivelink")));
        QVERIFY(f.strip->accessibleDescription().contains(QStringLiteral("active links 4.53:1 (AA)")));
        QVERIFY(!f.strip->accessibleDescription().contains(QStringLiteral("press")));

        f.type(0, 0, 0);
        QCOMPARE(f.entry("contrastText"), QStringLiteral("Text 1.06 \u2717"));
        QVERIFY(failing(f.label("contrastText")));
        QVERIFY(f.strip->accessibleDescription().contains(QStringLiteral("text 1.06:1 (fails AA)")));
        // The strip keeps its own colors whatever the page's are, and reads well in them.
        QCOMPARE(f.strip->palette().color(QPalette::Window), plate);
        auto rgb = [](const QColor &c) { return contrast::Rgb{c.red(), c.green(), c.blue()}; };
        for (const QWidget *w : {static_cast<QWidget *>(f.strip), static_cast<QWidget *>(f.label("contrastText"))})
            QVERIFY(contrast::contrastRatio(rgb(plate), rgb(w->palette().color(QPalette::WindowText)))
                    >= contrast::AAA);
    }

    void failingLinkColor()
    {
        Fixture f;
        f.select("optNewlinks");
        f.type(153, 153, 255);
        QCOMPARE(f.entry("contrastNewlink"), QStringLiteral("New 1.83 \u2717"));
        QVERIFY(failing(f.label("contrastNewlink")));
        QVERIFY(f.strip->accessibleDescription().contains(QStringLiteral("Alt+2 for new links or Alt+4")));
        f.screenshot(QStringLiteral("contrast-failing-link"));
    }

    void clickFixesThatTarget()
    {
        Fixture f;
        QVERIFY(f.option("optBACK")->isChecked());
        QTest::mouseClick(f.label("contrastActivelink"), Qt::LeftButton);
        // Selected and moved to the nearest lightness that reaches AA, #C60000.
        QVERIFY(f.option("optActivelinks")->isChecked());
        QCOMPARE(f.stores("activelinks"), (QStringList{"198", "0", "0"}));
        QCOMPARE(f.text("txtactivelink"), QStringLiteral("#C60000"));
        QCOMPARE(foreColor(f.label("lblpicActivelink")), QColor(198, 0, 0));
        QCOMPARE(backColor(f.label("lblhexactivelinkcolor")), QColor(198, 0, 0));
        QCOMPARE(f.text("txtred"), QStringLiteral("198"));
        QCOMPARE(control<QScrollBar>(f.win, "VScrollRed")->value(), 198);
        QVERIFY(control<QWidget>(f.win, "cmdresetACTIVE")->isEnabled());
        QCOMPARE(QApplication::focusWidget(), control<QWidget>(f.win, "VScrollRed"));
        // The background and the other targets are untouched.
        QCOMPARE(f.stores("back"), (QStringList{"220", "220", "220"}));
        QCOMPARE(f.stores("newlinks"), (QStringList{"0", "0", "238"}));
        QCOMPARE(f.entry("contrastActivelink"), QStringLiteral("Active 4.50 AA"));
        QVERIFY(!failing(f.label("contrastActivelink")));
        // A second click on the now passing entry changes nothing.
        QTest::mouseClick(f.label("contrastActivelink"), Qt::LeftButton);
        QCOMPARE(f.stores("activelinks"), (QStringList{"198", "0", "0"}));
    }

    void accessKeyFixesWhileBackIsSelected()
    {
        Fixture f;
        f.select("optTEXT");
        f.type(150, 150, 150);
        QCOMPARE(f.entry("contrastText"), QStringLiteral("Text 2.15 \u2717"));
        f.select("optBACK");
        QVERIFY(f.option("optBACK")->isChecked());
        QTest::keyClick(f.win, Qt::Key_1, Qt::AltModifier);
        QVERIFY(f.option("optTEXT")->isChecked());
        const auto fixed = contrast::nearestByLightness({150, 150, 150}, contrast::Backdrop::plain({220, 220, 220}));
        QVERIFY(fixed);
        QCOMPARE(f.stores(""), (QStringList{QString::number(fixed->red), QString::number(fixed->green),
                                            QString::number(fixed->blue)}));
        QCOMPARE(foreColor(f.label("lblpic")), QColor(fixed->red, fixed->green, fixed->blue));
        QVERIFY(!failing(f.label("contrastText")));
        QCOMPARE(f.stores("back"), (QStringList{"220", "220", "220"}));
        // The fix moved three components in one step: one undo takes it back.
        QTest::keyClick(f.win, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.stores(""), (QStringList{"150", "150", "150"}));
        QCOMPARE(f.text("txtHEXtext"), QStringLiteral("#969696"));
        QTRY_VERIFY(failing(f.label("contrastText")));
    }

    void passingEntryDoesNothing()
    {
        Fixture f;
        QTest::mouseClick(f.label("contrastText"), Qt::LeftButton);
        QTest::keyClick(f.win, Qt::Key_2, Qt::AltModifier);
        QVERIFY(f.option("optBACK")->isChecked());
        QCOMPARE(f.text("txtred"), QStringLiteral("220"));
        QCOMPARE(f.stores(""), (QStringList{"10", "10", "10"}));
        QCOMPARE(f.stores("newlinks"), (QStringList{"0", "0", "238"}));
    }

    void worstCaseOverAnImage()
    {
        Fixture f;
        if (!f.loadImage(checker(QColor(0, 0, 0), QColor(255, 255, 255)), QStringLiteral("checker.png")))
            QSKIP("this build loads no background image");
        QVERIFY(f.label("contrastLead")->isVisible());
        QVERIFY(f.entry("contrastLead").startsWith(QStringLiteral("Worst")));
        // Near-black text on black pixels; the active red stands off both.
        QCOMPARE(f.entry("contrastText"), QStringLiteral("Text 1.06 \u2717"));
        QCOMPARE(f.entry("contrastActivelink"), QStringLiteral("Active 4.53 AA"));
        QVERIFY(f.strip->sentence().startsWith(QStringLiteral("Worst-case contrast over the background image:")));
        f.screenshot(QStringLiteral("contrast-image"));
        // The fix of the text over black and white lands in the middle.
        QTest::mouseClick(f.label("contrastText"), Qt::LeftButton);
        QCOMPARE(f.stores(""), (QStringList{"117", "117", "117"}));
        QCOMPARE(f.entry("contrastText"), QStringLiteral("Text 4.55 AA"));

        QTest::mouseClick(control<QPushButton>(f.win, "cmdclear"), Qt::LeftButton);
        // Plain again: the red against the light grey, and now near the grey text.
        QVERIFY(!f.label("contrastLead")->isVisible());
        QCOMPARE(f.entry("contrastActivelink"), QStringLiteral("Active 3.30 AA large*"));
    }

    void noLightnessReachesAA()
    {
        Fixture f;
        if (!f.loadImage(checker(QColor(116, 116, 116), QColor(120, 120, 120)), QStringLiteral("grey.png")))
            QSKIP("this build loads no background image");
        QVERIFY(f.option("optTEXT")->isChecked());
        QVERIFY(failing(f.label("contrastActivelink")));
        QTest::mouseClick(f.label("contrastActivelink"), Qt::LeftButton);
        QCOMPARE(f.entry("contrastMessage"),
                 QStringLiteral("No lightness of the active link color reaches AA here: nothing changed."));
        QVERIFY(f.label("contrastMessage")->isVisible());
        QVERIFY(f.strip->accessibleDescription().startsWith(f.entry("contrastMessage")));
        // Nothing changed: not the selection, not a store.
        QVERIFY(f.option("optTEXT")->isChecked());
        QCOMPARE(f.stores("activelinks"), (QStringList{"238", "0", "0"}));
        QCOMPARE(f.text("txtactivelink"), QStringLiteral("#EE0000"));
        f.screenshot(QStringLiteral("contrast-no-fix"));
        // The next change shows the line again.
        f.type(0, 0, 0);
        QVERIFY(!f.label("contrastMessage")->isVisible());
        QVERIFY(f.label("contrastActivelink")->isVisible());
    }

    void scanTakesThePageNotTheSimulation()
    {
        Fixture f;
        auto *preview = control<QWidget>(f.win, "picboxMAIN");
        const QImage plain = ContrastStrip::previewPixels(preview, QColor(220, 220, 220));
        QCOMPARE(plain.pixelColor(0, 0), QColor(220, 220, 220));
        // The labels are not background.
        QCOMPARE(plain.pixelColor(control<QWidget>(f.win, "lblpic")->geometry().center()), QColor(220, 220, 220));
        // A simulated color vision changes what the preview shows, not what the page is.
        auto *effect = new QGraphicsColorizeEffect;
        effect->setColor(Qt::red);
        preview->setGraphicsEffect(effect);
        QVERIFY(preview->grab().toImage().pixelColor(0, 0) != QColor(220, 220, 220));
        QCOMPARE(ContrastStrip::previewPixels(preview, QColor(220, 220, 220)), plain);
        QVERIFY(effect->isEnabled());
    }
};

QTEST_MAIN(TestContrastStrip)
#include "tst_contraststrip.moc"

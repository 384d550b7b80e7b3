#include "app/frmabout.h"
#include "app/frmmain.h"
#include "app/handicon.h"
#include "testsupport.h"
#include "widgets/controls.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

using testsupport::control;

namespace {

// A caption of nullptr is set at load and checked on its own; width 0 where
// the label sizes itself to its text.
using Inventory = testsupport::InventoryRow;

// clang-format off
const Inventory controlsTable[] = {
    {"cmdok", "QPushButton", "&Ok", nullptr, 360, 3600, 1590, 390, 0},
    {"lblprogtitle", "QLabel", "Dudovuvov", nullptr, 360, 345, 3675, 330, 1},
    {"lblcopyright", "QLabel", nullptr, nullptr, 360, 930, 0, 0, 2},
    {"lblurl", "ClickLabel", "http://www.zudedidu.example/", nullptr, 360, 3105, 0, 0, 3},
    {"lbltext5", "QLabel", "Visit my homepage at", nullptr, 360, 2895, 1545, 195, 4},
    {"lblversion", "QLabel", "Version 2.0.2", nullptr, 360, 675, 3675, 195, 5},
    {"lbltext4", "QLabel", "For updates and other freeware,", nullptr, 360, 2700, 2265, 195, 6},
    {"lbltext1", "QLabel", "This program is freeware.", nullptr, 360, 1695, 3675, 195, 7},
    {"lbltext2", "QLabel", "You can use and distribute it freely.", nullptr, 360, 1890, 2460, 195, 8},
    {"lbltext3", "QLabel", "Play and enjoy!", nullptr, 360, 2085, 1110, 195, 9},
    {"lblcopyright2", "QLabel", nullptr, nullptr, 360, 1140, 2580, 240, 10},
    {"imghand", "QLabel", "", nullptr, 1605, 4380, 480, 480, -1},
};
// clang-format on

// The about window as the main window's about button opens it.
frmabout *openAbout(frmmain *w)
{
    QTest::mouseClick(control<QWidget>(w, "cmdabout"), Qt::LeftButton);
    auto *about = testsupport::findWindow<frmabout>(*w);
    if (about != nullptr && !QTest::qWaitForWindowExposed(about))
        qWarning("about window was not exposed");
    return about;
}

bool isGone(const QPointer<frmabout> &about)
{
    testsupport::processDeletes();
    return about.isNull();
}

} // namespace

class TestFrmabout : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { frmabout::setClock({}); }

    void inventory()
    {
        testsupport::MainWindow w;
        frmabout *about = openAbout(w.window.get());
        QVERIFY(about);
        // A caption never clips: a box too narrow for it in the window's face grows to the right.
        const QString mismatches =
            testsupport::inventoryMismatches(*about, controlsTable, testsupport::Sizing::LabelsGrowToText);
        QVERIFY2(mismatches.isEmpty(), qPrintable(mismatches));
        for (const Inventory &c : controlsTable) {
            auto *widget = control<QWidget>(about, c.name);
            QVERIFY2(widget, c.name);
            if (c.width == 0)
                QCOMPARE(widget->size(), widget->sizeHint());
            // Buttons lie inside the window; a label's box may run past its right edge, but not its text.
            if (auto *l = qobject_cast<QLabel *>(widget); l != nullptr && !l->text().isEmpty())
                QVERIFY2(l->x() + l->fontMetrics().horizontalAdvance(l->text()) <= about->width(), c.name);
            else if (l == nullptr)
                QVERIFY2(QRect(QPoint(0, 0), about->size()).contains(widget->geometry()), c.name);
        }
        QCOMPARE(control<QLabel>(about, "lblcopyright2")->text(), QStringLiteral("Zudedidu"));
        QVERIFY(w.env.desktop.unscripted.isEmpty());
    }

    void tabOrder()
    {
        testsupport::MainWindow w;
        frmabout *about = openAbout(w.window.get());
        QStringList expected(11);
        for (const Inventory &c : controlsTable)
            if (c.tabIndex >= 0)
                expected[c.tabIndex] = QString::fromLatin1(c.name);
        QStringList actual;
        QWidget *current = control<QWidget>(about, "cmdok");
        for (int i = 0; i < 40 && actual.size() < expected.size(); ++i, current = current->nextInFocusChain())
            if (expected.contains(current->objectName()))
                actual << current->objectName();
        QCOMPARE(actual, expected);
        QCOMPARE(QApplication::focusWidget(), control<QWidget>(about, "cmdok"));
    }

    void fontsColorsAndSeparators()
    {
        testsupport::MainWindow w;
        frmabout *about = openAbout(w.window.get());
        const QFont title = control<QWidget>(about, "lblprogtitle")->font();
        QCOMPARE(title.family(), sansSerifFamily());
        QCOMPARE(title.pointSizeF(), 13.5);
        QVERIFY(!title.bold());
        const QFont version = control<QWidget>(about, "lblversion")->font();
        QCOMPARE(version.family(), sansSerifFamily());
        QCOMPARE(version.pointSizeF(), 9.75);
        QVERIFY(version.bold());
        QCOMPARE(about->font().family(), sansSerifFamily());
        QCOMPARE(foreColor(control<QWidget>(about, "lblurl")), QColor(0, 0, 192));

        // Each separator: a dark line with a highlight line one pixel below it.
        const QColor highlight = about->palette().color(QPalette::Light);
        const struct {
            const char *name;
            int top;
        } lines[] = {{"Line1", 1545}, {"Line2", 1560}, {"Line3", 2415}, {"Line4", 2430}};
        for (const auto &l : lines) {
            auto *line = control<QWidget>(about, l.name);
            QVERIFY2(line, l.name);
            QCOMPARE(line->geometry(), QRect(tw(360), tw(l.top), tw(2985) - tw(360), 1));
            QVERIFY(line->isVisible());
            const QImage painted = line->grab().toImage();
            const QColor expected = l.top % 2 == 1 ? QColor(64, 0, 64) : highlight;
            QCOMPARE(painted.pixelColor(painted.width() / 2, 0), expected);
        }
    }

    void windowKind()
    {
        testsupport::MainWindow w;
        frmabout *about = openAbout(w.window.get());
        QCOMPARE(about->windowTitle(), QStringLiteral("About"));
        QCOMPARE(about->size(), QSize(220, 293));
        QCOMPARE(about->minimumSize(), about->maximumSize());
        const Qt::WindowFlags flags = about->windowFlags();
        QCOMPARE(flags & Qt::WindowType_Mask, Qt::Tool);
        QVERIFY(flags & Qt::WindowTitleHint);
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QVERIFY(about->testAttribute(Qt::WA_DeleteOnClose));
        QCOMPARE(about->windowModality(), Qt::ApplicationModal);
        QCOMPARE(QApplication::activeModalWidget(), about);
        QCOMPARE(about->parentWidget(), w.window.get());
        const QPoint offCentre = about->frameGeometry().center() - w.window->frameGeometry().center();
        QVERIFY2(offCentre.manhattanLength() <= 1,
                 qPrintable(QStringLiteral("%1,%2").arg(offCentre.x()).arg(offCentre.y())));
    }

    void staysOnScreenWhenItsOwnerHangsOver()
    {
        testsupport::MainWindow w;
        const QRect area = w.window->screen()->availableGeometry();
        w.window->move(area.right() - 100, area.bottom() - 50);
        frmabout *about = openAbout(w.window.get());
        QVERIFY(area.contains(about->frameGeometry()));
    }

    void noticeYearIsReadAtEachOpening()
    {
        testsupport::MainWindow w;
        QDate today(2031, 12, 31);
        frmabout::setClock([&today] { return today; });
        QPointer<frmabout> about = openAbout(w.window.get());
        QCOMPARE(control<QLabel>(about, "lblcopyright")->text(), QStringLiteral("Copyright (c) 1999 - 2031"));
        QTest::mouseClick(control<QWidget>(about, "cmdok"), Qt::LeftButton);
        QVERIFY(isGone(about));

        today = QDate(2032, 1, 1);
        about = openAbout(w.window.get());
        auto *notice = control<QLabel>(about, "lblcopyright");
        QCOMPARE(notice->text(), QStringLiteral("Copyright (c) 1999 - 2032"));
        QCOMPARE(notice->size(), notice->sizeHint());

        // Without a clock of its own the window reads the system's.
        frmabout::setClock({});
        QTest::mouseClick(control<QWidget>(about, "cmdok"), Qt::LeftButton);
        QVERIFY(isGone(about));
        about = openAbout(w.window.get());
        QVERIFY(control<QLabel>(about, "lblcopyright")
                    ->text()
                    .endsWith(QStringLiteral(" - %1").arg(QDate::currentDate().year())));
    }

    void addressClickOpensTheHomePage()
    {
        testsupport::MainWindow w;
        QPointer<frmabout> about = openAbout(w.window.get());
        QTest::mouseClick(control<QWidget>(about, "lblurl"), Qt::LeftButton);
        QVERIFY(w.window->isMinimized());
        QCOMPARE(w.env.desktop.openedAddresses, QStringList{QStringLiteral("http://www.zudedidu.example/")});
        QVERIFY(isGone(about));
        QVERIFY(w.env.desktop.unscripted.isEmpty() && w.env.desktop.messages.isEmpty());
    }

    void okAndCloseBoxCloseIt()
    {
        testsupport::MainWindow w;
        QPointer<frmabout> about = openAbout(w.window.get());
        QTest::mouseClick(control<QWidget>(about, "cmdok"), Qt::LeftButton);
        QVERIFY(isGone(about));

        about = openAbout(w.window.get());
        // Esc is no way out: the window has no cancel button.
        QTest::keyClick(about, Qt::Key_Escape);
        QVERIFY(!isGone(about) && about->isVisible());
        QTest::keyClick(control<QWidget>(about, "cmdok"), Qt::Key_Return);
        QVERIFY(isGone(about));

        about = openAbout(w.window.get());
        QVERIFY(about->close());
        QVERIFY(isGone(about));
        // Nothing of the address happened, and the main window is still up.
        QVERIFY(w.env.desktop.openedAddresses.isEmpty());
        QVERIFY(!w.window->isMinimized() && w.window->isVisible());
    }

    void handPointerOverTheAddress()
    {
        testsupport::MainWindow w;
        frmabout *about = openAbout(w.window.get());
        auto *url = control<QWidget>(about, "lblurl");
        QVERIFY(url->hasMouseTracking());
        QTest::mouseMove(about->windowHandle(), url->geometry().center());
        QCOMPARE(url->cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(url->cursor().hotSpot(), handHotSpot);
        QCOMPARE(url->cursor().pixmap().toImage(), control<QLabel>(about, "imghand")->pixmap().toImage());
        for (const char *name : {"lbltext5", "cmdok", "lblprogtitle"})
            QCOMPARE(control<QWidget>(about, name)->cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(about->cursor().shape(), Qt::ArrowCursor);
    }

    void handIcon()
    {
        const QIcon icon = ::handIcon();
        QVERIFY(icon.availableSizes().contains(QSize(32, 32)));
        QVERIFY(icon.availableSizes().contains(QSize(16, 16)));
        const QImage image = icon.pixmap(QSize(32, 32)).toImage().convertToFormat(QImage::Format_ARGB32);
        int inked = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const int alpha = qAlpha(image.pixel(x, y));
                // The top row stays clear: only it shows above the window's bottom edge.
                if (y == 0)
                    QCOMPARE(alpha, 0);
                inked += alpha > 128 ? 1 : 0;
            }
        QVERIFY(inked > 150 && inked < 700);
        // The hot spot sits on the drawn fingertip.
        QVERIFY(qAlpha(image.pixel(handHotSpot.x(), handHotSpot.y() + 1)) > 128);
    }
};

QTEST_MAIN(TestFrmabout)
#include "tst_frmabout.moc"

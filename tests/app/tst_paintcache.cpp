#include "app/frmmain.h"
#include "app/paintcache.h"
#include "testsupport.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPixmapCache>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyleFactory>

namespace {

// The largest difference of one color channel between two pictures of the
// same size; -1 when the sizes differ.
int largestDifference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return -1;
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    int largest = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
            largest = std::max({largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    return largest;
}

QImage shot(QWidget *w)
{
    QApplication::processEvents();
    return w->grab().toImage();
}

} // namespace

// Controls drawn through the cache look as the style draws them in place.
class TestPaintCache : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("fusion")));
        QPixmapCache::clear();
    }

    void cachedControlsLookAsDrawnInPlace()
    {
        testsupport::MainWindow w;
        frmmain *win = w.window.get();
        const testsupport::MainControls c = w.controls;
        // States the cache must tell apart: focus, checked options, disabled
        // buttons, bars at either end and in between, a pressed option.
        auto states = std::vector<std::function<void()>>{
            [] {},
            [c] { QTest::mouseClick(c.optTEXT, Qt::LeftButton); },
            [c] {
                c.VScrollGreen->setValue(0);
                c.VScrollBlue->setValue(255);
            },
            [c] { c.txtblue->setFocus(); },
            [c] { QTest::mousePress(c.optNewlinks, Qt::LeftButton); },
            [win, c] {
                QTest::mouseRelease(c.optNewlinks, Qt::LeftButton);
                win->setEnabled(false);
            },
        };
        for (std::size_t i = 0; i < states.size(); ++i) {
            states[i]();
            QApplication::setStyle(QStyleFactory::create(QStringLiteral("fusion")));
            const QImage inPlace = shot(win);
            usePaintCache();
            const QImage first = shot(win);
            win->update();
            const QImage again = shot(win);
            // Antialiased edges blended once instead of shape by shape may
            // round a unit apart.
            QVERIFY2(largestDifference(inPlace, first) <= 2, qPrintable(QString::number(i)));
            QCOMPARE(largestDifference(first, again), 0);
        }
    }

    void otherStylesPassThrough()
    {
        auto *style = new PaintCacheStyle(QStyleFactory::create(QStringLiteral("windows")));
        QApplication::setStyle(style);
        testsupport::MainWindow w;
        const QImage through = shot(w.window.get());
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("windows")));
        QCOMPARE(largestDifference(shot(w.window.get()), through), 0);
    }
};

QTEST_MAIN(TestPaintCache)
#include "tst_paintcache.moc"

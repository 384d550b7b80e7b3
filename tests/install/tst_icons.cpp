#include "app/appicon.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTest>

namespace {
const QString name = QStringLiteral("example.zudedidu.Dudovuvov");

QString pngPath(int size)
{
    return QStringLiteral(ICON_THEME_DIR "/%1x%1/apps/%2.png").arg(size).arg(name);
}

// Mean difference per channel, 0..255, over the whole picture.
double meanDifference(const QImage &a, const QImage &b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
            sum += std::abs(p.red() - q.red()) + std::abs(p.green() - q.green()) + std::abs(p.blue() - q.blue())
                   + std::abs(p.alpha() - q.alpha());
        }
    }
    return sum / (4.0 * a.width() * a.height());
}
} // namespace

// The installed icon files: every size there, and the scalable drawing
// showing the same picture as the pixel sizes.
class TestIcons : public QObject {
    Q_OBJECT
private slots:
    void pixelSizes()
    {
        for (int size : appIconSizes()) {
            const QImage png(pngPath(size));
            QVERIFY2(!png.isNull(), qPrintable(pngPath(size)));
            QCOMPARE(png.size(), QSize(size, size));
            QVERIFY(png.hasAlphaChannel());
            // Transparent corners, an opaque middle.
            QCOMPARE(png.pixelColor(0, 0).alpha(), 0);
            QCOMPARE(png.pixelColor(size / 2, size / 2).alpha(), 255);
        }
    }

    void scalableMatchesPixels()
    {
        QSvgRenderer svg(QStringLiteral(ICON_THEME_DIR "/scalable/apps/%1.svg").arg(name));
        QVERIFY(svg.isValid());
        QCOMPARE(svg.viewBox(), QRect(0, 0, appIconDesignSize, appIconDesignSize));
        for (int size : {32, 64, 256}) {
            QImage drawn(size, size, QImage::Format_ARGB32);
            drawn.fill(Qt::transparent);
            QPainter painter(&drawn);
            svg.render(&painter);
            painter.end();
            const QImage png = QImage(pngPath(size)).convertToFormat(QImage::Format_ARGB32);
            const double difference = meanDifference(drawn, png);
            QVERIFY2(difference < 2.0, qPrintable(QStringLiteral("size %1 differs by %2").arg(size).arg(difference)));
        }
    }
};

QTEST_MAIN(TestIcons)
#include "tst_icons.moc"

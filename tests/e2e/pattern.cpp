// A window of known pixels for the screen picker: every device pixel has a
// color of its own, made from its place on the desktop, so a pick one pixel
// off shows. Usage: e2e_pattern LEFT TOP WIDTH HEIGHT (device pixels, scale 1).
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>

namespace {

QRgb patternAt(int x, int y)
{
    // Odd factors keep each color its own within 256 pixels, and make
    // neighbours plainly different.
    return qRgb((x * 97) & 255, (y * 89) & 255, (((x >> 8) << 4) | (y >> 8)) ^ 0x5A);
}

class Pattern : public QWidget {
protected:
    void paintEvent(QPaintEvent *) override
    {
        QImage image(size(), QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, patternAt(geometry().x() + x, geometry().y() + y));
        QPainter(this).drawImage(0, 0, image);
    }
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 5)
        return 2;
    Pattern window;
    window.setWindowFlags(Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint);
    window.setWindowTitle(QStringLiteral("e2e-pattern"));
    window.setGeometry(atoi(argv[1]), atoi(argv[2]), atoi(argv[3]), atoi(argv[4]));
    window.show();
    return QApplication::exec();
}

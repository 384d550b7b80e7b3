// The floor for start-up: a bare Qt window of 468 x 362 pixels holding about
// forty standard widgets at fixed places, with nothing behind them.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.setFixedSize(468, 362);

    auto place = [&window](QWidget *w, int x, int y, int width, int height) {
        w->setParent(&window);
        w->setGeometry(x, y, width, height);
    };
    for (int i = 0; i < 3; ++i) {
        place(new QLabel(QStringLiteral("RGB").mid(i, 1)), 36 + 32 * i, 14, 19, 18);
        auto *bar = new QScrollBar(Qt::Vertical);
        bar->setRange(0, 255);
        place(bar, 27 + 32 * i, 47, 26, 104);
        place(new QLineEdit(QStringLiteral("0")), 27 + 32 * i, 195, 26, 19);
    }
    for (int i = 0; i < 10; ++i)
        place(new QPushButton(QStringLiteral("Button %1").arg(i)), 27 + 160 * (i / 5),
              222 + 26 * (i % 5) - 52 * (i / 5), 91, 22);
    for (int i = 0; i < 5; ++i)
        place(new QRadioButton(QStringLiteral("Option %1").arg(i)), 141, 166 + 22 * i, 130, 20);
    for (int i = 0; i < 5; ++i) {
        place(new QLineEdit(QStringLiteral("#%1").arg(i * 111111, 6, 10, QLatin1Char('0'))), 349, 30 + 47 * i, 60, 19);
        place(new QCheckBox(QStringLiteral("Check %1").arg(i)), 349, 53 + 47 * i, 93, 20);
    }
    auto *preview = new QLabel(QStringLiteral("Sample"));
    preview->setAutoFillBackground(true);
    place(preview, 141, 31, 186, 100);
    place(new QLineEdit(QStringLiteral("Sample")), 141, 137, 186, 22);
    for (int i = 0; i < 3; ++i)
        place(new QLabel(QStringLiteral("Label %1").arg(i)), 141 + 70 * i, 8, 60, 16);
    window.show();
    return QApplication::exec();
}

// Build-time tool: writes the program's icon into a hicolor theme tree, as
// an SVG and as PNGs, all painted by the same code as the window's icon.
#include "app/appicon.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fputs("usage: iconexport <theme folder> <icon name>\n", stderr);
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);

    for (int size : appIconSizes()) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(root).arg(size);
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        paintAppIcon(painter, size);
        painter.end();
        if (!QDir().mkpath(folder) || !image.save(folder + QLatin1Char('/') + name + QLatin1String(".png"))) {
            std::fprintf(stderr, "iconexport: cannot write into %s\n", qPrintable(folder));
            return 1;
        }
    }

    const QString folder = root + QLatin1String("/scalable/apps");
    QDir().mkpath(folder);
    QSvgGenerator svg;
    svg.setFileName(folder + QLatin1Char('/') + name + QLatin1String(".svg"));
    svg.setSize(QSize(appIconDesignSize, appIconDesignSize));
    svg.setViewBox(QRect(0, 0, appIconDesignSize, appIconDesignSize));
    svg.setTitle(QStringLiteral("Dudovuvov"));
    QPainter painter;
    if (!painter.begin(&svg)) {
        std::fprintf(stderr, "iconexport: cannot write into %s\n", qPrintable(folder));
        return 1;
    }
    paintAppIcon(painter, appIconDesignSize);
    painter.end();
    return 0;
}

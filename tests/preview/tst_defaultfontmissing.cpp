#include "app/frmmain.h"
#include "testsupport.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

// Runs on a font configuration that knows only the DejaVu faces, so no face
// for "Times New Roman", nor one with its metrics, is there.
class tst_defaultfontmissing : public QObject {
    Q_OBJECT
private slots:
    void missingDefaultFaceIsReported()
    {
        testsupport::MainWindow w;
        auto *sample = testsupport::control<QLabel>(w.window.get(), "lblpic");
        QTest::mouseClick(testsupport::control<QPushButton>(w.window.get(), "comdefFONT"), Qt::LeftButton);
        QCOMPARE(w.env.desktop.messages.size(), 1);
        const auto &message = w.env.desktop.messages[0];
        QCOMPARE(message.title, QStringLiteral("Please continue"));
        QCOMPARE(message.text, QStringLiteral("Font not found380"));
        QVERIFY(message.icon == platform::MessageIcon::Critical);
        // The default is requested all the same; the system shows its stand-in.
        QCOMPARE(sample->font().family(), QStringLiteral("Times New Roman"));
        QCOMPARE(sample->font().pointSizeF(), 14.0);
    }
};

int main(int argc, char **argv)
{
    QTemporaryDir fonts;
    QFile config(fonts.filePath(QStringLiteral("fonts.conf")));
    if (!config.open(QIODevice::WriteOnly))
        return 1;
    config.write("<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n<fontconfig>\n"
                 "<dir>/usr/share/fonts/truetype/dejavu</dir>\n<cachedir>"
                 + fonts.filePath(QStringLiteral("cache")).toUtf8() + "</cachedir>\n</fontconfig>\n");
    config.close();
    qputenv("FONTCONFIG_FILE", config.fileName().toLocal8Bit());
    QApplication app(argc, argv);
    tst_defaultfontmissing test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_defaultfontmissing.moc"

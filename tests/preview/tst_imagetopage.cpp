#include "app/frmmain.h"
#include "output/frminfo.h"
#include "output/frmtag.h"
#include "testsupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>

using testsupport::control;

namespace {

QString tagShown(testsupport::MainWindow &w)
{
    testsupport::processDeletes();
    QTest::mouseClick(w->cmdtag, Qt::LeftButton);
    auto *tag = testsupport::findWindow<frmtag>(*w.window);
    return tag != nullptr ? tag->txtTag->toPlainText() : QStringLiteral("<no tag window>");
}

} // namespace

// A loaded background image travels into the BODY tag and beside the page.
class tst_imagetopage : public QObject {
    Q_OBJECT
private slots:
    void loadedImageIsNamedInThePageAndCopiedBesideIt()
    {
        testsupport::MainWindow w;
        QTemporaryDir dir;
        const QString picture = dir.filePath(QStringLiteral("pics/my sky.png"));
        QImage image(8, 6, QImage::Format_RGB32);
        image.fill(QColor(10, 120, 200));
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("pics"))));
        QVERIFY(image.save(picture));

        w.env.desktop.answerOpen(picture);
        QTest::mouseClick(control<QPushButton>(w.window.get(), "cmdload"), Qt::LeftButton);
        QVERIFY(tagShown(w).endsWith(QStringLiteral(" BACKGROUND=\"my sky.png\">")));

        auto *tag = testsupport::findWindow<frmtag>(*w.window);
        QTest::mouseClick(tag->cmdCREATEhtml, Qt::LeftButton);
        auto *info = testsupport::findWindow<frminfo>(*w.window);
        QVERIFY(info);
        const QString page = dir.filePath(QStringLiteral("web/index.htm"));
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("web"))));
        w.env.desktop.answerSave(page);
        QTest::mouseClick(info->cmdready, Qt::LeftButton);

        QFile written(page);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QVERIFY(written.readAll().contains(" BACKGROUND=\"my sky.png\">\r\n"));
        const QString copy = dir.filePath(QStringLiteral("web/my sky.png"));
        QCOMPARE(QProcess::execute(QStringLiteral("cmp"), {picture, copy}), 0);
        QCOMPARE(w.env.desktop.messages.size(), 1);
        QVERIFY(w.env.desktop.messages[0].icon == platform::MessageIcon::Information);

        // Cleared, the tag names no image although the path is still known.
        w.env.desktop.messages.clear();
        testsupport::processDeletes();
        QTest::mouseClick(control<QPushButton>(w.window.get(), "cmdclear"), Qt::LeftButton);
        QVERIFY(tagShown(w).endsWith(QStringLiteral(" BACKGROUND=\"\">")));
        QCOMPARE(control<QLabel>(w.window.get(), "HIDDENlblfilename")->text(), picture);
    }
};

QTEST_MAIN(tst_imagetopage)
#include "tst_imagetopage.moc"

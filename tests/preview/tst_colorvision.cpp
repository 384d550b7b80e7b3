#include "app/frmmain.h"
#include "color/srgb.h"
#include "output/frmtag.h"
#include "preview/colorvision.h"
#include "testsupport.h"
#include "widgets/controls.h"

#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>

#include <cmath>

using preview::Vision;
using testsupport::control;

class TestColorVision : public QObject {
    Q_OBJECT
private slots:
    void blackAndWhiteUnchanged()
    {
        for (const auto v :
             {Vision::Normal, Vision::Protanopia, Vision::Deuteranopia, Vision::Tritanopia, Vision::Achromatopsia}) {
            QCOMPARE(preview::simulateVision(v, 0, 0, 0), (std::array<std::uint8_t, 3>{0, 0, 0}));
            QCOMPARE(preview::simulateVision(v, 255, 255, 255), (std::array<std::uint8_t, 3>{255, 255, 255}));
        }
    }

    void publishedMatrices()
    {
        // Pure red gives the first column of each severity-1.0 matrix, clamped.
        const auto protan = preview::simulateLinear(Vision::Protanopia, {1.0, 0.0, 0.0});
        QVERIFY(qFuzzyCompare(protan[0], 0.152286));
        QVERIFY(qFuzzyCompare(protan[1], 0.114503));
        QCOMPARE(protan[2], 0.0);
        QCOMPARE(preview::simulateVision(Vision::Protanopia, 255, 0, 0), (std::array<std::uint8_t, 3>{109, 95, 0}));
        const auto deutan = preview::simulateLinear(Vision::Deuteranopia, {0.0, 1.0, 0.0});
        QVERIFY(qFuzzyCompare(deutan[0], 0.860646));
        QVERIFY(qFuzzyCompare(deutan[1], 0.672501));
        QVERIFY(qFuzzyCompare(deutan[2], 0.042940));
        const auto tritan = preview::simulateLinear(Vision::Tritanopia, {0.0, 0.0, 1.0});
        QCOMPARE(tritan[0], 0.0);
        QVERIFY(qFuzzyCompare(tritan[1], 0.147602));
        QVERIFY(qFuzzyCompare(tritan[2], 0.303900));
        // Achromatopsia keeps luminance only: pure green is a light grey.
        const auto mono = preview::simulateVision(Vision::Achromatopsia, 0, 255, 0);
        QCOMPARE(mono[0], mono[1]);
        QCOMPARE(mono[1], mono[2]);
        QCOMPARE(int(mono[0]), int(color::linearToSrgb(0.7152)));
    }

    void transferFunctionsRoundTrip()
    {
        for (int v = 0; v < 256; ++v)
            QCOMPARE(int(color::linearToSrgb(color::srgbToLinear(std::uint8_t(v)))), v);
        // Either side of the knee between the straight line and the power curve.
        QCOMPARE(color::srgbToLinear(10), 10 / 255.0 / 12.92);
        QCOMPARE(color::srgbToLinear(11), std::pow((11 / 255.0 + 0.055) / 1.055, 2.4));
        QCOMPARE(color::srgbToLinear(255), 1.0);
        QCOMPARE(int(color::linearToSrgb(-1.0)), 0);
        QCOMPARE(int(color::linearToSrgb(2.0)), 255);
    }

    void previewMenuSimulatesWithoutChangingColors()
    {
        testsupport::MainWindow w;
        QWidget *preview = control<QWidget>(w.window.get(), "picboxMAIN");
        QCOMPARE(preview->grab().toImage().pixelColor(3, 3), QColor(220, 220, 220));
        testsupport::typeInto(control<QLineEdit>(w.window.get(), "txtgreen"), QStringLiteral("0"));
        testsupport::typeInto(control<QLineEdit>(w.window.get(), "txtblue"), QStringLiteral("0"));
        const QString tagBefore = bodyTagShown(w);
        QDir().mkpath(QStringLiteral("screenshots"));

        const QList<Vision> simulations = {Vision::Protanopia, Vision::Deuteranopia, Vision::Tritanopia,
                                           Vision::Achromatopsia, Vision::Normal};
        for (int entry = 1; entry <= simulations.size(); ++entry) {
            const Vision v = simulations[entry - 1];
            // Pick the entry from the preview's context menu by keyboard.
            QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(10, 10), preview->mapToGlobal(QPoint(10, 10)));
            QApplication::sendEvent(preview, &event);
            auto *menu = control<QMenu>(preview, "mnuColorVision");
            QVERIFY(menu);
            QTRY_VERIFY(menu->isVisible());
            // The first Down highlights the first entry.
            for (int i = 0; i <= entry % 5; ++i)
                QTest::keyClick(menu, Qt::Key_Down);
            QCOMPARE(menu->activeAction()->text(), preview::visionName(v));
            QTest::keyClick(menu, Qt::Key_Return);
            QTRY_VERIFY(!menu->isVisible());

            const QImage seen = preview->grab().toImage();
            const auto expected = preview::simulateVision(v, 220, 0, 0);
            QCOMPARE(seen.pixelColor(3, 3), QColor(expected[0], expected[1], expected[2]));
            seen.save(
                QStringLiteral("screenshots/preview-%1.png").arg(preview::visionName(v).toLower().replace(' ', '-')));
        }
        // Nothing stored changed, and the BODY tag is the same.
        QCOMPARE(backColor(preview), QColor(220, 0, 0));
        QCOMPARE(control<QLineEdit>(w.window.get(), "HIDDENtxtbackgreen")->text(), QStringLiteral("0"));
        QCOMPARE(bodyTagShown(w), tagBefore);
    }

private:
    static QString bodyTagShown(testsupport::MainWindow &w)
    {
        QTest::mouseClick(control<QWidget>(w.window.get(), "cmdtag"), Qt::LeftButton);
        auto *tag = testsupport::findWindow<frmtag>(*w.window);
        if (tag == nullptr)
            return {};
        const QString text = control<QPlainTextEdit>(tag, "txtTag")->toPlainText();
        tag->close();
        return text;
    }
};

QTEST_MAIN(TestColorVision)
#include "tst_colorvision.moc"

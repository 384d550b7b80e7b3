#include "app/frmmain.h"
#include "testsupport.h"

#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

namespace {

QString visibleText(const QString &caption)
{
    QString text = caption;
    return text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
}

// Room the text of a control needs, in logical pixels: the ink of its
// letters across, a whole line down.
QSize textRoom(const QWidget *w, const QString &text)
{
    const QFontMetrics metrics(w->font());
    return {metrics.tightBoundingRect(visibleText(text)).width(), metrics.height()};
}

// Where a label's text stands; the rest of a label is empty background.
QRect inkArea(QWidget *w)
{
    auto *label = qobject_cast<QLabel *>(w);
    if (label == nullptr || label->text().isEmpty())
        return w->geometry();
    const QRect inside = label->contentsRect().translated(label->pos());
    return QStyle::alignedRect(label->layoutDirection(), label->alignment(), textRoom(label, label->text()), inside);
}

} // namespace

// Runs at whatever scale QT_SCALE_FACTOR sets; CTest runs it at 1 and at 2.
class TestHighDpi : public QObject {
    Q_OBJECT
private slots:
    void windowScalesWhole()
    {
        testsupport::MainWindow w;
        const qreal scale = w.window->devicePixelRatioF();
        const QPixmap shot = w.window->grab();
        QCOMPARE(shot.size(), (QSizeF(468, 362) * scale).toSize());
        const QString folder = qEnvironmentVariable("DUDOVUVOV_SCREENSHOTS");
        if (!folder.isEmpty()) {
            QDir().mkpath(folder);
            QVERIFY(shot.save(QStringLiteral("%1/main-window-scale-%2.png").arg(folder).arg(scale)));
        }
    }

    void noCaptionClipped()
    {
        testsupport::MainWindow w;
        int checked = 0;
        for (QWidget *c : w.window->findChildren<QWidget *>()) {
            if (!c->isVisible())
                continue;
            const QString who = c->objectName();
            if (auto *radio = qobject_cast<QRadioButton *>(c)) {
                const QStyle *style = radio->style();
                const int indicator = style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, radio)
                                      + style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, radio);
                const QSize room = textRoom(radio, radio->text());
                QVERIFY2(indicator + room.width() <= radio->width(), qPrintable(who));
                QVERIFY2(room.height() <= radio->height(), qPrintable(who));
                ++checked;
            } else if (auto *button = qobject_cast<QPushButton *>(c)) {
                const QSize room = textRoom(button, button->text());
                // No letter is cut off by the button's edge.
                QVERIFY2(room.width() <= button->width(), qPrintable(who));
                QVERIFY2(room.height() <= button->height(), qPrintable(who));
                ++checked;
            } else if (auto *label = qobject_cast<QLabel *>(c); label && !label->text().isEmpty()) {
                const QSize room = textRoom(label, label->text());
                QVERIFY2(room.width() <= label->contentsRect().width(), qPrintable(who));
                QVERIFY2(room.height() <= label->contentsRect().height(), qPrintable(who));
                ++checked;
            }
        }
        QVERIFY(checked >= 35);
    }

    void controlsInsideTheirParentsAndApart()
    {
        testsupport::MainWindow w;
        QList<QWidget *> visible;
        for (QWidget *c : w.window->findChildren<QWidget *>()) {
            if (!c->isVisible() || c->isWindow())
                continue;
            const QRect parentRect = c->parentWidget()->rect();
            QVERIFY2(parentRect.contains(c->geometry()), qPrintable(c->objectName()));
            if (c->parentWidget() == w.window.get())
                visible << c;
        }
        for (qsizetype i = 0; i < visible.size(); ++i) {
            for (qsizetype j = i + 1; j < visible.size(); ++j) {
                QVERIFY2(!inkArea(visible[i]).intersects(inkArea(visible[j])),
                         qPrintable(visible[i]->objectName() + QLatin1String(" overlaps ") + visible[j]->objectName()));
            }
        }
    }
};

QTEST_MAIN(TestHighDpi)
#include "tst_highdpi.moc"

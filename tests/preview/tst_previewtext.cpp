#include "app/frmmain.h"
#include "testsupport.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using platform::ScriptedDesktop;
using testsupport::control;

namespace {

struct Preview {
    testsupport::MainWindow w;
    QLineEdit *box = control<QLineEdit>(w.window.get(), "txtBOX");
    QLabel *sample = control<QLabel>(w.window.get(), "lblpic");
    QPushButton *fontButton = control<QPushButton>(w.window.get(), "cmdFONT");
    QPushButton *defaultButton = control<QPushButton>(w.window.get(), "comdefFONT");
    ScriptedDesktop &desktop = w.env.desktop;

    void chooseFont(const ScriptedDesktop::FontChoice &choice)
    {
        desktop.answerFont(choice);
        QTest::mouseClick(fontButton, Qt::LeftButton);
    }
};

ScriptedDesktop::FontChoice font(const char *name, float size, bool bold = false, bool italic = false)
{
    ScriptedDesktop::FontChoice f;
    f.name = QLatin1String(name);
    f.size = size;
    f.bold = bold;
    f.italic = italic;
    return f;
}

} // namespace

class tst_previewtext : public QObject {
    Q_OBJECT
private slots:
    void sampleFollowsEveryKeystroke()
    {
        Preview p;
        const QPoint corner = p.sample->pos();
        const int startWidth = p.sample->width();
        p.box->setFocus();
        p.box->selectAll();
        QString typed;
        for (const QChar c : QStringLiteral("Hello, wide world")) {
            QTest::keyClick(p.box, c.toLatin1());
            typed += c;
            QCOMPARE(p.sample->text(), typed);
        }
        // The label grows with its caption and keeps its place.
        QVERIFY(p.sample->width() > startWidth);
        QCOMPARE(p.sample->pos(), corner);
        QCOMPARE(p.sample->size(), p.sample->sizeHint());

        // Text is taken as it is, blanks and all.
        testsupport::pasteInto(p.box, QStringLiteral("  <b>&amp;  "));
        QCOMPARE(p.sample->text(), QStringLiteral("  <b>&amp;  "));
    }

    void boxTakesAtMostFiftyCharacters()
    {
        Preview p;
        testsupport::typeInto(p.box, QString(60, QLatin1Char('x')));
        QCOMPARE(p.box->text(), QString(50, QLatin1Char('x')));
        QCOMPARE(p.sample->text(), QString(50, QLatin1Char('x')));
    }

    void emptyTextComesBackOnLeavingTheBox()
    {
        Preview p;
        p.box->setFocus();
        p.box->selectAll();
        QTest::keyClick(p.box, Qt::Key_Backspace);
        QCOMPARE(p.box->text(), QString());
        QCOMPARE(p.sample->text(), QString());

        // Its context menu takes the focus for a moment; the box stays empty for a paste.
        QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
        QApplication::sendEvent(p.box, &popup);
        QCOMPARE(p.box->text(), QString());

        QTest::keyClick(p.box, Qt::Key_Tab);
        QVERIFY(!p.box->hasFocus());
        QCOMPARE(p.box->text(), QStringLiteral("Sample"));
        QCOMPARE(p.sample->text(), QStringLiteral("Sample"));

        // A single blank is text and stays.
        testsupport::typeInto(p.box, QStringLiteral(" "));
        QTest::keyClick(p.box, Qt::Key_Tab);
        QCOMPARE(p.box->text(), QStringLiteral(" "));
        QCOMPARE(p.sample->text(), QStringLiteral(" "));
    }

    void fontSizeIsCappedAt14_data()
    {
        QTest::addColumn<float>("chosen");
        QTest::addColumn<double>("shown");
        QTest::newRow("14 kept") << 14.0F << 14.0;
        QTest::newRow("16 capped") << 16.0F << 14.0;
        QTest::newRow("72 capped") << 72.0F << 14.0;
        QTest::newRow("8 kept") << 8.0F << 8.0;
        QTest::newRow("10.5 kept") << 10.5F << 10.5;
    }
    void fontSizeIsCappedAt14()
    {
        QFETCH(float, chosen);
        QFETCH(double, shown);
        Preview p;
        p.chooseFont(font("Liberation Sans", chosen));
        QCOMPARE(p.sample->font().pointSizeF(), shown);
        QCOMPARE(p.sample->font().family(), QStringLiteral("Liberation Sans"));
        QVERIFY(p.desktop.messages.isEmpty());
        QVERIFY(p.defaultButton->hasFocus());
        // The dialog keeps what was chosen in it, above the cap too.
        QCOMPARE(p.w->CommonDialog1->FontSize, chosen);
    }

    void styleReachesOnlyTheSample()
    {
        Preview p;
        const QStringList links = {QStringLiteral("lblpicNewlink"), QStringLiteral("lblpicVisitedlink"),
                                   QStringLiteral("lblpicActivelink")};
        QList<QFont> before;
        for (const QString &name : links)
            before << p.w.window->findChild<QLabel *>(name)->font();
        const int heightBefore = p.sample->height();

        ScriptedDesktop::FontChoice choice = font("Liberation Serif", 12, true, true);
        choice.underline = true;
        choice.strikethru = true;
        p.chooseFont(choice);

        const QFont f = p.sample->font();
        QVERIFY(f.bold());
        QVERIFY(f.italic());
        QVERIFY(f.underline());
        QVERIFY(f.strikeOut());
        QVERIFY(p.sample->height() < heightBefore);
        QCOMPARE(p.sample->size(), p.sample->sizeHint());
        for (int i = 0; i < links.size(); ++i)
            QCOMPARE(p.w.window->findChild<QLabel *>(links[i])->font(), before[i]);
    }

    void dialogOpensOnItsOwnLastChoice()
    {
        Preview p;
        p.chooseFont(font("Liberation Sans", 20, true, false));
        QTest::mouseClick(p.defaultButton, Qt::LeftButton);
        p.desktop.cancel(ScriptedDesktop::Kind::Font);
        QTest::mouseClick(p.fontButton, Qt::LeftButton);

        QCOMPARE(p.desktop.prompts.size(), 2);
        const auto &first = p.desktop.prompts[0];
        QCOMPARE(first.dialogName, QStringLiteral("CommonDialog1"));
        QCOMPARE(first.fontName, QStringLiteral("Arial"));
        QCOMPARE(first.fontSize, 8.0F);
        QVERIFY(!first.fontBold);
        QCOMPARE(first.flags, 3);
        QVERIFY(first.cancelError);
        const auto &second = p.desktop.prompts[1];
        QCOMPARE(second.fontName, QStringLiteral("Liberation Sans"));
        QCOMPARE(second.fontSize, 20.0F);
        QVERIFY(second.fontBold);
        QVERIFY(p.desktop.unscripted.isEmpty());
    }

    void cancelMovesOnlyTheFocus()
    {
        Preview p;
        const QFont before = p.sample->font();
        p.desktop.cancel(ScriptedDesktop::Kind::Font);
        QTest::mouseClick(p.fontButton, Qt::LeftButton);
        QCOMPARE(p.sample->font(), before);
        QVERIFY(p.defaultButton->hasFocus());
        QVERIFY(p.desktop.messages.isEmpty());
    }

    void sizeThatIsNoSizeKeepsTheFaceAlreadyApplied()
    {
        Preview p;
        p.chooseFont(font("Liberation Sans", 0, true));
        QCOMPARE(p.sample->font().family(), QStringLiteral("Liberation Sans"));
        QCOMPARE(p.sample->font().pointSizeF(), 14.25);
        QVERIFY(!p.sample->font().bold());
        QVERIFY(p.defaultButton->hasFocus());
        QVERIFY(p.desktop.messages.isEmpty());
    }

    void defaultFontKeepsTheText()
    {
        Preview p;
        testsupport::typeInto(p.box, QStringLiteral("My page"));
        ScriptedDesktop::FontChoice choice = font("Liberation Sans", 9, true, true);
        choice.underline = true;
        choice.strikethru = true;
        p.chooseFont(choice);
        QTest::mouseClick(p.defaultButton, Qt::LeftButton);

        const QFont f = p.sample->font();
        QCOMPARE(f.family(), QStringLiteral("Times New Roman"));
        QCOMPARE(f.pointSizeF(), 14.0);
        QVERIFY(!f.bold());
        QVERIFY(!f.italic());
        QVERIFY(!f.underline());
        QVERIFY(!f.strikeOut());
        QCOMPARE(p.sample->text(), QStringLiteral("My page"));
        QCOMPARE(p.box->text(), QStringLiteral("My page"));
        QCOMPARE(p.sample->size(), p.sample->sizeHint());
        QVERIFY(p.defaultButton->hasFocus());
        // The face, or one with its metrics, is installed here: nothing to report.
        QVERIFY(p.desktop.messages.isEmpty());
    }
};

QTEST_MAIN(tst_previewtext)
#include "tst_previewtext.moc"

#include "app/frmmain.h"
#include "color/colorset.h"
#include "filefaults.h"
#include "output/frminfo.h"
#include "output/frmtag.h"
#include "output/pagetext.h"
#include "platform/commondialog.h"
#include "testsupport.h"
#include "widgets/controls.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

using testsupport::control;
using testsupport::processDeletes;
using testsupport::readFile;
using testsupport::typeText;
using testsupport::writeFile;
using Kind = platform::ScriptedDesktop::Kind;

namespace {

const QString doneText = QStringLiteral("All done!\r\nYour webpage has been successfully generated!");

// The page's lines without their CR LF ends.
QList<QByteArray> pageLines(const QString &path)
{
    QList<QByteArray> lines = readFile(path).split('\n');
    lines.removeLast();
    for (QByteArray &l : lines)
        l.chop(1);
    return lines;
}

frmtag *tagWindow(testsupport::MainWindow &w)
{
    return testsupport::findWindow<frmtag>(*w.window);
}

frminfo *infoWindow(testsupport::MainWindow &w)
{
    return testsupport::findWindow<frminfo>(*w.window);
}

// From the main window through the body tag window to the page information
// window, typing `editedTag` over the tag when one is given.
frminfo *openInfo(testsupport::MainWindow &w, const QString &editedTag = {})
{
    QTest::mouseClick(w->cmdtag, Qt::LeftButton);
    frmtag *tag = tagWindow(w);
    if (tag == nullptr)
        return nullptr;
    if (!editedTag.isNull()) {
        tag->txtTag->setFocus();
        QTest::keyClick(tag->txtTag, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(tag->txtTag, editedTag);
    }
    QTest::mouseClick(tag->cmdCREATEhtml, Qt::LeftButton);
    return testsupport::activeWindow<frminfo>(*w.window);
}

} // namespace

class TestFrminfo : public QObject {
    Q_OBJECT
private slots:
    void layoutAndBeep()
    {
        testsupport::MainWindow w;
        frminfo *info = openInfo(w);
        QVERIFY(info);
        QCOMPARE(w.env.desktop.beeps, 1);
        QCOMPARE(info->windowTitle(), QStringLiteral("Dudovuvov"));
        QCOMPARE(info->size(), QSize(tw(7020), tw(2520)));
        QCOMPARE(info->minimumSize(), info->maximumSize());
        QVERIFY(!(info->windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(info->windowModality(), Qt::ApplicationModal);
        QCOMPARE(QApplication::activeModalWidget(), info);
        QVERIFY((info->frameGeometry().center() - w.window->frameGeometry().center()).manhattanLength() <= 2);

        // The boxes start empty; the frame holds them and their labels.
        const testsupport::InventoryRow rows[] = {
            {"Frame1", "QGroupBox", "Please provide following info:", nullptr, 435, 285, 6195, 1455, -1},
            {"txtNAME", "QLineEdit", "", " Enter your name here ", 2340, 465, 3405, 300, 0},
            {"txtTITLE", "QLineEdit", "", " Enter a title for your webpage ", 2340, 825, 3405, 300, 1},
            {"lblname", "QLabel", "Your name (First, Last) :", nullptr, 540, 495, 2370, 240, -1},
            {"lbluser", "QLabel", "Webpage Title :", nullptr, 540, 855, 2370, 240, -1},
            {"cmdready", "QPushButton", "&Ready!", nullptr, 2760, 1935, 3435, 360, 2},
        };
        const QString mismatches = testsupport::inventoryMismatches(*info, rows);
        QVERIFY2(mismatches.isEmpty(), qPrintable(mismatches));
        auto *frame = control<QGroupBox>(info, "Frame1");
        QVERIFY(frame);
        for (const char *name : {"txtNAME", "txtTITLE", "lblname", "lbluser"}) {
            auto *inside = control<QWidget>(info, name);
            QVERIFY(inside);
            QCOMPARE(inside->parentWidget(), frame);
        }
        struct Label {
            const char *name, *box;
        };
        for (const Label &l : {Label{"lblname", "txtNAME"}, Label{"lbluser", "txtTITLE"}}) {
            auto *label = control<QLabel>(info, l.name);
            QVERIFY(label);
            // A screen reader names the box by its label; the tooltip describes it.
            auto *box = control<QLineEdit>(info, l.box);
            QCOMPARE(label->buddy(), box);
            QAccessibleInterface *spoken = QAccessible::queryAccessibleInterface(box);
            QVERIFY(spoken);
            QCOMPARE(spoken->text(QAccessible::Name), label->text());
            QCOMPARE(spoken->text(QAccessible::Description), box->toolTip().simplified());
        }
        QVERIFY(info->cmdready->isDefault());

        // Tab order: name, title, Ready!, and round again.
        QCOMPARE(QApplication::focusWidget(), info->txtNAME);
        QTest::keyClick(info->txtNAME, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), info->txtTITLE);
        QTest::keyClick(info->txtTITLE, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), info->cmdready);
        QTest::keyClick(info->cmdready, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), info->txtNAME);

        QCOMPARE(control<QObject>(info, "CommonDialog1"), info->CommonDialog1);
        QVERIFY(w.env.desktop.prompts.isEmpty());
    }

    void writesThePageByteForByte()
    {
        testsupport::MainWindow w;
        QTemporaryDir dir;
        frminfo *info = openInfo(w);
        QVERIFY(info);
        QPointer<frminfo> watched = info;
        bool closedBeforeMessage = false;
        w.env.desktop.onMessage = [&](const platform::ScriptedDesktop::Message &) {
            closedBeforeMessage = watched.isNull() || !watched->isVisible();
        };
        typeText(info->txtNAME, QStringLiteral("Anna Smith"));
        const QString path = dir.filePath(QStringLiteral("Dudovuvov.htm"));
        w.env.desktop.answerSave(path);
        QTest::mouseClick(info->cmdready, Qt::LeftButton);

        QCOMPARE(w.env.desktop.prompts.size(), 1);
        const auto &prompt = w.env.desktop.prompts[0];
        QVERIFY(prompt.kind == Kind::Save);
        QCOMPARE(prompt.dialogName, QStringLiteral("CommonDialog1"));
        QCOMPARE(prompt.dialogTitle, QStringLiteral("Save your Webpage as:"));
        QCOMPARE(prompt.fileName, QStringLiteral("Dudovuvov.htm"));
        QCOMPARE(prompt.defaultExt, QStringLiteral("htm"));
        QCOMPARE(prompt.filter, QStringLiteral("*.htm *.html"));
        QCOMPARE(prompt.flags, 2050);
        QVERIFY(prompt.cancelError);

        QFile expected(QFINDTESTDATA("expected-page.htm"));
        QVERIFY(expected.open(QIODevice::ReadOnly));
        const QByteArray written = readFile(path);
        QCOMPARE(written, expected.readAll());
        QCOMPARE(written.count("\r\n"), 41);
        QCOMPARE(written.count('\n'), 41);

        QCOMPARE(w.env.desktop.messages.size(), 1);
        QCOMPARE(w.env.desktop.messages[0].text, doneText);
        QCOMPARE(w.env.desktop.messages[0].title, QStringLiteral("Dudovuvov.htm"));
        QVERIFY(w.env.desktop.messages[0].icon == platform::MessageIcon::Information);
        QVERIFY(closedBeforeMessage);
        processDeletes();
        QVERIFY(watched.isNull());
        // No image: nothing besides the page.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Dudovuvov.htm"});
        // The body tag window stays hidden and alive; the main window takes input again.
        QVERIFY(tagWindow(w) && !tagWindow(w)->isVisible());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QVERIFY(w.env.desktop.unscripted.isEmpty());
    }

    void nameAndTitle_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QByteArray>("authorLine");
        QTest::addColumn<QByteArray>("titleLine");
        QTest::addColumn<QByteArray>("h1Line");
        QTest::newRow("empty name and title")
            << ""
            << "" << QByteArray("<META NAME=\"Author\" CONTENT=\"\">") << QByteArray("<TITLE>Untitled</TITLE>")
            << QByteArray("<H1>Untitled</H1>");
        QTest::newRow("title of blanks") << "Anna"
                                         << "   " << QByteArray("<META NAME=\"Author\" CONTENT=\"Anna\">")
                                         << QByteArray("<TITLE>   </TITLE>") << QByteArray("<H1>   </H1>");
        QTest::newRow("quote and ampersand")
            << "Tom \"TJ\" & Co"
            << "Fish & <Chips>" << QByteArray("<META NAME=\"Author\" CONTENT=\"Tom &quot;TJ&quot; &amp; Co\">")
            << QByteArray("<TITLE>Fish &amp; &lt;Chips&gt;</TITLE>") << QByteArray("<H1>Fish &amp; &lt;Chips&gt;</H1>");
        QTest::newRow("latin-1") << QStringLiteral("Jos\u00e9 M\u00fcller") << QStringLiteral("Caf\u00e9")
                                 << QByteArray("<META NAME=\"Author\" CONTENT=\"Jos\xe9 M\xfcller\">")
                                 << QByteArray("<TITLE>Caf\xe9</TITLE>") << QByteArray("<H1>Caf\xe9</H1>");
        QTest::newRow("beyond latin-1") << QStringLiteral("\u0141ukasz") << QStringLiteral("\u65e5\u672c")
                                        << QByteArray("<META NAME=\"Author\" CONTENT=\"&#321;ukasz\">")
                                        << QByteArray("<TITLE>&#26085;&#26412;</TITLE>")
                                        << QByteArray("<H1>&#26085;&#26412;</H1>");
    }

    void nameAndTitle()
    {
        QFETCH(QString, name);
        QFETCH(QString, title);
        testsupport::MainWindow w;
        QTemporaryDir dir;
        frminfo *info = openInfo(w);
        QVERIFY(info);
        typeText(info->txtNAME, name);
        typeText(info->txtTITLE, title);
        QCOMPARE(info->txtNAME->text(), name);
        QCOMPARE(info->txtTITLE->text(), title);
        const QString path = dir.filePath(QStringLiteral("page.htm"));
        w.env.desktop.answerSave(path);
        // Enter in a box presses the default button.
        QTest::keyClick(info->txtTITLE, Qt::Key_Return);
        const QList<QByteArray> lines = pageLines(path);
        QCOMPARE(lines.size(), 41);
        QTEST(lines[3], "authorLine");
        QTEST(lines[5], "titleLine");
        QTEST(lines[10], "h1Line");
        QCOMPARE(w.env.desktop.messages.size(), 1);
        QCOMPARE(w.env.desktop.messages[0].text, doneText);
    }

    void nameWithoutExtensionGetsHtm()
    {
        testsupport::MainWindow w;
        QTemporaryDir dir;
        frminfo *info = openInfo(w);
        QVERIFY(info);
        w.env.desktop.answerSave(dir.filePath(QStringLiteral("mypage")));
        QTest::mouseClick(info->cmdready, Qt::LeftButton);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"mypage.htm"});
        QCOMPARE(pageLines(dir.filePath(QStringLiteral("mypage.htm"))).size(), 41);
    }

    void editedTagGoesIntoThePage()
    {
        testsupport::MainWindow w;
        QTemporaryDir dir;
        const QString edited = QStringLiteral("<BODY BGCOLOR=\"#000000\" onload=\"hi()\">");
        frminfo *info = openInfo(w, edited);
        QVERIFY(info);
        const QString path = dir.filePath(QStringLiteral("page.htm"));
        w.env.desktop.answerSave(path);
        QTest::mouseClick(info->cmdready, Qt::LeftButton);
        QCOMPARE(pageLines(path).value(7), edited.toLatin1());
    }

    void lineBreaksInTheTagAreWrittenAsCrLf()
    {
        testsupport::MainWindow w;
        QTemporaryDir dir;
        QTest::mouseClick(w->cmdtag, Qt::LeftButton);
        frmtag *tag = tagWindow(w);
        QVERIFY(tag);
        const QString shownTag = tag->txtTag->toPlainText();
        // Breaks pasted at the tag's end, then one typed with Ctrl+Enter.
        tag->txtTag->setFocus();
        QTest::keyClick(tag->txtTag, Qt::Key_End, Qt::ControlModifier);
        tag->txtTag->insertPlainText(QStringLiteral("\r\n<!-- one\rtwo\nthree"));
        QTest::keyClick(tag->txtTag, Qt::Key_Return, Qt::ControlModifier);
        QTest::keyClicks(tag->txtTag, QStringLiteral("four -->"));
        QTest::mouseClick(tag->cmdCREATEhtml, Qt::LeftButton);
        frminfo *info = infoWindow(w);
        QVERIFY(info);
        const QString path = dir.filePath(QStringLiteral("page.htm"));
        w.env.desktop.answerSave(path);
        QTest::mouseClick(info->cmdready, Qt::LeftButton);

        const QByteArray page = readFile(path);
        QCOMPARE(page.count("\r\n"), 41 + 4);
        QCOMPARE(page.count('\r'), 41 + 4);
        QCOMPARE(page.count('\n'), 41 + 4);
        const QList<QByteArray> lines = pageLines(path);
        QCOMPARE(lines.mid(7, 6),
                 (QList<QByteArray>{shownTag.toLatin1(), "<!-- one", "two", "three", "four -->", "<CENTER>"}));
    }

    void imageIsCopiedBesideThePage()
    {
        testsupport::MainWindow w;
        QTemporaryDir pics, web;
        QByteArray image("GIF89a\x01\x00\x01\x00\x00\xff", 12);
        image.append(QByteArray(70000, '\x5a'));
        const QString source = pics.filePath(QStringLiteral("stone.gif"));
        QVERIFY(writeFile(source, image));
        w.window->colors().setPicture(source);
        frminfo *info = openInfo(w);
        QVERIFY(info);
        const QString path = web.filePath(QStringLiteral("index.htm"));
        w.env.desktop.answerSave(path);
        QTest::mouseClick(info->cmdready, Qt::LeftButton);
        QVERIFY(pageLines(path).value(7).endsWith("BACKGROUND=\"stone.gif\">"));
        QCOMPARE(readFile(web.filePath(QStringLiteral("stone.gif"))), image);
        QCOMPARE(w.env.desktop.messages.size(), 1);
        QCOMPARE(w.env.desktop.messages[0].text, doneText);
    }

    void copyOntoTheImageItselfIsNoFailure()
    {
        testsupport::MainWindow w;
        QTemporaryDir pics;
        const QString source = pics.filePath(QStringLiteral("stone.gif"));
        QVERIFY(writeFile(source, "GIF89a-stone"));
        w.window->colors().setPicture(source);
        frminfo *info = openInfo(w);
        QVERIFY(info);
        w.env.desktop.answerSave(pics.filePath(QStringLiteral("index.htm")));
        QTest::mouseClick(info->cmdready, Qt::LeftButton);
        QCOMPARE(readFile(source), QByteArray("GIF89a-stone"));
        QCOMPARE(QDir(pics.path()).entryList(QDir::Files | QDir::Hidden), (QStringList{"index.htm", "stone.gif"}));
        QCOMPARE(w.env.desktop.messages.size(), 1);
        QCOMPARE(w.env.desktop.messages[0].text, doneText);
        QVERIFY(w.env.desktop.messages[0].icon == platform::MessageIcon::Information);
    }

    void failedImageCopyIsReported()
    {
        testsupport::MainWindow w;
        QTemporaryDir pics, web;
        // The image was loaded, then its file went away.
        w.window->colors().setPicture(pics.filePath(QStringLiteral("stone.gif")));
        QPointer<frminfo> info = openInfo(w);
        QVERIFY(info);
        const QString path = web.filePath(QStringLiteral("index.htm"));
        w.env.desktop.answerSave(path);
        QTest::mouseClick(info->cmdready, Qt::LeftButton);
        QCOMPARE(pageLines(path).size(), 41);
        QCOMPARE(w.env.desktop.messages.size(), 1);
        const auto &message = w.env.desktop.messages[0];
        const QString destination = QDir::toNativeSeparators(web.filePath(QStringLiteral("stone.gif")));
        QVERIFY2(message.text.startsWith(QStringLiteral("The page was written, but the image could not be copied to ")
                                         + destination + QLatin1Char(':')),
                 qPrintable(message.text));
        QVERIFY(!message.text.contains(QStringLiteral("All done!")));
        QCOMPARE(message.title, QStringLiteral("Dudovuvov.htm"));
        QVERIFY(message.icon == platform::MessageIcon::Exclamation);
        QVERIFY(!QFile::exists(web.filePath(QStringLiteral("stone.gif"))));
        processDeletes();
        QVERIFY(info.isNull());
    }

    void cancelIsSilentAndKeepsTheWindow()
    {
        testsupport::MainWindow w;
        QTemporaryDir dir;
        frminfo *info = openInfo(w);
        QVERIFY(info);
        typeText(info->txtNAME, QStringLiteral("Anna"));
        typeText(info->txtTITLE, QStringLiteral("Colors"));
        w.env.desktop.cancel(Kind::Save);
        QTest::mouseClick(info->cmdready, Qt::LeftButton);
        processDeletes();
        QCOMPARE(infoWindow(w), info);
        QVERIFY(info->isVisible());
        QCOMPARE(info->txtNAME->text(), QStringLiteral("Anna"));
        QCOMPARE(info->txtTITLE->text(), QStringLiteral("Colors"));
        QVERIFY(w.env.desktop.messages.isEmpty());
        QCOMPARE(w.env.desktop.prompts.size(), 1);
        // "&Ready!" again, and this time a file is chosen.
        const QString path = dir.filePath(QStringLiteral("page.htm"));
        w.env.desktop.answerSave(path);
        QTest::mouseClick(info->cmdready, Qt::LeftButton);
        QCOMPARE(pageLines(path).value(5), QByteArray("<TITLE>Colors</TITLE>"));
        QCOMPARE(w.env.desktop.messages.size(), 1);
    }

    void unwritableFolderKeepsTheOldPageAndTheWindow()
    {
        testsupport::MainWindow w;
        QTemporaryDir locked, other;
        const QString path = locked.filePath(QStringLiteral("page.htm"));
        const QByteArray oldPage = "<HTML>an older page, longer than nothing</HTML>\r\n";
        QVERIFY(writeFile(path, oldPage));
        // A page that could be written would be, in place.
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner));
        frminfo *info = openInfo(w);
        QVERIFY(info);
        typeText(info->txtNAME, QStringLiteral("Anna"));
        {
            filefaults::ReadOnlyFolder readOnly(locked.path());
            if (!readOnly.active())
                QSKIP("this process can write into any folder");
            w.env.desktop.answerSave(path);
            QTest::mouseClick(info->cmdready, Qt::LeftButton);
        }
        QCOMPARE(readFile(path), oldPage);
        QCOMPARE(QDir(locked.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"page.htm"});
        QCOMPARE(w.env.desktop.messages.size(), 1);
        const QString text = w.env.desktop.messages[0].text;
        const QString prefix = QStringLiteral("The page could not be written to ") + QDir::toNativeSeparators(path)
                               + QStringLiteral(":\r\n");
        QVERIFY2(text.startsWith(prefix) && text.size() > prefix.size(), qPrintable(text));
        processDeletes();
        QCOMPARE(infoWindow(w), info);
        QVERIFY(info->isVisible());
        QCOMPARE(info->txtNAME->text(), QStringLiteral("Anna"));
        // Another place works.
        w.env.desktop.takeMessages();
        const QString elsewhere = other.filePath(QStringLiteral("page.htm"));
        w.env.desktop.answerSave(elsewhere);
        QTest::mouseClick(info->cmdready, Qt::LeftButton);
        QCOMPARE(pageLines(elsewhere).value(3), QByteArray("<META NAME=\"Author\" CONTENT=\"Anna\">"));
        QCOMPARE(w.env.desktop.messages.size(), 1);
        QCOMPARE(w.env.desktop.messages[0].text, doneText);
    }

    void existingPageIsReplacedCompletely()
    {
        testsupport::MainWindow w;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("page.htm"));
        QVERIFY(writeFile(path, QByteArray(20000, '~')));
        frminfo *info = openInfo(w);
        QVERIFY(info);
        w.env.desktop.answerSave(path);
        QTest::mouseClick(info->cmdready, Qt::LeftButton);
        QCOMPARE(pageLines(path).size(), 41);
        QVERIFY(!readFile(path).contains('~'));
    }

    void closeBoxWritesNothingAndNextUseStartsAfresh()
    {
        testsupport::MainWindow w;
        QPointer<frminfo> info = openInfo(w);
        QVERIFY(info);
        typeText(info->txtNAME, QStringLiteral("Anna"));
        info->CommonDialog1->FileName = QStringLiteral("/somewhere/else.htm");
        info->close();
        processDeletes();
        QVERIFY(info.isNull());
        QVERIFY(w.env.desktop.prompts.isEmpty());
        QVERIFY(w.env.desktop.messages.isEmpty());
        QVERIFY(tagWindow(w) && !tagWindow(w)->isVisible());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);

        frminfo *fresh = openInfo(w);
        QVERIFY(fresh);
        QCOMPARE(w.env.desktop.beeps, 2);
        QVERIFY(fresh->txtNAME->text().isEmpty());
        QCOMPARE(fresh->CommonDialog1->FileName, QStringLiteral("Dudovuvov.htm"));
        QCOMPARE(w.window->findChildren<frmtag *>().size(), 1);
    }

    // A page this program wrote, with colors other than the defaults, gives
    // back all five through Ctrl+O; the picture beside it is loaded.
    void ownPageOpensWithItsColors()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("colors.htm"));
        const std::pair<const char *, QString> colors[] = {{"optTEXT", "1 2 3"},
                                                           {"optBACK", "250 240 230"},
                                                           {"optNewlinks", "16 32 64"},
                                                           {"optVisitedlinks", "255 0 255"},
                                                           {"optActivelinks", "0 128 0"}};
        {
            testsupport::MainWindow w;
            for (const auto &[option, values] : colors) {
                QTest::mouseClick(control<QRadioButton>(w.window.get(), option), Qt::LeftButton);
                const QStringList parts = values.split(u' ');
                testsupport::typeInto(w->txtred, parts[0]);
                testsupport::typeInto(w->txtgreen, parts[1]);
                testsupport::typeInto(w->txtblue, parts[2]);
            }
            frminfo *info = openInfo(w);
            QVERIFY(info);
            w.env.desktop.answerSave(path);
            QTest::mouseClick(info->cmdready, Qt::LeftButton);
            QVERIFY(pageLines(path).value(7).startsWith("<BODY BGCOLOR=\"#FAF0E6\" TEXT=\"#010203\""));
        }
        // A 1 x 1 GIF: header, screen, palette, image, its data and the end.
        static const char gif[] = {'G',    'I', 'F', '8', '9', 'a', 1, 0, 1, 0, '\x80', 0, 0, 0,   0, 0, '\xff', '\xff',
                                   '\xff', ',', 0,   0,   0,   0,   1, 0, 1, 0, 0,      2, 2, 'D', 1, 0, ';'};
        QVERIFY(writeFile(dir.filePath(QStringLiteral("stone.gif")), QByteArray(gif, sizeof gif)));
        QByteArray page = readFile(path);
        page.replace("BACKGROUND=\"\"", "BACKGROUND=\"stone.gif\"");
        QVERIFY(writeFile(path, page));

        testsupport::MainWindow w;
        w.env.desktop.answerOpen(path);
        QTest::keyClick(w.window.get(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(w.env.desktop.prompts.size(), 1);
        const auto &prompt = w.env.desktop.prompts[0];
        QVERIFY(prompt.kind == Kind::Open);
        QCOMPARE(prompt.dialogTitle, QStringLiteral("Open a web page's colors"));
        QCOMPARE(prompt.filter, QStringLiteral("Web pages (*.htm *.html)|*.htm;*.html|"));
        QVERIFY(prompt.cancelError);
        QCOMPARE(w->txtHEXtext->text(), QStringLiteral("#010203"));
        QCOMPARE(w->txtHEXback->text(), QStringLiteral("#FAF0E6"));
        QCOMPARE(w->txtnewlink->text(), QStringLiteral("#102040"));
        QCOMPARE(w->txtvisitedlink->text(), QStringLiteral("#FF00FF"));
        QCOMPARE(w->txtactivelink->text(), QStringLiteral("#008000"));
        QCOMPARE(w->HIDDENtxtbackred->text(), QStringLiteral("250"));
        QCOMPARE(w->HIDDENlbltaginfo->text(), QStringLiteral("stone.gif"));
        // As after "Load Image": the picture covers the background, Text is edited.
        QVERIFY(w->optTEXT->isChecked() && !w->optBACK->isEnabled());
        QCOMPARE(w.env.desktop.messages.size(), 0);
        QCOMPARE(testsupport::brokenColorModel(*w.window), QString());

        // A color pasted into the covered background's box is not taken: it
        // beeps, and the editing stays on Text.
        w.env.desktop.clipboard = QStringLiteral("white");
        w->txtHEXback->setFocus();
        QTest::keyClick(w->txtHEXback, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(w->txtHEXback->text(), QStringLiteral("#FAF0E6"));
        QCOMPARE(w.env.desktop.beeps, 1);
        QVERIFY(w->optTEXT->isChecked() && !w->optBACK->isChecked());
        QCOMPARE(testsupport::brokenColorModel(*w.window), QString());
    }

    // Absent attributes keep their colors; a missing picture is left out
    // and said so; a page that cannot be used changes nothing.
    void openedPagesThatSayLessOrNothing()
    {
        QTemporaryDir dir;
        testsupport::MainWindow w;
        const auto open = [&](const QString &name) {
            w.env.desktop.answerOpen(dir.filePath(name));
            QTest::keyClick(w.window.get(), Qt::Key_O, Qt::ControlModifier);
            const auto messages = w.env.desktop.takeMessages();
            return messages.size() == 1 ? messages[0].text : QStringLiteral("%1 messages").arg(messages.size());
        };
        const QString partial = QStringLiteral("partial.htm");
        QVERIFY(writeFile(dir.filePath(partial), "<html><body Link=red background='gone.gif' vlink=''>"));
        QCOMPARE(open(partial), QStringLiteral("The page's colors were read, but its background image gone.gif is not "
                                               "in %1 and was left out.")
                                    .arg(QDir::toNativeSeparators(dir.path())));
        QCOMPARE(w->txtnewlink->text(), QStringLiteral("#FF0000"));
        QCOMPARE(w->txtvisitedlink->text(), QStringLiteral("#551A8B"));
        QCOMPARE(w->txtHEXback->text(), QStringLiteral("#DCDCDC"));
        QVERIFY(w->optBACK->isChecked());
        QCOMPARE(w->HIDDENlbltaginfo->text(), QString());

        const QString none = QStringLiteral("none.htm"), large = QStringLiteral("large.htm");
        QVERIFY(writeFile(dir.filePath(none), "<html><p>no tag</p>"));
        QByteArray big = "<body bgcolor=black>";
        big.append(QByteArray(10 * 1024 * 1024 - big.size() + 1, ' '));
        QVERIFY(writeFile(dir.filePath(large), big));
        QCOMPARE(open(none), dir.filePath(none) + QStringLiteral(" has no BODY tag.\r\nNo colors were read from it."));
        QCOMPARE(open(large),
                 dir.filePath(large) + QStringLiteral(" is larger than 10 MB.\r\nNo colors were read from it."));
        QVERIFY(
            open(QStringLiteral("missing.htm"))
                .startsWith(dir.filePath(QStringLiteral("missing.htm")) + QStringLiteral(" could not be read:\r\n")));
        QCOMPARE(w->txtHEXback->text(), QStringLiteral("#DCDCDC"));
        QCOMPARE(w->txtnewlink->text(), QStringLiteral("#FF0000"));
        // Exactly 10 MB is read.
        big.chop(1);
        QVERIFY(writeFile(dir.filePath(large), big));
        QCOMPARE(open(large), QStringLiteral("0 messages"));
        QCOMPARE(w->txtHEXback->text(), QStringLiteral("#000000"));

        // A linked style sheet is not fetched: the colors come, and the message says where from.
        const QString linked = QStringLiteral("linked.htm");
        QVERIFY(writeFile(dir.filePath(linked), "<link rel=stylesheet href=site.css><body bgcolor=#123456>"));
        QCOMPARE(open(linked), QStringLiteral("The page links style sheets, which were not read: its colors come "
                                              "from the page itself only."));
        QCOMPARE(w->txtHEXback->text(), QStringLiteral("#123456"));
        QCOMPARE(testsupport::brokenColorModel(*w.window), QString());
    }
};

QTEST_MAIN(TestFrminfo)
#include "tst_frminfo.moc"

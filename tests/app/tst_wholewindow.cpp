// Long seeded random runs over the whole main window and the windows it
// opens: after every action the color model holds together, every file the
// program wrote is complete, no file the user did not name has changed, and
// every open window can be closed by the user.
//
// DUDOVUVOV_SEED picks the run, DUDOVUVOV_WINDOW_ACTIONS its length; a
// failure prints both and the actions that led to it.
#include "app/frmmain.h"
#include "color/coloreditor.h"
#include "color/rgb.h"
#include "platform/filefilter.h"
#include "testsupport.h"
#include "widgets/controls.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDirIterator>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScrollBar>

#include <sys/stat.h>

#include <cmath>
#include <limits>
#include <map>
#include <set>

using platform::ScriptedDesktop;
using testsupport::control;
using testsupport::prepareFile;
using testsupport::readFile;
using Kind = ScriptedDesktop::Kind;

namespace {

// What a file looked like: enough to see any rewrite, replacement or change.
struct FileState {
    qint64 size = -1;
    quint64 inode = 0;
    qint64 mtimeNs = 0;
    bool directory = false;
    bool operator==(const FileState &) const = default;
};

using Snapshot = std::map<QString, FileState>;

Snapshot snapshot(const QString &root)
{
    Snapshot out;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        struct stat st {};
        if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
            continue;
        // A folder changes with what is written into it; only its being there counts.
        if (S_ISDIR(st.st_mode))
            out[path] = FileState{0, st.st_ino, 0, true};
        else
            out[path] =
                FileState{st.st_size, st.st_ino, qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec, false};
    }
    return out;
}

// The expected output is built here, not with the program's own page and tag
// functions, so that a fault in those shows.

// An attribute or element text: &, <, > and " as entities.
QString escapedForHtml(const QString &text)
{
    QString out;
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&': out += QLatin1String("&amp;"); break;
        case '<': out += QLatin1String("&lt;"); break;
        case '>': out += QLatin1String("&gt;"); break;
        case '"': out += QLatin1String("&quot;"); break;
        default: out += c;
        }
    }
    return out;
}

// Name and title stay on their line: line breaks become references.
QString escapedInLine(const QString &text)
{
    QString out = escapedForHtml(text);
    out.replace(QLatin1Char('\r'), QLatin1String("&#13;"));
    out.replace(QLatin1Char('\n'), QLatin1String("&#10;"));
    return out;
}

QString expectedTag(const QStringList &hexes, const QString &imageName)
{
    return QStringLiteral("<BODY BGCOLOR=\"%1\" TEXT=\"%2\" LINK=\"%3\" VLINK=\"%4\" ALINK=\"%5\" BACKGROUND=\"%6\">")
        .arg(hexes[0], hexes[1], hexes[2], hexes[3], hexes[4], escapedForHtml(imageName));
}

// The page file's bytes: ISO-8859-1, every other character as "&#N;".
QByteArray expectedPage(const QString &name, const QString &title, const QString &tag)
{
    QStringList lines = {
        QStringLiteral("<HTML>"),
        QStringLiteral("<HEAD>"),
        QStringLiteral("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=iso-8859-1\">"),
        QStringLiteral("<META NAME=\"Author\" CONTENT=\"{name}\">"),
        QStringLiteral("<META NAME=\"GENERATOR\" CONTENT=\"Dudovuvov\">"),
        QStringLiteral("<TITLE>{title}</TITLE>"),
        QStringLiteral("</HEAD>"),
        QStringLiteral("{tag}"),
        QStringLiteral("<CENTER>"),
        QStringLiteral("<HR SIZE=1 WIDTH=\"80%\"><BR>"),
        QStringLiteral("<H1>{title}</H1>"),
        QStringLiteral("<HR SIZE=1 WIDTH=\"80%\">"),
        QStringLiteral("Add your text and images...<BR>"),
    };
    for (int i = 0; i < 23; ++i)
        lines << QStringLiteral("<BR>");
    lines << QStringLiteral("<A HREF=\"http://www.zudedidu.example/\">Zudedidu freeware</A>")
          << QStringLiteral("<HR SIZE=1 WIDTH=\"80%\">") << QStringLiteral("</CENTER>") << QStringLiteral("</BODY>")
          << QStringLiteral("</HTML>");
    const QString shownTitle = escapedInLine(title.isEmpty() ? QStringLiteral("Untitled") : title);
    QString text;
    for (QString &line : lines) {
        if (line == QLatin1String("{tag}"))
            // As it stands in the tag window; a line break in it is the page's CR LF.
            line = QString(tag).replace(QRegularExpression(QStringLiteral("\r\n|[\r\n\u2028\u2029]")),
                                        QStringLiteral("\r\n"));
        else if (line.contains(QLatin1String("{name}")))
            line.replace(QLatin1String("{name}"), escapedInLine(name));
        else
            line.replace(QLatin1String("{title}"), shownTitle);
        text += line + QLatin1String("\r\n");
    }
    QByteArray bytes;
    for (const char32_t c : text.toUcs4())
        bytes += c <= 0xFF ? QByteArray(1, char(c)) : "&#" + QByteArray::number(uint(c)) + ';';
    return bytes;
}

// The dialog each button opens, so that the run can answer it.
Kind dialogOf(const QString &button, bool *opens)
{
    static const std::map<QString, Kind> table = {{QStringLiteral("cmdUSEwindows"), Kind::Color},
                                                  {QStringLiteral("cmdFONT"), Kind::Font},
                                                  {QStringLiteral("cmdload"), Kind::Open},
                                                  {QStringLiteral("cmdsave"), Kind::Save},
                                                  {QStringLiteral("cmdready"), Kind::Save}};
    const auto found = table.find(button);
    *opens = found != table.end();
    return *opens ? found->second : Kind::Color;
}

class Run {
public:
    explicit Run(quint32 seed) : rng(seed), m_seed(seed)
    {
        sandbox = m_dir.path();
        QDir(sandbox).mkpath(QStringLiteral("images"));
        QDir(sandbox).mkpath(QStringLiteral("out/sub"));
        QDir(sandbox).mkpath(QStringLiteral("a folder.png"));
        makeImages();
        // Files nobody names: they must never change.
        for (int i = 0; i < 6; ++i)
            prepareFile(QStringLiteral("%1/out/bystander%2.txt").arg(sandbox).arg(i),
                        QByteArray(100 + i, char('a' + i)));
        prepareFile(sandbox + QStringLiteral("/out/sub/keep.htm"), "<HTML>keep</HTML>\r\n");
        before = snapshot(sandbox);
    }

    void start()
    {
        w.window = std::make_unique<frmmain>();
        w.controls = testsupport::controlsOf(*w.window);
        w.window->show();
        QApplication::setActiveWindow(w.window.get());
        if (!QTest::qWaitForWindowExposed(w.window.get()))
            qWarning("main window was not exposed");
    }

    QRandomGenerator rng;
    testsupport::MainWindow w;
    QString sandbox;
    Snapshot before;
    QStringList log;
    // Files the current action may change, and what they must then hold
    // (an empty expectation: may change, content checked elsewhere).
    std::map<QString, std::optional<QByteArray>> allowed;
    int actions = 0;
    // What the run got to do.
    int pagesWritten = 0, picturesCopiedBeside = 0, picturesSaved = 0, failuresReported = 0;
    quint32 seed() const { return m_seed; }

    // One random action on the window that has the user's attention.
    void step()
    {
        allowed.clear();
        // The user puts back, now and then, a picture spoilt or removed behind the program's back.
        if (!restoreLater.isEmpty() && rng.bounded(10) == 0)
            for (const QString &path : std::exchange(restoreLater, {}))
                prepareFile(path, originals.value(path));
        before = snapshot(sandbox);
        if (QWidget *popup = QApplication::activePopupWidget())
            popupAction(popup);
        else if (QWidget *modal = QApplication::activeModalWidget())
            dialogAction(modal);
        else if (QWidget *other = openSecondaryWindow())
            dialogAction(other);
        else
            mainAction();
        QCoreApplication::processEvents();
        ++actions;
    }

    // The first broken promise, or nothing.
    QString broken()
    {
        if (QString b = brokenColorModel(); !b.isEmpty())
            return b;
        if (QString b = brokenFiles(); !b.isEmpty())
            return b;
        if (QString b = brokenWindows(); !b.isEmpty())
            return b;
        if (!w.env.desktop.unscripted.isEmpty())
            return QStringLiteral("a dialog opened that the run did not expect: ")
                   + w.env.desktop.unscripted.join(", ");
        if (w.env.desktop.pendingAnswers() != 0)
            return QStringLiteral("a dialog the run answered never opened");
        for (const auto &m : std::as_const(w.env.desktop.messages)) {
            if (m.text.trimmed().isEmpty())
                return QStringLiteral("an empty message box");
            if (m.icon == platform::MessageIcon::Exclamation || m.icon == platform::MessageIcon::Critical)
                ++failuresReported;
        }
        w.env.desktop.messages.clear();
        return {};
    }

    // Closes every window the way a user would; false when one stays.
    bool closeAll()
    {
        for (int round = 0; round < 10; ++round) {
            QWidget *top = QApplication::activePopupWidget();
            if (top == nullptr)
                top = QApplication::activeModalWidget();
            if (top == nullptr)
                top = openSecondaryWindow();
            if (top == nullptr)
                return true;
            QTest::keyClick(top, Qt::Key_Escape);
            QCoreApplication::processEvents();
            if (top == QApplication::activePopupWidget() || top == QApplication::activeModalWidget())
                top->close(); // the title bar's close button
            QCoreApplication::processEvents();
        }
        return false;
    }

private:
    QTemporaryDir m_dir;
    quint32 m_seed;
    QStringList goodImages, badImages;
    QHash<QString, QByteArray> originals;

    QWidget *win() const { return w.window.get(); }

    void makeImages()
    {
        const QString dir = sandbox + QStringLiteral("/images/");
        QImage image(37, 23, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, qRgb(x * 7, y * 11, (x ^ y) * 5));
        const QString names[] = {QStringLiteral("tile.png"), QStringLiteral("wide & <odd> \"name\".bmp"),
                                 QStringLiteral("\u00e9t\u00e9.jpg"), QStringLiteral("\u0141\u00f3d\u017a.png"),
                                 QStringLiteral("no extension")};
        const char *formats[] = {"PNG", "BMP", "JPG", "PNG", "PNG"};
        for (int i = 0; i < 5; ++i) {
            const QString path = dir + names[i];
            if (!image.scaled(1 + i * 20, 1 + i * 9).save(path, formats[i]))
                qFatal("cannot write %s", qPrintable(path));
            goodImages << path;
            originals[path] = readFile(path);
        }
        prepareFile(dir + QStringLiteral("text.png"), "not a picture at all\n");
        prepareFile(dir + QStringLiteral("empty.png"), {});
        const QByteArray png = readFile(goodImages[0]);
        prepareFile(dir + QStringLiteral("truncated.png"), png.left(png.size() / 2));
        QByteArray junk(4096, '\0');
        for (char &c : junk)
            c = char(rng.bounded(256));
        prepareFile(dir + QStringLiteral("junk.bmp"), junk);
        badImages << dir + QStringLiteral("text.png") << dir + QStringLiteral("empty.png")
                  << dir + QStringLiteral("truncated.png") << dir + QStringLiteral("junk.bmp")
                  << dir + QStringLiteral("missing.png") << sandbox + QStringLiteral("/a folder.png") << QString();
    }

    // Text as users type and paste it: digits, Latin-1, the rest of Unicode,
    // HTML's special characters, line breaks and control characters.
    QString randomText(int maxLength)
    {
        static const QString pool =
            QStringLiteral("0123456789 abcXYZ&<>\"'#;\u00e9\u00ff\u00a0\u0141\u20ac\u4e2d\t\r\n");
        QString out;
        const int length = int(rng.bounded(maxLength + 1));
        for (int i = 0; i < length; ++i) {
            switch (rng.bounded(8)) {
            case 0: out += QChar(char16_t(rng.bounded(1, 0xD800))); break;
            case 1: {
                const char32_t c = rng.bounded(0x10000U, 0x110000U);
                out += QString::fromUcs4(&c, 1);
                break;
            }
            case 2: out += QChar(char16_t(rng.bounded(1, 32))); break;
            default: out += pool.at(rng.bounded(pool.size()));
            }
        }
        return out;
    }

    QString randomValueText()
    {
        static const QStringList junk = {QStringLiteral("abc"),
                                         QStringLiteral("-5"),
                                         QStringLiteral(" 42 "),
                                         QStringLiteral("1e3"),
                                         QString(),
                                         QStringLiteral("   "),
                                         QStringLiteral("300"),
                                         QStringLiteral("007"),
                                         QStringLiteral("99999999999"),
                                         QStringLiteral("12.5"),
                                         QStringLiteral("\u0663"),
                                         QStringLiteral("+7"),
                                         QStringLiteral("0x1F"),
                                         QStringLiteral("\t200\n")};
        switch (rng.bounded(3)) {
        case 0: return junk.at(rng.bounded(junk.size()));
        case 1: return QString::number(rng.bounded(1000));
        default: return randomText(8);
        }
    }

    QString randomSavePath(const QString &defaultExt)
    {
        const QString out = sandbox + QStringLiteral("/out/");
        switch (rng.bounded(8)) {
        case 0: return out + QStringLiteral("page%1").arg(rng.bounded(4)); // the default extension is added
        case 1:
            return out
                   + QStringLiteral("copy %1.%2").arg(rng.bounded(4)).arg(defaultExt.isEmpty() ? "png" : defaultExt);
        case 2: return out + QStringLiteral("sub/\u00e9 %1.htm").arg(rng.bounded(3));
        case 3: return sandbox + QStringLiteral("/a folder.png");         // a folder stands there
        case 4: return sandbox + QStringLiteral("/no such folder/x.htm"); // its folder is missing
        case 5: return w->HIDDENlblfilename->text();                      // the loaded image itself
        case 6: return out + QStringLiteral("\u0141\u00f3d\u017a & <%1>.htm").arg(rng.bounded(2));
        default: return out + QStringLiteral("sub"); // a folder again
        }
    }

    // Queues the answer to the dialog that pressing `button` opens.
    void answer(Kind kind, const QString &about)
    {
        ScriptedDesktop &d = w.env.desktop;
        if (rng.bounded(5) == 0) {
            log << QStringLiteral("  (cancelled)");
            d.cancel(kind);
            return;
        }
        switch (kind) {
        case Kind::Color: {
            qint32 color;
            switch (rng.bounded(4)) {
            case 0: color = qint32(rng.generate()); break; // a dialog handing back nonsense
            default: color = qint32(rng.bounded(0x1000000));
            }
            log << QStringLiteral("  (color %1)").arg(color);
            d.answerColor(color);
            break;
        }
        case Kind::Font: {
            static const QStringList names = {QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Sans"),
                                              QString(), QStringLiteral("No Such Face \u4e2d"),
                                              QStringLiteral("Times New Roman")};
            static const float sizes[] = {8.0F, 14.0F, 14.5F, 72.0F,
                                          0.0F, -3.0F, 1e9F,  std::numeric_limits<float>::quiet_NaN()};
            ScriptedDesktop::FontChoice font;
            font.name = names.at(rng.bounded(names.size()));
            font.size = sizes[rng.bounded(8)];
            font.bold = rng.bounded(2) == 1;
            font.italic = rng.bounded(2) == 1;
            font.underline = rng.bounded(2) == 1;
            font.strikethru = rng.bounded(2) == 1;
            log << QStringLiteral("  (font '%1' %2)").arg(font.name).arg(font.size);
            d.answerFont(font);
            break;
        }
        case Kind::Open: {
            const bool good = rng.bounded(3) != 0;
            const QString path =
                good ? goodImages.at(rng.bounded(goodImages.size())) : badImages.at(rng.bounded(badImages.size()));
            log << QStringLiteral("  (open '%1')").arg(path);
            d.answerOpen(path);
            break;
        }
        case Kind::Save: {
            const QString path = rng.bounded(10) == 0 ? QString() : randomSavePath(about);
            log << QStringLiteral("  (save as '%1')").arg(path);
            d.script(Kind::Save, [this, path](platform::CommonDialog &dialog) {
                // The real dialog adds the default extension to a name without one.
                dialog.FileName = platform::withDefaultExtension(path, dialog.DefaultExt);
                lastSavePath = dialog.FileName;
                return true;
            });
            break;
        }
        }
    }

    QWidget *openSecondaryWindow() const
    {
        for (QWidget *top : QApplication::topLevelWidgets())
            if (top != win() && top->isVisible())
                return top;
        return nullptr;
    }

    QList<QAbstractButton *> clickableButtons(QWidget *root) const
    {
        QList<QAbstractButton *> out;
        for (QAbstractButton *b : root->findChildren<QAbstractButton *>())
            if (b->isVisible() && b->isEnabled() && b->window() == root)
                out << b;
        return out;
    }

    void click(QWidget *target, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(target, button, {}, QPoint(qMin(4, target->width() / 2), qMin(4, target->height() / 2)));
    }

    // Presses a button; a dialog it opens is answered first, and what it may
    // write is noted.
    void press(QAbstractButton *b)
    {
        const QString name = b->objectName();
        log << QStringLiteral("press %1").arg(name.isEmpty() ? b->text() : name);
        if (name == QLatin1String("cmdexit")) {
            exitAndRestart(true);
            return;
        }
        bool opens = false;
        const Kind kind = dialogOf(name, &opens);
        if (name == QLatin1String("cmdtag")) {
            pressTag(b);
            return;
        }
        if (!opens) {
            click(b);
            return;
        }
        answer(kind, name == QLatin1String("cmdready") ? QStringLiteral("htm") : QString());
        if (name == QLatin1String("cmdsave"))
            pressSaveImage(b);
        else if (name == QLatin1String("cmdready"))
            pressReady(b);
        else
            click(b);
        drainUnusedAnswer(kind);
    }

    // A button whose dialog is not built yet leaves its answer unused.
    void drainUnusedAnswer(Kind kind)
    {
        if (w.env.desktop.pendingAnswers() == 0)
            return;
        log << QStringLiteral("  (no dialog opened)");
        platform::CommonDialog unused(QStringLiteral("unused"), nullptr);
        switch (kind) {
        case Kind::Color: w.env.desktop.showColor(nullptr, unused); break;
        case Kind::Font: w.env.desktop.showFont(nullptr, unused); break;
        case Kind::Open: w.env.desktop.showOpen(nullptr, unused); break;
        case Kind::Save: w.env.desktop.showSave(nullptr, unused); break;
        }
    }

    // A named file either holds the exact copy, or a message said why not.
    void pressSaveImage(QAbstractButton *b)
    {
        const QString source = w->HIDDENlblfilename->text();
        const QByteArray sourceBytes = readFile(source);
        const bool sourceThere = QFileInfo(source).isFile();
        const qsizetype messages = w.env.desktop.messages.size();
        const qsizetype promptsBefore = w.env.desktop.prompts.size();
        click(b);
        if (w.env.desktop.prompts.size() == promptsBefore)
            return;
        const QString target = w->CommonDialog2->FileName;
        const bool answered =
            w.env.desktop.prompts.constLast().kind == Kind::Save && !log.constLast().endsWith("(cancelled)");
        if (!answered || target.isEmpty())
            return;
        const bool reported = w.env.desktop.messages.size() > messages;
        if (QFileInfo(target).canonicalFilePath() == QFileInfo(source).canonicalFilePath() && sourceThere)
            return; // onto itself: nothing to do, nothing changes
        if (reported)
            return; // nothing may have changed: the snapshot shows it
        if (!sourceThere)
            failures << QStringLiteral("saving a copy of a missing image '%1' reported no failure").arg(source);
        allowed[target] = sourceBytes;
        ++picturesSaved;
    }

    QString pageFolderImage;

    // The tag window opens on the tag of the five hex boxes and the image name.
    void pressTag(QAbstractButton *b)
    {
        QStringList hexes;
        for (const char *box : {"txtHEXback", "txtHEXtext", "txtnewlink", "txtvisitedlink", "txtactivelink"})
            hexes << control<QLineEdit>(win(), box)->text();
        const QString expected = expectedTag(hexes, w->HIDDENlbltaginfo->text());
        click(b);
        const QPlainTextEdit *tag = nullptr;
        for (const auto *t : win()->findChildren<QPlainTextEdit *>(QStringLiteral("txtTag")))
            if (t->isVisible())
                tag = t;
        if (tag == nullptr)
            failures << QStringLiteral("the tag window did not open");
        else if (tag->toPlainText() != expected)
            failures << QStringLiteral("the tag window shows '%1', expected '%2'").arg(tag->toPlainText(), expected);
    }

    void pressReady(QAbstractButton *b)
    {
        QWidget *info = b->window();
        const qsizetype messages = w.env.desktop.messages.size();
        const qsizetype promptsBefore = w.env.desktop.prompts.size();
        const QString source = w->HIDDENlblfilename->text();
        const QString imageName = w->HIDDENlbltaginfo->text();
        const QByteArray sourceBytes = readFile(source);
        const bool sourceThere = QFileInfo(source).isFile();
        // The page must hold exactly what the window shows at the click.
        const auto *name = info->findChild<QLineEdit *>(QStringLiteral("txtNAME"));
        const auto *title = info->findChild<QLineEdit *>(QStringLiteral("txtTITLE"));
        const auto *tag = win()->findChild<QPlainTextEdit *>(QStringLiteral("txtTag"));
        if (name == nullptr || title == nullptr || tag == nullptr) {
            failures << QStringLiteral("the page windows lack their boxes");
            return;
        }
        const QByteArray page = expectedPage(name->text(), title->text(), tag->toPlainText());
        QPointer<QWidget> alive(info);
        click(b);
        if (w.env.desktop.prompts.size() == promptsBefore)
            return;
        if (log.constLast().endsWith("(cancelled)"))
            return;
        const bool closed = alive.isNull() || !alive->isVisible();
        if (!closed)
            return; // the write failed: a message said so and nothing changed
        if (w.env.desktop.messages.size() == messages)
            failures << QStringLiteral("the page generator closed without a word");
        // The page is in place; its content is checked against the page text.
        const QString target = lastSavePath;
        allowed[target] = page;
        ++pagesWritten;
        if (!imageName.isEmpty()) {
            const QString copy = QFileInfo(target).absolutePath() + QLatin1Char('/') + imageName;
            if (QFileInfo(copy).canonicalFilePath() == QFileInfo(target).canonicalFilePath())
                return; // the page took the picture's place
            if (QFileInfo(copy).canonicalFilePath() == QFileInfo(source).canonicalFilePath())
                return; // the picture is already there
            const bool copyReported = !w.env.desktop.messages.isEmpty()
                                      && w.env.desktop.messages.constLast().icon != platform::MessageIcon::Information;
            if (!copyReported) {
                if (!sourceThere)
                    failures << QStringLiteral("copying a missing image beside the page reported no failure");
                allowed[copy] = sourceBytes;
                ++picturesCopiedBeside;
            }
        }
    }

    QString lastSavePath;
    QStringList failures;

    void exitAndRestart(bool viaButton)
    {
        if (viaButton)
            click(w->cmdexit);
        else
            w.window->close();
        if (w.window->isVisible()) {
            failures << QStringLiteral("the window stayed open after Exit");
            return;
        }
        if (!closeAll())
            failures << QStringLiteral("a window stayed open after the main window closed");
        w.window.reset();
        testsupport::processDeletes();
        start();
    }

    void popupAction(QWidget *popup)
    {
        if (rng.bounded(3) == 0) {
            log << QStringLiteral("Esc in menu %1").arg(popup->objectName());
            QTest::keyClick(popup, Qt::Key_Escape);
            return;
        }
        const int downs = int(rng.bounded(1, 6));
        log << QStringLiteral("choose entry %1 of menu %2").arg(downs).arg(popup->objectName());
        for (int i = 0; i < downs; ++i)
            QTest::keyClick(popup, Qt::Key_Down);
        QTest::keyClick(popup, Qt::Key_Return);
    }

    void dialogAction(QWidget *dialog)
    {
        const QString name = dialog->objectName();
        const auto edits = dialog->findChildren<QLineEdit *>();
        const auto plain = dialog->findChildren<QPlainTextEdit *>();
        switch (rng.bounded(6)) {
        case 0:
            if (!edits.isEmpty()) {
                QLineEdit *e = edits.at(rng.bounded(edits.size()));
                QString text = randomText(30);
                if (rng.bounded(2) == 0) {
                    log << QStringLiteral("%1: paste '%2' into %3").arg(name, text, e->objectName());
                    testsupport::pasteInto(e, text);
                    return;
                }
                // Keys that type: no control characters (Return would press the default button).
                text.removeIf([](QChar ch) { return ch.unicode() < 0x20; });
                log << QStringLiteral("%1: type '%2' into %3").arg(name, text, e->objectName());
                testsupport::typeText(e, text);
                return;
            }
            break;
        case 1:
            if (!plain.isEmpty()) {
                QPlainTextEdit *e = plain.first();
                const QString text = randomText(10);
                log << QStringLiteral("%1: type '%2' into %3").arg(name, text, e->objectName());
                e->setFocus();
                e->moveCursor(rng.bounded(2) ? QTextCursor::End : QTextCursor::Start);
                e->insertPlainText(text);
                return;
            }
            break;
        case 2:
            log << QStringLiteral("%1: Esc").arg(name);
            QTest::keyClick(dialog, Qt::Key_Escape);
            return;
        case 3:
            if (rng.bounded(4) == 0) {
                log << QStringLiteral("%1: close from the title bar").arg(name);
                dialog->close();
                return;
            }
            break;
        case 4: {
            const auto sliders = dialog->findChildren<QAbstractSlider *>();
            if (sliders.isEmpty())
                break;
            QAbstractSlider *slider = sliders.at(rng.bounded(sliders.size()));
            static const Qt::Key keys[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_End};
            const Qt::Key key = keys[rng.bounded(5)];
            log << QStringLiteral("%1: key %2 on %3").arg(name).arg(int(key)).arg(slider->objectName());
            QApplication::setActiveWindow(dialog);
            slider->setFocus();
            QTest::keyClick(slider, key);
            return;
        }
        default: break;
        }
        const auto buttons = clickableButtons(dialog);
        if (buttons.isEmpty()) {
            log << QStringLiteral("%1: Esc (no button)").arg(name);
            QTest::keyClick(dialog, Qt::Key_Escape);
            return;
        }
        press(buttons.at(rng.bounded(buttons.size())));
    }

    void mainAction()
    {
        static const char *const boxes[] = {"txtred", "txtgreen", "txtblue"};
        static const char *const sliders[] = {"VScrollRed", "VScrollGreen", "VScrollBlue"};
        static const char *const previews[] = {"lblpic", "lblpicNewlink", "lblpicVisitedlink", "lblpicActivelink",
                                               "picboxMAIN"};
        // The user's click or key gives the window the keyboard.
        QApplication::setActiveWindow(win());
        const int c = int(rng.bounded(3));
        switch (rng.bounded(17)) {
        case 0: {
            const QString digits = QString::number(rng.bounded(400));
            log << QStringLiteral("type %1 into %2").arg(digits, boxes[c]);
            testsupport::typeInto(control<QLineEdit>(win(), boxes[c]), digits);
            break;
        }
        case 1: {
            const QString text = randomValueText();
            log << QStringLiteral("paste '%1' into %2").arg(text, boxes[c]);
            testsupport::pasteInto(control<QLineEdit>(win(), boxes[c]), text);
            break;
        }
        case 2: {
            static const Qt::Key keys[] = {Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_5,
                                           Qt::Key_A,         Qt::Key_Home,   Qt::Key_End};
            const Qt::Key key = keys[rng.bounded(6)];
            log << QStringLiteral("key %1 in %2").arg(int(key)).arg(boxes[c]);
            auto *box = control<QLineEdit>(win(), boxes[c]);
            box->setFocus();
            QTest::keyClick(box, key);
            break;
        }
        case 3: {
            static const Qt::Key keys[] = {Qt::Key_Up,       Qt::Key_Down, Qt::Key_PageUp,
                                           Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End};
            const Qt::Key key = keys[rng.bounded(6)];
            log << QStringLiteral("key %1 on %2").arg(int(key)).arg(sliders[c]);
            auto *s = control<QScrollBar>(win(), sliders[c]);
            s->setFocus();
            QTest::keyClick(s, key);
            break;
        }
        case 4: {
            const bool down = rng.bounded(2) == 1, shift = rng.bounded(2) == 1;
            log << QStringLiteral("all %1%2").arg(down ? "down" : "up", shift ? " with Shift" : "");
            QPushButton *b = down ? w->cmdALLdown : w->cmdALLup;
            b->setFocus();
            if (shift)
                QTest::keyPress(b, Qt::Key_Shift);
            click(b);
            if (shift)
                QTest::keyRelease(b, Qt::Key_Shift);
            break;
        }
        case 5: {
            const char *name = previews[rng.bounded(5)];
            log << QStringLiteral("click %1").arg(name);
            QWidget *target = control<QWidget>(win(), name);
            if (qstrcmp(name, "picboxMAIN") == 0)
                QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(5, 90));
            else
                click(target);
            break;
        }
        case 6: {
            const QString text = randomText(60);
            log << QStringLiteral("paste '%1' into txtBOX, then leave it").arg(text);
            testsupport::pasteInto(w->txtBOX, text);
            w->VScrollRed->setFocus();
            break;
        }
        case 7: {
            static const char *const withMenus[] = {"cmdCOPYTEXT",        "cmdCOPYBACK",       "cmdCOPYnewlink",
                                                    "cmdCOPYvisitedlink", "cmdCOPYactivelink", "picboxMAIN"};
            const char *name = withMenus[rng.bounded(6)];
            log << QStringLiteral("right-click %1").arg(name);
            QWidget *target = control<QWidget>(win(), name);
            QTest::mouseClick(target, Qt::RightButton, {}, QPoint(5, 5));
            // The context menu opens on the press in some styles, on the release in others.
            if (QApplication::activePopupWidget() == nullptr && target->contextMenuPolicy() == Qt::CustomContextMenu)
                emit target->customContextMenuRequested(QPoint(5, 5));
            break;
        }
        case 16:
            log << QStringLiteral("Ctrl+J in the main window");
            QTest::keyClick(win(), Qt::Key_J, Qt::ControlModifier);
            break;
        case 15:
            log << QStringLiteral("Esc in the main window");
            answer(Kind::Color, {});
            QTest::keyClick(win(), Qt::Key_Escape);
            drainUnusedAnswer(Kind::Color);
            break;
        case 8:
            if (rng.bounded(20) == 0) {
                log << QStringLiteral("close the main window from the title bar, start again");
                exitAndRestart(false);
                break;
            }
            [[fallthrough]];
        case 9: {
            const QString source = w->HIDDENlblfilename->text();
            if (!source.isEmpty() && QFileInfo(source).isFile() && rng.bounded(4) == 0) {
                // Someone removes or spoils the loaded picture behind the program's back.
                const bool remove = rng.bounded(2) == 0;
                log << QStringLiteral("%1 the loaded image '%2' outside the program")
                           .arg(remove ? "delete" : "spoil", source);
                allowed[source] = std::nullopt;
                if (remove)
                    QFile::remove(source);
                else
                    prepareFile(source, "spoilt");
                restoreLater << source;
                break;
            }
            [[fallthrough]];
        }
        default: {
            const auto buttons = clickableButtons(win());
            press(buttons.at(rng.bounded(buttons.size())));
            break;
        }
        }
    }

public:
    QStringList restoreLater;

private:
    QString brokenColorModel() const { return testsupport::brokenColorModel(*w.window); }

    QString brokenFiles()
    {
        if (!failures.isEmpty())
            return failures.takeFirst();
        const Snapshot after = snapshot(sandbox);
        std::set<QString> paths;
        for (const auto &[p, s] : before)
            paths.insert(p);
        for (const auto &[p, s] : after)
            paths.insert(p);
        for (const QString &p : paths) {
            const auto b = before.find(p);
            const auto a = after.find(p);
            const bool same = b != before.end() && a != after.end() && b->second == a->second;
            if (same)
                continue;
            const auto ok = allowed.find(p);
            if (ok == allowed.end())
                return QStringLiteral("'%1' %2 though nobody named it")
                    .arg(p, a == after.end()    ? "vanished"
                            : b == before.end() ? "appeared"
                                                : "changed");
            if (ok->second && readFile(p) != *ok->second)
                return QStringLiteral("'%1' is not the complete copy (%2 bytes, %3 expected)")
                    .arg(p)
                    .arg(readFile(p).size())
                    .arg(ok->second->size());
        }
        return {};
    }

    QString brokenWindows() const
    {
        if (!w.window || !w.window->isVisible())
            return QStringLiteral("the main window is gone");
        QWidget *modal = QApplication::activeModalWidget();
        if (modal != nullptr && !modal->isVisible())
            return QStringLiteral("an invisible modal window %1 blocks the program").arg(modal->objectName());
        int open = 0;
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (top == win() || !top->isVisible())
                continue;
            ++open;
            // A menu closes with Esc, a dialog with Esc and its title bar's close button.
            const bool closable = qobject_cast<QMenu *>(top) != nullptr || qobject_cast<QDialog *>(top) != nullptr;
            if (!closable)
                return QStringLiteral("window %1 (%2) cannot be closed")
                    .arg(top->objectName(), QLatin1String(top->metaObject()->className()));
            if (top->parentWidget() == nullptr && !qobject_cast<QMenu *>(top))
                return QStringLiteral("window %1 has no owner").arg(top->objectName());
        }
        if (open > 2)
            return QStringLiteral("%1 windows open at once").arg(open);
        return {};
    }
};

} // namespace

class TestWholeWindow : public QObject {
    Q_OBJECT
private slots:
    void randomRun()
    {
        const quint32 seed = qEnvironmentVariableIsSet("DUDOVUVOV_SEED")
                                 ? quint32(qEnvironmentVariableIntValue("DUDOVUVOV_SEED"))
                                 : QRandomGenerator::global()->generate();
        const int count = qEnvironmentVariableIsSet("DUDOVUVOV_WINDOW_ACTIONS")
                              ? qEnvironmentVariableIntValue("DUDOVUVOV_WINDOW_ACTIONS")
                              : 2000;
        Run run(seed);
        for (int i = 0; i < count; ++i) {
            run.step();
            const QString broken = run.broken();
            if (!broken.isEmpty()) {
                const QStringList tail = run.log.mid(qMax(qsizetype(0), run.log.size() - 60));
                QFAIL(qPrintable(QStringLiteral("%1\nafter action %2 of seed %3 (rerun: DUDOVUVOV_SEED=%3 "
                                                "DUDOVUVOV_WINDOW_ACTIONS=%4); the last actions:\n%5")
                                     .arg(broken)
                                     .arg(i)
                                     .arg(seed)
                                     .arg(i + 1)
                                     .arg(tail.join(QLatin1Char('\n')))));
            }
        }
        QVERIFY2(run.closeAll(), "a window could not be closed at the end");
        qInfo("random run: %d actions, seed %u; %d pages written, %d pictures copied beside them, %d pictures "
              "saved, %d failures reported",
              run.actions, run.seed(), run.pagesWritten, run.picturesCopiedBeside, run.picturesSaved,
              run.failuresReported);
    }
};

QTEST_MAIN(TestWholeWindow)
#include "tst_wholewindow.moc"

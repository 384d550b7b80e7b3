#include "filefaults.h"
#include "output/bodytag.h"
#include "output/htmltext.h"
#include "output/pagetext.h"
#include "platform/files.h"
#include "testsupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <sys/stat.h>

using testsupport::readFile;
using testsupport::writeFile;

namespace {

// The tag of `colors` with `image` as its background image's name.
QString bodyTagWith(PageColors colors, const QString &image)
{
    colors.imageName = image;
    return bodyTag(colors);
}

const PageColors defaults{.back = QStringLiteral("#DCDCDC"),
                          .text = QStringLiteral("#0A0A0A"),
                          .newLink = QStringLiteral("#0000EE"),
                          .visitedLink = QStringLiteral("#551A8B"),
                          .activeLink = QStringLiteral("#EE0000")};

} // namespace

class TestOutputText : public QObject {
    Q_OBJECT
private slots:
    void bodyTagWithTheDefaultColors()
    {
        QCOMPARE(bodyTagWith(defaults, {}),
                 QStringLiteral("<BODY BGCOLOR=\"#DCDCDC\" TEXT=\"#0A0A0A\" LINK=\"#0000EE\" VLINK=\"#551A8B\" "
                                "ALINK=\"#EE0000\" BACKGROUND=\"\">"));
    }

    void bodyTagKeepsOrderAndValues()
    {
        // Equal colors still give five attributes; values go in unchanged.
        const PageColors same{.back = QStringLiteral("#123456"),
                              .text = QStringLiteral("#123456"),
                              .newLink = QStringLiteral("#abcdef"),
                              .visitedLink = QStringLiteral(""),
                              .activeLink = QStringLiteral(" x ")};
        QCOMPARE(bodyTagWith(same, QStringLiteral("stone.gif")),
                 QStringLiteral("<BODY BGCOLOR=\"#123456\" TEXT=\"#123456\" LINK=\"#abcdef\" VLINK=\"\" "
                                "ALINK=\" x \" BACKGROUND=\"stone.gif\">"));
    }

    void bodyTagEscapesTheImageName()
    {
        const QString tag = bodyTagWith(defaults, QStringLiteral("a\"b&c<d>.gif"));
        QVERIFY(tag.endsWith(QStringLiteral(" BACKGROUND=\"a&quot;b&amp;c&lt;d&gt;.gif\">")));
        QCOMPARE(tag.count(QLatin1Char('"')), 12);
        // A file name may hold line breaks; the tag stays one line.
        QVERIFY(bodyTagWith(defaults, QStringLiteral("a\nb\rc\u2028d.gif"))
                    .endsWith(QStringLiteral(" BACKGROUND=\"a&#10;b&#13;c&#8232;d.gif\">")));
    }

    void pageLines()
    {
        const QString tag = bodyTagWith(defaults, QStringLiteral("stone.gif"));
        const QString page = pageText(QStringLiteral("Anna Smith"), QStringLiteral("My Page"), tag);
        QVERIFY(page.endsWith(QStringLiteral("</HTML>\r\n")));
        QVERIFY(!page.endsWith(QStringLiteral("\r\n\r\n")));
        QStringList lines = page.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.takeLast(), QString());
        QCOMPARE(lines.size(), 41);
        for (const QString &line : lines)
            QVERIFY(!line.contains(QLatin1Char('\r')) && !line.contains(QLatin1Char('\n')));
        QCOMPARE(lines[3], QStringLiteral("<META NAME=\"Author\" CONTENT=\"Anna Smith\">"));
        QCOMPARE(lines[5], QStringLiteral("<TITLE>My Page</TITLE>"));
        QCOMPARE(lines[7], tag);
        QCOMPARE(lines[10], QStringLiteral("<H1>My Page</H1>"));
        QCOMPARE(lines[12], QStringLiteral("Add your text and images...<BR>"));
        for (int i = 13; i <= 35; ++i)
            QCOMPARE(lines[i], QStringLiteral("<BR>"));
        QCOMPARE(lines[36], QStringLiteral("<A HREF=\"http://www.zudedidu.example/\">Zudedidu freeware</A>"));
        QCOMPARE(lines[40], QStringLiteral("</HTML>"));
    }

    void pageTitleAndName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("authorLine");
        QTest::addColumn<QString>("titleLine");
        QTest::addColumn<QString>("h1Line");
        QTest::newRow("empty title") << "Anna"
                                     << ""
                                     << "<META NAME=\"Author\" CONTENT=\"Anna\">"
                                     << "<TITLE>Untitled</TITLE>"
                                     << "<H1>Untitled</H1>";
        QTest::newRow("title of blanks") << ""
                                         << "   "
                                         << "<META NAME=\"Author\" CONTENT=\"\">"
                                         << "<TITLE>   </TITLE>"
                                         << "<H1>   </H1>";
        QTest::newRow("quote and ampersand") << "Tom \"TJ\" & Co"
                                             << "<b>Fish & Chips</b>"
                                             << "<META NAME=\"Author\" CONTENT=\"Tom &quot;TJ&quot; &amp; Co\">"
                                             << "<TITLE>&lt;b&gt;Fish &amp; Chips&lt;/b&gt;</TITLE>"
                                             << "<H1>&lt;b&gt;Fish &amp; Chips&lt;/b&gt;</H1>";
        // Pasted line breaks stay inside their line, as references.
        QTest::newRow("line breaks") << "Anna\r\nSmith"
                                     << "My\nPage\r"
                                     << "<META NAME=\"Author\" CONTENT=\"Anna&#13;&#10;Smith\">"
                                     << "<TITLE>My&#10;Page&#13;</TITLE>"
                                     << "<H1>My&#10;Page&#13;</H1>";
    }

    void pageTitleAndName()
    {
        QFETCH(QString, name);
        QFETCH(QString, title);
        const QStringList lines = pageText(name, title, QStringLiteral("<BODY>")).split(QStringLiteral("\r\n"));
        QTEST(lines[3], "authorLine");
        QTEST(lines[5], "titleLine");
        QTEST(lines[10], "h1Line");
    }

    void pageTakesTheTagAsItStands()
    {
        const QString edited = QStringLiteral("<BODY BGCOLOR=\"red\" data-x=\"a&b\">");
        QCOMPARE(pageText({}, {}, edited).split(QStringLiteral("\r\n"))[7], edited);
        // Except that every kind of line break in it ends a CR LF line.
        const QString broken = QStringLiteral("<BODY\r\na\rb\nc\u2028d\u2029e>");
        const QString page = pageText({}, {}, broken);
        QCOMPARE(page.count(QStringLiteral("\r\n")), 41 + 5);
        QCOMPARE(page.count(QLatin1Char('\r')), 41 + 5);
        QCOMPARE(page.count(QLatin1Char('\n')), 41 + 5);
        QCOMPARE(page.split(QStringLiteral("\r\n")).mid(7, 7),
                 (QStringList{"<BODY", "a", "b", "c", "d", "e>", "<CENTER>"}));
    }

    void latin1WithReferences_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ascii") << "<A HREF=\"x\">" << QByteArray("<A HREF=\"x\">");
        QTest::newRow("latin-1") << QStringLiteral("Jos\u00e9 \u00ff") << QByteArray("Jos\xe9 \xff");
        QTest::newRow("polish") << QStringLiteral("\u0141ukasz") << QByteArray("&#321;ukasz");
        QTest::newRow("japanese") << QStringLiteral("\u65e5\u672c") << QByteArray("&#26085;&#26412;");
        QTest::newRow("beyond the BMP") << QString::fromUtf8("a\xf0\x9f\x98\x80z") << QByteArray("a&#128512;z");
        QTest::newRow("euro sign") << QStringLiteral("\u20ac5") << QByteArray("&#8364;5");
    }

    void latin1WithReferences()
    {
        QFETCH(QString, text);
        QTEST(::latin1WithReferences(text), "bytes");
    }

    void writeReplacesAWholeFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("page.htm"));
        QVERIFY(writeFile(path, QByteArray(5000, 'o')));
        QString reason;
        QVERIFY(writeFileAtomically(path, "new\r\n", reason));
        QCOMPARE(readFile(path), QByteArray("new\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("page.htm")});
    }

    void failedWritesLeaveTheOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("page.htm"));
        const QByteArray old(3000, 'o');
        QVERIFY(writeFile(path, old));
        QString reason;
        {
            // Fails part-way: the first 1000 bytes would fit.
            filefaults::FileSizeLimit limit(1000);
            if (!limit.active())
                QSKIP("no file size limit on this platform");
            QVERIFY(!writeFileAtomically(path, QByteArray(2000, 'n'), reason));
        }
        QVERIFY(!reason.isEmpty());
        QCOMPARE(readFile(path), old);
        {
            filefaults::ReadOnlyFolder readOnly(dir.path());
            if (!readOnly.active())
                QSKIP("this process can write into any folder");
            // Neither the folder nor the file takes the page.
            QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner));
            reason.clear();
            QVERIFY(!writeFileAtomically(path, "new", reason));
            QVERIFY(!reason.isEmpty());
            QCOMPARE(readFile(path), old);
            // The file does: it is written in place.
            QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
            QVERIFY2(writeFileAtomically(path, "new", reason), qPrintable(reason));
        }
        QCOMPARE(readFile(path), QByteArray("new"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("page.htm")});
        reason.clear();
        QVERIFY(!writeFileAtomically(dir.filePath(QStringLiteral("missing/page.htm")), "new", reason));
        QVERIFY(!reason.isEmpty());
    }

    void copyIsByteIdentical()
    {
        QTemporaryDir dir;
        QByteArray image;
        for (int i = 0; i < 200000; ++i)
            image.append(static_cast<char>(i * 7));
        const QString source = dir.filePath(QStringLiteral("stone.gif"));
        QVERIFY(writeFile(source, image));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("web")));
        const QString destination = dir.filePath(QStringLiteral("web/stone.gif"));
        QVERIFY(writeFile(destination, "an older, different image"));
        QString reason;
        QVERIFY(copyFileReplacing(source, destination, LinkAtDestination::WriteThrough, reason) == CopyResult::Done);
        QCOMPARE(readFile(destination), image);
        QCOMPARE(readFile(source), image);
    }

    void copyOntoItselfIsNoFailure()
    {
        QTemporaryDir dir;
        const QString source = dir.filePath(QStringLiteral("stone.gif"));
        QVERIFY(writeFile(source, "GIF89a"));
        QString reason;
        QVERIFY(
            copyFileReplacing(source, dir.path() + QStringLiteral("/./stone.gif"), LinkAtDestination::Replace, reason)
            == CopyResult::Done);
        QCOMPARE(readFile(source), QByteArray("GIF89a"));
    }

    void copyThatFailsPartWayLeavesTheOldFile()
    {
        QTemporaryDir dir;
        const QString source = dir.filePath(QStringLiteral("stone.gif"));
        const QString destination = dir.filePath(QStringLiteral("old.gif"));
        QVERIFY(writeFile(source, QByteArray(300000, 's')));
        QVERIFY(writeFile(destination, "old"));
        QString reason;
        {
            filefaults::FileSizeLimit limit(100000);
            if (!limit.active())
                QSKIP("no file size limit on this platform");
            QVERIFY(copyFileReplacing(source, destination, LinkAtDestination::WriteThrough, reason)
                    == CopyResult::DestinationFailed);
        }
        // The system's reason, though the write stopped part-way without one.
        QCOMPARE(reason, qt_error_string(EFBIG));
        QCOMPARE(readFile(destination), QByteArray("old"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    }

    // Each failure blames its end: a source that is gone or no regular file
    // (refused without waiting for a writer), a destination that cannot be made.
    void copyFailures_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("destination");
        QTest::addColumn<CopyResult>("expected");
        QTest::addColumn<QString>("why");
        QTest::newRow("source gone") << "gone.gif"
                                     << "b.gif" << CopyResult::SourceFailed << qt_error_string(ENOENT);
        QTest::newRow("source a folder") << "folder"
                                         << "b.gif" << CopyResult::SourceFailed << qt_error_string(EISDIR);
        QTest::newRow("source a FIFO") << "fifo"
                                       << "b.gif" << CopyResult::SourceFailed << "Not a regular file";
        QTest::newRow("destination folder missing")
            << "stone.gif"
            << "missing/stone.gif" << CopyResult::DestinationFailed << QString();
    }
    void copyFailures()
    {
        QFETCH(QString, source);
        QFETCH(QString, destination);
        QFETCH(CopyResult, expected);
        QFETCH(QString, why);
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath(QStringLiteral("stone.gif")), "GIF89a"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("fifo"))).constData(), 0600), 0);
        QString reason;
        QVERIFY(copyFileReplacing(dir.filePath(source), dir.filePath(destination), LinkAtDestination::Replace, reason)
                == expected);
        QVERIFY(!reason.isEmpty());
        if (!why.isEmpty())
            QCOMPARE(reason, why);
        QVERIFY(!QFile::exists(dir.filePath(destination)) || destination == source);
    }

    void messages()
    {
        QCOMPARE(pageDoneText(), QStringLiteral("All done!\r\nYour webpage has been successfully generated!"));
        const QString failed = pageWriteFailedText(QStringLiteral("/web/%1.htm"), QStringLiteral("Disk full"));
        QVERIFY(failed.contains(QStringLiteral("/web/%1.htm")));
        QVERIFY(failed.contains(QStringLiteral("Disk full")));
        const QString copy = imageCopyFailedText(QStringLiteral("/web/stone.gif"), QStringLiteral("No such file"));
        QVERIFY(copy.startsWith(QStringLiteral("The page was written, but the image could not be copied to "
                                               "/web/stone.gif")));
        QVERIFY(copy.contains(QStringLiteral("No such file")));
    }
};

QTEST_GUILESS_MAIN(TestOutputText)
#include "tst_outputtext.moc"

#include "platform/filefilter.h"
#include "platform/pathparts.h"
#include "platform/qtdesktop.h"
#include "testsupport.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QTimer>

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    void nameFilters()
    {
        QCOMPARE(platform::qtNameFilters(QStringLiteral("All Files (*.*)|*.*|")),
                 QStringList{QStringLiteral("All Files (*.*) (*)")});
        QCOMPARE(platform::qtNameFilters(QStringLiteral("*.htm *.html")), QStringList{QStringLiteral("*.htm *.html")});
        QCOMPARE(platform::qtNameFilters(QStringLiteral("Pictures|*.gif;*.jpg|Text|*.txt")),
                 (QStringList{QStringLiteral("Pictures (*.gif *.jpg)"), QStringLiteral("Text (*.txt)")}));
        QVERIFY(platform::qtNameFilters(QString()).isEmpty());
    }

    void defaultExtension()
    {
        QCOMPARE(platform::withDefaultExtension(QStringLiteral("/tmp/page"), QStringLiteral("htm")),
                 QStringLiteral("/tmp/page.htm"));
        QCOMPARE(platform::withDefaultExtension(QStringLiteral("/tmp/page.html"), QStringLiteral("htm")),
                 QStringLiteral("/tmp/page.html"));
        QCOMPARE(platform::withDefaultExtension(QStringLiteral("/tmp/my.dir/page"), QStringLiteral("htm")),
                 QStringLiteral("/tmp/my.dir/page.htm"));
        QCOMPARE(platform::withDefaultExtension(QStringLiteral("/tmp/page"), QString()), QStringLiteral("/tmp/page"));
    }

    void fileNameIsTheTextAfterTheLastSeparator_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QChar>("separator");
        QTest::addColumn<QString>("name");
        const QChar back(u'\\'), slash(u'/');
        QTest::newRow("nested, backslash") << "C:\\pics\\old\\tile.gif" << back << "tile.gif";
        QTest::newRow("nested, slash") << "/home/u/pics/old/tile.gif" << slash << "tile.gif";
        QTest::newRow("no separator") << "tile.gif" << back << "tile.gif";
        QTest::newRow("other separator only") << "/home/u/tile.gif" << back << "/home/u/tile.gif";
        QTest::newRow("ends in separator") << "C:\\pics\\" << back << "";
        QTest::newRow("only a separator") << "/" << slash << "";
        QTest::newRow("empty") << "" << slash << "";
        QTest::newRow("blank name kept") << "/pics/ a b.png" << slash << " a b.png";
    }
    void fileNameIsTheTextAfterTheLastSeparator()
    {
        QFETCH(QString, path);
        QFETCH(QChar, separator);
        QFETCH(QString, name);
        QCOMPARE(GetFileName(path, separator), name);
    }

    void replaceFileName_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QChar>("separator");
        QTest::addColumn<QString>("folder");
        const QChar back = QLatin1Char('\\'), slash = QLatin1Char('/');
        QTest::newRow("windows") << "C:\\web\\index.htm" << back << "C:\\web\\";
        QTest::newRow("unix") << "/home/anna/web/index.htm" << slash << "/home/anna/web/";
        QTest::newRow("root") << "/index.htm" << slash << "/";
        QTest::newRow("folder only") << "C:\\web\\" << back << "C:\\web\\";
        QTest::newRow("no separator") << "index.htm" << back << "index.htm";
        QTest::newRow("empty") << "" << slash << "";
        QTest::newRow("only the given separator counts") << "/srv/a\\b.htm" << slash << "/srv/";
        QTest::newRow("backslash given") << "/srv/a\\b.htm" << back << "/srv/a\\";
    }

    void replaceFileName()
    {
        QFETCH(QString, path);
        QFETCH(QChar, separator);
        QTEST(ReplaceFileName(path, separator), "folder");
        // Folder and name split the path between them.
        if (path.contains(separator))
            QCOMPARE(ReplaceFileName(path, separator) + GetFileName(path, separator), path);
    }

    void missingFolderRefusal()
    {
        QTemporaryDir dir;
        QVERIFY(platform::missingFolderRefusal(dir.filePath(QStringLiteral("page.htm"))).isEmpty());
        QVERIFY(platform::missingFolderRefusal(dir.path()).isEmpty());
        const QString refusal = platform::missingFolderRefusal(dir.filePath(QStringLiteral("gone/page.htm")));
        QVERIFY2(refusal.startsWith(QDir::toNativeSeparators(dir.filePath(QStringLiteral("gone"))) + QLatin1Char('\n'))
                     && refusal.contains(QStringLiteral("does not exist")),
                 qPrintable(refusal));
    }

    // The real save dialog, driven as a user does: a name in a folder that
    // does not exist is refused with a message and the dialog stays open; a
    // name in an existing folder is taken.
    void saveDialogRefusesAMissingFolder()
    {
        QTemporaryDir dir;
        platform::QtDesktop desktop;
        platform::CommonDialog dialog(QStringLiteral("CommonDialog1"), nullptr);
        dialog.DialogTitle = QStringLiteral("Save your Webpage as:");
        dialog.FileName = QStringLiteral("Dudovuvov.htm");
        dialog.DefaultExt = QStringLiteral("htm");
        dialog.Filter = QStringLiteral("*.htm *.html");
        dialog.Flags = platform::CommonDialog::cdlOFNOverwritePrompt | platform::CommonDialog::cdlOFNPathMustExist;

        QStringList refusals;
        bool openAfterRefusal = false;
        QTimer user;
        user.setSingleShot(true);
        connect(&user, &QTimer::timeout, this, [&] {
            QPointer<QFileDialog> box = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (box.isNull())
                return;
            auto *name = box->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            if (name == nullptr) {
                box->reject();
                return;
            }
            // The refusal is read and dismissed as soon as it shows.
            QTimer::singleShot(0, this, [&refusals] {
                if (auto *m = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                    refusals << m->text();
                    m->accept();
                }
            });
            name->setText(QStringLiteral("/no/such/folder/p.htm"));
            QTest::keyClick(name, Qt::Key_Return);
            if (box.isNull() || !box->isVisible())
                return;
            openAfterRefusal = true;
            name->setText(dir.filePath(QStringLiteral("p")));
            QTest::keyClick(name, Qt::Key_Return);
            if (!box.isNull() && box->isVisible())
                box->reject();
        });
        user.start(0);
        const bool chosen = desktop.showSave(nullptr, dialog);

        QVERIFY(openAfterRefusal);
        QCOMPARE(refusals.size(), 1);
        QVERIFY2(refusals[0].startsWith(QStringLiteral("/no/such/folder\n")), qPrintable(refusals[0]));
        QVERIFY(chosen);
        QCOMPARE(dialog.FileName, dir.filePath(QStringLiteral("p.htm")));
    }

    void scriptedDialogsAnswerInOrderAndRecord()
    {
        testsupport::Environment env;
        platform::CommonDialog dialog(QStringLiteral("CommonDialog1"), nullptr);
        env.desktop.answerColor(0x123456);
        env.desktop.cancel(platform::ScriptedDesktop::Kind::Color);
        QVERIFY(dialog.ShowColor());
        QCOMPARE(dialog.Color, 0x123456);
        QVERIFY(!dialog.ShowColor());
        QCOMPARE(dialog.Color, 0x123456);
        QCOMPARE(env.desktop.prompts.size(), 2);
        QCOMPARE(env.desktop.prompts[1].color, 0x123456);
        // An unscripted prompt is cancelled and recorded, never waited on.
        QVERIFY(!dialog.ShowOpen());
        QCOMPARE(env.desktop.unscripted, QStringList{QStringLiteral("open dialog CommonDialog1")});
    }

    void instanceLock()
    {
        testsupport::Environment env;
        platform::QtDesktop first;
        QVERIFY(!first.earlierInstanceRunning());
        platform::QtDesktop second;
        QVERIFY(second.earlierInstanceRunning());
    }

    void lockOfAKilledCopyDoesNotBlock()
    {
        testsupport::Environment env;
        QProcess holder;
        holder.start(QStringLiteral(LOCKHOLDER));
        QVERIFY(holder.waitForReadyRead(10000));
        QCOMPARE(holder.readAll().trimmed(), QByteArray("locked"));
        {
            platform::QtDesktop whileAlive;
            QVERIFY(whileAlive.earlierInstanceRunning());
        }
        holder.kill(); // SIGKILL: the lock file stays behind
        QVERIFY(holder.waitForFinished(10000));
        QVERIFY(QFile::exists(platform::instanceLockPath()));
        platform::QtDesktop next;
        QVERIFY(!next.earlierInstanceRunning());
    }

    void unwritableRuntimeFolderStillStarts()
    {
        testsupport::Environment env;
        qputenv("XDG_RUNTIME_DIR", "/nonexistent/run");
        platform::QtDesktop desktop;
        QVERIFY(!desktop.earlierInstanceRunning());
    }
};

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"

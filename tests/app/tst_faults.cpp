// Faults injected through the real file system, through the whole window:
// the page, the image copy beside it and the image save aimed at a read-only
// folder, a folder, a full disk and a missing folder, and a picture removed
// after loading; the settings file unreadable, a folder, cut short, random
// bytes or 10 MB of junk; start-up with a stale lock, without a runtime
// folder and with folders it cannot write. In every case: no crash, a clear
// message where the user asked for something, no existing file damaged, and
// the same action works once the fault is gone.
//
// A full disk is a small tmpfs in a private mount namespace where the test
// may mount one, else a file size limit on the process.
#include "../output/filefaults.h"
#include "app/frmmain.h"
#include "output/frminfo.h"
#include "output/frmtag.h"
#include "output/htmltext.h"
#include "output/pagetext.h"
#include "platform/qtdesktop.h"
#include "testsupport.h"

#include <QApplication>
#include <QDirIterator>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QLockFile>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QScrollBar>
#include <QStandardPaths>

#include <sched.h>
#include <sys/mount.h>

#include <map>

using Kind = platform::ScriptedDesktop::Kind;

namespace {

bool privateMounts = false;

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// Every file and folder below `root` with its content.
std::map<QString, QByteArray> tree(const QString &root)
{
    std::map<QString, QByteArray> out;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        out[path] = QFileInfo(path).isDir() ? QByteArray("<folder>") : readAll(path);
    }
    return out;
}

// A disk with `free` bytes left: a small tmpfs where mounting is allowed,
// else a limit on the size of every file the process writes.
class FullDisk {
public:
    FullDisk(const QString &folder, qint64 free) : m_folder(folder)
    {
        QDir().mkpath(folder);
        if (privateMounts && ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, "size=256k") == 0) {
            m_mounted = true;
            // Fill it to the brim, then give back what should stay free.
            QFile filler(folder + QStringLiteral("/.filler"));
            if (filler.open(QIODevice::WriteOnly)) {
                const QByteArray block(4096, 'f');
                while (filler.write(block) == block.size() && filler.flush()) {
                }
                filler.close();
                filler.resize(qMax<qint64>(0, filler.size() - free));
            }
        } else {
            m_limit = std::make_unique<filefaults::FileSizeLimit>(quint64(free));
        }
    }
    ~FullDisk() { release(); }
    void release()
    {
        m_limit.reset();
        if (m_mounted)
            QFile::remove(m_folder + QStringLiteral("/.filler"));
    }
    void unmount()
    {
        release();
        if (m_mounted)
            ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
        m_mounted = false;
    }
    bool mounted() const { return m_mounted; }
    // What the test left in the folder itself.
    static bool isFiller(const QString &path) { return path.endsWith(QLatin1String("/.filler")); }

private:
    QString m_folder;
    bool m_mounted = false;
    std::unique_ptr<filefaults::FileSizeLimit> m_limit;
};

// While it lives, root too is held to file permissions: the capabilities
// that override them are out of effect.
class NoPermissionOverride {
public:
    NoPermissionOverride()
    {
#ifdef Q_OS_LINUX
        if (geteuid() == 0 && syscall(SYS_capget, &m_header, m_saved) == 0) {
            __user_cap_data_struct reduced[2] = {m_saved[0], m_saved[1]};
            for (const int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH})
                reduced[cap / 32].effective &= ~(1U << (cap % 32));
            m_dropped = syscall(SYS_capset, &m_header, reduced) == 0;
        }
#endif
    }
    ~NoPermissionOverride()
    {
#ifdef Q_OS_LINUX
        if (m_dropped)
            syscall(SYS_capset, &m_header, m_saved);
#endif
    }
    NoPermissionOverride(const NoPermissionOverride &) = delete;
    NoPermissionOverride &operator=(const NoPermissionOverride &) = delete;

private:
#ifdef Q_OS_LINUX
    bool m_dropped = false;
    __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_saved[2]{};
#endif
};

// The scripted desktop for every dialog, but the real single-instance lock.
class RealLockDesktop final : public platform::Desktop {
public:
    explicit RealLockDesktop(platform::ScriptedDesktop &scripted) : m_scripted(scripted) {}
    bool showColor(QWidget *o, platform::CommonDialog &d) override { return m_scripted.showColor(o, d); }
    bool showFont(QWidget *o, platform::CommonDialog &d) override { return m_scripted.showFont(o, d); }
    bool showOpen(QWidget *o, platform::CommonDialog &d) override { return m_scripted.showOpen(o, d); }
    bool showSave(QWidget *o, platform::CommonDialog &d) override { return m_scripted.showSave(o, d); }
    void messageBox(QWidget *o, const QString &t, const QString &c, platform::MessageIcon i) override
    {
        m_scripted.messageBox(o, t, c, i);
    }
    void beep() override { m_scripted.beep(); }
    void setClipboardText(const QString &t) override { m_scripted.setClipboardText(t); }
    QString clipboardText() override { return m_scripted.clipboardText(); }
    void openAddress(const QString &a) override { m_scripted.openAddress(a); }
    bool earlierInstanceRunning() override { return m_real.earlierInstanceRunning(); }

private:
    platform::ScriptedDesktop &m_scripted;
    platform::QtDesktop m_real;
};

QString settingsPath(const testsupport::Environment &env)
{
    return env.configDir() + QStringLiteral("/dudovuvov/settings");
}

// What the window ends up at after the user moves it and starts again.
QPoint moveCloseReopen(testsupport::Environment &env, const QPoint &to)
{
    {
        frmmain window;
        window.show();
        window.move(to);
        window.close();
    }
    frmmain again;
    again.show();
    const QPoint at = again.pos();
    again.close();
    Q_UNUSED(env);
    return at;
}

} // namespace

class TestFaults : public QObject {
    Q_OBJECT

    // One window with a picture loaded from `pictures`.
    struct Setup {
        testsupport::MainWindow w;
        QTemporaryDir pictures, web;
        QString source;
        QByteArray sourceBytes;
        explicit Setup(bool loadPicture)
        {
            QImage image(160, 120, QImage::Format_RGB32);
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    image.setPixel(x, y, qRgb((x * 37) ^ y, (y * 91) ^ x, (x * y) & 255));
            source = pictures.filePath(QStringLiteral("stone.bmp"));
            image.save(source, "BMP"); // large enough not to fit where the page does
            sourceBytes = readAll(source);
            if (loadPicture) {
                w.env.desktop.answerOpen(source);
                QTest::mouseClick(w->cmdload, Qt::LeftButton);
            }
        }
    };

    static frminfo *openInfo(testsupport::MainWindow &w)
    {
        QTest::mouseClick(w->cmdtag, Qt::LeftButton);
        auto *tag = w->findChild<frmtag *>(QStringLiteral("frmtag"));
        if (tag == nullptr)
            return nullptr;
        QTest::mouseClick(tag->cmdCREATEhtml, Qt::LeftButton);
        auto *info = w->findChild<frminfo *>(QStringLiteral("frminfo"));
        if (info != nullptr) {
            info->txtNAME->setText(QStringLiteral("Zo\u00eb & \u0141ukasz"));
            info->txtTITLE->setText(QStringLiteral("<Fault> \u20ac"));
        }
        return info;
    }

    static QByteArray expectedPage(frminfo *info, frmmain &m)
    {
        auto *tag = m.findChild<frmtag *>(QStringLiteral("frmtag"));
        return latin1WithReferences(
            pageText(info->txtNAME->text(), info->txtTITLE->text(), tag->txtTag->toPlainText()));
    }

    // Prepares the fault for `target`; returns false when it cannot be made here.
    struct Fault {
        QString kind;
        std::unique_ptr<filefaults::ReadOnlyFolder> readOnly;
        std::unique_ptr<FullDisk> full;
    };

    static bool inject(Fault &f, const QString &target, qint64 free)
    {
        const QString folder = QFileInfo(target).absolutePath();
        if (f.kind == QLatin1String("read-only folder")) {
            QDir().mkpath(folder);
            f.readOnly = std::make_unique<filefaults::ReadOnlyFolder>(folder);
            return f.readOnly->active();
        }
        if (f.kind == QLatin1String("folder in the way")) {
            QDir().mkpath(target);
            return writeAll(target + QStringLiteral("/inside.txt"), "keep me");
        }
        if (f.kind == QLatin1String("full disk")) {
            f.full = std::make_unique<FullDisk>(folder, free);
            return true;
        }
        return true; // missing folder: nothing to make
    }

    static void remove(Fault &f, const QString &target)
    {
        f.readOnly.reset();
        if (f.full)
            f.full->release();
        if (f.kind == QLatin1String("folder in the way"))
            QDir(target).removeRecursively();
        if (f.kind == QLatin1String("missing folder"))
            QDir().mkpath(QFileInfo(target).absolutePath());
    }

    static QStringList faultKinds()
    {
        return {QStringLiteral("read-only folder"), QStringLiteral("folder in the way"), QStringLiteral("full disk"),
                QStringLiteral("missing folder")};
    }

    // The folder's content, without what the fault itself put there.
    static std::map<QString, QByteArray> contentOf(const QString &root)
    {
        auto t = tree(root);
        std::erase_if(t, [](const auto &entry) { return FullDisk::isFiller(entry.first); });
        return t;
    }

private slots:
    void initTestCase() { qInfo("private mount namespace (tmpfs full disks): %s", privateMounts ? "yes" : "no"); }

    // The page written where it cannot be: a message, the window stays with
    // what was typed, the old page is whole; then the same click writes it.
    void pageWrite_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("existing");
        for (const QString &k : faultKinds())
            for (bool existing : {false, true})
                if (!(existing && (k == QLatin1String("missing folder") || k == QLatin1String("folder in the way"))))
                    QTest::newRow(qPrintable(k + (existing ? QStringLiteral(", old page there") : QString())))
                        << k << existing;
    }
    void pageWrite()
    {
        QFETCH(QString, fault);
        QFETCH(bool, existing);
        Setup s(false);
        const QString folder = s.web.filePath(fault == QLatin1String("missing folder") ? "gone/site" : "site");
        const QString target = folder + QStringLiteral("/index.htm");
        if (fault != QLatin1String("missing folder"))
            QDir().mkpath(folder);
        const QByteArray old = "<HTML>the old page</HTML>\r\n";
        if (existing)
            QVERIFY(writeAll(target, old));
        frminfo *info = openInfo(s.w);
        QVERIFY(info);
        const QByteArray page = expectedPage(info, *s.w.window);
        Fault f{fault, {}, {}};
        if (!inject(f, target, 200))
            QSKIP("this fault cannot be made here");
        const auto before = contentOf(s.web.path());
        s.w.env.desktop.answerSave(target);
        QTest::mouseClick(info->cmdready, Qt::LeftButton);
        QCOMPARE(s.w.env.desktop.messages.size(), 1);
        QVERIFY(s.w.env.desktop.messages[0].icon == platform::MessageIcon::Exclamation);
        QVERIFY(s.w.env.desktop.messages[0].text.contains(QDir::toNativeSeparators(target)));
        QVERIFY(info->isVisible());
        QCOMPARE(contentOf(s.web.path()), before);
        s.w.env.desktop.messages.clear();

        remove(f, target);
        s.w.env.desktop.answerSave(target);
        QTest::mouseClick(info->cmdready, Qt::LeftButton);
        QCOMPARE(readAll(target), page);
        QCOMPARE(s.w.env.desktop.messages.size(), 1);
        QVERIFY(s.w.env.desktop.messages[0].icon == platform::MessageIcon::Information);
    }

    // The page is written but the picture cannot be put beside it: the page
    // stands, a message says what is missing, nothing else changed.
    void imageCopyBesidePage_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::newRow("folder in the way") << QStringLiteral("folder in the way");
        QTest::newRow("full disk") << QStringLiteral("full disk");
        QTest::newRow("picture deleted after loading") << QStringLiteral("deleted");
        QTest::newRow("picture replaced by a folder") << QStringLiteral("folder source");
    }
    void imageCopyBesidePage()
    {
        QFETCH(QString, fault);
        Setup s(true);
        QCOMPARE(s.w->HIDDENlbltaginfo->text(), QStringLiteral("stone.bmp"));
        const QString folder = s.web.filePath(QStringLiteral("site"));
        QDir().mkpath(folder);
        const QString target = folder + QStringLiteral("/index.htm");
        const QString copy = folder + QStringLiteral("/stone.bmp");
        frminfo *info = openInfo(s.w);
        QVERIFY(info);
        const QByteArray page = expectedPage(info, *s.w.window);
        Fault f{fault, {}, {}};
        if (fault == QLatin1String("deleted") || fault == QLatin1String("folder source")) {
            QVERIFY(QFile::remove(s.source));
            if (fault == QLatin1String("folder source"))
                QVERIFY(QDir().mkpath(s.source));
        } else if (!inject(f, fault == QLatin1String("full disk") ? target : copy, page.size() + 8192)) {
            QSKIP("this fault cannot be made here");
        }
        s.w.env.desktop.answerSave(target);
        QTest::mouseClick(info->cmdready, Qt::LeftButton);
        QCOMPARE(readAll(target), page);
        QCOMPARE(s.w.env.desktop.messages.size(), 1);
        QVERIFY(s.w.env.desktop.messages[0].icon == platform::MessageIcon::Exclamation);
        QVERIFY(s.w.env.desktop.messages[0].text.contains(QDir::toNativeSeparators(copy)));
        auto left = contentOf(folder);
        QVERIFY(left.erase(target) == 1);
        if (fault == QLatin1String("folder in the way"))
            QCOMPARE(left, (std::map<QString, QByteArray>{{copy, "<folder>"}, {copy + "/inside.txt", "keep me"}}));
        else
            QVERIFY2(left.empty(), "something half-copied stayed beside the page");
        s.w.env.desktop.messages.clear();

        // Once the fault is gone, the next page brings its picture along.
        remove(f, copy);
        if (fault == QLatin1String("deleted") || fault == QLatin1String("folder source")) {
            QDir(s.source).removeRecursively();
            QVERIFY(writeAll(s.source, s.sourceBytes));
        }
        info = openInfo(s.w);
        QVERIFY(info);
        s.w.env.desktop.answerSave(target);
        QTest::mouseClick(info->cmdready, Qt::LeftButton);
        QCOMPARE(readAll(copy), s.sourceBytes);
        QVERIFY(s.w.env.desktop.messages.value(0).icon == platform::MessageIcon::Information);
    }

    // Saving a copy of the picture where it cannot go: a message, the old
    // file whole; then the same save gives an exact copy.
    void imageSave_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("existing");
        for (const QString &k : faultKinds())
            for (bool existing : {false, true})
                if (!(existing && (k == QLatin1String("missing folder") || k == QLatin1String("folder in the way"))))
                    QTest::newRow(qPrintable(k + (existing ? QStringLiteral(", old file there") : QString())))
                        << k << existing;
        QTest::newRow("picture deleted after loading") << QStringLiteral("deleted") << true;
    }
    void imageSave()
    {
        QFETCH(QString, fault);
        QFETCH(bool, existing);
        Setup s(true);
        const QString folder = s.web.filePath(fault == QLatin1String("missing folder") ? "gone/pics" : "pics");
        const QString target = folder + QStringLiteral("/copy.bmp");
        if (fault != QLatin1String("missing folder"))
            QDir().mkpath(folder);
        if (existing)
            QVERIFY(writeAll(target, "an older picture"));
        Fault f{fault, {}, {}};
        if (fault == QLatin1String("deleted"))
            QVERIFY(QFile::remove(s.source));
        else if (!inject(f, target, 4096))
            QSKIP("this fault cannot be made here");
        const auto before = contentOf(s.web.path());
        s.w.env.desktop.answerSave(target);
        QTest::mouseClick(s.w->cmdsave, Qt::LeftButton);
        QCOMPARE(s.w.env.desktop.messages.size(), 1);
        QVERIFY(!s.w.env.desktop.messages[0].text.trimmed().isEmpty());
        QCOMPARE(contentOf(s.web.path()), before);
        s.w.env.desktop.messages.clear();

        remove(f, target);
        if (fault == QLatin1String("deleted"))
            QVERIFY(writeAll(s.source, s.sourceBytes));
        s.w.env.desktop.answerSave(target);
        QTest::mouseClick(s.w->cmdsave, Qt::LeftButton);
        QCOMPARE(s.w.env.desktop.messages.size(), 0);
        QCOMPARE(readAll(target), s.sourceBytes);
    }

    // Whatever stands where the settings file should: the window opens and
    // works, says nothing, leaves a folder or an unreadable file alone, and
    // keeps its place again once the file is sound.
    void settingsFile_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("seed");
        QTest::newRow("unreadable") << QStringLiteral("unreadable") << 0;
        QTest::newRow("folder in its place") << QStringLiteral("folder") << 0;
        QTest::newRow("cut short") << QStringLiteral("truncated") << 0;
        QTest::newRow("10 MB of junk") << QStringLiteral("junk") << 0;
        for (int seed = 1; seed <= 20; ++seed)
            QTest::newRow(qPrintable(QStringLiteral("random bytes %1").arg(seed))) << QStringLiteral("random") << seed;
    }
    void settingsFile()
    {
        QFETCH(QString, fault);
        QFETCH(int, seed);
        testsupport::Environment env;
        const QString path = settingsPath(env);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QByteArray bytes;
        if (fault == QLatin1String("folder")) {
            QVERIFY(QDir().mkpath(path));
            QVERIFY(writeAll(path + QStringLiteral("/inside.txt"), "keep me"));
        } else {
            const QByteArray good = "; Dudovuvov settings\n[HKEY_CURRENT_USER\\Software\\Zudedidu\\Dudovuvov]\n"
                                    "\"Left\"=\"1500\"\n\"Top\"=\"1500\"\n";
            if (fault == QLatin1String("truncated") || fault == QLatin1String("unreadable"))
                bytes = fault == QLatin1String("truncated") ? good.left(good.size() - 9) : good;
            else if (fault == QLatin1String("junk"))
                bytes = QByteArray(10 * 1024 * 1024, '\x9c');
            else {
                QRandomGenerator rng{quint32(seed)};
                bytes.resize(qsizetype(rng.bounded(1, 5000)));
                for (char &c : bytes)
                    c = char(rng.bounded(256));
            }
            QVERIFY(writeAll(path, bytes));
        }
        // An unreadable file: no permission for anyone, root included.
        struct Unreadable {
            QString path;
            std::unique_ptr<NoPermissionOverride> noOverride;
            ~Unreadable()
            {
                if (!path.isEmpty())
                    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            }
        } guard;
        if (fault == QLatin1String("unreadable")) {
            QVERIFY(QFile::setPermissions(path, {}));
            guard.path = path;
            guard.noOverride = std::make_unique<NoPermissionOverride>();
            QFile probe(path);
            if (probe.open(QIODevice::ReadOnly))
                QSKIP("files cannot be made unreadable here");
        }
        const auto before = tree(env.configDir());
        QElapsedTimer timer;
        timer.start();
        {
            frmmain window;
            QVERIFY(window.loaded());
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            testsupport::typeInto(window.txtred, QStringLiteral("123"));
            QCOMPARE(window.VScrollRed->value(), 123);
            window.close();
        }
        QVERIFY2(timer.elapsed() < 10000, "the start took too long");
        QVERIFY(env.desktop.messages.isEmpty());
        QVERIFY(env.desktop.unscripted.isEmpty());
        if (fault == QLatin1String("folder") || fault == QLatin1String("unreadable")) {
            guard.noOverride.reset();
            if (fault == QLatin1String("folder"))
                QCOMPARE(readAll(path + QStringLiteral("/inside.txt")), QByteArray("keep me"));
            else
                QCOMPARE(readAll(path), bytes);
        }

        // With the fault gone, the window keeps its place again.
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        guard.path.clear();
        if (fault == QLatin1String("folder"))
            QDir(path).removeRecursively();
        else
            QFile::remove(path);
        QCOMPARE(moveCloseReopen(env, QPoint(140, 120)), QPoint(140, 120));
        QVERIFY(env.desktop.messages.isEmpty());
    }

    // Start-up with the real single-instance lock where things are amiss:
    // the window opens, works and says nothing alarming.
    void startUp_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::newRow("stale lock of a killed copy") << QStringLiteral("stale lock");
        QTest::newRow("runtime folder missing") << QStringLiteral("no runtime folder");
        QTest::newRow("runtime folder not writable") << QStringLiteral("read-only runtime folder");
        QTest::newRow("config folder not writable") << QStringLiteral("read-only config folder");
        QTest::newRow("config folder is a file") << QStringLiteral("config is a file");
    }
    void startUp()
    {
        QFETCH(QString, fault);
        testsupport::Environment env;
        auto desktop = std::make_unique<RealLockDesktop>(env.desktop);
        platform::setDesktop(desktop.get());
        std::unique_ptr<filefaults::ReadOnlyFolder> readOnly;
        QTemporaryDir elsewhere;
        if (fault == QLatin1String("stale lock")) {
            // A copy that took the lock and was killed.
            QProcess copy;
            copy.start(QStringLiteral(LOCKHOLDER), {});
            QVERIFY(copy.waitForReadyRead(20000));
            QCOMPARE(copy.readAllStandardOutput(), QByteArray("locked\n"));
            copy.kill();
            copy.waitForFinished();
            QVERIFY(QFile::exists(platform::instanceLockPath()));
        } else if (fault == QLatin1String("no runtime folder")) {
            qputenv("XDG_RUNTIME_DIR", elsewhere.filePath(QStringLiteral("gone")).toLocal8Bit());
        } else if (fault == QLatin1String("read-only runtime folder")) {
            readOnly = std::make_unique<filefaults::ReadOnlyFolder>(env.runtimeDir());
            if (!readOnly->active())
                QSKIP("folders cannot be made read-only here");
        } else if (fault == QLatin1String("read-only config folder")) {
            readOnly = std::make_unique<filefaults::ReadOnlyFolder>(env.configDir());
            if (!readOnly->active())
                QSKIP("folders cannot be made read-only here");
        } else {
            const QString file = elsewhere.filePath(QStringLiteral("config"));
            QVERIFY(writeAll(file, "not a folder"));
            qputenv("XDG_CONFIG_HOME", file.toLocal8Bit());
        }
        {
            frmmain window;
            QVERIFY2(window.loaded(),
                     qPrintable(env.desktop.messages.value(0).text + " lock at " + platform::instanceLockPath()));
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            testsupport::typeInto(window.txtgreen, QStringLiteral("77"));
            QCOMPARE(window.VScrollGreen->value(), 77);
            window.close();
        }
        // The program has ended: its lock goes with it.
        platform::setDesktop(&env.desktop);
        desktop.reset();
        QVERIFY2(env.desktop.messages.isEmpty(),
                 qPrintable(env.desktop.messages.value(0).title + ": " + env.desktop.messages.value(0).text));
        // Start again once everything is back in order: a normal start.
        readOnly.reset();
        qputenv("XDG_RUNTIME_DIR", env.runtimeDir().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", env.configDir().toLocal8Bit());
        RealLockDesktop second(env.desktop);
        platform::setDesktop(&second);
        {
            frmmain window;
            QVERIFY(window.loaded());
        }
        platform::setDesktop(&env.desktop);
        QVERIFY(env.desktop.messages.isEmpty());
    }
};

int main(int argc, char *argv[])
{
#ifdef Q_OS_LINUX
    // A mount namespace of our own, so that tmpfs full disks stay private.
    privateMounts = ::unshare(CLONE_NEWNS) == 0 && ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
#endif
    QApplication app(argc, argv);
    TestFaults test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_faults.moc"

// Faults injected through the real file system, through the whole window:
// the page, the image copy beside it and the image save aimed at a read-only
// folder, a folder, a full disk and a missing folder; a picture removed, made
// unreadable or replaced by a folder or a FIFO after loading, a link or the
// page itself at the picture's name, a FIFO given as a picture; the settings
// file unreadable, a folder, a FIFO, cut short, random bytes, junk, too large,
// or a link; start-up with a stale, odd or FIFO lock, without a runtime folder
// and with folders it cannot write; the real program ended by a signal. In
// every case: no crash, no freeze, a clear message where the user asked for
// something, no existing file damaged, and the same action works once the
// fault is gone.
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
#include "settings/filebackend.h"
#include "settings/registry.h"
#include "settings/settingsfile.h"
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
#include <QRegularExpression>
#include <QSaveFile>
#include <QScrollBar>
#include <QStandardPaths>
#include <QSysInfo>

#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <optional>
#include <thread>

using Kind = platform::ScriptedDesktop::Kind;

using testsupport::readFile;
using testsupport::writeFile;

namespace {

bool privateMounts = false;

// Every file and folder below `root` with its content.
std::map<QString, QByteArray> tree(const QString &root)
{
    std::map<QString, QByteArray> out;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info(path);
        if (info.isSymLink())
            out[path] = "<link to " + info.symLinkTarget().toLocal8Bit() + ">";
        else if (info.isDir())
            out[path] = "<folder>";
        else if (!info.isFile())
            out[path] = "<fifo>"; // reading it would wait for a writer
        else
            out[path] = readFile(path);
    }
    return out;
}

bool makeFifo(const QString &path)
{
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

// While it lives, whatever has waited on the FIFO for more than `delay` is let
// go (the other end is opened once in a while), so that a program that blocks
// on it fails its test instead of hanging it.
class FifoUnjammer {
public:
    explicit FifoUnjammer(const QString &path, std::chrono::milliseconds delay = std::chrono::milliseconds(5000)) :
        m_path(QFile::encodeName(path)), m_thread([this, delay] { run(delay); })
    {
    }
    ~FifoUnjammer()
    {
        {
            std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }
    FifoUnjammer(const FifoUnjammer &) = delete;
    FifoUnjammer &operator=(const FifoUnjammer &) = delete;

private:
    void run(std::chrono::milliseconds delay)
    {
        std::unique_lock lock(m_mutex);
        if (m_wake.wait_for(lock, delay, [this] { return m_done; }))
            return;
        do {
            // A reader waits for a writer, or a writer for a reader.
            int fd = ::open(m_path.constData(), O_WRONLY | O_NONBLOCK);
            if (fd < 0)
                fd = ::open(m_path.constData(), O_RDONLY | O_NONBLOCK);
            if (fd >= 0)
                ::close(fd);
        } while (!m_wake.wait_for(lock, std::chrono::milliseconds(100), [this] { return m_done; }));
    }

    QByteArray m_path;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_done = false;
    std::thread m_thread;
};

// How long a click may take before the window counts as frozen: well over
// any real click, even under the sanitizers, and short of the unjammer's delay.
constexpr qint64 frozenMs = 4000;

// The settings a copy of the program left in `path`.
std::string storedText(const QString &path, const char *name)
{
    settings::FileRegistryBackend backend(path);
    settings::Registry registry(backend, nullptr);
    return registry.ReadSettingText("HKEY_CURRENT_USER\\Software\\Zudedidu\\Dudovuvov", name);
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
    bool clipboardOffersText() override { return m_scripted.clipboardOffersText(); }
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
        explicit Setup(bool loadPicture, const QString &name = QStringLiteral("stone.bmp"))
        {
            QImage image(160, 120, QImage::Format_RGB32);
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    image.setPixel(x, y, qRgb((x * 37) ^ y, (y * 91) ^ x, (x * y) & 255));
            source = pictures.filePath(name);
            image.save(source, "BMP"); // large enough not to fit where the page does
            sourceBytes = readFile(source);
            if (loadPicture) {
                w.env.desktop.answerOpen(source);
                QTest::mouseClick(w->cmdload, Qt::LeftButton);
            }
        }
    };

    static frminfo *openInfo(testsupport::MainWindow &w)
    {
        QTest::mouseClick(w->cmdtag, Qt::LeftButton);
        auto *tag = testsupport::findWindow<frmtag>(*w.window);
        if (tag == nullptr)
            return nullptr;
        QTest::mouseClick(tag->cmdCREATEhtml, Qt::LeftButton);
        auto *info = testsupport::findWindow<frminfo>(*w.window);
        if (info != nullptr) {
            info->txtNAME->setText(QStringLiteral("Zo\u00eb & \u0141ukasz"));
            info->txtTITLE->setText(QStringLiteral("<Fault> \u20ac"));
        }
        return info;
    }

    static QByteArray expectedPage(frminfo *info, frmmain &m)
    {
        auto *tag = testsupport::findWindow<frmtag>(m);
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
            return writeFile(target + QStringLiteral("/inside.txt"), "keep me");
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
    // A link is noted as a link and its target not read; a FIFO is not opened.
    static std::map<QString, QByteArray> contentOf(const QString &root)
    {
        std::map<QString, QByteArray> t;
        QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QFileInfo info(path);
            if (FullDisk::isFiller(path))
                continue;
            if (info.isSymbolicLink())
                t[path] = "<link to " + QFile::encodeName(info.symLinkTarget()) + '>';
            else if (info.isDir())
                t[path] = "<folder>";
            else if (!info.isFile())
                t[path] = "<special>";
            else
                t[path] = readFile(path);
        }
        return t;
    }

    // Makes the loaded picture `source` unusable as `how` says; returns false
    // when that cannot be done here.
    static bool spoilSource(const QString &how, const QString &source, std::unique_ptr<NoPermissionOverride> &guard)
    {
        if (how == QLatin1String("unreadable")) {
            QFile::setPermissions(source, {});
            guard = std::make_unique<NoPermissionOverride>();
            QFile probe(source);
            return !probe.open(QIODevice::ReadOnly);
        }
        if (!QFile::remove(source))
            return false;
        if (how == QLatin1String("folder source"))
            return QDir().mkpath(source);
        if (how == QLatin1String("fifo source"))
            return makeFifo(source);
        return true; // deleted
    }
    static void restoreSource(const QString &source, const QByteArray &bytes,
                              std::unique_ptr<NoPermissionOverride> &guard)
    {
        guard.reset();
        QFile::setPermissions(source, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        if (QFileInfo(source).isDir())
            QDir(source).removeRecursively();
        else
            QFile::remove(source);
        QVERIFY(writeFile(source, bytes));
    }
    static bool isSourceFault(const QString &fault)
    {
        return fault == QLatin1String("deleted") || fault == QLatin1String("folder source")
               || fault == QLatin1String("fifo source") || fault == QLatin1String("unreadable");
    }
    // The system's words for a full disk here: no space on a tmpfs, else the
    // file size limit.
    static QString fullDiskReason(const Fault &f)
    {
        return qt_error_string(f.full && f.full->mounted() ? ENOSPC : EFBIG);
    }

private slots:
    void initTestCase() { qInfo("private mount namespace (tmpfs full disks): %s", privateMounts ? "yes" : "no"); }

    // The page written where it cannot be: a message, the window stays with
    // what was typed, the old page is whole; then the same click writes it.
    // A writable old page in a folder that takes no new file is written in
    // place at once, so a link to it elsewhere shows the new page.
    void pageWrite_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("old");
        for (const QString &k : faultKinds())
            for (const char *old : {"", "old page there"})
                if (!(*old && (k == QLatin1String("missing folder") || k == QLatin1String("folder in the way"))))
                    QTest::newRow(qPrintable(k + (*old ? QStringLiteral(", ") + QLatin1String(old) : QString())))
                        << k << QString::fromLatin1(old);
        QTest::newRow("read-only folder, read-only old page there")
            << QStringLiteral("read-only folder") << QStringLiteral("read-only old page there");
        QTest::newRow("read-only folder, FIFO in the page's place")
            << QStringLiteral("read-only folder") << QStringLiteral("FIFO there");
    }
    void pageWrite()
    {
        QFETCH(QString, fault);
        QFETCH(QString, old);
        Setup s(false);
        const QString folder = s.web.filePath(fault == QLatin1String("missing folder") ? "gone/site" : "site");
        const QString target = folder + QStringLiteral("/index.htm");
        if (fault != QLatin1String("missing folder"))
            QDir().mkpath(folder);
        const QByteArray oldPage = "<HTML>the old page</HTML>\r\n";
        const QString linked = s.web.filePath(QStringLiteral("linked.htm"));
        if (old == QLatin1String("FIFO there")) {
            QVERIFY(makeFifo(target));
        } else if (!old.isEmpty()) {
            QVERIFY(writeFile(target, oldPage));
            QCOMPARE(::link(QFile::encodeName(target).constData(), QFile::encodeName(linked).constData()), 0);
        }
        if (old == QLatin1String("read-only old page there"))
            QVERIFY(QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
        frminfo *info = openInfo(s.w);
        QVERIFY(info);
        const QByteArray page = expectedPage(info, *s.w.window);
        Fault f{fault, {}, {}};
        if (!inject(f, target, 200))
            QSKIP("this fault cannot be made here");
        auto before = contentOf(s.web.path());
        s.w.env.desktop.answerSave(target);
        QElapsedTimer clock;
        clock.start();
        {
            FifoUnjammer unjam(target);
            QTest::mouseClick(info->cmdready, Qt::LeftButton);
        }
        QVERIFY2(clock.elapsed() < frozenMs, "the window froze");
        QCOMPARE(s.w.env.desktop.messages.size(), 1);
        if (fault == QLatin1String("read-only folder") && old == QLatin1String("old page there")) {
            // Written in place, the old page's other name included.
            QCOMPARE(s.w.env.desktop.messages[0].text, pageDoneText());
            QCOMPARE(readFile(target), page);
            QCOMPARE(readFile(linked), page);
            auto after = contentOf(s.web.path());
            before.erase(target), before.erase(linked), after.erase(target), after.erase(linked);
            QCOMPARE(after, before);
            return;
        }
        QVERIFY(s.w.env.desktop.messages[0].icon == platform::MessageIcon::Exclamation);
        const QString text = s.w.env.desktop.messages[0].text;
        QVERIFY2(text.contains(QDir::toNativeSeparators(target)), qPrintable(text));
        if (fault == QLatin1String("full disk"))
            QVERIFY2(text.contains(fullDiskReason(f)), qPrintable(text));
        QVERIFY(info->isVisible());
        QCOMPARE(contentOf(s.web.path()), before);
        s.w.env.desktop.messages.clear();

        remove(f, target);
        QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        if (old == QLatin1String("FIFO there"))
            QVERIFY(QFile::remove(target));
        s.w.env.desktop.answerSave(target);
        QTest::mouseClick(info->cmdready, Qt::LeftButton);
        QCOMPARE(readFile(target), page);
        QCOMPARE(s.w.env.desktop.messages.size(), 1);
        QVERIFY(s.w.env.desktop.messages[0].icon == platform::MessageIcon::Information);
        // Written anew, not in place: the old page's other name keeps it.
        if (!old.isEmpty() && old != QLatin1String("FIFO there"))
            QCOMPARE(readFile(linked), oldPage);
    }

    // The page is written but the picture cannot be put beside it: the page
    // stands, a message names the file at fault and why, nothing else
    // changed. A link at the picture's name is replaced, not written through.
    void imageCopyBesidePage_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::newRow("folder in the way") << QStringLiteral("folder in the way");
        QTest::newRow("full disk") << QStringLiteral("full disk");
        QTest::newRow("picture deleted after loading") << QStringLiteral("deleted");
        QTest::newRow("picture replaced by a folder") << QStringLiteral("folder source");
        QTest::newRow("picture replaced by a FIFO") << QStringLiteral("fifo source");
        QTest::newRow("picture made unreadable") << QStringLiteral("unreadable");
        QTest::newRow("link at the picture's name") << QStringLiteral("link");
        QTest::newRow("picture named like the page") << QStringLiteral("named like the page");
        QTest::newRow("picture name with a line break") << QStringLiteral("line break");
    }
    void imageCopyBesidePage()
    {
        QFETCH(QString, fault);
        const bool likePage = fault == QLatin1String("named like the page");
        const bool lineBreak = fault == QLatin1String("line break");
        Setup s(true, likePage    ? QStringLiteral("index.htm")
                      : lineBreak ? QStringLiteral("stone\nrow.bmp")
                                  : QStringLiteral("stone.bmp"));
        const QString name = QFileInfo(s.source).fileName();
        QCOMPARE(s.w->HIDDENlbltaginfo->text(), name);
        const QString folder = s.web.filePath(QStringLiteral("site"));
        QDir().mkpath(folder);
        const QString target = folder + QStringLiteral("/index.htm");
        const QString copy = folder + QLatin1Char('/') + name;
        const QString victim = s.web.filePath(QStringLiteral("other/victim.bin"));
        frminfo *info = openInfo(s.w);
        QVERIFY(info);
        const QByteArray page = expectedPage(info, *s.w.window);
        Fault f{fault, {}, {}};
        std::unique_ptr<NoPermissionOverride> noOverride;
        if (isSourceFault(fault)) {
            if (!spoilSource(fault, s.source, noOverride))
                QSKIP("this fault cannot be made here");
        } else if (fault == QLatin1String("link")) {
            QVERIFY(QDir().mkpath(QFileInfo(victim).absolutePath()));
            QVERIFY(writeFile(victim, "not to be touched"));
            QVERIFY(QFile::link(QStringLiteral("../other/victim.bin"), copy));
        } else if (!likePage && !lineBreak
                   && !inject(f, fault == QLatin1String("full disk") ? target : copy, page.size() + 8192)) {
            QSKIP("this fault cannot be made here");
        }
        auto before = contentOf(s.web.path());
        s.w.env.desktop.answerSave(target);
        QElapsedTimer clock;
        clock.start();
        {
            FifoUnjammer unjam(s.source);
            QTest::mouseClick(info->cmdready, Qt::LeftButton);
        }
        QVERIFY2(clock.elapsed() < frozenMs, "the window froze");
        QCOMPARE(readFile(target), page);
        QCOMPARE(s.w.env.desktop.messages.size(), 1);
        auto left = contentOf(s.web.path());
        QVERIFY(left.erase(target) == 1);
        before.erase(target);
        const QString text = s.w.env.desktop.messages[0].text;
        if (lineBreak) {
            // The name stays on the BODY line: 41 lines, each ended by CR LF.
            QCOMPARE(page.count('\n'), 41);
            QCOMPARE(page.count("\r\n"), 41);
            QVERIFY(page.contains("BACKGROUND=\"stone&#10;row.bmp\">\r\n<CENTER>"));
        }
        if (fault == QLatin1String("link") || lineBreak) {
            // A link gives way to the copy; what it pointed to is untouched.
            QCOMPARE(text, pageDoneText());
            QVERIFY(!QFileInfo(copy).isSymbolicLink());
            QCOMPARE(readFile(copy), s.sourceBytes);
            if (!lineBreak)
                QCOMPARE(readFile(victim), QByteArray("not to be touched"));
            QVERIFY(left.erase(copy) == 1);
            before.erase(copy);
            QCOMPARE(left, before);
            return;
        }
        QVERIFY(s.w.env.desktop.messages[0].icon == platform::MessageIcon::Exclamation);
        QVERIFY2(text.contains(QDir::toNativeSeparators(copy)), qPrintable(text));
        if (isSourceFault(fault)) {
            QVERIFY2(text.contains(QStringLiteral("\"%1\" cannot be read: ").arg(QDir::toNativeSeparators(s.source))),
                     qPrintable(text));
            QVERIFY2(!text.endsWith(QLatin1String("Unknown error")), qPrintable(text));
        }
        if (fault == QLatin1String("full disk"))
            QVERIFY2(text.contains(fullDiskReason(f)), qPrintable(text));
        if (likePage)
            QVERIFY2(text.contains(QLatin1String("the page itself")), qPrintable(text));
        QVERIFY2(left == before, "something changed or was half-copied beside the page");
        s.w.env.desktop.messages.clear();

        // Once the fault is gone, the next page brings its picture along.
        remove(f, copy);
        if (isSourceFault(fault))
            restoreSource(s.source, s.sourceBytes, noOverride);
        info = openInfo(s.w);
        QVERIFY(info);
        s.w.env.desktop.answerSave(likePage ? folder + QStringLiteral("/home.htm") : target);
        QTest::mouseClick(info->cmdready, Qt::LeftButton);
        QCOMPARE(readFile(copy), s.sourceBytes);
        QVERIFY(s.w.env.desktop.messages.value(0).icon == platform::MessageIcon::Information);
    }

    // Saving a copy of the picture where it cannot go, or from a picture
    // that is no longer a readable file: a message blaming the right file
    // and saying why, the old file whole; then the same save gives an exact copy.
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
        QTest::newRow("picture replaced by a folder") << QStringLiteral("folder source") << true;
        QTest::newRow("picture replaced by a FIFO") << QStringLiteral("fifo source") << true;
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
            QVERIFY(writeFile(target, "an older picture"));
        Fault f{fault, {}, {}};
        std::unique_ptr<NoPermissionOverride> noOverride;
        if (isSourceFault(fault)) {
            QVERIFY(spoilSource(fault, s.source, noOverride));
        } else if (!inject(f, target, 4096)) {
            QSKIP("this fault cannot be made here");
        }
        const auto before = contentOf(s.web.path());
        s.w.env.desktop.answerSave(target);
        QElapsedTimer clock;
        clock.start();
        {
            FifoUnjammer unjam(s.source);
            QTest::mouseClick(s.w->cmdsave, Qt::LeftButton);
        }
        QVERIFY2(clock.elapsed() < frozenMs, "the window froze");
        QCOMPARE(s.w.env.desktop.messages.size(), 1);
        const QString text = s.w.env.desktop.messages[0].text;
        QVERIFY(!text.trimmed().isEmpty());
        QVERIFY2(!text.contains(QLatin1String("Unknown error")), qPrintable(text));
        // Only a source at fault is named as such.
        QCOMPARE(text.contains(QStringLiteral("\"%1\" cannot be read: ").arg(s.source)), isSourceFault(fault));
        if (fault == QLatin1String("full disk"))
            QVERIFY2(text.contains(fullDiskReason(f)), qPrintable(text));
        QCOMPARE(contentOf(s.web.path()), before);
        s.w.env.desktop.messages.clear();

        remove(f, target);
        if (isSourceFault(fault))
            restoreSource(s.source, s.sourceBytes, noOverride);
        s.w.env.desktop.answerSave(target);
        QTest::mouseClick(s.w->cmdsave, Qt::LeftButton);
        QCOMPARE(s.w.env.desktop.messages.size(), 0);
        QCOMPARE(readFile(target), s.sourceBytes);
    }

    // Loading a picture from something that is no regular file: nothing
    // changes, no word is said, and the window does not wait for a writer.
    void imageLoad_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("loadedBefore");
        QTest::newRow("FIFO") << QStringLiteral("fifo") << false;
        QTest::newRow("link to a FIFO") << QStringLiteral("link to fifo") << false;
        QTest::newRow("FIFO while a picture is loaded") << QStringLiteral("fifo") << true;
    }
    void imageLoad()
    {
        QFETCH(QString, fault);
        QFETCH(bool, loadedBefore);
        Setup s(loadedBefore);
        const QString fifo = s.web.filePath(QStringLiteral("pipe.bmp"));
        QVERIFY(makeFifo(fifo));
        QString chosen = fifo;
        if (fault == QLatin1String("link to fifo")) {
            chosen = s.web.filePath(QStringLiteral("link.bmp"));
            QVERIFY(QFile::link(fifo, chosen));
        }
        const QString nameBefore = s.w->HIDDENlbltaginfo->text();
        const QString pathBefore = s.w->HIDDENlblfilename->text();
        s.w.env.desktop.answerOpen(chosen);
        QElapsedTimer clock;
        clock.start();
        {
            FifoUnjammer unjam(fifo);
            QTest::mouseClick(s.w->cmdload, Qt::LeftButton);
        }
        QVERIFY2(clock.elapsed() < frozenMs, "the window froze");
        QVERIFY(s.w.env.desktop.messages.isEmpty());
        QCOMPARE(s.w->HIDDENlbltaginfo->text(), nameBefore);
        QCOMPARE(s.w->HIDDENlblfilename->text(), pathBefore);
        QCOMPARE(s.w->cmdsave->isEnabled(), loadedBefore);
        QVERIFY(s.w->VScrollRed->hasFocus());

        // A picture in its place loads.
        QVERIFY(QFile::remove(fifo));
        QVERIFY(writeFile(fifo, s.sourceBytes));
        s.w.env.desktop.answerOpen(chosen);
        QTest::mouseClick(s.w->cmdload, Qt::LeftButton);
        QCOMPARE(s.w->HIDDENlbltaginfo->text(), QFileInfo(chosen).fileName());
        QVERIFY(s.w->cmdsave->isEnabled());
    }

    // A page whose BODY names something that is no usable picture: its
    // colors are taken, the picture is left out with a message naming it
    // and why, without waiting on a FIFO or device or unpacking a bomb;
    // once a picture stands there, the same page brings it.
    void pageBackground_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("why");
        QTest::newRow("missing") << QStringLiteral("missing") << QString();
        QTest::newRow("a folder") << QStringLiteral("folder") << qt_error_string(EISDIR);
        QTest::newRow("a FIFO") << QStringLiteral("fifo") << QStringLiteral("Not a regular file");
        QTest::newRow("a device") << QStringLiteral("device") << QStringLiteral("Not a regular file");
        QTest::newRow("no picture") << QStringLiteral("text")
                                    << QStringLiteral("it is no picture this program can show");
        QTest::newRow("a compressed drawing of a gigabyte")
            << QStringLiteral("bomb") << QStringLiteral("it is a drawing of more than 8 MB unpacked");
    }
    void pageBackground()
    {
        QFETCH(QString, fault);
        QFETCH(QString, why);
        Setup s(false);
        const QString page = s.web.filePath(QStringLiteral("page.htm"));
        const QString picture = fault == QLatin1String("device") ? QStringLiteral("/dev/zero")
                                                                 : s.web.filePath(QStringLiteral("tiles.svgz"));
        QVERIFY(writeFile(page, "<body link=red background=\"" + QFile::encodeName(picture) + "\">"));
        if (fault == QLatin1String("folder"))
            QVERIFY(QDir().mkpath(picture));
        else if (fault == QLatin1String("fifo"))
            QVERIFY(makeFifo(picture));
        else if (fault == QLatin1String("text"))
            QVERIFY(writeFile(picture, "not a picture\n"));
        else if (fault == QLatin1String("bomb"))
            QVERIFY(writeFile(picture,
                              testsupport::gzipped("<svg width='10' height='10'>", qint64(1) << 30, ' ', "</svg>")));
        const qint64 reset = testsupport::resetPeakMemory();
        QElapsedTimer clock;
        clock.start();
        {
            std::optional<FifoUnjammer> unjam;
            if (fault == QLatin1String("fifo"))
                unjam.emplace(picture);
            s.w.env.desktop.answerOpen(page);
            QTest::keyClick(s.w.window.get(), Qt::Key_O, Qt::ControlModifier);
        }
        const qint64 ms = clock.elapsed(), growth = testsupport::peakGrowthMb(reset);
        QVERIFY2(ms < 1000, qPrintable(QStringLiteral("%1 ms").arg(ms)));
        QVERIFY2(growth < 100, qPrintable(QStringLiteral("%1 MB more at the peak").arg(growth)));
        const QString folder = QDir::toNativeSeparators(s.web.path());
        const QString name = QString::fromLocal8Bit(QFile::encodeName(picture));
        const QString expected =
            why.isEmpty() ? QStringLiteral("The page's colors were read, but its background image %1 is not in %2 "
                                           "and was left out.")
                                .arg(name, folder)
                          : QStringLiteral("The page's colors were read, but its background image %1 in %2 was left "
                                           "out: %3.")
                                .arg(name, folder, why);
        const auto messages = s.w.env.desktop.takeMessages();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].text, expected);
        QCOMPARE(s.w->txtnewlink->text(), QStringLiteral("#FF0000"));
        QCOMPARE(s.w->HIDDENlbltaginfo->text(), QString());
        QVERIFY(s.w->optBACK->isEnabled());
        if (fault == QLatin1String("device"))
            return;

        // A picture in its place comes with the page.
        if (QFileInfo(picture).isDir())
            QVERIFY(QDir(picture).removeRecursively());
        else
            QFile::remove(picture);
        QVERIFY(writeFile(picture, testsupport::gzipped("<svg xmlns='http://www.w3.org/2000/svg' width='10' "
                                                        "height='10'><rect width='10' height='10'/>",
                                                        0, ' ', "</svg>")));
        s.w.env.desktop.answerOpen(page);
        QTest::keyClick(s.w.window.get(), Qt::Key_O, Qt::ControlModifier);
        QVERIFY(s.w.env.desktop.messages.isEmpty());
        QCOMPARE(s.w->HIDDENlbltaginfo->text(), QStringLiteral("tiles.svgz"));
    }

    // Undoing "Clear Image" once the picture's file is gone or is no
    // picture: a message names the file and says why, the colors still go
    // back, and once the file is back the same undo shows it again.
    void undoWithPictureGone_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("why");
        QTest::newRow("deleted") << QStringLiteral("deleted") << qt_error_string(ENOENT);
        QTest::newRow("replaced by a folder") << QStringLiteral("folder source") << qt_error_string(EISDIR);
        QTest::newRow("replaced by a FIFO") << QStringLiteral("fifo source") << QStringLiteral("Not a regular file");
    }
    void undoWithPictureGone()
    {
        QFETCH(QString, fault);
        QFETCH(QString, why);
        Setup s(true);
        QCOMPARE(s.w->HIDDENlbltaginfo->text(), QStringLiteral("stone.bmp"));
        QTest::mouseClick(s.w->cmdclear, Qt::LeftButton);
        std::unique_ptr<NoPermissionOverride> noOverride;
        QVERIFY(spoilSource(fault, s.source, noOverride));
        QElapsedTimer clock;
        clock.start();
        {
            FifoUnjammer unjam(s.source);
            QTest::keyClick(s.w.window.get(), Qt::Key_Z, Qt::ControlModifier);
        }
        QVERIFY2(clock.elapsed() < frozenMs, "the window froze");
        const auto messages = s.w.env.desktop.takeMessages();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].text,
                 QStringLiteral("The background image \"%1\" could not be shown again: %2.").arg(s.source, why));
        QCOMPARE(s.w->HIDDENlbltaginfo->text(), QString());
        QVERIFY(s.w->optBACK->isEnabled());

        restoreSource(s.source, s.sourceBytes, noOverride);
        QTest::keyClick(s.w.window.get(), Qt::Key_Y, Qt::ControlModifier);
        QTest::keyClick(s.w.window.get(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(s.w.env.desktop.messages.isEmpty());
        QCOMPARE(s.w->HIDDENlbltaginfo->text(), QStringLiteral("stone.bmp"));
    }

    // A picture is opened once: what was checked to be a regular file is
    // what is read, so a swap for a FIFO in between cannot hold the window.
    // (Closes are watched too: like events in a row would count as one.)
    void pictureOpenedOnce()
    {
        Setup s(false);
        const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        QVERIFY(watch >= 0);
        QVERIFY(::inotify_add_watch(watch, QFile::encodeName(s.source).constData(), IN_OPEN | IN_CLOSE) >= 0);
        s.w.env.desktop.answerOpen(s.source);
        QTest::mouseClick(s.w->cmdload, Qt::LeftButton);
        QCOMPARE(s.w->HIDDENlbltaginfo->text(), QStringLiteral("stone.bmp"));
        int opens = 0;
        alignas(inotify_event) char events[4096];
        for (ssize_t got; (got = ::read(watch, events, sizeof events)) > 0;)
            for (char *at = events; at < events + got;
                 at += sizeof(inotify_event) + reinterpret_cast<inotify_event *>(at)->len)
                opens += (reinterpret_cast<inotify_event *>(at)->mask & IN_OPEN) != 0;
        ::close(watch);
        QCOMPARE(opens, 1);
    }

    // Whatever stands where the settings file should: the window opens and
    // works, says nothing, leaves a folder, a FIFO or an unreadable file
    // alone, keeps what it cannot read back under a name that says so before
    // writing a clean file, writes through a link only to a file of its own,
    // and keeps its place again once the file is sound.
    void settingsFile_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("seed");
        QTest::newRow("unreadable") << QStringLiteral("unreadable") << 0;
        QTest::newRow("folder in its place") << QStringLiteral("folder") << 0;
        QTest::newRow("FIFO in its place") << QStringLiteral("fifo") << 0;
        QTest::newRow("its lock file a FIFO") << QStringLiteral("lock fifo") << 0;
        QTest::newRow("its lock stale, a FIFO as the lock's removal helper") << QStringLiteral("lock helper fifo") << 0;
        QTest::newRow("its lock naming another machine") << QStringLiteral("other machine lock") << 0;
        QTest::newRow("cut short") << QStringLiteral("truncated") << 0;
        QTest::newRow("10 MB of junk") << QStringLiteral("junk") << 0;
        QTest::newRow("50 MB of settings lines") << QStringLiteral("large") << 0;
        QTest::newRow("link to a file not ours") << QStringLiteral("link to other") << 0;
        QTest::newRow("link to nothing") << QStringLiteral("dangling link") << 0;
        QTest::newRow("link to our own file") << QStringLiteral("link to ours") << 0;
        for (int seed = 1; seed <= 20; ++seed)
            QTest::newRow(qPrintable(QStringLiteral("random bytes %1").arg(seed))) << QStringLiteral("random") << seed;
    }
    void settingsFile()
    {
        QFETCH(QString, fault);
        QFETCH(int, seed);
        testsupport::Environment env;
        QTemporaryDir elsewhere; // the user's own files, a dotfiles repository say
        const QString path = settingsPath(env);
        const QString folder = QFileInfo(path).absolutePath();
        const QString other = elsewhere.filePath(QStringLiteral("dotfiles/settings"));
        QDir().mkpath(folder);
        QDir().mkpath(QFileInfo(other).absolutePath());
        const QByteArray good = "; Dudovuvov settings\n[HKEY_CURRENT_USER\\Software\\Zudedidu\\Dudovuvov]\n"
                                "\"Left\"=\"1500\"\n\"Top\"=\"1500\"\n";
        QByteArray bytes;
        if (fault == QLatin1String("folder")) {
            QVERIFY(QDir().mkpath(path));
            QVERIFY(writeFile(path + QStringLiteral("/inside.txt"), "keep me"));
        } else if (fault == QLatin1String("fifo")) {
            QVERIFY(makeFifo(path));
        } else if (fault == QLatin1String("lock fifo")) {
            QVERIFY(writeFile(path, good));
            QVERIFY(makeFifo(path + QStringLiteral(".lock")));
        } else if (fault == QLatin1String("lock helper fifo")) {
            // A lock of this machine whose owner is gone: Qt removes it
            // through its helper file.
            QVERIFY(writeFile(path, good));
            QVERIFY(writeFile(path + QStringLiteral(".lock"),
                              "999999999\ndudovuvov\n" + QSysInfo::machineHostName().toUtf8() + "\n"));
            QVERIFY(makeFifo(path + QStringLiteral(".lock.rmlock")));
        } else if (fault == QLatin1String("other machine lock")) {
            QVERIFY(writeFile(path, good));
            QVERIFY(writeFile(path + QStringLiteral(".lock"),
                              QByteArray::number(::getpid()) + "\ndudovuvov\nother-host\n"));
        } else if (fault.startsWith(QLatin1String("link")) || fault == QLatin1String("dangling link")) {
            if (fault != QLatin1String("dangling link"))
                QVERIFY(
                    writeFile(other, fault == QLatin1String("link to ours") ? good : "my own notes\nnot settings\n"));
            QVERIFY(QFile::link(other, path));
        } else {
            if (fault == QLatin1String("truncated") || fault == QLatin1String("unreadable"))
                bytes = fault == QLatin1String("truncated") ? good.left(good.size() - 9) : good;
            else if (fault == QLatin1String("junk"))
                bytes = QByteArray(10 * 1024 * 1024, '\x9c');
            else if (fault == QLatin1String("large"))
                bytes = good + QByteArray("\"Top\"=\"1500\"\n").repeated(50 * 1024 * 1024 / 13);
            else {
                QRandomGenerator rng{quint32(seed)};
                bytes.resize(qsizetype(rng.bounded(1, 5000)));
                for (char &c : bytes)
                    c = char(rng.bounded(256));
            }
            QVERIFY(writeFile(path, bytes));
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
        const auto beforeElsewhere = tree(elsewhere.path());
        QElapsedTimer timer;
        timer.start();
        {
            std::optional<FifoUnjammer> unjamFile, unjamLock, unjamHelper;
            if (fault.contains(QLatin1String("fifo"))) {
                unjamFile.emplace(path, std::chrono::seconds(10));
                unjamLock.emplace(path + QStringLiteral(".lock"), std::chrono::seconds(10));
                unjamHelper.emplace(path + QStringLiteral(".lock.rmlock"), std::chrono::seconds(10));
            }
            frmmain window;
            QVERIFY(window.loaded());
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            const testsupport::MainControls c = testsupport::controlsOf(window);
            testsupport::typeInto(c.txtred, QStringLiteral("123"));
            QCOMPARE(c.VScrollRed->value(), 123);
            window.move(140, 120);
            window.close();
        }
        QVERIFY2(timer.elapsed() < 10000, "the start took too long");
        QVERIFY(env.desktop.messages.isEmpty());
        QVERIFY(env.desktop.unscripted.isEmpty());
        const auto after = tree(env.configDir());
        guard.noOverride.reset();
        const QStringList aside = QDir(folder).entryList({QStringLiteral("settings.damaged-*")},
                                                         QDir::AllEntries | QDir::System | QDir::Hidden);
        if (fault == QLatin1String("folder") || fault == QLatin1String("unreadable")
            || fault.contains(QLatin1String("fifo"))) {
            QCOMPARE(after, before);
            if (fault == QLatin1String("folder"))
                QCOMPARE(readFile(path + QStringLiteral("/inside.txt")), QByteArray("keep me"));
            if (fault == QLatin1String("unreadable"))
                QCOMPARE(readFile(path), bytes);
        } else if (fault == QLatin1String("other machine lock")) {
            // Taken over at once, the place stored, the lock released.
            QVERIFY2(timer.elapsed() < 2000, "the lock was waited for");
            QVERIFY(aside.isEmpty());
            QCOMPARE(storedText(path, "Top"), std::string("1800"));
            QCOMPARE(storedText(path, "Left"), std::string("2100"));
            QVERIFY(!QFileInfo::exists(path + QStringLiteral(".lock")));
        } else if (fault == QLatin1String("link to ours")) {
            // Written through the link: the user's own file holds the new place.
            QCOMPARE(after, before);
            QVERIFY(aside.isEmpty());
            QCOMPARE(storedText(other, "Top"), std::string("1800"));
            QCOMPARE(storedText(other, "Left"), std::string("2100"));
        } else {
            // What stood there is kept, byte for byte or as the same link,
            // beside a clean file of our own with the new place.
            QCOMPARE(aside.size(), 1);
            QVERIFY2(
                QRegularExpression(QStringLiteral("^settings\\.damaged-\\d{8}-\\d{6}$")).match(aside[0]).hasMatch(),
                qPrintable(aside[0]));
            auto expected = before;
            expected[folder + QLatin1Char('/') + aside[0]] = before.at(path);
            expected.erase(path);
            auto rest = after;
            QVERIFY(rest.erase(path) == 1);
            QCOMPARE(rest, expected);
            QVERIFY(QFileInfo(path).isFile() && !QFileInfo(path).isSymLink());
            QVERIFY(settings::parseSettings(readFile(path)).clean);
            QCOMPARE(storedText(path, "Top"), std::string("1800"));
            QCOMPARE(storedText(path, "Left"), std::string("2100"));
            QCOMPARE(tree(elsewhere.path()), beforeElsewhere);
        }

        // With the fault gone, the window keeps its place again.
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        guard.path.clear();
        if (fault == QLatin1String("folder"))
            QDir(path).removeRecursively();
        else
            QFile::remove(path);
        QFile::remove(path + QStringLiteral(".lock"));
        QFile::remove(path + QStringLiteral(".lock.rmlock"));
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
        QTest::newRow("empty lock") << QStringLiteral("empty lock");
        QTest::newRow("unreadable lock") << QStringLiteral("unreadable lock");
        QTest::newRow("junk in the lock") << QStringLiteral("junk lock");
        QTest::newRow("lock a link to nothing") << QStringLiteral("dangling lock");
        QTest::newRow("lock a folder with a file in it") << QStringLiteral("folder lock");
        QTest::newRow("lock a FIFO") << QStringLiteral("fifo lock");
        QTest::newRow("stale lock, a FIFO as its removal helper") << QStringLiteral("stale lock, fifo helper");
        QTest::newRow("lock naming another machine") << QStringLiteral("other machine lock");
    }
    void startUp()
    {
        QFETCH(QString, fault);
        testsupport::Environment env;
        auto desktop = std::make_unique<RealLockDesktop>(env.desktop);
        platform::setDesktop(desktop.get());
        std::unique_ptr<filefaults::ReadOnlyFolder> readOnly;
        std::unique_ptr<NoPermissionOverride> noOverride;
        QTemporaryDir elsewhere;
        const QString lock = platform::instanceLockPath();
        const QString linkTarget = elsewhere.filePath(QStringLiteral("gone/lock"));
        if (fault == QLatin1String("empty lock")) {
            QVERIFY(writeFile(lock, QByteArray()));
        } else if (fault == QLatin1String("unreadable lock")) {
            QVERIFY(writeFile(lock, "4242\n"));
            QVERIFY(QFile::setPermissions(lock, {}));
            noOverride = std::make_unique<NoPermissionOverride>();
            QFile probe(lock);
            if (probe.open(QIODevice::ReadOnly))
                QSKIP("files cannot be made unreadable here");
        } else if (fault == QLatin1String("junk lock")) {
            QVERIFY(writeFile(lock, "\x9c\x01 Dudovuvov\n\n-7 not a lock\n"));
        } else if (fault == QLatin1String("dangling lock")) {
            QVERIFY(QFile::link(linkTarget, lock));
        } else if (fault == QLatin1String("folder lock")) {
            QVERIFY(QDir().mkpath(lock));
            QVERIFY(writeFile(lock + QStringLiteral("/inside.txt"), "keep me"));
        } else if (fault == QLatin1String("fifo lock")) {
            QVERIFY(makeFifo(lock));
        } else if (fault == QLatin1String("other machine lock")) {
            // A live process's number, as a copy elsewhere could have.
            QVERIFY(writeFile(lock, QByteArray::number(::getpid()) + "\ndudovuvov\nother-host\n"));
        } else if (fault.startsWith(QLatin1String("stale lock"))) {
            // A copy that took the lock and was killed.
            QProcess copy;
            copy.start(QStringLiteral(LOCKHOLDER), {});
            QVERIFY(copy.waitForReadyRead(20000));
            QCOMPARE(copy.readAllStandardOutput(), QByteArray("locked\n"));
            copy.kill();
            copy.waitForFinished();
            QVERIFY(QFile::exists(platform::instanceLockPath()));
            // The helper file Qt makes to remove a stale lock.
            if (fault.endsWith(QLatin1String("fifo helper")))
                QVERIFY(makeFifo(lock + QStringLiteral(".rmlock")));
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
            QVERIFY(writeFile(file, "not a folder"));
            qputenv("XDG_CONFIG_HOME", file.toLocal8Bit());
        }
        QElapsedTimer clock;
        clock.start();
        {
            std::optional<FifoUnjammer> unjam, unjamHelper;
            if (fault == QLatin1String("fifo lock"))
                unjam.emplace(lock, std::chrono::seconds(10));
            if (fault.endsWith(QLatin1String("fifo helper")))
                unjamHelper.emplace(lock + QStringLiteral(".rmlock"), std::chrono::seconds(10));
            frmmain window;
            QVERIFY2(clock.elapsed() < frozenMs, "the start waited");
            noOverride.reset();
            QVERIFY2(window.loaded(),
                     qPrintable(env.desktop.messages.value(0).text + " lock at " + platform::instanceLockPath()));
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            const testsupport::MainControls c = testsupport::controlsOf(window);
            testsupport::typeInto(c.txtgreen, QStringLiteral("77"));
            QCOMPARE(c.VScrollGreen->value(), 77);
            window.close();
        }
        // The program has ended: its lock goes with it.
        platform::setDesktop(&env.desktop);
        desktop.reset();
        QVERIFY2(env.desktop.messages.isEmpty(),
                 qPrintable(env.desktop.messages.value(0).title + ": " + env.desktop.messages.value(0).text));
        if (fault == QLatin1String("folder lock")) {
            // Not ours to clear: the program ran unguarded beside it.
            QCOMPARE(tree(lock), (std::map<QString, QByteArray>{{lock + QStringLiteral("/inside.txt"), "keep me"}}));
        } else if (fault.contains(QLatin1String(" lock"))) {
            // Taken over, and released with the program; the helper too.
            QVERIFY(!QFileInfo(lock).exists() && !QFileInfo(lock).isSymLink());
            QVERIFY(!QFileInfo::exists(linkTarget));
            QVERIFY(!QFileInfo::exists(lock + QStringLiteral(".rmlock")));
        }
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

    // The real program asked to end by a signal ends as a close of its
    // window does: its place stored, its lock released, a normal exit.
    void quitSignal_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }
    void quitSignal()
    {
        QFETCH(int, signal);
        testsupport::Environment env;
        QProcess program;
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        // As from a terminal: none of the three ignored, whatever this test inherited.
        program.setChildProcessModifier([] {
            for (const int s : {SIGTERM, SIGINT, SIGHUP})
                ::signal(s, SIG_DFL);
        });
        program.start(QStringLiteral(DUDOVUVOV_BINARY), {});
        QVERIFY(program.waitForStarted());
        // The load sequence makes the settings key once the lock is taken.
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(settingsPath(env)), 20000);
        QVERIFY(QFile::exists(platform::instanceLockPath()));
        QCOMPARE(storedText(settingsPath(env), "Top"), std::string("Error"));
        QCOMPARE(::kill(pid_t(program.processId()), signal), 0);
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        // The design position, 1155 by 765 twips.
        QCOMPARE(storedText(settingsPath(env), "Top"), std::string("765"));
        QCOMPARE(storedText(settingsPath(env), "Left"), std::string("1155"));
        QVERIFY(!QFileInfo::exists(platform::instanceLockPath()));
    }
};

int main(int argc, char *argv[])
{
#ifdef Q_OS_LINUX
    // A mount namespace of our own, so that tmpfs full disks stay private.
    privateMounts = ::unshare(CLONE_NEWNS) == 0 && ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
#endif
    // A FIFO let go by a test may leave a write with no reader: an error, not an end.
    std::signal(SIGPIPE, SIG_IGN);
    QApplication app(argc, argv);
    TestFaults test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_faults.moc"

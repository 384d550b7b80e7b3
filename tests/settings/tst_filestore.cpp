#include "../output/filefaults.h"
#include "settings/filebackend.h"
#include "settings/registry.h"
#include "settings/settingsfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using settings::FileRegistryBackend;
using settings::Registry;

namespace {

const std::string appKey = "HKEY_CURRENT_USER\\Software\\Zudedidu\\Dudovuvov";

// A Registry over the store file at `path` that records its messages.
struct Store {
    explicit Store(const QString &path) : backend(path) {}
    FileRegistryBackend backend;
    QStringList messages;
    Registry registry{backend, [this](const std::string &text) { messages << QString::fromStdString(text); }};
    std::string read(const char *name) { return registry.ReadSettingText(appKey, name); }
    void write(const char *name, const std::string &text) { registry.WriteSettingText(appKey, name, text); }
};

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void replace(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

const QByteArray goodFile = "; Dudovuvov settings\n"
                            "[HKEY_CURRENT_USER\\Software\\Zudedidu\\Dudovuvov]\n"
                            "\"Left\"=\"300\"\n"
                            "\"Top\"=\"1155\"\n";

// The writer process of the concurrency test: many writes of its own values.
int runWriter(const QString &path, const QString &prefix, int count)
{
    Store store(path);
    for (int i = 0; i < count; ++i) {
        const std::string name = (prefix + QString::number(i)).toStdString();
        store.write(name.c_str(), std::to_string(i));
    }
    return 0;
}

} // namespace

class tst_filestore : public QObject {
    Q_OBJECT
private slots:
    void init();
    void fileIsPlainTextThatReadsBack();
    void createdKeyExistsWithoutValues();
    void damagedFileIsReadAsFarAsItGoesAndRewrittenClean();
    void binaryFileReadsErrorAndIsReplacedByTheNextWrite();
    void truncatedFileNeverGivesAWrongValue();
    void unreadableFileReadsError();
    void unwritableFolderFailsSilently();
    void saveThatStopsPartWayLeavesTheOldFileWhole_data();
    void saveThatStopsPartWayLeavesTheOldFileWhole();
    void twoProcessesWritingAtOnceLoseNothing();
    void lockLeftByACrashedCopyDoesNotBlock();

private:
    std::unique_ptr<QTemporaryDir> m_config;
    QString m_path;
};

void tst_filestore::init()
{
    m_config = std::make_unique<QTemporaryDir>();
    QVERIFY(m_config->isValid());
    qputenv("XDG_CONFIG_HOME", m_config->path().toLocal8Bit());
    m_path = FileRegistryBackend::defaultFilePath();
    QCOMPARE(m_path, m_config->path() + "/dudovuvov/settings");
}

void tst_filestore::fileIsPlainTextThatReadsBack()
{
    Store store(m_path);
    store.registry.CreateSettingsKey(appKey);
    store.write("Top", "1155");
    store.write("Left", "300");
    QCOMPARE(contents(m_path), goodFile);
    // Another instance, as in the next run, reads what this one wrote.
    Store next(m_path);
    QCOMPARE(next.read("Top"), std::string("1155"));
    QCOMPARE(next.read("Left"), std::string("300"));
    // Names and texts outside plain ASCII, quotes and brackets survive.
    const std::string odd = "a\"b[c]%d\n\xE9\t";
    store.write("N\xC3\xA4me \"]", odd);
    QCOMPARE(next.read("N\xC3\xA4me \"]"), odd);
    QVERIFY(settings::parseSettings(contents(m_path)).clean);
    QVERIFY(store.messages.isEmpty());
}

void tst_filestore::createdKeyExistsWithoutValues()
{
    Store store(m_path);
    store.registry.CreateSettingsKey(appKey);
    // A neighbour whose name sorts between a key and those below it.
    store.registry.CreateSettingsKey("HKEY_CURRENT_USER\\Software\\Zudedidu 2");
    QVERIFY(contents(m_path).contains("[HKEY_CURRENT_USER\\Software\\Zudedidu\\Dudovuvov]\n"));
    FileRegistryBackend fresh(m_path);
    for (const char *sub :
         {"Software", "Software\\Zudedidu", "Software\\Zudedidu\\Dudovuvov", "software\\zudedidu 2"}) {
        settings::RegistryBackend::Key key = 0;
        QCOMPARE(fresh.openKey(0x80000001, sub, settings::KEY_READ_ACCESS, key), 0L);
        QCOMPARE(fresh.closeKey(key), 0L);
    }
    settings::RegistryBackend::Key key = 0;
    QCOMPARE(fresh.openKey(0x80000001, "Software\\Zude", settings::KEY_READ_ACCESS, key), 2L);
    QCOMPARE(store.read("Top"), std::string("Error"));
    // Keys live under the five roots that hold them; the live-data roots and
    // anything else are no handle at all.
    for (const settings::RootKey root : {0x80000000U, 0x80000002U, 0x80000003U, 0x80000005U}) {
        QCOMPARE(fresh.createKey(root, "Software", key), 0L);
        QCOMPARE(fresh.closeKey(key), 0L);
    }
    for (const settings::RootKey root : {0x80000004U, 0x80000006U, 0x80000007U, 0U})
        QCOMPARE(fresh.createKey(root, "Software", key), 6L);
}

void tst_filestore::damagedFileIsReadAsFarAsItGoesAndRewrittenClean()
{
    replace(m_path, "; Dudovuvov settings\n"
                    "[HKEY_CURRENT_USER\\Software\\Zudedidu\\Dudovuvov]\n"
                    "\"Left\"=\"300\"\n"
                    "\"Top\"=\"11%G5\"\n" // bad escape
                    "garbage without form\n"
                    "[HKEY_CURRENT_USER\\Software\\Other\n" // unclosed key
                    "\"Lost\"=\"1\"\n"
                    "[HKEY_CURRENT_USER\\Software\\Kept]\n"
                    "\"Kept\"=\"yes\"\n"
                    "\"Cut\"=\"12");
    Store store(m_path);
    QCOMPARE(store.read("Left"), std::string("300"));
    QCOMPARE(store.read("Top"), std::string("Error"));
    QCOMPARE(store.registry.ReadSettingText("HKEY_CURRENT_USER\\Software\\Kept", "Kept"), std::string("yes"));
    QCOMPARE(store.registry.ReadSettingText("HKEY_CURRENT_USER\\Software\\Kept", "Cut"), std::string("Error"));

    store.write("Top", "60");
    const auto rewritten = settings::parseSettings(contents(m_path));
    QVERIFY(rewritten.clean);
    QCOMPARE(contents(m_path), QByteArray("; Dudovuvov settings\n"
                                          "[HKEY_CURRENT_USER\\Software\\Kept]\n"
                                          "\"Kept\"=\"yes\"\n"
                                          "[HKEY_CURRENT_USER\\Software\\Zudedidu\\Dudovuvov]\n"
                                          "\"Left\"=\"300\"\n"
                                          "\"Top\"=\"60\"\n"));
}

void tst_filestore::binaryFileReadsErrorAndIsReplacedByTheNextWrite()
{
    QByteArray noise(4096, '\0');
    QRandomGenerator generator(7);
    for (char &c : noise)
        c = static_cast<char>(generator.bounded(256));
    replace(m_path, noise);
    Store store(m_path);
    QCOMPARE(store.read("Top"), std::string("Error"));
    // The key is gone with the damage: a write alone must not bring it back ...
    store.write("Top", "15");
    QCOMPARE(contents(m_path), noise);
    // ... the start-up's create does, leaving a clean file.
    store.registry.CreateSettingsKey(appKey);
    store.write("Top", "15");
    QCOMPARE(store.read("Top"), std::string("15"));
    QVERIFY(settings::parseSettings(contents(m_path)).clean);
    QVERIFY(store.messages.isEmpty());
}

void tst_filestore::truncatedFileNeverGivesAWrongValue()
{
    for (qsizetype length = 0; length <= goodFile.size(); ++length) {
        replace(m_path, goodFile.left(length));
        Store store(m_path);
        const std::string top = store.read("Top");
        const std::string left = store.read("Left");
        QVERIFY2(top == "1155" || top == "Error", qPrintable(QString::number(length)));
        QVERIFY2(left == "300" || left == "Error", qPrintable(QString::number(length)));
    }
    QCOMPARE(Store(m_path).read("Top"), std::string("1155"));
}

void tst_filestore::unreadableFileReadsError()
{
    // A folder where the file should be cannot be read by anyone.
    QVERIFY(QDir().mkpath(m_path));
    Store store(m_path);
    store.registry.CreateSettingsKey(appKey);
    store.write("Top", "15");
    QCOMPARE(store.read("Top"), std::string("Error"));
    QVERIFY(QFileInfo(m_path).isDir());
    QVERIFY(QDir().rmdir(m_path));

    if (geteuid() == 0)
        return; // permissions do not stop root
    replace(m_path, goodFile);
    QVERIFY(QFile::setPermissions(m_path, QFileDevice::WriteOwner));
    QCOMPARE(store.read("Top"), std::string("Error"));
}

void tst_filestore::unwritableFolderFailsSilently()
{
    // The program's folder cannot be made: a file stands in its place.
    const QString folder = QFileInfo(m_path).absolutePath();
    replace(folder + ".tmp", "x");
    QVERIFY(QFile::rename(folder + ".tmp", folder));
    Store blocked(m_path);
    blocked.registry.CreateSettingsKey(appKey);
    blocked.write("Top", "15");
    QCOMPARE(blocked.read("Top"), std::string("Error"));
    QVERIFY(blocked.messages.isEmpty());
    QVERIFY(QFile::remove(folder));

    if (geteuid() == 0)
        return; // permissions do not stop root
    replace(m_path, goodFile);
    QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    Store readOnly(m_path);
    readOnly.write("Top", "15");
    QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    QCOMPARE(readOnly.read("Top"), std::string("1155"));
    QCOMPARE(contents(m_path), goodFile);
}

void tst_filestore::saveThatStopsPartWayLeavesTheOldFileWhole_data()
{
    QTest::addColumn<int>("room");
    // Where the write stops: before the new file's first byte, inside the
    // old file's length, and just short of the new file's end.
    QTest::newRow("nothing written") << 0;
    QTest::newRow("stopped inside the old file's length") << 40;
    // The new file: the old one and the line "Note"="x…x" of 200 x.
    QTest::newRow("stopped a byte short of the end") << int(goodFile.size()) + 209;
}

// Writes that stop part-way, as on a full disk: the settings file on disk is
// the old one, whole, or the new one, never a mix, and nothing is left beside it.
void tst_filestore::saveThatStopsPartWayLeavesTheOldFileWhole()
{
    QFETCH(int, room);
    replace(m_path, goodFile);
    Store store(m_path);
    {
        filefaults::FileSizeLimit limit{quint64(room)};
        if (!limit.active())
            QSKIP("file sizes cannot be limited here");
        store.write("Note", std::string(200, 'x'));
    }
    QCOMPARE(contents(m_path), goodFile);
    QCOMPARE(store.read("Top"), std::string("1155"));
    QCOMPARE(QDir(QFileInfo(m_path).absolutePath()).entryList(QDir::Files | QDir::Hidden | QDir::System),
             QStringList{QStringLiteral("settings")});
    QVERIFY(store.messages.isEmpty());
    // With room again, the same write is kept.
    store.write("Note", std::string(200, 'x'));
    QCOMPARE(store.read("Note"), std::string(200, 'x'));
}

void tst_filestore::twoProcessesWritingAtOnceLoseNothing()
{
    Store store(m_path);
    store.registry.CreateSettingsKey(appKey);
    constexpr int count = 40;
    QProcess first, second;
    for (auto [process, prefix] : {std::pair{&first, "a"}, std::pair{&second, "b"}}) {
        process->setProcessChannelMode(QProcess::ForwardedChannels);
        process->start(QCoreApplication::applicationFilePath(),
                       {"--writer", m_path, QString::fromLatin1(prefix), QString::number(count)});
    }
    for (QProcess *process : {&first, &second}) {
        QVERIFY(process->waitForFinished(60000));
        QCOMPARE(process->exitCode(), 0);
    }
    const auto document = settings::parseSettings(contents(m_path));
    QVERIFY(document.clean);
    for (const char *prefix : {"a", "b"}) {
        for (int i = 0; i < count; ++i) {
            const std::string name = prefix + std::to_string(i);
            QCOMPARE(store.read(name.c_str()), std::to_string(i));
        }
    }
}

void tst_filestore::lockLeftByACrashedCopyDoesNotBlock()
{
    // A process that has ended, as a crashed copy has.
    QProcess gone;
    gone.start(QStringLiteral("true"));
    QVERIFY(gone.waitForStarted());
    const qint64 pid = gone.processId();
    QVERIFY(gone.waitForFinished());
    replace(m_path + ".lock",
            QByteArray::number(pid) + "\ntst_filestore\n" + QSysInfo::machineHostName().toUtf8() + "\n");

    Store store(m_path);
    QElapsedTimer timer;
    timer.start();
    store.registry.CreateSettingsKey(appKey);
    store.write("Top", "15");
    QCOMPARE(store.read("Top"), std::string("15"));
    QVERIFY2(timer.elapsed() < 1500, qPrintable(QString::number(timer.elapsed())));
}

int main(int argc, char *argv[])
{
    if (argc == 5 && qstrcmp(argv[1], "--writer") == 0)
        return runWriter(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]), QByteArray(argv[4]).toInt());
    QCoreApplication app(argc, argv);
    tst_filestore test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_filestore.moc"

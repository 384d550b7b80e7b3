#include "settings/filebackend.h"

#include "platform/files.h"
#include "platform/lockfiles.h"
#include "platform/regularfile.h"
#include "settings/rootkeys.h"
#include "settings/settingsfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

#include <cstdio>
#include <cstring>

namespace settings {

namespace {

// The registry's own error codes, so callers see the same results everywhere.
constexpr long errorSuccess = 0;
constexpr long errorFileNotFound = 2;
constexpr long errorAccessDenied = 5;
constexpr long errorInvalidHandle = 6;
constexpr long errorBadPathname = 161;
constexpr long errorMoreData = 234;
constexpr long errorKeyDeleted = 1018;
constexpr long errorWriteFault = 29;

constexpr std::uint32_t keyQueryValue = 0x0001;
constexpr std::uint32_t keySetValue = 0x0002;
constexpr std::uint32_t keyAllAccess = 0xF003F;

// Larger files are not settings this program wrote; reading them could stall the start.
constexpr qint64 maxFileSize = 4 * 1024 * 1024;
// Another copy holds the lock only while it rewrites the file.
constexpr int lockWaitMs = 2000;

// The full path of a key, or an error code for a path the registry refuses.
long fullPath(RootKey root, const std::string &subKey, std::string &path)
{
    const std::string_view name = keyRootName(root);
    if (name.empty())
        return errorInvalidHandle;
    if (!subKey.empty()
        && (subKey.front() == '\\' || subKey.back() == '\\' || subKey.find("\\\\") != std::string::npos))
        return errorBadPathname;
    path = subKey.empty() ? std::string(name) : std::string(name) + '\\' + subKey;
    return errorSuccess;
}

bool isRoot(const std::string &path)
{
    return path.find('\\') == std::string::npos;
}

} // namespace

QString FileRegistryBackend::defaultFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/dudovuvov/settings");
}

FileRegistryBackend::FileRegistryBackend(QString filePath) : m_filePath(std::move(filePath)) {}

FileRegistryBackend::~FileRegistryBackend() = default;

SettingsDocument FileRegistryBackend::load(FileState *state) const
{
    const auto found = [state](FileState what) {
        if (state != nullptr)
            *state = what;
    };
    const QFileInfo info(m_filePath);
    if (!info.exists()) {
        // A link to nothing leads to no file of ours.
        found(info.isSymLink() ? FileState::NotOurs : FileState::Missing);
        return {};
    }
    SettingsDocument unreadable;
    unreadable.clean = false;
    QFile file(m_filePath);
    if (!platform::openRegularFile(file, QIODevice::ReadOnly)) {
        found(FileState::Unreadable);
        return unreadable;
    }
    const QByteArray text = file.size() > maxFileSize ? QByteArray() : file.read(maxFileSize + 1);
    if (file.error() != QFileDevice::NoError) {
        found(FileState::Unreadable);
        return unreadable;
    }
    if (file.size() > maxFileSize || text.size() > maxFileSize) {
        found(FileState::NotOurs);
        return unreadable;
    }
    SettingsDocument document = parseSettings(text);
    found(document.clean ? FileState::Ours : FileState::NotOurs);
    return document;
}

bool FileRegistryBackend::save(const SettingsDocument &document) const
{
    // Never in place: a reader or a full disk must never see half a file.
    QString reason;
    return writeFileAtomically(m_filePath, formatSettings(document), reason, InPlace::Never);
}

bool FileRegistryBackend::setAside() const
{
    // std::rename moves a link itself, never what it points to.
    const QString base = m_filePath + QStringLiteral(".damaged-")
                         + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    for (int n = 1; n <= 99; ++n) {
        const QString name = n == 1 ? base : base + QLatin1Char('-') + QString::number(n);
        const QFileInfo taken(name);
        if (taken.exists() || taken.isSymLink())
            continue;
        return std::rename(QFile::encodeName(m_filePath).constData(), QFile::encodeName(name).constData()) == 0;
    }
    return false;
}

long FileRegistryBackend::changeUnderLock(
    const std::function<long(SettingsDocument &document, FileState state)> &change) const
{
    // A FIFO or link at the lock's names leaves the store alone.
    if (!platform::lockFilesUsable(m_filePath + QStringLiteral(".lock")))
        return errorAccessDenied;
    // Held until the change is saved, so no other copy writes in between.
    QLockFile lock(m_filePath + QStringLiteral(".lock"));
    if (!platform::takeLock(lock, lockWaitMs))
        return errorAccessDenied;
    FileState state = FileState::Missing;
    SettingsDocument document = load(&state);
    if (state == FileState::Unreadable)
        return errorAccessDenied;
    return change(document, state);
}

long FileRegistryBackend::createKey(RootKey root, const std::string &subKey, Key &key)
{
    std::string path;
    if (const long error = fullPath(root, subKey, path))
        return error;
    if (!isRoot(path)) {
        const QString folder = QFileInfo(m_filePath).absolutePath();
        if (!QDir().mkpath(folder))
            return errorAccessDenied;
        const long error = changeUnderLock([this, &path](SettingsDocument &document, FileState state) {
            if (document.exists(path) && state != FileState::NotOurs)
                return errorSuccess;
            if (state == FileState::NotOurs && !setAside())
                return errorAccessDenied;
            document.create(path);
            return save(document) ? errorSuccess : errorWriteFault;
        });
        if (error != errorSuccess)
            return error;
    }
    key = m_next++;
    m_open[key] = {path, keyAllAccess};
    return errorSuccess;
}

long FileRegistryBackend::openKey(RootKey root, const std::string &subKey, std::uint32_t access, Key &key)
{
    std::string path;
    if (const long error = fullPath(root, subKey, path))
        return error;
    if (!isRoot(path)) {
        if (!load().exists(path))
            return errorFileNotFound;
    }
    key = m_next++;
    m_open[key] = {path, access};
    return errorSuccess;
}

long FileRegistryBackend::queryValue(Key key, const std::string &name, std::uint32_t &type, char *buffer,
                                     std::uint32_t &size)
{
    const auto open = m_open.find(key);
    if (open == m_open.end())
        return errorInvalidHandle;
    if ((open->second.access & keyQueryValue) == 0)
        return errorAccessDenied;
    SettingsDocument document = load();
    if (!isRoot(open->second.path) && !document.exists(open->second.path))
        return errorKeyDeleted;
    const StoredKey *stored = document.find(open->second.path);
    if (stored == nullptr)
        return errorFileNotFound;
    const auto value = stored->values.find(foldCase(name));
    if (value == stored->values.end())
        return errorFileNotFound;
    const std::string &data = value->second.data;
    type = value->second.type;
    const std::uint32_t available = size;
    size = static_cast<std::uint32_t>(data.size());
    if (buffer == nullptr)
        return errorSuccess;
    if (data.size() > available)
        return errorMoreData;
    std::memcpy(buffer, data.data(), data.size());
    return errorSuccess;
}

long FileRegistryBackend::setValue(Key key, const std::string &name, std::uint32_t type, const char *data,
                                   std::uint32_t size)
{
    const auto open = m_open.find(key);
    if (open == m_open.end())
        return errorInvalidHandle;
    if ((open->second.access & keySetValue) == 0)
        return errorAccessDenied;
    const std::string &path = open->second.path;
    return changeUnderLock([&](SettingsDocument &document, FileState state) {
        if (!isRoot(path) && !document.exists(path))
            return errorKeyDeleted;
        if (state == FileState::NotOurs && !setAside())
            return errorAccessDenied;
        StoredKey *stored = &document.create(path);
        stored->values[foldCase(name)] = {name, type, std::string(data, size)};
        return save(document) ? errorSuccess : errorWriteFault;
    });
}

long FileRegistryBackend::closeKey(Key key)
{
    return m_open.erase(key) == 1 ? errorSuccess : errorInvalidHandle;
}

} // namespace settings

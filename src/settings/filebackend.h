#pragma once

#include "settings/registry.h"

#include <QString>

#include <functional>
#include <map>

namespace settings {

struct SettingsDocument;

// The settings store on platforms without a registry: one file per user,
// replaced atomically on every change, with changes from several processes
// serialized by a lock file beside it. A damaged file is read as far as it
// can be; the next change moves it aside, kept, and writes a clean one. A
// link is written through only to a file of our own. Anything that is not a
// regular file, and a file we may not read, is left alone.
class FileRegistryBackend final : public RegistryBackend {
public:
    // $XDG_CONFIG_HOME/dudovuvov/settings (~/.config when the variable is unset).
    static QString defaultFilePath();

    explicit FileRegistryBackend(QString filePath = defaultFilePath());
    ~FileRegistryBackend() override;

    long createKey(RootKey root, const std::string &subKey, Key &key) override;
    long openKey(RootKey root, const std::string &subKey, std::uint32_t access, Key &key) override;
    long queryValue(Key key, const std::string &name, std::uint32_t &type, char *buffer, std::uint32_t &size) override;
    long setValue(Key key, const std::string &name, std::uint32_t type, const char *data, std::uint32_t size) override;
    long closeKey(Key key) override;

    QString filePath() const { return m_filePath; }

private:
    struct OpenKey {
        std::string path;
        std::uint32_t access = 0;
    };
    // What stands at the file's name.
    enum class FileState {
        Missing,
        Ours,       // reads back whole
        NotOurs,    // something we cannot read back: kept aside before a write
        Unreadable, // not a regular file, or no permission: left alone
    };
    SettingsDocument load(FileState *state = nullptr) const;
    bool save(const SettingsDocument &document) const;
    bool setAside() const;
    // Loads the file under its lock and hands it to `change`, which saves
    // what it changes; an error code where the lock or the file is unusable,
    // else what `change` returns.
    long changeUnderLock(const std::function<long(SettingsDocument &document, FileState state)> &change) const;

    QString m_filePath;
    std::map<Key, OpenKey> m_open;
    Key m_next = 1;
};

} // namespace settings

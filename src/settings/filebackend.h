#pragma once

#include "settings/registry.h"

#include <QString>

#include <map>

namespace settings {

struct SettingsDocument;

// The settings store on platforms without a registry: one file per user,
// replaced atomically on every change, with changes from several processes
// serialized by a lock file beside it. A damaged file is read as far as it
// can be and rewritten clean by the next change.
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
    SettingsDocument load() const;
    bool save(const SettingsDocument &document) const;

    QString m_filePath;
    std::map<Key, OpenKey> m_open;
    Key m_next = 1;
};

} // namespace settings

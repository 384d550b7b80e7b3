#pragma once

#include "settings/rootkeys.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// The settings store: string values under registry-style key paths such as
// "HKEY_CURRENT_USER\Software\Zudedidu\Dudovuvov". Standard C++ only, so the
// same source runs over the Windows registry and over the file store.
namespace settings {

constexpr std::uint32_t KEY_READ_ACCESS = 0x20019;
constexpr std::uint32_t KEY_WRITE_ACCESS = 0x20006;
constexpr std::uint32_t REG_SZ_TYPE = 1;

// The five storage calls the store needs, with the registry's conventions:
// every call returns 0 on success and an error code otherwise.
class RegistryBackend {
public:
    using Key = std::uintptr_t;

    virtual ~RegistryBackend() = default;
    // Creates the key and any missing keys above it, or opens it when it exists.
    virtual long createKey(RootKey root, const std::string &subKey, Key &key) = 0;
    virtual long openKey(RootKey root, const std::string &subKey, std::uint32_t access, Key &key) = 0;
    // Copies the value's data into buffer; fails when the value is missing or
    // its data needs more than size bytes. size comes back as the data's size.
    virtual long queryValue(Key key, const std::string &name, std::uint32_t &type, char *buffer,
                            std::uint32_t &size) = 0;
    virtual long setValue(Key key, const std::string &name, std::uint32_t type, const char *data,
                          std::uint32_t size) = 0;
    virtual long closeKey(Key key) = 0;
};

struct SplitPath {
    RootKey root = 0;
    std::string subKey;
};

// Shows the malformed-path message: a message box with this text, a single
// OK button, no icon and no title of its own.
using MessageSink = std::function<void(const std::string &text)>;

class Registry {
public:
    Registry(RegistryBackend &backend, MessageSink showMessage);

    static RootKey LookupRootKey(std::string_view name);
    SplitPath SplitKeyPath(std::string_view path) const;
    void CreateSettingsKey(std::string_view path);
    // The value's text; "Error" when the key or value cannot be read; empty
    // when the path names no root key.
    std::string ReadSettingText(std::string_view path, const std::string &valueName);
    // Never creates a missing key.
    void WriteSettingText(std::string_view path, const std::string &valueName, const std::string &text);

private:
    RegistryBackend &m_backend;
    MessageSink m_showMessage;
};

} // namespace settings

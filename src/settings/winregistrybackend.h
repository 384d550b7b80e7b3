#pragma once

#include "settings/registry.h"

namespace settings {

// The Windows registry through advapi32.
class WinRegistryBackend final : public RegistryBackend {
public:
    long createKey(RootKey root, const std::string &subKey, Key &key) override;
    long openKey(RootKey root, const std::string &subKey, std::uint32_t access, Key &key) override;
    long queryValue(Key key, const std::string &name, std::uint32_t &type, char *buffer, std::uint32_t &size) override;
    long setValue(Key key, const std::string &name, std::uint32_t type, const char *data, std::uint32_t size) override;
    long closeKey(Key key) override;
};

} // namespace settings

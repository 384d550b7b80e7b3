#include "settings/winregistrybackend.h"

#include <windows.h>

namespace settings {

namespace {

// The predefined handles are 32-bit values sign-extended to the pointer size.
HKEY rootHandle(RootKey root)
{
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
}

HKEY handle(RegistryBackend::Key key)
{
    return reinterpret_cast<HKEY>(key);
}

} // namespace

long WinRegistryBackend::createKey(RootKey root, const std::string &subKey, Key &key)
{
    HKEY created = nullptr;
    const LONG result = RegCreateKeyA(rootHandle(root), subKey.c_str(), &created);
    key = reinterpret_cast<Key>(created);
    return result;
}

long WinRegistryBackend::openKey(RootKey root, const std::string &subKey, std::uint32_t access, Key &key)
{
    HKEY opened = nullptr;
    const LONG result = RegOpenKeyExA(rootHandle(root), subKey.c_str(), 0, access, &opened);
    key = reinterpret_cast<Key>(opened);
    return result;
}

long WinRegistryBackend::queryValue(Key key, const std::string &name, std::uint32_t &type, char *buffer,
                                    std::uint32_t &size)
{
    DWORD valueType = type;
    DWORD valueSize = size;
    const LONG result =
        RegQueryValueExA(handle(key), name.c_str(), nullptr, &valueType, reinterpret_cast<BYTE *>(buffer), &valueSize);
    type = valueType;
    size = valueSize;
    return result;
}

long WinRegistryBackend::setValue(Key key, const std::string &name, std::uint32_t type, const char *data,
                                  std::uint32_t size)
{
    return RegSetValueExA(handle(key), name.c_str(), 0, type, reinterpret_cast<const BYTE *>(data), size);
}

long WinRegistryBackend::closeKey(Key key)
{
    return RegCloseKey(handle(key));
}

} // namespace settings

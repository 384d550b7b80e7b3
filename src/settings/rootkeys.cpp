#include "settings/rootkeys.h"

#include <array>

namespace settings {

namespace {

struct RootKeyEntry {
    std::string_view name;
    RootKey handle;
    bool holdsKeys;
};

constexpr std::array<RootKeyEntry, 7> rootKeys = {{
    {"HKEY_CLASSES_ROOT", 0x80000000, true},
    {"HKEY_CURRENT_USER", 0x80000001, true},
    {"HKEY_LOCAL_MACHINE", 0x80000002, true},
    {"HKEY_USERS", 0x80000003, true},
    {"HKEY_PERFORMANCE_DATA", 0x80000004, false},
    {"HKEY_CURRENT_CONFIG", 0x80000005, true},
    {"HKEY_DYN_DATA", 0x80000006, false},
}};

} // namespace

RootKey rootKeyNamed(std::string_view name)
{
    for (const RootKeyEntry &root : rootKeys) {
        if (name == root.name)
            return root.handle;
    }
    return 0;
}

std::string_view keyRootName(RootKey root)
{
    for (const RootKeyEntry &entry : rootKeys) {
        if (entry.handle == root)
            return entry.holdsKeys ? entry.name : std::string_view();
    }
    return {};
}

} // namespace settings

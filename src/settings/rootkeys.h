#pragma once

#include <cstdint>
#include <string_view>

namespace settings {

// A predefined root key as its 32-bit handle value (0x80000000...), 0 for none.
using RootKey = std::uint32_t;

// The root key of this exact name ("HKEY_CURRENT_USER"); 0 for none.
RootKey rootKeyNamed(std::string_view name);

// The name of a root that holds keys; empty for the two that exist only as
// live system data, and for anything that is no root.
std::string_view keyRootName(RootKey root);

} // namespace settings

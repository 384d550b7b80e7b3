#pragma once

#include "settings/registry.h"

#include <memory>

namespace settings {

// The platform's own store: the registry on Windows, the per-user file elsewhere.
std::unique_ptr<RegistryBackend> systemBackend();

} // namespace settings

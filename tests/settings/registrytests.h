#pragma once

#include "settings/registry.h"

#include <memory>

// Supplied by each test program: the store the shared Registry tests run on.
std::unique_ptr<settings::RegistryBackend> makeTestBackend();

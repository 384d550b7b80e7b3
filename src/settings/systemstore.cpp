#include "settings/systemstore.h"

#ifdef _WIN32
#include "settings/winregistrybackend.h"
#else
#include "settings/filebackend.h"
#endif

namespace settings {

std::unique_ptr<RegistryBackend> systemBackend()
{
#ifdef _WIN32
    return std::make_unique<WinRegistryBackend>();
#else
    return std::make_unique<FileRegistryBackend>();
#endif
}

} // namespace settings

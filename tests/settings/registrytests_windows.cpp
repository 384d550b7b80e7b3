// The shared Registry tests over the Windows registry.
#include "registrytests.h"

#include "minitest.h"
#include "settings/winregistrybackend.h"

std::unique_ptr<settings::RegistryBackend> makeTestBackend()
{
    return std::make_unique<settings::WinRegistryBackend>();
}

int main()
{
    return minitest::runAll("Registry over the Windows registry");
}

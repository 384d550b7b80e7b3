// The shared Registry tests over the file store, in a private config folder.
#include "registrytests.h"

#include "minitest.h"
#include "settings/filebackend.h"

#include <QTemporaryDir>

namespace {
QString storePath;
}

std::unique_ptr<settings::RegistryBackend> makeTestBackend()
{
    return std::make_unique<settings::FileRegistryBackend>(storePath);
}

int main()
{
    QTemporaryDir config;
    if (!config.isValid())
        return 2;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    storePath = settings::FileRegistryBackend::defaultFilePath();
    if (!storePath.startsWith(config.path()))
        return 2;
    return minitest::runAll("Registry over the file store");
}

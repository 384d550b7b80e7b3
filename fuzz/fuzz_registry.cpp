// The settings store over the file backend, starting from any bytes as the
// file: SplitKeyPath over any path, and text written under any path and name
// reads back as it was written wherever the store can hold it.
#include "fuzzsupport.h"
#include "settings/filebackend.h"
#include "settings/registry.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

const QString &storeFile()
{
    static QTemporaryDir dir;
    static const QString path = dir.path() + QStringLiteral("/dudovuvov/settings");
    QDir().mkpath(dir.path() + QStringLiteral("/dudovuvov"));
    return path;
}

bool knownRoot(std::string_view segment)
{
    return settings::Registry::LookupRootKey(segment) != 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider provider(data, size);
    const std::string prefixes[] = {"", "HKEY_CURRENT_USER\\Software\\Zudedidu\\", "HKEY_LOCAL_MACHINE\\", "HKEY_"};
    const std::string path = prefixes[provider.ConsumeIntegralInRange(0, 3)] + provider.ConsumeRandomLengthString(80);
    const std::string name = provider.ConsumeRandomLengthString(40);
    const std::string text = provider.ConsumeRandomLengthString(300);
    const std::string before = provider.ConsumeRemainingBytesAsString();

    // Whatever was in the file before; what the store kept aside of earlier
    // damaged files goes, or the folder would fill up.
    const QDir folder = QFileInfo(storeFile()).dir();
    for (const QString &kept : folder.entryList({QStringLiteral("settings.damaged-*")}, QDir::Files | QDir::Hidden))
        QFile::remove(folder.filePath(kept));
    {
        QFile file(storeFile());
        FUZZ_REQUIRE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(before.data(), qsizetype(before.size()));
    }

    int messages = 0;
    settings::FileRegistryBackend backend(storeFile());
    settings::Registry registry(backend, [&messages](const std::string &) { ++messages; });

    const settings::SplitPath split = registry.SplitKeyPath(path);
    const bool wellFormed = path.starts_with("HKEY_") && !path.ends_with('\\');
    FUZZ_REQUIRE(messages == (wellFormed ? 0 : 1));
    const auto separator = path.find('\\');
    const std::string first = path.substr(0, separator);
    FUZZ_REQUIRE(split.root == (wellFormed && knownRoot(first) ? settings::Registry::LookupRootKey(first) : 0));
    if (split.root != 0)
        FUZZ_REQUIRE(split.subKey == (separator == std::string::npos ? "" : path.substr(separator + 1)));

    registry.CreateSettingsKey(path);
    registry.WriteSettingText(path, name, text);
    const std::string read = registry.ReadSettingText(path, name);
    if (split.root == 0) {
        FUZZ_REQUIRE(read.empty());
        return 0;
    }
    // What the store holds as written: a text of up to 254 bytes without a
    // NUL and without blanks at its ends (reading trims them), under a key
    // path without empty parts, in a root that keeps keys.
    const bool holdable = text.size() <= 254 && text.find('\0') == std::string::npos
                          && (text.empty() || (text.front() != ' ' && text.back() != ' ')) && !split.subKey.empty()
                          && split.subKey.front() != '\\' && split.subKey.find("\\\\") == std::string::npos
                          && first != "HKEY_PERFORMANCE_DATA" && first != "HKEY_DYN_DATA";
    if (holdable)
        FUZZ_REQUIRE(read == text);
    return 0;
}

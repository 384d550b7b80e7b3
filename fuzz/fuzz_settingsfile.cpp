// Any bytes as the settings file: read as far as they can be, and whatever
// was read survives being written out and read again, exactly.
#include "fuzzsupport.h"
#include "settings/settingsfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const settings::SettingsDocument read =
        settings::parseSettings(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    const QByteArray written = settings::formatSettings(read);
    const settings::SettingsDocument again = settings::parseSettings(written);
    FUZZ_REQUIRE(again.clean);
    FUZZ_REQUIRE(settings::formatSettings(again) == written);
    FUZZ_REQUIRE(again.keys.size() == read.keys.size());
    for (const auto &[folded, key] : read.keys) {
        const auto found = again.keys.find(folded);
        FUZZ_REQUIRE(found != again.keys.end());
        FUZZ_REQUIRE(found->second.path == key.path);
        FUZZ_REQUIRE(found->second.values.size() == key.values.size());
        for (const auto &[valueName, value] : key.values) {
            const auto v = found->second.values.find(valueName);
            FUZZ_REQUIRE(v != found->second.values.end());
            FUZZ_REQUIRE(v->second.name == value.name && v->second.type == value.type && v->second.data == value.data);
        }
    }
    return 0;
}

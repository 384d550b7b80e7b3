// The file-name part and the folder part of any path, with either separator:
// together they give the path back, and the name holds no separator.
#include "fuzzsupport.h"
#include "platform/pathparts.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString path = fuzz::textFrom(data, size);
    for (const QChar separator : {QLatin1Char('/'), QLatin1Char('\\')}) {
        const QString name = GetFileName(path, separator);
        const QString folder = ReplaceFileName(path, separator);
        FUZZ_REQUIRE(!name.contains(separator));
        if (path.contains(separator)) {
            FUZZ_REQUIRE(folder.endsWith(separator));
            FUZZ_REQUIRE(folder + name == path);
        } else {
            FUZZ_REQUIRE(name == path);
            FUZZ_REQUIRE(folder == path);
        }
    }
    return 0;
}

// Registry tests shared by every storage backend. Plain C++ so the same
// source runs against the Windows registry.

#include "registrytests.h"

#include "minitest.h"

#include <string>
#include <vector>

using settings::Registry;
using settings::RegistryBackend;

namespace {

const std::string appKey = "HKEY_CURRENT_USER\\Software\\Zudedidu\\Dudovuvov";
const std::string testRoot = "HKEY_CURRENT_USER\\Software\\Zudedidu\\DudovuvovTests\\";

// Counts the keys a backend hands out and gets back.
class CountingBackend final : public RegistryBackend {
public:
    explicit CountingBackend(RegistryBackend &inner) : m_inner(inner) {}
    int open = 0;

    long createKey(settings::RootKey root, const std::string &subKey, Key &key) override
    {
        const long r = m_inner.createKey(root, subKey, key);
        open += r == 0 ? 1 : 0;
        return r;
    }
    long openKey(settings::RootKey root, const std::string &subKey, std::uint32_t access, Key &key) override
    {
        const long r = m_inner.openKey(root, subKey, access, key);
        open += r == 0 ? 1 : 0;
        return r;
    }
    long queryValue(Key key, const std::string &name, std::uint32_t &type, char *buffer, std::uint32_t &size) override
    {
        return m_inner.queryValue(key, name, type, buffer, size);
    }
    long setValue(Key key, const std::string &name, std::uint32_t type, const char *data, std::uint32_t size) override
    {
        return m_inner.setValue(key, name, type, data, size);
    }
    long closeKey(Key key) override
    {
        --open;
        return m_inner.closeKey(key);
    }

private:
    RegistryBackend &m_inner;
};

struct Fixture {
    std::unique_ptr<RegistryBackend> backend = makeTestBackend();
    std::vector<std::string> messages;
    Registry registry{*backend, [this](const std::string &text) { messages.push_back(text); }};
};

// The raw bytes of a value, or the call's error code as text.
std::string rawValue(RegistryBackend &backend, settings::RootKey root, const std::string &subKey,
                     const std::string &name)
{
    RegistryBackend::Key key = 0;
    if (const long r = backend.openKey(root, subKey, settings::KEY_READ_ACCESS, key))
        return "open error " + std::to_string(r);
    std::string buffer(1024, '\x7f');
    auto size = static_cast<std::uint32_t>(buffer.size());
    std::uint32_t type = 0;
    const long r = backend.queryValue(key, name, type, buffer.data(), size);
    backend.closeKey(key);
    if (r != 0)
        return "query error " + std::to_string(r);
    return "type " + std::to_string(type) + ": " + buffer.substr(0, size);
}

bool keyExists(RegistryBackend &backend, const std::string &subKey)
{
    RegistryBackend::Key key = 0;
    if (backend.openKey(0x80000001, subKey, settings::KEY_READ_ACCESS, key) != 0)
        return false;
    backend.closeKey(key);
    return true;
}

std::string sub(const std::string &path)
{
    return path.substr(std::string("HKEY_CURRENT_USER\\").size());
}

} // namespace

TEST_CASE(root_key_names)
{
    CHECK_EQ(Registry::LookupRootKey("HKEY_CLASSES_ROOT"), 0x80000000U);
    CHECK_EQ(Registry::LookupRootKey("HKEY_CURRENT_USER"), 0x80000001U);
    CHECK_EQ(Registry::LookupRootKey("HKEY_LOCAL_MACHINE"), 0x80000002U);
    CHECK_EQ(Registry::LookupRootKey("HKEY_USERS"), 0x80000003U);
    CHECK_EQ(Registry::LookupRootKey("HKEY_PERFORMANCE_DATA"), 0x80000004U);
    CHECK_EQ(Registry::LookupRootKey("HKEY_CURRENT_CONFIG"), 0x80000005U);
    CHECK_EQ(Registry::LookupRootKey("HKEY_DYN_DATA"), 0x80000006U);
    // Exact names only.
    CHECK_EQ(Registry::LookupRootKey("hkey_current_user"), 0U);
    CHECK_EQ(Registry::LookupRootKey("HKEY_CURRENT_USERS"), 0U);
    CHECK_EQ(Registry::LookupRootKey("HKEY_CURRENT"), 0U);
    CHECK_EQ(Registry::LookupRootKey(""), 0U);
}

TEST_CASE(split_key_path)
{
    Fixture f;
    auto split = f.registry.SplitKeyPath("HKEY_CURRENT_USER");
    CHECK_EQ(split.root, 0x80000001U);
    CHECK_EQ(split.subKey, std::string());
    split = f.registry.SplitKeyPath(appKey);
    CHECK_EQ(split.root, 0x80000001U);
    CHECK_EQ(split.subKey, std::string("Software\\Zudedidu\\Dudovuvov"));
    split = f.registry.SplitKeyPath("HKEY_LOCAL_MACHINE\\Software");
    CHECK_EQ(split.root, 0x80000002U);
    CHECK_EQ(split.subKey, std::string("Software"));
    // Well-formed but unknown: no root and no message.
    split = f.registry.SplitKeyPath("HKEY_NOWHERE\\Software");
    CHECK_EQ(split.root, 0U);
    CHECK(f.messages.empty());

    const std::vector<std::string> malformed = {"hkey_current_user\\Software\\Zudedidu\\Dudovuvov",
                                                "HKEY_CURRENT_USER\\Software\\",
                                                "HKEY_CURRENT_USER\\",
                                                "HKEY",
                                                "",
                                                "Software\\HKEY_CURRENT_USER"};
    for (const std::string &path : malformed) {
        f.messages.clear();
        CHECK_EQ(f.registry.SplitKeyPath(path).root, 0U);
        CHECK_EQ(f.messages.size(), 1U);
        CHECK_EQ(f.messages.front(), "Incorrect Format:\n\n" + path);
    }
}

TEST_CASE(first_start_creates_the_key_and_reads_error)
{
    Fixture f;
    CHECK_EQ(f.registry.ReadSettingText(appKey, "Top"), std::string("Error"));
    CHECK(!keyExists(*f.backend, sub(appKey)));
    f.registry.CreateSettingsKey(appKey);
    CHECK(keyExists(*f.backend, sub(appKey)));
    CHECK_EQ(f.registry.ReadSettingText(appKey, "Top"), std::string("Error"));
    CHECK_EQ(f.registry.ReadSettingText(appKey, "Left"), std::string("Error"));
    // Creating it again opens what is there.
    f.registry.CreateSettingsKey(appKey);
    CHECK(keyExists(*f.backend, sub(appKey)));
    CHECK(f.messages.empty());
}

TEST_CASE(values_round_trip_as_nul_terminated_strings)
{
    Fixture f;
    const std::string key = testRoot + "RoundTrip";
    f.registry.CreateSettingsKey(key);
    f.registry.WriteSettingText(key, "Top", "1155");
    CHECK_EQ(rawValue(*f.backend, 0x80000001, sub(key), "Top"), std::string("type 1: 1155") + '\0');
    CHECK_EQ(f.registry.ReadSettingText(key, "Top"), std::string("1155"));

    f.registry.WriteSettingText(key, "Top", "-60");
    CHECK_EQ(f.registry.ReadSettingText(key, "Top"), std::string("-60"));
    // Leading blanks go, trailing ones stay.
    f.registry.WriteSettingText(key, "Blanks", "  42  ");
    CHECK_EQ(f.registry.ReadSettingText(key, "Blanks"), std::string("42  "));
    f.registry.WriteSettingText(key, "Empty", "");
    CHECK_EQ(rawValue(*f.backend, 0x80000001, sub(key), "Empty"), std::string("type 1: ") + '\0');
    CHECK_EQ(f.registry.ReadSettingText(key, "Empty"), std::string());
    CHECK_EQ(f.registry.ReadSettingText(key, "Missing"), std::string("Error"));
    CHECK(f.messages.empty());
}

TEST_CASE(values_longer_than_the_read_buffer_give_error)
{
    Fixture f;
    const std::string key = testRoot + "Long";
    f.registry.CreateSettingsKey(key);
    const std::string fits(254, '7');
    f.registry.WriteSettingText(key, "Fits", fits);
    CHECK_EQ(f.registry.ReadSettingText(key, "Fits"), fits);
    f.registry.WriteSettingText(key, "OneTooMany", std::string(255, '7'));
    CHECK_EQ(f.registry.ReadSettingText(key, "OneTooMany"), std::string("Error"));
    const std::string long300(300, 'x');
    f.registry.WriteSettingText(key, "Long", long300);
    CHECK_EQ(rawValue(*f.backend, 0x80000001, sub(key), "Long"), "type 1: " + long300 + '\0');
    CHECK_EQ(f.registry.ReadSettingText(key, "Long"), std::string("Error"));
}

TEST_CASE(a_write_never_creates_a_key)
{
    Fixture f;
    const std::string key = testRoot + "NeverCreated";
    f.registry.WriteSettingText(key, "Top", "1155");
    CHECK(!keyExists(*f.backend, sub(key)));
    CHECK_EQ(f.registry.ReadSettingText(key, "Top"), std::string("Error"));
    CHECK(f.messages.empty());
}

TEST_CASE(malformed_and_unknown_paths_do_nothing)
{
    Fixture f;
    const std::string lower = "hkey_current_user\\Software\\Zudedidu\\DudovuvovTests\\Lower";
    f.registry.CreateSettingsKey(lower);
    f.registry.WriteSettingText(lower, "Top", "1");
    CHECK_EQ(f.registry.ReadSettingText(lower, "Top"), std::string());
    CHECK_EQ(f.messages.size(), 3U);
    CHECK_EQ(f.messages.back(), "Incorrect Format:\n\n" + lower);
    CHECK(!keyExists(*f.backend, "Software\\Zudedidu\\DudovuvovTests\\Lower"));

    f.messages.clear();
    const std::string trailing = testRoot + "Trailing\\";
    f.registry.CreateSettingsKey(trailing);
    CHECK_EQ(f.registry.ReadSettingText(trailing, "Top"), std::string());
    CHECK_EQ(f.messages.size(), 2U);
    CHECK(!keyExists(*f.backend, "Software\\Zudedidu\\DudovuvovTests\\Trailing"));

    f.messages.clear();
    const std::string unknown = "HKEY_NOWHERE\\Software\\Zudedidu\\DudovuvovTests\\Unknown";
    f.registry.CreateSettingsKey(unknown);
    f.registry.WriteSettingText(unknown, "Top", "1");
    CHECK_EQ(f.registry.ReadSettingText(unknown, "Top"), std::string());
    CHECK(f.messages.empty());
}

TEST_CASE(key_and_value_names_ignore_case)
{
    Fixture f;
    const std::string key = testRoot + "Case";
    f.registry.CreateSettingsKey(key);
    f.registry.WriteSettingText(key, "Top", "300");
    CHECK_EQ(f.registry.ReadSettingText(testRoot + "CASE", "tOP"), std::string("300"));
    f.registry.WriteSettingText(testRoot + "case", "TOP", "400");
    CHECK_EQ(f.registry.ReadSettingText(key, "Top"), std::string("400"));
}

TEST_CASE(every_key_is_closed_before_an_operation_returns)
{
    Fixture f;
    CountingBackend counting(*f.backend);
    Registry registry(counting, [](const std::string &) {});
    const std::string key = testRoot + "Closed";
    registry.ReadSettingText(key, "Top"); // key missing
    CHECK_EQ(counting.open, 0);
    registry.CreateSettingsKey(key);
    CHECK_EQ(counting.open, 0);
    registry.ReadSettingText(key, "Top"); // value missing
    CHECK_EQ(counting.open, 0);
    registry.WriteSettingText(key, "Top", "15");
    CHECK_EQ(counting.open, 0);
    registry.WriteSettingText(key, "Long", std::string(300, 'x'));
    registry.ReadSettingText(key, "Long"); // does not fit
    CHECK_EQ(counting.open, 0);
    CHECK_EQ(registry.ReadSettingText(key, "Top"), std::string("15"));
    CHECK_EQ(counting.open, 0);
}

#include "settings/registry.h"

#include "settings/rootkeys.h"

#include <utility>

namespace settings {

namespace {

constexpr std::size_t readBufferSize = 255;

std::string trimSpaces(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

} // namespace

Registry::Registry(RegistryBackend &backend, MessageSink showMessage) :
    m_backend(backend), m_showMessage(std::move(showMessage))
{
}

RootKey Registry::LookupRootKey(std::string_view name)
{
    return rootKeyNamed(name);
}

SplitPath Registry::SplitKeyPath(std::string_view path) const
{
    if (!path.starts_with("HKEY_") || path.ends_with('\\')) {
        if (m_showMessage)
            m_showMessage("Incorrect Format:\n\n" + std::string(path));
        return {};
    }
    const auto separator = path.find('\\');
    if (separator == std::string_view::npos)
        return {LookupRootKey(path), {}};
    return {LookupRootKey(path.substr(0, separator)), std::string(path.substr(separator + 1))};
}

void Registry::CreateSettingsKey(std::string_view path)
{
    const SplitPath split = SplitKeyPath(path);
    if (split.root == 0)
        return;
    RegistryBackend::Key key = 0;
    if (m_backend.createKey(split.root, split.subKey, key) == 0)
        m_backend.closeKey(key);
}

std::string Registry::ReadSettingText(std::string_view path, const std::string &valueName)
{
    const SplitPath split = SplitKeyPath(path);
    if (split.root == 0)
        return {};
    RegistryBackend::Key key = 0;
    if (m_backend.openKey(split.root, split.subKey, KEY_READ_ACCESS, key) != 0)
        return "Error";
    std::string buffer(readBufferSize, ' ');
    auto size = static_cast<std::uint32_t>(buffer.size());
    std::uint32_t type = REG_SZ_TYPE;
    const long queried = m_backend.queryValue(key, valueName, type, buffer.data(), size);
    m_backend.closeKey(key);
    if (queried != 0)
        return "Error";
    // The text, its NUL, then the buffer's remaining spaces.
    std::string text = trimSpaces(buffer);
    // Data stored without a terminator keeps its last character.
    if (!text.empty() && text.back() == '\0')
        text.pop_back();
    return text;
}

void Registry::WriteSettingText(std::string_view path, const std::string &valueName, const std::string &text)
{
    const SplitPath split = SplitKeyPath(path);
    if (split.root == 0)
        return;
    RegistryBackend::Key key = 0;
    if (m_backend.openKey(split.root, split.subKey, KEY_WRITE_ACCESS, key) != 0)
        return;
    m_backend.setValue(key, valueName, REG_SZ_TYPE, text.c_str(), static_cast<std::uint32_t>(text.size() + 1));
    m_backend.closeKey(key);
}

} // namespace settings

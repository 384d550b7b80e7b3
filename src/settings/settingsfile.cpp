#include "settings/settingsfile.h"

#include "platform/ascii.h"

#include <optional>

namespace settings {

namespace {

constexpr char header[] = "; Dudovuvov settings\n";
constexpr char hexDigits[] = "0123456789ABCDEF";

bool needsEscape(unsigned char c)
{
    return c < 0x20 || c >= 0x7F || c == '%' || c == '"' || c == '[' || c == ']';
}

void appendEscaped(QByteArray &out, const std::string &text)
{
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (needsEscape(c)) {
            out.append('%');
            out.append(hexDigits[c >> 4]);
            out.append(hexDigits[c & 0xF]);
        } else {
            out.append(ch);
        }
    }
}

// The file writes its escapes with upper-case digits and reads only those.
int upperHexValue(char c)
{
    return c >= 'a' && c <= 'f' ? -1 : ascii::hexValue(c);
}

std::optional<std::string> unescape(QByteArrayView text)
{
    std::string out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (ch == '%') {
            if (i + 2 >= text.size())
                return std::nullopt;
            const int high = upperHexValue(text[i + 1]);
            const int low = upperHexValue(text[i + 2]);
            if (high < 0 || low < 0)
                return std::nullopt;
            out.push_back(static_cast<char>(high * 16 + low));
            i += 2;
        } else if (needsEscape(static_cast<unsigned char>(ch))) {
            return std::nullopt;
        } else {
            out.push_back(ch);
        }
    }
    return out;
}

// A key path names a known root and has no empty parts.
bool validKeyPath(const std::string &path)
{
    if (path.empty() || path.front() == '\\' || path.back() == '\\' || path.find("\\\\") != std::string::npos)
        return false;
    return path.starts_with("HKEY_");
}

// `"name"="text"` for a string with its NUL, `"name"=TYPE:"bytes"` for anything else.
std::optional<StoredValue> parseValue(QByteArrayView line)
{
    if (!line.startsWith('"'))
        return std::nullopt;
    const qsizetype nameEnd = line.indexOf('"', 1);
    if (nameEnd < 0 || line.size() < nameEnd + 3 || line[nameEnd + 1] != '=')
        return std::nullopt;
    const auto name = unescape(line.sliced(1, nameEnd - 1));
    if (!name)
        return std::nullopt;
    StoredValue value;
    value.name = *name;
    QByteArrayView rest = line.sliced(nameEnd + 2);
    bool terminated = true;
    value.type = 1;
    if (!rest.startsWith('"')) {
        const qsizetype colon = rest.indexOf(':');
        if (colon <= 0)
            return std::nullopt;
        bool ok = false;
        value.type = rest.first(colon).toByteArray().toUInt(&ok);
        if (!ok)
            return std::nullopt;
        rest = rest.sliced(colon + 1);
        terminated = false;
    }
    if (rest.size() < 2 || !rest.startsWith('"') || !rest.endsWith('"'))
        return std::nullopt;
    const auto data = unescape(rest.sliced(1, rest.size() - 2));
    if (!data)
        return std::nullopt;
    value.data = *data;
    if (terminated)
        value.data.push_back('\0');
    return value;
}

} // namespace

std::string foldCase(std::string text)
{
    return ascii::lowered(std::move(text));
}

StoredKey *SettingsDocument::find(const std::string &path)
{
    const auto it = keys.find(foldCase(path));
    return it == keys.end() ? nullptr : &it->second;
}

bool SettingsDocument::exists(const std::string &path) const
{
    const std::string folded = foldCase(path);
    if (keys.contains(folded))
        return true;
    // Keys below it sort together, right after the prefix.
    const std::string below = folded + '\\';
    const auto it = keys.lower_bound(below);
    return it != keys.end() && it->first.starts_with(below);
}

StoredKey &SettingsDocument::create(const std::string &path)
{
    return keys.try_emplace(foldCase(path), StoredKey{path, {}}).first->second;
}

SettingsDocument parseSettings(const QByteArray &text)
{
    SettingsDocument document;
    StoredKey *current = nullptr;
    qsizetype start = 0;
    while (start < text.size()) {
        const qsizetype end = text.indexOf('\n', start);
        if (end < 0) {
            document.clean = false; // cut off mid-line
            break;
        }
        const QByteArrayView line = QByteArrayView(text).sliced(start, end - start);
        start = end + 1;
        if (line.isEmpty() || line.startsWith(';'))
            continue;
        if (line.startsWith('[')) {
            const auto path = line.endsWith(']') ? unescape(line.sliced(1, line.size() - 2)) : std::nullopt;
            if (path && validKeyPath(*path)) {
                current = &document.create(*path);
            } else {
                current = nullptr; // its values go with it
                document.clean = false;
            }
            continue;
        }
        const auto value = parseValue(line);
        if (!value || current == nullptr) {
            document.clean = false;
            continue;
        }
        current->values[foldCase(value->name)] = *value;
    }
    return document;
}

QByteArray formatSettings(const SettingsDocument &document)
{
    QByteArray out(header);
    for (const auto &[folded, key] : document.keys) {
        out.append('[');
        appendEscaped(out, key.path);
        out.append("]\n");
        for (const auto &[foldedName, value] : key.values) {
            out.append('"');
            appendEscaped(out, value.name);
            out.append("\"=");
            const bool plain = value.type == 1 && !value.data.empty() && value.data.back() == '\0';
            if (!plain)
                out.append(QByteArray::number(value.type)).append(':');
            out.append('"');
            appendEscaped(out, plain ? value.data.substr(0, value.data.size() - 1) : value.data);
            out.append("\"\n");
        }
    }
    return out;
}

} // namespace settings

#pragma once

#include <QByteArray>

#include <map>
#include <string>

// The text form of the file store: keys in brackets, each followed by its
// values as "name"="text" lines. Everything outside printable ASCII, and the
// characters that delimit, is written as %XX.
namespace settings {

struct StoredValue {
    std::string name; // as first written; lookups ignore ASCII case
    std::uint32_t type = 0;
    std::string data; // every byte the value was given, its NUL included
};

struct StoredKey {
    std::string path; // "HKEY_CURRENT_USER\Software\..." as first written
    std::map<std::string, StoredValue> values; // by folded name
};

struct SettingsDocument {
    std::map<std::string, StoredKey> keys; // by folded path
    // False when any part of the text could not be read and was left out.
    bool clean = true;

    StoredKey *find(const std::string &path);
    // The key and every key above it, created where missing.
    StoredKey &create(const std::string &path);
};

// Lower-cases ASCII letters: key paths and value names ignore case.
std::string foldCase(std::string text);

// Reads what it can: unreadable lines and a final line without its line
// feed (a truncated file) are left out and clear `clean`.
SettingsDocument parseSettings(const QByteArray &text);
QByteArray formatSettings(const SettingsDocument &document);

} // namespace settings

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

// Only the keys that were created are written down; the keys above them
// exist without a line of their own, as the registry's parents do.
struct StoredKey {
    std::string path;                          // "HKEY_CURRENT_USER\Software\..." as first written
    std::map<std::string, StoredValue> values; // by folded name
};

struct SettingsDocument {
    std::map<std::string, StoredKey> keys; // by folded path
    // False when any part of the text could not be read and was left out.
    bool clean = true;

    // The key when it holds values or has none below it.
    StoredKey *find(const std::string &path);
    // True for a key that is written down and for every key above one.
    bool exists(const std::string &path) const;
    StoredKey &create(const std::string &path);
};

// Lower-cases ASCII letters: key paths and value names ignore case.
std::string foldCase(std::string text);

// Reads what it can: unreadable lines and a final line without its line
// feed (a truncated file) are left out and clear `clean`.
SettingsDocument parseSettings(const QByteArray &text);
QByteArray formatSettings(const SettingsDocument &document);

} // namespace settings

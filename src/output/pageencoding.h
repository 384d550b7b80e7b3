#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

namespace output {

// A page's encoding as a browser finds it without a transport header.
struct PageEncoding {
    // The name the decoder takes ("UTF-8", "windows-1252", "Shift_JIS", ...).
    QByteArray name;
    // The byte order mark it begins with, skipped when decoding.
    qsizetype bomLength = 0;
};

// An encoding label resolved as the Encoding standard resolves it (ASCII
// blanks trimmed, ASCII case ignored); nothing for a label not read.
std::optional<QByteArray> encodingForLabel(QByteArrayView label);

// The encoding a META tag in the first 1024 bytes declares, found by the
// HTML prescan (a UTF-16 label means UTF-8, x-user-defined windows-1252).
std::optional<QByteArray> prescannedEncoding(QByteArrayView page);

// A byte order mark first, then the prescan, else windows-1252.
PageEncoding sniffEncoding(QByteArrayView page);

// The page's text in UTF-8, decoded in its sniffed encoding.
QByteArray pageAsUtf8(const QByteArray &page);

} // namespace output

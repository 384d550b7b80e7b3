#pragma once

#include <QByteArray>
#include <QString>

// Writes `bytes` to `path` atomically: a failed write leaves any file of
// that name as it was. On failure `reason` tells why.
bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString &reason);

// Copies `source` to `destination` byte for byte, replacing a file there
// atomically. A copy onto the very file it would replace succeeds at once.
bool copyFileReplacing(const QString &source, const QString &destination, QString &reason);

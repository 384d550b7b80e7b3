#pragma once

#include <QChar>
#include <QString>

// The two parts of a path, split at its last `separator`.

// The file name part of `path`: the text after the last `separator`; the
// whole path when it has none, the empty text when it ends in one.
QString GetFileName(const QString &path, QChar separator);

// The directory part of `path` up to and including its last `separator`;
// a path without one comes back whole.
QString ReplaceFileName(const QString &path, QChar separator);

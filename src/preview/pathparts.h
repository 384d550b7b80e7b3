#pragma once

#include <QChar>
#include <QString>

// The file name part of `path`: the text after the last `separator`; the
// whole path when it has none, the empty text when it ends in one.
QString GetFileName(const QString &path, QChar separator);

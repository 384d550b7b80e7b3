#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// Turns a common-dialog filter ("Description|pattern|Description|pattern|")
// into Qt name filters ("Description (pattern)"). A filter without a "|" is
// one entry whose text is its own pattern list. "*.*" means every file.
QStringList qtNameFilters(const QString &filter);

// The file dialog's answer with the default extension added when the chosen
// name has none.
QString withDefaultExtension(const QString &path, const QString &defaultExt);

// When a file dialog asked for an existing path must refuse `path` because
// its folder does not exist: the message that tells the user so; otherwise
// an empty text.
QString missingFolderRefusal(const QString &path);

} // namespace platform

#pragma once

#include <QString>

class QLockFile;

namespace platform {

// QLockFile reads a lock it finds, and the helper file "<lock>.rmlock" it
// makes to remove a stale one, to learn their owners; it would wait forever
// on a FIFO at either name.

// Whether the lock at `path` and its helper are each missing or a regular
// file (no link), so that QLockFile can be handed them.
bool lockFilesUsable(const QString &path);

// Clears whatever stands at the lock's name or its helper's and is no
// regular file: an empty folder, a link (never what it points to), a FIFO.
// False where something stays in the way.
bool clearNonLockFiles(const QString &path);

// Whether `lock`, held by someone else, names a copy on another machine. In
// this user's own folders such a lock is stale: no copy elsewhere keeps it.
bool namesOtherMachine(const QLockFile &lock);

// Takes `lock`, waiting up to `waitMs` for its owner, after taking over at
// once a lock that names another machine.
bool takeLock(QLockFile &lock, int waitMs);

} // namespace platform

#include "output/pagefile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// Gives up the write, keeping the reason the file gave.
bool fail(QSaveFile &file, QString &reason)
{
    reason = file.errorString();
    file.cancelWriting();
    return false;
}

// QSaveFile::commit() can pass over a buffered write that stopped part-way
// (a full disk) and put the truncated file in place, so flush and check first.
bool finish(QSaveFile &file, QString &reason)
{
    if (!file.flush())
        return fail(file, reason);
    if (!file.commit()) {
        reason = file.errorString();
        return false;
    }
    return true;
}

} // namespace

bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString &reason)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        reason = file.errorString();
        return false;
    }
    if (file.write(bytes) != bytes.size())
        return fail(file, reason);
    return finish(file, reason);
}

bool copyFileReplacing(const QString &source, const QString &destination, QString &reason)
{
    const QFileInfo from(source), to(destination);
    if (from.exists() && to.exists() && from.canonicalFilePath() == to.canonicalFilePath())
        return true;
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        reason = in.errorString();
        return false;
    }
    QSaveFile out(destination);
    if (!out.open(QIODevice::WriteOnly)) {
        reason = out.errorString();
        return false;
    }
    for (;;) {
        const QByteArray chunk = in.read(1 << 16);
        if (chunk.isEmpty()) {
            if (in.error() == QFileDevice::NoError)
                break;
            reason = in.errorString();
            out.cancelWriting();
            return false;
        }
        if (out.write(chunk) != chunk.size())
            return fail(out, reason);
    }
    return finish(out, reason);
}

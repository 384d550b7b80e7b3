#include "platform/files.h"

#include "platform/regularfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>

#include <filesystem>
#include <system_error>

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

// A write that stops part-way (a full disk) sets no error; writing the rest
// again fails with the system's reason.
bool writeWhole(QFileDevice &out, const QByteArray &bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = out.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// Reads `in` to its end into `out`; on failure `reason` names the end at fault.
CopyResult pour(QFile &in, QFileDevice &out, QString &reason)
{
    for (;;) {
        const QByteArray chunk = in.read(1 << 16);
        if (chunk.isEmpty()) {
            if (in.error() == QFileDevice::NoError)
                return CopyResult::Done;
            reason = in.errorString();
            return CopyResult::SourceFailed;
        }
        if (!writeWhole(out, chunk)) {
            reason = out.errorString();
            return CopyResult::DestinationFailed;
        }
    }
}

std::filesystem::path nativePath(const QString &path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(QDir::toNativeSeparators(path).toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

// Puts the copy in the place of the symbolic link `link`, never writing
// where it points: a new file beside it, renamed over the link itself.
CopyResult replaceLink(QFile &in, const QString &link, QString &reason)
{
    QFile out;
    for (int attempt = 0; !out.isOpen(); ++attempt) {
        out.setFileName(link + QStringLiteral(".%1").arg(QRandomGenerator::global()->generate(), 8, 16, QChar(u'0')));
        // NewOnly: a name taken since, by anything, is never opened.
        if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly) && (attempt == 16 || !out.exists())) {
            reason = out.errorString();
            return CopyResult::DestinationFailed;
        }
    }
    CopyResult result = pour(in, out, reason);
    if (result == CopyResult::Done && !out.flush()) {
        reason = out.errorString();
        result = CopyResult::DestinationFailed;
    }
    out.close();
    if (result == CopyResult::Done) {
        std::error_code error;
        std::filesystem::rename(nativePath(out.fileName()), nativePath(link), error);
        if (!error)
            return CopyResult::Done;
        reason = QString::fromStdString(error.message());
        result = CopyResult::DestinationFailed;
    }
    out.remove();
    return result;
}

} // namespace

bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString &reason, InPlace inPlace)
{
    QSaveFile file(path);
    // A folder the user cannot write may still hold a page the user can:
    // then it is written in place. Never anything but a regular file, which
    // opens without waiting.
    file.setDirectWriteFallback(inPlace == InPlace::WhereFolderIsReadOnly && QFileInfo(path).isFile());
    if (!file.open(QIODevice::WriteOnly)) {
        reason = file.errorString();
        return false;
    }
    if (!writeWhole(file, bytes))
        return fail(file, reason);
    return finish(file, reason);
}

CopyResult copyFileReplacing(const QString &source, const QString &destination, LinkAtDestination link, QString &reason)
{
    const QFileInfo from(source), to(destination);
    if (from.exists() && to.exists() && from.canonicalFilePath() == to.canonicalFilePath())
        return CopyResult::Done;
    QFile in(source);
    if (!platform::openRegularFile(in, reason))
        return CopyResult::SourceFailed;
    if (link == LinkAtDestination::Replace && to.isSymbolicLink())
        return replaceLink(in, destination, reason);
    QSaveFile out(destination);
    if (!out.open(QIODevice::WriteOnly)) {
        reason = out.errorString();
        return CopyResult::DestinationFailed;
    }
    const CopyResult result = pour(in, out, reason);
    if (result != CopyResult::Done) {
        out.cancelWriting();
        return result;
    }
    return finish(out, reason) ? CopyResult::Done : CopyResult::DestinationFailed;
}

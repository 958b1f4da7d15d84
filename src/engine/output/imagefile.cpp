#include "imagefile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileDevice>
#include <QFileInfo>
#include <QStorageInfo>

#if defined(Q_OS_WIN)
#include <windows.h>
#endif

#include <filesystem>
#include <system_error>

namespace ImageFile {

namespace {

const QString temporarySuffix = QStringLiteral(".part");
// Names other writers hold at once: a few single-frame saves of one frame.
constexpr int maxTemporaryAttempts = 100;

std::filesystem::path fileSystemPath(const QString &path)
{
    return std::filesystem::path(QDir::toNativeSeparators(path).toStdU16String());
}

// A device may fail a write without saying why (a short write sets no
// error): where the volume has less room than the file needs, it was full.
Outcome writeFailure(QFileDevice::FileError error, const QString &path, qint64 size)
{
    if (error == QFileDevice::ResourceError)
        return Outcome::DiskFull;
    const QStorageInfo volume(QFileInfo(path).absolutePath());
    if (volume.isValid() && volume.bytesAvailable() >= 0 && volume.bytesAvailable() < size)
        return Outcome::DiskFull;
    return Outcome::CannotWrite;
}

} // namespace

QString temporaryPath(const QString &path, int attempt)
{
    const QFileInfo file(path);
    const QString name = attempt > 1
        ? QStringLiteral(".%1.%2%3").arg(file.fileName()).arg(attempt).arg(temporarySuffix)
        : QStringLiteral(".%1%2").arg(file.fileName(), temporarySuffix);
    return QDir(file.path()).filePath(name);
}

QRegularExpression temporaryNameExpression(const QRegularExpression &imageNames)
{
    QString body = imageNames.pattern();
    if (body.startsWith(u'^'))
        body.remove(0, 1);
    if (body.endsWith(u'$'))
        body.chop(1);
    // A group of no number keeps the image expression's back-references right.
    return QRegularExpression(QStringLiteral("^\\.(?:%1)(?:\\.[1-9]\\d*)?%2$")
                                  .arg(body, QRegularExpression::escape(temporarySuffix)),
        imageNames.patternOptions());
}

Outcome writeAll(QFileDevice &file, const QByteArray &bytes)
{
    // A close that succeeds clears what a failed write or flush reported, so
    // their error is read before it.
    bool ok = file.write(bytes) == bytes.size() && file.flush();
    QFileDevice::FileError error = file.error();
    file.close();
    if (ok && file.error() != QFileDevice::NoError) {
        ok = false;
        error = file.error();
    }
    // What the file system holds, not what the device said it took.
    ok = ok && QFileInfo(file.fileName()).size() == bytes.size();
    return ok ? Outcome::Converted : writeFailure(error, file.fileName(), bytes.size());
}

Outcome writeTemporary(const QByteArray &bytes, const QString &path, QString *temporary)
{
    for (int attempt = 1; attempt <= maxTemporaryAttempts; ++attempt) {
        *temporary = temporaryPath(path, attempt);
        QFile file(*temporary);
        // A new file of its own: never one that another writer is filling,
        // nor what a link of that name points to.
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (QFileInfo::exists(*temporary) || QFileInfo(*temporary).isSymLink())
                continue;
            return writeFailure(file.error(), *temporary, bytes.size());
        }
        const Outcome written = writeAll(file, bytes);
        if (written != Outcome::Converted)
            QFile::remove(*temporary);
        return written;
    }
    return Outcome::CannotWrite;
}

bool replace(const QString &temporary, const QString &path)
{
#if defined(Q_OS_WIN)
    // A plain rename there refuses an existing target.
    const QString from = QDir::toNativeSeparators(temporary);
    const QString to = QDir::toNativeSeparators(path);
    return MoveFileExW(reinterpret_cast<const wchar_t *>(from.utf16()),
               reinterpret_cast<const wchar_t *>(to.utf16()), MOVEFILE_REPLACE_EXISTING)
        != 0;
#else
    std::error_code error;
    std::filesystem::rename(fileSystemPath(temporary), fileSystemPath(path), error);
    return !error;
#endif
}

Placed placeNew(const QString &temporary, const QString &path)
{
    // A hard link is made only where the name is free, in one step, so a
    // file that appears in between is never written over.
    std::error_code error;
    std::filesystem::create_hard_link(fileSystemPath(temporary), fileSystemPath(path), error);
    if (!error) {
        QFile::remove(temporary);
        return Placed::Done;
    }
    if (error == std::errc::file_exists || QFileInfo::exists(path))
        return Placed::Taken;
    // File systems without hard links (FAT): a rename, which Qt makes
    // without replacing.
    if (QFile::rename(temporary, path))
        return Placed::Done;
    return QFileInfo::exists(path) ? Placed::Taken : Placed::Failed;
}

int removeLeftovers(const QString &folder, const QRegularExpression &temporaryNames)
{
    int removed = 0;
    QDirIterator entries(folder, QDir::Files | QDir::Hidden | QDir::System);
    while (entries.hasNext()) {
        entries.next();
        if (temporaryNames.match(entries.fileName()).hasMatch()
            && QFile::remove(entries.filePath()))
            ++removed;
    }
    return removed;
}

} // namespace ImageFile

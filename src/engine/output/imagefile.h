#ifndef IMAGEFILE_H
#define IMAGEFILE_H

// An image file is there whole or not at all. It is written under a
// temporary dot-name in its own folder, complete and closed without error,
// and only then renamed to its name, so that a crash, a kill or a full disk
// leaves at most a temporary file, never a cut-off image.

#include "outcome.h"

#include <QByteArray>
#include <QRegularExpression>
#include <QString>

class QFileDevice;

namespace ImageFile {

// ".<name>.part" beside `path`; from the second attempt on
// ".<name>.<attempt>.part", for a name that another writer holds.
QString temporaryPath(const QString &path, int attempt = 1);

// Matches the names, without the folder, that temporaryPath gives for the
// names `imageNames` matches; `imageNames` is anchored with ^ and $.
QRegularExpression temporaryNameExpression(const QRegularExpression &imageNames);

// Writes all of `bytes` into `file`, open for writing, and closes it.
// Converted only when every byte went out, the flush and the close reported
// nothing and the file on disk has the bytes' size; DiskFull where the
// device ran out of space (or the volume has less room left than the
// bytes), CannotWrite for any other failure. Does not remove the file.
Outcome writeAll(QFileDevice &file, const QByteArray &bytes);

// Writes `bytes` as a new temporary file beside `path`, *temporary saying
// where. On failure nothing is left of it.
Outcome writeTemporary(const QByteArray &bytes, const QString &path, QString *temporary);

// Gives the complete file `temporary` the name `path` in one step,
// replacing the file of that name where there is one.
bool replace(const QString &temporary, const QString &path);

enum class Placed { Done, Taken, Failed };
// As replace(), but never over an existing file: Taken where `path`
// exists, and then `temporary` stays.
Placed placeNew(const QString &temporary, const QString &path);

// Removes the files in `folder` whose names `temporaryNames` matches: what
// an earlier job that was killed left. Returns how many.
int removeLeftovers(const QString &folder, const QRegularExpression &temporaryNames);

} // namespace ImageFile

#endif // IMAGEFILE_H

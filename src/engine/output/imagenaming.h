#ifndef IMAGENAMING_H
#define IMAGENAMING_H

// How a job names its images: the number, the frame's time, the pattern and
// the folder, and which existing files a job's names could meet.

#include <QRegularExpression>
#include <QString>
#include <QStringList>

struct ExtractionJob;

namespace ImageNaming {

// Decimal, zero-padded to at least six digits.
QString frameNumberText(int frameNumber);

// "%1/%2.%3": directory, the pattern with every "%1" replaced by the frame
// number text, and the format in lower case. Each part is inserted
// literally, so a "%" inside the directory or the name stays as it is.
QString outputFilePath(
    const QString &outputDir, const QString &namingPattern, int frameNumber, const QString &format);

// Whether every name the pattern gives stays inside the output directory:
// no path separator, no "..", no drive and not absolute.
bool isSafeNamingPattern(const QString &pattern);

// A presentation time as it goes into a file name: hours, minutes, seconds
// and milliseconds, "00-01-23.456", at least two digits of hours, with no
// character Windows forbids in names, so that names sort in time order.
// Negative times count as 0.
QString timeNameText(qint64 milliseconds);

// The file name with the frame's time after the number:
// "<dir>/<pattern with the number>_<time>.<format>".
QString outputFilePathWithTime(const QString &outputDir, const QString &namingPattern,
    int frameNumber, qint64 milliseconds, const QString &format);

// The name of a single saved frame: "<dir>/<pattern with every "%1"
// replaced by the time>.<format>", and from the second attempt on, for a
// name already taken, " (2)", " (3)"... before the extension.
QString savedFramePath(const QString &outputDir, const QString &namingPattern, qint64 milliseconds,
    const QString &format, int attempt = 1);

// Matches exactly the file names, without the directory, that a job with
// this pattern, format and naming can give its images, whatever their number
// (from 1) and time. Without regard to case where the file system ignores it.
QRegularExpression imageNameExpression(
    const QString &namingPattern, const QString &format, bool timeInNames);

// The files in the job's output folder, in name order and without the
// folder, that the job could write over or that an earlier job of the same
// pattern and format wrote (with names that carry the time, whatever the
// time); empty when there is none. Reads the folder once.
QStringList existingImages(const ExtractionJob &job);

} // namespace ImageNaming

#endif // IMAGENAMING_H

#ifndef WINDOWRULES_H
#define WINDOWRULES_H

#include <QByteArray>
#include <QList>
#include <QRect>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <optional>

// Pure rules of the main window, kept apart so that they can be checked on their own.

// "hh:mm:ss" of the whole seconds in `milliseconds`, as a clock that wraps at 24 hours.
QString formatClockTime(qint64 milliseconds);

// The picture's rectangle inside a view of `viewSize`: the native size rounded to whole
// pixels, scaled to fit while keeping its aspect ratio, and centred. Nothing when the
// native size rounds to zero in either direction.
std::optional<QRect> fitVideoRect(const QSizeF &nativeSize, const QSize &viewSize);

// A time field's text in milliseconds. Accepted, with surrounding blanks:
// "h:mm:ss", "m:ss" and plain seconds "ss", each with up to three decimals
// after a dot ("1:05:20.250", "1:20", "85.5"). Hours and the leading
// minutes or seconds may have any number of digits (up to nine), the other
// fields one or two digits below 60. Nothing for anything else, negatives and
// the empty text included.
std::optional<qint64> parseTimeField(const QString &text);

// "h:mm:ss.zzz", the form the time fields show; hours do not wrap, negative
// times show as zero.
QString formatTimeField(qint64 milliseconds);

struct ControlStates
{
    bool jobInputs; // the video and output pickers, start and the option controls
    bool playPause; // also the two buttons that take the range from the preview
    bool previewStop;
};

// Which controls are enabled. `processing` covers both a job being started now and one
// still running, so that the preview's own events cannot unlock the inputs mid-job.
ControlStates controlStatesFor(bool processing, bool hasPlayer, bool mediaLoaded, qint64 position);

// The offered output formats, in a fixed order, among those `writerNames` (as the image
// writer lists them) can write. A name is offered once, in its fixed letter case.
QStringList buildFormatList(const QList<QByteArray> &writerNames);

// The naming pattern after choosing naming entry `index`; the custom entry (3) and
// "no entry" (-1) keep `current`.
QString namePatternForIndex(int index, const QString &current);

#endif // WINDOWRULES_H

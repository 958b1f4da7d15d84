#ifndef WINDOWRULES_H
#define WINDOWRULES_H

#include <QRect>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <optional>

// The time fields' text and the format list follow the engine's rules, which the
// command line shares.
#include "formatlist.h"
#include "timefield.h"

// Pure rules of the main window, kept apart so that they can be checked on their own.

// "hh:mm:ss" of the whole seconds in `milliseconds`, as a clock that wraps at 24 hours.
QString formatClockTime(qint64 milliseconds);

// The picture's rectangle inside a view of `viewSize`: the native size rounded to whole
// pixels, scaled to fit while keeping its aspect ratio, and centred. Nothing when the
// native size rounds to zero in either direction.
std::optional<QRect> fitVideoRect(const QSizeF &nativeSize, const QSize &viewSize);

struct ControlStates
{
    bool jobInputs; // the video and output pickers, start and the option controls
    bool playPause; // also the two buttons that take the range from the preview
    bool previewStop;
};

// Which controls are enabled. `processing` covers both a job being started now and one
// still running, so that the preview's own events cannot unlock the inputs mid-job.
ControlStates controlStatesFor(bool processing, bool hasPlayer, bool mediaLoaded, qint64 position);

// The naming pattern after choosing naming entry `index`; the custom entry (3) and
// "no entry" (-1) keep `current`.
QString namePatternForIndex(int index, const QString &current);

#endif // WINDOWRULES_H

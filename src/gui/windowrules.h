#ifndef WINDOWRULES_H
#define WINDOWRULES_H

#include <QKeySequence>
#include <QList>
#include <QRect>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <deque>
#include <optional>

// The time fields' text and the format list follow the engine's rules, which the
// command line shares.
#include "imageformats.h"
#include "pixellayout.h"
#include "timefield.h"

// Pure rules of the main window, kept apart so that they can be checked on their own.

// "hh:mm:ss" of the whole seconds in `milliseconds`, as a clock that wraps at 24 hours.
QString formatClockTime(qint64 milliseconds);

// "hh:mm:ss.zzz" of `milliseconds`, as formatClockTime with the milliseconds:
// the time of the frame a paused preview shows.
QString formatFrameTime(qint64 milliseconds);

// The preview's picture shape: the video's size with square pixels, turned
// as the player turned the picture it reports as `nativeSize` (with or
// without square pixels) from the `storedSize`. The player's own size where
// the video's sizes are not known.
QSizeF previewShape(
    const QSizeF &nativeSize, const QSize &storedSize, const QSize &squarePixelSize);

// What the player's step keys do: a frame or a second back or forward.
struct PlayerStep
{
    int direction; // -1 back, 1 forward
    bool wholeSecond;
};
struct PlayerStepKey
{
    QKeySequence keys;
    PlayerStep step;
};
const QList<PlayerStepKey> &playerStepKeys();

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

// Whether images written as `format` (the format list's text) keep what
// `depth` asks for beyond 8 bits a channel: 16 bits a channel, or the alpha
// channel of 32 bits. Gray and 24-bit RGB every format keeps.
bool formatHoldsDepth(const QString &format, Picture::BitDepth depth);

// The naming pattern after choosing naming entry `index`; the custom entry (3) and
// "no entry" (-1) keep `current`.
QString namePatternForIndex(int index, const QString &current);

// The file suffixes the open dialog offers and a dropped folder is searched for,
// lower case, without the dot: those of the video types the desktop entry
// claims.
const QStringList &videoFileSuffixes();

// The video field's text for the chosen videos: the first path, and "(+N)"
// for the others.
QString videoFieldText(const QStringList &paths);

// The files a drop chooses: local files as they are, and for a local folder the
// video files directly inside it, by name. Everything else is left out.
QStringList droppedVideoPaths(const QList<QUrl> &urls);

// How long a conversion has left, from the rate over its last few seconds, so
// that a job that speeds up after a slow start is not judged by that start.
class TimeLeft
{
public:
    static constexpr qint64 windowMs = 10000;

    // `done` is the part of the whole batch finished, 0 to 1, after `elapsedMs`
    // from its start; the start itself, nothing done at 0 ms, is known.
    void add(qint64 elapsedMs, double done);
    // Nothing before two seconds have passed, while nothing is done, or when
    // nothing got done over the window.
    std::optional<qint64> ms() const;

private:
    struct Sample
    {
        qint64 elapsedMs;
        double done;
    };
    // The newest, and the ones back to the first at or before a window earlier.
    std::deque<Sample> samples {{0, 0.0}};
};

// The part of a batch of `videoCount` finished while video `videoIndex`
// (from 0) is at `frame` of `totalFrames`; an unknown total counts the video
// as not begun.
double batchDone(int videoIndex, int videoCount, int frame, int totalFrames);

// "m:ss", or "h:mm:ss" from an hour on, rounded up to whole seconds.
QString formatTimeLeft(qint64 milliseconds);

#endif // WINDOWRULES_H

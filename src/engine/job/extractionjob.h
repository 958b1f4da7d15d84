#ifndef EXTRACTIONJOB_H
#define EXTRACTIONJOB_H

#include "pixellayout.h"

#include <QString>

// Which frames of a video a job takes: a mode, and the part of the video it
// looks at.
struct FrameSelection
{
    enum class Mode {
        // Every interval-th decoded frame, so that about frameRate a second.
        FramesPerSecond,
        // The first frame at or after start, start + every, start + 2 every...
        EverySeconds,
        // The frames the decoder marks as keyframes; no other is decoded.
        Keyframes,
        // The range's first frame, then each frame that starts a new shot.
        SceneChanges,
        // count frames spread over the range: the first frame at or after the
        // middle of each of count equal parts; each frame once where the
        // range has no more frames than that.
        Count,
    };

    static constexpr int minFrameRate = 1;
    static constexpr int maxFrameRate = 60;
    static constexpr double minEverySeconds = 0.1;
    static constexpr double maxEverySeconds = 3600;
    static constexpr int minSceneSensitivity = 1;
    static constexpr int maxSceneSensitivity = 100;
    static constexpr int minCount = 1;
    static constexpr int maxCount = 100000;
    static constexpr int minDistinctSensitivity = 1;
    static constexpr int maxDistinctSensitivity = 100;

    Mode mode = Mode::FramesPerSecond;
    int frameRate = 5;
    double everySeconds = 10;
    int sceneSensitivity = 50;
    int count = 10;
    // Leaves out a frame that looks the same as the last one taken, with a
    // sensitivity of 1 to 100: the higher, the smaller a change that counts.
    bool distinct = false;
    int distinctSensitivity = 50;
    // With EverySeconds and Count: the sharpest frame of each part (the
    // stretch from one point to the next; each of count's equal parts)
    // instead of the first at or after its point.
    bool sharpest = false;
    // Leaves out nearly black frames; with EverySeconds and Count the next
    // frame of the same part that is not black takes the place of one.
    bool skipBlack = false;
    // [startSeconds, endSeconds) of presentation time from the stream's
    // start; endSeconds < 0 means to the end of the video.
    double startSeconds = 0;
    double endSeconds = -1;

    bool hasEnd() const { return endSeconds >= 0; }
    bool isWholeVideo() const { return startSeconds <= 0 && !hasEnd(); }
};

// Everything one extraction job needs; the engine checks it at its door.
struct ExtractionJob
{
    QString videoPath;
    QString outputPath;
    // The format list's text: "JPG", "PNG", "WebP"...
    QString format = QStringLiteral("JPG");
    int quality = 90;
    Picture::BitDepth bitDepth = Picture::BitDepth::Rgb24;
    // A file-name stem with "%1" for the image's number.
    QString namingPattern = QStringLiteral("frame_%1");
    // Adds the frame's presentation time to each name: frame_000001_00-01-23.456.
    bool timeInNames = false;
    FrameSelection selection;
};

#endif // EXTRACTIONJOB_H

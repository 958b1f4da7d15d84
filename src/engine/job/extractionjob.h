#ifndef EXTRACTIONJOB_H
#define EXTRACTIONJOB_H

#include "pictureshape.h"
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
    };

    static constexpr int minFrameRate = 1;
    static constexpr int maxFrameRate = 60;
    static constexpr double minEverySeconds = 0.1;
    static constexpr double maxEverySeconds = 3600;
    static constexpr int minSceneSensitivity = 1;
    static constexpr int maxSceneSensitivity = 100;

    Mode mode = Mode::FramesPerSecond;
    int frameRate = 5;
    double everySeconds = 10;
    int sceneSensitivity = 50;
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
    // The size of the images as shown (square pixels, upright), from
    // Picture::minOutputSide to maxOutputSide; 0 for a side left free, both
    // 0 for the video's own size.
    int width = 0;
    int height = 0;
    Picture::Deinterlace deinterlace = Picture::Deinterlace::Auto;
    FrameSelection selection;
};

#endif // EXTRACTIONJOB_H

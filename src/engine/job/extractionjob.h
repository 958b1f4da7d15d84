#ifndef EXTRACTIONJOB_H
#define EXTRACTIONJOB_H

#include "joboption.h"
#include "pictureshape.h"
#include "pixellayout.h"

#include <QString>

#include <optional>

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
        // middle of each of count equal parts, or where a part has none from
        // its middle on, its last frame before it; a range with no more
        // frames than that gives each of them once.
        Count,
    };

    // The values an ExtractionJob starts with, and their ranges, are the
    // option table's (joboption.h); a FrameSelection of its own looks at the
    // whole video at every frame.
    Mode mode = Mode::FramesPerSecond;
    int frameRate = 0;
    double everySeconds = 0;
    int sceneSensitivity = 0;
    int count = 0;
    // Leaves out a frame that looks the same as the last one taken, with a
    // sensitivity of 1 to 100: the higher, the smaller a change that counts.
    bool distinct = false;
    int distinctSensitivity = 0;
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

// The list of a job's images written beside them: none, index.csv or
// index.json.
enum class IndexFormat { None, Csv, Json };

// Everything one extraction job needs; the engine checks it at its door.
// Each option's default, range and meaning is a row of the option table
// (joboption.h), which a new job starts from.
struct ExtractionJob
{
    ExtractionJob();

    QString videoPath;
    QString outputPath;
    // The format list's text: "JPG", "PNG", "WebP"...
    QString format;
    int quality = 0;
    Picture::BitDepth bitDepth = Picture::BitDepth::Rgb24;
    // A file-name stem with "%1" for the image's number.
    QString namingPattern;
    // Adds the frame's presentation time to each name: frame_000001_00-01-23.456.
    bool timeInNames = false;
    // The size of the images as shown (square pixels, upright), from
    // Picture::minOutputSide to maxOutputSide; none for a side left free,
    // neither for the video's own size.
    std::optional<int> width;
    std::optional<int> height;
    Picture::Deinterlace deinterlace = Picture::Deinterlace::Auto;
    // Threads that write images; 0 lets the job choose.
    int writers = 0;
    FrameSelection selection;
    IndexFormat index = IndexFormat::None;
    // Gives each image the capture time, place, make and model the container
    // has, in its EXIF, where the format has room for it.
    bool captureMetadata = true;
    // Draws contact-sheet.jpg, the images in small, beside them.
    bool contactSheet = false;

    // The first option whose value the job cannot use, in the table's order,
    // then the options that cannot go together; nothing when all is well.
    std::optional<OptionProblem> validate() const;
};

#endif // EXTRACTIONJOB_H

#ifndef FRAMETIMELINE_H
#define FRAMETIMELINE_H

#include <QSize>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <vector>

class MediaInput;

// The previewed video's frames as the preview needs them and Qt's player does
// not give them: where each frame starts on the clock of the player's
// position, and the picture's shape with square pixels.
//
// Times are microseconds from the stream's start, the clock of a job's range
// and of the frame the save button writes. They are read from the packets'
// timestamps, a group of pictures at a time, as they are asked for, so that
// variable frame rates and reordered frames come out exact; a stream without
// timestamps falls back to its nominal frame rate.
class FrameTimeline
{
public:
    FrameTimeline();
    ~FrameTimeline();
    FrameTimeline(const FrameTimeline &) = delete;
    FrameTimeline &operator=(const FrameTimeline &) = delete;

    // Opens the video's first video stream. False, leaving the timeline empty,
    // where it cannot.
    bool open(const QString &path);
    void close();
    bool isOpen() const { return input != nullptr; }

    // The picture's size as the images are written: stored width stretched by
    // the sample aspect ratio, height as stored. Invalid when not open.
    QSize squarePixelSize() const { return pictureSize; }
    // The picture's size as stored.
    QSize storedSize() const { return codedSize; }

    // The frame a player shows at positionMs: the last one that starts at or
    // before it; the first frame before that.
    std::optional<int64_t> frameShownAt(int64_t positionMs);
    // The frame after and before the one at frameUs; nothing at the ends.
    std::optional<int64_t> frameAfter(int64_t frameUs);
    std::optional<int64_t> frameBefore(int64_t frameUs);

private:
    // A stretch of the stream whose frames are all in `known`.
    struct Span
    {
        int64_t from;
        int64_t to;
    };
    // Reads the frames around timeUs: after it, a span holds timeUs and the
    // first frame after it, where there is one. False where nothing could be read.
    bool readAround(int64_t timeUs);
    bool seekBefore(int64_t timeUs);
    bool rewind();
    const Span *spanHolding(int64_t timeUs) const;
    double gridIndex(int64_t timeUs) const;
    int64_t gridTime(double index) const;
    int64_t gridFrame(int64_t timeUs) const;

    std::unique_ptr<MediaInput> input;
    QString path;
    QSize pictureSize;
    QSize codedSize;
    std::set<int64_t> known;
    std::vector<Span> spans;
    // Microseconds a frame at the stream's rate, for streams without
    // timestamps; 0 until a video is open.
    double gridStepUs = 0;
    bool timestamped = true;
    // The file has an index, so a seek to its start lands there.
    bool indexed = false;
};

#endif // FRAMETIMELINE_H

#ifndef FRAMESOURCE_H
#define FRAMESOURCE_H

#include "ffmpegholders.h"
#include "outcome.h"

#include <deque>
#include <functional>

class MediaInput;

// Hands out the frames a job takes, one at a time, in order: the first one
// returned is image 1, the next image 2, and so on.
class FrameSource
{
public:
    enum class Status { Frame, End, Failed };
    using StopCheck = std::function<bool()>;

    virtual ~FrameSource() = default;

    // Blocks until the next taken frame is ready. On Frame, *frame holds a
    // reference of its own. Returns End once stopRequested() is true.
    virtual Status next(FFmpeg::FramePtr *frame, const StopCheck &stopRequested) = 0;
    // Why, after next() returned Failed.
    virtual Outcome failure() const = 0;
};

class FrameSelector;

// Reads and decodes the input's video stream and hands out the frames the
// selector takes, in presentation order. Seeks, where the file has an index,
// to the keyframe before the range's start and past stretches with nothing
// wanted; decodes forward where it cannot, which gives the same frames. Each
// frame handed out has its pts counted from the stream's start, in its
// time_base (frames without a time get FFmpeg's: a frame period after the
// one before), and carries its number and score (FrameFacts).
class DecodingFrameSource : public FrameSource
{
public:
    DecodingFrameSource(MediaInput &input, FrameSelector &selector);

    // False when the frame or packet could not be allocated.
    bool isValid() const { return frame && packet; }

    Status next(FFmpeg::FramePtr *taken, const StopCheck &stopRequested) override;
    Outcome failure() const override { return failed; }

private:
    int64_t frameTimeUs(const AVFrame *decoded);
    // Gives the frame its time, shape and number as it is handed out.
    void describe(AVFrame *decoded, int64_t timeUs) const;
    bool canSeek() const;
    void seekBefore(int64_t timeUs, int64_t streamTimestamp);
    void seekAheadIfWorthIt(int64_t currentTimestamp);
    void seekToEarlierKeyframe(int64_t wantedUs);
    void skipUnwanted(const AVPacket *video);

    MediaInput &input;
    FrameSelector &selector;
    FFmpeg::FramePtr frame;
    FFmpeg::PacketPtr packet;
    int64_t streamStart = 0;
    int64_t lastTimeUs = 0;
    int64_t lastTimestamp = 0;
    // Frames without a time count on from the last one that had one.
    double periodUs = 0;
    int64_t stampedUs = 0;
    int64_t framesSinceStamp = 0;
    int64_t framesDecoded = 0;
    bool numbersFromTimes = false;
    // The times of the last packets handed to the decoder whole, in the
    // order they went; a B-frame comes after frames shown later than it.
    std::deque<int64_t> keptUs;
    bool selectionEnded = false;
    bool started = false;
    bool draining = false;
    bool takenSinceCheck = false;
    // After a seek: the time it was for, and the timestamp it went to.
    int64_t seekCheckUs = -1;
    int64_t seekTimestamp = 0;
    int seekAttempts = 0;
    Outcome failed = Outcome::Converted;
};

#endif // FRAMESOURCE_H

#ifndef FRAMESOURCE_H
#define FRAMESOURCE_H

#include "extractionfailure.h"
#include "ffmpegholders.h"

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
    virtual ExtractionFailure failure() const = 0;
};

// Reads and decodes the input's video stream from the start and takes every
// interval-th decoded frame.
class DecodingFrameSource : public FrameSource
{
public:
    DecodingFrameSource(MediaInput &input, int interval);

    // False when the frame or packet could not be allocated.
    bool isValid() const { return frame && packet; }

    Status next(FFmpeg::FramePtr *taken, const StopCheck &stopRequested) override;
    ExtractionFailure failure() const override { return failed; }

private:
    MediaInput &input;
    const int interval;
    FFmpeg::FramePtr frame;
    FFmpeg::PacketPtr packet;
    int decodedCount = 0;
    bool draining = false;
    ExtractionFailure failed = ExtractionFailure::None;
};

#endif // FRAMESOURCE_H

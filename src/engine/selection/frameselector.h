#ifndef FRAMESELECTOR_H
#define FRAMESELECTOR_H

#include "extractionjob.h"
#include "ffmpegholders.h"

#include <cstdint>
#include <deque>
#include <memory>

class BlackFrameTest;
class RepeatDetector;
class SceneDetector;
class SharpnessMeter;

// Decides, frame by frame in presentation order, which decoded frames a job
// takes, and says how far ahead the next wanted frame lies so that the
// source can seek instead of decoding what is not wanted. Times are in
// microseconds of presentation time from the stream's start.
//
// A frame may be chosen only once later frames are seen (the sharpest of a
// part, the first frame of a range too short for the rate): the selector
// keeps its own reference to it until then, and hands the chosen frames out
// in order. Each carries the score that chose it, where there is one
// (FrameFacts::score).
class FrameSelector
{
public:
    // What the selector is told of the stream.
    struct Pace
    {
        // Every interval-th frame's worth of time in the frames-per-second mode.
        int interval = 1;
        // The stream's frames a second (Sampling::usableFrameRate).
        double frameRate = 30;
        // The video's length, AV_NOPTS_VALUE where unknown: where the parts
        // of the count mode end when the range has no end.
        int64_t durationUs = AV_NOPTS_VALUE;
    };

    FrameSelector(const FrameSelection &selection, const Pace &pace);
    ~FrameSelector();

    // Looks at the next decoded frame. False once the selection has ended:
    // no later frame can be chosen.
    bool offer(const AVFrame *frame, int64_t timeUs);
    // No frame follows: what was waiting for later frames is decided.
    void finish();
    // The next chosen frame, a reference of its own; null while none is ready.
    FFmpeg::FramePtr takeChosen();
    // A chosen frame could not be kept for want of memory.
    bool outOfMemory() const { return failed; }

    // How many images the selection is expected to give, at least 1; 0
    // where it cannot be known in advance (scene changes, and frames left
    // out for what they show). durationUs is AV_NOPTS_VALUE when unknown,
    // streamFrames <= 0 when the container does not say, keyframesInRange
    // < 0 when the file has no index.
    static int estimatedTotal(const FrameSelection &selection, int64_t streamFrames,
        int64_t durationUs, int interval, int64_t keyframesInRange, double frameRate = 0);

    int64_t startUs() const { return start; }
    // The earliest time a frame is still wanted from: where the source may
    // seek to once decoding has fallen behind it. 0 where the next frame is
    // wanted, whatever its time.
    int64_t nextWantedUs() const;
    // Whether a frame shown at shownUs could still be taken, where a frame
    // shown at earlierUs (AV_NOPTS_VALUE: none known) comes before it and
    // will be offered too. Where it could not, the decoder may leave it out
    // if no other frame refers to it. True where that cannot be said.
    bool mayTakeFrameAt(int64_t shownUs, int64_t earlierUs) const;
    // Whether the decoder may leave out every frame but the keyframes.
    bool keyframesOnly() const { return mode == FrameSelection::Mode::Keyframes; }
    // Whether any frame at or after the start has been seen, in the range or
    // past its end.
    bool reachedStart() const { return passedStart; }

private:
    void offerAtRate(const AVFrame *frame, int64_t timeUs, bool first);
    void offerAtPoints(const AVFrame *frame, int64_t timeUs);
    void offerToMiddles(const AVFrame *frame, int64_t timeUs);
    void takeBeforeMiddle();
    void offerToSharpest(const AVFrame *frame, int64_t timeUs);
    void conclude();

    // Every and count split the range into parts, each with the point
    // from which its frame is looked for.
    int64_t partStartUs(int64_t part) const;
    int64_t pointUs(int64_t part) const;
    int64_t partOf(int64_t timeUs) const;

    bool isBlack(const AVFrame *frame);
    // Chooses the frame unless it repeats the last one chosen; score < 0
    // for none.
    void consider(const AVFrame *frame, double score);
    void choose(const AVFrame *frame, double score);

    const FrameSelection::Mode mode;
    const int interval;
    const int64_t start;
    const int64_t end; // -1: to the end
    const int64_t step;
    const double periodUs;
    const bool sharpest;
    const int count;
    // Count: the length of a part; 0 where the range's end is unknown.
    double partUs = 0;
    // Frames per second without a rate, and count where the range's length
    // is unknown: every frame.
    bool everyFrame = false;

    std::unique_ptr<SceneDetector> scenes;
    std::unique_ptr<BlackFrameTest> black;
    std::unique_ptr<RepeatDetector> repeats;
    std::unique_ptr<SharpnessMeter> sharpness;

    std::deque<FFmpeg::FramePtr> chosen;
    int64_t chosenCount = 0;

    // Frames per second: the steps count from the range's first frame.
    double anchorUs = 0;
    int64_t nextStep = 0;
    int64_t previousUs = 0;
    // Kept until a frame is chosen: a range too short for one step gives it.
    FFmpeg::FramePtr firstInRange;

    // Every and count: the part looked at. Every: whether its point's frame
    // was black and a later frame of the part may stand in. Count: the
    // part's last frame before its middle.
    int64_t part = 0;
    bool searching = false;
    FFmpeg::FramePtr beforeMiddle;
    // Sharpest: the best frame so far of the part it belongs to.
    FFmpeg::FramePtr best;
    double bestScore = 0;
    int64_t bestPart = -1;

    bool reached = false;
    bool passedStart = false;
    bool ended = false;
    bool failed = false;
};

#endif // FRAMESELECTOR_H

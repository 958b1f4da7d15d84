#ifndef FRAMESELECTOR_H
#define FRAMESELECTOR_H

#include "extractionjob.h"
#include "scenedetector.h"

#include <cstdint>
#include <memory>
#include <optional>

struct AVFrame;

// Decides, frame by frame in presentation order, which decoded frames a job
// takes, and says how far ahead the next wanted frame lies so that the
// source can seek instead of decoding what is not wanted. Times are in
// microseconds of presentation time from the stream's start.
class FrameSelector
{
public:
    enum class Verdict { Skip, Take, End };

    // `interval`: every interval-th frame in the frames-per-second mode.
    FrameSelector(const FrameSelection &selection, int interval);
    ~FrameSelector();

    Verdict judge(const AVFrame *frame, int64_t timeUs);

    // How many images the selection is expected to give, at least 1; 0 for
    // scene changes, which cannot be known in advance. durationUs is
    // AV_NOPTS_VALUE when unknown, streamFrames <= 0 when the container does
    // not say, keyframesInRange < 0 when the file has no index.
    static int estimatedTotal(const FrameSelection &selection, int64_t streamFrames,
        int64_t durationUs, int interval, int64_t keyframesInRange);

    int64_t startUs() const { return start; }
    // The earliest time a frame is still wanted from: where the source may
    // seek to once decoding has fallen behind it. 0 in the modes that look
    // at every frame of the range.
    int64_t nextWantedUs() const;
    // Whether the decoder may leave out every frame but the keyframes.
    bool keyframesOnly() const { return mode == FrameSelection::Mode::Keyframes; }
    // Whether any frame at or after the start has been seen.
    bool reachedStart() const { return reached; }
    // The score of the frame last taken where the mode has one: the scene
    // score of a frame that starts a shot.
    std::optional<double> takenScore() const { return score; }

private:
    const FrameSelection::Mode mode;
    const int interval;
    const int64_t start;
    const int64_t end; // -1: to the end
    const int64_t step;
    std::unique_ptr<SceneDetector> scenes;
    int64_t nextTarget = 0;
    int counted = 0;
    bool reached = false;
    bool done = false;
    std::optional<double> score;
};

#endif // FRAMESELECTOR_H

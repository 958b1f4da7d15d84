#include "frameselector.h"

#include "samplingrules.h"

#include <QtGlobal>

#include <climits>
#include <cmath>

extern "C" {
#include <libavutil/avutil.h>
#include <libavutil/frame.h>
#include <libavutil/version.h>
}

namespace {

int64_t microseconds(double seconds)
{
    return std::llround(seconds * 1e6);
}

bool isKeyframe(const AVFrame *frame)
{
#if LIBAVUTIL_VERSION_INT >= AV_VERSION_INT(58, 7, 100)
    return frame->flags & AV_FRAME_FLAG_KEY;
#else
    return frame->key_frame;
#endif
}

} // namespace

FrameSelector::FrameSelector(const FrameSelection &selection, int interval)
    : mode(selection.mode)
    , interval(qMax(1, interval))
    , start(qMax<int64_t>(0, microseconds(selection.startSeconds)))
    , end(selection.hasEnd() ? microseconds(selection.endSeconds) : -1)
    , step(qMax<int64_t>(1, microseconds(selection.everySeconds)))
    , nextTarget(start)
{
    if (mode == FrameSelection::Mode::SceneChanges)
        scenes = std::make_unique<SceneDetector>(selection.sceneSensitivity);
}

FrameSelector::~FrameSelector() = default;

FrameSelector::Verdict FrameSelector::judge(const AVFrame *frame, int64_t timeUs)
{
    if (done || (end >= 0 && timeUs >= end))
        return Verdict::End;
    if (timeUs < start)
        return Verdict::Skip;
    const bool first = !reached;
    reached = true;

    switch (mode) {
    case FrameSelection::Mode::FramesPerSecond:
        return ++counted % interval == 0 ? Verdict::Take : Verdict::Skip;
    case FrameSelection::Mode::EverySeconds:
        if (timeUs < nextTarget)
            return Verdict::Skip;
        // The next target after this frame: a frame is taken once, however
        // many targets it answers.
        nextTarget = start + ((timeUs - start) / step + 1) * step;
        if (end >= 0 && nextTarget >= end)
            done = true;
        return Verdict::Take;
    case FrameSelection::Mode::Keyframes:
        return isKeyframe(frame) ? Verdict::Take : Verdict::Skip;
    case FrameSelection::Mode::SceneChanges:
        // Every frame of the range goes through the detector, so that each
        // is compared with the one before it.
        if (!scenes->isSceneChange(frame) && !first)
            return Verdict::Skip;
        score = scenes->lastScore();
        return Verdict::Take;
    }
    return Verdict::Skip;
}

int64_t FrameSelector::nextWantedUs() const
{
    if (mode == FrameSelection::Mode::EverySeconds)
        return nextTarget;
    return reached ? 0 : start;
}

int FrameSelector::estimatedTotal(const FrameSelection &selection, int64_t streamFrames,
    int64_t durationUs, int interval, int64_t keyframesInRange)
{
    using Sampling::estimatedTotalFrames;
    if (selection.mode == FrameSelection::Mode::SceneChanges)
        return 0;
    if (selection.mode == FrameSelection::Mode::FramesPerSecond && selection.isWholeVideo())
        return estimatedTotalFrames(streamFrames, durationUs, interval, selection.frameRate);

    const int64_t start = qMax<int64_t>(0, microseconds(selection.startSeconds));
    int64_t end = durationUs == AV_NOPTS_VALUE ? -1 : durationUs;
    if (selection.hasEnd())
        end = end < 0 ? microseconds(selection.endSeconds)
                      : qMin(end, microseconds(selection.endSeconds));
    const int64_t range = end < 0 ? -1 : qMax<int64_t>(0, end - start);
    const auto clamped = [](int64_t total) {
        return int(qBound(int64_t(1), total, int64_t(INT_MAX)));
    };

    switch (selection.mode) {
    case FrameSelection::Mode::FramesPerSecond: {
        const int64_t frames = streamFrames > 0 && durationUs > 0 && range >= 0
            ? int64_t(double(streamFrames) * range / durationUs)
            : 0;
        return estimatedTotalFrames(
            frames, range < 0 ? AV_NOPTS_VALUE : range, interval, selection.frameRate);
    }
    case FrameSelection::Mode::EverySeconds:
        if (range < 0)
            return Sampling::unknownTotalEstimate;
        return clamped(range / qMax<int64_t>(1, microseconds(selection.everySeconds)) + 1);
    case FrameSelection::Mode::Keyframes:
        if (keyframesInRange >= 0)
            return clamped(keyframesInRange);
        // Most encoders put a keyframe every two seconds or less.
        return range < 0 ? Sampling::unknownTotalEstimate : clamped(range / 2000000 + 1);
    case FrameSelection::Mode::SceneChanges:
        break;
    }
    return 0;
}

#include "frameselector.h"

#include "blackframetest.h"
#include "framefacts.h"
#include "repeatdetector.h"
#include "samplingrules.h"
#include "scenedetector.h"
#include "sharpnessmeter.h"

#include <QByteArray>
#include <QtGlobal>

#include <climits>
#include <cmath>

extern "C" {
#include <libavutil/avutil.h>
#include <libavutil/dict.h>
#include <libavutil/frame.h>
#include <libavutil/version.h>
}

using Mode = FrameSelection::Mode;
using Sampling::microseconds;

namespace {

// One microsecond at the least: a frame's time is kept in whole ones.
double framePeriodUs(double frameRate)
{
    return std::isfinite(frameRate) && frameRate > 0 ? qMax(1.0, 1e6 / frameRate) : 1e6 / 30;
}

// The end of the range where it is known: the selection's end, or the
// video's where that comes first or is the only one; -1 where neither is.
int64_t rangeEndUs(int64_t end, int64_t durationUs)
{
    const bool knownDuration = durationUs != AV_NOPTS_VALUE && durationUs > 0;
    if (end >= 0)
        return knownDuration ? qMin(end, durationUs) : end;
    return knownDuration ? durationUs : -1;
}

} // namespace

FrameSelector::FrameSelector(const FrameSelection &selection, const Pace &pace)
    : mode(selection.mode)
    , interval(qMax(1, pace.interval))
    , start(qMax<int64_t>(0, microseconds(selection.startSeconds)))
    , end(selection.hasEnd() ? microseconds(selection.endSeconds) : -1)
    , step(qMax<int64_t>(1, microseconds(selection.everySeconds)))
    , periodUs(framePeriodUs(pace.frameRate))
    , sharpest(selection.sharpest && (mode == Mode::EverySeconds || mode == Mode::Count))
    , count(qMax(1, selection.count))
{
    // A selection without a rate of its own (saving the frame on screen)
    // looks at every frame, however fast they come.
    if (mode == Mode::FramesPerSecond)
        everyFrame = selection.frameRate <= 0;
    if (mode == Mode::SceneChanges)
        scenes = std::make_unique<SceneDetector>(selection.sceneSensitivity);
    if (selection.skipBlack)
        black = std::make_unique<BlackFrameTest>();
    if (selection.distinct)
        repeats = std::make_unique<RepeatDetector>(selection.distinctSensitivity);
    if (sharpest)
        sharpness = std::make_unique<SharpnessMeter>();
    if (mode == Mode::Count) {
        const int64_t rangeEnd = rangeEndUs(end, pace.durationUs);
        // Without a length to split: the first count frames.
        if (rangeEnd > start)
            partUs = double(rangeEnd - start) / count;
        else
            everyFrame = true;
    }
}

FrameSelector::~FrameSelector() = default;

bool FrameSelector::offer(const AVFrame *frame, int64_t timeUs)
{
    if (ended)
        return false;
    if (timeUs >= start)
        passedStart = true;
    if (end >= 0 && timeUs >= end) {
        conclude();
        return false;
    }
    if (timeUs < start)
        return true;
    const bool first = !reached;
    reached = true;

    switch (mode) {
    case Mode::FramesPerSecond:
        offerAtRate(frame, timeUs, first);
        break;
    case Mode::EverySeconds:
    case Mode::Count:
        if (mode == Mode::Count && everyFrame) {
            if (!isBlack(frame))
                consider(frame, -1);
            if (chosenCount >= count)
                ended = true;
        } else if (sharpest) {
            offerToSharpest(frame, timeUs);
        } else if (mode == Mode::Count) {
            offerToMiddles(frame, timeUs);
        } else {
            offerAtPoints(frame, timeUs);
        }
        break;
    case Mode::Keyframes:
        if (FrameFacts::isKeyframe(frame) && !isBlack(frame))
            consider(frame, -1);
        break;
    case Mode::SceneChanges: {
        // Every frame of the range goes through the detector, so that each
        // is compared with the one before it.
        if ((scenes->isSceneChange(frame) || first) && !isBlack(frame))
            consider(frame, first ? -1 : scenes->lastScore().value_or(-1));
        break;
    }
    }
    if (failed)
        ended = true;
    return !ended;
}

void FrameSelector::finish()
{
    conclude();
}

FFmpeg::FramePtr FrameSelector::takeChosen()
{
    if (chosen.empty())
        return nullptr;
    FFmpeg::FramePtr next = std::move(chosen.front());
    chosen.pop_front();
    return next;
}

// The steps are times: the first frame at or after the range's first
// frame's time + (interval - 1 + k * interval) frame periods. On a constant
// rate that is every interval-th frame (every frame at an interval of 1); on
// a variable one it stays about the rate asked for where bursts and gaps of
// frames would make a count of frames run fast or slow. Half a period
// absorbs the rounding of times.
void FrameSelector::offerAtRate(const AVFrame *frame, int64_t timeUs, bool first)
{
    // Times that run backwards (a damaged or joined stream) start the steps anew.
    if (timeUs < previousUs)
        first = true;
    previousUs = timeUs;
    if (first) {
        anchorUs = double(timeUs);
        nextStep = 0;
    }
    const double target = anchorUs + (interval - 1 + double(nextStep) * interval) * periodUs;
    const bool atStep = everyFrame || timeUs >= target - periodUs / 2;
    if (atStep) {
        // A frame is taken once, however many steps it answers.
        const double steps
            = ((timeUs + periodUs / 2 - anchorUs) / periodUs - (interval - 1)) / interval;
        nextStep = qMax(nextStep + 1, int64_t(std::floor(steps)) + 1);
    }
    const bool fallback = chosenCount == 0 && !firstInRange;
    if ((!atStep && !fallback) || isBlack(frame))
        return;
    if (atStep)
        consider(frame, -1);
    if (chosenCount == 0 && !firstInRange) {
        firstInRange.reset(av_frame_clone(frame));
        failed = !firstInRange;
    }
}

void FrameSelector::offerAtPoints(const AVFrame *frame, int64_t timeUs)
{
    if (searching && timeUs >= partStartUs(part + 1)) {
        // The part ended with no frame that is not black.
        searching = false;
        ++part;
    }
    if (!searching) {
        if (timeUs < pointUs(part))
            return;
        // A frame is taken once, however many points it answers.
        part = partOf(timeUs);
    }
    if (isBlack(frame)) {
        searching = true;
        return;
    }
    searching = false;
    consider(frame, -1);
    ++part;
    if (end >= 0 && pointUs(part) >= end)
        ended = true;
}

// Each part takes the first frame from its middle to its end; where it has
// none there, its last frame before the middle. Where frames are many to a
// part that is the first frame at or after the middle; where they are few,
// each part still takes one of its own, so that a range with as many frames
// as parts gives every one of them.
void FrameSelector::offerToMiddles(const AVFrame *frame, int64_t timeUs)
{
    const int64_t framePart = partOf(timeUs);
    if (framePart > part) {
        takeBeforeMiddle();
        part = framePart;
    }
    // A part already has its frame.
    if (framePart < part)
        return;
    if (timeUs < pointUs(part)) {
        if (!isBlack(frame))
            beforeMiddle.reset(av_frame_clone(frame));
        return;
    }
    if (isBlack(frame))
        return;
    beforeMiddle.reset();
    consider(frame, -1);
    if (++part >= count)
        ended = true;
}

void FrameSelector::takeBeforeMiddle()
{
    if (!beforeMiddle)
        return;
    consider(beforeMiddle.get(), -1);
    beforeMiddle.reset();
}

void FrameSelector::offerToSharpest(const AVFrame *frame, int64_t timeUs)
{
    const int64_t framePart = partOf(timeUs);
    if (best && framePart != bestPart) {
        consider(best.get(), bestScore);
        best.reset();
    }
    part = framePart;
    if (isBlack(frame))
        return;
    // The earliest of equally sharp frames.
    const double score = sharpness->measure(frame);
    if (best && score <= bestScore)
        return;
    best.reset(av_frame_clone(frame));
    failed = !best;
    bestScore = score;
    bestPart = framePart;
}

void FrameSelector::conclude()
{
    if (ended)
        return;
    ended = true;
    if (best)
        consider(best.get(), bestScore);
    takeBeforeMiddle();
    // A range too short for one step of the rate gives its first frame.
    if (mode == Mode::FramesPerSecond && chosenCount == 0 && firstInRange)
        choose(firstInRange.get(), -1);
    best.reset();
    firstInRange.reset();
}

int64_t FrameSelector::partStartUs(int64_t index) const
{
    if (mode == Mode::Count)
        return start + std::llround(index * partUs);
    return start + index * step;
}

int64_t FrameSelector::pointUs(int64_t index) const
{
    if (mode == Mode::Count)
        return start + std::llround((index + 0.5) * partUs);
    return start + index * step;
}

int64_t FrameSelector::partOf(int64_t timeUs) const
{
    if (mode == Mode::Count)
        return qBound(
            int64_t(0), int64_t(std::floor((timeUs - start) / partUs)), int64_t(count - 1));
    return (timeUs - start) / step;
}

bool FrameSelector::isBlack(const AVFrame *frame)
{
    return black && black->isBlack(frame);
}

void FrameSelector::consider(const AVFrame *frame, double score)
{
    if (repeats) {
        const double difference = repeats->difference(frame);
        if (repeats->isRepeat(difference))
            return;
        repeats->remember();
        if (score < 0)
            score = difference;
    }
    choose(frame, score);
}

void FrameSelector::choose(const AVFrame *frame, double score)
{
    FFmpeg::FramePtr copy(av_frame_clone(frame));
    if (!copy) {
        failed = true;
        return;
    }
    if (score >= 0)
        FrameFacts::setNumber(copy.get(), FrameFacts::score, score);
    chosen.push_back(std::move(copy));
    ++chosenCount;
    firstInRange.reset();
}

int64_t FrameSelector::nextWantedUs() const
{
    if (!reached)
        return mode == Mode::Count && !everyFrame && !sharpest ? pointUs(0) : start;
    if ((mode == Mode::EverySeconds || mode == Mode::Count) && !sharpest && !everyFrame
        && !searching) {
        return pointUs(part);
    }
    return 0;
}

bool FrameSelector::mayTakeFrameAt(int64_t shownUs, int64_t earlierUs) const
{
    if (mode != Mode::FramesPerSecond) {
        const int64_t wantedUs = nextWantedUs();
        return wantedUs <= 0 || shownUs >= wantedUs - std::llround(periodUs);
    }
    // The first frame is kept in case the range is shorter than one step;
    // times that run backwards start the steps anew.
    if (!passedStart || everyFrame || chosenCount == 0 || previousUs >= shownUs)
        return true;
    // A frame is taken where a step's time falls after the frame before it
    // and at or before its own. The frames offered so far come before it as
    // well; a quarter of a period allows for times the decoder corrects.
    const double margin = periodUs / 4;
    const double after
        = double(earlierUs == AV_NOPTS_VALUE ? previousUs : qMax(earlierUs, previousUs)) - margin;
    const double stepUs = interval * periodUs;
    const double firstStepUs = anchorUs + (interval - 1) * periodUs - periodUs / 2;
    const double steps = qMax(0.0, std::floor((after - firstStepUs) / stepUs) + 1);
    return firstStepUs + steps * stepUs <= double(shownUs) + margin;
}

int FrameSelector::estimatedTotal(const FrameSelection &selection, int64_t streamFrames,
    int64_t durationUs, int interval, int64_t keyframesInRange, double frameRate)
{
    using Sampling::estimatedTotalFrames;
    // How many frames a test leaves out cannot be known before it runs.
    if (selection.mode == Mode::SceneChanges || selection.distinct || selection.skipBlack)
        return 0;
    if (selection.mode == Mode::FramesPerSecond && selection.isWholeVideo())
        return estimatedTotalFrames(streamFrames, durationUs, interval, selection.frameRate);

    const int64_t start = qMax<int64_t>(0, microseconds(selection.startSeconds));
    const int64_t end
        = rangeEndUs(selection.hasEnd() ? microseconds(selection.endSeconds) : -1, durationUs);
    const int64_t range = end < 0 ? -1 : qMax<int64_t>(0, end - start);
    const auto clamped = [](int64_t total) {
        return int(qBound(int64_t(1), total, int64_t(INT_MAX)));
    };
    // The frames in the range, from the container's count or the rate; 0
    // where neither tells.
    const auto framesInRange = [&]() -> int64_t {
        if (range < 0)
            return 0;
        if (streamFrames > 0 && durationUs != AV_NOPTS_VALUE && durationUs > 0)
            return int64_t(double(streamFrames) * range / durationUs);
        if (frameRate > 0 && std::isfinite(frameRate))
            return int64_t(range / 1e6 * frameRate);
        return 0;
    };

    switch (selection.mode) {
    case Mode::FramesPerSecond: {
        const int64_t frames = streamFrames > 0 && durationUs > 0 && range >= 0
            ? int64_t(double(streamFrames) * range / durationUs)
            : 0;
        return estimatedTotalFrames(
            frames, range < 0 ? AV_NOPTS_VALUE : range, interval, selection.frameRate);
    }
    case Mode::EverySeconds:
        if (range < 0)
            return Sampling::unknownTotalEstimate;
        return clamped(range / qMax<int64_t>(1, microseconds(selection.everySeconds)) + 1);
    case Mode::Keyframes:
        if (keyframesInRange >= 0)
            return clamped(keyframesInRange);
        // Most encoders put a keyframe every two seconds or less.
        return range < 0 ? Sampling::unknownTotalEstimate : clamped(range / 2000000 + 1);
    case Mode::Count: {
        const int64_t frames = framesInRange();
        const int wanted = qMax(1, selection.count);
        return frames > 0 ? clamped(qMin<int64_t>(wanted, frames)) : wanted;
    }
    case Mode::SceneChanges:
        break;
    }
    return 0;
}

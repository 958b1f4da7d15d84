#ifndef SAMPLINGRULES_H
#define SAMPLINGRULES_H

// The arithmetic of taking frames at a rate, kept free of any FFmpeg object
// so that it can be checked for inputs no real video has.

#include <cstdint>

extern "C" {
#include <libavutil/rational.h>
}

namespace Sampling {

// One decoded frame in every interval is taken; at least 1. An average rate
// above the stream's base rate is not a frame rate (FLV files report their
// millisecond time base there): the base rate is used instead.
int samplingInterval(AVRational averageFrameRate, AVRational realFrameRate, int frameRate);

// The frames a second samplingInterval counts with; may be no finite number
// where the stream's rates are none.
double sourceRate(AVRational averageFrameRate, AVRational realFrameRate);

// The frames a second a stream is taken to have where a frame's time must
// be worked out from its place: sourceRate where that is a usable number,
// else the stream's base rate, else 30.
double usableFrameRate(AVRational averageFrameRate, AVRational realFrameRate);

// Times further away than this (about 31 years) are all one far time: they
// stay exact numbers in any time base a stream has.
constexpr int64_t maxTimeUs = int64_t(1000000000) * 1000000;

// Seconds as whole microseconds, held within +-maxTimeUs; 0 for NaN.
int64_t microseconds(double seconds);

// What a job expects to write when nothing tells.
constexpr int unknownTotalEstimate = 1000;

// How many images a job expects to write; at least 1, for a video shorter
// than the interval gives its first frame. streamFrames <= 0 means the
// container does not say; durationUs is AV_NOPTS_VALUE when unknown.
int estimatedTotalFrames(int64_t streamFrames, int64_t durationUs, int interval, int frameRate);

} // namespace Sampling

#endif // SAMPLINGRULES_H

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

// What a job expects to write when nothing tells.
constexpr int unknownTotalEstimate = 1000;

// How many images a job expects to write; at least 1. streamFrames <= 0 means
// the container does not say; durationUs is AV_NOPTS_VALUE when unknown.
int estimatedTotalFrames(int64_t streamFrames, int64_t durationUs, int interval, int frameRate);

} // namespace Sampling

#endif // SAMPLINGRULES_H

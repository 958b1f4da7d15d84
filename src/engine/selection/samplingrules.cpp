#include "samplingrules.h"

#include <climits>
#include <cmath>

extern "C" {
#include <libavutil/avutil.h>
}

namespace Sampling {

namespace {

// The fallbacks apply only to rates that are numbers below this; a zero
// denominator gives no finite number and passes through unchanged.
constexpr double minimumUsableRate = 0.0001;
constexpr double defaultSourceRate = 30.0;

int clampToInt(double value)
{
    return value >= double(INT_MAX) ? INT_MAX : int(value);
}

} // namespace

int samplingInterval(AVRational averageFrameRate, AVRational realFrameRate, int frameRate)
{
    double sourceRate = double(averageFrameRate.num) / averageFrameRate.den;
    if (sourceRate < minimumUsableRate) {
        sourceRate = double(realFrameRate.num) / realFrameRate.den;
        if (sourceRate < minimumUsableRate)
            sourceRate = defaultSourceRate;
    } else {
        const double realRate = double(realFrameRate.num) / realFrameRate.den;
        if (std::isfinite(sourceRate) && std::isfinite(realRate) && realRate >= minimumUsableRate
            && sourceRate > realRate) {
            sourceRate = realRate;
        }
    }
    const double interval = sourceRate / frameRate;
    if (!std::isfinite(interval) || interval < 1.0)
        return 1;
    return clampToInt(interval);
}

int estimatedTotalFrames(int64_t streamFrames, int64_t durationUs, int interval, int frameRate)
{
    if (streamFrames > 0) {
        const int64_t total = streamFrames / interval;
        if (total <= 0)
            return unknownTotalEstimate;
        return total > INT_MAX ? INT_MAX : int(total);
    }
    if (durationUs == AV_NOPTS_VALUE)
        return unknownTotalEstimate;
    const double total = durationUs / 1000000.0 * frameRate;
    if (!(total >= 1.0))
        return unknownTotalEstimate;
    return clampToInt(total);
}

} // namespace Sampling

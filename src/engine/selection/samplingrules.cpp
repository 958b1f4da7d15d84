#include "samplingrules.h"

#include <QtGlobal>

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

double sourceRate(AVRational averageFrameRate, AVRational realFrameRate)
{
    double rate = double(averageFrameRate.num) / averageFrameRate.den;
    if (rate < minimumUsableRate) {
        rate = double(realFrameRate.num) / realFrameRate.den;
        if (rate < minimumUsableRate)
            rate = defaultSourceRate;
    } else {
        const double realRate = double(realFrameRate.num) / realFrameRate.den;
        if (std::isfinite(rate) && std::isfinite(realRate) && realRate >= minimumUsableRate
            && rate > realRate) {
            rate = realRate;
        }
    }
    return rate;
}

double usableFrameRate(AVRational averageFrameRate, AVRational realFrameRate)
{
    const double rate = sourceRate(averageFrameRate, realFrameRate);
    if (std::isfinite(rate) && rate >= minimumUsableRate)
        return rate;
    const double realRate = double(realFrameRate.num) / realFrameRate.den;
    return std::isfinite(realRate) && realRate >= minimumUsableRate ? realRate : defaultSourceRate;
}

int samplingInterval(AVRational averageFrameRate, AVRational realFrameRate, int frameRate)
{
    const double interval = sourceRate(averageFrameRate, realFrameRate) / frameRate;
    if (!std::isfinite(interval) || interval < 1.0)
        return 1;
    return clampToInt(interval);
}

int estimatedTotalFrames(int64_t streamFrames, int64_t durationUs, int interval, int frameRate)
{
    // A video shorter than the interval still gives its first frame.
    if (streamFrames > 0) {
        const int64_t total = qMax<int64_t>(1, streamFrames / qMax(1, interval));
        return total > INT_MAX ? INT_MAX : int(total);
    }
    if (durationUs == AV_NOPTS_VALUE || durationUs <= 0)
        return unknownTotalEstimate;
    const double total = durationUs / 1000000.0 * frameRate;
    return total < 1.0 ? 1 : clampToInt(total);
}

int64_t microseconds(double seconds)
{
    if (!(seconds > -double(maxTimeUs) / 1e6))
        return std::isnan(seconds) ? 0 : -maxTimeUs;
    if (!(seconds < double(maxTimeUs) / 1e6))
        return maxTimeUs;
    return std::llround(seconds * 1e6);
}

} // namespace Sampling

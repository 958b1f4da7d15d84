#include "blackframetest.h"

#include <QByteArray>

#include <atomic>

extern "C" {
#include <libavutil/error.h>
}

namespace {

void warnOnce(const char *what, int result)
{
    static std::atomic_bool warned {false};
    warnOnceAboutFilters(
        warned, "Black frames cannot be told apart, none is left out:", what, result);
}

} // namespace

bool BlackFrameTest::isBlack(const AVFrame *frame)
{
    if (failed)
        return false;
    if (!chain.isFor(frame)) {
        // Frames in a format the filter does not read are converted by the
        // graph itself.
        const QByteArray filter = "blackframe=amount=" + QByteArray::number(blackShare)
            + ":threshold=" + QByteArray::number(blackLuma);
        const char *what = nullptr;
        if (const int result = chain.build(frame, filter.constData(), &what); result < 0) {
            warnOnce(what, result);
            failed = true;
            return false;
        }
    }
    const int result = chain.filter(frame);
    if (result == AVERROR(EAGAIN))
        return false;
    if (result < 0) {
        warnOnce("filtering failed:", result);
        failed = true;
        return false;
    }
    // The filter marks the frames it finds black, and only those.
    const bool black
        = av_dict_get(chain.output()->metadata, "lavfi.blackframe.pblack", nullptr, 0) != nullptr;
    av_frame_unref(chain.output());
    return black;
}

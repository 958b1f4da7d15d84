#include "tonemapper.h"

#include <QtDebug>

#include <atomic>

extern "C" {
#include <libavutil/error.h>
}

namespace {

// Linear light at a nominal peak of 100 cd/m², BT.709 primaries, Hable's
// curve without desaturation, then BT.709 transfer and matrix. The last
// format keeps 16 bits for the 16-bit depth; swscale takes it from there.
constexpr char toneMapChain[] = "zscale=t=linear:npl=100,format=gbrpf32le,zscale=p=bt709,"
                                "tonemap=tonemap=hable:desat=0,"
                                "zscale=t=bt709:m=bt709:r=tv,format=yuv444p16le";

void warnOnce(const char *what, int result)
{
    static std::atomic_bool warned {false};
    warnOnceAboutFilters(warned, "HDR frames are converted without tone mapping:", what, result);
}

} // namespace

bool ToneMapper::isHdr(const AVFrame *frame)
{
    return frame->color_trc == AVCOL_TRC_SMPTE2084 || frame->color_trc == AVCOL_TRC_ARIB_STD_B67;
}

const AVFrame *ToneMapper::map(const AVFrame *frame)
{
    if (!chain.isFor(frame)) {
        const char *what = nullptr;
        if (const int result = chain.build(frame, toneMapChain, &what); result < 0) {
            // zscale needs libzimg.
            warnOnce(what, result);
            chain.reset();
        }
    }
    if (!chain.isBuilt())
        return nullptr;

    if (const int result = chain.filter(frame); result < 0) {
        warnOnce("filtering failed:", result);
        // A chain that failed once is not trusted with later frames.
        chain.reset();
        return nullptr;
    }
    return chain.output();
}

#ifndef TONEMAPPER_H
#define TONEMAPPER_H

#include "ffmpegholders.h"
#include "filterchain.h"

// Tone-maps HDR frames (PQ or HLG) to SDR BT.709 with FFmpeg's zscale and
// tonemap filters. The filter graph is built for the first frame and built
// again only when a frame's size or pixel format differs from the last.
class ToneMapper
{
public:
    // Whether a frame's transfer is one of the HDR curves, SMPTE ST 2084
    // (PQ) or ARIB STD-B67 (HLG).
    static bool isHdr(const AVFrame *frame);

    // The tone-mapped picture in limited-range BT.709 YUV 4:4:4, 16 bits a
    // sample, owned by the mapper and valid until the next call; nullptr
    // when the graph cannot be built or fails, which is logged once.
    const AVFrame *map(const AVFrame *frame);

private:
    FilterChain chain;
};

#endif // TONEMAPPER_H

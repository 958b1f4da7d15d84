#ifndef DEINTERLACER_H
#define DEINTERLACER_H

#include "ffmpegholders.h"
#include "filterchain.h"
#include "pictureshape.h"

// Weaves the two fields of an interlaced frame into one progressive picture
// with FFmpeg's estdif filter, which interpolates the lines of the second
// field from the first along edges. It works within the frame alone: a job
// hands its writers frames far apart, and a temporal deinterlacer fed one
// frame without its neighbours returns it unchanged.
class Deinterlacer
{
public:
    // Whether a frame is deinterlaced in this mode: in Auto, where the
    // decoder marks it interlaced or the stream's field order is one of
    // the interlaced ones.
    static bool isWanted(const AVFrame *frame, Picture::Deinterlace mode, int streamFieldOrder);

    // The progressive picture, owned by the deinterlacer and valid until the
    // next call; nullptr when the filter is missing or fails, which is
    // logged once.
    const AVFrame *deinterlace(const AVFrame *frame, int streamFieldOrder);

private:
    FilterChain chain;
};

#endif // DEINTERLACER_H

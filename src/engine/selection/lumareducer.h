#ifndef LUMAREDUCER_H
#define LUMAREDUCER_H

#include "ffmpegholders.h"

#include <cstdint>
#include <vector>

// A frame's brightness as a small grey picture, each of its pixels the mean
// of a block of the frame's, made by swscale's area averaging in one call
// whatever the frame's pixel format.
class LumaReducer
{
public:
    // The reduced picture, width x height bytes row after row, valid until
    // the next call; empty where the frame cannot be converted.
    const std::vector<uint8_t> &reduce(const AVFrame *frame, int width, int height);

private:
    FFmpeg::SwsContextPtr context;
    std::vector<uint8_t> pixels;
};

#endif // LUMAREDUCER_H

#include "lumareducer.h"

const std::vector<uint8_t> &LumaReducer::reduce(const AVFrame *frame, int width, int height)
{
    pixels.clear();
    if (width <= 0 || height <= 0 || frame->width <= 0 || frame->height <= 0)
        return pixels;
    // The cached context is the same one while the sizes and format stay.
    SwsContext *cached = sws_getCachedContext(context.release(), frame->width, frame->height,
        AVPixelFormat(frame->format), width, height, AV_PIX_FMT_GRAY8, SWS_AREA, nullptr, nullptr,
        nullptr);
    context.reset(cached);
    if (!cached)
        return pixels;
    pixels.resize(size_t(width) * height);
    uint8_t *const planes[4] = {pixels.data(), nullptr, nullptr, nullptr};
    const int strides[4] = {width, 0, 0, 0};
    if (sws_scale(cached, frame->data, frame->linesize, 0, frame->height, planes, strides)
        != height)
        pixels.clear();
    return pixels;
}

#include "deinterlacer.h"

#include <atomic>

namespace {

bool markedInterlaced(const AVFrame *frame)
{
#if LIBAVUTIL_VERSION_INT >= AV_VERSION_INT(58, 7, 100)
    return frame->flags & AV_FRAME_FLAG_INTERLACED;
#else
    return frame->interlaced_frame;
#endif
}

bool isInterlacedOrder(int fieldOrder)
{
    return fieldOrder == AV_FIELD_TT || fieldOrder == AV_FIELD_BB || fieldOrder == AV_FIELD_TB
        || fieldOrder == AV_FIELD_BT;
}

// The field shown first: the frame's own mark where it is interlaced, else
// the stream's order; top where neither says.
bool topFieldFirst(const AVFrame *frame, int streamFieldOrder)
{
    if (markedInterlaced(frame)) {
#if LIBAVUTIL_VERSION_INT >= AV_VERSION_INT(58, 7, 100)
        return frame->flags & AV_FRAME_FLAG_TOP_FIELD_FIRST;
#else
        return frame->top_field_first;
#endif
    }
    return streamFieldOrder != AV_FIELD_BB && streamFieldOrder != AV_FIELD_BT;
}

void warnOnce(const char *what, int result)
{
    static std::atomic_bool warned {false};
    warnOnceAboutFilters(warned, "Interlaced frames are written as they are:", what, result);
}

} // namespace

bool Deinterlacer::isWanted(const AVFrame *frame, Picture::Deinterlace mode, int streamFieldOrder)
{
    switch (mode) {
    case Picture::Deinterlace::Off:
        return false;
    case Picture::Deinterlace::On:
        return true;
    case Picture::Deinterlace::Auto:
        break;
    }
    return markedInterlaced(frame) || isInterlacedOrder(streamFieldOrder);
}

const AVFrame *Deinterlacer::deinterlace(const AVFrame *frame, int streamFieldOrder)
{
    // The filter keeps a frame back until it sees the next one or the end:
    // each frame gets a chain of its own, closed behind it. A chain this
    // small is built in far less time than the frame is filtered in.
    const char *description = topFieldFirst(frame, streamFieldOrder)
        ? "estdif=mode=frame:parity=tff:deint=all"
        : "estdif=mode=frame:parity=bff:deint=all";
    const char *what = nullptr;
    // One thread: the job already runs one writer per core.
    if (const int result = chain.build(frame, description, &what, 1); result < 0) {
        warnOnce(what, result);
        chain.reset();
        return nullptr;
    }
    if (const int result = chain.filterLast(frame); result < 0) {
        warnOnce("filtering failed:", result);
        chain.reset();
        return nullptr;
    }
    return chain.output();
}

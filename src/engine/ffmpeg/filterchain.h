#ifndef FILTERCHAIN_H
#define FILTERCHAIN_H

#include "ffmpegholders.h"

#include <atomic>

// FFmpeg filters by name between a buffer source and a buffer sink, for
// frames of one size and pixel format.
class FilterChain
{
public:
    // Builds the chain (filter syntax, "in" to "out") for frames like this
    // one; 0, or the AVERROR with *what saying which step failed. `threads`
    // is the filters' own slice threads, 0 for one per core.
    int build(const AVFrame *frame, const char *chain, const char **what, int threads = 0);
    bool isBuilt() const { return bool(graph); }
    // Whether the last build, successful or not, was for frames of this
    // frame's size and pixel format.
    bool isFor(const AVFrame *frame) const;
    void reset() { graph.reset(); }

    // Hands a frame in and takes the next filtered frame out into output():
    // 0, AVERROR(EAGAIN) where the chain let nothing out, or the error.
    int filter(const AVFrame *frame);
    // Hands in a frame and then the end of the stream, so that filters that
    // hold a frame back let it out; the chain takes no frame after this and
    // isFor() is false until it is built again. 0 or the error.
    int filterLast(const AVFrame *frame);
    // Owned by the chain, valid until the next filter().
    AVFrame *output() const { return out.get(); }

private:
    int push(const AVFrame *frame, bool last);

    FFmpeg::FilterGraphPtr graph;
    AVFilterContext *source = nullptr;
    AVFilterContext *sink = nullptr;
    FFmpeg::FramePtr input;
    FFmpeg::FramePtr out;
    int64_t nextPts = 0;
    int width = 0;
    int height = 0;
    int format = -1;
};

// Logs a filter failure with FFmpeg's reason, the first time only.
void warnOnceAboutFilters(
    std::atomic_bool &warned, const char *consequence, const char *what, int result);

#endif // FILTERCHAIN_H

#ifndef FILTERCHAIN_H
#define FILTERCHAIN_H

#include "ffmpegholders.h"

// FFmpeg filters by name between a buffer source and a buffer sink, for
// frames of one size and pixel format.
class FilterChain
{
public:
    // Builds the chain (filter syntax, "in" to "out") for frames like this
    // one; 0, or the AVERROR with *what saying which step failed.
    int build(const AVFrame *frame, const char *chain, const char **what);
    bool isBuilt() const { return bool(graph); }
    void reset() { graph.reset(); }

    // Hands a frame in and takes the next filtered frame out into *out:
    // 0, AVERROR(EAGAIN) where the chain let nothing out, or the error.
    int filter(const AVFrame *frame, AVFrame *out);

private:
    FFmpeg::FilterGraphPtr graph;
    AVFilterContext *source = nullptr;
    AVFilterContext *sink = nullptr;
    FFmpeg::FramePtr input;
    int64_t nextPts = 0;
};

#endif // FILTERCHAIN_H

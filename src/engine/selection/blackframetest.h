#ifndef BLACKFRAMETEST_H
#define BLACKFRAMETEST_H

#include "filterchain.h"

// Tells nearly black frames (fades, title cards, gaps) by FFmpeg's
// blackframe filter: at least 98% of the pixels have a luma below 32 in
// 8 bits.
class BlackFrameTest
{
public:
    static constexpr int blackShare = 98;
    static constexpr int blackLuma = 32;

    // Where the filter is missing or fails, no frame counts as black, which
    // is logged once: a frame is never dropped for a test that did not run.
    bool isBlack(const AVFrame *frame);

private:
    FilterChain chain;
    bool failed = false;
};

#endif // BLACKFRAMETEST_H

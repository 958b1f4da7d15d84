#ifndef SHARPNESSMETER_H
#define SHARPNESSMETER_H

#include "lumareducer.h"

struct AVFrame;

// How sharp a frame is: the variance of the Laplacian of its luma, the
// common focus measure, higher for sharper. Large pictures are measured at
// no more than measuredSide pixels across, averaged down by whole blocks: blur
// that spoils a picture spans several pixels and ranks the same there, at a
// fraction of the cost.
class SharpnessMeter
{
public:
    static constexpr int measuredSide = 960;

    // -1 where the frame cannot be measured.
    double measure(const AVFrame *frame);

    // The measure of a grey picture of width x height bytes; -1 below 3x3.
    static double laplacianVariance(const uint8_t *pixels, int width, int height);

private:
    LumaReducer reducer;
};

#endif // SHARPNESSMETER_H

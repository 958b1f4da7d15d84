#include "sharpnessmeter.h"

#include <QtGlobal>

extern "C" {
#include <libavutil/frame.h>
}

double SharpnessMeter::measure(const AVFrame *frame)
{
    const int longer = qMax(frame->width, frame->height);
    const int factor = qMax(1, (longer + measuredSide - 1) / measuredSide);
    const int width = qMax(1, frame->width / factor);
    const int height = qMax(1, frame->height / factor);
    const std::vector<uint8_t> &luma = reducer.reduce(frame, width, height);
    if (luma.empty())
        return -1;
    return laplacianVariance(luma.data(), width, height);
}

double SharpnessMeter::laplacianVariance(const uint8_t *pixels, int width, int height)
{
    if (width < 3 || height < 3)
        return -1;
    // Integer sums: exact, and fast enough to run on every frame of a part.
    int64_t sum = 0;
    int64_t squares = 0;
    for (int y = 1; y < height - 1; ++y) {
        const uint8_t *above = pixels + size_t(y - 1) * width;
        const uint8_t *row = above + width;
        const uint8_t *below = row + width;
        int rowSum = 0;
        int64_t rowSquares = 0;
        for (int x = 1; x < width - 1; ++x) {
            const int laplacian = 4 * row[x] - row[x - 1] - row[x + 1] - above[x] - below[x];
            rowSum += laplacian;
            rowSquares += laplacian * laplacian;
        }
        sum += rowSum;
        squares += rowSquares;
    }
    const double count = double(width - 2) * (height - 2);
    const double mean = sum / count;
    return squares / count - mean * mean;
}

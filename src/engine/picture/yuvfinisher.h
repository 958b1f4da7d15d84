#ifndef YUVFINISHER_H
#define YUVFINISHER_H

#include "ffmpegholders.h"
#include "filterchain.h"

#include <QByteArray>
#include <QSize>
#include <QTransform>

// Finishes a YUV 4:2:0 picture for an encoder that reads BT.601 YUV: the
// matrix and range converted with FFmpeg's colorspace filter, which works on
// the YUV samples directly, then the picture turned upright with its
// transpose and flip filters. The filter graph is kept while the frames and
// the conversion stay the same.
class YuvFinisher
{
public:
    // Whether anything is left to do for a picture of this matrix (SWS_CS_*)
    // and range.
    static bool isNeeded(
        int matrix, bool fullRange, bool wantFullRange, const QTransform &orientation);
    // Whether the colours are converted, which takes a picture of even width
    // and height.
    static bool convertsColour(int matrix, bool fullRange, bool wantFullRange);

    // `frame` is yuv420p; `picture` the part of it that is the picture, at
    // its top left, where the frame was padded to an even size. The result
    // is yuv420p, BT.601 in the wanted range, upright; owned by the finisher
    // and valid until the next call. nullptr when the filters are missing or
    // fail, which is logged once.
    const AVFrame *finish(const AVFrame *frame, QSize picture, int matrix, bool fullRange,
        bool wantFullRange, const QTransform &orientation);

private:
    FilterChain chain;
    QByteArray description;
};

#endif // YUVFINISHER_H

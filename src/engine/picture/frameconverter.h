#ifndef FRAMECONVERTER_H
#define FRAMECONVERTER_H

#include "ffmpegholders.h"
#include "pixellayout.h"
#include "tonemapper.h"

#include <QImage>

// Converts decoded frames into the pixel layout of a bit depth and shows the
// result as a QImage. The scaler and the destination buffer are kept from
// one frame to the next and remade only when a frame's size, pixel format or
// colour tags differ from the previous frame's. HDR frames are tone-mapped
// to SDR first. Frames with non-square pixels (a sample aspect ratio other
// than 1:1) are stretched to square pixels in the same conversion.
class FrameConverter
{
public:
    enum class Status { Converted, FrameAllocationFailed, BufferAllocationFailed, ScalerFailed };

    // On success *image shares the converter's buffer (no copy): it is valid
    // until the next call or the converter's destruction.
    Status convert(const AVFrame *frame, Picture::BitDepth depth, QImage *image);

private:
    ToneMapper toneMapper;
    FFmpeg::SwsContextPtr scaler;
    FFmpeg::FramePtr picture;
    int sourceWidth = 0;
    int scaledWidth = 0;
    int sourceHeight = 0;
    int sourceFormat = -1;
    int colorspace = -1;
    int fullRange = -1;
};

#endif // FRAMECONVERTER_H

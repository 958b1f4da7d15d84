#ifndef FRAMECONVERTER_H
#define FRAMECONVERTER_H

#include "deinterlacer.h"
#include "ffmpegholders.h"
#include "pictureshape.h"
#include "pixellayout.h"
#include "tonemapper.h"
#include "yuvfinisher.h"

#include <QImage>
#include <QTransform>

// Converts decoded frames into the pixel layout of a bit depth and shows the
// result as a QImage, or into the BT.601 YUV 4:2:0 planes that JPEG and WebP
// encoders read. The scaler and the destination buffer are kept from one
// frame to the next and remade only when a frame's size, pixel format or
// colour tags differ from the previous frame's. Interlaced frames are
// deinterlaced first where the shape asks for it, HDR frames tone-mapped to
// SDR. Frames with non-square pixels (a sample aspect ratio other than 1:1)
// are stretched to square pixels, and scaled to the shape's size, in the
// same conversion.
class FrameConverter
{
public:
    enum class Status { Converted, FrameAllocationFailed, BufferAllocationFailed, ScalerFailed };

    // What every picture of a job is shaped to, besides its pixel layout.
    struct Shape
    {
        // The requested size of the picture as shown; 0 for a side left free.
        int width = 0;
        int height = 0;
        // Turns the converted picture upright; identity for none.
        QTransform orientation;
        Picture::Deinterlace deinterlace = Picture::Deinterlace::Off;
        // The stream's AVFieldOrder.
        int fieldOrder = AV_FIELD_UNKNOWN;
    };

    // The range a YUV encoder reads: JPEG's is full, WebP's limited.
    enum class YuvRange { Full, Limited };

    // On success *image shares the converter's buffer (no copy): it is valid
    // until the next call or the converter's destruction. The image is not
    // yet turned upright.
    Status convert(const AVFrame *frame, Picture::BitDepth depth, QImage *image)
    {
        return convert(frame, depth, Shape(), image);
    }
    Status convert(
        const AVFrame *frame, Picture::BitDepth depth, const Shape &shape, QImage *image);

    // Whether a frame's picture can be handed to a YUV encoder without a
    // detour through RGB: a YUV frame of one to sixteen bits a sample without
    // alpha and outside the HDR curves, whose tone mapping works in RGB.
    static bool hasYuvPath(const AVFrame *frame);

    // For a frame with hasYuvPath: yuv420p planes in BT.601 in the given
    // range, at the shape's size and upright. *planes is owned by the
    // converter and valid until the next call. ScalerFailed also where the
    // colour filters are missing; the RGB path still works then.
    Status convertToYuv(
        const AVFrame *frame, YuvRange range, const Shape &shape, const AVFrame **planes);

private:
    // The frame deinterlaced where the shape asks for it; the frame itself
    // otherwise, or when that fails.
    const AVFrame *progressive(const AVFrame *frame, const Shape &shape);
    // Into `picture`, at `size` in a buffer of that size, or of the next even
    // one where `evenBuffer`.
    Status scale(const AVFrame *frame, AVPixelFormat target, QSize size, int swsFlags,
        bool targetFullRange, bool evenBuffer);

    Deinterlacer deinterlacer;
    ToneMapper toneMapper;
    YuvFinisher finisher;
    FFmpeg::SwsContextPtr scaler;
    FFmpeg::FramePtr picture;
    FFmpeg::FramePtr relabelled;
    int sourceWidth = 0;
    int scaledWidth = 0;
    int scaledHeight = 0;
    int sourceHeight = 0;
    int sourceFormat = -1;
    int targetFormat = -1;
    int colorspace = -1;
    int fullRange = -1;
    int targetRange = -1;
    int flags = 0;
};

#endif // FRAMECONVERTER_H

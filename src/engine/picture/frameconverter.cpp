#include "frameconverter.h"

#include "colourrules.h"
#include "orientation.h"

extern "C" {
#include <libavutil/pixdesc.h>
}

using namespace Picture;

namespace {

bool isYuv(AVPixelFormat format)
{
    const AVPixFmtDescriptor *descriptor = av_pix_fmt_desc_get(format);
    return descriptor && !(descriptor->flags & (AV_PIX_FMT_FLAG_RGB | AV_PIX_FMT_FLAG_PAL))
        && descriptor->nb_components >= 3;
}

} // namespace

FrameConverter::Status FrameConverter::convert(const AVFrame *frame, BitDepth depth, QImage *image)
{
    const AVPixelFormat target = pixelFormatForDepth(depth);

    // Taken before tone mapping, whose graph need not pass it on.
    const AVRational aspect = frame->sample_aspect_ratio;

    // PQ and HLG samples read as SDR come out pale and shifted. Where the
    // tone mapping is not available they are converted as they are.
    if (ToneMapper::isHdr(frame)) {
        if (const AVFrame *mapped = toneMapper.map(frame))
            frame = mapped;
    }

    // The frame's own size and format, not the decoder's: a stream that
    // changes resolution midway may deliver frames of the old size after the
    // decoder has moved on.
    const int width = frame->width;
    const int height = frame->height;
    const auto format = AVPixelFormat(frame->format);
    const int targetWidth = squarePixelWidth(width, aspect);

    AVFrame *destination = picture.get();
    if (!destination || destination->width != targetWidth || destination->height != height
        || destination->format != target) {
        picture.reset(av_frame_alloc());
        destination = picture.get();
        if (!destination)
            return Status::FrameAllocationFailed;
        destination->format = target;
        destination->width = targetWidth;
        destination->height = height;
        // Padded, aligned rows: swscale's vector code writes whole blocks,
        // past the last pixel of a row and past a tightly packed buffer.
        if (av_frame_get_buffer(destination, 64) < 0) {
            picture.reset();
            return Status::BufferAllocationFailed;
        }
    }

    const int matrix = swsColorspace(frame->colorspace, height);
    const int full = isFullRange(frame->color_range, format) ? 1 : 0;
    if (!scaler || sourceWidth != width || sourceHeight != height || sourceFormat != format
        || colorspace != matrix || fullRange != full || scaledWidth != targetWidth) {
        scaler.reset(sws_getCachedContext(scaler.release(), width, height, format, targetWidth,
            height, target, SWS_BILINEAR, nullptr, nullptr, nullptr));
        if (!scaler) {
            sourceFormat = -1;
            return Status::ScalerFailed;
        }
        // swscale assumes BT.601 limited range unless told otherwise.
        if (isYuv(format)) {
            const int *coefficients = sws_getCoefficients(matrix);
            sws_setColorspaceDetails(
                scaler.get(), coefficients, full, coefficients, 1, 0, 1 << 16, 1 << 16);
        }
        sourceWidth = width;
        scaledWidth = targetWidth;
        sourceHeight = height;
        sourceFormat = format;
        colorspace = matrix;
        fullRange = full;
    }

    if (sws_scale(scaler.get(), frame->data, frame->linesize, 0, height, destination->data,
            destination->linesize)
        <= 0) {
        return Status::ScalerFailed;
    }

    // The 16-bit layout's fourth channel must be opaque; swscale copies a
    // source's alpha into it.
    const AVPixFmtDescriptor *descriptor = av_pix_fmt_desc_get(format);
    if (target == AV_PIX_FMT_RGBA64 && (descriptor->flags & AV_PIX_FMT_FLAG_ALPHA)) {
        for (int y = 0; y < height; ++y) {
            auto *pixel
                = reinterpret_cast<uint16_t *>(destination->data[0] + y * destination->linesize[0]);
            for (int x = 0; x < targetWidth; ++x)
                pixel[4 * x + 3] = 0xffff;
        }
    }

    *image = QImage(destination->data[0], targetWidth, height, destination->linesize[0],
        imageFormatForDepth(depth));
    return Status::Converted;
}

#include "frameconverter.h"

#include "colourrules.h"
#include "orientation.h"

#include <cstring>

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

// Scaling that changes the picture's size takes the sharper filter;
// conversion alone keeps the one it always had, so that pictures at their
// own size stay as they were.
int swsFlagsFor(QSize size, const AVFrame *frame, AVRational aspect)
{
    const QSize own(squarePixelWidth(frame->width, aspect), frame->height);
    return size == own ? SWS_BILINEAR : SWS_BICUBIC;
}

} // namespace

const AVFrame *FrameConverter::progressive(const AVFrame *frame, const Shape &shape)
{
    if (!Deinterlacer::isWanted(frame, shape.deinterlace, shape.fieldOrder))
        return frame;
    const AVFrame *woven = deinterlacer.deinterlace(frame, shape.fieldOrder);
    return woven ? woven : frame;
}

FrameConverter::Status FrameConverter::scale(const AVFrame *frame, AVPixelFormat target, QSize size,
    int swsFlags, bool targetFullRange, bool evenBuffer)
{
    const int width = frame->width;
    const int height = frame->height;
    const auto format = AVPixelFormat(frame->format);
    const QSize buffer
        = evenBuffer ? QSize((size.width() + 1) & ~1, (size.height() + 1) & ~1) : size;

    AVFrame *destination = picture.get();
    if (!destination || destination->width != buffer.width()
        || destination->height != buffer.height() || destination->format != target) {
        picture.reset(av_frame_alloc());
        destination = picture.get();
        if (!destination)
            return Status::FrameAllocationFailed;
        destination->format = target;
        destination->width = buffer.width();
        destination->height = buffer.height();
        // Padded, aligned rows: swscale's vector code writes whole blocks,
        // past the last pixel of a row and past a tightly packed buffer.
        if (av_frame_get_buffer(destination, 64) < 0) {
            picture.reset();
            return Status::BufferAllocationFailed;
        }
    }

    const int matrix = swsColorspace(frame->colorspace, height);
    const int full = isFullRange(frame->color_range, format) ? 1 : 0;
    const int wantedRange = targetFullRange ? 1 : 0;
    if (!scaler || sourceWidth != width || sourceHeight != height || sourceFormat != format
        || colorspace != matrix || fullRange != full || scaledWidth != size.width()
        || scaledHeight != size.height() || targetFormat != target || targetRange != wantedRange
        || flags != swsFlags) {
        scaler.reset(sws_getCachedContext(scaler.release(), width, height, format, size.width(),
            size.height(), target, swsFlags, nullptr, nullptr, nullptr));
        if (!scaler) {
            sourceFormat = -1;
            return Status::ScalerFailed;
        }
        // swscale assumes BT.601 limited range unless told otherwise. The
        // same matrix on both sides of a YUV-to-YUV step keeps it one pass.
        if (isYuv(format)) {
            const int *coefficients = sws_getCoefficients(matrix);
            sws_setColorspaceDetails(
                scaler.get(), coefficients, full, coefficients, wantedRange, 0, 1 << 16, 1 << 16);
        }
        sourceWidth = width;
        scaledWidth = size.width();
        scaledHeight = size.height();
        sourceHeight = height;
        sourceFormat = format;
        targetFormat = target;
        colorspace = matrix;
        fullRange = full;
        targetRange = wantedRange;
        flags = swsFlags;
    }

    if (sws_scale(scaler.get(), frame->data, frame->linesize, 0, height, destination->data,
            destination->linesize)
        <= 0) {
        return Status::ScalerFailed;
    }
    // The luma of an odd edge, repeated into the even buffer's last column
    // and row: filters that want even sizes then read pixels that belong.
    // A 4:2:0 picture's chroma already covers them.
    if (buffer != size) {
        uint8_t *luma = destination->data[0];
        const int stride = destination->linesize[0];
        if (buffer.width() != size.width()) {
            for (int y = 0; y < size.height(); ++y)
                luma[y * stride + size.width()] = luma[y * stride + size.width() - 1];
        }
        if (buffer.height() != size.height())
            memcpy(
                luma + size.height() * stride, luma + (size.height() - 1) * stride, buffer.width());
    }
    return Status::Converted;
}

FrameConverter::Status FrameConverter::convert(
    const AVFrame *frame, BitDepth depth, const Shape &shape, QImage *image)
{
    const AVPixelFormat target = pixelFormatForDepth(depth);

    // Taken before deinterlacing and tone mapping, whose graphs need not
    // pass it on.
    const AVRational aspect = frame->sample_aspect_ratio;

    frame = progressive(frame, shape);

    // PQ and HLG samples read as SDR come out pale and shifted. Where the
    // tone mapping is not available they are converted as they are.
    if (ToneMapper::isHdr(frame)) {
        if (const AVFrame *mapped = toneMapper.map(frame))
            frame = mapped;
    }

    // The frame's own size and format, not the decoder's: a stream that
    // changes resolution midway may deliver frames of the old size after the
    // decoder has moved on.
    const QSize size = convertedSize(frame->width, frame->height, aspect,
        turnsSideways(shape.orientation), shape.width, shape.height);
    if (const Status status
        = scale(frame, target, size, swsFlagsFor(size, frame, aspect), true, false);
        status != Status::Converted) {
        return status;
    }
    AVFrame *destination = picture.get();

    // The 16-bit layout's fourth channel must be opaque; swscale copies a
    // source's alpha into it.
    const AVPixFmtDescriptor *descriptor = av_pix_fmt_desc_get(AVPixelFormat(frame->format));
    if (target == AV_PIX_FMT_RGBA64 && (descriptor->flags & AV_PIX_FMT_FLAG_ALPHA)) {
        for (int y = 0; y < size.height(); ++y) {
            auto *pixel
                = reinterpret_cast<uint16_t *>(destination->data[0] + y * destination->linesize[0]);
            for (int x = 0; x < size.width(); ++x)
                pixel[4 * x + 3] = 0xffff;
        }
    }

    *image = QImage(destination->data[0], size.width(), size.height(), destination->linesize[0],
        imageFormatForDepth(depth));
    return Status::Converted;
}

bool FrameConverter::hasYuvPath(const AVFrame *frame)
{
    const auto format = AVPixelFormat(frame->format);
    const AVPixFmtDescriptor *descriptor = av_pix_fmt_desc_get(format);
    return isYuv(format) && !(descriptor->flags & (AV_PIX_FMT_FLAG_ALPHA | AV_PIX_FMT_FLAG_HWACCEL))
        && descriptor->comp[0].depth <= 16 && format != AV_PIX_FMT_XYZ12LE
        && format != AV_PIX_FMT_XYZ12BE && !ToneMapper::isHdr(frame);
}

FrameConverter::Status FrameConverter::convertToYuv(
    const AVFrame *frame, YuvRange range, const Shape &shape, const AVFrame **planes)
{
    const AVRational aspect = frame->sample_aspect_ratio;
    frame = progressive(frame, shape);

    const auto format = AVPixelFormat(frame->format);
    const int matrix = swsColorspace(frame->colorspace, frame->height);
    const bool full = isFullRange(frame->color_range, format);
    const bool wantFull = range == YuvRange::Full;
    const QSize size = convertedSize(frame->width, frame->height, aspect,
        turnsSideways(shape.orientation), shape.width, shape.height);

    // swscale keeps the matrix and range here; the finisher changes them on
    // the smaller picture, in YUV. The colour filter takes even sizes only:
    // an odd picture is converted into an even buffer, and cut back after.
    const AVFrame *yuv = frame;
    const bool plain420 = format == AV_PIX_FMT_YUV420P || format == AV_PIX_FMT_YUVJ420P;
    const bool evenBuffer = YuvFinisher::convertsColour(matrix, full, wantFull)
        && ((size.width() | size.height()) & 1);
    if (!plain420 || size != QSize(frame->width, frame->height) || evenBuffer) {
        if (const Status status = scale(frame, AV_PIX_FMT_YUV420P, size,
                swsFlagsFor(size, frame, aspect), full, evenBuffer);
            status != Status::Converted) {
            return status;
        }
        yuv = picture.get();
    }

    if (!YuvFinisher::isNeeded(matrix, full, wantFull, shape.orientation)) {
        *planes = yuv;
        return Status::Converted;
    }
    if (yuv == frame && format == AV_PIX_FMT_YUVJ420P) {
        // The same planes under the name the colour filter takes.
        if (!relabelled)
            relabelled.reset(av_frame_alloc());
        if (!relabelled || av_frame_ref(relabelled.get(), frame) < 0)
            return Status::FrameAllocationFailed;
        relabelled->format = AV_PIX_FMT_YUV420P;
        yuv = relabelled.get();
    }
    const AVFrame *finished = finisher.finish(yuv, size, matrix, full, wantFull, shape.orientation);
    // The decoder's buffer goes back as soon as the filters are done with it.
    if (relabelled)
        av_frame_unref(relabelled.get());
    if (!finished)
        return Status::ScalerFailed;
    *planes = finished;
    return Status::Converted;
}

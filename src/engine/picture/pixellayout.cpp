#include "pixellayout.h"

namespace Picture {

BitDepth bitDepthFromIndex(int index)
{
    switch (index) {
    case 0:
        return BitDepth::Gray8;
    case 1:
        return BitDepth::Rgb16;
    case 3:
        return BitDepth::Rgba32;
    default:
        return BitDepth::Rgb24;
    }
}

AVPixelFormat pixelFormatForDepth(BitDepth depth)
{
    switch (depth) {
    case BitDepth::Gray8:
        return AV_PIX_FMT_GRAY8;
    case BitDepth::Rgb16:
        return AV_PIX_FMT_RGBA64;
    case BitDepth::Rgba32:
        return AV_PIX_FMT_RGBA;
    case BitDepth::Rgb24:
        break;
    }
    return AV_PIX_FMT_RGB24;
}

QImage::Format imageFormatForDepth(BitDepth depth)
{
    switch (depth) {
    case BitDepth::Gray8:
        return QImage::Format_Grayscale8;
    case BitDepth::Rgb16:
        return QImage::Format_RGBX64;
    case BitDepth::Rgba32:
        return QImage::Format_RGBA8888;
    case BitDepth::Rgb24:
        break;
    }
    return QImage::Format_RGB888;
}

} // namespace Picture

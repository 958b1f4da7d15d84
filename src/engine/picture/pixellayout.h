#ifndef PIXELLAYOUT_H
#define PIXELLAYOUT_H

#include <QImage>

extern "C" {
#include <libavutil/pixfmt.h>
}

namespace Picture {

// The window's bit-depth list, by index.
enum class BitDepth { Gray8 = 0, Rgb16 = 1, Rgb24 = 2, Rgba32 = 3 };

// Indices outside the list are treated as 24-bit.
BitDepth bitDepthFromIndex(int index);

// The pixel layout a frame is converted to, and the image format that has
// exactly that layout in memory. 16-bit frames become RGBA with 16 bits a
// channel in native byte order (alpha opaque), which Format_RGBX64 shows.
AVPixelFormat pixelFormatForDepth(BitDepth depth);
QImage::Format imageFormatForDepth(BitDepth depth);

} // namespace Picture

#endif // PIXELLAYOUT_H

#ifndef WEBPENCODER_H
#define WEBPENCODER_H

#include <QByteArray>

struct AVFrame;

namespace WebpEncoder {

// Whether quality q is written lossily from YUV; 100 means lossless, which
// libwebp encodes from RGB.
inline bool takesYuv(int quality)
{
    return quality < 100;
}

// Writes a lossy WebP file from yuv420p planes, which libwebp encodes as
// they are; its YUV is BT.601 in limited range, so the planes must be.
// Quality is libwebp's, 0 to 99. The whole file into *bytes; false when it
// could not be made.
bool encode(const AVFrame *planes, int quality, QByteArray *bytes);

} // namespace WebpEncoder

#endif // WEBPENCODER_H

#include "webpencoder.h"

#include <QtGlobal>

#include <webp/encode.h>

extern "C" {
#include <libavutil/frame.h>
}

namespace WebpEncoder {

bool encode(const AVFrame *planes, int quality, QByteArray *bytes)
{
    // libwebp has one stride for both chroma planes.
    if (planes->linesize[1] != planes->linesize[2])
        return false;
    WebPConfig config;
    WebPPicture picture;
    if (!WebPConfigInit(&config) || !WebPPictureInit(&picture))
        return false;
    // The rest of the configuration is libwebp's default, as Qt's writer
    // leaves it.
    config.quality = float(qBound(0, quality, 100));
    picture.use_argb = 0;
    picture.colorspace = WEBP_YUV420;
    picture.width = planes->width;
    picture.height = planes->height;
    // Only read: without an alpha plane and with the default configuration
    // the encoder writes nothing back into the planes it is given.
    picture.y = planes->data[0];
    picture.u = planes->data[1];
    picture.v = planes->data[2];
    picture.y_stride = planes->linesize[0];
    picture.uv_stride = planes->linesize[1];

    WebPMemoryWriter writer;
    WebPMemoryWriterInit(&writer);
    picture.writer = WebPMemoryWrite;
    picture.custom_ptr = &writer;
    const bool encoded = WebPEncode(&config, &picture) != 0 && writer.size <= size_t(INT_MAX);
    if (encoded)
        *bytes = QByteArray(reinterpret_cast<const char *>(writer.mem), int(writer.size));
    // Frees what the encoder allocated, never the planes it was given.
    WebPPictureFree(&picture);
    WebPMemoryWriterClear(&writer);
    return encoded;
}

} // namespace WebpEncoder

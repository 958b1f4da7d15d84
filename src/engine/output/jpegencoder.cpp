#include "jpegencoder.h"

#include <QtGlobal>

#include <turbojpeg.h>

extern "C" {
#include <libavutil/frame.h>
}

JpegEncoder::JpegEncoder()
    : handle(tjInitCompress())
{
}

JpegEncoder::~JpegEncoder()
{
    tjFree(buffer);
    if (handle)
        tjDestroy(handle);
}

bool JpegEncoder::encode(const AVFrame *planes, int quality, QByteArray *bytes)
{
    if (!handle || planes->width <= 0 || planes->height <= 0)
        return false;
    // A buffer that holds the largest file of this size, kept for the next
    // picture: the library then never reallocates behind it.
    const unsigned long needed = tjBufSize(planes->width, planes->height, TJSAMP_420);
    if (needed == static_cast<unsigned long>(-1))
        return false;
    if (needed > capacity) {
        tjFree(buffer);
        capacity = 0;
        buffer = tjAlloc(int(qMin<unsigned long>(needed, INT_MAX)));
        if (!buffer)
            return false;
        capacity = needed;
    }
    const unsigned char *sources[3] = {planes->data[0], planes->data[1], planes->data[2]};
    const int strides[3] = {planes->linesize[0], planes->linesize[1], planes->linesize[2]};
    unsigned char *output = buffer;
    unsigned long size = capacity;
    // Libjpeg's accurate integer DCT, as Qt's JPEG writer uses it: the same
    // quality gives the same files.
    if (tjCompressFromYUVPlanes(handle, sources, planes->width, strides, planes->height, TJSAMP_420,
            &output, &size, qBound(1, quality, 100), TJFLAG_ACCURATEDCT | TJFLAG_NOREALLOC)
        != 0) {
        return false;
    }
    *bytes = QByteArray(reinterpret_cast<const char *>(output), int(size));
    return true;
}

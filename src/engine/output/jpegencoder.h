#ifndef JPEGENCODER_H
#define JPEGENCODER_H

#include <QByteArray>

struct AVFrame;

// Writes JPEG files from YUV 4:2:0 planes with libjpeg-turbo's TurboJPEG,
// which hands them to libjpeg as they are: no colour conversion and no
// chroma subsampling on the way. A JPEG (JFIF) file's YUV is BT.601 in full
// range, so the planes must be. Used by one thread at a time.
class JpegEncoder
{
public:
    JpegEncoder();
    ~JpegEncoder();
    JpegEncoder(const JpegEncoder &) = delete;
    JpegEncoder &operator=(const JpegEncoder &) = delete;

    // `planes` is yuv420p; quality is libjpeg's, 1 to 100. The whole file
    // into *bytes; false when it could not be made.
    bool encode(const AVFrame *planes, int quality, QByteArray *bytes);

private:
    void *handle = nullptr;
    unsigned char *buffer = nullptr;
    unsigned long capacity = 0;
};

#endif // JPEGENCODER_H

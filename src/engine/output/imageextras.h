#ifndef IMAGEEXTRAS_H
#define IMAGEEXTRAS_H

#include "capturemetadata.h"

#include <QByteArray>
#include <QString>
#include <QTransform>

struct AVFrame;
class ContactSheet;
class ImageIndex;
class ThumbnailScaler;

// The frame's presentation time in milliseconds, its pts in its time_base;
// the time that names with the time carry.
qint64 frameMilliseconds(const AVFrame *frame);

// What a job puts into its images besides the pixels, and beside them:
// the capture's facts in each image's EXIF, the index and the contact
// sheet. Shared by the job's sinks; each part is off where it is empty.
struct ImageExtras
{
    CaptureMetadata capture;
    ImageIndex *index = nullptr;
    ContactSheet *sheet = nullptr;

    // Between encoding and writing: the capture's facts into the encoded
    // image, where its format has room for them. An image the metadata
    // library cannot handle is written as it was encoded.
    void addMetadata(QByteArray *bytes, const QString &format, const AVFrame *frame) const;

    // After image `number` is written at `path`: its index entry and its
    // thumbnail.
    void recordWritten(const AVFrame *frame, int number, const QString &path,
        const QByteArray &bytes, const QString &format, const QTransform &orientation,
        ThumbnailScaler &thumbnails) const;
};

#endif // IMAGEEXTRAS_H

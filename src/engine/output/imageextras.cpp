#include "imageextras.h"

#include "contactsheet.h"
#include "exifwriter.h"
#include "framefacts.h"
#include "imageformats.h"
#include "imageindex.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>

extern "C" {
#include <libavutil/mathematics.h>
}

namespace {

// The picture's size as written, read from the file's header, so that it is
// right whatever the encoding did to it.
QSize writtenSize(const QByteArray &bytes, const QString &format)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, ImageFormats::writerFormatName(format));
    const QSize size = reader.size();
    if (size.isValid())
        return size;
    // A reader that cannot tell without decoding: these formats are the
    // uncompressed ones.
    buffer.seek(0);
    return QImageReader(&buffer, ImageFormats::writerFormatName(format)).read().size();
}

} // namespace

qint64 frameMilliseconds(const AVFrame *frame)
{
    const qint64 pts = frame->pts == AV_NOPTS_VALUE ? 0 : frame->pts;
    return frame->time_base.den > 0 ? av_rescale_q(pts, frame->time_base, AVRational {1, 1000}) : 0;
}

void ImageExtras::addMetadata(QByteArray *bytes, const QString &format, const AVFrame *frame) const
{
    if (capture.isEmpty() || !ExifWriter::canCarry(format))
        return;
    ExifWriter::embed(bytes, capture, frameMilliseconds(frame));
}

void ImageExtras::recordWritten(const AVFrame *frame, int number, const QString &path,
    const QByteArray &bytes, const QString &format, const QTransform &orientation,
    ThumbnailScaler &thumbnails) const
{
    if (index) {
        IndexEntry entry;
        entry.image = number;
        entry.fileName = QFileInfo(path).fileName();
        entry.frame = qint64(FrameFacts::number(frame, FrameFacts::frameNumber).value_or(0));
        entry.milliseconds = frameMilliseconds(frame);
        entry.keyframe = FrameFacts::isKeyframe(frame);
        const QSize size = writtenSize(bytes, format);
        entry.width = size.width();
        entry.height = size.height();
        entry.score = FrameFacts::number(frame, FrameFacts::score);
        index->add(entry);
        index->updateIfDue();
    }
    if (sheet && sheet->wants(number)) {
        sheet->add(number, frameMilliseconds(frame),
            thumbnails.scale(frame, orientation, ContactSheet::thumbnailWidth));
    }
}

#include "imagesink.h"

#include "imageformats.h"
#include "webpencoder.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/mathematics.h>
}

using namespace ImageFormats;
using Picture::BitDepth;

namespace {

// An image goes through three steps: encoded into memory, given the job's
// metadata, then written as a file. What a format needs of the pixels is settled by the encoding,
// what the disk needs by the writing.
enum class Existing { Replace, Keep };

// Some writers take only some layouts, or read them wrongly: each gets one
// it writes correctly.
bool encodeImage(
    const QImage &image, const QString &format, int quality, BitDepth bitDepth, QByteArray *bytes)
{
    const QByteArray name = writerFormatName(format);
    QImage written = image;
    int writerQuality = quality;

    const auto convertUnlessAlready = [&written](QImage::Format target) {
        if (written.format() != target)
            written = written.convertToFormat(target);
    };

    if (name == "BMP") {
        switch (bitDepth) {
        case BitDepth::Gray8:
            convertUnlessAlready(QImage::Format_Grayscale8);
            break;
        case BitDepth::Rgb16:
            written = written.convertToFormat(QImage::Format_RGB888);
            break;
        case BitDepth::Rgb24:
            convertUnlessAlready(QImage::Format_RGB888);
            break;
        case BitDepth::Rgba32:
            convertUnlessAlready(QImage::Format_ARGB32);
            break;
        }
    } else if (name == "JPG" || name == "JPEG") {
        if (written.format() != QImage::Format_RGB888
            && written.format() != QImage::Format_Grayscale8) {
            written = written.convertToFormat(QImage::Format_RGB888);
        }
    } else if (name == "PNG") {
        writerQuality = pngCompressionFromQuality(quality);
    } else if (name == "WEBP") {
        // Qt's WebP writer reads an image with padded lines at the wrong
        // stride: garbled colours, and reads past the end of the buffer.
        // It gets a packed copy.
        written = written.copy();
    }

    bytes->clear();
    QBuffer buffer(bytes);
    if (!buffer.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&buffer, name);
    writer.setQuality(writerQuality);
    return writer.write(written);
}

// The whole file or none: a write that fell short, a failed flush or close
// (a full disk shows there first for a small file) removes what was written.
// A new file is made with NewOnly, which fails where the name is taken
// rather than looking first and replacing what appeared in between.
bool writeImageFile(const QByteArray &bytes, const QString &filePath, Existing existing)
{
    QFile file(filePath);
    const QIODevice::OpenMode mode = existing == Existing::Keep
        ? QIODevice::WriteOnly | QIODevice::NewOnly
        : QIODevice::WriteOnly | QIODevice::Truncate;
    if (!file.open(mode))
        return false;
    bool ok = file.write(bytes) == bytes.size() && file.flush();
    file.close();
    ok = ok && file.error() == QFileDevice::NoError;
    if (!ok)
        file.remove();
    return ok;
}

enum class YuvWriter { None, Jpeg, Webp };

// Which images are encoded from YUV planes: JPEG, and lossy WebP, in the
// colour depths. Grey, 16-bit and lossless pictures keep their RGB road.
YuvWriter yuvWriterFor(const ImageSettings &settings)
{
    if (settings.bitDepth != BitDepth::Rgb24 && settings.bitDepth != BitDepth::Rgba32)
        return YuvWriter::None;
    const QByteArray name = writerFormatName(settings.format);
    if (name == "JPG" || name == "JPEG")
        return YuvWriter::Jpeg;
    if (name == "WEBP" && WebpEncoder::takesYuv(settings.quality))
        return YuvWriter::Webp;
    return YuvWriter::None;
}

FrameConverter::Shape shapeOf(const ImageSettings &settings)
{
    FrameConverter::Shape shape;
    shape.width = settings.width;
    shape.height = settings.height;
    shape.orientation = settings.orientation;
    shape.deinterlace = settings.deinterlace;
    shape.fieldOrder = settings.fieldOrder;
    return shape;
}

// QImage keeps the pixel layout through a plain mirror or a quarter turn,
// but a mirror and a turn in one transform take its general path, which
// gives premultiplied alpha: the mirror goes first, on its own.
QImage upright(const QImage &image, const QTransform &orientation)
{
    if (orientation.determinant() >= 0)
        return image.transformed(orientation);
    const QTransform turn = QTransform::fromScale(-1, 1) * orientation;
    const QImage mirrored = image.mirrored(true, false);
    return turn.isIdentity() ? mirrored : mirrored.transformed(turn);
}

} // namespace

QString ImageSettings::filePath(int number, const AVFrame *frame) const
{
    if (!timeInNames)
        return filePath(number);
    return ImageNaming::outputFilePathWithTime(
        outputPath, namingPattern, number, frameMilliseconds(frame), format);
}

void ImageNames::record(int number, const QString &path)
{
    if (!settings.timeInNames)
        return;
    std::lock_guard locker(mutex);
    paths[number] = path;
}

QString ImageNames::path(int number) const
{
    std::lock_guard locker(mutex);
    const auto found = paths.find(number);
    return found == paths.end() ? settings.filePath(number) : found->second;
}

ImageFileSink::ImageFileSink(
    const ImageSettings &settings, ImageNames &names, const ImageExtras *extras)
    : settings(settings)
    , names(names)
    , extras(extras)
    , shape(shapeOf(settings))
{
}

Outcome ImageFileSink::write(const AVFrame *frame, int number)
{
    QByteArray bytes;
    if (const Outcome failure = encode(frame, &bytes); failure != Outcome::Converted)
        return failure;

    const QString path = settings.filePath(number, frame);
    names.record(number, path);
    if (extras)
        extras->addMetadata(&bytes, settings.format, frame);
    if (!writeImageFile(bytes, path, Existing::Replace))
        return Outcome::CannotWrite;
    if (extras) {
        extras->recordWritten(
            frame, number, path, bytes, settings.format, settings.orientation, thumbnails);
    }
    return Outcome::Converted;
}

Outcome ImageFileSink::writeNew(const AVFrame *frame, const NameChoice &nameFor, QString *path)
{
    QByteArray bytes;
    if (const Outcome failure = encode(frame, &bytes); failure != Outcome::Converted) {
        *path = nameFor(1);
        return failure;
    }
    for (int attempt = 1; attempt <= maxNameAttempts; ++attempt) {
        *path = nameFor(attempt);
        if (QFileInfo::exists(*path))
            continue;
        if (writeImageFile(bytes, *path, Existing::Keep))
            return Outcome::Converted;
        // Taken since the look by another writer: the next name. Anything
        // else is a failure to write.
        if (!QFileInfo::exists(*path))
            return Outcome::CannotWrite;
    }
    return Outcome::CannotWrite;
}

Outcome ImageFileSink::encode(const AVFrame *frame, QByteArray *bytes)
{
    const YuvWriter writer = yuvWriterFor(settings);
    if (writer != YuvWriter::None && FrameConverter::hasYuvPath(frame)) {
        const AVFrame *planes = nullptr;
        const FrameConverter::YuvRange range = writer == YuvWriter::Jpeg
            ? FrameConverter::YuvRange::Full
            : FrameConverter::YuvRange::Limited;
        switch (converter.convertToYuv(frame, range, shape, &planes)) {
        case FrameConverter::Status::Converted:
            if (writer == YuvWriter::Jpeg ? jpeg.encode(planes, settings.quality, bytes)
                                          : WebpEncoder::encode(planes, settings.quality, bytes)) {
                return Outcome::Converted;
            }
            // The RGB road below, with Qt's writer, may still make it.
            break;
        case FrameConverter::Status::FrameAllocationFailed:
        case FrameConverter::Status::BufferAllocationFailed:
            return Outcome::OutOfMemory;
        case FrameConverter::Status::ScalerFailed:
            // The colour filters are missing: the RGB road works without them.
            break;
        }
    }

    QImage image;
    if (const Outcome failure = render(frame, &image); failure != Outcome::Converted)
        return failure;
    if (!encodeImage(image, settings.format, settings.quality, settings.bitDepth, bytes))
        return Outcome::CannotWrite;
    return Outcome::Converted;
}

Outcome ImageFileSink::render(const AVFrame *frame, QImage *image)
{
    switch (converter.convert(frame, settings.bitDepth, shape, image)) {
    case FrameConverter::Status::Converted:
        break;
    case FrameConverter::Status::FrameAllocationFailed:
        return Outcome::OutOfMemory;
    case FrameConverter::Status::BufferAllocationFailed:
        return Outcome::OutOfMemory;
    case FrameConverter::Status::ScalerFailed:
        return Outcome::CannotConvert;
    }
    if (!settings.orientation.isIdentity())
        *image = upright(*image, settings.orientation);
    return Outcome::Converted;
}

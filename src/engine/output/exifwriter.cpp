#include "exifwriter.h"

#include "capturemetadata.h"

#include <QtDebug>

#include <atomic>
#include <cmath>
#include <exception>
#include <mutex>

#include <exiv2/exiv2.hpp>

namespace ExifWriter {

namespace {

// Exiv2's own warnings would break into oskivo-cli's progress line; its XMP
// support must be set up once before threads use the library.
void prepareLibrary()
{
    static std::once_flag prepared;
    std::call_once(prepared, [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        Exiv2::XmpParser::initialize();
    });
}

// The text is read as the tag's own type: "48/1 51/1 0/1" as three rationals.
void setText(Exiv2::ExifData &exif, const char *key, const QString &text)
{
    exif[key] = std::string(text.toUtf8().constData());
}

void fill(Exiv2::ExifData &exif, const CaptureMetadata &capture, qint64 frameMilliseconds)
{
    if (capture.creationUtc.isValid()) {
        const QDateTime shown = capture.creationUtc.addMSecs(qMax<qint64>(0, frameMilliseconds));
        setText(exif, "Exif.Photo.DateTimeOriginal",
            shown.toString(QStringLiteral("yyyy:MM:dd HH:mm:ss")));
        setText(exif, "Exif.Photo.SubSecTimeOriginal", shown.toString(QStringLiteral("zzz")));
        // The container's time is UTC.
        setText(exif, "Exif.Photo.OffsetTimeOriginal", QStringLiteral("+00:00"));
    }
    if (capture.location) {
        const GeoLocation &place = *capture.location;
        exif["Exif.GPSInfo.GPSVersionID"] = std::string("2 3 0 0");
        setText(exif, "Exif.GPSInfo.GPSLatitudeRef",
            place.latitude < 0 ? QStringLiteral("S") : QStringLiteral("N"));
        setText(exif, "Exif.GPSInfo.GPSLatitude", degreesMinutesSeconds(place.latitude));
        setText(exif, "Exif.GPSInfo.GPSLongitudeRef",
            place.longitude < 0 ? QStringLiteral("W") : QStringLiteral("E"));
        setText(exif, "Exif.GPSInfo.GPSLongitude", degreesMinutesSeconds(place.longitude));
        if (place.altitude) {
            exif["Exif.GPSInfo.GPSAltitudeRef"] = std::string(*place.altitude < 0 ? "1" : "0");
            setText(exif, "Exif.GPSInfo.GPSAltitude",
                QStringLiteral("%1/1000").arg(std::llround(std::abs(*place.altitude) * 1000)));
        }
    }
    if (!capture.make.isEmpty())
        setText(exif, "Exif.Image.Make", capture.make);
    if (!capture.model.isEmpty())
        setText(exif, "Exif.Image.Model", capture.model);
}

} // namespace

bool canCarry(const QString &format)
{
    static const QStringList carriers {QStringLiteral("JPG"), QStringLiteral("JPEG"),
        QStringLiteral("PNG"), QStringLiteral("WEBP"), QStringLiteral("TIFF"),
        QStringLiteral("TIF")};
    return carriers.contains(format.toUpper());
}

QString degreesMinutesSeconds(double degrees)
{
    // In ten-thousandths of a second, so that rounding carries into the
    // minutes and degrees rather than giving 60 seconds.
    const long long total = std::llround(std::abs(degrees) * 3600.0 * 10000.0);
    const long long perDegree = 3600LL * 10000;
    const long long perMinute = 60LL * 10000;
    return QStringLiteral("%1/1 %2/1 %3/10000")
        .arg(total / perDegree)
        .arg(total % perDegree / perMinute)
        .arg(total % perMinute);
}

bool embed(QByteArray *bytes, const CaptureMetadata &capture, qint64 frameMilliseconds)
{
    if (capture.isEmpty())
        return true;
    prepareLibrary();
    try {
        // Type deduced: Exiv2 0.27 hands out an AutoPtr, 0.28 a UniquePtr.
        auto image = Exiv2::ImageFactory::open(
            reinterpret_cast<const Exiv2::byte *>(bytes->constData()), bytes->size());
        if (image.get() == nullptr)
            return false;
        image->readMetadata();
        fill(image->exifData(), capture, frameMilliseconds);
        image->writeMetadata();

        Exiv2::BasicIo &io = image->io();
        if (io.open() != 0)
            return false;
        const auto size = qsizetype(io.size());
        QByteArray written(size, Qt::Uninitialized);
        const bool complete = io.seek(0, Exiv2::BasicIo::beg) == 0
            && qsizetype(io.read(reinterpret_cast<Exiv2::byte *>(written.data()), size)) == size;
        io.close();
        if (!complete || written.isEmpty())
            return false;
        *bytes = written;
        return true;
    } catch (const std::exception &error) {
        static std::atomic_bool warned {false};
        if (!warned.exchange(true))
            qWarning("Image metadata not written: %s", error.what());
        return false;
    }
}

} // namespace ExifWriter

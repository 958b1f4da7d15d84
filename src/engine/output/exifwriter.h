#ifndef EXIFWRITER_H
#define EXIFWRITER_H

#include <QByteArray>
#include <QString>

struct CaptureMetadata;

// Writes when, where and with what an image was recorded into its EXIF, on
// the encoded file in memory, through Exiv2: DateTimeOriginal with its
// sub-seconds and zone, GPS latitude, longitude and altitude, Make and Model.
namespace ExifWriter {

// Whether images of this format (the format list's text) have a place for
// EXIF that is written: JPG, PNG, WebP and TIFF. Others go without.
bool canCarry(const QString &format);

// Adds the capture's facts to *bytes, an encoded image of a format that can
// carry them, for a frame shown `frameMilliseconds` into the video: its
// DateTimeOriginal is the creation time plus that. False, with *bytes as it
// was, where the library cannot read or write the image.
bool embed(QByteArray *bytes, const CaptureMetadata &capture, qint64 frameMilliseconds);

// "48/1 51/1 277200/10000": the degrees, minutes and seconds of an angle's
// size as EXIF's three rationals, to a ten-thousandth of a second.
QString degreesMinutesSeconds(double degrees);

} // namespace ExifWriter

#endif // EXIFWRITER_H

#ifndef CAPTUREMETADATA_H
#define CAPTUREMETADATA_H

#include <QDateTime>
#include <QString>

#include <optional>

struct AVDictionary;
struct AVFormatContext;
struct AVStream;

// A place on the earth in degrees (north and east positive) and, where
// known, metres above sea level.
struct GeoLocation
{
    double latitude = 0;
    double longitude = 0;
    std::optional<double> altitude;
};

// When, where and with what the video was recorded, as its container says:
// what each image carries in its EXIF. Read once per job.
struct CaptureMetadata
{
    // The recording's start, in UTC; invalid where the container does not
    // give it.
    QDateTime creationUtc;
    std::optional<GeoLocation> location;
    QString make;
    QString model;

    bool isEmpty() const
    {
        return !creationUtc.isValid() && !location && make.isEmpty() && model.isEmpty();
    }

    // From the container's metadata, then the video stream's.
    static CaptureMetadata fromContainer(const AVFormatContext *format, const AVStream *stream);

    // A creation_time as FFmpeg gives it, "2024-05-06T07:08:09.000000Z": ISO
    // 8601 with optional fractions and zone, UTC where it names none. Invalid
    // for anything else, and for the zero times of the QuickTime and Unix
    // clocks, which muxers write when they know no time.
    static QDateTime parseCreationTime(const QString &text);

    // An ISO 6709 point as QuickTime and phones write it,
    // "+48.8577+002.2950+035.000/": latitude and longitude in degrees,
    // degrees and minutes or degrees, minutes and seconds, then an optional
    // altitude. Nothing for anything else or for a point off the globe.
    static std::optional<GeoLocation> parseIso6709(const QString &text);
};

#endif // CAPTUREMETADATA_H

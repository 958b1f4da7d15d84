#include "capturemetadata.h"

#include <QRegularExpression>
#include <QTimeZone>

#include <cmath>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
}

namespace {

// The first of the keys present, in the container's metadata, then the
// stream's.
QString firstValue(const AVDictionary *container, const AVDictionary *stream,
    std::initializer_list<const char *> keys)
{
    for (const AVDictionary *dictionary : {container, stream}) {
        for (const char *key : keys) {
            const AVDictionaryEntry *entry = av_dict_get(dictionary, key, nullptr, 0);
            if (entry && entry->value && *entry->value)
                return QString::fromUtf8(entry->value).trimmed();
        }
    }
    return QString();
}

// One ISO 6709 coordinate: the sign, then `degreeDigits` digits of degrees,
// optionally two of minutes and two of seconds, the last part with optional
// decimals. Nothing where the text is none of these forms.
std::optional<double> coordinate(const QString &text, int degreeDigits)
{
    const qsizetype point = text.indexOf(u'.');
    const QString whole = text.mid(1, point < 0 ? -1 : point - 1);
    const QString fraction = point < 0 ? QString() : text.mid(point);
    bool ok = false;
    const double decimals = fraction.isEmpty() ? 0 : (QStringLiteral("0") + fraction).toDouble(&ok);
    if (!fraction.isEmpty() && !ok)
        return std::nullopt;
    const auto part = [&whole](int from, int length) {
        return whole.mid(from, length).toInt();
    };
    double value = 0;
    if (whole.size() == degreeDigits) {
        value = part(0, degreeDigits) + decimals;
    } else if (whole.size() == degreeDigits + 2) {
        const int minutes = part(degreeDigits, 2);
        if (minutes >= 60)
            return std::nullopt;
        value = part(0, degreeDigits) + (minutes + decimals) / 60.0;
    } else if (whole.size() == degreeDigits + 4) {
        const int minutes = part(degreeDigits, 2);
        const int seconds = part(degreeDigits + 2, 2);
        if (minutes >= 60 || seconds >= 60)
            return std::nullopt;
        value = part(0, degreeDigits) + minutes / 60.0 + (seconds + decimals) / 3600.0;
    } else {
        return std::nullopt;
    }
    return text.startsWith(u'-') ? -value : value;
}

} // namespace

CaptureMetadata CaptureMetadata::fromContainer(
    const AVFormatContext *format, const AVStream *stream)
{
    const AVDictionary *container = format ? format->metadata : nullptr;
    const AVDictionary *video = stream ? stream->metadata : nullptr;
    CaptureMetadata facts;
    facts.creationUtc = parseCreationTime(firstValue(
        container, video, {"creation_time", "com.apple.quicktime.creationdate", "date"}));
    facts.location = parseIso6709(firstValue(
        container, video, {"location", "com.apple.quicktime.location.ISO6709", "location-eng"}));
    facts.make = firstValue(
        container, video, {"com.apple.quicktime.make", "make", "com.android.manufacturer"});
    facts.model
        = firstValue(container, video, {"com.apple.quicktime.model", "model", "com.android.model"});
    return facts;
}

QDateTime CaptureMetadata::parseCreationTime(const QString &text)
{
    static const QRegularExpression form(
        QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})[T "
                       "](\\d{2}):(\\d{2}):(\\d{2})(\\.\\d+)?(Z|[+-]\\d{2}:?\\d{2})?$"));
    const QRegularExpressionMatch match = form.match(text.trimmed());
    if (!match.hasMatch())
        return QDateTime();
    const auto number = [&match](int group) {
        return match.captured(group).toInt();
    };
    const QDate date(number(1), number(2), number(3));
    const double fraction
        = match.capturedLength(7) > 0 ? (QStringLiteral("0") + match.captured(7)).toDouble() : 0;
    const int milliseconds = qMin(999, int(std::floor(fraction * 1000)));
    const QTime time(number(4), number(5), number(6), milliseconds);
    if (!date.isValid() || !time.isValid())
        return QDateTime();

    int offsetSeconds = 0;
    const QString zone = match.captured(8);
    if (zone.size() > 1) {
        const QString digits = QString(zone).remove(u':');
        offsetSeconds = (digits.mid(1, 2).toInt() * 60 + digits.mid(3, 2).toInt()) * 60;
        if (zone.startsWith(u'-'))
            offsetSeconds = -offsetSeconds;
    }
    QDateTime utc(date, time, QTimeZone::utc());
    utc = utc.addSecs(-offsetSeconds);
    static const QDateTime quickTimeZero(QDate(1904, 1, 1), QTime(0, 0), QTimeZone::utc());
    static const QDateTime unixZero(QDate(1970, 1, 1), QTime(0, 0), QTimeZone::utc());
    if (utc == quickTimeZero || utc == unixZero)
        return QDateTime();
    return utc;
}

std::optional<GeoLocation> CaptureMetadata::parseIso6709(const QString &text)
{
    // Latitude, longitude, optional altitude, optional CRS, and the closing
    // solidus, which some writers leave out.
    static const QRegularExpression form(
        QStringLiteral("^([+-]\\d+(?:\\.\\d+)?)([+-]\\d+(?:\\.\\d+)?)"
                       "([+-]\\d+(?:\\.\\d+)?)?(?:CRS[^/]*)?/?$"));
    const QRegularExpressionMatch match = form.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    const std::optional<double> latitude = coordinate(match.captured(1), 2);
    const std::optional<double> longitude = coordinate(match.captured(2), 3);
    if (!latitude || !longitude || std::abs(*latitude) > 90 || std::abs(*longitude) > 180)
        return std::nullopt;
    GeoLocation location;
    location.latitude = *latitude;
    location.longitude = *longitude;
    if (match.capturedLength(3) > 0) {
        bool ok = false;
        const double altitude = match.captured(3).toDouble(&ok);
        if (ok && std::isfinite(altitude))
            location.altitude = altitude;
    }
    return location;
}

#include "extractionrules.h"

#include "extractionjob.h"

#include <QDir>
#include <QDirIterator>
#include <QLatin1String>
#include <QList>
#include <QtMath>

#include <climits>
#include <cmath>

extern "C" {
#include <libavutil/avutil.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

namespace ExtractionRules {

namespace {

// The fallbacks apply only to rates that are numbers below this; a zero
// denominator gives no finite number and passes through unchanged.
constexpr double minimumUsableRate = 0.0001;
constexpr double defaultSourceRate = 30.0;
constexpr int unknownEstimate = unknownTotalEstimate;

int clampToInt(double value)
{
    return value >= double(INT_MAX) ? INT_MAX : int(value);
}

} // namespace

BitDepth bitDepthFromIndex(int index)
{
    switch (index) {
    case 0:
        return BitDepth::Gray8;
    case 1:
        return BitDepth::Rgb16;
    case 3:
        return BitDepth::Rgba32;
    default:
        return BitDepth::Rgb24;
    }
}

AVPixelFormat pixelFormatForDepth(BitDepth depth)
{
    switch (depth) {
    case BitDepth::Gray8:
        return AV_PIX_FMT_GRAY8;
    case BitDepth::Rgb16:
        return AV_PIX_FMT_RGBA64;
    case BitDepth::Rgba32:
        return AV_PIX_FMT_RGBA;
    case BitDepth::Rgb24:
        break;
    }
    return AV_PIX_FMT_RGB24;
}

QImage::Format imageFormatForDepth(BitDepth depth)
{
    switch (depth) {
    case BitDepth::Gray8:
        return QImage::Format_Grayscale8;
    case BitDepth::Rgb16:
        return QImage::Format_RGBX64;
    case BitDepth::Rgba32:
        return QImage::Format_RGBA8888;
    case BitDepth::Rgb24:
        break;
    }
    return QImage::Format_RGB888;
}

int samplingInterval(AVRational averageFrameRate, AVRational realFrameRate, int frameRate)
{
    double sourceRate = double(averageFrameRate.num) / averageFrameRate.den;
    if (sourceRate < minimumUsableRate) {
        sourceRate = double(realFrameRate.num) / realFrameRate.den;
        if (sourceRate < minimumUsableRate)
            sourceRate = defaultSourceRate;
    } else {
        const double realRate = double(realFrameRate.num) / realFrameRate.den;
        if (std::isfinite(sourceRate) && std::isfinite(realRate) && realRate >= minimumUsableRate
            && sourceRate > realRate) {
            sourceRate = realRate;
        }
    }
    const double interval = sourceRate / frameRate;
    if (!std::isfinite(interval) || interval < 1.0)
        return 1;
    return clampToInt(interval);
}

int estimatedTotalFrames(int64_t streamFrames, int64_t durationUs, int interval, int frameRate)
{
    if (streamFrames > 0) {
        const int64_t total = streamFrames / interval;
        if (total <= 0)
            return unknownEstimate;
        return total > INT_MAX ? INT_MAX : int(total);
    }
    if (durationUs == AV_NOPTS_VALUE)
        return unknownEstimate;
    const double total = durationUs / 1000000.0 * frameRate;
    if (!(total >= 1.0))
        return unknownEstimate;
    return clampToInt(total);
}

QString frameNumberText(int frameNumber)
{
    return QStringLiteral("%1").arg(frameNumber, 6, 10, QLatin1Char('0'));
}

QString outputFilePath(
    const QString &outputDir, const QString &namingPattern, int frameNumber, const QString &format)
{
    QString name = namingPattern;
    name.replace(QLatin1String("%1"), frameNumberText(frameNumber));
    // The multi-argument arg() inserts each part in one pass, so markers
    // inside an inserted part are never expanded.
    return QStringLiteral("%1/%2.%3").arg(outputDir, name, format.toLower());
}

QString timeNameText(qint64 milliseconds)
{
    const qint64 ms = qMax<qint64>(0, milliseconds);
    return QStringLiteral("%1-%2-%3.%4")
        .arg(ms / 3600000, 2, 10, QLatin1Char('0'))
        .arg(ms / 60000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms % 1000, 3, 10, QLatin1Char('0'));
}

QString outputFilePathWithTime(const QString &outputDir, const QString &namingPattern,
    int frameNumber, qint64 milliseconds, const QString &format)
{
    QString name = namingPattern;
    name.replace(QLatin1String("%1"), frameNumberText(frameNumber));
    return QStringLiteral("%1/%2_%3.%4")
        .arg(outputDir, name, timeNameText(milliseconds), format.toLower());
}

QString savedFramePath(const QString &outputDir, const QString &namingPattern, qint64 milliseconds,
    const QString &format, int attempt)
{
    QString name = namingPattern;
    name.replace(QLatin1String("%1"), timeNameText(milliseconds));
    if (attempt > 1)
        name += QStringLiteral(" (%1)").arg(attempt);
    return QStringLiteral("%1/%2.%3").arg(outputDir, name, format.toLower());
}

QRegularExpression imageNameExpression(
    const QString &namingPattern, const QString &format, bool timeInNames)
{
    // frameNumberText's numbers: six digits, not all zeros, or more without
    // a leading zero. Every "%1" holds the same one.
    const QString number = QStringLiteral("(0(?!0{5})\\d{5}|[1-9]\\d{5,})");
    const QStringList literals = namingPattern.split(QLatin1String("%1"));
    QString expression = QStringLiteral("^");
    for (int i = 0; i < literals.size(); ++i) {
        if (i > 0)
            expression += i == 1 ? number : QStringLiteral("\\1");
        expression += QRegularExpression::escape(literals.at(i));
    }
    if (timeInNames)
        expression += QStringLiteral("_\\d{2,}-[0-5]\\d-[0-5]\\d\\.\\d{3}");
    expression += QStringLiteral("\\.") + QRegularExpression::escape(format.toLower())
        + QStringLiteral("$");
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return QRegularExpression(expression, QRegularExpression::CaseInsensitiveOption);
#else
    return QRegularExpression(expression);
#endif
}

QString firstExistingImage(const ExtractionJob &job)
{
    const QRegularExpression names
        = imageNameExpression(job.namingPattern, job.format, job.timeInNames);
    // The entries' types come with the listing on common file systems, so
    // nothing is looked up per file.
    QDirIterator entries(job.outputPath, QDir::Files | QDir::Hidden);
    QString first;
    while (entries.hasNext()) {
        entries.next();
        const QString name = entries.fileName();
        if ((first.isEmpty() || name < first) && names.match(name).hasMatch())
            first = name;
    }
    return first.isEmpty() ? QString() : QDir(job.outputPath).filePath(first);
}

QByteArray writerFormatName(const QString &format)
{
    return format.toUpper().toUtf8();
}

int pngCompressionFromQuality(int quality)
{
    const int level = quality * 9 / 100;
    return level > 9 ? 9 : level;
}

int clockwiseQuarterTurns(double counterClockwiseDegrees)
{
    if (!std::isfinite(counterClockwiseDegrees))
        return 0;
    const long turns = std::lround(-counterClockwiseDegrees / 90.0);
    return int(((turns % 4) + 4) % 4);
}

QTransform displayTransform(const int32_t *matrix)
{
    if (!matrix)
        return QTransform();
    // The matrix maps row vectors, (x' y') = (x y) [a b; c d], in the same
    // downward-y picture coordinates as QTransform.
    constexpr double unit = 1 << 16;
    double a = matrix[0] / unit;
    double b = matrix[1] / unit;
    const double c = matrix[3] / unit;
    const double d = matrix[4] / unit;
    const double determinant = a * d - b * c;
    if (!std::isfinite(determinant) || determinant == 0.0)
        return QTransform();

    QTransform transform;
    if (determinant < 0) {
        // Mirroring the source's horizontal axis first leaves a rotation.
        transform = QTransform::fromScale(-1, 1);
        a = -a;
        b = -b;
    }
    const double clockwiseDegrees = qRadiansToDegrees(std::atan2(b, a));
    const int turns = clockwiseQuarterTurns(-clockwiseDegrees);
    if (turns != 0)
        transform *= QTransform().rotate(90.0 * turns);
    return transform;
}

int swsColorspace(AVColorSpace colorspace, int height)
{
    switch (colorspace) {
    case AVCOL_SPC_BT709:
        return SWS_CS_ITU709;
    case AVCOL_SPC_FCC:
        return SWS_CS_FCC;
    case AVCOL_SPC_BT470BG:
    case AVCOL_SPC_SMPTE170M:
        return SWS_CS_ITU601;
    case AVCOL_SPC_SMPTE240M:
        return SWS_CS_SMPTE240M;
    case AVCOL_SPC_BT2020_NCL:
    case AVCOL_SPC_BT2020_CL:
        return SWS_CS_BT2020;
    default:
        return height >= 720 ? SWS_CS_ITU709 : SWS_CS_ITU601;
    }
}

bool isFullRange(AVColorRange range, AVPixelFormat format)
{
    if (range == AVCOL_RANGE_JPEG)
        return true;
    switch (format) {
    case AV_PIX_FMT_YUVJ411P:
    case AV_PIX_FMT_YUVJ420P:
    case AV_PIX_FMT_YUVJ422P:
    case AV_PIX_FMT_YUVJ440P:
    case AV_PIX_FMT_YUVJ444P:
        return true;
    default:
        return false;
    }
}

bool isRefusedDemuxer(const char *name)
{
    static const char *const refused[] = {
        "concat",
        "hls",
        "dash",
        "imf",
        "sdp",
        "rtp",
        "rtsp",
        "webm_dash_manifest",
    };
    if (!name)
        return false;
    // A demuxer may list several names separated by commas.
    const QList<QByteArray> names = QByteArray(name).split(',');
    for (const QByteArray &each : names) {
        for (const char *candidate : refused) {
            if (each == candidate)
                return true;
        }
    }
    return false;
}

int automaticWriterCount(int cores, qint64 sourceFrameBytes, qint64 imageBytes, qint64 memoryBudget)
{
    const qint64 perWriter = 2 * (qMax<qint64>(0, sourceFrameBytes) + qMax<qint64>(0, imageBytes));
    const qint64 affordable = perWriter > 0 ? memoryBudget / perWriter : cores;
    return int(qBound(qint64(1), affordable, qint64(qMax(1, cores))));
}

bool isSafeNamingPattern(const QString &pattern)
{
    return !pattern.contains(u'/') && !pattern.contains(u'\\') && !pattern.contains(u':')
        && !pattern.contains(QLatin1String("..")) && !QDir::isAbsolutePath(pattern);
}

int squarePixelWidth(int width, AVRational sampleAspectRatio)
{
    if (sampleAspectRatio.num <= 0 || sampleAspectRatio.den <= 0
        || sampleAspectRatio.num == sampleAspectRatio.den) {
        return width;
    }
    const double ratio = av_q2d(sampleAspectRatio);
    const double stretched = std::round(width * ratio);
    // No real format stores pixels 16 times wider or narrower than they are
    // shown: such a ratio is damage, and would ask for a huge picture.
    if (ratio > 16 || ratio < 1.0 / 16 || stretched < 1 || stretched > 32768)
        return width;
    return int(stretched);
}

} // namespace ExtractionRules

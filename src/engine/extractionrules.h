#ifndef EXTRACTIONRULES_H
#define EXTRACTIONRULES_H

// The arithmetic and naming rules of an extraction job, kept free of any
// FFmpeg object so that they can be checked for inputs no real video has.

#include <QByteArray>
#include <QImage>
#include <QRegularExpression>
#include <QString>
#include <QTransform>

#include <cstdint>

extern "C" {
#include <libavutil/pixfmt.h>
#include <libavutil/rational.h>
}

struct ExtractionJob;

namespace ExtractionRules {

// The window's bit-depth list, by index.
enum class BitDepth { Gray8 = 0, Rgb16 = 1, Rgb24 = 2, Rgba32 = 3 };

// Indices outside the list are treated as 24-bit.
BitDepth bitDepthFromIndex(int index);

// The pixel layout a frame is converted to, and the image format that has
// exactly that layout in memory. 16-bit frames become RGBA with 16 bits a
// channel in native byte order (alpha opaque), which Format_RGBX64 shows.
AVPixelFormat pixelFormatForDepth(BitDepth depth);
QImage::Format imageFormatForDepth(BitDepth depth);

// One decoded frame in every interval is taken; at least 1. An average rate
// above the stream's base rate is not a frame rate (FLV files report their
// millisecond time base there): the base rate is used instead.
int samplingInterval(AVRational averageFrameRate, AVRational realFrameRate, int frameRate);

// What a job expects to write when nothing tells.
constexpr int unknownTotalEstimate = 1000;

// How many images a job expects to write; at least 1. streamFrames <= 0 means
// the container does not say; durationUs is AV_NOPTS_VALUE when unknown.
int estimatedTotalFrames(int64_t streamFrames, int64_t durationUs, int interval, int frameRate);

// Decimal, zero-padded to at least six digits.
QString frameNumberText(int frameNumber);

// "%1/%2.%3": directory, the pattern with every "%1" replaced by the frame
// number text, and the format in lower case. Each part is inserted
// literally, so a "%" inside the directory or the name stays as it is.
QString outputFilePath(
    const QString &outputDir, const QString &namingPattern, int frameNumber, const QString &format);

// Whether every name the pattern gives stays inside the output directory:
// no path separator, no "..", no drive and not absolute.
bool isSafeNamingPattern(const QString &pattern);

// A presentation time as it goes into a file name: hours, minutes, seconds
// and milliseconds, "00-01-23.456", at least two digits of hours, with no
// character Windows forbids in names, so that names sort in time order.
// Negative times count as 0.
QString timeNameText(qint64 milliseconds);

// The file name with the frame's time after the number:
// "<dir>/<pattern with the number>_<time>.<format>".
QString outputFilePathWithTime(const QString &outputDir, const QString &namingPattern,
    int frameNumber, qint64 milliseconds, const QString &format);

// The name of a single saved frame: "<dir>/<pattern with every "%1"
// replaced by the time>.<format>", and from the second attempt on, for a
// name already taken, " (2)", " (3)"... before the extension.
QString savedFramePath(const QString &outputDir, const QString &namingPattern, qint64 milliseconds,
    const QString &format, int attempt = 1);

// Matches exactly the file names, without the directory, that a job with
// this pattern, format and naming can give its images, whatever their number
// (from 1) and time. Without regard to case where the file system ignores it.
QRegularExpression imageNameExpression(
    const QString &namingPattern, const QString &format, bool timeInNames);

// The first file, in name order, in the job's output folder that the job
// could write over; empty when there is none. Reads the folder once.
QString firstExistingImage(const ExtractionJob &job);

// The format name handed to the image writer: the format in upper case.
QByteArray writerFormatName(const QString &format);

// Qt's PNG writer reads its quality as a compression level from 0 to 9.
int pngCompressionFromQuality(int quality);

// A display matrix's counter-clockwise rotation in degrees, as the number of
// clockwise quarter turns (0 to 3) that shows the picture upright. Angles in
// between go to the nearest quarter turn; a NaN angle means none.
int clockwiseQuarterTurns(double counterClockwiseDegrees);

// What a player does to a picture with this display matrix (nine 16.16 /
// 2.30 fixed-point values, nullptr for none): mirror it where the matrix
// mirrors, then turn it by the nearest quarter turn. Identity without a
// matrix or for a degenerate one.
QTransform displayTransform(const int32_t *matrix);

// The swscale colour-space constant (SWS_CS_*) for a frame's matrix tag.
// Untagged frames follow the common practice: BT.601 below 720 lines,
// BT.709 from 720 lines up.
int swsColorspace(AVColorSpace colorspace, int height);

// Whether a YUV frame's samples use the full 0-255 range: tagged so, or in
// one of the "yuvj" formats that imply it. Anything else is limited range.
bool isFullRange(AVColorRange range, AVPixelFormat format);

// Demuxers that read other resources named inside the file (playlists,
// concatenation scripts, session descriptions). A chosen video is read as
// one local media file, so these are refused.
bool isRefusedDemuxer(const char *name);

// How many image writers a job runs when left to choose: one per core, but
// no more than keep the frames and images in flight (two source frames and
// two images of the output layout per writer) within memoryBudget bytes.
// At least 1.
int automaticWriterCount(
    int cores, qint64 sourceFrameBytes, qint64 imageBytes, qint64 memoryBudget);

// The width at which a picture stored `width` pixels wide with this sample
// aspect ratio shows square pixels, rounded to the nearest pixel; the height
// stays. `width` itself for square, unknown (0/x) or absurd ratios.
int squarePixelWidth(int width, AVRational sampleAspectRatio);

} // namespace ExtractionRules

#endif // EXTRACTIONRULES_H

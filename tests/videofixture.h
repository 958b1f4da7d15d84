#ifndef VIDEOFIXTURE_H
#define VIDEOFIXTURE_H

// Shared by the engine's tests: making clips with the ffmpeg program and
// recording what a VideoProcessor emits.

#include "imagenaming.h"
#include "videoprocessor.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStringList>
#include <QtTest>

#include <cmath>
#include <functional>

extern "C" {
#include <libavutil/log.h>
}

namespace VideoFixture {

inline const QString cancelledMessage = QStringLiteral("操作已取消");

// FFmpeg's own diagnostics would drown the test log; the tests check the
// engine's messages instead.
inline void silenceFfmpeg()
{
    av_log_set_level(AV_LOG_QUIET);
}

// Runs the ffmpeg program with the given arguments; returns its output when
// it fails, an empty string when it succeeds.
inline QString ffmpeg(const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("ffmpeg"),
        QStringList {"-nostdin", "-hide_banner", "-loglevel", "error", "-y"} + arguments);
    if (!process.waitForFinished(180000))
        return QStringLiteral("ffmpeg did not run: ") + process.errorString();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        const QString output = QString::fromLocal8Bit(process.readAll());
        return output.isEmpty() ? QStringLiteral("ffmpeg failed") : output;
    }
    return QString();
}

#define MAKE_CLIP(...)                                                                             \
    do {                                                                                           \
        const QString ffmpegProblem = VideoFixture::ffmpeg(__VA_ARGS__);                           \
        QVERIFY2(ffmpegProblem.isEmpty(), qPrintable(ffmpegProblem));                              \
    } while (false)

// A lavfi source whose frame i has the luma 16 + 3i, so that the frame an
// image came from can be read back from its brightness.
inline QString countingSource(const QString &rate, int width = 32, int height = 32)
{
    return QStringLiteral("color=c=black:s=%1x%2:r=%3,format=yuv420p,"
                          "geq=lum='16+3*N':cb=128:cr=128")
        .arg(width)
        .arg(height)
        .arg(rate);
}

// Arguments for a lossless H.264 clip of the counting source, with the
// encoder's default B-frames.
inline QStringList countingClip(const QString &rate, int frames, const QString &path)
{
    return {"-f", "lavfi", "-i", countingSource(rate), "-frames:v", QString::number(frames), "-c:v",
        "libx264", "-qp", "0", "-pix_fmt", "yuv420p", path};
}

inline double meanGray(const QImage &image)
{
    const QImage gray = image.convertToFormat(QImage::Format_Grayscale8);
    double sum = 0;
    for (int y = 0; y < gray.height(); ++y) {
        const uchar *line = gray.constScanLine(y);
        for (int x = 0; x < gray.width(); ++x)
            sum += line[x];
    }
    return sum / (gray.width() * gray.height());
}

// The index of the counting source's frame that an image shows.
inline int countingFrameIndex(const QImage &image)
{
    // Full-range output of limited-range luma: gray = (Y - 16) * 255 / 219.
    return qRound(meanGray(image) * 219.0 / 255.0 / 3.0);
}

// Everything a processor emits, in order, as short texts.
class Recorder : public QObject
{
public:
    explicit Recorder(VideoProcessor &processor)
    {
        connect(&processor, &VideoProcessor::progressChanged, this, [this](int frame, int total) {
            events << QStringLiteral("progress %1/%2").arg(frame).arg(total);
        });
        connect(&processor, &VideoProcessor::finished, this, [this] {
            events << QStringLiteral("finished");
            ++ends;
        });
        connect(&processor, &VideoProcessor::error, this, [this](const QString &message) {
            events << QStringLiteral("error ") + message;
            ++ends;
        });
    }

    QStringList errors() const
    {
        QStringList result;
        for (const QString &event : events) {
            if (event.startsWith(QLatin1String("error ")))
                result << event.mid(6);
        }
        return result;
    }

    int progressCount() const
    {
        int count = 0;
        for (const QString &event : events)
            count += event.startsWith(QLatin1String("progress ")) ? 1 : 0;
        return count;
    }

    QStringList events;
    int ends = 0;
};

// Runs one job, started by `start`, and returns what it emitted; the last
// event is its end, unless the job did not end within the time given.
inline QStringList runJobWith(
    const std::function<void(VideoProcessor &)> &start, int timeoutMs = 120000)
{
    VideoProcessor processor;
    Recorder recorder(processor);
    start(processor);
    if (!QTest::qWaitFor([&recorder] { return recorder.ends > 0; }, timeoutMs))
        recorder.events << QStringLiteral("no end within %1 ms").arg(timeoutMs);
    return recorder.events;
}

inline QStringList runJob(const ExtractionJob &job, int timeoutMs = 120000)
{
    return runJobWith(
        [&job](VideoProcessor &processor) { processor.processVideo(job); }, timeoutMs);
}

inline QStringList runJob(const QString &video, const QString &outputDir, int frameRate,
    int quality, const QString &format, int bitDepth,
    const QString &pattern = QStringLiteral("frame_%1"), int timeoutMs = 120000)
{
    return runJobWith(
        [&](VideoProcessor &processor) {
            processor.processVideo(video, outputDir, frameRate, quality, format, bitDepth, pattern);
        },
        timeoutMs);
}

// How many of the events end a job; a job ends exactly once.
inline int endings(const QStringList &events)
{
    int count = 0;
    for (const QString &event : events)
        count += event == QLatin1String("finished") || event.startsWith(QLatin1String("error "))
            ? 1
            : 0;
    return count;
}

#define WAIT_FOR_END(recorder, timeoutMs) QTRY_VERIFY_WITH_TIMEOUT((recorder).ends > 0, timeoutMs)

inline bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The images in a directory, in name order.
inline QStringList imageFiles(const QString &directory)
{
    return QDir(directory).entryList(QDir::Files, QDir::Name);
}

// The names a job gives its first `count` images by default, frame_000001.<extension> on.
inline QStringList numberedImages(int count, const QString &extension, const QString &prefix = {})
{
    QStringList names;
    for (int i = 1; i <= count; ++i)
        names << prefix
                + QStringLiteral("frame_%1.%2").arg(ImageNaming::frameNumberText(i), extension);
    return names;
}

inline bool near(const QColor &actual, const QColor &expected, int tolerance)
{
    return qAbs(actual.red() - expected.red()) <= tolerance
        && qAbs(actual.green() - expected.green()) <= tolerance
        && qAbs(actual.blue() - expected.blue()) <= tolerance;
}

inline QString describe(const QColor &colour)
{
    return QStringLiteral("(%1, %2, %3, %4)")
        .arg(colour.red())
        .arg(colour.green())
        .arg(colour.blue())
        .arg(colour.alpha());
}

// The peak signal-to-noise ratio of two pictures of the same size over their
// red, green and blue samples, in dB; 0 when the sizes differ, 99 when they
// are the same.
inline double psnr(const QImage &actual, const QImage &expected)
{
    if (actual.size() != expected.size() || actual.isNull())
        return 0;
    const QImage a = actual.convertToFormat(QImage::Format_RGB888);
    const QImage b = expected.convertToFormat(QImage::Format_RGB888);
    double squares = 0;
    for (int y = 0; y < a.height(); ++y) {
        const uchar *left = a.constScanLine(y);
        const uchar *right = b.constScanLine(y);
        for (int x = 0; x < 3 * a.width(); ++x) {
            const double difference = double(left[x]) - right[x];
            squares += difference * difference;
        }
    }
    const double mean = squares / (3.0 * a.width() * a.height());
    return mean == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mean);
}

// Where two pictures differ: in size, or at the first pixel that is off by
// more than the tolerance in a channel. Empty when they match.
inline QString pixelMismatch(const QImage &actual, const QImage &expected, int tolerance)
{
    if (actual.size() != expected.size()) {
        return QStringLiteral("%1x%2, expected %3x%4")
            .arg(actual.width())
            .arg(actual.height())
            .arg(expected.width())
            .arg(expected.height());
    }
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            const QColor colour = actual.pixelColor(x, y);
            const QColor wanted = expected.pixelColor(x, y);
            if (!near(colour, wanted, tolerance))
                return QStringLiteral("at %1,%2: %3, expected %4")
                    .arg(x)
                    .arg(y)
                    .arg(describe(colour), describe(wanted));
        }
    }
    return QString();
}

} // namespace VideoFixture

// Arguments for VideoFixture::ffmpeg and MAKE_CLIP: a test-pattern clip, with the
// encoder the container chooses unless `codec` names one.
inline QStringList testClip(const QString &path, const QString &size = QStringLiteral("320x240"),
    double seconds = 1.0, int rate = 10, const QStringList &codec = {})
{
    return QStringList {"-f", "lavfi", "-i",
               QStringLiteral("testsrc2=size=%1:rate=%2").arg(size).arg(rate), "-t",
               QString::number(seconds), "-pix_fmt", "yuv420p"}
    + codec + QStringList {path};
}

#endif // VIDEOFIXTURE_H

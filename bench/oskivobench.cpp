// Runs one extraction job through VideoProcessor, as the window does, and
// prints how long it took.

#include "videoprocessor.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <cstdio>

#ifdef Q_OS_WIN
#include <psapi.h>
#include <windows.h>
#else
#include <sys/resource.h>
#endif

namespace {

// The process's peak resident memory, in MiB.
double peakResidentMb()
{
#ifdef Q_OS_WIN
    PROCESS_MEMORY_COUNTERS counters {};
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return 0;
    return counters.PeakWorkingSetSize / (1024.0 * 1024.0);
#else
    rusage usage {};
    if (getrusage(RUSAGE_SELF, &usage) != 0)
        return 0;
#ifdef Q_OS_MACOS
    return usage.ru_maxrss / (1024.0 * 1024.0);
#else
    return usage.ru_maxrss / 1024.0;
#endif
#endif
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("oskivo-bench"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Extracts images from VIDEO into OUTDIR and reports the speed."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("VIDEO"), QStringLiteral("Source video."));
    parser.addPositionalArgument(QStringLiteral("OUTDIR"), QStringLiteral("Output directory."));
    const QCommandLineOption rate(QStringLiteral("rate"),
        QStringLiteral("Frames taken per second of video (1-60)."), QStringLiteral("N"),
        QStringLiteral("5"));
    const QCommandLineOption quality(QStringLiteral("quality"),
        QStringLiteral("Image quality (1-100)."), QStringLiteral("Q"), QStringLiteral("90"));
    const QCommandLineOption format(QStringLiteral("format"),
        QStringLiteral("Image format, e.g. JPG, PNG, BMP."), QStringLiteral("F"),
        QStringLiteral("JPG"));
    const QCommandLineOption depth(QStringLiteral("depth"),
        QStringLiteral("Bit-depth index: 0 = 8, 1 = 16, 2 = 24, 3 = 32."), QStringLiteral("D"),
        QStringLiteral("2"));
    const QCommandLineOption pattern(QStringLiteral("pattern"),
        QStringLiteral("File-name pattern with %1 for the number."), QStringLiteral("P"),
        QStringLiteral("frame_%1"));
    const QCommandLineOption writers(QStringLiteral("writers"),
        QStringLiteral("Image writer threads; 0 = one per core."), QStringLiteral("N"),
        QStringLiteral("0"));
    const QCommandLineOption start(QStringLiteral("start"),
        QStringLiteral("Start of the range, in seconds."), QStringLiteral("S"),
        QStringLiteral("0"));
    const QCommandLineOption end(QStringLiteral("end"),
        QStringLiteral("End of the range, in seconds; the video's end when not given."),
        QStringLiteral("S"));
    const QCommandLineOption every(QStringLiteral("every"),
        QStringLiteral("One image every S seconds (0.1-3600)."), QStringLiteral("S"));
    const QCommandLineOption keyframes(
        QStringLiteral("keyframes"), QStringLiteral("Only the keyframes."));
    const QCommandLineOption scenes(QStringLiteral("scenes"),
        QStringLiteral("One image per scene, at sensitivity N (1-100)."), QStringLiteral("N"));
    const QCommandLineOption timeNames(
        QStringLiteral("time-names"), QStringLiteral("Add each frame's time to its name."));
    parser.addOptions({rate, quality, format, depth, pattern, writers, start, end, every, keyframes,
        scenes, timeNames});
    parser.process(app);

    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 2)
        parser.showHelp(2);

    bool numbersOk = true;
    const auto number = [&](const QCommandLineOption &option) {
        bool ok = false;
        const int value = parser.value(option).toInt(&ok);
        numbersOk = numbersOk && ok;
        return value;
    };
    const auto seconds = [&](const QCommandLineOption &option) {
        bool ok = false;
        const double value = parser.value(option).toDouble(&ok);
        numbersOk = numbersOk && ok;
        return value;
    };

    ExtractionJob job;
    job.videoPath = positional.at(0);
    job.outputPath = positional.at(1);
    job.format = parser.value(format);
    job.quality = number(quality);
    job.bitDepth = ExtractionRules::bitDepthFromIndex(number(depth));
    job.namingPattern = parser.value(pattern);
    job.timeInNames = parser.isSet(timeNames);
    FrameSelection &selection = job.selection;
    selection.frameRate = number(rate);
    selection.startSeconds = seconds(start);
    if (parser.isSet(end))
        selection.endSeconds = seconds(end);
    if (parser.isSet(every)) {
        selection.mode = FrameSelection::Mode::EverySeconds;
        selection.everySeconds = seconds(every);
    } else if (parser.isSet(keyframes)) {
        selection.mode = FrameSelection::Mode::Keyframes;
    } else if (parser.isSet(scenes)) {
        selection.mode = FrameSelection::Mode::SceneChanges;
        selection.sceneSensitivity = number(scenes);
    }
    const int writerCount = number(writers);
    if (!numbersOk || writerCount < 0) {
        std::fprintf(stderr,
            "oskivo-bench: --rate, --quality, --depth, --writers, --scenes take whole numbers; "
            "--start, --end and --every seconds\n");
        return 2;
    }

    VideoProcessor processor;
    processor.setWriterCount(writerCount);
    QElapsedTimer clock;
    int written = 0;
    QObject::connect(&processor, &VideoProcessor::progressChanged,
        [&written](int frame, int) { written = frame; });
    QObject::connect(&processor, &VideoProcessor::finished, &app, [&] {
        const double seconds = clock.nsecsElapsed() / 1e9;
        QTextStream(stdout) << "frames=" << written
                            << " seconds=" << QString::number(seconds, 'f', 3)
                            << " fps=" << QString::number(written / seconds, 'f', 1)
                            << " peak_mb=" << QString::number(peakResidentMb(), 'f', 0) << Qt::endl;
        app.exit(0);
    });
    QObject::connect(&processor, &VideoProcessor::error, &app, [&app](const QString &message) {
        QTextStream(stderr) << message << Qt::endl;
        app.exit(1);
    });

    clock.start();
    processor.processVideo(job);
    return app.exec();
}

// Runs one extraction job through VideoProcessor, as the window does, and
// prints how long it took.

#include "commandlinelanguage.h"
#include "commandlineoptions.h"
#include "headlessgui.h"
#include "videoprocessor.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLocale>
#include <QProcessEnvironment>
#include <QTextStream>

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
    // The contact sheet's words need Qt Gui's fonts.
    HeadlessGui::before();
    QGuiApplication app(argc, argv);
    HeadlessGui::after();
    QCoreApplication::setApplicationName(QStringLiteral("oskivo-bench"));

    CommandLineLanguage language;
    language.install(CommandLineLanguage::fromEnvironment(
        QProcessEnvironment::systemEnvironment(), QLocale::system().name()));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Extracts images from VIDEO into OUTDIR and reports the speed."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("VIDEO"), QStringLiteral("Source video."));
    parser.addPositionalArgument(QStringLiteral("OUTDIR"), QStringLiteral("Output directory."));
    // The tool's options, read by the same code.
    CommandLineOptions options;
    options.addTo(parser);
    parser.process(app);

    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 2)
        parser.showHelp(2);
    if (!options.read(parser)) {
        QTextStream(stderr) << "oskivo-bench: " << options.errorText() << Qt::endl;
        return 2;
    }
    ExtractionJob job = options.job();
    job.videoPath = positional.at(0);
    job.outputPath = positional.at(1);

    VideoProcessor processor;
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

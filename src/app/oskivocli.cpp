// oskivo-cli: converts videos to images from the command line, with the
// window's options and defaults.

#include "batchcommand.h"
#include "commandlinelanguage.h"

#include <QCoreApplication>
#include <QLocale>
#include <QProcessEnvironment>

#include <cstdio>

extern "C" {
#include <libavutil/log.h>
}

int main(int argc, char *argv[])
{
    // No window system: the images are written through Qt Gui's image classes,
    // which need no platform plug-in.
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("oskivo-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(OSKIVO_VERSION));
    // The engine reports each failure in its own words; FFmpeg's lines would
    // break into the progress line.
    av_log_set_level(AV_LOG_QUIET);

    CommandLineLanguage language;
    language.install(CommandLineLanguage::fromEnvironment(
        QProcessEnvironment::systemEnvironment(), QLocale::system().name()));

    const BatchCommand::CommandLine commandLine = BatchCommand::readCommandLine(app.arguments());
    switch (commandLine.action) {
    case BatchCommand::CommandLine::Action::Print:
        std::fputs(commandLine.text.toLocal8Bit().constData(), stdout);
        return int(ExitStatus::Converted);
    case BatchCommand::CommandLine::Action::BadUsage:
        std::fputs(commandLine.text.toLocal8Bit().constData(), stderr);
        return int(ExitStatus::BadUsage);
    case BatchCommand::CommandLine::Action::Run:
        break;
    }

    BatchCommand command(commandLine.settings);
    QObject::connect(&command, &BatchCommand::done, &app,
        [](ExitStatus status) { QCoreApplication::exit(int(status)); });
    // Started from the event loop, so that an ending reported at once still ends it.
    QMetaObject::invokeMethod(&command, &BatchCommand::start, Qt::QueuedConnection);
    return app.exec();
}

// oskivo-cli: converts videos to images from the command line, with the
// window's options and defaults.

#include "batchcommand.h"
#include "commandlinelanguage.h"
#include "headlessgui.h"

#include <QGuiApplication>
#include <QLocale>
#include <QProcessEnvironment>

#include <cstdio>

extern "C" {
#include <libavutil/log.h>
}

int main(int argc, char *argv[])
{
#ifdef Q_OS_UNIX
    // With no locale at all, as under cron, Qt switches the character set to
    // UTF-8 itself but says so on stderr, which scripts read. The same switch,
    // made quietly; the language is not the character set's business.
    if (qEnvironmentVariableIsEmpty("LC_ALL") && qEnvironmentVariableIsEmpty("LC_CTYPE")
        && qEnvironmentVariableIsEmpty("LANG"))
        qputenv("LC_CTYPE", "C.UTF-8");
#endif
    // No window system: the images are written through Qt Gui's image classes,
    // and the contact sheet's words need its fonts.
    HeadlessGui::before();
    QGuiApplication app(argc, argv);
    HeadlessGui::after();
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

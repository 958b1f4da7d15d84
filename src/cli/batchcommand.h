#ifndef BATCHCOMMAND_H
#define BATCHCOMMAND_H

#include "batchqueue.h"
#include "extractionjob.h"
#include "interruptwatcher.h"
#include "progressline.h"

#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

// What oskivo-cli ends with.
enum class ExitStatus {
    Converted = 0,
    Failed = 1,
    BadUsage = 2,
    Interrupted = InterruptWatcher::exitStatus,
};

// oskivo-cli: its command line, and the batch it runs with progress on stderr
// and the results on stdout.
class BatchCommand : public QObject
{
    Q_OBJECT

public:
    struct Settings
    {
        QStringList videos;
        // With the output folder the command line names.
        ExtractionJob job;
        bool subfolders = true;
        bool json = false;
        bool quiet = false;
    };

    struct CommandLine
    {
        enum class Action { Run, Print, BadUsage };
        Action action = Action::BadUsage;
        // The help or the version for Print; the reason for BadUsage.
        QString text;
        Settings settings;
    };

    // Reads the program's arguments, the program's name first. The catalogs
    // must be installed before: the help is built here.
    static CommandLine readCommandLine(const QStringList &arguments);

    explicit BatchCommand(const Settings &settings, QObject *parent = nullptr);

    // Starts the batch and returns at once; done() follows.
    void start();

    // A video's result as --json prints it.
    static QJsonObject toJson(const BatchResult &result);

signals:
    void done(ExitStatus status);

private:
    void onVideoStarted(int index, int count);
    void onVideoFinished(int index, const BatchResult &result);
    void onFinished(bool cancelled);
    void onInterrupted();

    Settings settings;
    QList<ExtractionJob> jobs;
    BatchQueue queue;
    InterruptWatcher interruptWatcher;
    std::unique_ptr<ProgressLine> progress;
};

#endif // BATCHCOMMAND_H

#ifndef COMMANDLINEOPTIONS_H
#define COMMANDLINEOPTIONS_H

#include "extractionjob.h"
#include "joboption.h"

#include <QCommandLineOption>
#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <vector>

class QCommandLineParser;

// The job's options on a command line, one --flag per row of the option
// table, with its help; reads them into an ExtractionJob and checks it.
// Shared by oskivo-cli and oskivo-bench.
class CommandLineOptions
{
    Q_DECLARE_TR_FUNCTIONS(CommandLineOptions)

public:
    CommandLineOptions();

    void addTo(QCommandLineParser &parser) const;

    // Reads the options of a parsed command line into job(). On a bad value,
    // or options that cannot go together, returns false and errorText()
    // names the option, its value and what it takes.
    bool read(const QCommandLineParser &parser);

    // All but the video and output paths.
    const ExtractionJob &job() const { return parsedJob; }
    QString errorText() const { return error; }

    // "--rate, --every, --keyframes and --scenes: one at most; --rate without
    // any", for a program's description.
    static QString selectionRule();

private:
    struct Flag
    {
        const JobOption *row;
        QCommandLineOption option;
    };

    bool fail(const QString &message);
    // The value of a flag that is set, as its row's setter takes it.
    bool readValue(const QCommandLineParser &parser, const Flag &flag, QVariant *value);

    std::vector<Flag> flags;
    ExtractionJob parsedJob;
    QString error;
};

#endif // COMMANDLINEOPTIONS_H

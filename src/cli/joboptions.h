#ifndef JOBOPTIONS_H
#define JOBOPTIONS_H

#include "extractionjob.h"

#include <QCommandLineOption>
#include <QCoreApplication>
#include <QString>
#include <QStringList>

class QCommandLineParser;

// An extraction job's options on a command line, with the window's defaults:
// their names, their help with range and default, and the checks that turn
// them into an ExtractionJob. Shared by oskivo-cli and oskivo-bench.
class JobOptions
{
    Q_DECLARE_TR_FUNCTIONS(JobOptions)

public:
    enum class DepthStyle {
        // --depth 8, 16, 24 or 32: bits a pixel.
        Bits,
        // --depth 0 to 3: the window's bit-depth list index; other numbers as 24-bit.
        Index,
    };

    static constexpr int minQuality = 1;
    static constexpr int maxQuality = 100;
    static constexpr int maxWriters = 64;

    explicit JobOptions(DepthStyle depthStyle = DepthStyle::Bits);

    void addTo(QCommandLineParser &parser) const;

    // Reads the options of a parsed command line into job() and writerCount().
    // On a bad value, returns false and errorText() says which option, the value
    // and what the option takes.
    bool read(const QCommandLineParser &parser);

    // All but the video and output paths.
    const ExtractionJob &job() const { return parsedJob; }
    // 0: the job chooses.
    int writerCount() const { return writers; }
    QString errorText() const { return error; }

    // What --format takes here: the window's list, among the formats Qt can write.
    static QStringList formats();

private:
    bool fail(const QString &message);
    bool readNumber(const QCommandLineParser &parser, const QCommandLineOption &option, int low,
        int high, int &value);
    bool readSeconds(
        const QCommandLineParser &parser, const QCommandLineOption &option, double &value);
    bool readSelection(const QCommandLineParser &parser);

    DepthStyle depthStyle;
    QCommandLineOption format;
    QCommandLineOption quality;
    QCommandLineOption depth;
    QCommandLineOption rate;
    QCommandLineOption every;
    QCommandLineOption keyframes;
    QCommandLineOption scenes;
    QCommandLineOption start;
    QCommandLineOption end;
    QCommandLineOption pattern;
    QCommandLineOption timeNames;
    QCommandLineOption index;
    QCommandLineOption noMetadata;
    QCommandLineOption sheet;
    QCommandLineOption writerOption;

    ExtractionJob parsedJob;
    int writers = 0;
    QString error;
};

#endif // JOBOPTIONS_H

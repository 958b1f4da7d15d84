#include "batchcommand.h"

#include "commandlineoptions.h"

#include <QCommandLineParser>
#include <QJsonDocument>
#include <QtMath>

#include <cstdio>

#if defined(Q_OS_WIN)
#include <io.h>
#elif defined(Q_OS_UNIX)
#include <unistd.h>
#endif

namespace {

const QString programName = QStringLiteral("oskivo-cli");

bool isTerminal(FILE *stream)
{
#if defined(Q_OS_WIN)
    return _isatty(_fileno(stream)) != 0;
#elif defined(Q_OS_UNIX)
    return isatty(fileno(stream)) != 0;
#else
    Q_UNUSED(stream);
    return false;
#endif
}

void write(FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

// JSON is UTF-8 whatever the console's code page.
void writeJson(const QJsonObject &object)
{
    std::fputs(
        QJsonDocument(object).toJson(QJsonDocument::Compact).append('\n').constData(), stdout);
    std::fflush(stdout);
}

QString problem(const QString &text)
{
    return QStringLiteral("%1: %2\n").arg(programName, text);
}

QJsonValue textOrNull(const QString &text)
{
    return text.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(text);
}

} // namespace

BatchCommand::CommandLine BatchCommand::readCommandLine(const QStringList &arguments)
{
    CommandLine result;
    QCommandLineParser parser;
    parser.setApplicationDescription(tr("把视频转换为一系列静态图片，每个视频一个任务，依次进行。")
        + u'\n' + CommandLineOptions::selectionRule() + u'\n'
        + tr("退出码：0 全部转换完成，1 有视频失败，2 用法错误，130 被 Ctrl-C 中断。"));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("VIDEO"), tr("要转换的视频，可以有多个"), QStringLiteral("VIDEO... -o DIR"));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
        tr("图片写入的目录，不存在时创建（必需）"), QStringLiteral("DIR"));
    const QCommandLineOption subfolder(
        QStringLiteral("subfolder"), tr("每个视频的图片写入输出目录下以视频命名的子目录（默认）"));
    const QCommandLineOption noSubfolder(QStringLiteral("no-subfolder"),
        tr("只有一个视频时，图片直接写入输出目录；多个视频总是各用一个子目录"));
    const QCommandLineOption json(QStringLiteral("json"),
        tr("结束时在标准输出为每个视频打印一行 JSON 对象：path、output、images、first、last、"
           "index、seconds、code、error、cancelled；code 为结果代码（见手册），转换成功时为 "
           "null；index 为图片清单的路径，没有时为 null"));
    const QCommandLineOption quiet(
        {QStringLiteral("q"), QStringLiteral("quiet")}, tr("不在标准错误显示进度"));
    parser.addOptions({output, subfolder, noSubfolder, json, quiet});
    CommandLineOptions jobOptions;
    jobOptions.addTo(parser);

    const auto badUsage = [&result](const QString &reason) {
        result.action = CommandLine::Action::BadUsage;
        result.text = problem(reason) + tr("用“%1 --help”查看全部选项。").arg(programName) + u'\n';
        return result;
    };
    if (!parser.parse(arguments))
        return badUsage(parser.errorText());
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        result.action = CommandLine::Action::Print;
        result.text = parser.helpText();
        return result;
    }
    if (parser.isSet(version)) {
        result.action = CommandLine::Action::Print;
        result.text = QStringLiteral("%1 %2\n").arg(
            QCoreApplication::applicationName(), QCoreApplication::applicationVersion());
        return result;
    }
    if (!jobOptions.read(parser))
        return badUsage(jobOptions.errorText());
    if (parser.isSet(subfolder) && parser.isSet(noSubfolder)) {
        return badUsage(tr("%1 和 %2 不能同时使用")
                            .arg(QStringLiteral("--subfolder"), QStringLiteral("--no-subfolder")));
    }
    Settings &settings = result.settings;
    settings.videos = parser.positionalArguments();
    if (settings.videos.isEmpty())
        return badUsage(tr("没有指定视频"));
    settings.job = jobOptions.job();
    settings.job.outputPath = parser.value(output);
    if (settings.job.outputPath.isEmpty())
        return badUsage(tr("没有用 %1 指定输出目录").arg(QStringLiteral("-o")));
    settings.subfolders = !parser.isSet(noSubfolder);
    settings.json = parser.isSet(json);
    settings.quiet = parser.isSet(quiet);
    result.action = CommandLine::Action::Run;
    return result;
}

BatchCommand::BatchCommand(const Settings &settings, QObject *parent)
    : QObject(parent)
    , settings(settings)
{
    if (!settings.quiet)
        progress = std::make_unique<ProgressLine>(stderr, isTerminal(stderr));
    connect(&queue, &BatchQueue::videoStarted, this, &BatchCommand::onVideoStarted);
    connect(&queue, &BatchQueue::progressChanged, this, [this](int frame, int totalFrames) {
        if (progress)
            progress->update(frame, totalFrames);
    });
    connect(&queue, &BatchQueue::videoFinished, this, &BatchCommand::onVideoFinished);
    connect(&queue, &BatchQueue::finished, this, &BatchCommand::onFinished);
    connect(&interruptWatcher, &InterruptWatcher::interrupted, this, &BatchCommand::onInterrupted);
}

void BatchCommand::start()
{
    jobs = BatchQueue::jobsForVideos(settings.videos, settings.job, settings.subfolders);
    queue.start(jobs);
}

QJsonObject BatchCommand::toJson(const BatchResult &result)
{
    return QJsonObject {
        {QStringLiteral("path"), result.videoPath},
        {QStringLiteral("output"), result.outputPath},
        {QStringLiteral("images"), result.images},
        {QStringLiteral("first"), textOrNull(result.firstFile)},
        {QStringLiteral("last"), textOrNull(result.lastFile)},
        {QStringLiteral("index"), textOrNull(result.indexFile)},
        {QStringLiteral("seconds"), qRound64(result.seconds * 1000) / 1000.0},
        {QStringLiteral("code"),
            result.outcome == Outcome::Converted
                ? QJsonValue(QJsonValue::Null)
                : QJsonValue(QString::fromLatin1(outcomeCode(result.outcome)))},
        {QStringLiteral("error"), textOrNull(result.error)},
        {QStringLiteral("cancelled"), result.cancelled},
    };
}

void BatchCommand::onVideoStarted(int index, int count)
{
    if (progress)
        progress->startVideo(index, count, jobs.value(index).videoPath);
}

void BatchCommand::onVideoFinished(int, const BatchResult &result)
{
    const bool failed = !result.error.isEmpty() && !result.cancelled;
    if (progress && failed)
        progress->clear();
    else if (progress)
        progress->finishVideo();
    if (result.cancelled) {
        write(stderr,
            problem(tr("%1：已停止，保留 %2 张图片").arg(result.videoPath).arg(result.images)));
    } else if (failed) {
        write(stderr, problem(QStringLiteral("%1: %2").arg(result.videoPath, result.error)));
    } else if (!settings.json) {
        write(stdout,
            tr("%1：%2 张图片，写入 %3，用时 %4 秒")
                    .arg(result.videoPath)
                    .arg(result.images)
                    .arg(result.outputPath)
                    .arg(result.seconds, 0, 'f', 1)
                + u'\n');
    }
}

void BatchCommand::onInterrupted()
{
    if (progress)
        progress->breakLine();
    write(stderr, problem(tr("已中断，正在停止……")));
    queue.cancel();
}

void BatchCommand::onFinished(bool)
{
    const QList<BatchResult> &results = queue.results();
    bool failed = false;
    for (const BatchResult &result : results)
        failed = failed || (!result.error.isEmpty() && !result.cancelled);

    if (settings.json) {
        QList<BatchResult> all = results;
        // A stop leaves the rest unstarted; they are listed as stopped with nothing written.
        for (qsizetype i = all.size(); i < jobs.size(); ++i) {
            BatchResult unstarted;
            unstarted.videoPath = jobs.at(i).videoPath;
            unstarted.outputPath = jobs.at(i).outputPath;
            unstarted.cancelled = true;
            unstarted.outcome = Outcome::Stopped;
            all << unstarted;
        }
        for (const BatchResult &result : all)
            writeJson(toJson(result));
    }

    if (interruptWatcher.wasInterrupted())
        emit done(ExitStatus::Interrupted);
    else
        emit done(failed ? ExitStatus::Failed : ExitStatus::Converted);
}

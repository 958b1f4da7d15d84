#include "batchqueue.h"

#include "videoprocessor.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

BatchQueue::BatchQueue(QObject *parent)
    : QObject(parent)
    , processor(new VideoProcessor(this))
{
    connect(processor, &VideoProcessor::progressChanged, this, &BatchQueue::progressChanged);
    connect(processor, &VideoProcessor::finished, this, &BatchQueue::videoEnded);
    connect(processor, &VideoProcessor::error, this, &BatchQueue::videoEnded);
}

// The processor, a child so that its signals can be watched, goes first: it
// stops its job and waits for the worker, and what the worker still queued
// dies with it.
BatchQueue::~BatchQueue()
{
    disconnect(processor, nullptr, this, nullptr);
    delete processor;
}

QList<ExtractionJob> BatchQueue::jobsForVideos(
    const QStringList &videos, const ExtractionJob &settings, bool subfolders)
{
    const bool ownFolders = subfolders || videos.size() > 1;
    QList<ExtractionJob> jobs;
    QSet<QString> taken;
    for (const QString &video : videos) {
        ExtractionJob job = settings;
        job.videoPath = video;
        if (ownFolders) {
            const QFileInfo file(video);
            const QString base
                = file.completeBaseName().isEmpty() ? file.fileName() : file.completeBaseName();
            QString name = base;
            for (int n = 2; taken.contains(name.toCaseFolded()); ++n)
                name = QStringLiteral("%1 (%2)").arg(base).arg(n);
            taken.insert(name.toCaseFolded());
            job.outputPath = QDir(settings.outputPath).filePath(name);
        }
        jobs << job;
    }
    return jobs;
}

void BatchQueue::start(const QList<ExtractionJob> &jobs)
{
    // A slot told of the stop may start a batch of its own: that one is
    // stopped too, so that each start has its finished().
    while (running)
        stopNow();

    ++batch;
    queued = jobs;
    done.clear();
    current = -1;
    cancelRequested = false;
    running = true;
    startNext();
}

bool BatchQueue::isRunning() const
{
    return running;
}

int BatchQueue::count() const
{
    return int(queued.size());
}

const QList<BatchResult> &BatchQueue::results() const
{
    return done;
}

void BatchQueue::setWriterCount(int count)
{
    writers = qMax(0, count);
}

void BatchQueue::cancel()
{
    if (!running)
        return;
    cancelRequested = true;
    if (videoRunning)
        processor->cancel();
}

void BatchQueue::startNext()
{
    if (current + 1 >= queued.size()) {
        finish(false);
        return;
    }
    ++current;
    videoRunning = true;
    clock.start();
    processor->setWriterCount(writers);
    // Starting the next job also drops whatever the previous one still had
    // queued, such as the stop's message after its failure's.
    processor->processVideo(queued.at(current));
    emit videoStarted(current, int(queued.size()));
}

// The first of a job's ending signals ends the video; the result has the
// whole story, a failure and a stop included.
void BatchQueue::videoEnded()
{
    if (!videoRunning)
        return;
    const quint64 reporting = batch;
    endVideo();
    if (reporting != batch)
        return;
    if (cancelRequested)
        finish(stoppedEarly());
    else
        startNext();
}

void BatchQueue::stopNow()
{
    const quint64 reporting = batch;
    if (videoRunning) {
        processor->stop();
        endVideo();
        // A slot started another batch, which has ended this one.
        if (reporting != batch)
            return;
    }
    finish(stoppedEarly());
}

void BatchQueue::endVideo()
{
    videoRunning = false;
    const ExtractionResult ended = processor->result();
    const ExtractionJob &job = queued.at(current);
    BatchResult result;
    result.videoPath = job.videoPath;
    result.outputPath = job.outputPath;
    result.images = ended.images;
    result.firstFile = ended.firstFile;
    result.lastFile = ended.lastFile;
    result.indexFile = ended.indexFile;
    result.outcome = ended.outcome;
    result.error = ended.error;
    result.cancelled = ended.cancelled;
    result.seconds = clock.nsecsElapsed() / 1e9;
    done << result;
    emit videoFinished(current, result);
}

bool BatchQueue::stoppedEarly() const
{
    return done.size() < queued.size() || (!done.isEmpty() && done.last().cancelled);
}

void BatchQueue::finish(bool cancelled)
{
    running = false;
    emit finished(cancelled);
}

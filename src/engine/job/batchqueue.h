#ifndef BATCHQUEUE_H
#define BATCHQUEUE_H

#include "extractionjob.h"
#include "outcome.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class VideoProcessor;

// How one video of a batch ended.
struct BatchResult
{
    QString videoPath;
    QString outputPath;
    // Images the job left on disk, and the first and last of them (empty when none).
    int images = 0;
    QString firstFile;
    QString lastFile;
    // The index of the images, where the job wrote one.
    QString indexFile;
    // Converted, Stopped, or the failure, also when a stop followed it.
    Outcome outcome = Outcome::Converted;
    // The outcome's message; empty when the video was converted.
    QString error;
    // Stopped before its end; what was written stays.
    bool cancelled = false;
    // Wall-clock seconds the video took.
    double seconds = 0;
};

// Converts videos one after another, one VideoProcessor job each. A video that
// fails does not stop the rest; cancel() stops the running video, keeping what
// it wrote, and ends the batch there.
class BatchQueue : public QObject
{
    Q_OBJECT

public:
    explicit BatchQueue(QObject *parent = nullptr);
    // Stops a running video and waits for its worker; emits nothing more.
    ~BatchQueue() override;

    // One job per video from `settings`. With more than one video, or with
    // `subfolders`, each writes into <settings.outputPath>/<video base name>;
    // equal base names get " (2)", " (3)"... in the order given. Names that
    // differ only in case count as equal: they are one folder on Windows.
    static QList<ExtractionJob> jobsForVideos(
        const QStringList &videos, const ExtractionJob &settings, bool subfolders);

    // Starts the batch and returns at once, after videoStarted(0, n); a
    // running batch is cancelled first (its video stopped and waited for, its
    // finished() emitted). An empty list emits finished(false) before
    // returning. finished() comes exactly once per start.
    void start(const QList<ExtractionJob> &jobs);
    bool isRunning() const;
    int count() const;
    // The results so far, in the order of the jobs.
    const QList<BatchResult> &results() const;
    // As VideoProcessor::setWriterCount, for every video started afterwards.
    void setWriterCount(int count);

signals:
    // index counts from 0.
    void videoStarted(int index, int count);
    // The running video's progress, as VideoProcessor::progressChanged.
    void progressChanged(int frame, int totalFrames);
    void videoFinished(int index, const BatchResult &result);
    // After the last video, or after a stop; results() holds every video started.
    // cancelled: videos were left out, or the last one was stopped.
    void finished(bool cancelled);

public slots:
    void cancel();

private:
    void startNext();
    void videoEnded();
    // Stops the running video at once, waiting for it, and ends the batch.
    void stopNow();
    // Records the running video's result and tells of it.
    void endVideo();
    bool stoppedEarly() const;
    void finish(bool cancelled);

    VideoProcessor *processor;
    QList<ExtractionJob> queued;
    QList<BatchResult> done;
    QElapsedTimer clock;
    // Each start is a batch of its own; a slot that starts another batch
    // while this one reports is noticed by the change.
    quint64 batch = 0;
    int current = -1;
    int writers = 0;
    bool running = false;
    bool videoRunning = false;
    bool cancelRequested = false;
};

#endif // BATCHQUEUE_H

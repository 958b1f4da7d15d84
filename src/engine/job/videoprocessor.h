#ifndef VIDEOPROCESSOR_H
#define VIDEOPROCESSOR_H

#include "extractionjob.h"
#include "outcome.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class OutputFolder;
class QThread;

// What a job has left on disk so far and, once it has ended, how it ended.
struct ExtractionResult
{
    // Images 1..images are written; the paths of the first and the last of
    // them, empty when there is none.
    int images = 0;
    QString firstFile;
    QString lastFile;
    // The index of the images, once written; empty without one.
    QString indexFile;
    bool ended = false;
    // How it ended: its failure where it failed, even when it was stopped
    // afterwards; Stopped for a stop alone.
    Outcome outcome = Outcome::Converted;
    // The outcome's message; empty when it finished.
    QString error;
    // Stopped before its end, whether or not it had failed first.
    bool cancelled = false;
};

// Turns a video into image files on a worker thread, one job per
// processVideo call. Progress, completion, failure and cancellation arrive as
// signals on the thread this object lives in.
class VideoProcessor : public QObject
{
    Q_OBJECT

public:
    explicit VideoProcessor(QObject *parent = nullptr);
    // Cancels a running job and waits for its worker: the worker must not
    // outlive the object it reports through.
    ~VideoProcessor() override;

    // Starts a job and returns at once. A job still running is cancelled and
    // waited for first (at most the image in flight), and nothing it emits
    // afterwards is delivered.
    void processVideo(const ExtractionJob &job);
    // The whole video at frameRate frames a second; bitDepth is the depth
    // list's index.
    void processVideo(const QString &videoPath, const QString &outputPath, int frameRate,
        int quality, const QString &format, int bitDepth, const QString &namingPattern);

    // How many threads write images. 0, the default, lets each job choose:
    // one per core, fewer where the frames are so large that as many would
    // not fit the job's memory budget. Takes effect with the next job.
    void setWriterCount(int count);

    // The newest job's result as far as it has got; final once the job's
    // first finished() or error() is delivered, or after stop(). Empty
    // before the first job.
    ExtractionResult result() const;

    // Cancels the running job and waits for its worker, at most the image in
    // flight; nothing the job emits afterwards is delivered.
    void stop();

signals:
    // totalFrames is an estimate, never below frame; 0 when it cannot be
    // known in advance (scene changes).
    void progressChanged(int frame, int totalFrames);
    void finished();
    void error(QString message);

public slots:
    void cancel();

private:
    struct Job;

    void runJob(Job &job);
    struct Ending
    {
        Outcome outcome = Outcome::Converted;
        // outcomeMessage's detail.
        QString detail;
    };
    Ending extract(Job &job, OutputFolder &folder);
    // The index and the sheet of the images the job kept, after its images;
    // their failure where the job had none of its own.
    struct Extras;
    static Ending finishExtras(Job &job, Extras &extras, int kept, Ending ending);
    void stopWorker();

    // Signals are emitted on this object's thread, and only while the job
    // that sent them is the newest one.
    void reportProgress(quint64 jobId, int frame, int totalFrames);
    void reportFinished(quint64 jobId);
    void reportError(quint64 jobId, const QString &message);

    std::shared_ptr<Job> currentJob;
    QPointer<QThread> worker;
    quint64 lastJobId = 0;
    int writers = 0;
};

#endif // VIDEOPROCESSOR_H

#ifndef VIDEOPROCESSOR_H
#define VIDEOPROCESSOR_H

#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class FrameConverter;
class QImage;
class QThread;
class QTransform;
struct AVFrame;

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
    void processVideo(const QString &videoPath, const QString &outputPath, int frameRate,
        int quality, const QString &format, int bitDepth, const QString &namingPattern);

signals:
    void progressChanged(int frame, int totalFrames);
    void finished();
    void error(QString message);

public slots:
    void cancel();

private:
    struct Job;

    void runJob(Job &job);
    bool extractFrames(Job &job);
    bool convertAndSaveFrame(Job &job, FrameConverter &converter, const QTransform &orientation,
        const AVFrame *frame, int frameNumber);
    bool saveImage(const QImage &image, const QString &filePath, const QString &format, int quality,
        int bitDepth);
    void stopWorker();

    // Signals are emitted on this object's thread, and only while the job
    // that sent them is the newest one.
    void reportProgress(quint64 jobId, int frame, int totalFrames);
    void reportFinished(quint64 jobId);
    void reportError(quint64 jobId, const QString &message);

    std::shared_ptr<Job> currentJob;
    QPointer<QThread> worker;
    quint64 lastJobId = 0;
};

#endif // VIDEOPROCESSOR_H

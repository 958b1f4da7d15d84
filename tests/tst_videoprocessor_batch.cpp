// Videos converted one after another, a single frame saved from a
// position, and the check for images a job would write over.

#include "batchqueue.h"
#include "framesaver.h"
#include "videofixture.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace VideoFixture;

namespace {

// What a queue emits, in order, as short texts; the results it told of; and
// the last progress each video reported before its end.
struct BatchLog : QObject
{
    explicit BatchLog(BatchQueue &queue)
    {
        connect(&queue, &BatchQueue::videoStarted, this, [this](int index, int count) {
            events << QStringLiteral("started %1/%2").arg(index).arg(count);
            progress = 0;
        });
        connect(
            &queue, &BatchQueue::progressChanged, this, [this](int frame) { progress = frame; });
        connect(
            &queue, &BatchQueue::videoFinished, this, [this](int index, const BatchResult &ended) {
                events << QStringLiteral("ended %1").arg(index);
                results << ended;
                progressAtEnd << progress;
            });
        connect(&queue, &BatchQueue::finished, this,
            [this](bool cancelled) { events << (cancelled ? "finished cancelled" : "finished"); });
    }

    QStringList events;
    QList<BatchResult> results;
    QList<int> progressAtEnd;
    int progress = 0;
};

} // namespace

class tst_VideoProcessorBatch : public QObject
{
    Q_OBJECT

public:
    tst_VideoProcessorBatch() { QStandardPaths::setTestModeEnabled(true); }

private slots:
    void initTestCase();
    void batch_goesOnPastAFailedVideo();
    void stop_endsTheBatchKeepingWhatWasWritten_data();
    void stop_endsTheBatchKeepingWhatWasWritten();
    void saveFrame_writesTheFrameShownAtThePosition_data();
    void saveFrame_writesTheFrameShownAtThePosition();
    void saveFrame_neverWritesOverAFile();
    void firstExistingImage_findsNamesTheJobWouldWrite_data();
    void firstExistingImage_findsNamesTheJobWouldWrite();

private:
    QString path(const QString &name) const { return dir.filePath(name); }
    ExtractionJob settings(const QString &output, const QString &video = QString()) const
    {
        ExtractionJob job;
        job.videoPath = video.isEmpty() ? QString() : path(video);
        job.outputPath = path(output);
        job.format = QStringLiteral("PNG");
        return job;
    }

    QTemporaryDir dir;
};

void tst_VideoProcessorBatch::initTestCase()
{
    silenceFfmpeg();
    QVERIFY(dir.isValid());
    QVERIFY(QDir().mkpath(path("one")) && QDir().mkpath(path("two")));
    // At the default 5 of 10 frames a second: 5 images, then 3.
    MAKE_CLIP(countingClip("10", 10, path("one/clip.mp4")));
    MAKE_CLIP(countingClip("10", 6, path("two/clip.mp4")));
    QVERIFY(writeFile(path("bad.mp4"), QByteArray(4096, 'x')));
    // Busy pictures written as slow PNGs: still running when a test steps in.
    MAKE_CLIP({"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=30", "-frames:v", "300", "-c:v",
        "libx264", "-pix_fmt", "yuv420p", path("long.mp4")});
    // Three seconds at 10 fps, a keyframe every second, B-frames between;
    // the same stream without an index.
    MAKE_CLIP({"-f", "lavfi", "-i", "testsrc2=s=128x96:r=10", "-frames:v", "30", "-c:v", "libx264",
        "-crf", "10", "-g", "10", "-bf", "3", "-sc_threshold", "0", path("frames.mp4")});
    MAKE_CLIP({"-i", path("frames.mp4"), "-c", "copy", path("frames.ts")});
}

void tst_VideoProcessorBatch::batch_goesOnPastAFailedVideo()
{
    ExtractionJob common = settings("batch");
    common.timeInNames = true;
    // One video goes into the folder itself, unless asked otherwise; base
    // names equal in any case, and names taken, are told apart in order.
    QCOMPARE(BatchQueue::jobsForVideos({"/v/a.mp4"}, common, false).first().outputPath,
        common.outputPath);
    QStringList names;
    for (const ExtractionJob &job : BatchQueue::jobsForVideos(
             {"/v/a.mp4", "/w/A.mkv", "/v/a (2).mp4", "/x/a.avi"}, common, true))
        names << job.outputPath.mid(common.outputPath.size());
    QCOMPARE(names, (QStringList {"/a", "/A (2)", "/a (2) (2)", "/a (3)"}));

    BatchQueue queue;
    BatchLog log(queue);
    queue.start(BatchQueue::jobsForVideos(
        {path("one/clip.mp4"), path("bad.mp4"), path("two/clip.mp4")}, common, false));
    QVERIFY(queue.isRunning());
    QTRY_VERIFY_WITH_TIMEOUT(!queue.isRunning(), 60000);
    QCOMPARE(log.events,
        (QStringList {"started 0/3", "ended 0", "started 1/3", "ended 1", "started 2/3", "ended 2",
            "finished"}));
    QCOMPARE(queue.results().size(), 3);
    const QStringList folders {"clip", "bad", "clip (2)"};
    const QList<int> images {5, 0, 3};
    for (int i = 0; i < 3; ++i) {
        const BatchResult &result = queue.results().at(i);
        const QStringList files = imageFiles(result.outputPath);
        QCOMPARE(result.outputPath, path("batch/" + folders.at(i)));
        QCOMPARE(result.images, images.at(i));
        QCOMPARE(files.size(), images.at(i));
        QCOMPARE(log.progressAtEnd.at(i), images.at(i));
        QCOMPARE(result.error, i == 1 ? QStringLiteral("无法打开视频文件") : QString());
        QVERIFY(!result.cancelled && result.seconds > 0);
        // The names carry the frames' times: the paths are the real ones.
        const QString folder = result.outputPath + '/';
        QCOMPARE(result.firstFile, files.isEmpty() ? QString() : folder + files.first());
        QCOMPARE(result.lastFile, files.isEmpty() ? QString() : folder + files.last());
    }
}

void tst_VideoProcessorBatch::stop_endsTheBatchKeepingWhatWasWritten_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QStringList>("events");

    const QStringList cancelled {"started 0/2", "ended 0", "finished cancelled"};
    QTest::newRow("cancel during the first video") << "cancel" << cancelledMessage << cancelled;
    // The job fails as it opens, then sees the stop: two messages, one ending.
    QTest::newRow("cancel as a failing video opens: its failure is kept")
        << "cancel while opening"
        << "无法打开视频文件" << cancelled;
    QTest::newRow("another batch stops the running one")
        << "restart" << cancelledMessage
        << cancelled + QStringList {"started 0/1", "ended 0", "finished"};
    QTest::newRow("destroying the queue") << "destroy" << QString() << QStringList {"started 0/2"};
}

void tst_VideoProcessorBatch::stop_endsTheBatchKeepingWhatWasWritten()
{
    QFETCH(QString, how);
    QFETCH(QString, error);
    QFETCH(QStringList, events);

    const bool opening = how == QLatin1String("cancel while opening");
    const QString first = path(opening ? "bad.fifo" : "long.mp4");
    const QString out = "stopped/" + QString(QTest::currentDataTag());
    ExtractionJob common = settings(out);
    common.quality = 100;
    common.selection.frameRate = 30;
    const QList<ExtractionJob> jobs
        = BatchQueue::jobsForVideos({first, path("one/clip.mp4")}, common, false);
#ifdef Q_OS_UNIX
    QVERIFY(!opening || mkfifo(QFile::encodeName(first).constData(), 0600) == 0);
#else
    if (opening)
        QSKIP("Needs a named pipe");
#endif
    auto queue = std::make_unique<BatchQueue>();
    BatchLog log(*queue);
    queue->start(jobs);
    if (opening) {
        // The worker waits in the opening until the pipe has a writer: the
        // stop comes before the failure, whatever the timing.
        queue->cancel();
        QVERIFY(writeFile(first, QByteArray(4096, 'x')));
    } else {
        QTRY_VERIFY_WITH_TIMEOUT(log.progress >= 3, 60000);
    }
    if (how == QLatin1String("cancel"))
        queue->cancel();
    if (how == QLatin1String("restart"))
        queue->start(
            BatchQueue::jobsForVideos({path("two/clip.mp4")}, settings(out + "/again"), false));
    if (how == QLatin1String("destroy"))
        queue.reset();
    QTRY_COMPARE_WITH_TIMEOUT(log.events.size(), events.size(), 60000);

    // What was written stays: images 1..k, and no more once the queue is gone
    // (a whole job gives a worker left running time to show itself).
    const QStringList files = imageFiles(jobs.first().outputPath);
    QCOMPARE(files, numberedImages(int(files.size()), "png"));
    QCOMPARE(runJob(settings(out + "/later", "one/clip.mp4")).last(), QStringLiteral("finished"));
    QCOMPARE(imageFiles(jobs.first().outputPath), files);
    QVERIFY(files.size() < 300);
    QVERIFY(!QFileInfo::exists(jobs.last().outputPath));
    QCOMPARE(log.events, events);
    if (!queue)
        return;

    const BatchResult stopped = log.results.first();
    QVERIFY(stopped.cancelled);
    QCOMPARE(stopped.error, error);
    QCOMPARE(stopped.images, files.size());
    QCOMPARE(stopped.lastFile,
        files.isEmpty() ? QString() : jobs.first().outputPath + '/' + files.last());
    // Another batch cuts the stopped one's reports short; its result is whole.
    if (how != QLatin1String("restart"))
        QCOMPARE(log.progressAtEnd.first(), stopped.images);
    QCOMPARE(queue->results().size(), 1);
}

void tst_VideoProcessorBatch::saveFrame_writesTheFrameShownAtThePosition_data()
{
    QTest::addColumn<QString>("clip");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<qint64>("position");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("error");
    // The job's width; 0 for the video's own size, -1 for a width of zero given.
    QTest::addColumn<int>("width");

    const auto row = [](const char *tag, const char *clip, const char *pattern, qint64 position,
                         const char *name, const char *error = "", int width = 0) {
        QTest::newRow(tag) << clip << pattern << position << name << error << width;
    };
    row("at a frame's time", "frames.mp4", "frame_%1", 1200, "frame_00-00-01.200.png");
    row("a millisecond before a frame: the earlier, the time twice", "frames.mp4", "%1_%1", 1199,
        "00-00-01.100_00-00-01.100.png");
    row("just before a keyframe", "frames.mp4", "frame_%1", 1999, "frame_00-00-01.900.png");
    row("the end: the last frame", "frames.mp4", "frame_%1", 3000, "frame_00-00-02.900.png");
    row("no index", "frames.ts", "frame_%1", 1750, "frame_00-00-01.700.png");
    row("past the end", "frames.mp4", "frame_%1", 3001, "", "该位置没有可保存的帧");
    row("a pattern leaving the folder", "frames.mp4", "../f_%1", 0, "",
        "--pattern 的值“../f_%1”会把图片写到输出目录之外");
    row("at the job's size", "frames.mp4", "frame_%1", 1200, "frame_00-00-01.200.png", "", 100);
    row("a width of zero", "frames.mp4", "frame_%1", 1200, "", "--width 的值 0 超出范围 1-16384",
        -1);
}

void tst_VideoProcessorBatch::saveFrame_writesTheFrameShownAtThePosition()
{
    QFETCH(QString, clip);
    QFETCH(QString, pattern);
    QFETCH(qint64, position);
    QFETCH(QString, name);
    QFETCH(QString, error);
    QFETCH(int, width);

    ExtractionJob job = settings("saved/" + QString(QTest::currentDataTag()) + "/inner", clip);
    job.namingPattern = pattern;
    if (width != 0)
        job.width = width < 0 ? 0 : width;
    const SavedFrame saved = saveFrame(job, position);
    QCOMPARE(saved.error, error);
    QCOMPARE(saved.filePath, error.isEmpty() ? job.outputPath + '/' + name : QString());
    QCOMPARE(imageFiles(job.outputPath), error.isEmpty() ? QStringList {name} : QStringList());
    QCOMPARE(QFileInfo::exists(job.outputPath), error.isEmpty());
    if (!error.isEmpty())
        return;

    // The last frame ffmpeg decodes at or before the position, in MP4.
    const QString reference = path("reference.png");
    const QString scaled
        = width > 0 ? QStringLiteral(",scale=%1:-1:flags=bicubic").arg(width) : QString();
    MAKE_CLIP({"-i", path("frames.mp4"), "-vf",
        QStringLiteral("select='lt(t,%1)'").arg((position + 0.5) / 1000) + scaled, "-fps_mode",
        "passthrough", "-update", "1", reference});
    const QString mismatch
        = pixelMismatch(QImage(saved.filePath).convertToFormat(QImage::Format_RGB888),
            QImage(reference).convertToFormat(QImage::Format_RGB888), 8);
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

void tst_VideoProcessorBatch::saveFrame_neverWritesOverAFile()
{
    const ExtractionJob job = settings("again", "frames.mp4");
    const QString taken = job.outputPath + "/frame_00-00-01.200";
    QVERIFY(QDir().mkpath(job.outputPath) && writeFile(taken + ".png", "kept"));

    QCOMPARE(saveFrame(job, 1200).filePath, taken + " (2).png");
    QCOMPARE(saveFrame(job, 1234).filePath, taken + " (3).png");
    QCOMPARE(readFile(taken + ".png"), QByteArray("kept"));
    QCOMPARE(readFile(taken + " (2).png"), readFile(taken + " (3).png"));
}

void tst_VideoProcessorBatch::firstExistingImage_findsNamesTheJobWouldWrite_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("timeInNames");
    QTest::addColumn<QString>("first");

    QTest::newRow("other files only") << QStringList {"notes.txt", "frame_1.png",
        "frame_000000.png", "frame_000001.jpg", "frame_0000001.png", "shot_000001.png",
        "frame_000001.png.bak", "frame_000001_00-00-00.000.png"}
                                      << "frame_%1" << false << "";
    QTest::newRow("a number name, the first of them")
        << QStringList {"a.txt", "frame_000010.png", "frame_000002.png", "frame_1000000.png"}
        << "frame_%1" << false << "frame_000002.png";
    QTest::newRow("a time name") << QStringList {"frame_000001.png",
        "frame_000003_00-01-02.500.png"}
                                 << "frame_%1" << true << "frame_000003_00-01-02.500.png";
    QTest::newRow("a pattern with signs and the number twice")
        << QStringList {"(000007)+[000008].png", "(000007)+[000007].png"} << "(%1)+[%1]" << false
        << "(000007)+[000007].png";
}

void tst_VideoProcessorBatch::firstExistingImage_findsNamesTheJobWouldWrite()
{
    QFETCH(QStringList, files);
    QFETCH(QString, pattern);
    QFETCH(bool, timeInNames);
    QFETCH(QString, first);

    QTemporaryDir folder;
    for (const QString &file : files)
        QVERIFY(writeFile(folder.filePath(file), "x"));
    ExtractionJob job = settings("unused");
    job.outputPath = folder.path();
    job.namingPattern = pattern;
    job.timeInNames = timeInNames;
    QCOMPARE(
        ImageNaming::firstExistingImage(job), first.isEmpty() ? QString() : folder.filePath(first));
    job.outputPath = folder.filePath("missing");
    QCOMPARE(ImageNaming::firstExistingImage(job), QString());
}

QTEST_GUILESS_MAIN(tst_VideoProcessorBatch)
#include "tst_videoprocessor_batch.moc"

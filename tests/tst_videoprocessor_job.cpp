// A job as the window sees it: the order of the signals, cancellation, and
// what happens to a running worker when a new job starts or the engine goes.

#include "videofixture.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace VideoFixture;

class tst_VideoProcessorJob : public QObject
{
    Q_OBJECT

public:
    tst_VideoProcessorJob() { QStandardPaths::setTestModeEnabled(true); }

private slots:
    void initTestCase();
    void metaObject_listsSignalsThenCancelSlot();

    void completedJob_reportsEveryImageThenFinished_data();
    void completedJob_reportsEveryImageThenFinished();
    void unopenableVideo_reportsOneErrorAndNoProgress();
    void cancel_endsWithCancelledErrorAfterLastImage();
    void cancelWithoutJob_doesNotAffectNextJob();
    void parameters_areCopiedWhenJobStarts();
    void newJob_stopsOlderJobAndSilencesIt();
    void destroyingEngine_waitsForWorker();

private:
    QString dirPath(const QString &name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    QString shortClip;
    QString longClip;
};

void tst_VideoProcessorJob::initTestCase()
{
    silenceFfmpeg();
    QVERIFY(dir.isValid());
    shortClip = dirPath("short.mp4");
    MAKE_CLIP(countingClip("30", 30, shortClip));
    // Busy pictures written as slow PNGs, so a job is still running when a
    // test steps in.
    longClip = dirPath("long.mp4");
    MAKE_CLIP({"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=30", "-frames:v", "300", "-c:v",
        "libx264", "-pix_fmt", "yuv420p", longClip});
}

void tst_VideoProcessorJob::metaObject_listsSignalsThenCancelSlot()
{
    const QMetaObject &meta = VideoProcessor::staticMetaObject;
    QStringList methods;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
        const QMetaMethod method = meta.method(i);
        methods << (method.methodType() == QMetaMethod::Signal ? "signal " : "slot ")
                + QString::fromLatin1(method.methodSignature());
    }
    QCOMPARE(methods,
        (QStringList {"signal progressChanged(int,int)", "signal finished()",
            "signal error(QString)", "slot cancel()"}));
}

void tst_VideoProcessorJob::completedJob_reportsEveryImageThenFinished_data()
{
    QTest::addColumn<int>("frameRate");
    QTest::addColumn<QStringList>("events");

    QTest::newRow("30 frames at 5 of 30 fps")
        << 5
        << QStringList {"progress 0/5", "progress 1/5", "progress 2/5", "progress 3/5",
               "progress 4/5", "progress 5/5", "finished"};
    QTest::newRow("30 frames at 15 of 30 fps")
        << 15
        << QStringList {"progress 0/15", "progress 1/15", "progress 2/15", "progress 3/15",
               "progress 4/15", "progress 5/15", "progress 6/15", "progress 7/15", "progress 8/15",
               "progress 9/15", "progress 10/15", "progress 11/15", "progress 12/15",
               "progress 13/15", "progress 14/15", "progress 15/15", "finished"};
}

void tst_VideoProcessorJob::completedJob_reportsEveryImageThenFinished()
{
    QFETCH(int, frameRate);
    QFETCH(QStringList, events);

    const QString out = dirPath(QStringLiteral("complete_%1").arg(frameRate));
    VideoProcessor processor;
    Recorder recorder(processor);
    processor.processVideo(shortClip, out, frameRate, 90, "PNG", 2, "frame_%1");
    WAIT_FOR_END(recorder, 60000);

    QCOMPARE(recorder.events, events);
    QCOMPARE(imageFiles(out).size(), events.size() - 2);
}

void tst_VideoProcessorJob::unopenableVideo_reportsOneErrorAndNoProgress()
{
    const QString out = dirPath("unopenable");
    VideoProcessor processor;
    Recorder recorder(processor);
    processor.processVideo(dirPath("missing.mp4"), out, 5, 90, "PNG", 2, "frame_%1");
    WAIT_FOR_END(recorder, 30000);

    QCOMPARE(recorder.events, QStringList {"error 无法打开视频文件"});
    QVERIFY(imageFiles(out).isEmpty());
}

void tst_VideoProcessorJob::cancel_endsWithCancelledErrorAfterLastImage()
{
    const QString out = dirPath("cancelled");
    VideoProcessor processor;
    Recorder recorder(processor);
    processor.processVideo(longClip, out, 30, 100, "PNG", 2, "frame_%1");
    QTRY_VERIFY_WITH_TIMEOUT(recorder.progressCount() >= 3, 60000);
    processor.cancel();
    WAIT_FOR_END(recorder, 60000);

    QCOMPARE(recorder.events.last(), "error " + cancelledMessage);
    QVERIFY(!recorder.events.contains("finished"));
    QCOMPARE(recorder.errors().size(), 1);
    // The image in flight is completed and reported, then nothing more.
    const QString lastProgress = recorder.events.at(recorder.events.size() - 2);
    QVERIFY2(lastProgress.startsWith("progress "), qPrintable(lastProgress));
    const int lastFrame = lastProgress.mid(9).section('/', 0, 0).toInt();
    QVERIFY(lastFrame < 300);
    QCOMPARE(imageFiles(out).size(), lastFrame);
}

void tst_VideoProcessorJob::cancelWithoutJob_doesNotAffectNextJob()
{
    const QString out = dirPath("after_idle_cancel");
    VideoProcessor processor;
    Recorder recorder(processor);
    processor.cancel();
    processor.processVideo(shortClip, out, 5, 90, "PNG", 2, "frame_%1");
    WAIT_FOR_END(recorder, 60000);

    QCOMPARE(recorder.events.last(), "finished");
    QVERIFY(recorder.errors().isEmpty());
}

void tst_VideoProcessorJob::parameters_areCopiedWhenJobStarts()
{
    QString out = dirPath("copied_first");
    QString format = QStringLiteral("PNG");
    QString pattern = QStringLiteral("first_%1");
    VideoProcessor processor;
    Recorder recorder(processor);
    processor.processVideo(shortClip, out, 5, 90, format, 2, pattern);
    out = dirPath("copied_second");
    format = QStringLiteral("BMP");
    pattern = QStringLiteral("second_%1");
    WAIT_FOR_END(recorder, 60000);

    QCOMPARE(recorder.events.last(), "finished");
    QCOMPARE(imageFiles(dirPath("copied_first")).size(), 5);
    QCOMPARE(imageFiles(dirPath("copied_first")).first(), "first_000001.png");
    QVERIFY(!QDir(out).exists());
}

void tst_VideoProcessorJob::newJob_stopsOlderJobAndSilencesIt()
{
    const QString firstOut = dirPath("older");
    const QString secondOut = dirPath("newer");
    VideoProcessor processor;
    Recorder recorder(processor);
    processor.processVideo(longClip, firstOut, 30, 100, "PNG", 2, "frame_%1");
    QTRY_VERIFY_WITH_TIMEOUT(recorder.progressCount() >= 3, 60000);

    const qsizetype before = recorder.events.size();
    processor.processVideo(shortClip, secondOut, 5, 90, "PNG", 2, "frame_%1");
    // The older worker has ended by now: its output no longer grows.
    const int olderImages = imageFiles(firstOut).size();
    WAIT_FOR_END(recorder, 60000);

    QCOMPARE(recorder.events.mid(before),
        (QStringList {"progress 0/5", "progress 1/5", "progress 2/5", "progress 3/5",
            "progress 4/5", "progress 5/5", "finished"}));
    QCOMPARE(imageFiles(firstOut).size(), olderImages);
    QVERIFY(olderImages < 300);
    QCOMPARE(imageFiles(secondOut).size(), 5);
}

void tst_VideoProcessorJob::destroyingEngine_waitsForWorker()
{
    const QString abandonedOut = dirPath("abandoned");
    auto processor = std::make_unique<VideoProcessor>();
    Recorder recorder(*processor);
    processor->processVideo(longClip, abandonedOut, 30, 100, "PNG", 2, "frame_%1");
    QTRY_VERIFY_WITH_TIMEOUT(recorder.progressCount() >= 3, 60000);
    processor.reset();
    const int imagesAtDestruction = imageFiles(abandonedOut).size();

    // A whole second job gives a worker left running time to show itself.
    const QString laterOut = dirPath("later");
    VideoProcessor later;
    Recorder laterRecorder(later);
    later.processVideo(longClip, laterOut, 5, 90, "PNG", 2, "frame_%1");
    WAIT_FOR_END(laterRecorder, 60000);
    QCOMPARE(laterRecorder.events.last(), "finished");

    QCOMPARE(imageFiles(abandonedOut).size(), imagesAtDestruction);
    QVERIFY(imagesAtDestruction < 300);
}

QTEST_GUILESS_MAIN(tst_VideoProcessorJob)
#include "tst_videoprocessor_job.moc"

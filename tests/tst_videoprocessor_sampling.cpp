// Which decoded frames a job takes, read back from the images: every frame
// of the counting clip carries its index in its brightness.

#include "videofixture.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace VideoFixture;

class tst_VideoProcessorSampling : public QObject
{
    Q_OBJECT

public:
    tst_VideoProcessorSampling() { QStandardPaths::setTestModeEnabled(true); }

private slots:
    void initTestCase();
    void job_takesEveryIntervalthFrameInDecodeOrder_data();
    void job_takesEveryIntervalthFrameInDecodeOrder();
    void job_estimatesFromDurationWithoutFrameCount();

private:
    QTemporaryDir dir;
};

void tst_VideoProcessorSampling::initTestCase()
{
    silenceFfmpeg();
    QVERIFY(dir.isValid());
}

void tst_VideoProcessorSampling::job_takesEveryIntervalthFrameInDecodeOrder_data()
{
    QTest::addColumn<QStringList>("clipArguments");
    QTest::addColumn<int>("frameRate");
    QTest::addColumn<int>("total");
    QTest::addColumn<QList<int>>("frames");

    const auto clip = [this](const char *name, const QString &rate, int frames) {
        return countingClip(rate, frames, dir.filePath(QString::fromLatin1(name)));
    };

    QTest::newRow("30 fps at 5: frames 6, 12, 18 ...")
        << clip("r30.mp4", "30", 30) << 5 << 5 << QList<int> {5, 11, 17, 23, 29};
    QTest::newRow("25 fps at 10: every 2nd")
        << clip("r25.mp4", "25", 10) << 10 << 5 << QList<int> {1, 3, 5, 7, 9};
    QTest::newRow("24 fps at 30: every frame")
        << clip("r24.mp4", "24", 6) << 30 << 6 << QList<int> {0, 1, 2, 3, 4, 5};
    QTest::newRow("29.97 fps at 1: every 29th")
        << clip("ntsc.mp4", "30000/1001", 60) << 1 << 2 << QList<int> {28, 57};

    // The frames the decoder holds back for B-frames and threads come out
    // only when it is drained at the end of input.
    QList<int> all;
    for (int i = 0; i < 40; ++i)
        all << i;
    QTest::newRow("B-frames, every frame: none lost at the end") << QStringList {"-f", "lavfi",
        "-i", countingSource("30", 64, 64), "-frames:v", "40", "-c:v", "libx264", "-qp", "0", "-bf",
        "3", "-pix_fmt", "yuv420p", dir.filePath("bframes.mp4")} << 30
                                                                 << 40 << all;
    QTest::newRow("B-frames in MPEG-4 Part 2, every 4th")
        << QStringList {"-f", "lavfi", "-i", countingSource("20"), "-frames:v", "24", "-c:v",
               "mpeg4", "-bf", "2", "-q:v", "1", "-pix_fmt", "yuv420p", dir.filePath("mpeg4.mp4")}
        << 5 << 6 << QList<int> {3, 7, 11, 15, 19, 23};
}

void tst_VideoProcessorSampling::job_takesEveryIntervalthFrameInDecodeOrder()
{
    QFETCH(QStringList, clipArguments);
    QFETCH(int, frameRate);
    QFETCH(int, total);
    QFETCH(QList<int>, frames);

    MAKE_CLIP(clipArguments);
    const QString out = clipArguments.last() + "_out";
    VideoProcessor processor;
    Recorder recorder(processor);
    processor.processVideo(clipArguments.last(), out, frameRate, 90, "PNG", 0, "frame_%1");
    WAIT_FOR_END(recorder, 60000);

    QCOMPARE(recorder.events.last(), "finished");
    QCOMPARE(recorder.events.first(), QStringLiteral("progress 0/%1").arg(total));

    QList<int> taken;
    const QStringList files = imageFiles(out);
    for (int i = 0; i < files.size(); ++i) {
        QCOMPARE(files.at(i), QStringLiteral("frame_%1.png").arg(i + 1, 6, 10, QLatin1Char('0')));
        const QImage image(out + '/' + files.at(i));
        QVERIFY(!image.isNull());
        taken << countingFrameIndex(image);
    }
    QCOMPARE(taken, frames);
}

void tst_VideoProcessorSampling::job_estimatesFromDurationWithoutFrameCount()
{
    // Matroska keeps no frame count; the estimate comes from the duration
    // and the requested rate, not from the interval.
    const QString clip = dir.filePath("noframecount.mkv");
    MAKE_CLIP(countingClip("25", 50, clip));
    const QString out = dir.filePath("noframecount_out");
    VideoProcessor processor;
    Recorder recorder(processor);
    processor.processVideo(clip, out, 10, 90, "PNG", 0, "frame_%1");
    WAIT_FOR_END(recorder, 60000);

    QCOMPARE(recorder.events.first(), "progress 0/20");
    QCOMPARE(recorder.events.last(), "finished");
    QCOMPARE(imageFiles(out).size(), 25);
}

QTEST_GUILESS_MAIN(tst_VideoProcessorSampling)
#include "tst_videoprocessor_sampling.moc"

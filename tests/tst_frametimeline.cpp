// Where the preview's frames start, read from the packets of real files, and
// the picture's shape with square pixels.

#include "frametimeline.h"
#include "videofixture.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace VideoFixture;

class tst_FrameTimeline : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void frames_foundAroundAPosition_data();
    void frames_foundAroundAPosition();
    void squarePixelSize_isTheImagesSize_data();
    void squarePixelSize_isTheImagesSize();
    void unreadableFile_givesNoTimeline();

private:
    QTemporaryDir dir;
};

namespace {

// 3 s at 30 fps with a keyframe every second and the encoder's B-frames.
QStringList steadyClip(const QString &path, const QStringList &extra = {})
{
    return QStringList {"-f", "lavfi", "-i", countingSource("30"), "-frames:v", "90", "-c:v",
               "libx264", "-g", "30", "-pix_fmt", "yuv420p"}
    + extra + QStringList {path};
}

// Frames at 0, 0.1, 0.2, 0.3, 0.4, then 0.5, 0.75, 1.0 and 1.25 s.
QStringList unevenClip(const QString &path)
{
    return {"-f", "lavfi", "-i", countingSource("10"), "-frames:v", "9", "-vf",
        "settb=1/1000,setpts='if(lt(N,5),N*100,500+(N-5)*250)'", "-fps_mode", "passthrough", "-c:v",
        "libx264", "-pix_fmt", "yuv420p", path};
}

// The frames' start times in microseconds from the stream's start, in showing
// order, as ffprobe reads them.
QList<qint64> probedFrameTimes(const QString &path)
{
    static QHash<QString, QList<qint64>> probed;
    if (probed.contains(path))
        return probed.value(path);
    const auto probe = [&path](const QString &entries) {
        QProcess process;
        process.start(QStringLiteral("ffprobe"),
            {"-v", "error", "-select_streams", "v:0", "-show_entries", entries, "-of", "csv=p=0",
                path});
        QList<double> values;
        if (!process.waitForFinished(60000) || process.exitCode() != 0)
            return values;
        for (const QByteArray &line : process.readAllStandardOutput().split('\n')) {
            bool ok = false;
            const double value = line.trimmed().replace(",", "").toDouble(&ok);
            if (ok)
                values << value;
        }
        return values;
    };
    const QList<double> start = probe(QStringLiteral("stream=start_time"));
    const QList<double> packets = probe(QStringLiteral("packet=pts_time"));
    if (start.isEmpty())
        return {};
    QList<qint64> times;
    for (double time : packets)
        times << qRound64((time - start.first()) * 1e6);
    std::sort(times.begin(), times.end());
    probed.insert(path, times);
    return times;
}

qint64 ms(std::optional<int64_t> us)
{
    return us ? *us / 1000 : -1;
}

} // namespace

void tst_FrameTimeline::initTestCase()
{
    silenceFfmpeg();
    QVERIFY(dir.isValid());
    MAKE_CLIP(steadyClip(dir.filePath("steady.mp4")));
    MAKE_CLIP(steadyClip(dir.filePath("steady.ts")));
    MAKE_CLIP(steadyClip(dir.filePath("steady.mkv")));
    MAKE_CLIP(steadyClip(dir.filePath("intra.mp4"), {"-bf", "0"}));
    MAKE_CLIP(unevenClip(dir.filePath("uneven.mkv")));
    // No timestamps at all: the frames fall on the stream's rate.
    MAKE_CLIP({"-i", dir.filePath("steady.mp4"), "-c", "copy", "-f", "h264",
        dir.filePath("steady.h264")});
}

void tst_FrameTimeline::frames_foundAroundAPosition_data()
{
    QTest::addColumn<QString>("clip");
    QTest::addColumn<QString>("ask"); // shown, after or before
    QTest::addColumn<int>("frame"); // the frame asked at, in showing order
    // The position: the first whole millisecond at which the frame is shown,
    // plus this.
    QTest::addColumn<int>("offsetMs");
    QTest::addColumn<int>("answer"); // -1: none

    for (const char *clip : {"steady.mp4", "steady.ts", "steady.mkv", "intra.mp4"}) {
        const auto row
            = [clip](const char *what, const char *ask, int frame, int offset, int answer) {
                  QTest::addRow("%s, %s", clip, what) << clip << ask << frame << offset << answer;
              };
        row("start", "shown", 0, 0, 0);
        row("a frame from its first whole millisecond", "shown", 1, 0, 1);
        row("and not in the millisecond before", "shown", 1, -1, 0);
        // The slip that put Mark In one frame late.
        row("between two frames", "shown", 54, 6, 54);
        row("just before a keyframe", "shown", 30, -1, 29);
        row("on a keyframe", "shown", 30, 0, 30);
        row("past the end, the last frame", "shown", 89, 2000, 89);
        row("next", "after", 0, 0, 1);
        row("next across a keyframe", "after", 29, 0, 30);
        row("previous across a keyframe", "before", 30, 0, 29);
        row("previous", "before", 55, 0, 54);
        row("nothing before the first", "before", 0, 0, -1);
        row("nothing after the last", "after", 89, 0, -1);
    }
    const auto raw = [](const char *what, const char *ask, int frame, int offset, int answer) {
        QTest::addRow("raw H.264, %s", what) << "steady.h264" << ask << frame << offset << answer;
    };
    raw("between two frames", "shown", 54, 6, 54);
    raw("next", "after", 40, 0, 41);
    raw("previous", "before", 55, 0, 54);
    const auto uneven = [](const char *what, const char *ask, int frame, int offset, int answer) {
        QTest::addRow("uneven rate, %s", what) << "uneven.mkv" << ask << frame << offset << answer;
    };
    uneven("shown in the even part", "shown", 1, 20, 1);
    uneven("shown late in a long frame", "shown", 5, 200, 5);
    uneven("shown at the last", "shown", 8, 50, 8);
    uneven("next after a short frame", "after", 4, 0, 5);
    uneven("next after a long frame", "after", 6, 0, 7);
    uneven("previous before a long frame", "before", 7, 0, 6);
}

void tst_FrameTimeline::frames_foundAroundAPosition()
{
    QFETCH(QString, clip);
    QFETCH(QString, ask);
    QFETCH(int, frame);
    QFETCH(int, offsetMs);
    QFETCH(int, answer);

    const QString path = dir.filePath(clip);
    // A raw stream's frames are those of the file it was copied from.
    const QList<qint64> times = probedFrameTimes(
        clip.endsWith(u".h264") ? dir.filePath(QStringLiteral("steady.mp4")) : path);
    QVERIFY2(times.size() > frame, "ffprobe lists the clip's frames");
    const qint64 atMs = (times.at(frame) + 999) / 1000 + offsetMs;
    const qint64 expected = answer < 0 ? -1 : times.at(answer) / 1000;

    FrameTimeline timeline;
    QVERIFY(timeline.open(path));
    std::optional<int64_t> found;
    if (ask == u"shown") {
        found = timeline.frameShownAt(atMs);
    } else {
        const std::optional<int64_t> from = timeline.frameShownAt(atMs);
        QVERIFY(from);
        QVERIFY(qAbs(*from - times.at(frame)) <= 1);
        found = ask == u"after" ? timeline.frameAfter(*from) : timeline.frameBefore(*from);
    }
    QCOMPARE(ms(found), expected);
    // Microseconds as the engine counts them, not only the millisecond.
    if (found)
        QVERIFY2(qAbs(*found - times.at(answer)) <= 1, qPrintable(QString::number(*found)));
    // The same answer again, from what was read already.
    if (ask == u"shown")
        QCOMPARE(ms(timeline.frameShownAt(atMs)), expected);
}

void tst_FrameTimeline::squarePixelSize_isTheImagesSize_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QSize>("size");

    QTest::newRow("square pixels") << "setsar=1" << QSize(64, 36);
    QTest::newRow("pixels twice as wide") << "setsar=2" << QSize(128, 36);
    QTest::newRow("anamorphic DVD pixels") << "setsar=32/27" << QSize(76, 36);
    QTest::newRow("pixels half as wide") << "setsar=1/2" << QSize(32, 36);
}

void tst_FrameTimeline::squarePixelSize_isTheImagesSize()
{
    QFETCH(QString, filter);
    QFETCH(QSize, size);

    const QString path = dir.filePath(QStringLiteral("aspect-%1.mkv").arg(QTest::currentDataTag()));
    MAKE_CLIP({"-f", "lavfi", "-i", "testsrc2=size=64x36:rate=10", "-frames:v", "2", "-vf", filter,
        "-c:v", "libx264", "-pix_fmt", "yuv420p", path});
    FrameTimeline timeline;
    QVERIFY(timeline.open(path));
    QCOMPARE(timeline.squarePixelSize(), size);
}

void tst_FrameTimeline::unreadableFile_givesNoTimeline()
{
    const QString path = dir.filePath("notes.mp4");
    QVERIFY(writeFile(path, "not a video"));
    FrameTimeline timeline;
    QVERIFY(!timeline.open(path));
    QVERIFY(!timeline.isOpen());
    QVERIFY(!timeline.squarePixelSize().isValid());
    QVERIFY(!timeline.frameShownAt(0));
    QVERIFY(!timeline.frameAfter(0));
}

QTEST_MAIN(tst_FrameTimeline)
#include "tst_frametimeline.moc"

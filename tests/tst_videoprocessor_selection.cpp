// Which frames a job takes: a part of the video, one every N seconds, the
// keyframes, one per scene, a number spread over the range; on constant and
// variable frame rate, with and without an index to seek in, and in raw
// streams whose frames carry no times. The counting source tells which
// frame each image shows; the names tell its time.

#include "framefacts.h"
#include "frameselector.h"
#include "framesource.h"
#include "mediainput.h"
#include "samplingrules.h"
#include "videofixture.h"

#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

using namespace VideoFixture;

Q_DECLARE_METATYPE(FrameSelection)

namespace {

using Mode = FrameSelection::Mode;

// The milliseconds in a name made with the frame's time.
qint64 nameTime(const QString &name)
{
    static const QRegularExpression time(QStringLiteral("_(\\d+)-(\\d\\d)-(\\d\\d)\\.(\\d{3})\\."));
    const QRegularExpressionMatch match = time.match(name);
    if (!match.hasMatch())
        return -1;
    return ((match.captured(1).toLongLong() * 60 + match.captured(2).toLongLong()) * 60
               + match.captured(3).toLongLong())
        * 1000
        + match.captured(4).toLongLong();
}

// The time of the counting source's frame n in each clip: 10 a second, or
// 10 a second for three seconds and 20 a second after.
qint64 frameTime(const QString &clip, int n)
{
    if (clip.startsWith(QLatin1String("vfr")) && n >= 30)
        return 3000 + (n - 30) * 50;
    return n * 100;
}

} // namespace

class tst_VideoProcessorSelection : public QObject
{
    Q_OBJECT

public:
    tst_VideoProcessorSelection() { QStandardPaths::setTestModeEnabled(true); }

private slots:
    void initTestCase();
    void selection_takesTheFramesItSays_data();
    void selection_takesTheFramesItSays();
    void variableRate_takesFramesEvenlyInTime_data();
    void variableRate_takesFramesEvenlyInTime();
    void seeking_givesTheSameImagesAsDecodingEveryFrame_data();
    void seeking_givesTheSameImagesAsDecodingEveryFrame();
    void startPastTheEnd_isRefused();
    void emptyOrUnreachableRanges_sayWhy_data();
    void emptyOrUnreachableRanges_sayWhy();
    void shortVideosAndRanges_giveTheirFirstFrame_data();
    void shortVideosAndRanges_giveTheirFirstFrame();
    void badSelections_areRefusedBeforeAnythingIsWritten_data();
    void badSelections_areRefusedBeforeAnythingIsWritten();
    void handedFrames_carryTheirNumberInTheStream_data();
    void handedFrames_carryTheirNumberInTheStream();

private:
    QString path(const QString &name) const { return dir.filePath(name); }
    ExtractionJob job(const QString &clip, Mode mode, double value, double start, double end);

    QTemporaryDir dir;
    int outputs = 0;
};

void tst_VideoProcessorSelection::initTestCase()
{
    silenceFfmpeg();
    QVERIFY(dir.isValid());
    // Six seconds at 10 fps, a keyframe every second, B-frames between.
    const QStringList encode {"-c:v", "libx264", "-crf", "10", "-g", "10", "-keyint_min", "10",
        "-sc_threshold", "0", "-bf", "3", "-pix_fmt", "yuv420p"};
    MAKE_CLIP(QStringList {"-f", "lavfi", "-i", countingSource("10"), "-frames:v", "60"} + encode
        + QStringList {path("cfr.mp4")});
    // No index: nothing to seek in.
    MAKE_CLIP({"-i", path("cfr.mp4"), "-c", "copy", path("cfr.ts")});
    // Raw H.264: no index and no times at all.
    MAKE_CLIP({"-i", path("cfr.mp4"), "-c", "copy", "-f", "h264", path("cfr.h264")});
    MAKE_CLIP(QStringList {"-f", "lavfi", "-i",
                  countingSource("20") + ",setpts='if(lt(N,30),N*2,60+(N-30))/(20*TB)'",
                  "-frames:v", "60", "-fps_mode", "passthrough"}
        + encode + QStringList {path("vfr.mp4")});
    // Three shots with cuts at 1 s and 2 s, each with slow change inside.
    MAKE_CLIP(QStringList {"-f", "lavfi", "-i",
                  "testsrc2=s=64x48:r=10:d=1[a];color=navy:s=64x48:r=10:d=1,format=yuv420p[b];"
                  "mandelbrot=s=64x48:r=10,trim=duration=1[c];[a][b][c]concat=n=3"}
        + encode + QStringList {path("cuts.mp4")});
}

ExtractionJob tst_VideoProcessorSelection::job(
    const QString &clip, Mode mode, double value, double start, double end)
{
    ExtractionJob result;
    result.videoPath = path(clip);
    result.outputPath = path(QStringLiteral("out%1").arg(++outputs));
    result.format = QStringLiteral("PNG");
    result.timeInNames = true;
    result.selection.mode = mode;
    if (mode == Mode::FramesPerSecond)
        result.selection.frameRate = int(value);
    else if (mode == Mode::EverySeconds)
        result.selection.everySeconds = value;
    else if (mode == Mode::SceneChanges)
        result.selection.sceneSensitivity = int(value);
    else if (mode == Mode::Count)
        result.selection.count = int(value);
    result.selection.startSeconds = start;
    result.selection.endSeconds = end;
    return result;
}

void tst_VideoProcessorSelection::selection_takesTheFramesItSays_data()
{
    QTest::addColumn<QString>("clip");
    QTest::addColumn<int>("mode");
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("end");
    QTest::addColumn<QList<qint64>>("times");

    const auto steps = [](qint64 first, qint64 step, qint64 last) {
        QList<qint64> times;
        for (qint64 t = first; t <= last; t += step)
            times << t;
        return times;
    };
    const int fps = int(Mode::FramesPerSecond);
    const int every = int(Mode::EverySeconds);
    const int keys = int(Mode::Keyframes);
    const int count = int(Mode::Count);

    QTest::newRow("rate 5, whole video")
        << "cfr.mp4" << fps << 5.0 << 0.0 << -1.0 << steps(100, 200, 5900);
    QTest::newRow("rate 5, 1.25 s to 3 s: counting starts in the range")
        << "cfr.mp4" << fps << 5.0 << 1.25 << 3.0 << steps(1400, 200, 2800);
    QTest::newRow("every second") << "cfr.mp4" << every << 1.0 << 0.0 << -1.0
                                  << steps(0, 1000, 5000);
    QTest::newRow("every 0.7 s from 0.5 s")
        << "cfr.mp4" << every << 0.7 << 0.5 << -1.0 << steps(500, 700, 5400);
    QTest::newRow("every 1.5 s from 0.25 s to 4 s: the first frame at or after each")
        << "cfr.mp4" << every << 1.5 << 0.25 << 4.0 << QList<qint64> {300, 1800, 3300};
    QTest::newRow("every 0.1 s: a frame is taken once")
        << "cfr.mp4" << every << 0.1 << 5.05 << -1.0 << steps(5100, 100, 5900);
    QTest::newRow("keyframes") << "cfr.mp4" << keys << 0.0 << 0.0 << -1.0 << steps(0, 1000, 5000);
    QTest::newRow("keyframes, 1.5 s to 4 s")
        << "cfr.mp4" << keys << 0.0 << 1.5 << 4.0 << QList<qint64> {2000, 3000};
    QTest::newRow("no index: rate 5, 1.25 s to 3 s")
        << "cfr.ts" << fps << 5.0 << 1.25 << 3.0 << steps(1400, 200, 2800);
    QTest::newRow("no index: every 1.5 s from 0.25 s")
        << "cfr.ts" << every << 1.5 << 0.25 << -1.0 << QList<qint64> {300, 1800, 3300, 4800};
    QTest::newRow("variable rate: every 0.5 s")
        << "vfr.mp4" << every << 0.5 << 0.0 << -1.0 << steps(0, 500, 4000);
    QTest::newRow("variable rate: every 0.25 s, 2.6 s to 3.6 s")
        << "vfr.mp4" << every << 0.25 << 2.6 << 3.6 << QList<qint64> {2600, 2900, 3100, 3350};
    QTest::newRow("variable rate: keyframes") << "vfr.mp4" << keys << 0.0 << 0.0 << -1.0
                                              << QList<qint64> {0, 1000, 2000, 3000, 3500, 4000};
    QTest::newRow("raw H.264: every second")
        << "cfr.h264" << every << 1.0 << 0.0 << -1.0 << steps(0, 1000, 5000);
    QTest::newRow("raw H.264: rate 5, 1.25 s to 3 s")
        << "cfr.h264" << fps << 5.0 << 1.25 << 3.0 << steps(1400, 200, 2800);
    QTest::newRow("raw H.264: every 1.5 s from 0.25 s")
        << "cfr.h264" << every << 1.5 << 0.25 << -1.0 << QList<qint64> {300, 1800, 3300, 4800};
    QTest::newRow("raw H.264: count 3, its length read from the stream")
        << "cfr.h264" << count << 3.0 << 0.0 << -1.0 << QList<qint64> {1000, 3000, 5000};
    QTest::newRow("count 7: the first frame at or after each middle")
        << "cfr.mp4" << count << 7.0 << 0.0 << -1.0
        << QList<qint64> {500, 1300, 2200, 3000, 3900, 4800, 5600};
    QTest::newRow("count 4 from 1 s to 5 s")
        << "cfr.mp4" << count << 4.0 << 1.0 << 5.0 << QList<qint64> {1500, 2500, 3500, 4500};
    QTest::newRow("no index: count 4 from 1 s to 5 s")
        << "cfr.ts" << count << 4.0 << 1.0 << 5.0 << QList<qint64> {1500, 2500, 3500, 4500};
    QTest::newRow("count 1000 of 60 frames: each frame once")
        << "cfr.mp4" << count << 1000.0 << 0.0 << -1.0 << steps(0, 100, 5900);
    QTest::newRow("scene changes") << "cuts.mp4" << int(Mode::SceneChanges) << 50.0 << 0.0 << -1.0
                                   << QList<qint64> {0, 1000, 2000};
    QTest::newRow("scene changes from 0.5 s: the range's first frame, then the cuts")
        << "cuts.mp4" << int(Mode::SceneChanges) << 50.0 << 0.5 << -1.0
        << QList<qint64> {500, 1000, 2000};
}

void tst_VideoProcessorSelection::selection_takesTheFramesItSays()
{
    QFETCH(QString, clip);
    QFETCH(int, mode);
    QFETCH(double, value);
    QFETCH(double, start);
    QFETCH(double, end);
    QFETCH(QList<qint64>, times);

    const ExtractionJob options = job(clip, Mode(mode), value, start, end);
    const QStringList events = runJob(options);
    QCOMPARE(events.last(), QStringLiteral("finished"));

    const QStringList files = imageFiles(options.outputPath);
    QList<qint64> written;
    for (int i = 0; i < files.size(); ++i) {
        QVERIFY2(files.at(i).startsWith(
                     QStringLiteral("frame_%1_").arg(ImageNaming::frameNumberText(i + 1))),
            qPrintable(files.at(i)));
        written << nameTime(files.at(i));
    }
    QCOMPARE(written, times);

    // The picture is the frame its name says, first and last.
    if (!clip.startsWith(QLatin1String("cuts"))) {
        for (const QString &name : {files.first(), files.last()}) {
            const int frame = countingFrameIndex(QImage(options.outputPath + '/' + name));
            QCOMPARE(frameTime(clip, frame), nameTime(name));
        }
    }

    // The total shown never falls below the count; unknown for scenes.
    for (const QString &event : events) {
        const QRegularExpressionMatch match
            = QRegularExpression(QStringLiteral("^progress (\\d+)/(\\d+)$")).match(event);
        if (!match.hasMatch())
            continue;
        const int total = match.captured(2).toInt();
        if (Mode(mode) == Mode::SceneChanges)
            QCOMPARE(total, 0);
        else
            QVERIFY2(total >= match.captured(1).toInt(), qPrintable(event));
    }
}

void tst_VideoProcessorSelection::variableRate_takesFramesEvenlyInTime_data()
{
    QTest::addColumn<int>("rate");
    QTest::newRow("rate 5") << 5;
    QTest::newRow("rate 2") << 2;
    QTest::newRow("rate 3") << 3;
}

// 10 frames a second, then 20: the images of each whole second number the
// same, give or take one, where a count of frames would double them.
void tst_VideoProcessorSelection::variableRate_takesFramesEvenlyInTime()
{
    QFETCH(int, rate);

    const ExtractionJob options = job("vfr.mp4", Mode::FramesPerSecond, rate, 0, -1);
    QCOMPARE(runJob(options).last(), QStringLiteral("finished"));
    QList<int> perSecond(4);
    for (const QString &name : imageFiles(options.outputPath)) {
        const qint64 ms = nameTime(name);
        QCOMPARE(
            frameTime("vfr.mp4", countingFrameIndex(QImage(options.outputPath + '/' + name))), ms);
        if (ms < 4000)
            ++perSecond[int(ms / 1000)];
    }
    const auto [fewest, most] = std::minmax_element(perSecond.cbegin(), perSecond.cend());
    QVERIFY2(*most - *fewest <= 1,
        qPrintable(QStringLiteral("%1 %2 %3 %4")
                       .arg(perSecond[0])
                       .arg(perSecond[1])
                       .arg(perSecond[2])
                       .arg(perSecond[3])));
    QVERIFY(*fewest >= rate / 2);
}

void tst_VideoProcessorSelection::seeking_givesTheSameImagesAsDecodingEveryFrame_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("start");
    QTest::newRow("every 1.3 s") << int(Mode::EverySeconds) << 1.3 << 0.0;
    QTest::newRow("rate 2 from 2.35 s") << int(Mode::FramesPerSecond) << 2.0 << 2.35;
}

// The same stream in MP4, which has an index to seek in, and in MPEG-TS,
// which has none and is decoded frame after frame.
void tst_VideoProcessorSelection::seeking_givesTheSameImagesAsDecodingEveryFrame()
{
    QFETCH(int, mode);
    QFETCH(double, value);
    QFETCH(double, start);

    QStringList outputs;
    for (const char *clip : {"cfr.mp4", "cfr.ts"}) {
        const ExtractionJob options = job(clip, Mode(mode), value, start, -1);
        QCOMPARE(runJob(options).last(), QStringLiteral("finished"));
        outputs << options.outputPath;
    }
    const QStringList files = imageFiles(outputs.first());
    QCOMPARE(imageFiles(outputs.last()), files);
    QVERIFY(files.size() >= 3);
    for (const QString &name : files)
        QVERIFY2(readFile(outputs.first() + '/' + name) == readFile(outputs.last() + '/' + name),
            qPrintable(name));
}

void tst_VideoProcessorSelection::startPastTheEnd_isRefused()
{
    const ExtractionJob options = job("cfr.mp4", Mode::FramesPerSecond, 5, 6.5, -1);
    QCOMPARE(runJob(options), QStringList {"error 起始时间超出视频长度"});
    QVERIFY(!QFileInfo::exists(options.outputPath));
}

void tst_VideoProcessorSelection::emptyOrUnreachableRanges_sayWhy_data()
{
    QTest::addColumn<QString>("clip");
    QTest::addColumn<int>("mode");
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("end");
    QTest::addColumn<QString>("error");

    const QString pastEnd = QStringLiteral("起始时间超出视频长度");
    const QString noKeyframe = QStringLiteral("所选范围内没有关键帧");
    const int fps = int(Mode::FramesPerSecond);
    const int keys = int(Mode::Keyframes);
    // Seconds far beyond any video, and beyond what microseconds can count.
    QTest::newRow("raw H.264, length unknown: a start of 1e13 s")
        << "cfr.h264" << fps << 1e13 << -1.0 << pastEnd;
    QTest::newRow("raw H.264, length unknown: a start of 1e300 s")
        << "cfr.h264" << fps << 1e300 << -1.0 << pastEnd;
    QTest::newRow("raw H.264: a start past the last frame")
        << "cfr.h264" << fps << 6.5 << -1.0 << pastEnd;
    QTest::newRow("a start of 1e13 s") << "cfr.mp4" << fps << 1e13 << -1.0 << pastEnd;
    QTest::newRow("keyframes between two keyframes")
        << "cfr.mp4" << keys << 1.5 << 1.8 << noKeyframe;
    QTest::newRow("keyframes after the last keyframe")
        << "cfr.mp4" << keys << 5.5 << -1.0 << noKeyframe;
    QTest::newRow("no index: keyframes between two keyframes")
        << "cfr.ts" << keys << 2.2 << 2.9 << noKeyframe;
}

void tst_VideoProcessorSelection::emptyOrUnreachableRanges_sayWhy()
{
    QFETCH(QString, clip);
    QFETCH(int, mode);
    QFETCH(double, start);
    QFETCH(double, end);
    QFETCH(QString, error);

    const ExtractionJob options = job(clip, Mode(mode), 5, start, end);
    const QStringList events = runJob(options);
    QCOMPARE(events.last(), "error " + error);
    QCOMPARE(endings(events), 1);
    QCOMPARE(imageFiles(options.outputPath), QStringList());
}

void tst_VideoProcessorSelection::shortVideosAndRanges_giveTheirFirstFrame_data()
{
    QTest::addColumn<QStringList>("clipArguments");
    QTest::addColumn<double>("end");
    QTest::addColumn<QList<int>>("frames");

    const QString threeFrames = path("three.mp4");
    QTest::newRow("three frames of HEVC at rate 5: the first") << QStringList {"-f", "lavfi", "-i",
        countingSource("30"), "-frames:v", "3", "-c:v", "libx265", "-x265-params", "log-level=0",
        "-pix_fmt", "yuv420p", threeFrames} << -1.0 << QList<int> {0};
    QTest::newRow("a tenth of a second at 30 fps: the first")
        << countingClip("30", 30, path("second.mp4")) << 0.1 << QList<int> {0};
    QTest::newRow("seven frames at 30 fps: the sixth, and only it")
        << countingClip("30", 7, path("seven.mp4")) << -1.0 << QList<int> {5};
}

// A video or range shorter than one step of the rate has frames, and gives
// the first of them; one with a step in it keeps its count.
void tst_VideoProcessorSelection::shortVideosAndRanges_giveTheirFirstFrame()
{
    QFETCH(QStringList, clipArguments);
    QFETCH(double, end);
    QFETCH(QList<int>, frames);

    MAKE_CLIP(clipArguments);
    const ExtractionJob options
        = job(QFileInfo(clipArguments.last()).fileName(), Mode::FramesPerSecond, 5, 0, end);
    const QStringList events = runJob(options);
    QCOMPARE(events.last(), QStringLiteral("finished"));
    QList<int> taken;
    for (const QString &name : imageFiles(options.outputPath))
        taken << countingFrameIndex(QImage(options.outputPath + '/' + name));
    QCOMPARE(taken, frames);
}

void tst_VideoProcessorSelection::badSelections_areRefusedBeforeAnythingIsWritten_data()
{
    QTest::addColumn<FrameSelection>("selection");
    QTest::addColumn<QString>("flag");

    const FrameSelection defaults = ExtractionJob().selection;
    FrameSelection sharpestAtRate = defaults;
    sharpestAtRate.sharpest = true;
    QTest::newRow("sharpest at a rate") << sharpestAtRate << "--sharpest";
    FrameSelection none = defaults;
    none.mode = Mode::Count;
    none.count = 0;
    QTest::newRow("count 0") << none << "--count";
    FrameSelection insensitive = defaults;
    insensitive.distinct = true;
    insensitive.distinctSensitivity = 101;
    QTest::newRow("distinct at sensitivity 101") << insensitive << "--distinct-sensitivity";
}

void tst_VideoProcessorSelection::badSelections_areRefusedBeforeAnythingIsWritten()
{
    QFETCH(FrameSelection, selection);
    QFETCH(QString, flag);

    ExtractionJob options = job("cfr.mp4", Mode::FramesPerSecond, 5, 0, -1);
    options.selection = selection;
    const QStringList events = runJob(options);
    QCOMPARE(events.size(), 1);
    QVERIFY2(
        events.last().startsWith(QStringLiteral("error ") + flag + ' '), qPrintable(events.last()));
    QVERIFY(!QFileInfo::exists(options.outputPath));
}

void tst_VideoProcessorSelection::handedFrames_carryTheirNumberInTheStream_data()
{
    QTest::addColumn<QString>("clip");
    QTest::addColumn<int>("mode");
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("start");

    QTest::newRow("rate 5: counted") << "cfr.mp4" << int(Mode::FramesPerSecond) << 5.0 << 0.0;
    QTest::newRow("every 1.5 s, seeking: from the time")
        << "cfr.mp4" << int(Mode::EverySeconds) << 1.5 << 0.25;
    QTest::newRow("no index, every 1.5 s, frames before each point left undecoded: from the time")
        << "cfr.ts" << int(Mode::EverySeconds) << 1.5 << 0.0;
    QTest::newRow("keyframes alone decoded: from the time")
        << "cfr.mp4" << int(Mode::Keyframes) << 0.0 << 0.0;
    QTest::newRow("no index, from 2.35 s, frames before it left undecoded: from the time")
        << "cfr.ts" << int(Mode::FramesPerSecond) << 2.0 << 2.35;
    QTest::newRow("raw H.264, every second: counted")
        << "cfr.h264" << int(Mode::EverySeconds) << 1.0 << 0.0;
}

// Each frame handed out says which frame of the stream it is, counted from
// 1, whether the source decoded every frame before it or seeked.
void tst_VideoProcessorSelection::handedFrames_carryTheirNumberInTheStream()
{
    QFETCH(QString, clip);
    QFETCH(int, mode);
    QFETCH(double, value);
    QFETCH(double, start);

    const FrameSelection selection = job(clip, Mode(mode), value, start, -1).selection;
    MediaInput input;
    QCOMPARE(input.open(path(clip), Picture::BitDepth::Rgb24), Outcome::Converted);
    FrameSelector::Pace pace;
    pace.interval = Sampling::samplingInterval(
        input.stream()->avg_frame_rate, input.stream()->r_frame_rate, selection.frameRate);
    pace.frameRate = 10;
    FrameSelector selector(selection, pace);
    DecodingFrameSource source(input, selector);
    const FrameSource::StopCheck never = [] {
        return false;
    };
    int frames = 0;
    FFmpeg::FramePtr frame;
    while (source.next(&frame, never) == FrameSource::Status::Frame) {
        ++frames;
        // The counting source's luma: 16 + 3 for each frame before it.
        const int index = qRound((frame->data[0][frame->linesize[0] * 8 + 8] - 16) / 3.0);
        const std::optional<double> number
            = FrameFacts::number(frame.get(), FrameFacts::frameNumber);
        QVERIFY(number);
        QCOMPARE(int(*number), index + 1);
    }
    QVERIFY(frames >= 4);
}

QTEST_GUILESS_MAIN(tst_VideoProcessorSelection)
#include "tst_videoprocessor_selection.moc"

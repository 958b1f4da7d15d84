// The selection's rules on frames made in memory, each with a time of its
// own, so that every boundary of a part, step or threshold can be placed
// exactly: which frames a selector chooses, and the measures it asks
// (black, repeated, sharp).

#include "blackframetest.h"
#include "framefacts.h"
#include "frameselector.h"
#include "repeatdetector.h"
#include "samplingrules.h"
#include "sharpnessmeter.h"

#include <QStandardPaths>
#include <QtTest>

#include <functional>

extern "C" {
#include <libavutil/avutil.h>
#include <libavutil/log.h>
}

Q_DECLARE_METATYPE(FrameSelection)
Q_DECLARE_METATYPE(AVRational)

namespace {

using Mode = FrameSelection::Mode;
using Luma = std::function<int(int x, int y)>;

// A frame of the format, its luma from the function (8-bit levels; scaled
// to the format's depth), its colour neutral.
FFmpeg::FramePtr makeFrame(
    int width, int height, const Luma &luma, AVPixelFormat format = AV_PIX_FMT_YUV420P)
{
    FFmpeg::FramePtr frame(av_frame_alloc());
    frame->width = width;
    frame->height = height;
    frame->format = format;
    if (av_frame_get_buffer(frame.get(), 0) < 0)
        return nullptr;
    const bool wide = format == AV_PIX_FMT_YUV420P10LE;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int value = qBound(0, luma(x, y), 255);
            if (wide)
                reinterpret_cast<uint16_t *>(frame->data[0] + y * frame->linesize[0])[x]
                    = uint16_t(value << 2);
            else
                frame->data[0][y * frame->linesize[0] + x] = uint8_t(value);
        }
    }
    for (int plane = 1; plane < 3; ++plane) {
        for (int y = 0; y < (height + 1) / 2; ++y) {
            for (int x = 0; x < (width + 1) / 2; ++x) {
                if (wide)
                    reinterpret_cast<uint16_t *>(frame->data[plane] + y * frame->linesize[plane])[x]
                        = 512;
                else
                    frame->data[plane][y * frame->linesize[plane] + x] = 128;
            }
        }
    }
    return frame;
}

// A deterministic pseudo-random number per pixel and seed, -1 to 1.
double jitter(int x, int y, int seed)
{
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + uint32_t(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h % 20001) / 10000.0 - 1;
}

// A picture with detail at every scale: squares of 8 pixels and noise-like
// texture, softened by a box blur of the radius.
Luma texture(int radius)
{
    return [radius](int x, int y) {
        const auto sharp = [](int px, int py) {
            return ((px / 8 + py / 8) % 2 ? 180 : 60) + int(40 * jitter(px, py, 7));
        };
        if (radius <= 0)
            return sharp(x, y);
        int sum = 0;
        int count = 0;
        for (int dy = -radius; dy <= radius; ++dy) {
            for (int dx = -radius; dx <= radius; ++dx) {
                sum += sharp(x + dx, y + dy);
                ++count;
            }
        }
        return sum / count;
    };
}

constexpr int frameWidth = 64;
constexpr int frameHeight = 48;

struct Timeline
{
    QList<qint64> timesMs;
    QList<qint64> blackMs;
    QList<qint64> sharpMs;
};

} // namespace

Q_DECLARE_METATYPE(Timeline)

namespace {

// Offers the frames to the selector in order, as the source does, and
// returns the times of the frames it chose, in the order it handed them out.
QList<qint64> chosenTimes(FrameSelector &selector, const Timeline &timeline)
{
    QList<qint64> chosen;
    const auto collect = [&] {
        while (FFmpeg::FramePtr frame = selector.takeChosen())
            chosen << frame->pts / 1000;
    };
    const FFmpeg::FramePtr blurred = makeFrame(frameWidth, frameHeight, texture(3));
    const FFmpeg::FramePtr sharp = makeFrame(frameWidth, frameHeight, texture(0));
    const FFmpeg::FramePtr black = makeFrame(frameWidth, frameHeight, [](int, int) { return 16; });
    for (const qint64 ms : timeline.timesMs) {
        const AVFrame *look = timeline.blackMs.contains(ms) ? black.get()
            : timeline.sharpMs.contains(ms)                 ? sharp.get()
                                                            : blurred.get();
        FFmpeg::FramePtr frame(av_frame_clone(look));
        frame->pts = ms * 1000;
        frame->time_base = AVRational {1, 1000000};
        const bool more = selector.offer(frame.get(), ms * 1000);
        collect();
        if (!more) {
            // Once ended, it stays so.
            if (selector.offer(frame.get(), ms * 1000))
                chosen << -1;
            return chosen;
        }
    }
    selector.finish();
    collect();
    return chosen;
}

QList<qint64> steps(qint64 first, qint64 step, qint64 last)
{
    QList<qint64> times;
    for (qint64 t = first; t <= last; t += step)
        times << t;
    return times;
}

FrameSelection every(double seconds, double start = 0, double end = -1)
{
    FrameSelection selection = ExtractionJob().selection;
    selection.mode = Mode::EverySeconds;
    selection.everySeconds = seconds;
    selection.startSeconds = start;
    selection.endSeconds = end;
    return selection;
}

FrameSelection count(int frames, double start = 0, double end = -1)
{
    FrameSelection selection = ExtractionJob().selection;
    selection.mode = Mode::Count;
    selection.count = frames;
    selection.startSeconds = start;
    selection.endSeconds = end;
    return selection;
}

FrameSelection rate(int frames)
{
    FrameSelection selection = ExtractionJob().selection;
    selection.frameRate = frames;
    return selection;
}

// The times of a clip with so many frames in each second, spread evenly in it.
QList<qint64> evenlyInEachSecond(const QList<int> &framesPerSecond)
{
    QList<qint64> timesUs;
    for (int second = 0; second < framesPerSecond.size(); ++second) {
        for (int i = 0; i < framesPerSecond.at(second); ++i)
            timesUs << second * 1000000ll + 1000000ll * i / framesPerSecond.at(second);
    }
    return timesUs;
}

// The pace of such a clip at a rate, its rate as a container reports it:
// frames over duration.
FrameSelector::Pace paceOf(qsizetype frames, qsizetype seconds, int wanted)
{
    const AVRational average {int(frames), int(seconds)};
    FrameSelector::Pace pace;
    pace.interval = Sampling::samplingInterval(average, AVRational {90000, 1}, wanted);
    pace.frameRate = Sampling::usableFrameRate(average, AVRational {90000, 1});
    return pace;
}

FrameSelection sharpestOf(FrameSelection selection)
{
    selection.sharpest = true;
    return selection;
}

FrameSelection skippingBlack(FrameSelection selection)
{
    selection.skipBlack = true;
    return selection;
}

} // namespace

class tst_FrameSelection : public QObject
{
    Q_OBJECT

public:
    tst_FrameSelection() { QStandardPaths::setTestModeEnabled(true); }

private slots:
    void initTestCase() { av_log_set_level(AV_LOG_QUIET); }
    void selector_choosesTheFramesOfEachPart_data();
    void selector_choosesTheFramesOfEachPart();
    void rate_takesEveryIntervalthFrameOnConstantRates_data();
    void rate_takesEveryIntervalthFrameOnConstantRates();
    void rate_staysEvenOnVariableRates_data();
    void rate_staysEvenOnVariableRates();
    void rate_leavesOutOnlyFramesItWouldNotTake_data();
    void rate_leavesOutOnlyFramesItWouldNotTake();
    void chosenFrames_carryTheirScore_data();
    void chosenFrames_carryTheirScore();
    void sceneChange_carriesItsScoreButTheFirstFrameNone();
    void blackFrames_followTheBlackframeRule_data();
    void blackFrames_followTheBlackframeRule();
    void repeats_toleranceOfNoiseNotOfChange_data();
    void repeats_toleranceOfNoiseNotOfChange();
    void sharpness_ranksBlur_data();
    void sharpness_ranksBlur();
    void estimate_isUnknownWhereContentDecides_data();
    void estimate_isUnknownWhereContentDecides();
};

void tst_FrameSelection::selector_choosesTheFramesOfEachPart_data()
{
    QTest::addColumn<FrameSelection>("selection");
    QTest::addColumn<qint64>("durationMs");
    QTest::addColumn<double>("frameRate");
    QTest::addColumn<Timeline>("timeline");
    QTest::addColumn<QList<qint64>>("expected");

    const QList<qint64> tenFps = steps(0, 100, 5900);
    const auto plain = [](const QList<qint64> &times) {
        return Timeline {times, {}, {}};
    };
    const auto withBlack = [](const QList<qint64> &times, const QList<qint64> &black) {
        return Timeline {times, black, {}};
    };
    const auto withSharp = [](const QList<qint64> &times, const QList<qint64> &sharp) {
        return Timeline {times, {}, sharp};
    };

    QTest::newRow("every 1 s: the first frame at or after each point")
        << every(1) << qint64(6000) << 10.0 << plain(tenFps) << steps(0, 1000, 5000);
    QTest::newRow("every 0.25 s, frames 0.1 s apart: the first at or after each point")
        << every(0.25, 0, 1.3) << qint64(6000) << 10.0 << plain(tenFps)
        << QList<qint64> {0, 300, 500, 800, 1000};
    QTest::newRow("every 1 s across a 2.5 s gap: the frame after it counts once")
        << every(1) << qint64(6000) << 10.0 << plain(steps(0, 100, 900) + steps(3400, 100, 5900))
        << QList<qint64> {0, 3400, 4000, 5000};
    QTest::newRow("every 1 s, skip black: a black point gives way to its part's next frame")
        << skippingBlack(every(1)) << qint64(6000) << 10.0 << withBlack(tenFps, {1000, 1100})
        << QList<qint64> {0, 1200, 2000, 3000, 4000, 5000};
    QTest::newRow("every 1 s, skip black: a part black to its end gives none")
        << skippingBlack(every(1)) << qint64(6000) << 10.0
        << withBlack(tenFps, steps(2000, 100, 2900)) << QList<qint64> {0, 1000, 3000, 4000, 5000};
    QTest::newRow("every 1 s, skip black, black to the end")
        << skippingBlack(every(1)) << qint64(6000) << 10.0
        << withBlack(tenFps, steps(4500, 100, 5900)) << QList<qint64> {0, 1000, 2000, 3000, 4000};

    QTest::newRow("count 4 over 8 s: the first frame at or after each middle")
        << count(4) << qint64(8000) << 10.0 << plain(steps(0, 100, 7900))
        << QList<qint64> {1000, 3000, 5000, 7000};
    QTest::newRow("count 3 over 1 s: middles at 167, 500 and 833 ms") << count(
        3) << qint64(1000) << 10.0 << plain(steps(0, 100, 900)) << QList<qint64> {200, 500, 900};
    QTest::newRow("count 4 from 2 s to 6 s: inside the range")
        << count(4, 2, 6) << qint64(8000) << 10.0 << plain(steps(0, 100, 7900))
        << QList<qint64> {2500, 3500, 4500, 5500};
    QTest::newRow("count 2 to 5 s of a 3 s video: the video's end ends the parts") << count(
        2, 0, 5) << qint64(3000) << 10.0 << plain(steps(0, 100, 2900)) << QList<qint64> {800, 2300};
    QTest::newRow("count 10 over 6 frames: each frame once")
        << count(10) << qint64(600) << 10.0 << plain(steps(0, 100, 500)) << steps(0, 100, 500);
    QTest::newRow("count 9 over 10 frames: each part a frame of its own")
        << count(9) << qint64(1000) << 10.0 << plain(steps(0, 100, 900)) << steps(100, 100, 900);
    QTest::newRow("count 1000 over 64 frames: the 64 frames")
        << count(1000) << qint64(6400) << 10.0 << plain(steps(0, 100, 6300)) << steps(0, 100, 6300);
    QTest::newRow("count 3 across a gap: a part without frames gives none")
        << count(3) << qint64(3000) << 10.0 << plain(steps(0, 100, 900) + steps(2000, 100, 2900))
        << QList<qint64> {500, 2500};
    QTest::newRow("count 2, skip black: a black middle gives way to the part's next frame")
        << skippingBlack(count(2)) << qint64(2000) << 10.0
        << withBlack(steps(0, 100, 1900), {500, 600, 1500}) << QList<qint64> {700, 1600};
    QTest::newRow("count 2, skip black: black from the middle on, the last frame before it")
        << skippingBlack(count(2)) << qint64(2000) << 10.0
        << withBlack(steps(0, 100, 1900), steps(400, 100, 900)) << QList<qint64> {300, 1500};
    QTest::newRow("count 3, length unknown: the first three frames")
        << count(3) << qint64(-1) << 10.0 << plain(tenFps) << QList<qint64> {0, 100, 200};

    QTest::newRow("every 1 s, sharpest: the sharp frame of each second")
        << sharpestOf(every(1)) << qint64(4000) << 10.0
        << withSharp(steps(0, 100, 3900), {300, 1900, 2000, 3000})
        << QList<qint64> {300, 1900, 2000, 3000};
    QTest::newRow("every 1 s, sharpest from 0.5 s to 2.5 s: parts start at the start")
        << sharpestOf(every(1, 0.5, 2.5)) << qint64(4000) << 10.0
        << withSharp(steps(0, 100, 3900), {400, 600, 1400, 2400, 2600})
        << QList<qint64> {600, 2400};
    QTest::newRow("every 1 s, sharpest, all alike: the first of each part")
        << sharpestOf(every(1)) << qint64(3000) << 10.0 << plain(steps(0, 100, 2900))
        << QList<qint64> {0, 1000, 2000};
    QTest::newRow("every 1 s, sharpest, skip black: a black part gives none")
        << skippingBlack(sharpestOf(every(1))) << qint64(3000) << 10.0
        << Timeline {steps(0, 100, 2900), steps(1000, 100, 1900), {}} << QList<qint64> {0, 2000};
    QTest::newRow("count 2, sharpest: the sharpest of each half")
        << sharpestOf(count(2)) << qint64(2000) << 10.0
        << withSharp(steps(0, 100, 1900), {100, 1900}) << QList<qint64> {100, 1900};

    QTest::newRow("rate 5 at 10 fps: every second frame")
        << rate(5) << qint64(2000) << 10.0 << plain(steps(0, 100, 1900)) << steps(100, 200, 1900);
    QTest::newRow("rate 5 at 30 fps, three frames: the first")
        << rate(5) << qint64(100) << 30.0 << plain({0, 33, 67}) << QList<qint64> {0};
    QTest::newRow("rate 5 at 30 fps, three frames, the first black: the next") << skippingBlack(
        rate(5)) << qint64(100) << 30.0 << withBlack({0, 33, 67}, {0}) << QList<qint64> {33};
    QTest::newRow("rate 5 at 30 fps, seven frames: the sixth, not the first as well") << rate(
        5) << qint64(233) << 30.0 << plain({0, 33, 67, 100, 133, 167, 200}) << QList<qint64> {167};
    QTest::newRow("rate 5, times running backwards: the steps start anew")
        << rate(5) << qint64(2000) << 10.0 << plain(steps(0, 100, 500) + steps(0, 100, 500))
        << QList<qint64> {100, 300, 500, 100, 300, 500};
    QTest::newRow("no rate of its own, 60 fps against a pace of 30: every frame")
        << rate(0) << qint64(100) << 30.0 << plain({0, 17, 33, 50, 67, 83})
        << QList<qint64> {0, 17, 33, 50, 67, 83};
    QTest::newRow("rate 5, skip black: black frames at a step are left out")
        << skippingBlack(rate(5)) << qint64(1000) << 10.0 << withBlack(steps(0, 100, 900), {300})
        << QList<qint64> {100, 500, 700, 900};
}

void tst_FrameSelection::selector_choosesTheFramesOfEachPart()
{
    QFETCH(FrameSelection, selection);
    QFETCH(qint64, durationMs);
    QFETCH(double, frameRate);
    QFETCH(Timeline, timeline);
    QFETCH(QList<qint64>, expected);

    FrameSelector::Pace pace;
    pace.frameRate = frameRate;
    pace.interval = Sampling::samplingInterval(AVRational {int(frameRate * 1000), 1000},
        AVRational {int(frameRate * 1000), 1000}, selection.frameRate);
    pace.durationUs = durationMs < 0 ? AV_NOPTS_VALUE : durationMs * 1000;
    FrameSelector selector(selection, pace);
    QCOMPARE(chosenTimes(selector, timeline), expected);
}

void tst_FrameSelection::rate_takesEveryIntervalthFrameOnConstantRates_data()
{
    QTest::addColumn<AVRational>("frameRate");
    QTest::addColumn<AVRational>("timeBase");

    // The time bases containers store: MP4's multiple of the rate, Matroska's
    // milliseconds (frame times rounded), MPEG-TS's 90 kHz.
    QTest::newRow("24 fps in 1/12288") << AVRational {24, 1} << AVRational {1, 12288};
    QTest::newRow("25 fps in milliseconds") << AVRational {25, 1} << AVRational {1, 1000};
    QTest::newRow("29.97 fps in 90 kHz") << AVRational {30000, 1001} << AVRational {1, 90000};
    QTest::newRow("29.97 fps in milliseconds") << AVRational {30000, 1001} << AVRational {1, 1000};
    QTest::newRow("23.976 fps in milliseconds") << AVRational {24000, 1001} << AVRational {1, 1000};
    QTest::newRow("60 fps in milliseconds") << AVRational {60, 1} << AVRational {1, 1000};
    QTest::newRow("59.94 fps in 90 kHz") << AVRational {60000, 1001} << AVRational {1, 90000};
    QTest::newRow("120 fps in milliseconds") << AVRational {120, 1} << AVRational {1, 1000};
    QTest::newRow("8 fps in 1/1200000 (raw streams)")
        << AVRational {8, 1} << AVRational {1, 1200000};
}

// On a constant rate, choosing by time takes exactly every interval-th
// frame, for every rate the options offer, whatever rounding the
// container's time base gives the times.
void tst_FrameSelection::rate_takesEveryIntervalthFrameOnConstantRates()
{
    QFETCH(AVRational, frameRate);
    QFETCH(AVRational, timeBase);

    const FFmpeg::FramePtr picture = makeFrame(16, 16, [](int, int) { return 100; });
    const int frames = int(20 * av_q2d(frameRate));
    const AVRational framePeriod = av_inv_q(frameRate);
    const JobOption &rates = JobOption::row(JobOption::Id::Rate);
    for (int wanted = int(rates.minimum); wanted <= int(rates.maximum); ++wanted) {
        FrameSelector::Pace pace;
        pace.interval = Sampling::samplingInterval(frameRate, frameRate, wanted);
        pace.frameRate = Sampling::usableFrameRate(frameRate, frameRate);
        FrameSelector selector(rate(wanted), pace);
        QList<int> chosen;
        for (int n = 0; n < frames; ++n) {
            const int64_t stamp = av_rescale_q(n, framePeriod, timeBase);
            const int64_t timeUs = av_rescale_q(stamp, timeBase, AVRational {1, 1000000});
            FFmpeg::FramePtr frame(av_frame_clone(picture.get()));
            frame->pts = n;
            QVERIFY(selector.offer(frame.get(), timeUs));
            while (FFmpeg::FramePtr taken = selector.takeChosen())
                chosen << int(taken->pts);
        }
        QList<int> expected;
        for (int n = pace.interval - 1; n < frames; n += pace.interval)
            expected << n;
        QVERIFY2(chosen == expected, qPrintable(QStringLiteral("at %1 a second").arg(wanted)));
    }
}

void tst_FrameSelection::rate_staysEvenOnVariableRates_data()
{
    QTest::addColumn<QList<int>>("framesPerSecond");
    QTest::addColumn<int>("wanted");

    // A phone's clip: steady, a stall, then bursts.
    QTest::newRow("steady, stalled, bursting, at 5")
        << QList<int> {30, 30, 30, 2, 5, 6, 60, 60, 55, 60, 60, 50} << 5;
    QTest::newRow("dimming light, at 5") << QList<int> {30, 28, 25, 20, 17, 24, 30, 30, 29} << 5;
    QTest::newRow("a stall in 24 fps, at 10") << QList<int> {24, 24, 3, 24, 24, 24} << 10;
    // An interval of 1: one step a frame period of the average, a burst thinned to it.
    QTest::newRow("a burst of 150 fps among 20, at 40") << QList<int> {20, 20, 150, 150, 20} << 40;
    QTest::newRow("slow start, at 10") << QList<int> {12, 12, 90, 90, 90, 90} << 10;
}

// About the rate asked for in each second that has the frames for it (and
// followed a second that had them too, which may hand it a late step): the
// counts of images in those seconds differ by at most one.
void tst_FrameSelection::rate_staysEvenOnVariableRates()
{
    QFETCH(QList<int>, framesPerSecond);
    QFETCH(int, wanted);

    const QList<qint64> timesUs = evenlyInEachSecond(framesPerSecond);
    const FrameSelector::Pace pace = paceOf(timesUs.size(), framesPerSecond.size(), wanted);
    FrameSelector selector(rate(wanted), pace);
    const FFmpeg::FramePtr picture = makeFrame(16, 16, [](int, int) { return 100; });
    QList<int> images(framesPerSecond.size());
    for (const qint64 timeUs : timesUs) {
        FFmpeg::FramePtr frame(av_frame_clone(picture.get()));
        frame->pts = timeUs;
        QVERIFY(selector.offer(frame.get(), timeUs));
        while (FFmpeg::FramePtr taken = selector.takeChosen())
            ++images[int(taken->pts / 1000000)];
    }
    // Images a second the step gives, and the seconds with frames enough.
    const double perSecond = pace.frameRate / pace.interval;
    int fewest = INT_MAX;
    int most = 0;
    for (int second = 0; second < framesPerSecond.size(); ++second) {
        QVERIFY2(
            images.at(second) <= framesPerSecond.at(second), qPrintable(QString::number(second)));
        const bool enough = framesPerSecond.at(second) >= 2 * perSecond
            && (second == 0 || framesPerSecond.at(second - 1) >= 2 * perSecond);
        if (enough) {
            fewest = qMin(fewest, images.at(second));
            most = qMax(most, images.at(second));
        }
    }
    QVERIFY2(most > 0, "no second has the frames to tell");
    QVERIFY2(most - fewest <= 1,
        qPrintable(QStringLiteral("images a second: %1")
                       .arg(QStringList([&] {
                           QStringList texts;
                           for (const int n : images)
                               texts << QString::number(n);
                           return texts;
                       }())
                                .join(QLatin1Char(' ')))));
    QVERIFY(fewest >= int(perSecond) - 1);
    QVERIFY(most <= int(std::ceil(perSecond)) + 1);
}

void tst_FrameSelection::rate_leavesOutOnlyFramesItWouldNotTake_data()
{
    QTest::addColumn<QList<int>>("framesPerSecond");
    QTest::addColumn<int>("wanted");
    QTest::addColumn<int>("bFrames"); // between two reference frames
    QTest::addColumn<int>("latency"); // packets a frame waits in the decoder's threads

    QTest::newRow("30 fps at 5, three B-frames") << QList<int>(4, 30) << 5 << 3 << 2;
    QTest::newRow("30 fps at 5, no B-frames, no delay") << QList<int>(4, 30) << 5 << 0 << 0;
    QTest::newRow("25 fps at 12, two B-frames") << QList<int>(4, 25) << 12 << 2 << 1;
    QTest::newRow("24 fps at 7, five B-frames, long delay") << QList<int>(4, 24) << 7 << 5 << 6;
    QTest::newRow("steady, stalled, bursting, at 5, three B-frames")
        << QList<int> {30, 30, 30, 2, 5, 6, 60, 60, 55, 60, 60, 50} << 5 << 3 << 2;
    QTest::newRow("a stall in 24 fps, at 10, one B-frame")
        << QList<int> {24, 24, 3, 24, 24, 24} << 10 << 1 << 3;
}

// The decoder leaves out, of the frames no other refers to, those the
// selector says it cannot take. Here every frame could be left out, frames
// come in decoding order (each reference frame before the B-frames shown
// before it) and leave the decoder in time order some packets later: the
// frames taken are those taken from every frame, and frames are left out.
void tst_FrameSelection::rate_leavesOutOnlyFramesItWouldNotTake()
{
    QFETCH(QList<int>, framesPerSecond);
    QFETCH(int, wanted);
    QFETCH(int, bFrames);
    QFETCH(int, latency);

    const QList<qint64> timesUs = evenlyInEachSecond(framesPerSecond);
    QList<int> decodingOrder {0};
    for (int anchor = 1; anchor < timesUs.size(); anchor += bFrames + 1) {
        const int reference = qMin<int>(anchor + bFrames, timesUs.size() - 1);
        decodingOrder << reference;
        for (int n = anchor; n < reference; ++n)
            decodingOrder << n;
    }
    const FrameSelector::Pace pace = paceOf(timesUs.size(), framesPerSecond.size(), wanted);
    const FFmpeg::FramePtr picture = makeFrame(16, 16, [](int, int) { return 100; });

    const auto takenTimes = [&](bool leaveOut, int *leftOut) {
        FrameSelector selector(rate(wanted), pace);
        QList<qint64> taken;
        QList<qint64> keptUs;
        QList<int> sent;
        QList<bool> passed(timesUs.size(), false); // sent or left out
        int next = 0; // the next frame in time order to leave the decoder
        const auto offer = [&](int n) {
            FFmpeg::FramePtr frame(av_frame_clone(picture.get()));
            frame->pts = timesUs.at(n);
            selector.offer(frame.get(), timesUs.at(n));
            while (FFmpeg::FramePtr chosen = selector.takeChosen())
                taken << chosen->pts;
        };
        for (int packet = 0; packet <= decodingOrder.size() + latency; ++packet) {
            if (packet < decodingOrder.size()) {
                const int n = decodingOrder.at(packet);
                qint64 earlierUs = AV_NOPTS_VALUE;
                for (const qint64 kept : keptUs) {
                    if (kept < timesUs.at(n))
                        earlierUs = qMax(earlierUs == AV_NOPTS_VALUE ? kept : earlierUs, kept);
                }
                if (leaveOut && !selector.mayTakeFrameAt(timesUs.at(n), earlierUs)) {
                    ++*leftOut;
                } else {
                    keptUs << timesUs.at(n);
                    sent << n;
                }
                passed[n] = true;
            }
            // Out in time order, once every frame before it has passed and it
            // has waited its packets.
            while (next < timesUs.size() && passed.at(next)) {
                const qsizetype at = sent.indexOf(next);
                if (at >= 0 && decodingOrder.indexOf(next) + latency > packet)
                    break;
                if (at >= 0)
                    offer(next);
                ++next;
            }
        }
        selector.finish();
        while (FFmpeg::FramePtr chosen = selector.takeChosen())
            taken << chosen->pts;
        return taken;
    };
    int leftOut = 0;
    const QList<qint64> fromEveryFrame = takenTimes(false, &leftOut);
    QCOMPARE(takenTimes(true, &leftOut), fromEveryFrame);
    QVERIFY(!fromEveryFrame.isEmpty());
    QVERIFY2(leftOut > 0, "nothing left out");
}

void tst_FrameSelection::chosenFrames_carryTheirScore_data()
{
    QTest::addColumn<FrameSelection>("selection");
    QTest::addColumn<bool>("scored");

    FrameSelection distinct = rate(5);
    distinct.distinct = true;
    QTest::newRow("sharpest: the sharpness") << sharpestOf(every(1)) << true;
    QTest::newRow("distinct: the difference") << distinct << true;
    QTest::newRow("rate alone: none") << rate(5) << false;
}

void tst_FrameSelection::chosenFrames_carryTheirScore()
{
    QFETCH(FrameSelection, selection);
    QFETCH(bool, scored);

    FrameSelector::Pace pace;
    pace.interval = 2;
    pace.frameRate = 10;
    FrameSelector selector(selection, pace);
    const FFmpeg::FramePtr sharp = makeFrame(frameWidth, frameHeight, texture(0));
    const FFmpeg::FramePtr blurred = makeFrame(frameWidth, frameHeight, texture(2));
    int chosen = 0;
    const auto check = [&] {
        while (FFmpeg::FramePtr frame = selector.takeChosen()) {
            ++chosen;
            const std::optional<double> score = FrameFacts::number(frame.get(), FrameFacts::score);
            QCOMPARE(score.has_value(), scored);
            if (score)
                QVERIFY(*score > 0);
        }
    };
    for (int n = 0; n < 30; ++n) {
        FFmpeg::FramePtr frame(av_frame_clone(n % 3 ? blurred.get() : sharp.get()));
        QVERIFY(selector.offer(frame.get(), n * 100000));
        check();
    }
    selector.finish();
    check();
    QVERIFY(chosen > 0);
}

void tst_FrameSelection::sceneChange_carriesItsScoreButTheFirstFrameNone()
{
    FrameSelection scenes = ExtractionJob().selection;
    scenes.mode = Mode::SceneChanges;
    FrameSelector selector(scenes, FrameSelector::Pace());
    const FFmpeg::FramePtr picture = makeFrame(frameWidth, frameHeight, texture(0));
    const FFmpeg::FramePtr black = makeFrame(frameWidth, frameHeight, [](int, int) { return 16; });
    QList<qint64> chosen;
    QList<double> scores;
    for (int n = 0; n < 10; ++n) {
        FFmpeg::FramePtr frame(av_frame_clone(n < 5 ? picture.get() : black.get()));
        frame->pts = n;
        QVERIFY(selector.offer(frame.get(), n * 100000));
        while (FFmpeg::FramePtr taken = selector.takeChosen()) {
            chosen << taken->pts;
            scores << FrameFacts::number(taken.get(), FrameFacts::score).value_or(-1);
        }
    }
    QCOMPARE(chosen, (QList<qint64> {0, 5}));
    QCOMPARE(scores.first(), -1.0);
    QVERIFY2(scores.last() > 0.4 && scores.last() <= 1, qPrintable(QString::number(scores.last())));
}

void tst_FrameSelection::blackFrames_followTheBlackframeRule_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<int>("darkShare");
    QTest::addColumn<int>("darkLuma");
    QTest::addColumn<bool>("black");

    const int eight = AV_PIX_FMT_YUV420P;
    QTest::newRow("all at video black") << eight << 100 << 16 << true;
    QTest::newRow("all at 31, just below the threshold") << eight << 100 << 31 << true;
    QTest::newRow("all at 32, the threshold") << eight << 100 << 32 << false;
    QTest::newRow("98% dark, the rest white") << eight << 98 << 16 << true;
    QTest::newRow("97% dark, the rest white") << eight << 97 << 16 << false;
    QTest::newRow("half dark") << eight << 50 << 16 << false;
    QTest::newRow("10-bit, all at video black") << int(AV_PIX_FMT_YUV420P10LE) << 100 << 16 << true;
    QTest::newRow("10-bit, all at 40") << int(AV_PIX_FMT_YUV420P10LE) << 100 << 40 << false;
}

void tst_FrameSelection::blackFrames_followTheBlackframeRule()
{
    QFETCH(int, format);
    QFETCH(int, darkShare);
    QFETCH(int, darkLuma);
    QFETCH(bool, black);

    // 100 columns, so that the share is a count of columns.
    const FFmpeg::FramePtr frame = makeFrame(
        100, 20, [&](int x, int) { return x < darkShare ? darkLuma : 235; }, AVPixelFormat(format));
    QVERIFY(frame);
    BlackFrameTest test;
    QCOMPARE(test.isBlack(frame.get()), black);
    // The same test again gives the same answer: the filter keeps no state.
    QCOMPARE(test.isBlack(frame.get()), black);
}

void tst_FrameSelection::repeats_toleranceOfNoiseNotOfChange_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("noise");
    QTest::addColumn<double>("boxShare");
    QTest::addColumn<int>("shift");
    QTest::addColumn<int>("sensitivity");
    QTest::addColumn<bool>("repeat");

    const QSize small(320, 180);
    const QSize hd(1280, 720);
    QTest::newRow("the same picture") << small << 0 << 0.0 << 0 << 50 << true;
    QTest::newRow("strong noise") << small << 25 << 0.0 << 0 << 50 << true;
    QTest::newRow("strong noise, 720p") << hd << 25 << 0.0 << 0 << 50 << true;
    QTest::newRow("a camera's exposure moving by 12 levels")
        << small << 8 << 0.0 << 12 << 50 << true;
    QTest::newRow("a box of 1% added") << small << 8 << 0.01 << 0 << 50 << false;
    QTest::newRow("a box of 1% added, 720p") << hd << 8 << 0.01 << 0 << 50 << false;
    QTest::newRow("a box of 0.3% added") << small << 8 << 0.003 << 0 << 50 << false;
    QTest::newRow("a box of 1% with exposure moving") << small << 8 << 0.01 << 10 << 50 << false;
    QTest::newRow("the whole picture 60 levels darker") << small << 0 << 0.0 << -60 << 50 << false;
    QTest::newRow("a box of 1%, least sensitive") << small << 8 << 0.01 << 0 << 1 << false;
    QTest::newRow("strong noise, most sensitive: seen as change")
        << small << 25 << 0.0 << 0 << 100 << false;
}

void tst_FrameSelection::repeats_toleranceOfNoiseNotOfChange()
{
    QFETCH(QSize, size);
    QFETCH(int, noise);
    QFETCH(double, boxShare);
    QFETCH(int, shift);
    QFETCH(int, sensitivity);
    QFETCH(bool, repeat);

    // A slide: light background with dark lines of "text".
    const auto slide = [](int x, int y, int width, int height) {
        const bool line = x > width / 10 && x < width * 7 / 10 && (y * 10 / height) % 2 == 1;
        return line ? 50 : 200;
    };
    const int width = size.width();
    const int height = size.height();
    const int boxSide = int(std::sqrt(boxShare * width * height));
    const FFmpeg::FramePtr before = makeFrame(width, height,
        [&](int x, int y) { return slide(x, y, width, height) + int(noise * jitter(x, y, 1)); });
    const FFmpeg::FramePtr after = makeFrame(width, height, [&](int x, int y) {
        // The box sits where blocks are whole or cut, at 13 pixels from the corner.
        const bool inBox = x >= width - 13 - boxSide && x < width - 13 && y >= height - 13 - boxSide
            && y < height - 13;
        return (inBox ? 120 : slide(x, y, width, height) + shift) + int(noise * jitter(x, y, 2));
    });
    RepeatDetector detector(sensitivity);
    QCOMPARE(detector.isRepeat(detector.difference(before.get())), false);
    detector.remember();
    QCOMPARE(detector.isRepeat(detector.difference(after.get())), repeat);
}

void tst_FrameSelection::sharpness_ranksBlur_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("sharperRadius");
    QTest::addColumn<int>("blurrierRadius");

    QTest::newRow("sharp against radius 1") << QSize(160, 90) << 0 << 1;
    QTest::newRow("radius 1 against 2") << QSize(160, 90) << 1 << 2;
    QTest::newRow("radius 2 against 4") << QSize(160, 90) << 2 << 4;
    // Measured at half size: blur of a few pixels still ranks.
    QTest::newRow("1920x1080, sharp against radius 2") << QSize(1920, 1080) << 0 << 2;
    QTest::newRow("1920x1080, radius 2 against 3") << QSize(1920, 1080) << 2 << 3;
}

void tst_FrameSelection::sharpness_ranksBlur()
{
    QFETCH(QSize, size);
    QFETCH(int, sharperRadius);
    QFETCH(int, blurrierRadius);

    SharpnessMeter meter;
    const FFmpeg::FramePtr sharper = makeFrame(size.width(), size.height(), texture(sharperRadius));
    const FFmpeg::FramePtr blurrier
        = makeFrame(size.width(), size.height(), texture(blurrierRadius));
    const double sharp = meter.measure(sharper.get());
    const double blurred = meter.measure(blurrier.get());
    QVERIFY2(sharp > blurred, qPrintable(QStringLiteral("%1 against %2").arg(sharp).arg(blurred)));
    QVERIFY(blurred >= 0);
}

void tst_FrameSelection::estimate_isUnknownWhereContentDecides_data()
{
    QTest::addColumn<FrameSelection>("selection");
    QTest::addColumn<int>("estimate");

    FrameSelection distinct = every(1);
    distinct.distinct = true;
    QTest::newRow("count 7 of 300 frames") << count(7) << 7;
    QTest::newRow("count 1000 of 300 frames: the frames") << count(1000) << 300;
    QTest::newRow("count 10 from 5 s to 7 s: its 60 frames") << count(10, 5, 7) << 10;
    QTest::newRow("count 100 from 5 s to 7 s: its 60 frames") << count(100, 5, 7) << 60;
    QTest::newRow("sharpest every 2 s: one a part") << sharpestOf(every(2)) << 6;
    QTest::newRow("distinct: unknown") << distinct << 0;
    QTest::newRow("skip black: unknown") << skippingBlack(count(7)) << 0;
}

void tst_FrameSelection::estimate_isUnknownWhereContentDecides()
{
    QFETCH(FrameSelection, selection);
    QFETCH(int, estimate);

    // Ten seconds of 300 frames.
    QCOMPARE(FrameSelector::estimatedTotal(selection, 300, 10000000, 6, -1, 30.0), estimate);
}

QTEST_GUILESS_MAIN(tst_FrameSelection)
#include "tst_frameselection.moc"

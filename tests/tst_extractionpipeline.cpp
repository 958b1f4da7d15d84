// The pipeline's ordering, failure and cancellation rules, against a frame
// source and sinks made for the purpose; then the real engine, whose images
// must not depend on how many threads write them.

#include "extractionpipeline.h"
#include "framesource.h"
#include "imagesink.h"
#include "videofixture.h"

#include <QCryptographicHash>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <map>
#include <thread>
#include <vector>

namespace {

// Hands out `count` empty frames and counts how many are alive: a frame's
// buffer is freed when the last reference to it goes.
class CountingSource : public FrameSource
{
public:
    explicit CountingSource(int count, int failAfter = -1)
        : count(count)
        , failAfter(failAfter)
    {
    }

    Status next(FFmpeg::FramePtr *frame, const StopCheck &stopRequested) override
    {
        if (stopRequested())
            return Status::End;
        if (produced == failAfter) {
            failed = true;
            return Status::Failed;
        }
        if (produced == count)
            return Status::End;
        FFmpeg::FramePtr made(av_frame_alloc());
        made->buf[0] = av_buffer_create(nullptr, 0, &CountingSource::release, this, 0);
        ++produced;
        maxAlive = qMax(maxAlive.load(), ++alive);
        *frame = std::move(made);
        return Status::Frame;
    }
    Outcome failure() const override { return Outcome::ReadFailed; }

    const int count;
    const int failAfter;
    std::atomic_int produced {0};
    std::atomic_int alive {0};
    std::atomic_int maxAlive {0};
    std::atomic_bool failed {false};

private:
    static void release(void *opaque, uint8_t *) { --static_cast<CountingSource *>(opaque)->alive; }
};

// What every sink of one run shares: the behaviour of each image number,
// and a record of what was written.
struct Script
{
    // Images that fail, with the failure they report.
    std::map<int, Outcome> failures;
    // Images that are written but cannot be put in place.
    std::map<int, Outcome> commitFailures;
    // Image n waits until image waitFor[n] has been written.
    std::map<int, int> waitFor;
    // The image during which the user stops the job.
    int cancelDuring = 0;
    std::atomic_bool *cancelled = nullptr;
    // Every write waits for a permit here when set.
    QSemaphore *gate = nullptr;

    QMutex mutex;
    std::vector<int> writes;
    // The images put in place, in the order the pipeline asked.
    QList<int> commits;
    std::map<int, QSemaphore *> done;
    std::atomic_int startedAfterCancel {0};
    std::atomic_int started {0};

    QSemaphore &doneOf(int number)
    {
        QMutexLocker locker(&mutex);
        QSemaphore *&semaphore = done[number];
        if (!semaphore)
            semaphore = new QSemaphore;
        return *semaphore;
    }
    ~Script()
    {
        for (const auto &entry : done)
            delete entry.second;
    }
};

class ScriptedSink : public ImageSink
{
public:
    explicit ScriptedSink(Script &script)
        : script(script)
    {
    }

    Outcome write(const AVFrame *, int number) override
    {
        ++script.started;
        if (script.cancelled && *script.cancelled)
            ++script.startedAfterCancel;
        if (script.gate)
            script.gate->acquire();
        if (const auto wait = script.waitFor.find(number); wait != script.waitFor.end())
            script.doneOf(wait->second).acquire();
        if (number == script.cancelDuring)
            *script.cancelled = true;
        {
            QMutexLocker locker(&script.mutex);
            script.writes.push_back(number);
        }
        script.doneOf(number).release();
        const auto failure = script.failures.find(number);
        return failure == script.failures.end() ? Outcome::Converted : failure->second;
    }

    Outcome commit(int number) override
    {
        QMutexLocker locker(&script.mutex);
        script.commits << number;
        const auto failure = script.commitFailures.find(number);
        return failure == script.commitFailures.end() ? Outcome::Converted : failure->second;
    }

private:
    Script &script;
};

struct Run
{
    ExtractionPipeline::Result outcome;
    QList<int> progress;
};

Run run(int writers, Script &script, CountingSource &source, std::atomic_bool &cancelled)
{
    script.cancelled = &cancelled;
    ExtractionPipeline pipeline(
        writers, [&script] { return std::make_unique<ScriptedSink>(script); }, cancelled);
    Run result;
    QMutex progressMutex;
    result.outcome = pipeline.run(source, [&](int written) {
        QMutexLocker locker(&progressMutex);
        result.progress << written;
    });
    return result;
}

QList<int> oneTo(int last)
{
    QList<int> numbers;
    for (int i = 1; i <= last; ++i)
        numbers << i;
    return numbers;
}

} // namespace

class tst_ExtractionPipeline : public QObject
{
    Q_OBJECT

private slots:
    void progress_isTheWrittenPrefixWhateverTheFinishingOrder_data();
    void progress_isTheWrittenPrefixWhateverTheFinishingOrder();
    void failure_namesTheLowestFailedImage_data();
    void failure_namesTheLowestFailedImage();
    void commitFailure_endsTheImagesInPlaceBeforeIt_data();
    void commitFailure_endsTheImagesInPlaceBeforeIt();
    void sourceFailure_comesAfterTheImagesBeforeIt();
    void cancel_finishesOnlyTheImagesInFlight();
    void stop_leavesTheReportedPrefixAndKeepsTheFailure_data();
    void stop_leavesTheReportedPrefixAndKeepsTheFailure();
    void framesInFlight_stayWithinTwoPerWriter_data();
    void framesInFlight_stayWithinTwoPerWriter();
    void writerCount_doesNotChangeTheImages_data();
    void writerCount_doesNotChangeTheImages();
};

void tst_ExtractionPipeline::progress_isTheWrittenPrefixWhateverTheFinishingOrder_data()
{
    QTest::addColumn<int>("writers");
    QTest::addColumn<bool>("reversePairs");
    QTest::newRow("one writer, in order") << 1 << false;
    QTest::newRow("two writers, each odd image after the next even one") << 2 << true;
    QTest::newRow("four writers, each odd image after the next even one") << 4 << true;
}

void tst_ExtractionPipeline::progress_isTheWrittenPrefixWhateverTheFinishingOrder()
{
    QFETCH(int, writers);
    QFETCH(bool, reversePairs);
    const int images = 40;

    Script script;
    if (reversePairs) {
        for (int odd = 1; odd < images; odd += 2)
            script.waitFor[odd] = odd + 1;
    }
    CountingSource source(images);
    std::atomic_bool cancelled {false};
    const Run result = run(writers, script, source, cancelled);

    QCOMPARE(int(result.outcome.kind), int(ExtractionPipeline::Result::Kind::Finished));
    QCOMPARE(result.outcome.written, images);
    QCOMPARE(result.progress, oneTo(images));
    QCOMPARE(int(script.writes.size()), images);
    if (reversePairs)
        QCOMPARE(script.writes.front(), 2);
    // Put in place in number order, whichever finished first: what a kill
    // leaves in place is 1..k.
    QCOMPARE(script.commits, oneTo(images));
    QCOMPARE(source.alive.load(), 0);
}

void tst_ExtractionPipeline::failure_namesTheLowestFailedImage_data()
{
    QTest::addColumn<int>("writers");
    QTest::newRow("one writer") << 1;
    QTest::newRow("two writers") << 2;
    QTest::newRow("four writers") << 4;
}

void tst_ExtractionPipeline::failure_namesTheLowestFailedImage()
{
    QFETCH(int, writers);
    // Image 6 fails first; image 4, waiting for it, fails after it.
    for (int round = 0; round < 10; ++round) {
        Script script;
        script.failures = {{4, Outcome::CannotConvert}, {6, Outcome::CannotWrite}};
        if (writers > 2)
            script.waitFor[4] = 6;
        CountingSource source(1000);
        std::atomic_bool cancelled {false};
        const Run result = run(writers, script, source, cancelled);

        QCOMPARE(int(result.outcome.kind), int(ExtractionPipeline::Result::Kind::Failed));
        QCOMPARE(result.outcome.imageNumber, 4);
        QCOMPARE(int(result.outcome.failure), int(Outcome::CannotConvert));
        QCOMPARE(result.progress, oneTo(3));
        // What other writers finished past the failure is handed back.
        std::vector<int> pastFailure;
        for (const int number : script.writes) {
            if (number > 4 && !script.failures.count(number))
                pastFailure.push_back(number);
        }
        std::sort(pastFailure.begin(), pastFailure.end());
        QCOMPARE(result.outcome.writtenPastFailure, pastFailure);
        // Decoding stopped: past the failure, only frames that were already
        // in flight went unwritten.
        const int unwritten = source.produced - int(script.writes.size());
        QVERIFY2(unwritten <= ExtractionPipeline::framesInFlightLimit(writers),
            qPrintable(QString::number(unwritten)));
        QCOMPARE(source.alive.load(), 0);
    }
}

void tst_ExtractionPipeline::commitFailure_endsTheImagesInPlaceBeforeIt_data()
{
    QTest::addColumn<int>("writers");
    QTest::addColumn<bool>("reversePairs");
    QTest::newRow("one writer") << 1 << false;
    QTest::newRow("two writers, each odd image after the next even one") << 2 << true;
    QTest::newRow("four writers, each odd image after the next even one") << 4 << true;
}

void tst_ExtractionPipeline::commitFailure_endsTheImagesInPlaceBeforeIt()
{
    QFETCH(int, writers);
    QFETCH(bool, reversePairs);

    Script script;
    script.commitFailures[5] = Outcome::DiskFull;
    // Only before the failure: an image past it may be dropped unwritten,
    // and one waiting for it would wait for ever.
    if (reversePairs)
        script.waitFor = {{1, 2}, {3, 4}};
    CountingSource source(1000);
    std::atomic_bool cancelled {false};
    const Run result = run(writers, script, source, cancelled);

    QCOMPARE(int(result.outcome.kind), int(ExtractionPipeline::Result::Kind::Failed));
    QCOMPARE(result.outcome.imageNumber, 5);
    QCOMPARE(int(result.outcome.failure), int(Outcome::DiskFull));
    QCOMPARE(result.outcome.written, 4);
    QCOMPARE(result.progress, oneTo(4));
    // Nothing past the failed one is put in place; what was written past it
    // is handed back to be thrown away.
    QCOMPARE(script.commits, oneTo(5));
    std::vector<int> pastFailure;
    for (const int number : script.writes) {
        if (number > 5)
            pastFailure.push_back(number);
    }
    std::sort(pastFailure.begin(), pastFailure.end());
    QCOMPARE(result.outcome.writtenPastFailure, pastFailure);
    QCOMPARE(source.alive.load(), 0);
}

void tst_ExtractionPipeline::sourceFailure_comesAfterTheImagesBeforeIt()
{
    Script script;
    CountingSource source(100, 7);
    std::atomic_bool cancelled {false};
    const Run result = run(3, script, source, cancelled);

    QCOMPARE(int(result.outcome.kind), int(ExtractionPipeline::Result::Kind::Failed));
    QCOMPARE(int(result.outcome.failure), int(Outcome::ReadFailed));
    QCOMPARE(result.outcome.imageNumber, 0);
    QCOMPARE(result.progress, oneTo(7));
}

void tst_ExtractionPipeline::cancel_finishesOnlyTheImagesInFlight()
{
    const int writers = 3;
    Script script;
    script.cancelDuring = 5;
    CountingSource source(1000);
    std::atomic_bool cancelled {false};
    const Run result = run(writers, script, source, cancelled);

    QCOMPARE(int(result.outcome.kind), int(ExtractionPipeline::Result::Kind::Cancelled));
    QVERIFY(script.startedAfterCancel <= writers - 1);
    QVERIFY(int(script.writes.size()) <= 5 + ExtractionPipeline::framesInFlightLimit(writers));
    QCOMPARE(result.progress, oneTo(result.outcome.written));
    QCOMPARE(source.alive.load(), 0);
}

void tst_ExtractionPipeline::stop_leavesTheReportedPrefixAndKeepsTheFailure_data()
{
    QTest::addColumn<int>("failAfter");
    QTest::addColumn<bool>("failedImage");
    QTest::addColumn<QList<int>>("written");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<int>("failure");

    using Kind = ExtractionPipeline::Result::Kind;
    // Writer A holds image 1 until writer B, which took image 2 after it,
    // has written 2 and the user has stopped: both were taken before the
    // stop, so both are written and reported, and nothing after them.
    QTest::newRow("stop between two images in hand")
        << -1 << false << QList<int> {1, 2} << int(Kind::Cancelled) << int(Outcome::Converted);
    QTest::newRow("source failed, then stop")
        << 3 << false << QList<int> {1, 2} << int(Kind::Cancelled) << int(Outcome::ReadFailed);
    QTest::newRow("image failed, then stop")
        << -1 << true << QList<int> {1} << int(Kind::Failed) << int(Outcome::CannotWrite);
}

void tst_ExtractionPipeline::stop_leavesTheReportedPrefixAndKeepsTheFailure()
{
    QFETCH(int, failAfter);
    QFETCH(bool, failedImage);
    QFETCH(QList<int>, written);
    QFETCH(int, outcome);
    QFETCH(int, failure);

    Script script;
    QSemaphore gate;
    std::atomic_bool cancelled {false};
    CountingSource source(1000, failAfter);
    Run result;
    if (failAfter < 0) {
        script.waitFor[1] = 2;
        script.cancelDuring = 2;
        if (failedImage)
            script.failures[2] = Outcome::CannotWrite;
        result = run(2, script, source, cancelled);
    } else {
        // Images 1 and 2 are held while the source fails behind them; the
        // stop comes before the job ends, and image 3, still queued, is not
        // written.
        script.gate = &gate;
        std::thread job([&] { result = run(2, script, source, cancelled); });
        QTRY_VERIFY(source.failed.load());
        QTRY_COMPARE(script.started.load(), 2);
        cancelled = true;
        gate.release(failAfter);
        job.join();
    }

    QCOMPARE(int(result.outcome.kind), outcome);
    QCOMPARE(int(result.outcome.failure), failure);
    std::vector<int> writes = script.writes;
    std::sort(writes.begin(), writes.end());
    QList<int> succeeded;
    for (const int number : writes) {
        if (!script.failures.count(number))
            succeeded << number;
    }
    QCOMPARE(succeeded, written);
    QCOMPARE(result.progress, written);
    QCOMPARE(source.alive.load(), 0);
}

void tst_ExtractionPipeline::framesInFlight_stayWithinTwoPerWriter_data()
{
    QTest::addColumn<int>("writers");
    QTest::newRow("one writer") << 1;
    QTest::newRow("three writers") << 3;
}

void tst_ExtractionPipeline::framesInFlight_stayWithinTwoPerWriter()
{
    QFETCH(int, writers);
    const int images = 30;
    const int limit = 2 * writers;

    QSemaphore gate;
    Script script;
    script.gate = &gate;
    CountingSource source(images);
    std::atomic_bool cancelled {false};
    Run result;
    std::thread job([&] { result = run(writers, script, source, cancelled); });

    // With every writer held, the source runs ahead exactly as far as allowed.
    QTRY_COMPARE(source.produced.load(), limit);
    for (int released = 1; released <= images; ++released) {
        gate.release();
        QTRY_COMPARE(source.produced.load(), qMin(images, limit + released));
    }
    job.join();

    QCOMPARE(source.maxAlive.load(), limit);
    QCOMPARE(result.progress, oneTo(images));
}

void tst_ExtractionPipeline::writerCount_doesNotChangeTheImages_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("bitDepth");
    QTest::newRow("PNG 24-bit") << "PNG" << 2;
    QTest::newRow("PNG 16-bit") << "PNG" << 1;
    QTest::newRow("JPG 8-bit gray") << "JPG" << 0;
    QTest::newRow("WebP 32-bit") << "WebP" << 3;
}

void tst_ExtractionPipeline::writerCount_doesNotChangeTheImages()
{
    QFETCH(QString, format);
    QFETCH(int, bitDepth);
    VideoFixture::silenceFfmpeg();
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString clip = dir.filePath("clip.mp4");
    MAKE_CLIP({"-f", "lavfi", "-i", "testsrc2=s=96x64:r=25", "-frames:v", "60", "-c:v", "libx264",
        "-pix_fmt", "yuv420p", clip});

    QMap<QString, QByteArray> firstDigests;
    for (const int writers : {1, 4}) {
        const QString out = dir.filePath(QStringLiteral("w%1").arg(writers));
        VideoProcessor processor;
        processor.setWriterCount(writers);
        VideoFixture::Recorder recorder(processor);
        processor.processVideo(clip, out, 25, 90, format, bitDepth, QStringLiteral("frame_%1"));
        WAIT_FOR_END(recorder, 120000);
        QCOMPARE(recorder.events.last(), QStringLiteral("finished"));
        QCOMPARE(recorder.progressCount(), 61);

        QMap<QString, QByteArray> digests;
        for (const QString &name : VideoFixture::imageFiles(out)) {
            QFile file(QDir(out).filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            digests[name] = QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
        }
        QCOMPARE(digests.size(), 60);
        if (writers == 1)
            firstDigests = digests;
        else
            QVERIFY(digests == firstDigests);
    }
}

QTEST_GUILESS_MAIN(tst_ExtractionPipeline)
#include "tst_extractionpipeline.moc"

#include "extractionpipeline.h"

#include "framesource.h"
#include "imagesink.h"

#include <QThreadPool>

ExtractionPipeline::ExtractionPipeline(
    int writers, SinkFactory makeSink, const std::atomic_bool &cancelled)
    : writers(qMax(1, writers))
    , makeSink(std::move(makeSink))
    , cancelled(cancelled)
{
}

ExtractionPipeline::Result ExtractionPipeline::run(
    FrameSource &source, const ProgressCallback &progressCallback)
{
    progress = &progressCallback;

    // A pool of the job's own: nothing else queues work on it, and it is
    // gone, its threads joined, when the job is.
    QThreadPool pool;
    pool.setMaxThreadCount(writers);
    for (int i = 0; i < writers; ++i)
        pool.start([this] { writerLoop(); });

    const FrameSource::StopCheck stop = [this] {
        return stopRequested();
    };
    Outcome sourceFailure = Outcome::Converted;
    int number = 0;
    for (;;) {
        // The slot is taken before decoding, so the frame in hand counts too.
        acquireSlot();
        FFmpeg::FramePtr frame;
        const FrameSource::Status status
            = stopRequested() ? FrameSource::Status::End : source.next(&frame, stop);
        if (status != FrameSource::Status::Frame) {
            releaseSlot();
            if (status == FrameSource::Status::Failed)
                sourceFailure = source.failure();
            break;
        }
        std::lock_guard locker(mutex);
        queue.push_back({++number, std::move(frame)});
        itemQueued.notify_one();
    }

    {
        std::lock_guard locker(mutex);
        closed = true;
        itemQueued.notify_all();
    }
    pool.waitForDone();
    std::lock_guard locker(mutex);

    // One place decides: an image that failed, then a stop by the user,
    // then a failure of the source.
    Result outcome;
    outcome.written = written;
    if (failedNumber != 0) {
        outcome.kind = Result::Kind::Failed;
        outcome.failure = imageFailure;
        outcome.imageNumber = failedNumber;
        outcome.writtenPastFailure.assign(finishedOutOfOrder.begin(), finishedOutOfOrder.end());
    } else if (cancelled) {
        outcome.kind = Result::Kind::Cancelled;
        outcome.failure = sourceFailure;
    } else if (sourceFailure != Outcome::Converted) {
        outcome.kind = Result::Kind::Failed;
        outcome.failure = sourceFailure;
    }
    return outcome;
}

void ExtractionPipeline::writerLoop()
{
    const std::unique_ptr<ImageSink> sink = makeSink();
    Item item;
    bool write = false;
    while (takeItem(&item, &write)) {
        if (write) {
            const Outcome failure = sink->write(item.frame.get(), item.number);
            // The reference goes back to the decoder's pool before the slot
            // is freed.
            item.frame.reset();
            finishItem(*sink, item.number, failure);
        }
        item.frame.reset();
        releaseSlot();
    }
}

void ExtractionPipeline::acquireSlot()
{
    std::unique_lock locker(mutex);
    slotFreed.wait(locker, [this] { return framesInFlight < framesInFlightLimit(writers); });
    ++framesInFlight;
}

void ExtractionPipeline::releaseSlot()
{
    std::lock_guard locker(mutex);
    --framesInFlight;
    slotFreed.notify_one();
}

// Whether an image is written is decided as it leaves the queue, under the
// queue's lock: images leave in order, so after a stop by the user the
// written ones are 1..k and every one of them is reported. After a failed
// image, only the ones behind it are dropped.
bool ExtractionPipeline::takeItem(Item *item, bool *write)
{
    std::unique_lock locker(mutex);
    itemQueued.wait(locker, [this] { return !queue.empty() || closed; });
    if (queue.empty())
        return false;
    *item = std::move(queue.front());
    queue.pop_front();
    *write = !cancelled && (failedNumber == 0 || item->number < failedNumber);
    return true;
}

void ExtractionPipeline::finishItem(ImageSink &sink, int number, Outcome failure)
{
    std::lock_guard locker(mutex);
    if (failure != Outcome::Converted) {
        recordFailure(number, failure);
        return;
    }
    finishedOutOfOrder.insert(number);
    // Put in place and reported under the lock, in order, so that whatever
    // ends the process the images in place are 1..k.
    while (!finishedOutOfOrder.empty() && *finishedOutOfOrder.begin() == written + 1) {
        finishedOutOfOrder.erase(finishedOutOfOrder.begin());
        if (const Outcome placed = sink.commit(written + 1); placed != Outcome::Converted) {
            recordFailure(written + 1, placed);
            return;
        }
        ++written;
        (*progress)(written);
    }
}

void ExtractionPipeline::recordFailure(int number, Outcome failure)
{
    if (failedNumber == 0 || number < failedNumber) {
        failedNumber = number;
        imageFailure = failure;
    }
    failedAny = true;
}

int ExtractionPipeline::automaticWriterCount(
    int cores, int64_t sourceFrameBytes, int64_t imageBytes, int64_t memoryBudget)
{
    const int64_t perWriter
        = 2 * (qMax<int64_t>(0, sourceFrameBytes) + qMax<int64_t>(0, imageBytes));
    const int64_t affordable = perWriter > 0 ? memoryBudget / perWriter : cores;
    return int(qBound(int64_t(1), affordable, int64_t(qMax(1, cores))));
}

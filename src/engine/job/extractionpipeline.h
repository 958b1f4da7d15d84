#ifndef EXTRACTIONPIPELINE_H
#define EXTRACTIONPIPELINE_H

#include "ffmpegholders.h"
#include "outcome.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <vector>

class FrameSource;
class ImageSink;

// Joins a frame source on the calling thread to a pool of writer threads of
// the pipeline's own, each with a sink of its own. At most two frames per
// writer are in flight; the source waits while the writers are behind.
class ExtractionPipeline
{
public:
    using SinkFactory = std::function<std::unique_ptr<ImageSink>()>;
    // Called once for every k, in order, when images 1..k are all written
    // and put in place.
    using ProgressCallback = std::function<void(int written)>;

    struct Result
    {
        enum class Kind { Finished, Cancelled, Failed };
        Kind kind = Kind::Finished;
        ::Outcome failure = ::Outcome::Converted;
        // The image that failed; 0 when the source did.
        int imageNumber = 0;
        int written = 0;
        // Images after the failed one that other writers had in hand and
        // finished: not put in place, not part of the result.
        std::vector<int> writtenPastFailure;
    };

    ExtractionPipeline(int writers, SinkFactory makeSink, const std::atomic_bool &cancelled);
    ExtractionPipeline(const ExtractionPipeline &) = delete;
    ExtractionPipeline &operator=(const ExtractionPipeline &) = delete;

    static int framesInFlightLimit(int writers) { return 2 * writers; }

    // How many image writers a job runs when left to choose: one per core, but
    // no more than keep the frames and images in flight (two source frames and
    // two images of the output layout per writer) within memoryBudget bytes.
    // At least 1.
    static int automaticWriterCount(
        int cores, int64_t sourceFrameBytes, int64_t imageBytes, int64_t memoryBudget);

    // Runs the whole job and returns once every writer has stopped, so that
    // nothing is written afterwards. A failed image stops the source and
    // the images after it; the images before it are still written, so the
    // outcome names the lowest-numbered failure whatever the timing.
    Result run(FrameSource &source, const ProgressCallback &progress);

private:
    struct Item
    {
        int number = 0;
        FFmpeg::FramePtr frame;
    };

    void writerLoop();
    bool takeItem(Item *item, bool *write);
    void finishItem(ImageSink &sink, int number, ::Outcome failure);
    void recordFailure(int number, ::Outcome failure);
    void acquireSlot();
    void releaseSlot();
    bool stopRequested() const { return cancelled || failedAny; }

    const int writers;
    const SinkFactory makeSink;
    const std::atomic_bool &cancelled;
    const ProgressCallback *progress = nullptr;

    // Standard locks rather than Qt's: ThreadSanitizer sees through them
    // without an instrumented Qt.
    std::mutex mutex;
    std::condition_variable itemQueued;
    std::condition_variable slotFreed;
    int framesInFlight = 0;
    std::deque<Item> queue;
    bool closed = false;
    std::set<int> finishedOutOfOrder;
    int written = 0;
    int failedNumber = 0;
    ::Outcome imageFailure = ::Outcome::Converted;
    std::atomic_bool failedAny {false};
};

#endif // EXTRACTIONPIPELINE_H

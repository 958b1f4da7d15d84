#include "videoprocessor.h"

#include "capturemetadata.h"
#include "contactsheet.h"
#include "extractionpipeline.h"
#include "frameselector.h"
#include "framesource.h"
#include "imageextras.h"
#include "imageindex.h"
#include "imagenaming.h"
#include "imagesink.h"
#include "mediainput.h"
#include "orientation.h"
#include "outputfolder.h"
#include "pixellayout.h"
#include "samplingrules.h"
#include "streamlength.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <atomic>
#include <cmath>
#include <mutex>
#include <optional>

extern "C" {
#include <libavcodec/codec_desc.h>
#include <libavutil/imgutils.h>
}

using Picture::BitDepth;

// The parts of ImageExtras a job owns.
struct VideoProcessor::Extras
{
    std::optional<ImageIndex> index;
    std::optional<ContactSheet> sheet;
    ImageExtras shared;
};

struct VideoProcessor::Job
{
    quint64 id = 0;
    ExtractionJob options;
    // 0: chosen by the job.
    int writers = 0;
    ImageSettings image;
    // Each job has its own flag, so a new job never revives a stopped one.
    std::atomic_bool cancelled {false};

    // Written by the worker, read by the owner's thread.
    mutable std::mutex resultMutex;
    ExtractionResult result;

    void recordWritten(int count, const ImageNames &names)
    {
        const QString last = names.path(count);
        std::lock_guard locker(resultMutex);
        result.images = count;
        result.lastFile = last;
        if (count == 1)
            result.firstFile = last;
    }

    void recordIndex(const QString &path)
    {
        std::lock_guard locker(resultMutex);
        result.indexFile = path;
    }

    void recordEnd(Outcome outcome, const QString &error, bool stopped)
    {
        std::lock_guard locker(resultMutex);
        result.ended = true;
        result.outcome = outcome;
        result.error = error;
        result.cancelled = stopped;
    }
};

namespace {

// What the frames and images in flight may take together, beyond the
// decoder's own buffers.
constexpr qint64 writerMemoryBudget = 768ll * 1024 * 1024;

int writersFor(const MediaInput &input, const ImageSettings &image)
{
    const AVCodecParameters *video = input.stream()->codecpar;
    const auto bytes = [](int format, QSize size) {
        return qMax(
            0, av_image_get_buffer_size(AVPixelFormat(format), size.width(), size.height(), 1));
    };
    const QSize stored(video->width, video->height);
    // The images are as large as the job asks, which may be larger than the frames.
    const QSize converted
        = Picture::convertedSize(video->width, video->height, video->sample_aspect_ratio,
            Picture::turnsSideways(image.orientation), image.width, image.height);
    return ExtractionPipeline::automaticWriterCount(QThread::idealThreadCount(),
        bytes(video->format, stored),
        bytes(Picture::pixelFormatForDepth(image.bitDepth), converted), writerMemoryBudget);
}

// The keyframes the index lists in the selection's range; -1 without an index.
int64_t keyframesInRange(const MediaInput &input, const FrameSelection &selection)
{
    AVStream *stream = input.stream();
    const int entries = avformat_index_get_entries_count(stream);
    if (entries <= 0)
        return -1;
    const int64_t start = stream->start_time == AV_NOPTS_VALUE ? 0 : stream->start_time;
    const auto timestamp = [&](double seconds) {
        return start
            + av_rescale_q(
                Sampling::microseconds(seconds), AVRational {1, 1000000}, stream->time_base);
    };
    const int64_t from = timestamp(selection.startSeconds);
    const int64_t to = selection.hasEnd() ? timestamp(selection.endSeconds) : INT64_MAX;
    int64_t count = 0;
    for (int i = 0; i < entries; ++i) {
        const AVIndexEntry *entry = avformat_index_get_entry(stream, i);
        if (entry && (entry->flags & AVINDEX_KEYFRAME) && entry->timestamp >= from
            && entry->timestamp < to) {
            ++count;
        }
    }
    return count;
}

// What the contact sheet's header says of the video: the images' shape.
ContactSheet::Video sheetVideo(const MediaInput &input, const QString &path, const QTransform &turn)
{
    const AVCodecParameters *video = input.stream()->codecpar;
    ContactSheet::Video facts;
    facts.name = QFileInfo(path).fileName();
    const int64_t duration = input.format()->duration;
    facts.durationMs = duration == AV_NOPTS_VALUE ? -1 : duration / 1000;
    const int width = Picture::squarePixelWidth(
        video->width, av_guess_sample_aspect_ratio(input.format(), input.stream(), nullptr));
    const QSize shown = turn.mapRect(QRect(0, 0, width, video->height)).size();
    facts.size = shown;
    if (const AVCodecDescriptor *codec = avcodec_descriptor_get(video->codec_id))
        facts.codec = QString::fromLatin1(codec->name);
    return facts;
}

} // namespace

VideoProcessor::VideoProcessor(QObject *parent)
    : QObject(parent)
{
}

VideoProcessor::~VideoProcessor()
{
    stopWorker();
    // Finished, so it can go now; its pending deleteLater goes with it.
    delete worker.data();
}

void VideoProcessor::processVideo(const QString &videoPath, const QString &outputPath,
    int frameRate, int quality, const QString &format, int bitDepth, const QString &namingPattern)
{
    ExtractionJob options;
    options.videoPath = videoPath;
    options.outputPath = outputPath;
    options.selection.frameRate = frameRate;
    options.quality = quality;
    options.format = format;
    options.bitDepth = Picture::bitDepthFromIndex(bitDepth);
    options.namingPattern = namingPattern;
    processVideo(options);
}

void VideoProcessor::processVideo(const ExtractionJob &options)
{
    stopWorker();

    auto job = std::make_shared<Job>();
    job->id = ++lastJobId;
    job->options = options;
    job->writers = options.writers > 0 ? options.writers : writers;
    job->image.outputPath = options.outputPath;
    job->image.namingPattern = options.namingPattern;
    job->image.format = options.format;
    job->image.quality = options.quality;
    job->image.bitDepth = options.bitDepth;
    job->image.timeInNames = options.timeInNames;
    job->image.width = options.width.value_or(0);
    job->image.height = options.height.value_or(0);
    job->image.deinterlace = options.deinterlace;
    currentJob = job;

    QThread *thread = QThread::create([this, job] { runJob(*job); });
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    worker = thread;
    thread->start();
}

void VideoProcessor::setWriterCount(int count)
{
    writers = qMax(0, count);
}

void VideoProcessor::cancel()
{
    if (currentJob)
        currentJob->cancelled = true;
}

ExtractionResult VideoProcessor::result() const
{
    if (!currentJob)
        return ExtractionResult();
    std::lock_guard locker(currentJob->resultMutex);
    return currentJob->result;
}

void VideoProcessor::stop()
{
    stopWorker();
    // No job has this id: whatever the stopped one still has queued is dropped.
    ++lastJobId;
}

void VideoProcessor::stopWorker()
{
    cancel();
    if (worker)
        worker->wait();
}

void VideoProcessor::reportProgress(quint64 jobId, int frame, int totalFrames)
{
    QMetaObject::invokeMethod(
        this,
        [this, jobId, frame, totalFrames] {
            if (jobId == lastJobId)
                emit progressChanged(frame, totalFrames);
        },
        Qt::QueuedConnection);
}

void VideoProcessor::reportFinished(quint64 jobId)
{
    QMetaObject::invokeMethod(
        this,
        [this, jobId] {
            if (jobId == lastJobId)
                emit finished();
        },
        Qt::QueuedConnection);
}

void VideoProcessor::reportError(quint64 jobId, const QString &message)
{
    QMetaObject::invokeMethod(
        this,
        [this, jobId, message] {
            if (jobId == lastJobId)
                emit error(message);
        },
        Qt::QueuedConnection);
}

// A job ends with finished(), or with its failure's message, or with the
// stop's message, or with both when it failed and was stopped.
void VideoProcessor::runJob(Job &job)
{
    OutputFolder folder;
    const Ending ending = extract(job, folder);
    const bool failed = ending.outcome != Outcome::Converted;
    const bool stopped = job.cancelled;
    // Nothing of a failed or stopped job may be left behind, not even the
    // folder made for it.
    if (failed || stopped)
        folder.removeIfEmpty();
    const QString failure = outcomeMessage(ending.outcome, ending.detail);
    const QString stopMessage = stopped ? outcomeMessage(Outcome::Stopped) : QString();
    // Before the signals, so that the result is complete when they arrive.
    job.recordEnd(failed ? ending.outcome
            : stopped    ? Outcome::Stopped
                         : Outcome::Converted,
        failed ? failure : stopMessage, stopped);
    if (failed)
        reportError(job.id, failure);
    if (stopped)
        reportError(job.id, stopMessage);
    else if (!failed)
        reportFinished(job.id);
}

VideoProcessor::Ending VideoProcessor::extract(Job &job, OutputFolder &folder)
{
    FFmpeg::NetworkScope network;
    const auto message = [](Outcome outcome, const QString &detail = QString()) {
        return Ending {outcome, detail};
    };

    if (const std::optional<OptionProblem> problem = job.options.validate())
        return message(Outcome::BadOption, problem->message());

    MediaInput input;
    if (const Outcome failure = input.open(job.options.videoPath, job.image.bitDepth);
        failure != Outcome::Converted) {
        return message(failure);
    }

    const AVStream *stream = input.stream();
    const FrameSelection &selection = job.options.selection;
    int64_t durationUs = input.format()->duration;
    if (selection.mode == FrameSelection::Mode::Count && !selection.hasEnd()
        && durationUs == AV_NOPTS_VALUE) {
        // The parts need the range's length: read the stream once to its
        // end where it can be read again, as a file can.
        MediaInput scan;
        if (QFileInfo(job.options.videoPath).isFile()
            && scan.open(job.options.videoPath, job.image.bitDepth) == Outcome::Converted) {
            durationUs = StreamLength::measureUs(scan);
        }
        if (durationUs == AV_NOPTS_VALUE)
            return message(Outcome::BadOption, tr("视频长度未知，按数量取帧时请给出结束时间"));
    }
    if (durationUs != AV_NOPTS_VALUE && selection.startSeconds * 1e6 >= durationUs)
        return message(Outcome::StartPastEnd);

    if (!QFileInfo(job.image.outputPath).isDir() && !folder.create(job.image.outputPath))
        return message(Outcome::CannotMakeFolder);

    FrameSelector::Pace pace;
    pace.interval = Sampling::samplingInterval(
        stream->avg_frame_rate, stream->r_frame_rate, selection.frameRate);
    pace.frameRate = Sampling::usableFrameRate(stream->avg_frame_rate, stream->r_frame_rate);
    pace.durationUs = durationUs;
    FrameSelector selector(selection, pace);
    DecodingFrameSource source(input, selector);
    if (!source.isValid())
        return message(Outcome::OutOfMemory);

    const int totalFrames = FrameSelector::estimatedTotal(selection, stream->nb_frames, durationUs,
        pace.interval, keyframesInRange(input, selection), pace.frameRate);
    reportProgress(job.id, 0, totalFrames);

    job.image.orientation = Picture::displayTransform(input.displayMatrix());
    job.image.fieldOrder = stream->codecpar->field_order;
    const ImageSettings &settings = job.image;
    ImageNames names(settings);
    Extras extras;
    if (job.options.captureMetadata)
        extras.shared.capture = CaptureMetadata::fromContainer(input.format(), input.stream());
    if (job.options.index != IndexFormat::None)
        extras.shared.index = &extras.index.emplace(settings.outputPath, job.options.index);
    if (job.options.contactSheet) {
        extras.shared.sheet
            = &extras.sheet.emplace(sheetVideo(input, job.options.videoPath, settings.orientation));
    }
    const ImageExtras *shared = &extras.shared;
    const int writerThreads = job.writers > 0 ? job.writers : writersFor(input, settings);
    ExtractionPipeline pipeline(
        writerThreads,
        [&settings, &names, shared] {
            return std::make_unique<ImageFileSink>(settings, names, shared);
        },
        job.cancelled);
    const ExtractionPipeline::Result outcome = pipeline.run(source, [&](int written) {
        job.recordWritten(written, names);
        // An estimate that fell short follows the count; an unknown one stays so.
        reportProgress(job.id, written, totalFrames > 0 ? qMax(written, totalFrames) : 0);
    });
    Ending ending;
    switch (outcome.kind) {
    case ExtractionPipeline::Result::Kind::Finished: {
        if (outcome.written > 0)
            break;
        // A start within a known length is not past the end, even where no
        // frame at or after it was decoded (keyframes alone).
        const bool startInside = selector.reachedStart()
            || (durationUs != AV_NOPTS_VALUE && selection.startSeconds * 1e6 < durationUs);
        if (selection.startSeconds > 0 && !startInside)
            return message(Outcome::StartPastEnd);
        if (selection.mode == FrameSelection::Mode::Keyframes && !selection.isWholeVideo())
            return message(Outcome::NoKeyframeInRange);
        return message(Outcome::NoFrames);
    }
    case ExtractionPipeline::Result::Kind::Cancelled:
        // The source may have failed before the stop.
        ending = message(outcome.failure);
        break;
    case ExtractionPipeline::Result::Kind::Failed:
        // The job's images are the ones before the failure, as if they had
        // been written one after the other.
        for (const int number : outcome.writtenPastFailure)
            QFile::remove(names.path(number));
        ending = message(outcome.failure, names.path(outcome.imageNumber));
        break;
    }
    return finishExtras(job, extras, outcome.written, ending);
}

VideoProcessor::Ending VideoProcessor::finishExtras(
    Job &job, Extras &extras, int kept, Ending ending)
{
    // Nothing kept, nothing to list: a job that leaves no image leaves
    // nothing else either.
    if (kept <= 0)
        return ending;
    QString unwritten;
    if (extras.index) {
        if (extras.index->finish(kept))
            job.recordIndex(extras.index->path());
        else
            unwritten = extras.index->path();
    }
    if (extras.sheet) {
        const QString path = QDir(job.image.outputPath).filePath(ContactSheet::fileName());
        if (!extras.sheet->write(path, kept) && unwritten.isEmpty())
            unwritten = path;
    }
    if (ending.outcome == Outcome::Converted && !unwritten.isEmpty())
        return Ending {Outcome::CannotWrite, unwritten};
    return ending;
}

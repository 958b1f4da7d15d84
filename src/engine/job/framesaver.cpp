#include "framesaver.h"

#include "frameselector.h"
#include "framesource.h"
#include "imagenaming.h"
#include "imagesink.h"
#include "mediainput.h"
#include "orientation.h"
#include "outputfolder.h"
#include "videoprocessor.h"

#include <QFileInfo>

#include <climits>
#include <memory>

namespace {

constexpr AVRational microsecond {1, 1000000};
constexpr AVRational millisecond {1, 1000};

// Where decoding starts for a frame shown at positionUs: the time of the
// index's keyframe at or before it; 0 without an index.
int64_t keyframeTimeBefore(const MediaInput &input, int64_t positionUs)
{
    AVStream *stream = input.stream();
    if (avformat_index_get_entries_count(stream) <= 0)
        return 0;
    const int64_t start = stream->start_time == AV_NOPTS_VALUE ? 0 : stream->start_time;
    const int found = av_index_search_timestamp(stream,
        start + av_rescale_q(positionUs, microsecond, stream->time_base), AVSEEK_FLAG_BACKWARD);
    const AVIndexEntry *entry = found >= 0 ? avformat_index_get_entry(stream, found) : nullptr;
    if (!entry)
        return 0;
    return qMax<int64_t>(0, av_rescale_q(entry->timestamp - start, stream->time_base, microsecond));
}

// The last frame in [fromUs, endUs), decoded by the jobs' own source, which
// seeks to the keyframe before fromUs and checks where it landed. *last
// stays empty when the range has no frame.
Outcome lastFrameIn(MediaInput &input, int64_t fromUs, int64_t endUs, FFmpeg::FramePtr *last)
{
    FrameSelection range;
    range.startSeconds = fromUs / 1e6;
    range.endSeconds = endUs / 1e6;
    // Every frame of the range: one in every 1.
    FrameSelector selector(range, FrameSelector::Pace());
    DecodingFrameSource source(input, selector);
    if (!source.isValid())
        return Outcome::OutOfMemory;
    const FrameSource::StopCheck never = [] {
        return false;
    };
    for (;;) {
        FFmpeg::FramePtr frame;
        switch (source.next(&frame, never)) {
        case FrameSource::Status::Frame:
            *last = std::move(frame);
            break;
        case FrameSource::Status::End:
            return Outcome::Converted;
        case FrameSource::Status::Failed:
            return source.failure();
        }
    }
}

} // namespace

SavedFrame saveFrame(const ExtractionJob &job, qint64 positionMs)
{
    FFmpeg::NetworkScope network;
    SavedFrame saved;
    const auto failed = [&](Outcome failure, const QString &detail = QString()) {
        saved.outcome = failure;
        saved.error = outcomeMessage(failure, detail);
        return saved;
    };

    if (const std::optional<OptionProblem> problem = job.validate())
        return failed(Outcome::BadOption, problem->message());
    if (positionMs < 0 || positionMs >= LLONG_MAX / 1000 - 1)
        return failed(Outcome::NothingAtPosition);
    const int64_t positionUs = positionMs * 1000;
    // A frame at 33.333 ms is the one shown at 33 ms.
    const int64_t endUs = positionUs + 1000;

    auto input = std::make_unique<MediaInput>();
    if (const Outcome failure = input->open(job.videoPath, job.bitDepth);
        failure != Outcome::Converted) {
        return failed(failure);
    }
    const int64_t durationUs = input->format()->duration;
    if (durationUs != AV_NOPTS_VALUE && durationUs > 0 && positionUs > durationUs)
        return failed(Outcome::NothingAtPosition);

    FFmpeg::FramePtr frame;
    const int64_t fromUs = keyframeTimeBefore(*input, positionUs);
    Outcome failure = lastFrameIn(*input, fromUs, endUs, &frame);
    if (failure == Outcome::Converted && !frame && fromUs > 0) {
        // The index holds decoding times, and a frame shown before its
        // keyframe's time may lie further back than the source's checks
        // reach: from the beginning, on a fresh input, which has not read
        // past what stream probing kept.
        input = std::make_unique<MediaInput>();
        failure = input->open(job.videoPath, job.bitDepth);
        if (failure == Outcome::Converted)
            failure = lastFrameIn(*input, 0, endUs, &frame);
    }
    if (failure != Outcome::Converted)
        return failed(failure);
    if (!frame)
        return failed(Outcome::NothingAtPosition);

    OutputFolder folder;
    if (!QFileInfo(job.outputPath).isDir() && !folder.create(job.outputPath))
        return failed(Outcome::CannotMakeFolder);

    ImageSettings settings;
    settings.outputPath = job.outputPath;
    settings.namingPattern = job.namingPattern;
    settings.format = job.format;
    settings.quality = job.quality;
    settings.bitDepth = job.bitDepth;
    settings.orientation = Picture::displayTransform(input->displayMatrix());
    settings.width = job.width.value_or(0);
    settings.height = job.height.value_or(0);
    settings.deinterlace = job.deinterlace;
    settings.fieldOrder = input->stream()->codecpar->field_order;
    ImageNames names(settings);
    ImageFileSink sink(settings, names);

    // The source counts each frame's pts from the stream's start.
    const qint64 frameMs = av_rescale_q(frame->pts, frame->time_base, millisecond);
    const ImageFileSink::NameChoice nameFor = [&](int attempt) {
        return ImageNaming::savedFramePath(
            job.outputPath, job.namingPattern, frameMs, job.format, attempt);
    };
    QString path;
    if (const Outcome writeFailure = sink.writeNew(frame.get(), nameFor, &path);
        writeFailure != Outcome::Converted) {
        folder.removeIfEmpty();
        return failed(writeFailure, path);
    }
    saved.filePath = path;
    return saved;
}

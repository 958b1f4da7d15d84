#include "frametimeline.h"

#include "ffmpegholders.h"
#include "mediainput.h"
#include "orientation.h"
#include "samplingrules.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr AVRational microsecond {1, 1000000};
constexpr int64_t before = std::numeric_limits<int64_t>::min();
constexpr int64_t after = std::numeric_limits<int64_t>::max();
// Where a seek lands past the wanted time, the next try starts this much
// earlier, then twice as much, and so on, before reading from the start.
constexpr int64_t backOffUs = 1000000;
constexpr int seekTries = 4;
// Packets passed over looking for a keyframe after a seek.
constexpr int maxSkippedPackets = 1000;

int64_t streamStart(const AVStream *stream)
{
    return stream->start_time == AV_NOPTS_VALUE ? 0 : stream->start_time;
}

} // namespace

FrameTimeline::FrameTimeline() = default;
FrameTimeline::~FrameTimeline() = default;

bool FrameTimeline::open(const QString &path)
{
    close();
    auto opened = std::make_unique<MediaInput>();
    if (opened->open(path, Picture::BitDepth::Rgb24) != Outcome::Converted)
        return false;
    AVStream *stream = opened->stream();
    const AVCodecParameters *parameters = stream->codecpar;
    if (parameters->width > 0 && parameters->height > 0) {
        const AVRational aspect = av_guess_sample_aspect_ratio(opened->format(), stream, nullptr);
        pictureSize
            = QSize(Picture::squarePixelWidth(parameters->width, aspect), parameters->height);
        codedSize = QSize(parameters->width, parameters->height);
    }
    // The rate the job times such frames by, so that the frame shown is the
    // frame written.
    const MediaInput::FrameRates rates = opened->frameRates();
    gridStepUs = 1e6 / Sampling::usableFrameRate(rates.average, rates.real);
    // Entries added later come from searches, not from the file.
    indexed = avformat_index_get_entries_count(stream) > 0;
    input = std::move(opened);
    this->path = path;
    return true;
}

void FrameTimeline::close()
{
    input.reset();
    path.clear();
    pictureSize = QSize();
    codedSize = QSize();
    known.clear();
    spans.clear();
    gridStepUs = 0;
    timestamped = true;
    indexed = false;
}

std::optional<int64_t> FrameTimeline::frameShownAt(int64_t positionMs)
{
    if (!input || positionMs < 0 || positionMs > after / 1000 - 1)
        return std::nullopt;
    // A frame at 33.333 ms is shown from 34 ms on.
    const int64_t lastUs = positionMs * 1000;
    if (!spanHolding(lastUs) && !readAround(lastUs) && timestamped)
        return std::nullopt;
    if (!timestamped)
        return gridFrame(lastUs);
    if (!spanHolding(lastUs) || known.empty())
        return std::nullopt;
    auto next = known.upper_bound(lastUs);
    // Before the first frame the player shows the first frame.
    return next == known.begin() ? *next : *std::prev(next);
}

std::optional<int64_t> FrameTimeline::frameAfter(int64_t frameUs)
{
    if (!input || frameUs == after)
        return std::nullopt;
    if (!timestamped)
        return gridStepUs > 0 ? std::optional<int64_t>(gridTime(gridIndex(frameUs) + 1))
                              : std::nullopt;
    for (int pass = 0; pass < 2; ++pass) {
        if (const Span *span = spanHolding(frameUs)) {
            const auto next = known.upper_bound(frameUs);
            if (next != known.end() && *next <= span->to)
                return *next;
            if (span->to == after)
                return std::nullopt;
        }
        if (pass == 0 && !readAround(frameUs))
            return std::nullopt;
    }
    return std::nullopt;
}

std::optional<int64_t> FrameTimeline::frameBefore(int64_t frameUs)
{
    if (!input || frameUs <= 0)
        return std::nullopt;
    if (!timestamped) {
        const double previous = gridIndex(frameUs) - 1;
        return gridStepUs > 0 && previous >= 0 ? std::optional<int64_t>(gridTime(previous))
                                               : std::nullopt;
    }
    const int64_t earlier = frameUs - 1;
    for (int pass = 0; pass < 2; ++pass) {
        if (const Span *span = spanHolding(earlier)) {
            const auto next = known.upper_bound(earlier);
            if (next != known.begin() && *std::prev(next) >= span->from)
                return *std::prev(next);
            if (span->from == before)
                return std::nullopt;
        }
        if (pass == 0 && !readAround(earlier))
            return std::nullopt;
    }
    return std::nullopt;
}

const FrameTimeline::Span *FrameTimeline::spanHolding(int64_t timeUs) const
{
    const auto found = std::find_if(spans.cbegin(), spans.cend(),
        [timeUs](const Span &span) { return span.from <= timeUs && timeUs <= span.to; });
    return found == spans.cend() ? nullptr : &*found;
}

// Frame n starts at n periods, rounded to the microsecond as the job times
// it; a time rounded down still falls in its own frame.
double FrameTimeline::gridIndex(int64_t timeUs) const
{
    return std::floor(double(std::max<int64_t>(timeUs, 0) + 1) / gridStepUs);
}

int64_t FrameTimeline::gridTime(double index) const
{
    return std::llround(index * gridStepUs);
}

int64_t FrameTimeline::gridFrame(int64_t timeUs) const
{
    return gridStepUs > 0 ? gridTime(gridIndex(timeUs)) : std::max<int64_t>(timeUs, 0);
}

bool FrameTimeline::seekBefore(int64_t timeUs)
{
    AVStream *stream = input->stream();
    const int64_t target
        = streamStart(stream) + av_rescale_q(timeUs, microsecond, stream->time_base);
    return av_seek_frame(input->format(), input->videoStreamIndex(), target, AVSEEK_FLAG_BACKWARD)
        >= 0;
}

bool FrameTimeline::rewind()
{
    // Without an index of its own, a seek to the start searches for it and may
    // land a few frames late (MPEG-TS) or not at all (raw streams); a fresh
    // opening reads from the first packet.
    if (indexed && seekBefore(0))
        return true;
    auto fresh = std::make_unique<MediaInput>();
    if (fresh->open(path, Picture::BitDepth::Rgb24) != Outcome::Converted)
        return false;
    input = std::move(fresh);
    return true;
}

bool FrameTimeline::readAround(int64_t timeUs)
{
    AVFormatContext *format = input->format();
    AVStream *stream = input->stream();
    const auto toUs = [&](int64_t timestamp) {
        return av_rescale_q(timestamp - streamStart(stream), stream->time_base, microsecond);
    };
    FFmpeg::PacketPtr packet(av_packet_alloc());
    if (!packet)
        return false;

    int64_t seekUs = timeUs;
    for (int attempt = 0; attempt <= seekTries; ++attempt) {
        // The last try, or a seek the demuxer cannot make, reads from the start.
        const bool fromStart = attempt == seekTries || seekUs <= 0 || !seekBefore(seekUs);
        if (fromStart && !rewind())
            return false;
        format = input->format();
        stream = input->stream();
        std::optional<int64_t> first;
        std::optional<int64_t> nextAfter;
        int64_t lastDecode = before;
        bool atEnd = false;
        int untimed = 0;
        int skipped = 0;
        for (;;) {
            if (av_read_frame(format, packet.get()) < 0) {
                atEnd = true;
                break;
            }
            FFmpeg::PacketPayload payload(packet.get());
            if (packet->stream_index != input->videoStreamIndex()
                || (packet->flags & AV_PKT_FLAG_DISCARD))
                continue;
            const int64_t stamp = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
            if (stamp == AV_NOPTS_VALUE) {
                ++untimed;
                continue;
            }
            const int64_t us = toUs(stamp);
            // A span starts at a keyframe: what follows it in decoding order is
            // shown after it, and nothing before it is.
            if (!first) {
                // A demuxer that marks no keyframes would have the whole file
                // read for one: after a while any packet will do.
                if (!fromStart && !(packet->flags & AV_PKT_FLAG_KEY)
                    && ++skipped <= maxSkippedPackets)
                    continue;
                first = fromStart ? before : us;
            }
            known.insert(us);
            const int64_t decodeUs = packet->dts != AV_NOPTS_VALUE ? toUs(packet->dts) : us;
            if (us > timeUs)
                nextAfter = std::min(nextAfter.value_or(after), us);
            lastDecode = std::max(lastDecode, decodeUs);
            // Whatever comes later decodes later, and is shown no earlier than it
            // decodes: every frame up to here, and the one after timeUs, is known.
            if (decodeUs > timeUs && nextAfter && decodeUs >= *nextAfter)
                break;
        }
        if (!first) {
            if (untimed > 0 && known.empty()) {
                timestamped = false;
                return gridStepUs > 0;
            }
            if (fromStart)
                return false;
            seekUs -= backOffUs << attempt;
            continue;
        }
        if (*first > timeUs) {
            // The index holds decoding times: the keyframe found is shown after
            // timeUs, whose frame lies further back.
            seekUs = *first - (backOffUs << attempt);
            continue;
        }
        spans.push_back({*first, atEnd ? after : lastDecode});
        return true;
    }
    return false;
}

#include "framesource.h"

#include "framefacts.h"
#include "frameselector.h"
#include "mediainput.h"

#include <cmath>

namespace {

// A decoder that keeps failing without ever delivering is given up on.
constexpr int maxSuccessiveDecodeErrors = 1000;

// 0 with the next frame the decoder has ready, or AVERROR(EAGAIN) or
// AVERROR_EOF. A frame that fails to decode costs that frame only: the
// decoder is asked again until it delivers, needs more input or has
// nothing left.
int receiveFrame(AVCodecContext *decoder, AVFrame *frame)
{
    for (int failures = 0; failures < maxSuccessiveDecodeErrors; ++failures) {
        const int result = avcodec_receive_frame(decoder, frame);
        if (result == 0 || result == AVERROR(EAGAIN) || result == AVERROR_EOF)
            return result;
    }
    return AVERROR(EAGAIN);
}

} // namespace

constexpr AVRational microsecond {1, 1000000};

// A landing past the wanted time is retried from an earlier keyframe this
// many times, then from the beginning.
constexpr int maxSeekAttempts = 4;

DecodingFrameSource::DecodingFrameSource(MediaInput &input, FrameSelector &selector)
    : input(input)
    , selector(selector)
    , frame(av_frame_alloc())
    , packet(av_packet_alloc())
{
    const AVStream *stream = input.stream();
    streamStart = stream->start_time == AV_NOPTS_VALUE ? 0 : stream->start_time;
}

int64_t DecodingFrameSource::frameTimeUs(const AVFrame *decoded)
{
    if (decoded->best_effort_timestamp != AV_NOPTS_VALUE) {
        lastTimestamp = decoded->best_effort_timestamp;
        lastTimeUs
            = av_rescale_q(lastTimestamp - streamStart, input.stream()->time_base, microsecond);
    }
    return lastTimeUs;
}

// Only where the demuxer has an index: a seek elsewhere may read the whole
// file looking for its target (raw H.264, for one) and fail at the end,
// where nothing would be left to decode.
bool DecodingFrameSource::canSeek() const
{
    return avformat_index_get_entries_count(input.stream()) > 0;
}

void DecodingFrameSource::seekBefore(int64_t timeUs, int64_t streamTimestamp)
{
    // The keyframe at or before the timestamp; decoding forward from it
    // gives the frames exactly as decoding from the beginning.
    if (av_seek_frame(
            input.format(), input.videoStreamIndex(), streamTimestamp, AVSEEK_FLAG_BACKWARD)
        < 0) {
        return;
    }
    avcodec_flush_buffers(input.decoder());
    draining = false;
    decodedKnown = false;
    seekCheckUs = timeUs;
    seekTimestamp = streamTimestamp;
}

// Counted where every frame is decoded; where frames were skipped, by a seek
// or by decoding keyframes only, reckoned from the frame's time and the
// stream's frame rate.
int64_t DecodingFrameSource::frameNumber(int64_t timeUs)
{
    if (decodedKnown && !selector.keyframesOnly())
        return ++decoded;
    decodedKnown = true;
    const AVStream *stream = input.stream();
    const AVRational rate = stream->avg_frame_rate.num > 0 && stream->avg_frame_rate.den > 0
        ? stream->avg_frame_rate
        : stream->r_frame_rate;
    if (rate.num > 0 && rate.den > 0)
        decoded = std::llround(double(qMax<int64_t>(0, timeUs)) * rate.num / rate.den / 1e6) + 1;
    else
        ++decoded;
    return decoded;
}

void DecodingFrameSource::seekAheadIfWorthIt(int64_t currentTimestamp)
{
    const int64_t wantedUs = selector.nextWantedUs();
    if (wantedUs <= lastTimeUs || !canSeek())
        return;
    AVStream *stream = input.stream();
    const int64_t wanted = streamStart + av_rescale_q(wantedUs, microsecond, stream->time_base);
    const int keyframe = av_index_search_timestamp(stream, wanted, AVSEEK_FLAG_BACKWARD);
    const AVIndexEntry *entry
        = keyframe >= 0 ? avformat_index_get_entry(stream, keyframe) : nullptr;
    // Worth it only past a keyframe: before it, decoding on is what a seek
    // would do anyway.
    if (entry && entry->timestamp > currentTimestamp) {
        seekAttempts = 0;
        seekBefore(wantedUs, wanted);
    }
}

void DecodingFrameSource::seekToEarlierKeyframe(int64_t wantedUs)
{
    AVStream *stream = input.stream();
    const auto keyframeAtOrBefore = [stream](int64_t timestamp) -> const AVIndexEntry * {
        const int found = av_index_search_timestamp(stream, timestamp, AVSEEK_FLAG_BACKWARD);
        return found >= 0 ? avformat_index_get_entry(stream, found) : nullptr;
    };
    const AVIndexEntry *landed = keyframeAtOrBefore(seekTimestamp);
    const AVIndexEntry *earlier = landed ? keyframeAtOrBefore(landed->timestamp - 1) : nullptr;
    if (earlier && ++seekAttempts < maxSeekAttempts)
        seekBefore(wantedUs, earlier->timestamp);
    else
        seekBefore(-1, streamStart);
}

FrameSource::Status DecodingFrameSource::next(
    FFmpeg::FramePtr *taken, const StopCheck &stopRequested)
{
    AVCodecContext *decoder = input.decoder();
    if (!started) {
        started = true;
        if (selector.keyframesOnly())
            decoder->skip_frame = AVDISCARD_NONKEY;
        // From the beginning, no seek: the packets that stream probing read
        // are kept and returned first by av_read_frame.
        if (selector.startUs() > 0 && canSeek()) {
            seekBefore(selector.startUs(),
                streamStart
                    + av_rescale_q(selector.startUs(), microsecond, input.stream()->time_base));
        }
    }
    if (takenSinceCheck) {
        takenSinceCheck = false;
        seekAheadIfWorthIt(lastTimestamp);
    }
    for (;;) {
        if (stopRequested())
            return Status::End;

        const int received = receiveFrame(decoder, frame.get());
        if (received == 0) {
            const int64_t timeUs = frameTimeUs(frame.get());
            const int64_t number = frameNumber(timeUs);
            if (seekCheckUs >= 0) {
                const int64_t wantedUs = seekCheckUs;
                seekCheckUs = -1;
                // The demuxer's keyframe times are decoding times: a frame
                // shown just before a keyframe may come before it in
                // decoding order, and the seek passed it.
                if (timeUs > wantedUs) {
                    av_frame_unref(frame.get());
                    seekToEarlierKeyframe(wantedUs);
                    continue;
                }
            }
            switch (selector.judge(frame.get(), timeUs)) {
            case FrameSelector::Verdict::End:
                av_frame_unref(frame.get());
                return Status::End;
            case FrameSelector::Verdict::Skip:
                av_frame_unref(frame.get());
                continue;
            case FrameSelector::Verdict::Take:
                break;
            }
            FFmpeg::FramePtr handed(av_frame_alloc());
            if (!handed) {
                failed = Outcome::OutOfMemory;
                return Status::Failed;
            }
            av_frame_move_ref(handed.get(), frame.get());
            // The container's ratio where it has one, as players show it.
            handed->sample_aspect_ratio
                = av_guess_sample_aspect_ratio(input.format(), input.stream(), handed.get());
            handed->pts = lastTimestamp - streamStart;
            handed->time_base = input.stream()->time_base;
            FrameFacts::setNumber(handed.get(), FrameFacts::frameNumber, double(number));
            if (const std::optional<double> score = selector.takenScore())
                FrameFacts::setNumber(handed.get(), FrameFacts::score, *score);
            *taken = std::move(handed);
            takenSinceCheck = true;
            return Status::Frame;
        }
        if (draining)
            return Status::End;

        const int read = av_read_frame(input.format(), packet.get());
        if (read < 0) {
            // A truncated file ends with AVERROR_EOF like a complete one;
            // anything else means the rest of the video could not be read.
            if (read != AVERROR_EOF) {
                failed = Outcome::ReadFailed;
                return Status::Failed;
            }
            // The decoder holds back frames for reordering and threading; an
            // empty packet makes it hand them out. Its result may be the
            // error of the first frame held back, and the others are still
            // to come.
            draining = true;
            avcodec_send_packet(decoder, nullptr);
            continue;
        }
        FFmpeg::PacketPayload payload(packet.get());
        // A packet the decoder refuses costs that packet only: the frames
        // decoded before it are still collected on the next turn.
        if (packet->stream_index == input.videoStreamIndex())
            avcodec_send_packet(decoder, packet.get());
    }
}

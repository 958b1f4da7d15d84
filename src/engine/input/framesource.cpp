#include "framesource.h"

#include "framefacts.h"
#include "frameselector.h"
#include "mediainput.h"
#include "samplingrules.h"

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

// Codecs whose non-reference frames no other frame is decoded from. HEVC's
// sub-layer non-reference pictures can be references of a higher temporal
// layer (slow motion from phones), so HEVC and the codecs not listed are
// always decoded whole.
bool unreferencedFramesSkippable(AVCodecID codec)
{
    switch (codec) {
    case AV_CODEC_ID_H264:
    case AV_CODEC_ID_MPEG1VIDEO:
    case AV_CODEC_ID_MPEG2VIDEO:
    case AV_CODEC_ID_MPEG4:
    case AV_CODEC_ID_H263:
    case AV_CODEC_ID_VP8:
        return true;
    default:
        return false;
    }
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
    const MediaInput::FrameRates rates = input.frameRates();
    periodUs = 1e6 / Sampling::usableFrameRate(rates.average, rates.real);
}

int64_t DecodingFrameSource::frameTimeUs(const AVFrame *decoded)
{
    const AVRational timeBase = input.stream()->time_base;
    if (decoded->best_effort_timestamp != AV_NOPTS_VALUE) {
        lastTimestamp = decoded->best_effort_timestamp;
        lastTimeUs = av_rescale_q(lastTimestamp - streamStart, timeBase, microsecond);
        stampedUs = lastTimeUs;
        framesSinceStamp = 0;
    } else {
        // FFmpeg's own rule for a frame without a time (raw H.264 and other
        // elementary streams have none): the last known time plus a frame
        // period for each frame since, from 0 at the start.
        if (framesDecoded > 0)
            ++framesSinceStamp;
        lastTimeUs = stampedUs + std::llround(framesSinceStamp * periodUs);
        lastTimestamp = streamStart + av_rescale_q(lastTimeUs, microsecond, timeBase);
    }
    ++framesDecoded;
    return lastTimeUs;
}

void DecodingFrameSource::describe(AVFrame *decoded, int64_t timeUs) const
{
    // The container's ratio where it has one, as players show it.
    decoded->sample_aspect_ratio
        = av_guess_sample_aspect_ratio(input.format(), input.stream(), decoded);
    decoded->pts = lastTimestamp - streamStart;
    decoded->time_base = input.stream()->time_base;
    // Counted where every frame from the start was decoded; where some were
    // passed by a seek or left out by the decoder, worked out from the time.
    const int64_t number
        = numbersFromTimes ? std::llround(timeUs / periodUs) + 1 : int64_t(framesDecoded);
    FrameFacts::setNumber(decoded, FrameFacts::frameNumber, double(number));
}

// Only where the demuxer has an index: a seek elsewhere may read the whole
// file looking for its target (raw H.264, for one) and fail at the end,
// where nothing would be left to decode. A pipe cannot go back at all.
bool DecodingFrameSource::canSeek() const
{
    return input.isSeekable() && avformat_index_get_entries_count(input.stream()) > 0;
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
    keptUs.clear();
    draining = false;
    numbersFromTimes = true;
    seekCheckUs = timeUs;
    seekTimestamp = streamTimestamp;
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

// A frame that cannot be taken and that no other frame refers to is of no
// use: the decoder is told to leave it out, as a seek would, while every
// frame that others are decoded from is still decoded. The frames handed
// to the decoder whole tell which frames come before it in time.
void DecodingFrameSource::skipUnwanted(const AVPacket *video)
{
    AVCodecContext *decoder = input.decoder();
    if (selector.keyframesOnly() || !unreferencedFramesSkippable(decoder->codec_id))
        return;
    bool unwanted = false;
    if (video->pts != AV_NOPTS_VALUE) {
        const int64_t shownUs
            = av_rescale_q(video->pts - streamStart, input.stream()->time_base, microsecond);
        int64_t earlierUs = AV_NOPTS_VALUE;
        for (const int64_t keptShownUs : keptUs) {
            if (keptShownUs < shownUs && (earlierUs == AV_NOPTS_VALUE || keptShownUs > earlierUs))
                earlierUs = keptShownUs;
        }
        unwanted = !selector.mayTakeFrameAt(shownUs, earlierUs);
        // Deeper than any decoder reorders.
        constexpr size_t remembered = 32;
        if (!unwanted) {
            keptUs.push_back(shownUs);
            if (keptUs.size() > remembered)
                keptUs.pop_front();
        }
    }
    decoder->skip_frame = unwanted ? AVDISCARD_NONREF : AVDISCARD_DEFAULT;
    // The frames decoded no longer count the frames of the stream.
    numbersFromTimes = numbersFromTimes || unwanted;
}

FrameSource::Status DecodingFrameSource::next(
    FFmpeg::FramePtr *taken, const StopCheck &stopRequested)
{
    AVCodecContext *decoder = input.decoder();
    if (!started) {
        started = true;
        if (selector.keyframesOnly()) {
            decoder->skip_frame = AVDISCARD_NONKEY;
            numbersFromTimes = true;
        }
        // From the beginning, no seek: the packets that stream probing read
        // are kept and returned first by av_read_frame.
        const int64_t firstWantedUs = qMax(selector.startUs(), selector.nextWantedUs());
        if (firstWantedUs > 0 && canSeek()) {
            seekBefore(firstWantedUs,
                streamStart + av_rescale_q(firstWantedUs, microsecond, input.stream()->time_base));
        }
    }
    if (takenSinceCheck) {
        takenSinceCheck = false;
        seekAheadIfWorthIt(lastTimestamp);
    }
    for (;;) {
        // The selector may choose a frame only once later ones are seen, and
        // several at once.
        if (FFmpeg::FramePtr chosen = selector.takeChosen()) {
            *taken = std::move(chosen);
            takenSinceCheck = true;
            return Status::Frame;
        }
        if (selector.outOfMemory()) {
            failed = Outcome::OutOfMemory;
            return Status::Failed;
        }
        if (selectionEnded || stopRequested())
            return Status::End;

        const int received = receiveFrame(decoder, frame.get());
        if (received == 0) {
            const int64_t timeUs = frameTimeUs(frame.get());
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
            describe(frame.get(), timeUs);
            selectionEnded = !selector.offer(frame.get(), timeUs);
            av_frame_unref(frame.get());
            continue;
        }
        if (draining) {
            selector.finish();
            selectionEnded = true;
            continue;
        }

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
        if (packet->stream_index != input.videoStreamIndex())
            continue;
        skipUnwanted(packet.get());
        // A packet the decoder refuses costs that packet only: the frames
        // decoded before it are still collected on the next turn.
        avcodec_send_packet(decoder, packet.get());
    }
}

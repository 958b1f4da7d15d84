#include "framesource.h"

#include "mediainput.h"

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

DecodingFrameSource::DecodingFrameSource(MediaInput &input, int interval)
    : input(input)
    , interval(interval)
    , frame(av_frame_alloc())
    , packet(av_packet_alloc())
{
}

// No seek back to the start: the packets that stream probing read are kept
// and returned first by av_read_frame. On streams without an index (raw
// H.264, for one) a seek to 0 fails after reading to the end, and the job
// would then find nothing left to read.
FrameSource::Status DecodingFrameSource::next(
    FFmpeg::FramePtr *taken, const StopCheck &stopRequested)
{
    AVCodecContext *decoder = input.decoder();
    for (;;) {
        if (stopRequested())
            return Status::End;

        const int received = receiveFrame(decoder, frame.get());
        if (received == 0) {
            ++decodedCount;
            if (decodedCount % interval != 0) {
                av_frame_unref(frame.get());
                continue;
            }
            FFmpeg::FramePtr handed(av_frame_alloc());
            if (!handed) {
                failed = ExtractionFailure::FrameOrPacketAllocation;
                return Status::Failed;
            }
            av_frame_move_ref(handed.get(), frame.get());
            // The container's ratio where it has one, as players show it.
            handed->sample_aspect_ratio
                = av_guess_sample_aspect_ratio(input.format(), input.stream(), handed.get());
            *taken = std::move(handed);
            return Status::Frame;
        }
        if (draining)
            return Status::End;

        const int read = av_read_frame(input.format(), packet.get());
        if (read < 0) {
            // A truncated file ends with AVERROR_EOF like a complete one;
            // anything else means the rest of the video could not be read.
            if (read != AVERROR_EOF) {
                failed = ExtractionFailure::ReadFailed;
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

#include "streamlength.h"

#include "mediainput.h"
#include "samplingrules.h"

#include <QtGlobal>

#include <cmath>

namespace StreamLength {

int64_t measureUs(MediaInput &input)
{
    FFmpeg::PacketPtr packet(av_packet_alloc());
    if (!packet)
        return AV_NOPTS_VALUE;
    const AVStream *stream = input.stream();
    const int64_t start = stream->start_time == AV_NOPTS_VALUE ? 0 : stream->start_time;
    int64_t packets = 0;
    int64_t latestEnd = AV_NOPTS_VALUE;
    while (av_read_frame(input.format(), packet.get()) >= 0) {
        FFmpeg::PacketPayload payload(packet.get());
        if (packet->stream_index != input.videoStreamIndex())
            continue;
        ++packets;
        if (packet->pts != AV_NOPTS_VALUE) {
            const int64_t packetEnd = packet->pts + qMax<int64_t>(0, packet->duration);
            latestEnd = latestEnd == AV_NOPTS_VALUE ? packetEnd : qMax(latestEnd, packetEnd);
        }
    }
    if (packets == 0)
        return AV_NOPTS_VALUE;
    if (latestEnd != AV_NOPTS_VALUE)
        return av_rescale_q(latestEnd - start, stream->time_base, AVRational {1, 1000000});
    const double rate = Sampling::usableFrameRate(stream->avg_frame_rate, stream->r_frame_rate);
    return std::llround(packets * 1e6 / rate);
}

} // namespace StreamLength

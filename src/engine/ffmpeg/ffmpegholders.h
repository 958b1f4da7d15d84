#ifndef FFMPEGHOLDERS_H
#define FFMPEGHOLDERS_H

// Owning holders for the FFmpeg objects of an extraction job, so that every
// way out of a function releases exactly what it acquired.

#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavfilter/avfilter.h>
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libavutil/frame.h>
#include <libswscale/swscale.h>
}

namespace FFmpeg {

// Adapts the FFmpeg free functions that take the address of the pointer.
template<typename T, void (*Free)(T **)> struct AddressDeleter
{
    void operator()(T *object) const { Free(&object); }
};

using FramePtr = std::unique_ptr<AVFrame, AddressDeleter<AVFrame, av_frame_free>>;
using PacketPtr = std::unique_ptr<AVPacket, AddressDeleter<AVPacket, av_packet_free>>;
using CodecContextPtr
    = std::unique_ptr<AVCodecContext, AddressDeleter<AVCodecContext, avcodec_free_context>>;

using FilterGraphPtr
    = std::unique_ptr<AVFilterGraph, AddressDeleter<AVFilterGraph, avfilter_graph_free>>;
using FilterInOutPtr
    = std::unique_ptr<AVFilterInOut, AddressDeleter<AVFilterInOut, avfilter_inout_free>>;

struct SwsContextDeleter
{
    void operator()(SwsContext *context) const { sws_freeContext(context); }
};
using SwsContextPtr = std::unique_ptr<SwsContext, SwsContextDeleter>;

// A demuxer context goes through two states with different release calls:
// allocated but not opened (avformat_free_context) and opened
// (avformat_close_input). avformat_open_input frees the context itself when
// it fails, so the holder then forgets it.
class FormatContext
{
public:
    FormatContext() = default;
    FormatContext(const FormatContext &) = delete;
    FormatContext &operator=(const FormatContext &) = delete;
    ~FormatContext()
    {
        if (opened)
            avformat_close_input(&context);
        else
            avformat_free_context(context);
    }

    bool allocate()
    {
        context = avformat_alloc_context();
        return context != nullptr;
    }

    int open(const char *url, const AVInputFormat *format, AVDictionary **options)
    {
        const int result = avformat_open_input(&context, url, format, options);
        opened = result == 0;
        if (!opened)
            context = nullptr;
        return result;
    }

    AVFormatContext *get() const { return context; }
    AVFormatContext *operator->() const { return context; }

private:
    AVFormatContext *context = nullptr;
    bool opened = false;
};

// Options handed to an opening call; whatever the call did not consume is
// freed with the holder.
class Dictionary
{
public:
    Dictionary() = default;
    Dictionary(const Dictionary &) = delete;
    Dictionary &operator=(const Dictionary &) = delete;
    ~Dictionary() { av_dict_free(&entries); }

    void set(const char *key, const char *value) { av_dict_set(&entries, key, value, 0); }
    AVDictionary **address() { return &entries; }

private:
    AVDictionary *entries = nullptr;
};

// Drops the packet's payload on every way out of one loop step.
class PacketPayload
{
public:
    explicit PacketPayload(AVPacket *packet)
        : packet(packet)
    {
    }
    PacketPayload(const PacketPayload &) = delete;
    PacketPayload &operator=(const PacketPayload &) = delete;
    ~PacketPayload() { av_packet_unref(packet); }

private:
    AVPacket *packet;
};

// An I/O context that avio_open2 opened, closed with the protocol under it.
struct OpenedIoDeleter
{
    void operator()(AVIOContext *io) const { avio_closep(&io); }
};
using OpenedIoPtr = std::unique_ptr<AVIOContext, OpenedIoDeleter>;

// An I/O context made by avio_alloc_context around reading of one's own:
// its buffer, which FFmpeg may have replaced, goes with it.
struct CustomIoDeleter
{
    void operator()(AVIOContext *io) const
    {
        av_freep(&io->buffer);
        avio_context_free(&io);
    }
};
using CustomIoPtr = std::unique_ptr<AVIOContext, CustomIoDeleter>;

// Pairs avformat_network_init with its deinit.
class NetworkScope
{
public:
    NetworkScope() { avformat_network_init(); }
    NetworkScope(const NetworkScope &) = delete;
    NetworkScope &operator=(const NetworkScope &) = delete;
    ~NetworkScope() { avformat_network_deinit(); }
};

} // namespace FFmpeg

#endif // FFMPEGHOLDERS_H

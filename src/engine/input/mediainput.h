#ifndef MEDIAINPUT_H
#define MEDIAINPUT_H

#include "ffmpegholders.h"
#include "outcome.h"
#include "pixellayout.h"

#include <QString>

#include <atomic>
#include <memory>

// A chosen video opened for decoding: the demuxer, its first video stream
// (not counting attached pictures such as cover art) and that stream's
// decoder. Only one local media file is read; demuxers that would follow
// names inside it are refused, and so are pictures above 16K. The file is
// opened once and read from its first byte to the end, so a pipe, a FIFO
// or standard input gives the same frames as the file it carries.
class MediaInput
{
public:
    MediaInput();
    ~MediaInput();
    MediaInput(const MediaInput &) = delete;
    MediaInput &operator=(const MediaInput &) = delete;

    // The path that stands for standard input: "-".
    static bool isStandardInput(const QString &path);

    // The decoder can depend on the bit depth the frames are converted to.
    // Opening and reading give up, with Stopped, once `stop` (where given)
    // is set, also where they wait for a pipe's writer.
    Outcome open(
        const QString &path, Picture::BitDepth depth, const std::atomic_bool *stop = nullptr);

    // Whether a read failed because `stop` was set.
    bool wasStopped() const { return stopped; }
    // Whether the input can go back: false for pipes, FIFOs and standard
    // input that is not a file.
    bool isSeekable() const;

    AVFormatContext *format() const { return input.get(); }
    AVStream *stream() const { return input->streams[streamIndex]; }
    int videoStreamIndex() const { return streamIndex; }
    AVCodecContext *decoder() const { return codec.get(); }

    // The stream's average and real frames a second, as
    // Sampling::usableFrameRate reads them.
    struct FrameRates
    {
        AVRational average;
        AVRational real;
    };
    FrameRates frameRates() const;

    // The stream's display matrix (nine 16.16 / 2.30 fixed-point values),
    // or null when it has none.
    const int32_t *displayMatrix() const;

    // Demuxers that read other resources named inside the file (playlists,
    // concatenation scripts, session descriptions). A chosen video is read as
    // one local media file, so these are refused.
    static bool isRefusedDemuxer(const char *name);

private:
    struct StreamReader;

    Outcome openDemuxer(const QString &path);
    Outcome openStream(const QString &path);
    Outcome openDecoder(Picture::BitDepth depth);
    static int interruptCallback(void *opaque);
    bool stopRequested() const;

    const std::atomic_bool *stop = nullptr;
    mutable std::atomic_bool stopped {false};
    // The bytes, read once: by FFmpeg's file protocol, or, for what cannot
    // go back, by a reader that waits in steps so that a stop is noticed.
    // Released after the demuxer that reads them.
    std::unique_ptr<StreamReader> reader;
    FFmpeg::CustomIoPtr customIo;
    FFmpeg::OpenedIoPtr openedIo;
    // Released after the decoder, which may still refer to the stream.
    FFmpeg::FormatContext input;
    FFmpeg::CodecContextPtr codec;
    int streamIndex = -1;
};

#endif // MEDIAINPUT_H

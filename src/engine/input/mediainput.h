#ifndef MEDIAINPUT_H
#define MEDIAINPUT_H

#include "ffmpegholders.h"
#include "outcome.h"
#include "pixellayout.h"

#include <QString>

// A chosen video opened for decoding: the demuxer, its first video stream
// (not counting attached pictures such as cover art) and that stream's
// decoder. Only one local media file is read; demuxers that would follow
// names inside it are refused, and so are pictures above 16K.
class MediaInput
{
public:
    MediaInput() = default;
    MediaInput(const MediaInput &) = delete;
    MediaInput &operator=(const MediaInput &) = delete;

    // The decoder can depend on the bit depth the frames are converted to.
    Outcome open(const QString &path, Picture::BitDepth depth);

    AVFormatContext *format() const { return input.get(); }
    AVStream *stream() const { return input->streams[streamIndex]; }
    int videoStreamIndex() const { return streamIndex; }
    AVCodecContext *decoder() const { return codec.get(); }

    // The stream's display matrix (nine 16.16 / 2.30 fixed-point values),
    // or null when it has none.
    const int32_t *displayMatrix() const;

    // Demuxers that read other resources named inside the file (playlists,
    // concatenation scripts, session descriptions). A chosen video is read as
    // one local media file, so these are refused.
    static bool isRefusedDemuxer(const char *name);

private:
    Outcome openDemuxer(const QString &path);
    Outcome openDecoder(Picture::BitDepth depth);

    // Released after the decoder, which may still refer to the stream.
    FFmpeg::FormatContext input;
    FFmpeg::CodecContextPtr codec;
    int streamIndex = -1;
};

#endif // MEDIAINPUT_H

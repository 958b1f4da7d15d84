#include "mediainput.h"

#include <QByteArray>
#include <QFileInfo>
#include <QList>

using Picture::BitDepth;

namespace {

struct IoContextDeleter
{
    void operator()(AVIOContext *io) const { avio_closep(&io); }
};
using IoContextPtr = std::unique_ptr<AVIOContext, IoContextDeleter>;

// The demuxer is chosen from the file's first bytes before it opens
// anything: a concat script naming itself would otherwise recurse until the
// process runs out of file descriptors.
// CannotOpenVideo where the file cannot be read at all, NotAVideo where no
// demuxer recognises what it holds.
Outcome probeFormat(const QByteArray &url, const AVInputFormat **format)
{
    FFmpeg::Dictionary options;
    options.set("protocol_whitelist", "file");
    AVIOContext *rawIo = nullptr;
    if (avio_open2(&rawIo, url.constData(), AVIO_FLAG_READ, nullptr, options.address()) < 0)
        return Outcome::CannotOpenVideo;
    IoContextPtr io(rawIo);
    if (av_probe_input_buffer2(io.get(), format, url.constData(), nullptr, 0, 0) < 0)
        return Outcome::NotAVideo;
    return Outcome::Converted;
}

// The first video stream that is the video itself: cover art and other
// attached pictures are stored as video streams of one picture. -1 for none.
int firstVideoStream(const AVFormatContext *input)
{
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        const AVStream *stream = input->streams[i];
        if (stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO
            && !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC)) {
            return int(i);
        }
    }
    return -1;
}

// FFmpeg's own VP8 and VP9 decoders leave out the alpha channel that WebM
// stores beside the picture; libvpx's decoders read it. Only the 32-bit
// depth writes alpha, so only there are they worth their slower decoding.
const AVCodec *findDecoder(const AVStream *stream, BitDepth depth)
{
    const AVCodecID id = stream->codecpar->codec_id;
    if (depth == BitDepth::Rgba32 && (id == AV_CODEC_ID_VP8 || id == AV_CODEC_ID_VP9)) {
        const AVDictionaryEntry *alpha = av_dict_get(stream->metadata, "alpha_mode", nullptr, 0);
        if (alpha && qstrcmp(alpha->value, "1") == 0) {
            const AVCodec *libvpx
                = avcodec_find_decoder_by_name(id == AV_CODEC_ID_VP9 ? "libvpx-vp9" : "libvpx");
            if (libvpx)
                return libvpx;
        }
    }
    return avcodec_find_decoder(id);
}

// 16K UHD (15360 x 8640) and 16K 2:1 panoramas (16384 x 8192) still decode.
// A larger picture, usually a damaged or forged header, is refused by the
// decoder before it allocates gigabytes for it.
constexpr int64_t maxPicturePixels = int64_t(16384) * 8192;

} // namespace

Outcome MediaInput::open(const QString &path, BitDepth depth)
{
    const Outcome demuxer = openDemuxer(path);
    return demuxer != Outcome::Converted ? demuxer : openDecoder(depth);
}

Outcome MediaInput::openDemuxer(const QString &path)
{
    if (!input.allocate())
        return Outcome::OutOfMemory;

    // A folder opens for reading on some systems and then reads nothing.
    if (QFileInfo(path).isDir())
        return Outcome::CannotOpenVideo;
    const QByteArray url = "file:" + path.toUtf8();
    const AVInputFormat *format = nullptr;
    if (const Outcome probed = probeFormat(url, &format); probed != Outcome::Converted)
        return probed;
    if (!format || isRefusedDemuxer(format->name))
        return Outcome::NotAVideo;
    FFmpeg::Dictionary options;
    options.set("protocol_whitelist", "file");
    if (input.open(url.constData(), format, options.address()) != 0)
        return Outcome::NotAVideo;

    if (avformat_find_stream_info(input.get(), nullptr) < 0)
        return Outcome::NotAVideo;

    streamIndex = firstVideoStream(input.get());
    return streamIndex < 0 ? Outcome::NoVideoStream : Outcome::Converted;
}

Outcome MediaInput::openDecoder(BitDepth depth)
{
    const AVCodecParameters *parameters = stream()->codecpar;
    const AVCodec *decoderCodec = findDecoder(stream(), depth);
    if (!decoderCodec)
        return Outcome::UnsupportedCodec;
    codec.reset(avcodec_alloc_context3(decoderCodec));
    if (!codec)
        return Outcome::OutOfMemory;
    if (avcodec_parameters_to_context(codec.get(), parameters) < 0)
        return Outcome::CannotOpenDecoder;
    // A container claiming more would fail the opening; its claim is dropped
    // instead, and each frame's own size is checked as it decodes.
    if (int64_t(codec->width) * codec->height > maxPicturePixels
        || int64_t(codec->coded_width) * codec->coded_height > maxPicturePixels) {
        codec->width = codec->height = 0;
        codec->coded_width = codec->coded_height = 0;
    }
    // Automatic thread count; the frames held back by threading come out
    // when the decoder is drained at the end.
    codec->thread_count = 0;
    codec->max_pixels = maxPicturePixels;
    if (avcodec_open2(codec.get(), decoderCodec, nullptr) < 0)
        return Outcome::CannotOpenDecoder;
    return Outcome::Converted;
}

const int32_t *MediaInput::displayMatrix() const
{
    const AVStream *video = stream();
#if LIBAVCODEC_VERSION_INT >= AV_VERSION_INT(60, 30, 100)
    const AVPacketSideData *sideData = av_packet_side_data_get(video->codecpar->coded_side_data,
        video->codecpar->nb_coded_side_data, AV_PKT_DATA_DISPLAYMATRIX);
    if (sideData && sideData->size >= 9 * sizeof(int32_t))
        return reinterpret_cast<const int32_t *>(sideData->data);
#else
    size_t size = 0;
    const uint8_t *data = av_stream_get_side_data(video, AV_PKT_DATA_DISPLAYMATRIX, &size);
    if (data && size >= 9 * sizeof(int32_t))
        return reinterpret_cast<const int32_t *>(data);
#endif
    return nullptr;
}

bool MediaInput::isRefusedDemuxer(const char *name)
{
    static const char *const refused[] = {
        "concat",
        "hls",
        "dash",
        "imf",
        "sdp",
        "rtp",
        "rtsp",
        "webm_dash_manifest",
    };
    if (!name)
        return false;
    // A demuxer may list several names separated by commas.
    const QList<QByteArray> names = QByteArray(name).split(',');
    for (const QByteArray &each : names) {
        for (const char *candidate : refused) {
            if (each == candidate)
                return true;
        }
    }
    return false;
}

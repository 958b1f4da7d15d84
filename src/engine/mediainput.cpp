#include "mediainput.h"

#include "extractionrules.h"

namespace {

struct IoContextDeleter
{
    void operator()(AVIOContext *io) const { avio_closep(&io); }
};
using IoContextPtr = std::unique_ptr<AVIOContext, IoContextDeleter>;

// The demuxer is chosen from the file's first bytes before it opens
// anything: a concat script naming itself would otherwise recurse until the
// process runs out of file descriptors.
const AVInputFormat *probeFormat(const QByteArray &url)
{
    FFmpeg::Dictionary options;
    options.set("protocol_whitelist", "file");
    AVIOContext *rawIo = nullptr;
    if (avio_open2(&rawIo, url.constData(), AVIO_FLAG_READ, nullptr, options.address()) < 0)
        return nullptr;
    IoContextPtr io(rawIo);
    const AVInputFormat *format = nullptr;
    if (av_probe_input_buffer2(io.get(), &format, url.constData(), nullptr, 0, 0) < 0)
        return nullptr;
    return format;
}

} // namespace

ExtractionFailure MediaInput::open(const QString &path)
{
    const ExtractionFailure demuxer = openDemuxer(path);
    return demuxer != ExtractionFailure::None ? demuxer : openDecoder();
}

ExtractionFailure MediaInput::openDemuxer(const QString &path)
{
    if (!input.allocate())
        return ExtractionFailure::FormatContextAllocation;

    const QByteArray url = "file:" + path.toUtf8();
    const AVInputFormat *format = probeFormat(url);
    if (!format || ExtractionRules::isRefusedDemuxer(format->name))
        return ExtractionFailure::OpenInput;
    FFmpeg::Dictionary options;
    options.set("protocol_whitelist", "file");
    if (input.open(url.constData(), format, options.address()) != 0)
        return ExtractionFailure::OpenInput;

    if (avformat_find_stream_info(input.get(), nullptr) < 0)
        return ExtractionFailure::StreamInfo;

    for (unsigned i = 0; i < input->nb_streams; ++i) {
        if (input->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_VIDEO) {
            streamIndex = int(i);
            return ExtractionFailure::None;
        }
    }
    return ExtractionFailure::NoVideoStream;
}

ExtractionFailure MediaInput::openDecoder()
{
    const AVCodecParameters *parameters = stream()->codecpar;
    const AVCodec *decoderCodec = avcodec_find_decoder(parameters->codec_id);
    if (!decoderCodec)
        return ExtractionFailure::UnsupportedCodec;
    codec.reset(avcodec_alloc_context3(decoderCodec));
    if (!codec)
        return ExtractionFailure::CodecContextAllocation;
    if (avcodec_parameters_to_context(codec.get(), parameters) < 0)
        return ExtractionFailure::CodecParameters;
    // Automatic thread count; the frames held back by threading come out
    // when the decoder is drained at the end.
    codec->thread_count = 0;
    if (avcodec_open2(codec.get(), decoderCodec, nullptr) < 0)
        return ExtractionFailure::CodecOpen;
    return ExtractionFailure::None;
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

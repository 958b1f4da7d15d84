#include "mediainput.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QList>

#include <cerrno>

#if defined(Q_OS_UNIX)
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using Picture::BitDepth;

// Reads what cannot be opened twice or gone back in (a FIFO, standard input)
// for FFmpeg's custom I/O. It waits for data in short steps, so that a stop
// is noticed also while no writer has come or the writer is silent.
struct MediaInput::StreamReader
{
    MediaInput *owner = nullptr;
    int fd = -1;
    bool ownsFd = false;
    // Standard input redirected from a file can go back.
    bool seekable = false;

    ~StreamReader();
    static int read(void *opaque, uint8_t *buffer, int size);
    static int64_t seek(void *opaque, int64_t offset, int whence);
};

namespace {

constexpr int customIoBufferSize = 64 * 1024;
#if defined(Q_OS_UNIX)
constexpr int waitStepMs = 50;
#endif

} // namespace

MediaInput::StreamReader::~StreamReader()
{
#if defined(Q_OS_UNIX)
    if (ownsFd && fd >= 0)
        ::close(fd);
#endif
}

int MediaInput::StreamReader::read(void *opaque, uint8_t *buffer, int size)
{
#if defined(Q_OS_UNIX)
    const auto *reader = static_cast<const StreamReader *>(opaque);
    for (;;) {
        if (reader->owner->stopRequested())
            return AVERROR_EXIT;
        pollfd wanted {reader->fd, POLLIN, 0};
        const int ready = ::poll(&wanted, 1, waitStepMs);
        if (ready < 0 && errno != EINTR)
            return AVERROR(errno);
        if (ready <= 0)
            continue;
        const ssize_t got = ::read(reader->fd, buffer, size_t(size));
        if (got > 0)
            return int(got);
        if (got == 0)
            return AVERROR_EOF;
        if (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK)
            return AVERROR(errno);
    }
#else
    Q_UNUSED(opaque);
    Q_UNUSED(buffer);
    Q_UNUSED(size);
    return AVERROR(ENOSYS);
#endif
}

int64_t MediaInput::StreamReader::seek(void *opaque, int64_t offset, int whence)
{
#if defined(Q_OS_UNIX)
    const auto *reader = static_cast<const StreamReader *>(opaque);
    if (whence == AVSEEK_SIZE) {
        struct stat status = {};
        return ::fstat(reader->fd, &status) == 0 ? int64_t(status.st_size) : AVERROR(errno);
    }
    const off_t at = ::lseek(reader->fd, off_t(offset), whence & ~AVSEEK_FORCE);
    return at < 0 ? AVERROR(errno) : int64_t(at);
#else
    Q_UNUSED(opaque);
    Q_UNUSED(offset);
    Q_UNUSED(whence);
    return AVERROR(ENOSYS);
#endif
}

MediaInput::MediaInput() = default;
MediaInput::~MediaInput() = default;

bool MediaInput::isStandardInput(const QString &path)
{
    return path == QLatin1String("-");
}

bool MediaInput::isSeekable() const
{
    const AVIOContext *io = input.get() ? input->pb : nullptr;
    return io && (io->seekable & AVIO_SEEKABLE_NORMAL);
}

int MediaInput::interruptCallback(void *opaque)
{
    return static_cast<const MediaInput *>(opaque)->stopRequested() ? 1 : 0;
}

bool MediaInput::stopRequested() const
{
    if (!stop || !*stop)
        return false;
    stopped = true;
    return true;
}

// Opens the bytes once, for the probe and the demuxer both: a second opening
// of a pipe would start where the probe stopped reading.
Outcome MediaInput::openStream(const QString &path)
{
#if defined(Q_OS_UNIX)
    auto made = std::make_unique<StreamReader>();
    made->owner = this;
    if (isStandardInput(path)) {
        made->fd = STDIN_FILENO;
        struct stat status = {};
        made->seekable = ::fstat(made->fd, &status) == 0 && S_ISREG(status.st_mode);
    } else {
        struct stat status = {};
        const QByteArray name = QFile::encodeName(path);
        if (::stat(name.constData(), &status) != 0 || !S_ISFIFO(status.st_mode))
            made.reset();
        // Without blocking: a FIFO's opening waits for a writer, which may
        // never come; the reader waits for it in steps instead.
        else if ((made->fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)) < 0)
            return Outcome::CannotOpenVideo;
        else
            made->ownsFd = true;
    }
    if (made) {
        reader = std::move(made);
        auto *buffer = static_cast<unsigned char *>(av_malloc(customIoBufferSize));
        if (!buffer)
            return Outcome::OutOfMemory;
        customIo.reset(avio_alloc_context(buffer, customIoBufferSize, 0, reader.get(),
            &StreamReader::read, nullptr, reader->seekable ? &StreamReader::seek : nullptr));
        if (!customIo) {
            av_free(buffer);
            return Outcome::OutOfMemory;
        }
        return Outcome::Converted;
    }
#endif
    FFmpeg::Dictionary options;
    QByteArray url;
    if (isStandardInput(path)) {
        url = "pipe:0";
        options.set("protocol_whitelist", "pipe");
    } else {
        url = "file:" + path.toUtf8();
        options.set("protocol_whitelist", "file");
    }
    AVIOContext *io = nullptr;
    if (avio_open2(
            &io, url.constData(), AVIO_FLAG_READ, &input->interrupt_callback, options.address())
        < 0) {
        return stopRequested() ? Outcome::Stopped : Outcome::CannotOpenVideo;
    }
    openedIo.reset(io);
    return Outcome::Converted;
}

namespace {

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

Outcome MediaInput::open(const QString &path, BitDepth depth, const std::atomic_bool *stopFlag)
{
    stop = stopFlag;
    const Outcome demuxer = openDemuxer(path);
    if (demuxer != Outcome::Converted)
        return stopped ? Outcome::Stopped : demuxer;
    return openDecoder(depth);
}

Outcome MediaInput::openDemuxer(const QString &path)
{
    if (!input.allocate())
        return Outcome::OutOfMemory;
    input->interrupt_callback.callback = &MediaInput::interruptCallback;
    input->interrupt_callback.opaque = this;

    // A folder opens for reading on some systems and then reads nothing.
    if (QFileInfo(path).isDir())
        return Outcome::CannotOpenVideo;
    if (const Outcome opened = openStream(path); opened != Outcome::Converted)
        return opened;
    AVIOContext *io = customIo ? customIo.get() : openedIo.get();

    // The demuxer is chosen from the first bytes before it opens anything: a
    // concat script naming itself would otherwise recurse until the process
    // runs out of file descriptors. The probe's bytes stay in the context's
    // buffer, and the demuxer reads them again.
    const QByteArray name = path.toUtf8();
    const AVInputFormat *format = nullptr;
    if (av_probe_input_buffer2(io, &format, name.constData(), nullptr, 0, 0) < 0)
        return Outcome::NotAVideo;
    if (!format || isRefusedDemuxer(format->name))
        return Outcome::NotAVideo;
    input->pb = io;
    input->flags |= AVFMT_FLAG_CUSTOM_IO;
    FFmpeg::Dictionary options;
    options.set("protocol_whitelist", "file");
    if (input.open(name.constData(), format, options.address()) != 0)
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

MediaInput::FrameRates MediaInput::frameRates() const
{
    const AVStream *video = stream();
    FrameRates rates {video->avg_frame_rate, video->r_frame_rate};
#if LIBAVCODEC_VERSION_INT >= AV_VERSION_INT(60, 30, 100)
    // A demuxer that reads no times (raw H.264 and other elementary streams)
    // reports its own default rate (25) as the average and the field rate as
    // the real one; the rate the stream's headers give is in its parameters.
    const AVRational stated = video->codecpar->framerate;
    if ((input->iformat->flags & AVFMT_NOTIMESTAMPS) && stated.num > 0 && stated.den > 0)
        rates = {stated, stated};
#endif
    return rates;
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

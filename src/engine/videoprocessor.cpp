#include "videoprocessor.h"

#include "extractionrules.h"
#include "ffmpegholders.h"
#include "frameconverter.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QThread>
#include <QTransform>

#include <atomic>

using namespace ExtractionRules;

struct VideoProcessor::Job
{
    quint64 id = 0;
    QString videoPath;
    QString outputPath;
    int frameRate = 1;
    int quality = 0;
    QString format;
    int bitDepth = 2;
    QString namingPattern;
    // Each job has its own flag, so a new job never revives a stopped one.
    std::atomic_bool cancelled {false};
};

namespace {

struct IoContextDeleter
{
    void operator()(AVIOContext *io) const { avio_closep(&io); }
};
using IoContextPtr = std::unique_ptr<AVIOContext, IoContextDeleter>;

// Opens the chosen file as one local media file. Only the file protocol is
// allowed for anything the demuxer opens, and demuxers that follow names
// inside the file (playlists, concatenation scripts) are refused before
// they read anything: a concat script naming itself would otherwise recurse
// until the process runs out of file descriptors.
bool openLocalMedia(FFmpeg::FormatContext &input, const QString &path)
{
    const QByteArray url = "file:" + path.toUtf8();

    const AVInputFormat *format = nullptr;
    {
        FFmpeg::Dictionary options;
        options.set("protocol_whitelist", "file");
        AVIOContext *rawIo = nullptr;
        if (avio_open2(&rawIo, url.constData(), AVIO_FLAG_READ, nullptr, options.address()) < 0)
            return false;
        IoContextPtr io(rawIo);
        if (av_probe_input_buffer2(io.get(), &format, url.constData(), nullptr, 0, 0) < 0)
            return false;
    }
    if (!format || isRefusedDemuxer(format->name))
        return false;

    FFmpeg::Dictionary options;
    options.set("protocol_whitelist", "file");
    return input.open(url.constData(), format, options.address()) == 0;
}

// The stream's display matrix; nullptr without one.
const int32_t *displayMatrix(const AVStream *stream)
{
#if LIBAVCODEC_VERSION_INT >= AV_VERSION_INT(60, 30, 100)
    const AVPacketSideData *sideData = av_packet_side_data_get(stream->codecpar->coded_side_data,
        stream->codecpar->nb_coded_side_data, AV_PKT_DATA_DISPLAYMATRIX);
    if (sideData && sideData->size >= 9 * sizeof(int32_t))
        return reinterpret_cast<const int32_t *>(sideData->data);
#else
    size_t size = 0;
    const uint8_t *data = av_stream_get_side_data(stream, AV_PKT_DATA_DISPLAYMATRIX, &size);
    if (data && size >= 9 * sizeof(int32_t))
        return reinterpret_cast<const int32_t *>(data);
#endif
    return nullptr;
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

bool openDecoder(AVCodecContext *decoder, const AVCodec *codec)
{
    // A container claiming more would fail the opening; its claim is
    // dropped instead, and each frame's own size is checked as it decodes.
    if (int64_t(decoder->width) * decoder->height > maxPicturePixels
        || int64_t(decoder->coded_width) * decoder->coded_height > maxPicturePixels) {
        decoder->width = decoder->height = 0;
        decoder->coded_width = decoder->coded_height = 0;
    }
    // Automatic thread count; the frames held back by threading come out
    // when the decoder is drained at the end.
    decoder->thread_count = 0;
    decoder->max_pixels = maxPicturePixels;
    return avcodec_open2(decoder, codec, nullptr) >= 0;
}

// A decoder that keeps failing without ever delivering is given up on.
constexpr int maxSuccessiveDecodeErrors = 1000;

// The next frame the decoder has ready. A frame that fails to decode costs
// that frame only: the decoder is asked again until it delivers, needs more
// input or has nothing left (false).
bool receiveFrame(AVCodecContext *decoder, AVFrame *frame)
{
    for (int failures = 0; failures < maxSuccessiveDecodeErrors; ++failures) {
        const int result = avcodec_receive_frame(decoder, frame);
        if (result == 0)
            return true;
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF)
            return false;
    }
    return false;
}

// QImage::save does not look at the final flush, so a small image that sat
// in QFile's buffer on a full disk counted as written. A file that failed is
// removed rather than left cut off.
bool writeImageFile(
    const QImage &image, const QString &filePath, const QByteArray &writerFormat, int quality)
{
    QFile file(filePath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QImageWriter writer(&file, writerFormat);
    writer.setQuality(quality);
    bool ok = writer.write(image) && file.flush();
    file.close();
    ok = ok && file.error() == QFileDevice::NoError;
    if (!ok)
        file.remove();
    return ok;
}

} // namespace

VideoProcessor::VideoProcessor(QObject *parent)
    : QObject(parent)
{
}

VideoProcessor::~VideoProcessor()
{
    stopWorker();
    // Finished, so it can go now; its pending deleteLater goes with it.
    delete worker.data();
}

void VideoProcessor::processVideo(const QString &videoPath, const QString &outputPath,
    int frameRate, int quality, const QString &format, int bitDepth, const QString &namingPattern)
{
    stopWorker();

    auto job = std::make_shared<Job>();
    job->id = ++lastJobId;
    job->videoPath = videoPath;
    job->outputPath = outputPath;
    job->frameRate = frameRate;
    job->quality = quality;
    job->format = format;
    job->bitDepth = bitDepth;
    job->namingPattern = namingPattern;
    currentJob = job;

    QThread *thread = QThread::create([this, job] { runJob(*job); });
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    worker = thread;
    thread->start();
}

void VideoProcessor::cancel()
{
    if (currentJob)
        currentJob->cancelled = true;
}

void VideoProcessor::stopWorker()
{
    cancel();
    if (worker)
        worker->wait();
}

void VideoProcessor::reportProgress(quint64 jobId, int frame, int totalFrames)
{
    QMetaObject::invokeMethod(
        this,
        [this, jobId, frame, totalFrames] {
            if (jobId == lastJobId)
                emit progressChanged(frame, totalFrames);
        },
        Qt::QueuedConnection);
}

void VideoProcessor::reportFinished(quint64 jobId)
{
    QMetaObject::invokeMethod(
        this,
        [this, jobId] {
            if (jobId == lastJobId)
                emit finished();
        },
        Qt::QueuedConnection);
}

void VideoProcessor::reportError(quint64 jobId, const QString &message)
{
    QMetaObject::invokeMethod(
        this,
        [this, jobId, message] {
            if (jobId == lastJobId)
                emit error(message);
        },
        Qt::QueuedConnection);
}

void VideoProcessor::runJob(Job &job)
{
    const bool ok = extractFrames(job);
    if (job.cancelled)
        reportError(job.id, tr("操作已取消"));
    else if (ok)
        reportFinished(job.id);
}

bool VideoProcessor::extractFrames(Job &job)
{
    FFmpeg::NetworkScope network;

    FFmpeg::FormatContext input;
    if (!input.allocate()) {
        reportError(job.id, tr("无法分配格式上下文"));
        return false;
    }
    if (!openLocalMedia(input, job.videoPath)) {
        reportError(job.id, tr("无法打开视频文件"));
        return false;
    }
    if (avformat_find_stream_info(input.get(), nullptr) < 0) {
        reportError(job.id, tr("无法获取流信息"));
        return false;
    }

    const int streamIndex = firstVideoStream(input.get());
    if (streamIndex < 0) {
        reportError(job.id, tr("未找到视频流"));
        return false;
    }
    AVStream *stream = input->streams[streamIndex];

    const AVCodec *codec = findDecoder(stream, bitDepthFromIndex(job.bitDepth));
    if (!codec) {
        reportError(job.id, tr("不支持的编解码器"));
        return false;
    }
    FFmpeg::CodecContextPtr decoder(avcodec_alloc_context3(codec));
    if (!decoder) {
        reportError(job.id, tr("无法分配编解码器上下文"));
        return false;
    }
    if (avcodec_parameters_to_context(decoder.get(), stream->codecpar) < 0) {
        reportError(job.id, tr("无法初始化编解码器上下文"));
        return false;
    }
    if (!openDecoder(decoder.get(), codec)) {
        reportError(job.id, tr("无法打开编解码器"));
        return false;
    }

    QDir outputDir(job.outputPath);
    if (!outputDir.exists() && !outputDir.mkpath(QStringLiteral("."))) {
        reportError(job.id, tr("无法创建输出目录"));
        return false;
    }

    FFmpeg::FramePtr frame(av_frame_alloc());
    FFmpeg::PacketPtr packet(av_packet_alloc());
    if (!frame || !packet) {
        reportError(job.id, tr("无法分配帧或包"));
        return false;
    }

    const int interval
        = samplingInterval(stream->avg_frame_rate, stream->r_frame_rate, job.frameRate);
    const int totalFrames
        = estimatedTotalFrames(stream->nb_frames, input->duration, interval, job.frameRate);
    reportProgress(job.id, 0, totalFrames);

    FrameConverter converter;
    const QTransform orientation = displayTransform(displayMatrix(stream));

    // No seek back to the start: the packets that stream probing read are
    // kept and returned first by av_read_frame. On streams without an index
    // (raw H.264, for one) a seek to 0 fails after reading to the end, and
    // the job would then find nothing left to read.

    int decodedCount = 0;
    int takenCount = 0;
    // Takes every interval-th frame the decoder has ready; false once a
    // frame could not be written.
    const auto takeReadyFrames = [&]() {
        while (receiveFrame(decoder.get(), frame.get())) {
            ++decodedCount;
            if (decodedCount % interval != 0)
                continue;
            ++takenCount;
            if (!convertAndSaveFrame(job, converter, orientation, frame.get(), takenCount))
                return false;
            reportProgress(job.id, takenCount, totalFrames);
            if (job.cancelled)
                break;
        }
        return true;
    };

    int readResult = 0;
    for (;;) {
        readResult = av_read_frame(input.get(), packet.get());
        if (readResult < 0)
            break;
        {
            FFmpeg::PacketPayload payload(packet.get());
            if (job.cancelled)
                break;
            if (packet->stream_index == streamIndex
                && avcodec_send_packet(decoder.get(), packet.get()) == 0 && !takeReadyFrames()) {
                return false;
            }
        }
        if (job.cancelled)
            break;
    }

    if (job.cancelled)
        return false;
    // A truncated file ends with AVERROR_EOF like a complete one; anything
    // else means the rest of the video could not be read.
    if (readResult < 0 && readResult != AVERROR_EOF) {
        reportError(job.id, tr("读取视频数据失败"));
        return false;
    }

    // The decoder holds back frames for reordering and threading; an empty
    // packet makes it hand them out. Its result may be the error of the
    // first frame held back, and the others are still to come.
    avcodec_send_packet(decoder.get(), nullptr);
    if (!takeReadyFrames())
        return false;
    if (job.cancelled)
        return false;
    if (takenCount == 0) {
        reportError(job.id, tr("视频中没有可提取的帧"));
        return false;
    }
    return true;
}

bool VideoProcessor::convertAndSaveFrame(Job &job, FrameConverter &converter,
    const QTransform &orientation, const AVFrame *frame, int frameNumber)
{
    QImage image;
    switch (converter.convert(frame, bitDepthFromIndex(job.bitDepth), &image)) {
    case FrameConverter::Status::Converted:
        break;
    case FrameConverter::Status::FrameAllocationFailed:
        reportError(job.id, tr("无法分配RGB帧"));
        return false;
    case FrameConverter::Status::BufferAllocationFailed:
        reportError(job.id, tr("无法分配图像缓冲区"));
        return false;
    case FrameConverter::Status::ScalerFailed:
        reportError(job.id, tr("无法创建图像转换上下文"));
        return false;
    }
    if (!orientation.isIdentity())
        image = image.transformed(orientation);

    const QString filePath
        = outputFilePath(job.outputPath, job.namingPattern, frameNumber, job.format);
    if (!saveImage(image, filePath, job.format, job.quality, job.bitDepth)) {
        reportError(job.id, tr("无法保存图像: %1").arg(filePath));
        return false;
    }
    return true;
}

bool VideoProcessor::saveImage(
    const QImage &image, const QString &filePath, const QString &format, int quality, int bitDepth)
{
    const QByteArray name = writerFormatName(format);
    QImage written = image;
    int writerQuality = quality;

    const auto convertUnlessAlready = [&written](QImage::Format target) {
        if (written.format() != target)
            written = written.convertToFormat(target);
    };

    if (name == "BMP") {
        switch (bitDepth) {
        case 0:
            convertUnlessAlready(QImage::Format_Grayscale8);
            break;
        case 1:
            written = written.convertToFormat(QImage::Format_RGB888);
            break;
        case 2:
            convertUnlessAlready(QImage::Format_RGB888);
            break;
        case 3:
            convertUnlessAlready(QImage::Format_ARGB32);
            break;
        default:
            break;
        }
    } else if (name == "JPG" || name == "JPEG") {
        if (written.format() != QImage::Format_RGB888
            && written.format() != QImage::Format_Grayscale8) {
            written = written.convertToFormat(QImage::Format_RGB888);
        }
    } else if (name == "PNG") {
        writerQuality = pngCompressionFromQuality(quality);
    } else if (name == "WEBP") {
        // Qt's WebP writer reads an image with padded lines at the wrong
        // stride: garbled colours, and reads past the end of the buffer.
        // It gets a packed copy.
        written = written.copy();
    }

    return writeImageFile(written, filePath, name, writerQuality);
}

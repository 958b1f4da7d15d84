// Frame conversion on frames built in memory: every source layout and size
// a decoder may hand out, into every bit depth. Run under valgrind too (see
// CMakeLists.txt): swscale's vector code writes past the end of rows, which
// only a padded buffer absorbs, and AddressSanitizer cannot see inside the
// library.

#include "frameconverter.h"

#include <QStandardPaths>
#include <QtTest>

#include <cstring>

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/log.h>
}

using namespace Picture;

namespace {

// (200, 50, 50) as BT.601 limited-range YUV.
constexpr int lumaOfRed = 97;
constexpr int blueOfRed = 106;
constexpr int redOfRed = 194;

void fillPlane(AVFrame *frame, int plane, int width, int height, int bytesPerSample, int value)
{
    for (int y = 0; y < height; ++y) {
        uint8_t *row = frame->data[plane] + y * frame->linesize[plane];
        for (int x = 0; x < width; ++x) {
            if (bytesPerSample == 2) {
                const quint16 sample = quint16(value);
                std::memcpy(row + 2 * x, &sample, 2);
            } else {
                row[x] = uint8_t(value);
            }
        }
    }
}

// A frame of one colour: (200, 50, 50), or mid grey for grey formats.
FFmpeg::FramePtr solidFrame(AVPixelFormat format, QSize size)
{
    FFmpeg::FramePtr frame(av_frame_alloc());
    frame->format = format;
    frame->width = size.width();
    frame->height = size.height();
    if (av_frame_get_buffer(frame.get(), 0) < 0)
        return nullptr;
    // swscale reads into the row padding; a decoder leaves it initialised.
    for (AVBufferRef *buffer : frame->buf) {
        if (buffer)
            std::memset(buffer->data, 0, buffer->size);
    }
    const int w = size.width();
    const int h = size.height();
    const int cw = (w + 1) / 2;
    const int ch = (h + 1) / 2;

    switch (format) {
    case AV_PIX_FMT_YUV420P:
    case AV_PIX_FMT_YUVA420P:
        fillPlane(frame.get(), 0, w, h, 1, lumaOfRed);
        fillPlane(frame.get(), 1, cw, ch, 1, blueOfRed);
        fillPlane(frame.get(), 2, cw, ch, 1, redOfRed);
        if (format == AV_PIX_FMT_YUVA420P)
            fillPlane(frame.get(), 3, w, h, 1, 255);
        break;
    case AV_PIX_FMT_YUV444P10LE:
        fillPlane(frame.get(), 0, w, h, 2, lumaOfRed << 2);
        fillPlane(frame.get(), 1, w, h, 2, blueOfRed << 2);
        fillPlane(frame.get(), 2, w, h, 2, redOfRed << 2);
        break;
    case AV_PIX_FMT_NV12:
        fillPlane(frame.get(), 0, w, h, 1, lumaOfRed);
        for (int y = 0; y < ch; ++y) {
            uint8_t *row = frame->data[1] + y * frame->linesize[1];
            for (int x = 0; x < cw; ++x) {
                row[2 * x] = blueOfRed;
                row[2 * x + 1] = redOfRed;
            }
        }
        break;
    case AV_PIX_FMT_GRAY16LE:
        fillPlane(frame.get(), 0, w, h, 2, 0x8080);
        break;
    case AV_PIX_FMT_PAL8: {
        fillPlane(frame.get(), 0, w, h, 1, 0);
        const quint32 entry = 0xffc83232;
        std::memcpy(frame->data[1], &entry, sizeof entry);
        break;
    }
    case AV_PIX_FMT_RGB24:
        for (int y = 0; y < h; ++y) {
            uint8_t *row = frame->data[0] + y * frame->linesize[0];
            for (int x = 0; x < w; ++x) {
                row[3 * x] = 200;
                row[3 * x + 1] = 50;
                row[3 * x + 2] = 50;
            }
        }
        break;
    default:
        return nullptr;
    }
    return frame;
}

} // namespace

Q_DECLARE_METATYPE(AVPixelFormat)

class tst_VideoProcessorConversion : public QObject
{
    Q_OBJECT

public:
    tst_VideoProcessorConversion() { QStandardPaths::setTestModeEnabled(true); }

private slots:
    void initTestCase() { av_log_set_level(AV_LOG_QUIET); }
    void convert_anySizeAndLayoutIntoEveryDepth_data();
    void convert_anySizeAndLayoutIntoEveryDepth();
    void convert_followsSizeChangesBothWays();
    void convert_unsupportedSourceFails();
};

void tst_VideoProcessorConversion::convert_anySizeAndLayoutIntoEveryDepth_data()
{
    QTest::addColumn<AVPixelFormat>("source");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("depth");
    QTest::addColumn<QColor>("colour");

    const QColor red(200, 50, 50);
    const QColor redLuma(95, 95, 95);
    const QColor grey(128, 128, 128);
    const struct
    {
        const char *name;
        AVPixelFormat format;
        QColor colour;
        QColor luma;
    } sources[] = {
        {"yuv420p", AV_PIX_FMT_YUV420P, red, redLuma},
        {"yuva420p", AV_PIX_FMT_YUVA420P, red, redLuma},
        {"yuv444p 10-bit", AV_PIX_FMT_YUV444P10LE, red, redLuma},
        {"nv12", AV_PIX_FMT_NV12, red, redLuma},
        {"gray16", AV_PIX_FMT_GRAY16LE, grey, grey},
        {"pal8", AV_PIX_FMT_PAL8, red, redLuma},
        {"rgb24", AV_PIX_FMT_RGB24, red, redLuma},
    };
    const QSize sizes[] = {{1, 1}, {2, 2}, {3, 3}, {7, 5}, {33, 17}, {64, 2}};
    const char *depthNames[] = {"8-bit", "16-bit", "24-bit", "32-bit"};

    for (const auto &source : sources) {
        for (const QSize &size : sizes) {
            for (int depth = 0; depth < 4; ++depth) {
                QTest::addRow(
                    "%s %dx%d to %s", source.name, size.width(), size.height(), depthNames[depth])
                    << source.format << size << depth << (depth == 0 ? source.luma : source.colour);
            }
        }
    }
}

void tst_VideoProcessorConversion::convert_anySizeAndLayoutIntoEveryDepth()
{
    QFETCH(AVPixelFormat, source);
    QFETCH(QSize, size);
    QFETCH(int, depth);
    QFETCH(QColor, colour);

    const FFmpeg::FramePtr frame = solidFrame(source, size);
    QVERIFY(frame);
    FrameConverter converter;
    QImage image;
    QCOMPARE(converter.convert(frame.get(), bitDepthFromIndex(depth), &image),
        FrameConverter::Status::Converted);

    QCOMPARE(image.size(), size);
    QCOMPARE(image.format(), imageFormatForDepth(bitDepthFromIndex(depth)));
    for (const QPoint &point : {QPoint(0, 0), QPoint(size.width() - 1, size.height() - 1)}) {
        const QColor actual = image.pixelColor(point);
        QVERIFY2(qAbs(actual.red() - colour.red()) <= 4
                && qAbs(actual.green() - colour.green()) <= 4
                && qAbs(actual.blue() - colour.blue()) <= 4 && actual.alpha() == 255,
            qPrintable(QStringLiteral("(%1, %2, %3, %4)")
                           .arg(actual.red())
                           .arg(actual.green())
                           .arg(actual.blue())
                           .arg(actual.alpha())));
    }
}

void tst_VideoProcessorConversion::convert_followsSizeChangesBothWays()
{
    FrameConverter converter;
    for (const QSize &size : {QSize(32, 24), QSize(64, 48), QSize(3, 3), QSize(32, 24)}) {
        const FFmpeg::FramePtr frame = solidFrame(AV_PIX_FMT_YUV420P, size);
        QVERIFY(frame);
        QImage image;
        QCOMPARE(converter.convert(frame.get(), BitDepth::Rgb24, &image),
            FrameConverter::Status::Converted);
        QCOMPARE(image.size(), size);
        const QColor actual = image.pixelColor(size.width() - 1, size.height() - 1);
        QVERIFY(qAbs(actual.red() - 200) <= 4 && qAbs(actual.green() - 50) <= 4);
    }
}

void tst_VideoProcessorConversion::convert_unsupportedSourceFails()
{
    // A frame without a usable pixel format (as a hardware decoder's would
    // be here) cannot be converted.
    const FFmpeg::FramePtr frame = solidFrame(AV_PIX_FMT_YUV420P, QSize(16, 16));
    QVERIFY(frame);
    frame->format = AV_PIX_FMT_VAAPI;
    FrameConverter converter;
    QImage image;
    QCOMPARE(converter.convert(frame.get(), BitDepth::Rgb24, &image),
        FrameConverter::Status::ScalerFailed);
}

QTEST_GUILESS_MAIN(tst_VideoProcessorConversion)
#include "tst_videoprocessor_conversion.moc"

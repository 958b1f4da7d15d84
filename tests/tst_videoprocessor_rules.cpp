// The engine's rules for inputs that no generated video can have: frame
// rates of zero, unknown durations, frame numbers past six digits, display
// matrices at odd angles.

#include "colourrules.h"
#include "extractionpipeline.h"
#include "imageformats.h"
#include "imagenaming.h"
#include "mediainput.h"
#include "orientation.h"
#include "samplingrules.h"

#include <QStandardPaths>
#include <QtMath>
#include <QtTest>

#include <cmath>

extern "C" {
#include <libavutil/avutil.h>
#include <libswscale/swscale.h>
}

using namespace Picture;
using namespace Sampling;
using namespace ImageFormats;
using ImageNaming::outputFilePath;

Q_DECLARE_METATYPE(AVRational)

class tst_VideoProcessorRules : public QObject
{
    Q_OBJECT

public:
    tst_VideoProcessorRules() { QStandardPaths::setTestModeEnabled(true); }

private slots:
    void samplingInterval_followsSourceRate_data();
    void samplingInterval_followsSourceRate();
    void estimate_fallsBackWhenUnknown_data();
    void estimate_fallsBackWhenUnknown();
    void outputFilePath_insertsPartsLiterally_data();
    void outputFilePath_insertsPartsLiterally();
    void pngCompression_scalesQuality_data();
    void pngCompression_scalesQuality();
    void quarterTurns_roundToNearest_data();
    void quarterTurns_roundToNearest();
    void displayTransform_mirrorsThenTurns_data();
    void displayTransform_mirrorsThenTurns();
    void colourMatrix_followsTagsOrHeight_data();
    void colourMatrix_followsTagsOrHeight();
    void fullRange_onlyWhenTaggedOrJpegFormat_data();
    void fullRange_onlyWhenTaggedOrJpegFormat();
    void demuxers_refusedWhenTheyFollowNames_data();
    void demuxers_refusedWhenTheyFollowNames();
    void automaticWriters_stayWithinMemoryBudget_data();
    void automaticWriters_stayWithinMemoryBudget();
};

void tst_VideoProcessorRules::samplingInterval_followsSourceRate_data()
{
    QTest::addColumn<AVRational>("average");
    QTest::addColumn<AVRational>("real");
    QTest::addColumn<int>("frameRate");
    QTest::addColumn<int>("interval");

    QTest::newRow("30 fps at 5 takes every 6th")
        << AVRational {30, 1} << AVRational {30, 1} << 5 << 6;
    QTest::newRow("25 fps at 10 truncates 2.5 to 2")
        << AVRational {25, 1} << AVRational {25, 1} << 10 << 2;
    QTest::newRow("24 fps at 30 takes every frame")
        << AVRational {24, 1} << AVRational {24, 1} << 30 << 1;
    QTest::newRow("29.97 fps at 1 takes every 29th")
        << AVRational {30000, 1001} << AVRational {30000, 1001} << 1 << 29;
    QTest::newRow("no average rate uses the real rate")
        << AVRational {0, 1} << AVRational {24, 1} << 4 << 6;
    QTest::newRow("no rate at all assumes 30") << AVRational {0, 1} << AVRational {0, 1} << 5 << 6;
    QTest::newRow("zero denominator is not a number: every frame")
        << AVRational {30, 0} << AVRational {24, 1} << 5 << 1;
    QTest::newRow("0/0 is not a number: every frame")
        << AVRational {0, 0} << AVRational {24, 1} << 5 << 1;
    QTest::newRow("negative average falls back")
        << AVRational {-25, 1} << AVRational {50, 1} << 10 << 5;
    QTest::newRow("FLV time base as average uses the real rate")
        << AVRational {1000, 1} << AVRational {60, 1} << 60 << 1;
    QTest::newRow("absurd rate stays an int")
        << AVRational {INT_MAX, 1} << AVRational {INT_MAX, 1} << 1 << INT_MAX;
}

void tst_VideoProcessorRules::samplingInterval_followsSourceRate()
{
    QFETCH(AVRational, average);
    QFETCH(AVRational, real);
    QFETCH(int, frameRate);
    QFETCH(int, interval);

    QCOMPARE(samplingInterval(average, real, frameRate), interval);
}

void tst_VideoProcessorRules::estimate_fallsBackWhenUnknown_data()
{
    QTest::addColumn<qint64>("streamFrames");
    QTest::addColumn<qint64>("durationUs");
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("frameRate");
    QTest::addColumn<int>("estimate");

    QTest::newRow("300 frames every 6th") << qint64(300) << qint64(10000000) << 6 << 5 << 50;
    QTest::newRow("frame count wins over duration")
        << qint64(90) << qint64(99000000) << 3 << 10 << 30;
    QTest::newRow("no frame count: duration 12.5 s at 5")
        << qint64(0) << qint64(12500000) << 6 << 5 << 62;
    QTest::newRow("no frame count, no duration")
        << qint64(0) << qint64(AV_NOPTS_VALUE) << 6 << 5 << 1000;
    QTest::newRow("fewer frames than the interval: the first frame")
        << qint64(4) << qint64(10000000) << 6 << 5 << 1;
    QTest::newRow("duration too short for one step: the first frame")
        << qint64(0) << qint64(100000) << 1 << 5 << 1;
    QTest::newRow("zero duration is unknown") << qint64(0) << qint64(0) << 1 << 5 << 1000;
    QTest::newRow("negative frame count uses duration")
        << qint64(-1) << qint64(2000000) << 1 << 3 << 6;
}

void tst_VideoProcessorRules::estimate_fallsBackWhenUnknown()
{
    QFETCH(qint64, streamFrames);
    QFETCH(qint64, durationUs);
    QFETCH(int, interval);
    QFETCH(int, frameRate);
    QFETCH(int, estimate);

    QCOMPARE(estimatedTotalFrames(streamFrames, durationUs, interval, frameRate), estimate);
}

void tst_VideoProcessorRules::outputFilePath_insertsPartsLiterally_data()
{
    QTest::addColumn<QString>("directory");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("path");

    QTest::newRow("first JPG") << "D:/out"
                               << "frame_%1" << 1 << "JPG"
                               << "D:/out/frame_000001.jpg";
    QTest::newRow("six digits are a minimum") << "D:/out"
                                              << "frame_%1" << 1234567 << "PNG"
                                              << "D:/out/frame_1234567.png";
    QTest::newRow("mixed-case format gives lower-case extension") << "/o"
                                                                  << "image_%1" << 12 << "WebP"
                                                                  << "/o/image_000012.webp";
    QTest::newRow("custom stem") << "/o"
                                 << "clip_%1" << 1 << "PNG"
                                 << "/o/clip_000001.png";
    QTest::newRow("marker in the directory stays") << "D:/100%1"
                                                   << "frame_%1" << 3 << "TIFF"
                                                   << "D:/100%1/frame_000003.tiff";
    QTest::newRow("other markers in the directory stay") << "/a%2b%3"
                                                         << "video_%1" << 7 << "BMP"
                                                         << "/a%2b%3/video_000007.bmp";
    QTest::newRow("every marker in the pattern") << "/o"
                                                 << "%1_of_%1" << 5 << "PPM"
                                                 << "/o/000005_of_000005.ppm";
    QTest::newRow("trailing slash kept") << "/o/"
                                         << "frame_%1" << 2 << "JPEG"
                                         << "/o//frame_000002.jpeg";
}

void tst_VideoProcessorRules::outputFilePath_insertsPartsLiterally()
{
    QFETCH(QString, directory);
    QFETCH(QString, pattern);
    QFETCH(int, number);
    QFETCH(QString, format);
    QFETCH(QString, path);

    QCOMPARE(outputFilePath(directory, pattern, number, format), path);
    QCOMPARE(writerFormatName(format), format.toUpper().toLatin1());
}

void tst_VideoProcessorRules::pngCompression_scalesQuality_data()
{
    QTest::addColumn<int>("quality");
    QTest::addColumn<int>("level");

    QTest::newRow("90") << 90 << 8;
    QTest::newRow("100") << 100 << 9;
    QTest::newRow("1") << 1 << 0;
    QTest::newRow("11") << 11 << 0;
    QTest::newRow("12") << 12 << 1;
}

void tst_VideoProcessorRules::pngCompression_scalesQuality()
{
    QFETCH(int, quality);
    QFETCH(int, level);

    QCOMPARE(pngCompressionFromQuality(quality), level);
}

void tst_VideoProcessorRules::quarterTurns_roundToNearest_data()
{
    QTest::addColumn<double>("counterClockwise");
    QTest::addColumn<int>("turns");

    QTest::newRow("none") << 0.0 << 0;
    QTest::newRow("portrait phone: -90 turns clockwise once") << -90.0 << 1;
    QTest::newRow("90 counter-clockwise turns clockwise three times") << 90.0 << 3;
    QTest::newRow("upside down") << 180.0 << 2;
    QTest::newRow("-180 is upside down too") << -180.0 << 2;
    QTest::newRow("-80 rounds to a quarter") << -80.0 << 1;
    QTest::newRow("30 rounds to none") << 30.0 << 0;
    QTest::newRow("no matrix") << qQNaN() << 0;
}

void tst_VideoProcessorRules::quarterTurns_roundToNearest()
{
    QFETCH(double, counterClockwise);
    QFETCH(int, turns);

    QCOMPARE(clockwiseQuarterTurns(counterClockwise), turns);
}

void tst_VideoProcessorRules::displayTransform_mirrorsThenTurns_data()
{
    // The upper-left 2x2 of the display matrix, empty for none.
    QTest::addColumn<QList<double>>("matrix");
    // Where the picture's right and down directions end up.
    QTest::addColumn<QPoint>("right");
    QTest::addColumn<QPoint>("down");

    const double c = std::cos(qDegreesToRadians(80.0));
    const double s = std::sin(qDegreesToRadians(80.0));
    QTest::newRow("no matrix") << QList<double>() << QPoint(1, 0) << QPoint(0, 1);
    QTest::newRow("all zero: ignored")
        << QList<double> {0, 0, 0, 0} << QPoint(1, 0) << QPoint(0, 1);
    QTest::newRow("portrait phone: a quarter clockwise")
        << QList<double> {0, 1, -1, 0} << QPoint(0, 1) << QPoint(-1, 0);
    QTest::newRow("mirrored") << QList<double> {-1, 0, 0, 1} << QPoint(-1, 0) << QPoint(0, 1);
    QTest::newRow("mirrored upside down")
        << QList<double> {1, 0, 0, -1} << QPoint(1, 0) << QPoint(0, -1);
    QTest::newRow("turned and mirrored: transposed")
        << QList<double> {0, 1, 1, 0} << QPoint(0, 1) << QPoint(1, 0);
    QTest::newRow("80 degrees and mirrored rounds to transposed")
        << QList<double> {-c, s, s, c} << QPoint(0, 1) << QPoint(1, 0);
    QTest::newRow("scaled rotation keeps its turn")
        << QList<double> {0, 2, -2, 0} << QPoint(0, 1) << QPoint(-1, 0);
}

void tst_VideoProcessorRules::displayTransform_mirrorsThenTurns()
{
    QFETCH(QList<double>, matrix);
    QFETCH(QPoint, right);
    QFETCH(QPoint, down);

    int32_t fixed[9] = {0, 0, 0, 0, 0, 0, 0, 0, 1 << 30};
    for (int i = 0; i < matrix.size(); ++i)
        fixed[i < 2 ? i : i + 1] = int32_t(std::lround(matrix[i] * 65536));
    const QTransform transform = displayTransform(matrix.isEmpty() ? nullptr : fixed);
    QCOMPARE(transform.map(QPointF(1, 0)).toPoint(), right);
    QCOMPARE(transform.map(QPointF(0, 1)).toPoint(), down);
}

void tst_VideoProcessorRules::colourMatrix_followsTagsOrHeight_data()
{
    QTest::addColumn<int>("colorspace");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("matrix");

    QTest::newRow("BT.709 tag on SD") << int(AVCOL_SPC_BT709) << 480 << SWS_CS_ITU709;
    QTest::newRow("BT.601 tag on HD") << int(AVCOL_SPC_SMPTE170M) << 1080 << SWS_CS_ITU601;
    QTest::newRow("BT.470BG tag") << int(AVCOL_SPC_BT470BG) << 1080 << SWS_CS_ITU601;
    QTest::newRow("BT.2020 tag") << int(AVCOL_SPC_BT2020_NCL) << 2160 << SWS_CS_BT2020;
    QTest::newRow("untagged 576 lines") << int(AVCOL_SPC_UNSPECIFIED) << 576 << SWS_CS_ITU601;
    QTest::newRow("untagged 719 lines") << int(AVCOL_SPC_UNSPECIFIED) << 719 << SWS_CS_ITU601;
    QTest::newRow("untagged 720 lines") << int(AVCOL_SPC_UNSPECIFIED) << 720 << SWS_CS_ITU709;
}

void tst_VideoProcessorRules::colourMatrix_followsTagsOrHeight()
{
    QFETCH(int, colorspace);
    QFETCH(int, height);
    QFETCH(int, matrix);

    QCOMPARE(swsColorspace(AVColorSpace(colorspace), height), matrix);
}

void tst_VideoProcessorRules::fullRange_onlyWhenTaggedOrJpegFormat_data()
{
    QTest::addColumn<int>("range");
    QTest::addColumn<int>("format");
    QTest::addColumn<bool>("full");

    QTest::newRow("untagged yuv420p")
        << int(AVCOL_RANGE_UNSPECIFIED) << int(AV_PIX_FMT_YUV420P) << false;
    QTest::newRow("tagged full") << int(AVCOL_RANGE_JPEG) << int(AV_PIX_FMT_YUV420P) << true;
    QTest::newRow("tagged limited") << int(AVCOL_RANGE_MPEG) << int(AV_PIX_FMT_YUV420P) << false;
    QTest::newRow("untagged yuvj420p")
        << int(AVCOL_RANGE_UNSPECIFIED) << int(AV_PIX_FMT_YUVJ420P) << true;
    QTest::newRow("yuvj444p tagged limited is still full")
        << int(AVCOL_RANGE_MPEG) << int(AV_PIX_FMT_YUVJ444P) << true;
}

void tst_VideoProcessorRules::fullRange_onlyWhenTaggedOrJpegFormat()
{
    QFETCH(int, range);
    QFETCH(int, format);
    QFETCH(bool, full);

    QCOMPARE(isFullRange(AVColorRange(range), AVPixelFormat(format)), full);
}

void tst_VideoProcessorRules::demuxers_refusedWhenTheyFollowNames_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<bool>("refused");

    QTest::newRow("concat") << QByteArray("concat") << true;
    QTest::newRow("hls") << QByteArray("hls") << true;
    QTest::newRow("dash") << QByteArray("dash") << true;
    QTest::newRow("sdp") << QByteArray("sdp") << true;
    QTest::newRow("imf") << QByteArray("imf") << true;
    QTest::newRow("mp4 family") << QByteArray("mov,mp4,m4a,3gp,3g2,mj2") << false;
    QTest::newRow("matroska") << QByteArray("matroska,webm") << false;
    QTest::newRow("listed among others") << QByteArray("x,hls") << true;
    QTest::newRow("prefix is not a match") << QByteArray("hlsx") << false;
}

void tst_VideoProcessorRules::demuxers_refusedWhenTheyFollowNames()
{
    QFETCH(QByteArray, name);
    QFETCH(bool, refused);

    QCOMPARE(MediaInput::isRefusedDemuxer(name.constData()), refused);
}

void tst_VideoProcessorRules::automaticWriters_stayWithinMemoryBudget_data()
{
    QTest::addColumn<int>("cores");
    QTest::addColumn<qint64>("frameBytes");
    QTest::addColumn<qint64>("imageBytes");
    QTest::addColumn<int>("writers");

    const qint64 budget = 768ll << 20;
    const qint64 uhdFrame = 4096ll * 2160 * 3 / 2;
    QTest::newRow("1080p RGB on 16 cores: one per core")
        << 16 << 1920ll * 1080 * 3 / 2 << 1920ll * 1080 * 3 << 16;
    QTest::newRow("4K RGB on 16 cores: as many as fit")
        << 16 << uhdFrame << 4096ll * 2160 * 3
        << int(budget / (2 * (uhdFrame + 4096ll * 2160 * 3)));
    QTest::newRow("4K 16-bit on 16 cores: fewer still")
        << 16 << uhdFrame << 4096ll * 2160 * 8
        << int(budget / (2 * (uhdFrame + 4096ll * 2160 * 8)));
    QTest::newRow("a frame beyond the budget: still one writer") << 8 << budget << budget << 1;
    QTest::newRow("size unknown: one per core") << 4 << 0ll << 0ll << 4;
    QTest::newRow("no core count: one writer") << 0 << 0ll << 0ll << 1;
}

void tst_VideoProcessorRules::automaticWriters_stayWithinMemoryBudget()
{
    QFETCH(int, cores);
    QFETCH(qint64, frameBytes);
    QFETCH(qint64, imageBytes);
    QFETCH(int, writers);
    QCOMPARE(ExtractionPipeline::automaticWriterCount(cores, frameBytes, imageBytes, 768ll << 20),
        writers);
}

QTEST_GUILESS_MAIN(tst_VideoProcessorRules)
#include "tst_videoprocessor_rules.moc"

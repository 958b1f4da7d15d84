// The picture a job writes, shaped for its use: the output size, the
// deinterlacing of interlaced frames, and the JPEG and WebP files encoded
// from YUV planes against what Qt's writers make of the same picture.

#include "pictureshape.h"
#include "videofixture.h"

#include <QBuffer>
#include <QImageWriter>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace VideoFixture;

namespace {

ExtractionJob jobFor(const QString &clip, const QString &out, const QString &format)
{
    ExtractionJob job;
    job.videoPath = clip;
    job.outputPath = out;
    job.format = format;
    // Every frame of the clips here.
    job.selection.frameRate = 60;
    return job;
}

QImage firstImage(const QString &directory)
{
    const QStringList files = imageFiles(directory);
    return files.isEmpty() ? QImage() : QImage(directory + '/' + files.first());
}

QString describe(const QSize &size)
{
    return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

} // namespace

class tst_PictureShape : public QObject
{
    Q_OBJECT

public:
    tst_PictureShape() { QStandardPaths::setTestModeEnabled(true); }

private slots:
    void initTestCase();

    void fittedSize_keepsShape_data();
    void fittedSize_keepsShape();
    void convertedSize_followsPixelsAndTurn_data();
    void convertedSize_followsPixelsAndTurn();
    void job_writesRequestedSize_data();
    void job_writesRequestedSize();
    void job_refusesBadSize_data();
    void job_refusesBadSize();
    void scaledPicture_matchesFfmpegScale_data();
    void scaledPicture_matchesFfmpegScale();
    void deinterlace_followsMode_data();
    void deinterlace_followsMode();
    void yuvEncoders_keepQtWritersSizeAndQuality_data();
    void yuvEncoders_keepQtWritersSizeAndQuality();

private:
    QString clip(const QString &name);
    QTemporaryDir dir;
    int counter = 0;
    QString freshDir() { return dir.filePath(QStringLiteral("out%1").arg(++counter)); }
};

void tst_PictureShape::initTestCase()
{
    silenceFfmpeg();
    QVERIFY(dir.isValid());
}

// The clips, made the first time a test asks for them.
QString tst_PictureShape::clip(const QString &name)
{
    const QString path = dir.filePath(name);
    if (QFile::exists(path))
        return path;
    QStringList arguments;
    if (name == "hd.mp4") {
        arguments
            = testClip(path, "1920x1080", 0.2, 10, {"-c:v", "libx264", "-preset", "ultrafast"});
    } else if (name == "hd_soft.mp4") {
        // Soft edges: what JPEG's half-resolution chroma keeps.
        arguments = {"-f", "lavfi", "-i", "testsrc2=size=1920x1080:rate=10,boxblur=12", "-t", "0.2",
            "-pix_fmt", "yuv420p", "-c:v", "libx264", "-qp", "0", "-preset", "ultrafast", path};
    } else if (name == "wide_pixels.mp4") {
        // Stored 640x360 with pixels twice as wide as high: 1280x360 as shown.
        arguments = {"-f", "lavfi", "-i", "testsrc2=size=640x360:rate=10,setsar=2/1", "-t", "0.2",
            "-pix_fmt", "yuv420p", "-c:v", "libx264", "-preset", "ultrafast", path};
    } else if (name == "stored.mp4") {
        arguments = testClip(path, "320x240", 0.2, 10, {"-c:v", "libx264", "-preset", "ultrafast"});
    } else if (name == "sideways.mp4") {
        const QString stored = clip("stored.mp4");
        // Newer ffmpeg programs take the turn as an input option, FFmpeg 5's as a tag.
        if (!VideoFixture::ffmpeg({"-display_rotation", "90", "-i", stored, "-c", "copy", path})
                 .isEmpty()) {
            arguments = {"-i", stored, "-c", "copy", "-metadata:s:v:0", "rotate=90", path};
        }
    } else if (name == "progressive.mkv") {
        // Everything moves: a picture made of one field shows it at once.
        arguments = {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=50,scroll=h=0.005",
            "-frames:v", "12", "-pix_fmt", "yuv420p", "-c:v", "ffv1", path};
    } else if (name == "interlaced.mp4") {
        // Each frame weaves the top field of one progressive frame with the
        // bottom field of the next.
        arguments = {"-i", clip("progressive.mkv"), "-vf", "tinterlace=interleave_top,setfield=tff",
            "-c:v", "libx264", "-flags", "+ilme+ildct", "-qp", "0", "-pix_fmt", "yuv420p", path};
    } else if (name == "progressive.mp4") {
        arguments = {"-i", clip("progressive.mkv"), "-vf", "select=not(mod(n\\,2))", "-fps_mode",
            "passthrough", "-c:v", "libx264", "-qp", "0", "-pix_fmt", "yuv420p", path};
    } else if (name == "pattern.mp4") {
        arguments = testClip(path, "320x240", 0.3, 10, {"-c:v", "libx264", "-qp", "0"});
    }
    if (!arguments.isEmpty()) {
        const QString problem = VideoFixture::ffmpeg(arguments);
        if (!problem.isEmpty())
            qWarning("%s: %s", qPrintable(name), qPrintable(problem));
    }
    return path;
}

void tst_PictureShape::fittedSize_keepsShape_data()
{
    QTest::addColumn<QSize>("shown");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QSize>("expected");

    QTest::newRow("nothing asked keeps the size")
        << QSize(1920, 1080) << 0 << 0 << QSize(1920, 1080);
    QTest::newRow("width alone keeps the shape")
        << QSize(1920, 1080) << 640 << 0 << QSize(640, 360);
    QTest::newRow("height alone keeps the shape")
        << QSize(1920, 1080) << 0 << 270 << QSize(480, 270);
    QTest::newRow("a square box fits the wide side")
        << QSize(1920, 1080) << 500 << 500 << QSize(500, 281);
    QTest::newRow("a wide box fits the height")
        << QSize(1920, 1080) << 1000 << 100 << QSize(178, 100);
    QTest::newRow("rounded to the nearest pixel, up")
        << QSize(1000, 333) << 500 << 0 << QSize(500, 167);
    QTest::newRow("rounded to the nearest pixel, down")
        << QSize(1000, 331) << 500 << 0 << QSize(500, 166);
    QTest::newRow("never below one pixel") << QSize(4000, 10) << 100 << 0 << QSize(100, 1);
    QTest::newRow("larger than the picture") << QSize(320, 240) << 640 << 0 << QSize(640, 480);
    QTest::newRow("the exact shape of the box") << QSize(640, 480) << 320 << 240 << QSize(320, 240);
    QTest::newRow("the largest side") << QSize(1, 1) << 0 << 16384 << QSize(16384, 16384);
}

void tst_PictureShape::fittedSize_keepsShape()
{
    QFETCH(QSize, shown);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QSize, expected);

    QCOMPARE(Picture::fittedSize(shown, width, height), expected);
}

void tst_PictureShape::convertedSize_followsPixelsAndTurn_data()
{
    QTest::addColumn<QSize>("stored");
    QTest::addColumn<int>("aspectNum");
    QTest::addColumn<int>("aspectDen");
    QTest::addColumn<bool>("sideways");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QSize>("expected");

    QTest::newRow("square pixels, nothing asked")
        << QSize(640, 360) << 1 << 1 << false << 0 << 0 << QSize(640, 360);
    QTest::newRow("2:1 pixels are stretched")
        << QSize(640, 360) << 2 << 1 << false << 0 << 0 << QSize(1280, 360);
    QTest::newRow("2:1 pixels, width as shown")
        << QSize(640, 360) << 2 << 1 << false << 640 << 0 << QSize(640, 180);
    QTest::newRow("turned: height as shown is the stored width")
        << QSize(320, 240) << 1 << 1 << true << 0 << 160 << QSize(160, 120);
    QTest::newRow("turned: nothing asked")
        << QSize(320, 240) << 1 << 1 << true << 0 << 0 << QSize(320, 240);
    QTest::newRow("turned with wide pixels")
        << QSize(320, 240) << 2 << 1 << true << 120 << 0 << QSize(320, 120);
    QTest::newRow("unknown ratio counts as square")
        << QSize(640, 360) << 0 << 1 << false << 320 << 0 << QSize(320, 180);
}

void tst_PictureShape::convertedSize_followsPixelsAndTurn()
{
    QFETCH(QSize, stored);
    QFETCH(int, aspectNum);
    QFETCH(int, aspectDen);
    QFETCH(bool, sideways);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QSize, expected);

    QCOMPARE(Picture::convertedSize(stored.width(), stored.height(),
                 AVRational {aspectNum, aspectDen}, sideways, width, height),
        expected);
}

void tst_PictureShape::job_writesRequestedSize_data()
{
    QTest::addColumn<QString>("clipName");
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QSize>("expected");

    for (const char *format : {"JPG", "PNG"}) {
        QTest::addRow("%s: 1920x1080, width 640", format)
            << "hd.mp4" << format << 640 << 0 << QSize(640, 360);
        QTest::addRow("%s: 1920x1080, height 270", format)
            << "hd.mp4" << format << 0 << 270 << QSize(480, 270);
        QTest::addRow("%s: 1920x1080 into 500x500", format)
            << "hd.mp4" << format << 500 << 500 << QSize(500, 281);
        QTest::addRow("%s: turned 320x240, height 160", format)
            << "sideways.mp4" << format << 0 << 160 << QSize(120, 160);
        QTest::addRow("%s: 2:1 pixels, width 640", format)
            << "wide_pixels.mp4" << format << 640 << 0 << QSize(640, 180);
        QTest::addRow("%s: odd size", format) << "stored.mp4" << format << 33 << 0 << QSize(33, 25);
        QTest::addRow("%s: larger than stored", format)
            << "stored.mp4" << format << 640 << 0 << QSize(640, 480);
    }
    QTest::newRow("WebP: 1920x1080, width 640") << "hd.mp4"
                                                << "WebP" << 640 << 0 << QSize(640, 360);
    QTest::newRow("BMP: turned, width 60") << "sideways.mp4"
                                           << "BMP" << 60 << 0 << QSize(60, 80);
}

void tst_PictureShape::job_writesRequestedSize()
{
    QFETCH(QString, clipName);
    QFETCH(QString, format);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QSize, expected);

    if (format == "WebP" && !QImageWriter::supportedImageFormats().contains("webp"))
        QSKIP("This Qt writes no WebP");
    const QString video = clip(clipName);
    QVERIFY2(QFile::exists(video), qPrintable(clipName));
    const QString out = freshDir();
    ExtractionJob job = jobFor(video, out, format);
    if (width > 0)
        job.width = width;
    if (height > 0)
        job.height = height;
    QCOMPARE(runJob(job).last(), "finished");
    const QStringList files = imageFiles(out);
    QVERIFY(!files.isEmpty());
    for (const QString &file : files) {
        const QImage image(out + '/' + file);
        QVERIFY2(image.size() == expected, qPrintable(file + ": " + describe(image.size())));
    }
}

void tst_PictureShape::job_refusesBadSize_data()
{
    QTest::addColumn<std::optional<int>>("width");
    QTest::addColumn<std::optional<int>>("height");
    QTest::addColumn<QString>("named");

    const std::optional<int> free;
    QTest::newRow("zero width") << std::optional(0) << free << "--width";
    QTest::newRow("zero height") << free << std::optional(0) << "--height";
    QTest::newRow("negative width") << std::optional(-1) << free << "--width";
    QTest::newRow("negative height, width fine")
        << std::optional(320) << std::optional(-320) << "--height";
    QTest::newRow("width past the largest") << std::optional(16385) << free << "--width";
    QTest::newRow("height past the largest") << free << std::optional(16385) << "--height";
    QTest::newRow("both far out") << std::optional(INT_MAX) << std::optional(INT_MIN) << "--width";
}

void tst_PictureShape::job_refusesBadSize()
{
    QFETCH(std::optional<int>, width);
    QFETCH(std::optional<int>, height);
    QFETCH(QString, named);

    const QString out = freshDir();
    ExtractionJob job = jobFor(clip("stored.mp4"), out, "PNG");
    job.width = width;
    job.height = height;
    const QStringList events = runJob(job);
    QCOMPARE(endings(events), 1);
    QVERIFY2(events.last().startsWith("error " + named + ' '), qPrintable(events.last()));
    QVERIFY(!QFileInfo::exists(out));
}

void tst_PictureShape::scaledPicture_matchesFfmpegScale_data()
{
    QTest::addColumn<QString>("clipName");
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("quality");
    QTest::addColumn<int>("width");

    QTest::newRow("PNG down to a third") << "hd.mp4"
                                         << "PNG" << 90 << 640;
    QTest::newRow("PNG down to an odd size") << "hd.mp4"
                                             << "PNG" << 90 << 333;
    QTest::newRow("PNG up") << "hd.mp4"
                            << "PNG" << 90 << 2560;
    QTest::newRow("JPG down to a third") << "hd_soft.mp4"
                                         << "JPG" << 95 << 640;
    QTest::newRow("JPG down to an odd size") << "hd_soft.mp4"
                                             << "JPG" << 95 << 333;
    QTest::newRow("JPG down to a fifth") << "hd_soft.mp4"
                                         << "JPG" << 95 << 384;
}

void tst_PictureShape::scaledPicture_matchesFfmpegScale()
{
    QFETCH(QString, clipName);
    QFETCH(QString, format);
    QFETCH(int, quality);
    QFETCH(int, width);

    const QString video = clip(clipName);
    const QString out = freshDir();
    ExtractionJob job = jobFor(video, out, format);
    job.quality = quality;
    job.width = width;
    QCOMPARE(runJob(job).last(), "finished");
    const QImage image = firstImage(out);

    // The same frame through ffmpeg's scale filter, read with the matrix
    // untagged HD video has.
    const QString reference = dir.filePath(QStringLiteral("scaled_%1.png").arg(++counter));
    MAKE_CLIP({"-i", video, "-frames:v", "1", "-vf",
        QStringLiteral("scale=%1:-1:flags=bicubic:in_color_matrix=bt709,format=rgb24").arg(width),
        reference});
    const QImage expected(reference);
    QCOMPARE(image.size(), expected.size());
    const double ratio = psnr(image, expected);
    QVERIFY2(ratio >= 35, qPrintable(QStringLiteral("PSNR %1 dB").arg(ratio)));
}

void tst_PictureShape::deinterlace_followsMode_data()
{
    QTest::addColumn<QString>("clipName");
    QTest::addColumn<int>("mode");
    // Whether the images are deinterlaced, against those of "off".
    QTest::addColumn<bool>("changed");

    using Picture::Deinterlace;
    QTest::newRow("interlaced, auto") << "interlaced.mp4" << int(Deinterlace::Auto) << true;
    QTest::newRow("interlaced, on") << "interlaced.mp4" << int(Deinterlace::On) << true;
    QTest::newRow("interlaced, off") << "interlaced.mp4" << int(Deinterlace::Off) << false;
    QTest::newRow("progressive, auto") << "progressive.mp4" << int(Deinterlace::Auto) << false;
    QTest::newRow("progressive, on") << "progressive.mp4" << int(Deinterlace::On) << true;
}

void tst_PictureShape::deinterlace_followsMode()
{
    QFETCH(QString, clipName);
    QFETCH(int, mode);
    QFETCH(bool, changed);

    const QString video = clip(clipName);
    QVERIFY2(QFile::exists(video), qPrintable(clipName));
    const auto run = [&](Picture::Deinterlace deinterlace) {
        const QString out = freshDir();
        ExtractionJob job = jobFor(video, out, "PNG");
        job.deinterlace = deinterlace;
        const QStringList events = runJob(job);
        return events.last() == "finished" ? out : QString();
    };
    const QString woven = run(Picture::Deinterlace::Off);
    const QString shaped = run(Picture::Deinterlace(mode));
    QVERIFY(!woven.isEmpty() && !shaped.isEmpty());

    // Deinterlacing shapes the frames, it does not choose them.
    const QStringList files = imageFiles(shaped);
    QCOMPARE(files, imageFiles(woven));
    QCOMPARE(files.size(), 6);

    // The progressive frames the clips were made of: the even ones.
    const QString sources = dir.filePath("sources");
    if (!QFileInfo::exists(sources)) {
        QVERIFY(QDir().mkpath(sources));
        MAKE_CLIP({"-i", clip("progressive.mkv"), "-vf", "select=not(mod(n\\,2))", "-fps_mode",
            "passthrough", sources + "/%02d.png"});
    }
    for (int i = 0; i < files.size(); ++i) {
        const QImage image(shaped + '/' + files.at(i));
        const QImage asStored(woven + '/' + files.at(i));
        const QImage source(
            sources + QStringLiteral("/%1.png").arg(i + 1, 2, 10, QLatin1Char('0')));
        QVERIFY(!source.isNull());
        if (!changed) {
            QVERIFY2(image == asStored, qPrintable(files.at(i)));
            continue;
        }
        QVERIFY2(image != asStored, qPrintable(files.at(i)));
        if (clipName == "interlaced.mp4") {
            // Closer to the picture the first field came from than the woven frame is.
            const double gain = psnr(image, source) - psnr(asStored, source);
            QVERIFY2(gain >= 3, qPrintable(QStringLiteral("%1: %2 dB").arg(files.at(i)).arg(gain)));
        }
    }
}

void tst_PictureShape::yuvEncoders_keepQtWritersSizeAndQuality_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("quality");

    for (int quality : {30, 75, 90, 98}) {
        QTest::addRow("JPG quality %d", quality) << "JPG" << quality;
        QTest::addRow("WebP quality %d", quality) << "WebP" << quality;
    }
}

void tst_PictureShape::yuvEncoders_keepQtWritersSizeAndQuality()
{
    QFETCH(QString, format);
    QFETCH(int, quality);

    if (format == "WebP" && !QImageWriter::supportedImageFormats().contains("webp"))
        QSKIP("This Qt writes no WebP");
    const QString video = clip("pattern.mp4");
    const auto run = [&](const QString &written) {
        const QString out = freshDir();
        ExtractionJob job = jobFor(video, out, written);
        job.quality = quality;
        return runJob(job).last() == "finished" ? out : QString();
    };
    // The decoded frames as RGB, and the same pictures through Qt's writer,
    // which took every image before.
    const QString frames = run("PNG");
    const QString encoded = run(format);
    QVERIFY(!frames.isEmpty() && !encoded.isEmpty());
    const QStringList references = imageFiles(frames);
    const QStringList files = imageFiles(encoded);
    QCOMPARE(files.size(), references.size());
    for (int i = 0; i < files.size(); ++i) {
        const QImage reference(frames + '/' + references.at(i));
        QByteArray qtBytes;
        QBuffer buffer(&qtBytes);
        QVERIFY(buffer.open(QIODevice::WriteOnly));
        QImageWriter writer(&buffer, format.toUpper().toLatin1());
        writer.setQuality(quality);
        QVERIFY(writer.write(reference));
        const QImage byQt = QImage::fromData(qtBytes);

        const QString path = encoded + '/' + files.at(i);
        const QImage image(path);
        const qint64 size = QFileInfo(path).size();
        const double ours = psnr(image, reference);
        const double theirs = psnr(byQt, reference);
        const QString figures = QStringLiteral("%1: %2 bytes, %3 dB; Qt's writer %4 bytes, %5 dB")
                                    .arg(files.at(i))
                                    .arg(size)
                                    .arg(ours)
                                    .arg(qtBytes.size())
                                    .arg(theirs);
        QVERIFY2(size <= 1.25 * qtBytes.size(), qPrintable(figures));
        QVERIFY2(ours >= theirs - 0.5, qPrintable(figures));
    }
}

QTEST_GUILESS_MAIN(tst_PictureShape)
#include "tst_pictureshape.moc"

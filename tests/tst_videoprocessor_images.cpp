// The images a job writes, read back: file names, layout per format and bit
// depth, colours, orientation and size.

#include "videofixture.h"

#include <QImageReader>
#include <QImageWriter>
#include <QMetaEnum>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

using namespace VideoFixture;

namespace {

// What the file says about its own layout, in the terms of its format.
QString fileLayout(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("unreadable");
    const QByteArray data = file.readAll();
    const auto byteAt = [&data](int i) {
        return i < data.size() ? quint8(data.at(i)) : 0;
    };

    if (data.startsWith("\x89PNG\r\n\x1a\n"))
        return QStringLiteral("PNG %1-bit type %2").arg(byteAt(24)).arg(byteAt(25));
    if (data.startsWith("BM"))
        return QStringLiteral("BMP %1 bpp").arg(qFromLittleEndian<quint16>(data.constData() + 28));
    if (data.startsWith("\xff\xd8")) {
        for (int i = 2; i + 9 < data.size();) {
            const int marker = byteAt(i + 1);
            if (marker >= 0xc0 && marker <= 0xc2)
                return QStringLiteral("JPEG %1 components").arg(byteAt(i + 9));
            i += 2 + (byteAt(i + 2) << 8 | byteAt(i + 3));
        }
        return QStringLiteral("JPEG without frame header");
    }
    if (data.startsWith("P5") || data.startsWith("P6"))
        return QStringLiteral("PNM ") + QString::fromLatin1(data.left(2));
    const QImage image(path);
    return QStringLiteral("read as ")
        + QString::fromLatin1(QMetaEnum::fromType<QImage::Format>().valueToKey(image.format()));
}

QColor centreColour(const QImage &image)
{
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

// A solid colour, converted to YUV with the given matrix and range and
// tagged with the given tags (none when empty), losslessly encoded: H.264
// for .mp4, FFV1 for .mkv.
QStringList solidClip(const QString &path, const QString &size, const QString &matrix,
    const QString &range, const QStringList &tags)
{
    const QStringList codec = path.endsWith(".mkv") ? QStringList {"-c:v", "ffv1"}
                                                    : QStringList {"-c:v", "libx264", "-qp", "0"};
    return QStringList {"-f", "lavfi", "-i",
               QStringLiteral("color=c=0xC83232:s=%1:r=10,format=rgb24,"
                              "scale=out_color_matrix=%2:out_range=%3,format=yuv444p")
                   .arg(size, matrix, range),
               "-frames:v", "2"}
    + codec + tags + QStringList {path};
}

} // namespace

class tst_VideoProcessorImages : public QObject
{
    Q_OBJECT

public:
    tst_VideoProcessorImages() { QStandardPaths::setTestModeEnabled(true); }

private slots:
    void initTestCase();

    void writtenFile_followsFormatAndDepthRules_data();
    void writtenFile_followsFormatAndDepthRules();
    void formatWithoutWriter_failsWithPath();
    void fileNames_followPatternDirectoryAndFormat_data();
    void fileNames_followPatternDirectoryAndFormat();
    void colours_followMatrixAndRangeTags_data();
    void colours_followMatrixAndRangeTags();
    void rotatedStream_isWrittenUpright_data();
    void rotatedStream_isWrittenUpright();
    void resolutionChange_convertsEachFrameAtItsOwnSize();
    void tinyAndOddSizes_convertWithoutOverrun_data();
    void tinyAndOddSizes_convertWithoutOverrun();

private:
    QTemporaryDir dir;
    QString redClip;
    int counter = 0;
    QString freshDir() { return dir.filePath(QStringLiteral("out%1").arg(++counter)); }
};

void tst_VideoProcessorImages::initTestCase()
{
    silenceFfmpeg();
    QVERIFY(dir.isValid());
    redClip = dir.filePath("red.mp4");
    MAKE_CLIP({"-f", "lavfi", "-i", "color=c=red:s=32x24:r=5", "-frames:v", "2", "-c:v", "libx264",
        "-qp", "0", "-pix_fmt", "yuv444p", redClip});
}

void tst_VideoProcessorImages::writtenFile_followsFormatAndDepthRules_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("bitDepth");
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<int>("tolerance");

    const QColor red(254, 0, 0);
    // Red's BT.601 luma.
    const QColor grey(76, 76, 76);

    // Qt decides how many bits an ARGB32 image gets in a BMP.
    QTemporaryDir scratch;
    QImage argb(4, 4, QImage::Format_ARGB32);
    argb.fill(Qt::red);
    argb.save(scratch.filePath("argb.bmp"), "BMP");
    const QString argbBmp = fileLayout(scratch.filePath("argb.bmp"));

    QTest::newRow("PNG 8-bit: grey") << "PNG" << 0 << "PNG 8-bit type 0" << grey << 3;
    QTest::newRow("PNG 16-bit: 16 bits a channel RGB")
        << "PNG" << 1 << "PNG 16-bit type 2" << red << 3;
    QTest::newRow("PNG 24-bit: RGB") << "PNG" << 2 << "PNG 8-bit type 2" << red << 3;
    QTest::newRow("PNG 32-bit: red stays red and opaque")
        << "PNG" << 3 << "PNG 8-bit type 6" << red << 3;
    QTest::newRow("PNG unknown depth as 24-bit") << "PNG" << 7 << "PNG 8-bit type 2" << red << 3;
    QTest::newRow("JPG 8-bit: grey JPEG") << "JPG" << 0 << "JPEG 1 components" << grey << 8;
    QTest::newRow("JPG 16-bit: colour JPEG") << "JPG" << 1 << "JPEG 3 components" << red << 12;
    QTest::newRow("JPEG 24-bit") << "JPEG" << 2 << "JPEG 3 components" << red << 12;
    QTest::newRow("JPG 32-bit loses alpha") << "JPG" << 3 << "JPEG 3 components" << red << 12;
    QTest::newRow("BMP 8-bit: 8 bpp grey") << "BMP" << 0 << "BMP 8 bpp" << grey << 3;
    QTest::newRow("BMP 16-bit: 24 bpp") << "BMP" << 1 << "BMP 24 bpp" << red << 3;
    QTest::newRow("BMP 24-bit: 24 bpp") << "BMP" << 2 << "BMP 24 bpp" << red << 3;
    QTest::newRow("BMP 32-bit: as Qt writes ARGB32") << "BMP" << 3 << argbBmp << red << 3;
    QTest::newRow("TIFF 8-bit") << "TIFF" << 0 << "read as Format_Grayscale8" << grey << 3;
    QTest::newRow("TIFF 16-bit keeps 16 bits a channel")
        << "TIFF" << 1 << "read as Format_RGBX64" << red << 3;
    QTest::newRow("TIFF 24-bit") << "TIFF" << 2 << "read as Format_RGB32" << red << 3;
    QTest::newRow("TIFF 32-bit") << "TIFF" << 3 << "read as Format_ARGB32_Premultiplied" << red
                                 << 3;
    QTest::newRow("PPM 8-bit") << "PPM" << 0 << "PNM P6" << grey << 3;
    QTest::newRow("PPM 16-bit") << "PPM" << 1 << "PNM P6" << red << 3;
    QTest::newRow("PPM 32-bit") << "PPM" << 3 << "PNM P6" << red << 3;
    QTest::newRow("PPM 24-bit") << "PPM" << 2 << "PNM P6" << red << 3;
    if (QImageWriter::supportedImageFormats().contains("webp")) {
        QTest::newRow("WebP 8-bit") << "WebP" << 0 << "read as Format_RGB32" << grey << 16;
        QTest::newRow("WebP 24-bit") << "WebP" << 2 << "read as Format_RGB32" << red << 16;
        QTest::newRow("WebP 16-bit") << "WebP" << 1 << "read as Format_RGB32" << red << 16;
        // An opaque picture is stored without alpha.
        QTest::newRow("WebP 32-bit") << "WebP" << 3 << "read as Format_RGB32" << red << 16;
    }
}

void tst_VideoProcessorImages::writtenFile_followsFormatAndDepthRules()
{
    QFETCH(QString, format);
    QFETCH(int, bitDepth);
    QFETCH(QString, layout);
    QFETCH(QColor, colour);
    QFETCH(int, tolerance);

    const QString out = freshDir();
    const QStringList events = runJob(redClip, out, 5, 90, format, bitDepth);
    QCOMPARE(events.last(), "finished");

    const QString path = out + "/frame_000001." + format.toLower();
    QCOMPARE(imageFiles(out).size(), 2);
    QCOMPARE(imageFiles(out).first(), QFileInfo(path).fileName());
    QCOMPARE(fileLayout(path), layout);
    const QImage image(path);
    QCOMPARE(image.size(), QSize(32, 24));
    const QColor actual = centreColour(image);
    QVERIFY2(near(actual, colour, tolerance), qPrintable(describe(actual)));
    QCOMPARE(actual.alpha(), 255);
}

void tst_VideoProcessorImages::formatWithoutWriter_failsWithPath()
{
    // Qt reads TGA but has no writer for it.
    if (QImageWriter::supportedImageFormats().contains("tga"))
        QSKIP("This Qt can write TGA");
    const QString out = freshDir();
    // Refused at the engine's door, before anything is opened or made.
    const QStringList events = runJob(redClip, out, 5, 90, "TGA", 2);
    const OptionProblem refused {
        JobOption::Id::Format, "TGA", OptionProblem::Reason::NotAChoice, JobOption::Id::Format};
    QCOMPARE(events, QStringList {"error " + refused.message()});
    QVERIFY(imageFiles(out).isEmpty());
}

void tst_VideoProcessorImages::fileNames_followPatternDirectoryAndFormat_data()
{
    QTest::addColumn<QString>("subdirectory");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QStringList>("files");

    QTest::newRow("default pattern, upper-case format")
        << "plain"
        << "frame_%1"
        << "PNG" << QStringList {"frame_000001.png", "frame_000002.png"};
    QTest::newRow("custom stem") << "custom"
                                 << "clip_%1"
                                 << "PNG" << QStringList {"clip_000001.png", "clip_000002.png"};
    QTest::newRow("mixed-case format")
        << "mixed"
        << "image_%1"
        << "Tiff" << QStringList {"image_000001.tiff", "image_000002.tiff"};
    QTest::newRow("marker in the directory name")
        << "100%1"
        << "video_%1"
        << "BMP" << QStringList {"video_000001.bmp", "video_000002.bmp"};
    QTest::newRow("missing parents are created")
        << "a/b/c"
        << "frame_%1"
        << "JPG" << QStringList {"frame_000001.jpg", "frame_000002.jpg"};
}

void tst_VideoProcessorImages::fileNames_followPatternDirectoryAndFormat()
{
    QFETCH(QString, subdirectory);
    QFETCH(QString, pattern);
    QFETCH(QString, format);
    QFETCH(QStringList, files);

    const QString out = dir.filePath("names/" + subdirectory);
    const QStringList events = runJob(redClip, out, 10, 90, format, 2, pattern);
    QCOMPARE(events.last(), "finished");
    QCOMPARE(imageFiles(out), files);
}

void tst_VideoProcessorImages::colours_followMatrixAndRangeTags_data()
{
    QTest::addColumn<QStringList>("clipArguments");
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("bitDepth");
    QTest::addColumn<int>("tolerance");

    const QStringList bt709 {"-colorspace", "bt709", "-color_primaries", "bt709", "-color_trc",
        "bt709", "-color_range", "tv"};
    const QStringList bt601 {"-colorspace", "smpte170m", "-color_primaries", "smpte170m",
        "-color_trc", "smpte170m", "-color_range", "tv"};
    const QStringList full601 {"-colorspace", "smpte170m", "-color_range", "pc"};

    struct Clip
    {
        const char *name;
        QString size;
        QString matrix;
        QString range;
        QStringList tags;
    };
    const Clip clips[] = {
        {"BT.709 limited", "64x64", "bt709", "tv", bt709},
        {"BT.601 limited", "64x64", "bt601", "tv", bt601},
        {"BT.601 full range as yuvj", "64x64", "bt601", "pc", full601},
        {"BT.601 full range by tag", "64x64", "bt601", "pc", full601},
        {"untagged HD is BT.709", "1280x720", "bt709", "tv", {}},
        {"untagged SD is BT.601", "640x480", "bt601", "tv", {}},
    };
    // PNG keeps the converted RGB; JPEG and WebP store BT.601 YUV, which
    // every viewer reads back with the same matrix.
    const struct
    {
        const char *name;
        const char *format;
        int index;
        int tolerance;
    } depths[] = {{"PNG 24-bit", "PNG", 2, 5}, {"PNG 32-bit", "PNG", 3, 5},
        {"PNG 16-bit", "PNG", 1, 5}, {"JPG 24-bit", "JPG", 2, 4}, {"JPG 32-bit", "JPG", 3, 4},
        {"WebP 24-bit", "WebP", 2, 4}};

    for (const Clip &clip : clips) {
        // FFV1 hands out yuv444p with the range tag from the container; the
        // H.264 decoder turns full range into a yuvj format of its own.
        const char *suffix = qstrcmp(clip.name, "BT.601 full range by tag") == 0 ? "mkv" : "mp4";
        const QString path
            = dir.filePath(QStringLiteral("colour_%1.%2").arg(++counter).arg(suffix));
        for (const auto &depth : depths) {
            if (qstrcmp(depth.format, "WebP") == 0
                && !QImageWriter::supportedImageFormats().contains("webp")) {
                continue;
            }
            QTest::addRow("%s, %s", clip.name, depth.name)
                << solidClip(path, clip.size, clip.matrix, clip.range, clip.tags) << depth.format
                << depth.index << depth.tolerance;
        }
    }
}

void tst_VideoProcessorImages::colours_followMatrixAndRangeTags()
{
    QFETCH(QStringList, clipArguments);
    QFETCH(QString, format);
    QFETCH(int, bitDepth);
    QFETCH(int, tolerance);

    const QString clip = clipArguments.last();
    if (!QFile::exists(clip))
        MAKE_CLIP(clipArguments);
    const QString out = freshDir();
    const QStringList events = runJob(clip, out, 10, 90, format, bitDepth);
    QCOMPARE(events.last(), "finished");

    const QImage image(out + "/frame_000001." + format.toLower());
    QVERIFY(!image.isNull());
    // pixelColor keeps all 16 bits of a 16-bit image; red() scales them.
    const QColor actual = centreColour(image);
    QVERIFY2(near(actual, QColor(200, 50, 50), tolerance), qPrintable(describe(actual)));
}

void tst_VideoProcessorImages::rotatedStream_isWrittenUpright_data()
{
    QTest::addColumn<int>("rotation");
    // Upright, the top left quadrant shows the stored one that the turn brings there.
    QTest::addColumn<QColor>("topLeft");

    QTest::newRow("none") << 0 << QColor(Qt::red);
    QTest::newRow("90") << 90 << QColor(Qt::green);
    QTest::newRow("180") << 180 << QColor(Qt::white);
    QTest::newRow("270") << 270 << QColor(Qt::blue);
}

void tst_VideoProcessorImages::rotatedStream_isWrittenUpright()
{
    QFETCH(int, rotation);
    QFETCH(QColor, topLeft);

    // Four quadrants of different colours tell every turn and flip apart.
    const QString stored = dir.filePath("quadrants.mp4");
    if (!QFile::exists(stored)) {
        MAKE_CLIP({"-f", "lavfi", "-i",
            "color=red:s=32x16[a];color=lime:s=32x16[b];color=blue:s=32x16[c];"
            "color=white:s=32x16[d];[a][b]hstack[top];[c][d]hstack[bottom];"
            "[top][bottom]vstack,format=yuv444p",
            "-frames:v", "2", "-r", "10", "-c:v", "libx264", "-qp", "0", stored});
    }
    const QString turn = QString::number(rotation);
    const QString clip = dir.filePath("rotated_" + turn + ".mp4");
    // Newer ffmpeg programs take the turn as an input option and ignore the rotate tag,
    // the only way that FFmpeg 5's knows; both store it counter-clockwise.
    if (!VideoFixture::ffmpeg({"-display_rotation", turn, "-i", stored, "-c", "copy", clip})
             .isEmpty())
        MAKE_CLIP({"-i", stored, "-c", "copy", "-metadata:s:v:0", "rotate=" + turn, clip});
    // The ffmpeg program shows rotated streams upright; so must the images.
    const QString reference = dir.filePath("reference_" + turn + ".png");
    MAKE_CLIP({"-i", clip, "-frames:v", "1", reference});
    const QImage expected(reference);
    QVERIFY(!expected.isNull());
    QVERIFY2(near(expected.pixelColor(4, 4), topLeft, 40),
        qPrintable("the clip is not turned: " + describe(expected.pixelColor(4, 4))));

    // JPEG and WebP are turned upright in YUV, the others as RGB pictures.
    const struct
    {
        const char *format;
        int depth;
    } writes[] = {{"PNG", 2}, {"PNG", 1}, {"JPG", 2}, {"WebP", 2}};
    for (const auto &write : writes) {
        const QString format = QString::fromLatin1(write.format);
        if (format == "WebP" && !QImageWriter::supportedImageFormats().contains("webp"))
            continue;
        const QString out = freshDir();
        const QStringList events = runJob(clip, out, 10, 90, format, write.depth);
        QCOMPARE(events.last(), "finished");
        const QImage image(out + "/frame_000001." + format.toLower());
        QCOMPARE(image.size(), expected.size());
        for (const QPoint &point : {QPoint(8, 8), QPoint(image.width() - 8, 8),
                 QPoint(8, image.height() - 8), QPoint(image.width() - 8, image.height() - 8)}) {
            const QColor actual = image.pixelColor(point);
            QVERIFY2(near(actual, expected.pixelColor(point), 8),
                qPrintable(QStringLiteral("%1 depth %2 at (%3, %4): %5, expected %6")
                               .arg(format)
                               .arg(write.depth)
                               .arg(point.x())
                               .arg(point.y())
                               .arg(describe(actual), describe(expected.pixelColor(point)))));
        }
    }
}

void tst_VideoProcessorImages::resolutionChange_convertsEachFrameAtItsOwnSize()
{
    // Two raw H.264 streams of different sizes, one after the other: the
    // decoder announces the new size while it still holds frames of the old.
    const QString small = dir.filePath("small.h264");
    const QString large = dir.filePath("large.h264");
    MAKE_CLIP({"-f", "lavfi", "-i", "color=red:s=32x24:r=25", "-frames:v", "10", "-c:v", "libx264",
        "-bf", "3", "-pix_fmt", "yuv420p", small});
    MAKE_CLIP({"-f", "lavfi", "-i", "color=blue:s=64x48:r=25", "-frames:v", "10", "-c:v", "libx264",
        "-bf", "3", "-pix_fmt", "yuv420p", large});
    const QString joined = dir.filePath("joined.h264");
    QFile out(joined);
    QVERIFY(out.open(QIODevice::WriteOnly));
    for (const QString &part : {small, large}) {
        QFile in(part);
        QVERIFY(in.open(QIODevice::ReadOnly));
        out.write(in.readAll());
    }
    out.close();

    const QString images = freshDir();
    const QStringList events = runJob(joined, images, 30, 90, "PNG", 2);
    QCOMPARE(events.last(), "finished");
    const QStringList files = imageFiles(images);
    QCOMPARE(files.size(), 20);
    for (int i = 0; i < files.size(); ++i) {
        const QImage image(images + '/' + files.at(i));
        const bool first = i < 10;
        QCOMPARE(image.size(), first ? QSize(32, 24) : QSize(64, 48));
        const QColor actual = centreColour(image);
        QVERIFY2(near(actual, first ? QColor(254, 0, 0) : QColor(0, 0, 254), 8),
            qPrintable(files.at(i) + ": " + describe(actual)));
    }
}

void tst_VideoProcessorImages::tinyAndOddSizes_convertWithoutOverrun_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("bitDepth");

    const QSize sizes[] = {{1, 1}, {2, 2}, {3, 3}, {7, 5}, {33, 17}};
    for (const QSize &size : sizes) {
        for (int depth = 0; depth <= 3; ++depth) {
            QTest::addRow("%dx%d depth %d", size.width(), size.height(), depth)
                << size << "PNG" << depth;
        }
        // From YUV planes, through the even buffer the colour filter wants.
        QTest::addRow("%dx%d JPG", size.width(), size.height()) << size << "JPG" << 2;
    }
}

void tst_VideoProcessorImages::tinyAndOddSizes_convertWithoutOverrun()
{
    QFETCH(QSize, size);
    QFETCH(QString, format);
    QFETCH(int, bitDepth);

    // FFV1 keeps odd 4:2:0 sizes that H.264 refuses. The planes are written
    // here: swscale's own RGB to YUV step is off at one pixel wide.
    const QString name = QStringLiteral("tiny_%1x%2").arg(size.width()).arg(size.height());
    const QString clip = dir.filePath(name + ".mkv");
    if (!QFile::exists(clip)) {
        const QString raw = dir.filePath(name + ".yuv");
        QFile planes(raw);
        QVERIFY(planes.open(QIODevice::WriteOnly));
        const int chroma = ((size.width() + 1) / 2) * ((size.height() + 1) / 2);
        // (200, 50, 50) in BT.601, limited range.
        for (int frame = 0; frame < 3; ++frame) {
            planes.write(QByteArray(size.width() * size.height(), char(97)));
            planes.write(QByteArray(chroma, char(106)));
            planes.write(QByteArray(chroma, char(194)));
        }
        planes.close();
        MAKE_CLIP({"-f", "rawvideo", "-pix_fmt", "yuv420p", "-s",
            QStringLiteral("%1x%2").arg(size.width()).arg(size.height()), "-r", "10", "-i", raw,
            "-c:v", "ffv1", clip});
    }
    const QString out = freshDir();
    const QStringList events = runJob(clip, out, 10, 90, format, bitDepth);
    QCOMPARE(events.last(), "finished");
    const QStringList files = imageFiles(out);
    QCOMPARE(files.size(), 3);
    const QImage image(out + '/' + files.first());
    QCOMPARE(image.size(), size);
    const QColor actual = image.pixelColor(0, 0);
    // Red (200, 50, 50) or, at 8-bit, its BT.601 luma.
    const QColor expected = bitDepth == 0 ? QColor(95, 95, 95) : QColor(200, 50, 50);
    QVERIFY2(near(actual, expected, 6), qPrintable(describe(actual)));
}

QTEST_GUILESS_MAIN(tst_VideoProcessorImages)
#include "tst_videoprocessor_images.moc"

// Videos as phones, cameras, web sites and damaged downloads make them: the
// images show what a player shows, damage costs only the frames it hits,
// and a job that could write nothing says so.

#include "videofixture.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

using namespace VideoFixture;

namespace {

const QString noFramesMessage = QStringLiteral("视频中没有可提取的帧");

// The ffmpeg program's own HDR to SDR rendering, which the images must match.
const QString toneMapReference
    = QStringLiteral("zscale=t=linear:npl=100,format=gbrpf32le,zscale=p=bt709,"
                     "tonemap=tonemap=hable:desat=0,zscale=t=bt709:m=bt709:r=tv,format=yuv444p");

// Four quadrants of different colours tell every turn and flip apart, and
// serve as colour patches.
QString quadrants(const QStringList &colours, int side)
{
    const QString size = QStringLiteral("%1x%1").arg(side);
    return QStringLiteral("color=%1:s=%5[a];color=%2:s=%5[b];color=%3:s=%5[c];color=%4:s=%5[d];"
                          "[a][b]hstack[top];[c][d]hstack[bottom];[top][bottom]vstack")
        .arg(colours.value(0), colours.value(1), colours.value(2), colours.value(3), size);
}

struct Span
{
    qsizetype begin = 0;
    qsizetype end = 0;
};

// The boxes of an MP4 between two offsets, in file order.
QList<Span> boxes(const QByteArray &mp4, qsizetype begin, qsizetype end)
{
    QList<Span> result;
    for (qsizetype at = begin; at + 8 <= end;) {
        const qsizetype size = qFromBigEndian<quint32>(mp4.constData() + at);
        if (size < 8 || at + size > end)
            break;
        result.append({at, at + size});
        at += size;
    }
    return result;
}

QByteArray boxType(const QByteArray &mp4, const Span &box)
{
    return mp4.mid(box.begin + 4, 4);
}

Span topLevelBox(const QByteArray &mp4, const QByteArray &type)
{
    for (const Span &box : boxes(mp4, 0, mp4.size())) {
        if (boxType(mp4, box) == type)
            return box;
    }
    return {};
}

// The H.264 slices of an MP4 with one video track, in decode order, each
// from its 4-byte length field to its end.
QList<Span> slices(const QByteArray &mp4)
{
    QList<Span> result;
    const Span mdat = topLevelBox(mp4, "mdat");
    for (qsizetype at = mdat.begin + 8; mdat.end > 0 && at + 5 <= mdat.end;) {
        const qsizetype end = at + 4 + qFromBigEndian<quint32>(mp4.constData() + at);
        const int type = mp4.at(at + 4) & 0x1f;
        if (type == 1 || type == 5)
            result.append({at, end});
        at = end;
    }
    return result;
}

// Overwrites the first track's display matrix with a 2x2 of whole units
// (16.16 fixed point) and no translation.
bool setDisplayMatrix(QByteArray &mp4, const QList<int> &matrix)
{
    const qsizetype tkhd = mp4.indexOf("tkhd");
    if (tkhd < 0 || matrix.size() != 4)
        return false;
    // Past version, flags, the times, the track id, the duration and the
    // layer, group and volume fields.
    const qsizetype at = tkhd + (mp4.at(tkhd + 4) == 1 ? 56 : 44);
    constexpr qint32 one = 1 << 16;
    const qint32 values[9]
        = {matrix[0] * one, matrix[1] * one, 0, matrix[2] * one, matrix[3] * one, 0, 0, 0, 1 << 30};
    for (int i = 0; i < 9; ++i)
        qToBigEndian<qint32>(values[i], mp4.data() + at + 4 * i);
    return true;
}

// Moves the movie's user data (where MP4 keeps cover art) before its tracks,
// as some taggers write it, so that the cover becomes the first stream.
bool moveUserDataFirst(QByteArray &mp4)
{
    const Span moov = topLevelBox(mp4, "moov");
    QByteArray header;
    QByteArray userData;
    QByteArray rest;
    for (const Span &box : boxes(mp4, moov.begin + 8, moov.end)) {
        const QByteArray bytes = mp4.mid(box.begin, box.end - box.begin);
        const QByteArray type = boxType(mp4, box);
        (type == "mvhd" ? header : type == "udta" ? userData : rest) += bytes;
    }
    if (header.isEmpty() || userData.isEmpty())
        return false;
    mp4.replace(moov.begin + 8, moov.end - moov.begin - 8, header + userData + rest);
    return true;
}

QColor colourAt(const QImage &image, double x, double y)
{
    return image.pixelColor(int(x * image.width()), int(y * image.height()));
}

// Where two pictures of quadrants differ by more than the tolerance at a
// quadrant's centre, described; empty where they agree.
QString quadrantMismatch(const QImage &image, const QImage &expected, int tolerance)
{
    for (const QPointF &at :
        {QPointF(0.25, 0.25), QPointF(0.75, 0.25), QPointF(0.25, 0.75), QPointF(0.75, 0.75)}) {
        const QColor actual = colourAt(image, at.x(), at.y());
        const QColor wanted = colourAt(expected, at.x(), at.y());
        if (!near(actual, wanted, tolerance)) {
            return QStringLiteral("at (%1, %2): %3, expected %4")
                .arg(at.x())
                .arg(at.y())
                .arg(describe(actual), describe(wanted));
        }
    }
    return QString();
}

// Converts the clip's first frames at the depth as PNG into the directory and
// compares the first image with the expected picture; empty where they agree.
QString firstImageMismatch(const QString &clip, const QString &outputDir, int bitDepth,
    const QImage &expected, int tolerance)
{
    const QStringList events = runJob(clip, outputDir, 10, 90, "PNG", bitDepth);
    if (events.last() != QLatin1String("finished"))
        return QStringLiteral("the job ended with: ") + events.last();
    const QImage image(outputDir + "/frame_000001.png");
    if (image.size() != expected.size())
        return QStringLiteral("size %1x%2, expected %3x%4")
            .arg(image.width())
            .arg(image.height())
            .arg(expected.width())
            .arg(expected.height());
    return quadrantMismatch(image, expected, tolerance);
}

} // namespace

class tst_VideoProcessorRealWorld : public QObject
{
    Q_OBJECT

public:
    tst_VideoProcessorRealWorld() { QStandardPaths::setTestModeEnabled(true); }

private slots:
    void initTestCase();

    void orientedStream_isWrittenAsPlayersShowIt_data();
    void orientedStream_isWrittenAsPlayersShowIt();
    void nonSquarePixels_areShownSquare_data();
    void nonSquarePixels_areShownSquare();
    void hdrVideo_isToneMappedLikeTheFfmpegProgram_data();
    void hdrVideo_isToneMappedLikeTheFfmpegProgram();
    void webmWithAlpha_keepsTransparencyAtThirtyTwoBits_data();
    void webmWithAlpha_keepsTransparencyAtThirtyTwoBits();
    void damagedVideo_losesOnlyTheDamagedFrames_data();
    void damagedVideo_losesOnlyTheDamagedFrames();
    void nothingDecodable_endsWithNoFramesError_data();
    void nothingDecodable_endsWithNoFramesError();
    void containerQuirks_giveTheVideosFrames_data();
    void containerQuirks_giveTheVideosFrames();

private:
    QString path(const QString &name) const { return dir.filePath(name); }
    QString freshDir() { return path(QStringLiteral("out%1").arg(++outputs)); }

    QTemporaryDir dir;
    QString damageSource;
    int outputs = 0;
    QMap<int, QImage::Format> uprightLayouts;
};

void tst_VideoProcessorRealWorld::initTestCase()
{
    silenceFfmpeg();
    QVERIFY(dir.isValid());
    // 100 frames with B-frames, the index first so that a cut file opens.
    damageSource = path("damage_source.mp4");
    MAKE_CLIP({"-f", "lavfi", "-i", "testsrc2=size=160x120:rate=25", "-frames:v", "100", "-c:v",
        "libx264", "-pix_fmt", "yuv420p", "-movflags", "+faststart", damageSource});
    QCOMPARE(slices(readFile(damageSource)).size(), 100);
}

void tst_VideoProcessorRealWorld::orientedStream_isWrittenAsPlayersShowIt_data()
{
    QTest::addColumn<QList<int>>("matrix");

    QTest::newRow("upright") << QList<int> {1, 0, 0, 1};
    QTest::newRow("turned a quarter") << QList<int> {0, 1, -1, 0};
    QTest::newRow("turned half") << QList<int> {-1, 0, 0, -1};
    QTest::newRow("turned three quarters") << QList<int> {0, -1, 1, 0};
    QTest::newRow("mirrored left to right") << QList<int> {-1, 0, 0, 1};
    QTest::newRow("mirrored top to bottom") << QList<int> {1, 0, 0, -1};
    QTest::newRow("front camera, portrait: turned and mirrored") << QList<int> {0, 1, 1, 0};
    QTest::newRow("turned the other way and mirrored") << QList<int> {0, -1, -1, 0};
}

// The picture as the ffmpeg program shows it, and at every depth the pixel
// layout that depth writes for a stream without a display matrix.
void tst_VideoProcessorRealWorld::orientedStream_isWrittenAsPlayersShowIt()
{
    QFETCH(QList<int>, matrix);

    const QString stored = path("quadrants.mp4");
    if (!QFile::exists(stored)) {
        MAKE_CLIP({"-f", "lavfi", "-i",
            quadrants({"red", "lime", "blue", "white"}, 16) + ",format=yuv444p", "-frames:v", "2",
            "-r", "10", "-c:v", "libx264", "-qp", "0", stored});
    }
    QByteArray data = readFile(stored);
    QVERIFY(setDisplayMatrix(data, matrix));
    const QString clip = path(QStringLiteral("oriented_%1.mp4").arg(QTest::currentDataTag()));
    QVERIFY(writeFile(clip, data));
    // The ffmpeg program applies the whole matrix, as players do.
    const QString reference = clip + ".png";
    MAKE_CLIP({"-i", clip, "-frames:v", "1", reference});
    const QImage expected(reference);
    QVERIFY(!expected.isNull());

    for (int depth = 0; depth <= 3; ++depth) {
        const QString out = freshDir();
        const QString first = out + "/frame_000001.png";
        if (depth == 0) {
            QCOMPARE(runJob(clip, out, 10, 90, "PNG", depth).last(), QStringLiteral("finished"));
        } else {
            const QString mismatch = firstImageMismatch(clip, out, depth, expected, 8);
            QVERIFY2(
                mismatch.isEmpty(), qPrintable(QStringLiteral("depth %1 ").arg(depth) + mismatch));
        }
        if (!uprightLayouts.contains(depth)) {
            const QString upright = freshDir();
            QCOMPARE(runJob(stored, upright, 10, 90, "PNG", depth).last(), "finished");
            uprightLayouts[depth] = QImage(upright + "/frame_000001.png").format();
        }
        QCOMPARE(QImage(first).format(), uprightLayouts.value(depth));
    }
}

void tst_VideoProcessorRealWorld::nonSquarePixels_areShownSquare_data()
{
    QTest::addColumn<int>("storedWidth");
    QTest::addColumn<QString>("aspect");
    QTest::addColumn<QSize>("shown");
    QTest::newRow("phone clip, 2:1") << 64 << "2/1" << QSize(128, 48);
    QTest::newRow("PAL 4:3, 16:15") << 60 << "16/15" << QSize(64, 48);
    QTest::newRow("NTSC 4:3, 8:9") << 72 << "8/9" << QSize(64, 48);
}

// Stretched to square pixels like the ffmpeg program's scale=iw*sar:ih.
void tst_VideoProcessorRealWorld::nonSquarePixels_areShownSquare()
{
    QFETCH(int, storedWidth);
    QFETCH(QString, aspect);
    QFETCH(QSize, shown);

    const QString clip = path(QStringLiteral("sar_%1.mp4").arg(QString(aspect).replace('/', '_')));
    MAKE_CLIP({"-f", "lavfi", "-i",
        quadrants({"red", "lime", "blue", "white"}, 32)
            + QStringLiteral(",scale=%1:48,format=yuv444p,setsar=").arg(storedWidth) + aspect,
        "-frames:v", "2", "-r", "10", "-c:v", "libx264", "-qp", "0", clip});
    const QString reference = clip + ".png";
    MAKE_CLIP({"-i", clip, "-vf", "scale=iw*sar:ih", "-frames:v", "1", reference});
    const QImage expected(reference);
    QCOMPARE(expected.size(), shown);

    const QString mismatch = firstImageMismatch(clip, freshDir(), 2, expected, 24);
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

void tst_VideoProcessorRealWorld::hdrVideo_isToneMappedLikeTheFfmpegProgram_data()
{
    QTest::addColumn<QString>("transfer");
    QTest::addColumn<int>("bitDepth");

    for (const char *transfer : {"smpte2084", "arib-std-b67"}) {
        for (int depth = 0; depth <= 3; ++depth) {
            QTest::addRow("%s at depth %d", transfer, depth) << QString(transfer) << depth;
        }
    }
}

void tst_VideoProcessorRealWorld::hdrVideo_isToneMappedLikeTheFfmpegProgram()
{
    QFETCH(QString, transfer);
    QFETCH(int, bitDepth);

    // SDR colour patches placed in PQ or HLG with BT.2020 primaries, stored
    // losslessly as 10-bit HEVC with the colour tags a phone writes.
    const QString clip = path("hdr_" + transfer + ".mkv");
    const QString reference = path("hdr_" + transfer + "_reference.png");
    const QString grayReference = path("hdr_" + transfer + "_reference_gray.png");
    if (!QFile::exists(clip)) {
        MAKE_CLIP({"-f", "lavfi", "-i",
            quadrants({"0xC83232", "0x32A050", "0x3050C8", "0xB4B4B4"}, 32)
                + ",format=gbrp,zscale=tin=bt709:pin=bt709:t=" + transfer
                + ":p=bt2020:m=bt2020nc:r=tv:npl=100,format=yuv420p10le",
            "-frames:v", "3", "-r", "10", "-c:v", "libx265", "-x265-params",
            "log-level=error:lossless=1", "-color_primaries", "bt2020", "-color_trc", transfer,
            "-colorspace", "bt2020nc", "-color_range", "tv", clip});
        MAKE_CLIP({"-i", clip, "-vf", toneMapReference, "-frames:v", "1", reference});
        MAKE_CLIP({"-i", clip, "-vf", toneMapReference, "-frames:v", "1", "-pix_fmt", "gray",
            grayReference});
    }
    const QImage expected(bitDepth == 0 ? grayReference : reference);
    QVERIFY(!expected.isNull());

    const QString mismatch = firstImageMismatch(clip, freshDir(), bitDepth, expected, 4);
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

void tst_VideoProcessorRealWorld::webmWithAlpha_keepsTransparencyAtThirtyTwoBits_data()
{
    QTest::addColumn<QString>("encoder");

    QTest::newRow("VP9") << "libvpx-vp9";
    QTest::newRow("VP8") << "libvpx";
}

void tst_VideoProcessorRealWorld::webmWithAlpha_keepsTransparencyAtThirtyTwoBits()
{
    QFETCH(QString, encoder);

    const QString clip = path(encoder + "_alpha.webm");
    MAKE_CLIP({"-f", "lavfi", "-i", "color=red@0.25:s=32x32:r=10,format=yuva420p", "-frames:v", "3",
        "-c:v", encoder, "-pix_fmt", "yuva420p", "-auto-alt-ref", "0", clip});

    const QString out = freshDir();
    const QStringList events = runJob(clip, out, 10, 90, "PNG", 3);
    QCOMPARE(events.last(), "finished");
    const QStringList files = imageFiles(out);
    QCOMPARE(files.size(), 3);
    for (const QString &file : files) {
        const QImage image(out + '/' + file);
        QVERIFY(image.hasAlphaChannel());
        const QColor actual = colourAt(image, 0.5, 0.5);
        QVERIFY2(qAbs(actual.alpha() - 64) <= 8 && actual.red() > 200 && actual.green() < 40,
            qPrintable(file + ": " + describe(actual)));
    }
}

void tst_VideoProcessorRealWorld::damagedVideo_losesOnlyTheDamagedFrames_data()
{
    QTest::addColumn<QString>("video");
    QTest::addColumn<int>("images");

    const QByteArray whole = readFile(damageSource);
    const QList<Span> units = slices(whole);

    // A length past the end of its packet: the decoder rejects that frame.
    // Chosen among the frames no other refers to, so that only it is lost:
    // one in the middle, and one among the last, which the decoder still
    // holds when the input ends.
    const auto unreferenced = [&](int from, int step) {
        int at = from;
        while (at >= 0 && at < units.size() && (whole.at(units[at].begin + 4) & 0x60) != 0)
            at += step;
        return at;
    };
    const int middle = unreferenced(int(units.size()) / 2, 1);
    const int last = unreferenced(int(units.size()) - 1, -1);
    QVERIFY(middle < units.size() && last > middle);
    for (const int victim : {middle, last}) {
        QByteArray damaged = whole;
        qToBigEndian<quint32>(0x00ffffff, damaged.data() + units[victim].begin);
        const QString name = path(QStringLiteral("bad_frame_%1.mp4").arg(victim));
        QVERIFY(writeFile(name, damaged));
        QTest::addRow("decoded frame %d of 100 rejected", victim + 1) << name << 99;
    }

    // A cut file keeps the frames whose data is complete; the one cut
    // through fails to decode.
    for (int percent : {10, 50}) {
        const qsizetype cut = whole.size() * percent / 100;
        int complete = 0;
        for (const Span &unit : units)
            complete += unit.end <= cut ? 1 : 0;
        const QString name = path(QStringLiteral("cut_%1.mp4").arg(percent));
        QVERIFY(writeFile(name, whole.left(cut)));
        QVERIFY(complete > 0 && complete < 100);
        QTest::addRow("cut off at %d%%", percent) << name << complete;
    }
}

void tst_VideoProcessorRealWorld::damagedVideo_losesOnlyTheDamagedFrames()
{
    QFETCH(QString, video);
    QFETCH(int, images);

    const QString out = freshDir();
    const QStringList events = runJob(video, out, 30, 90, "BMP", 2);
    QCOMPARE(events.last(), "finished");
    QCOMPARE(endings(events), 1);
    QCOMPARE(imageFiles(out).size(), images);
}

void tst_VideoProcessorRealWorld::nothingDecodable_endsWithNoFramesError_data()
{
    QTest::addColumn<QString>("video");

    QByteArray broken = readFile(damageSource);
    for (const Span &unit : slices(broken))
        qToBigEndian<quint32>(0x00ffffff, broken.data() + unit.begin);
    QVERIFY(writeFile(path("no_good_frame.mp4"), broken));
    QTest::newRow("damaged fragment: no frame decodes") << path("no_good_frame.mp4");

    // A tiny VP8 key frame whose header claims 16000 x 16000: decoded, it
    // would take over a gigabyte. Once with the container claiming the same.
    const QString small = path("small.ivf");
    MAKE_CLIP({"-f", "lavfi", "-i", "color=gray:s=16x16:r=5", "-frames:v", "1", "-c:v", "libvpx",
        "-f", "ivf", small});
    QByteArray forged = readFile(small);
    const qsizetype startCode = forged.indexOf("\x9d\x01\x2a");
    QVERIFY(startCode > 0);
    for (const qsizetype at : {startCode + 3, startCode + 5})
        qToLittleEndian<quint16>(16000, forged.data() + at);
    QVERIFY(writeFile(path("oversized_picture.ivf"), forged));
    QTest::newRow("picture above 16K UHD") << path("oversized_picture.ivf");
    for (const qsizetype at : {12, 14})
        qToLittleEndian<quint16>(16000, forged.data() + at);
    QVERIFY(writeFile(path("oversized_file.ivf"), forged));
    QTest::newRow("picture and container above 16K UHD") << path("oversized_file.ivf");
}

void tst_VideoProcessorRealWorld::nothingDecodable_endsWithNoFramesError()
{
    QFETCH(QString, video);

    const QString out = freshDir();
    const QStringList events = runJob(video, out, 30, 90, "BMP", 0);
    QCOMPARE(events.last(), "error " + noFramesMessage);
    QCOMPARE(endings(events), 1);
    QCOMPARE(imageFiles(out), QStringList());
}

void tst_VideoProcessorRealWorld::containerQuirks_giveTheVideosFrames_data()
{
    QTest::addColumn<QString>("video");
    QTest::addColumn<int>("frameRate");
    QTest::addColumn<int>("images");
    QTest::addColumn<QColor>("colour");

    // The frame rate in an FLV's metadata is what the demuxer reports as
    // the average; some writers put the millisecond time base there.
    const QString flv = path("rate.flv");
    MAKE_CLIP({"-f", "lavfi", "-i", "color=blue:s=32x32:r=60", "-frames:v", "30", "-c:v", "libx264",
        "-pix_fmt", "yuv444p", "-qp", "0", flv});
    QByteArray data = readFile(flv);
    const qsizetype rate = data.indexOf("framerate");
    QVERIFY(rate > 0);
    const qsizetype value = rate + int(qstrlen("framerate")) + 1;
    QCOMPARE(qFromBigEndian<double>(data.constData() + value), 60.0);
    qToBigEndian<double>(1000.0, data.data() + value);
    QVERIFY(writeFile(flv, data));
    QTest::newRow("FLV reporting its time base as average rate")
        << flv << 60 << 30 << QColor(0, 0, 254);

    const QString cover = path("cover.png");
    const QString video = path("red.mp4");
    const QString covered = path("covered.mp4");
    MAKE_CLIP({"-f", "lavfi", "-i", "color=yellow:s=40x40", "-frames:v", "1", cover});
    MAKE_CLIP({"-f", "lavfi", "-i", "color=red:s=32x24:r=5", "-frames:v", "2", "-c:v", "libx264",
        "-qp", "0", "-pix_fmt", "yuv444p", video});
    MAKE_CLIP({"-i", video, "-i", cover, "-map", "0", "-map", "1", "-c", "copy", "-disposition:v:1",
        "attached_pic", covered});
    data = readFile(covered);
    QVERIFY(moveUserDataFirst(data));
    QVERIFY(writeFile(covered, data));
    QTest::newRow("cover art before the video") << covered << 5 << 2 << QColor(254, 0, 0);
}

void tst_VideoProcessorRealWorld::containerQuirks_giveTheVideosFrames()
{
    QFETCH(QString, video);
    QFETCH(int, frameRate);
    QFETCH(int, images);
    QFETCH(QColor, colour);

    const QString out = freshDir();
    const QStringList events = runJob(video, out, frameRate, 90, "PNG", 2);
    QCOMPARE(events.last(), "finished");
    const QStringList files = imageFiles(out);
    QCOMPARE(files.size(), images);
    for (const QString &file : files) {
        const QColor actual = colourAt(QImage(out + '/' + file), 0.5, 0.5);
        QVERIFY2(near(actual, colour, 8), qPrintable(file + ": " + describe(actual)));
    }
}

QTEST_GUILESS_MAIN(tst_VideoProcessorRealWorld)
#include "tst_videoprocessor_realworld.moc"

// Frames chosen by what they show, on clips made for it: slides under
// camera-like noise give one image each, the sharp frame of each second
// wins over its blurred neighbours, and black frames are left out.

#include "videofixture.h"

#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace VideoFixture;

Q_DECLARE_METATYPE(FrameSelection)

namespace {

using Mode = FrameSelection::Mode;

// The milliseconds in a name made with the frame's time.
qint64 nameTime(const QString &name)
{
    static const QRegularExpression time(QStringLiteral("_(\\d+)-(\\d\\d)-(\\d\\d)\\.(\\d{3})\\."));
    const QRegularExpressionMatch match = time.match(name);
    if (!match.hasMatch())
        return -1;
    return ((match.captured(1).toLongLong() * 60 + match.captured(2).toLongLong()) * 60
               + match.captured(3).toLongLong())
        * 1000
        + match.captured(4).toLongLong();
}

// A drawbox filter filling a part of the picture, its place and size as
// shares of the picture's.
QString box(double x, double y, double width, double height, const QString &colour)
{
    return QStringLiteral("drawbox=x=iw*%1:y=ih*%2:w=iw*%3:h=ih*%4:color=%5:t=fill")
        .arg(x)
        .arg(y)
        .arg(width)
        .arg(height)
        .arg(colour);
}

// Six slides of a second each, 320x180 at 10 fps, the fourth the third with
// a box of 1% of the picture added.
QString slides()
{
    const QString white = QStringLiteral("color=white:s=320x180:r=10:d=1");
    const QString tinted = QStringLiteral("color=0xe0e0ff:s=320x180:r=10:d=1");
    const QString text = QStringLiteral("0x303030");
    const QStringList each {
        white + ',' + box(0.1, 0.1, 0.6, 0.08, "black") + ',' + box(0.1, 0.3, 0.5, 0.05, text) + ','
            + box(0.1, 0.45, 0.55, 0.05, text),
        white + ',' + box(0.1, 0.1, 0.7, 0.08, "navy") + ',' + box(0.1, 0.3, 0.4, 0.05, text) + ','
            + box(0.1, 0.45, 0.6, 0.05, text) + ',' + box(0.1, 0.6, 0.3, 0.05, text),
        tinted + ',' + box(0.2, 0.2, 0.6, 0.6, "darkgreen"),
        tinted + ',' + box(0.2, 0.2, 0.6, 0.6, "darkgreen") + ','
            + box(0.85, 0.85, 0.1, 0.1, "red"),
        white + ',' + box(0.05, 0.05, 0.9, 0.1, "maroon") + ',' + box(0.1, 0.3, 0.8, 0.05, text)
            + ',' + box(0.1, 0.45, 0.8, 0.05, text),
        QStringLiteral("color=black:s=320x180:r=10:d=1,") + box(0.3, 0.3, 0.4, 0.4, "white"),
    };
    QString graph;
    for (int i = 0; i < each.size(); ++i)
        graph += each.at(i) + QStringLiteral("[s%1];").arg(i);
    for (int i = 0; i < each.size(); ++i)
        graph += QStringLiteral("[s%1]").arg(i);
    return graph + QStringLiteral("concat=n=%1,format=yuv420p").arg(each.size());
}

// The mean difference of two pictures' grey levels, at a quarter of their
// size, where noise averages out.
double meanDifference(const QImage &first, const QImage &second)
{
    const QSize small = first.size() / 4;
    const QImage a = first.scaled(small, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                         .convertToFormat(QImage::Format_Grayscale8);
    const QImage b = second.scaled(small, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                         .convertToFormat(QImage::Format_Grayscale8);
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x)
            sum += qAbs(a.constScanLine(y)[x] - b.constScanLine(y)[x]);
    }
    return sum / (a.width() * a.height());
}

} // namespace

class tst_VideoProcessorContent : public QObject
{
    Q_OBJECT

public:
    tst_VideoProcessorContent() { QStandardPaths::setTestModeEnabled(true); }

private slots:
    void initTestCase();
    void distinct_givesOneImagePerSlide_data();
    void distinct_givesOneImagePerSlide();
    void sharpest_takesTheSharpFrameOfEachPart_data();
    void sharpest_takesTheSharpFrameOfEachPart();
    void skipBlack_leavesOutBlackFrames_data();
    void skipBlack_leavesOutBlackFrames();

private:
    QString path(const QString &name) const { return dir.filePath(name); }
    ExtractionJob job(const QString &clip, const FrameSelection &selection);

    QTemporaryDir dir;
    int outputs = 0;
    QList<QImage> slidePictures;
};

void tst_VideoProcessorContent::initTestCase()
{
    silenceFfmpeg();
    QVERIFY(dir.isValid());

    // Moving noise, as a camera filming a screen gives, kept by the encoder:
    // ffmpeg's mpdecimate sees every frame as new.
    MAKE_CLIP({"-filter_complex", slides() + ",noise=alls=10:allf=t", "-c:v", "libx264", "-crf",
        "23", "-pix_fmt", "yuv420p", path("slides.mp4")});
    // Each slide without noise, as the images should show it.
    MAKE_CLIP({"-filter_complex", slides() + ",fps=1", path("slide_%d.png")});
    for (int i = 1; i <= 6; ++i) {
        slidePictures << QImage(path(QStringLiteral("slide_%1.png").arg(i)));
        QVERIFY(!slidePictures.last().isNull());
    }

    // 10 fps, every frame blurred but 3, 17, 25 and 39: one in each second,
    // early, late, in its middle and last.
    MAKE_CLIP({"-f", "lavfi", "-i", "testsrc2=s=160x120:r=10", "-frames:v", "40", "-vf",
        "gblur=sigma=2.5:enable='not(eq(n\\,3)+eq(n\\,17)+eq(n\\,25)+eq(n\\,39))'", "-c:v",
        "libx264", "-crf", "12", "-g", "10", "-pix_fmt", "yuv420p", path("blurred.mp4")});

    // Ten seconds at 5 fps, black from 0 to 2 s and from 4 to 5 s, and the
    // frame at 9 s.
    MAKE_CLIP({"-f", "lavfi", "-i", "testsrc2=s=96x64:r=5", "-frames:v", "50", "-vf",
        "drawbox=c=black:t=fill:enable='lt(t\\,2)+between(t\\,4\\,4.9)+between(t\\,8.9\\,9.1)'",
        "-c:v", "libx264", "-crf", "18", "-g", "5", "-pix_fmt", "yuv420p", path("black.mp4")});
}

ExtractionJob tst_VideoProcessorContent::job(const QString &clip, const FrameSelection &selection)
{
    ExtractionJob result;
    result.videoPath = path(clip);
    result.outputPath = path(QStringLiteral("out%1").arg(++outputs));
    result.format = QStringLiteral("PNG");
    result.timeInNames = true;
    result.selection = selection;
    return result;
}

void tst_VideoProcessorContent::distinct_givesOneImagePerSlide_data()
{
    QTest::addColumn<FrameSelection>("selection");

    FrameSelection atRate = ExtractionJob().selection;
    atRate.distinct = true;
    QTest::newRow("at the rate") << atRate;
    FrameSelection everyHalf = atRate;
    everyHalf.mode = Mode::EverySeconds;
    everyHalf.everySeconds = 0.5;
    QTest::newRow("every 0.5 s") << everyHalf;
    FrameSelection everyFrame = atRate;
    everyFrame.frameRate = 60;
    QTest::newRow("every frame") << everyFrame;
    FrameSelection count = atRate;
    count.mode = Mode::Count;
    count.count = 30;
    QTest::newRow("count 30") << count;
}

void tst_VideoProcessorContent::distinct_givesOneImagePerSlide()
{
    QFETCH(FrameSelection, selection);

    const ExtractionJob options = job("slides.mp4", selection);
    const QStringList events = runJob(options);
    QCOMPARE(events.last(), QStringLiteral("finished"));
    // How many slides there are cannot be known before: no total.
    QVERIFY(events.contains(QStringLiteral("progress 1/0")));

    const QStringList files = imageFiles(options.outputPath);
    QCOMPARE(files.size(), slidePictures.size());
    for (int i = 0; i < files.size(); ++i) {
        // The slide it is, nearer to it than to any other.
        const QImage image(options.outputPath + '/' + files.at(i));
        QList<double> differences;
        for (const QImage &slide : slidePictures)
            differences << meanDifference(image, slide);
        const auto nearest = std::min_element(differences.cbegin(), differences.cend());
        QCOMPARE(int(nearest - differences.cbegin()), i);
        // Within its own second.
        QCOMPARE(nameTime(files.at(i)) / 1000, qint64(i));
    }
}

void tst_VideoProcessorContent::sharpest_takesTheSharpFrameOfEachPart_data()
{
    QTest::addColumn<FrameSelection>("selection");
    QTest::addColumn<QList<qint64>>("times");

    FrameSelection everySecond = ExtractionJob().selection;
    everySecond.mode = Mode::EverySeconds;
    everySecond.everySeconds = 1;
    everySecond.sharpest = true;
    const QList<qint64> sharp {300, 1700, 2500, 3900};
    QTest::newRow("every second") << everySecond << sharp;
    FrameSelection quarters = everySecond;
    quarters.mode = Mode::Count;
    quarters.count = 4;
    QTest::newRow("count 4: the sharpest of each quarter") << quarters << sharp;
    FrameSelection range = everySecond;
    range.startSeconds = 1.5;
    range.endSeconds = 3.5;
    QTest::newRow("every second from 1.5 s to 3.5 s: parts from the start")
        << range << QList<qint64> {1700, 2500};
    FrameSelection distinct = everySecond;
    distinct.distinct = true;
    QTest::newRow("every second, distinct: each second shows another picture") << distinct << sharp;
}

void tst_VideoProcessorContent::sharpest_takesTheSharpFrameOfEachPart()
{
    QFETCH(FrameSelection, selection);
    QFETCH(QList<qint64>, times);

    const ExtractionJob options = job("blurred.mp4", selection);
    const QStringList events = runJob(options);
    QCOMPARE(events.last(), QStringLiteral("finished"));
    QList<qint64> written;
    for (const QString &name : imageFiles(options.outputPath))
        written << nameTime(name);
    QCOMPARE(written, times);
}

void tst_VideoProcessorContent::skipBlack_leavesOutBlackFrames_data()
{
    QTest::addColumn<FrameSelection>("selection");
    QTest::addColumn<QList<qint64>>("times");

    FrameSelection everySecond = ExtractionJob().selection;
    everySecond.mode = Mode::EverySeconds;
    everySecond.everySeconds = 1;
    everySecond.skipBlack = true;
    QTest::newRow("every second: black seconds give none, 9 s gives way to 9.2 s")
        << everySecond << QList<qint64> {2000, 3000, 5000, 6000, 7000, 8000, 9200};
    FrameSelection count = everySecond;
    count.mode = Mode::Count;
    count.count = 5;
    // Middles at 1, 3, 5, 7 and 9 s; the first part is black throughout.
    QTest::newRow("count 5") << count << QList<qint64> {3000, 5000, 7000, 9200};
    FrameSelection rate = everySecond;
    rate.mode = Mode::FramesPerSecond;
    rate.frameRate = 1;
    QTest::newRow("rate 1: black ones left out, none stands in")
        << rate << QList<qint64> {2800, 3800, 5800, 6800, 7800, 8800, 9800};
}

void tst_VideoProcessorContent::skipBlack_leavesOutBlackFrames()
{
    QFETCH(FrameSelection, selection);
    QFETCH(QList<qint64>, times);

    const ExtractionJob options = job("black.mp4", selection);
    const QStringList events = runJob(options);
    QCOMPARE(events.last(), QStringLiteral("finished"));
    QList<qint64> written;
    for (const QString &name : imageFiles(options.outputPath)) {
        written << nameTime(name);
        QVERIFY2(meanGray(QImage(options.outputPath + '/' + name)) > 40, qPrintable(name));
    }
    QCOMPARE(written, times);
}

QTEST_GUILESS_MAIN(tst_VideoProcessorContent)
#include "tst_videoprocessor_content.moc"

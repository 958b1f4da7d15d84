// Input the engine must survive: files that are not videos, damaged videos,
// files that name other files, unusual pixel layouts, and output that cannot
// be written. Each ends the job cleanly, with one ending signal.

#include "videofixture.h"

#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#endif

using namespace VideoFixture;

class tst_VideoProcessorBadInput : public QObject
{
    Q_OBJECT

public:
    tst_VideoProcessorBadInput() { QStandardPaths::setTestModeEnabled(true); }

private slots:
    void initTestCase();

    void unusableInput_endsWithOneClearError_data();
    void unusableInput_endsWithOneClearError();
    void readFailureMidway_isReportedNotFinished();
    void damagedVideo_endsCleanly_data();
    void damagedVideo_endsCleanly();
    void unusualPixelFormats_areWritten_data();
    void unusualPixelFormats_areWritten();
    void unwritableOutput_endsJobWithPath();
    void outputPathIsAFile_failsToCreateDirectory();
    void fullDisk_isReportedWithPath();
    void failureThenStop_reportsBoth_data();
    void failureThenStop_reportsBoth();
    void patternLeavingTheFolder_isRefusedBeforeWriting_data();
    void patternLeavingTheFolder_isRefusedBeforeWriting();
    void failedJob_removesOnlyTheFoldersItMade_data();
    void failedJob_removesOnlyTheFoldersItMade();

private:
    QString path(const QString &name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    QString clip;
    int outputs = 0;
};

void tst_VideoProcessorBadInput::initTestCase()
{
    silenceFfmpeg();
    QVERIFY(dir.isValid());
    clip = path("clip.mp4");
    MAKE_CLIP(countingClip("10", 20, clip));
}

void tst_VideoProcessorBadInput::unusableInput_endsWithOneClearError_data()
{
    QTest::addColumn<QString>("video");
    QTest::addColumn<QString>("message");

    const QString cannotOpen = QStringLiteral("无法打开视频文件");

    QVERIFY(writeFile(path("empty.mp4"), QByteArray()));
    QByteArray noise(65536, Qt::Uninitialized);
    QRandomGenerator random(42);
    random.fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
    QVERIFY(writeFile(path("noise.mp4"), noise));
    QVERIFY(writeFile(path("text.mp4"), "This is a text file, not a video.\n"));
    QVERIFY(QDir(dir.path()).mkpath("folder.mp4"));
    // Past the largest picture FFmpeg accepts.
    QVERIFY(writeFile(path("enormous.y4m"),
        "YUV4MPEG2 W30000 H30000 F25:1 Ip A1:1 C420jpeg\nFRAME\n" + QByteArray(4096, '\0')));
    const QString audio = path("audio.m4a");
    MAKE_CLIP({"-f", "lavfi", "-i", "sine=duration=1", audio});
    // Files that name other files: the engine reads the chosen file only.
    QVERIFY(writeFile(path("concat.mp4"), "ffconcat version 1.0\nfile clip.mp4\n"));
    // Followed, this one opens itself until no file descriptor is left.
    QVERIFY(writeFile(path("self.mp4"), "ffconcat version 1.0\nfile self.mp4\n"));
    QVERIFY(writeFile(path("playlist.mp4"),
        "#EXTM3U\n#EXT-X-TARGETDURATION:2\n#EXTINF:2.0,\n"
        "clip.mp4\n#EXT-X-ENDLIST\n"));
    QVERIFY(writeFile(path("remote.mp4"),
        "#EXTM3U\n#EXT-X-TARGETDURATION:2\n#EXTINF:2.0,\n"
        "http://127.0.0.1:9/clip.ts\n#EXT-X-ENDLIST\n"));

    QTest::newRow("missing file") << path("missing.mp4") << cannotOpen;
    QTest::newRow("zero-byte file") << path("empty.mp4") << cannotOpen;
    QTest::newRow("random bytes") << path("noise.mp4") << cannotOpen;
    QTest::newRow("text file named .mp4") << path("text.mp4") << cannotOpen;
    QTest::newRow("directory") << path("folder.mp4") << cannotOpen;
    QTest::newRow("enormous dimensions in the header") << path("enormous.y4m") << cannotOpen;
    QTest::newRow("audio only") << audio << QStringLiteral("未找到视频流");
    QTest::newRow("concat script naming a video") << path("concat.mp4") << cannotOpen;
    QTest::newRow("concat script naming itself") << path("self.mp4") << cannotOpen;
    QTest::newRow("playlist naming a video") << path("playlist.mp4") << cannotOpen;
    QTest::newRow("playlist naming a URL") << path("remote.mp4") << cannotOpen;
    QTest::newRow("protocol prefix in the path") << "concat:" + clip << cannotOpen;
    QTest::newRow("subfile prefix in the path") << "subfile,,start,0,end,0,,:" + clip << cannotOpen;
}

void tst_VideoProcessorBadInput::unusableInput_endsWithOneClearError()
{
    QFETCH(QString, video);
    QFETCH(QString, message);

    const QString out = path(QStringLiteral("out%1").arg(++outputs));
    const QStringList events = runJob(video, out, 5, 90, "PNG", 2);
    QCOMPARE(events, QStringList {"error " + message});
    QVERIFY(imageFiles(out).isEmpty());
}

void tst_VideoProcessorBadInput::readFailureMidway_isReportedNotFinished()
{
    // A YUV4MPEG stream whose sixth frame header is damaged: the demuxer
    // reports invalid data there, which is not the end of the file.
    const QString y4m = path("midway.y4m");
    MAKE_CLIP({"-f", "lavfi", "-i", "color=red:s=16x16:r=10", "-frames:v", "10", "-pix_fmt",
        "yuv420p", y4m});
    QByteArray data = readFile(y4m);
    int header = -1;
    for (int i = 0; i < 6; ++i)
        header = data.indexOf("FRAME", header + 1);
    QVERIFY(header > 0);
    data[header] = 'X';
    QVERIFY(writeFile(y4m, data));

    const QString out = path("midway_out");
    const QStringList events = runJob(y4m, out, 30, 90, "PNG", 2);
    QCOMPARE(events.last(), QStringLiteral("error 读取视频数据失败"));
    QCOMPARE(endings(events), 1);
    QCOMPARE(imageFiles(out).size(), 5);
}

void tst_VideoProcessorBadInput::damagedVideo_endsCleanly_data()
{
    QTest::addColumn<QString>("video");
    QTest::addColumn<int>("minimumImages");
    QTest::addColumn<bool>("mustFinish");

    // The index first, so that a cut leaves an openable file.
    const QString whole = path("faststart.mp4");
    MAKE_CLIP({"-f", "lavfi", "-i", "testsrc2=size=160x120:rate=25", "-frames:v", "100", "-c:v",
        "libx264", "-pix_fmt", "yuv420p", "-movflags", "+faststart", whole});
    const QByteArray data = readFile(whole);
    QVERIFY(writeFile(path("truncated.mp4"), data.left(data.size() * 6 / 10)));
    QByteArray damaged = data;
    QRandomGenerator random(7);
    for (qsizetype i = damaged.size() * 4 / 10; i < damaged.size() * 5 / 10; ++i)
        damaged[i] = char(random.bounded(256));
    QVERIFY(writeFile(path("damaged.mp4"), damaged));

    const QString raw = path("raw.h264");
    MAKE_CLIP({"-f", "lavfi", "-i", "testsrc2=size=160x120:rate=25", "-frames:v", "30", "-c:v",
        "libx264", raw});

    QTest::newRow("truncated: completes with what it has") << path("truncated.mp4") << 10 << true;
    QTest::newRow("damaged middle: completes or fails cleanly")
        << path("damaged.mp4") << 5 << false;
    // Without an index a seek back to the start would run to the end.
    QTest::newRow("raw H.264 without index: every frame") << raw << 30 << true;
}

void tst_VideoProcessorBadInput::damagedVideo_endsCleanly()
{
    QFETCH(QString, video);
    QFETCH(int, minimumImages);
    QFETCH(bool, mustFinish);

    const QString out = path(QStringLiteral("out%1").arg(++outputs));
    const QStringList events = runJob(video, out, 30, 90, "BMP", 2);
    QCOMPARE(endings(events), 1);
    if (mustFinish)
        QCOMPARE(events.last(), "finished");
    const int images = imageFiles(out).size();
    QVERIFY2(images >= minimumImages, qPrintable(QString::number(images)));
    QCOMPARE(events.at(events.size() - 2),
        QStringLiteral("progress %1/").arg(images) + events.first().section('/', 1));
}

void tst_VideoProcessorBadInput::unusualPixelFormats_areWritten_data()
{
    QTest::addColumn<QString>("pixelFormat");
    QTest::addColumn<QString>("codec");
    QTest::addColumn<QString>("container");

    QTest::newRow("10-bit 4:4:4") << "yuv444p10le"
                                  << "ffv1"
                                  << "mkv";
    QTest::newRow("16-bit grey") << "gray16le"
                                 << "ffv1"
                                 << "mkv";
    QTest::newRow("palette") << "pal8"
                             << "png"
                             << "mov";
    QTest::newRow("YUV with alpha") << "yuva420p"
                                    << "ffv1"
                                    << "mkv";
    QTest::newRow("RGBA") << "rgba"
                          << "png"
                          << "mov";
    QTest::newRow("4:2:2 H.264") << "yuv422p"
                                 << "libx264"
                                 << "mp4";
}

void tst_VideoProcessorBadInput::unusualPixelFormats_areWritten()
{
    QFETCH(QString, pixelFormat);
    QFETCH(QString, codec);
    QFETCH(QString, container);

    const QString video = path(pixelFormat + "." + container);
    MAKE_CLIP({"-f", "lavfi", "-i", "testsrc2=size=96x64:rate=10", "-frames:v", "4", "-pix_fmt",
        pixelFormat, "-c:v", codec, video});
    for (int depth = 0; depth <= 3; ++depth) {
        const QString out = path(QStringLiteral("%1_%2").arg(pixelFormat).arg(depth));
        const QStringList events = runJob(video, out, 10, 90, "PNG", depth);
        QCOMPARE(events.last(), "finished");
        const QStringList files = imageFiles(out);
        QCOMPARE(files.size(), 4);
        QCOMPARE(QImage(out + '/' + files.last()).size(), QSize(96, 64));
    }
}

void tst_VideoProcessorBadInput::unwritableOutput_endsJobWithPath()
{
    // A directory where the first image should go cannot be written over,
    // whoever runs the test.
    const QString out = path("blocked");
    const QString first = out + "/frame_000001.png";
    QVERIFY(QDir().mkpath(first));

    const QStringList events = runJob(clip, out, 5, 90, "PNG", 2);
    QCOMPARE(events, (QStringList {"progress 0/10", "error 无法保存图像: " + first}));
    QCOMPARE(imageFiles(out), QStringList());
}

void tst_VideoProcessorBadInput::outputPathIsAFile_failsToCreateDirectory()
{
    const QString file = path("occupied");
    QVERIFY(writeFile(file, "not a directory"));
    const QStringList events = runJob(clip, file + "/images", 5, 90, "PNG", 2);
    QCOMPARE(events, QStringList {"error 无法创建输出目录"});
}

void tst_VideoProcessorBadInput::fullDisk_isReportedWithPath()
{
#ifdef Q_OS_UNIX
    // A file-size limit stands in for a full disk: writes past it fail with
    // EFBIG once SIGXFSZ no longer ends the process.
    const QString out = path("full");
    QVERIFY(QDir().mkpath(out));
    struct rlimit previous;
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limited = previous;
    limited.rlim_cur = 16;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const QStringList events = runJob(clip, out, 5, 90, "PNG", 2);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, oldHandler);

    QCOMPARE(events,
        (QStringList {"progress 0/10", "error 无法保存图像: " + out + "/frame_000001.png"}));
    // A cut-off image is not left behind as if it were written.
    QCOMPARE(imageFiles(out), QStringList());
#else
    QSKIP("Needs a file-size limit");
#endif
}

void tst_VideoProcessorBadInput::failureThenStop_reportsBoth_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("text") << QByteArray("not a video\n");
    QTest::newRow("nothing") << QByteArray();
}

void tst_VideoProcessorBadInput::failureThenStop_reportsBoth()
{
#ifdef Q_OS_UNIX
    QFETCH(QByteArray, content);

    // Opening a FIFO waits for its writer: the stop is certain to come
    // before the job fails. The pipeline's tests stop after a failure of the
    // source and of an image.
    const QString fifo = path(QStringLiteral("fifo_%1").arg(++outputs));
    QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    VideoProcessor processor;
    Recorder recorder(processor);
    processor.processVideo(fifo, path("fifo_out"), 5, 90, "PNG", 2, "frame_%1");
    processor.cancel();
    QFile writer(fifo);
    QVERIFY(writer.open(QIODevice::WriteOnly));
    writer.write(content);
    writer.close();

    QTRY_COMPARE_WITH_TIMEOUT(recorder.ends, 2, 30000);
    QCOMPARE(recorder.errors(), (QStringList {"无法打开视频文件", cancelledMessage}));
#else
    QSKIP("Needs a FIFO");
#endif
}

void tst_VideoProcessorBadInput::patternLeavingTheFolder_isRefusedBeforeWriting_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::newRow("parent folder") << "../escaped_%1";
    QTest::newRow("sub-folder") << "sub/frame_%1";
    QTest::newRow("backslash") << "sub\\frame_%1";
    QTest::newRow("drive") << "C:frame_%1";
    QTest::newRow("absolute") << path("absolute_%1");
}

void tst_VideoProcessorBadInput::patternLeavingTheFolder_isRefusedBeforeWriting()
{
    QFETCH(QString, pattern);
    const QString out = path(QStringLiteral("patterns/out%1").arg(++outputs));
    const QStringList events = runJob(clip, out, 5, 90, "PNG", 2, pattern);
    const OptionProblem refused {JobOption::Id::Pattern, pattern,
        OptionProblem::Reason::LeavesFolder, JobOption::Id::Pattern};
    QCOMPARE(events, QStringList {"error " + refused.message()});
    QVERIFY(!QFileInfo::exists(out));
    QCOMPARE(imageFiles(path("patterns")), QStringList());
    QCOMPARE(imageFiles(dir.path()).filter("escaped_"), QStringList());
    QCOMPARE(imageFiles(dir.path()).filter("absolute_"), QStringList());
}

void tst_VideoProcessorBadInput::failedJob_removesOnlyTheFoldersItMade_data()
{
    QTest::addColumn<QString>("video");
    QTest::addColumn<bool>("existedBefore");
    QVERIFY(writeFile(path("not_a_video.mp4"), "text"));
    QTest::newRow("missing folders, video cannot be opened") << path("not_a_video.mp4") << false;
    QTest::newRow("missing folders, nothing decodable") << path("empty_clip.mp4") << false;
    QTest::newRow("folder there before") << path("not_a_video.mp4") << true;
}

void tst_VideoProcessorBadInput::failedJob_removesOnlyTheFoldersItMade()
{
    QFETCH(QString, video);
    QFETCH(bool, existedBefore);
    if (!QFile::exists(path("empty_clip.mp4"))) {
        // A video stream whose only frame cannot be decoded.
        QByteArray data = readFile(clip);
        const qsizetype mdat = data.indexOf("mdat");
        QVERIFY(mdat >= 4);
        const qsizetype payload = qFromBigEndian<quint32>(data.constData() + mdat - 4) - 8;
        data.replace(mdat + 4, payload, QByteArray(payload, '\0'));
        QVERIFY(writeFile(path("empty_clip.mp4"), data));
    }
    const QString parent = path(QStringLiteral("made%1").arg(++outputs));
    const QString out = parent + "/video";
    if (existedBefore)
        QVERIFY(QDir().mkpath(out));

    const QStringList events = runJob(video, out, 5, 90, "PNG", 2);
    QVERIFY2(events.last().startsWith("error "), qPrintable(events.join(", ")));
    QCOMPARE(QFileInfo::exists(out), existedBefore);
    QCOMPARE(QFileInfo::exists(parent), existedBefore);
}

QTEST_GUILESS_MAIN(tst_VideoProcessorBadInput)
#include "tst_videoprocessor_badinput.moc"

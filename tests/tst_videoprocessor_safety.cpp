// What a job leaves on disk when things around it go wrong: images whole or
// not at all, nothing outside the output folder, one run at a time in a
// folder, and input from a FIFO read once, from its first byte.

#include "batchqueue.h"
#include "imagefile.h"
#include "outcome.h"
#include "outputfolder.h"
#include "videofixture.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QLockFile>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <thread>

#ifdef Q_OS_LINUX
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace VideoFixture;

namespace {

// A file whose writing goes wrong in the ways a device can: a write
// refused, a short write nobody mentions, bytes claimed but not written,
// bytes lost by the time the file is closed.
class FailingFile : public QFile
{
public:
    enum class Fault { None, Refuses, SilentShortWrite, ClaimsAll, LosesBytesOnClose };

    FailingFile(const QString &path, Fault fault)
        : QFile(path)
        , fault(fault)
    {
    }

    void close() override
    {
        QFile::close();
        if (fault == Fault::LosesBytesOnClose)
            QFile::resize(fileName(), size() / 2);
    }

protected:
    qint64 writeData(const char *data, qint64 length) override
    {
        switch (fault) {
        case Fault::None:
        case Fault::LosesBytesOnClose:
            return QFile::writeData(data, length);
        case Fault::Refuses:
            return -1;
        case Fault::SilentShortWrite:
            return QFile::writeData(data, length / 2);
        case Fault::ClaimsAll:
            return QFile::writeData(data, length / 2) < 0 ? -1 : length;
        }
        return -1;
    }

private:
    const Fault fault;
};

// Every file of a folder, dot-files too, in name order.
QStringList allFiles(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

QString fileName(const QString &path)
{
    return QFileInfo(path).fileName();
}

} // namespace

class tst_VideoProcessorSafety : public QObject
{
    Q_OBJECT

public:
    tst_VideoProcessorSafety() { QStandardPaths::setTestModeEnabled(true); }

private slots:
    void initTestCase();
    void writeAll_countsOnlyWhatIsWholeOnDisk_data();
    void writeAll_countsOnlyWhatIsWholeOnDisk();
    void temporaryNames_matchOnlyTheJobsOwn_data();
    void temporaryNames_matchOnlyTheJobsOwn();
    void jobStart_removesWhatAKilledJobLeft_data();
    void jobStart_removesWhatAKilledJobLeft();
    void safeName_keepsAFolderInsideItsParent_data();
    void safeName_keepsAFolderInsideItsParent();
    void jobsForVideos_neverLeaveTheOutputFolder_data();
    void jobsForVideos_neverLeaveTheOutputFolder();
    void holds_acceptsOnlyEntriesRightInside_data();
    void holds_acceptsOnlyEntriesRightInside();
    void earlierImages_areKeptOrAllReplaced_data();
    void earlierImages_areKeptOrAllReplaced();
    void folderLock_refusesALiveHolderOnly_data();
    void folderLock_refusesALiveHolderOnly();
    void twoJobsAtOnce_theSecondIsRefused();
    void fifo_givesTheFilesImages_data();
    void fifo_givesTheFilesImages();

private:
    QString path(const QString &name) const { return dir.filePath(name); }
    QString newFolder()
    {
        const QString folder = path(QStringLiteral("out%1").arg(++outputs));
        return QDir().mkpath(folder) ? folder : QString();
    }
    ExtractionJob job(const QString &output, const QString &video = QStringLiteral("clip.mp4"))
    {
        ExtractionJob made;
        made.videoPath = path(video);
        made.outputPath = output;
        made.format = QStringLiteral("PNG");
        return made;
    }

    QTemporaryDir dir;
    int outputs = 0;
};

void tst_VideoProcessorSafety::initTestCase()
{
    silenceFfmpeg();
    QVERIFY(dir.isValid());
    // At the default 5 of 10 frames a second: 2 images.
    MAKE_CLIP(countingClip("10", 4, path("clip.mp4")));
    // Slow enough as PNG by one writer that a second job comes while it runs.
    MAKE_CLIP(testClip(path("long.mp4"), "640x480", 4.0, 25));
}

void tst_VideoProcessorSafety::writeAll_countsOnlyWhatIsWholeOnDisk_data()
{
    using Fault = FailingFile::Fault;
    QTest::addColumn<QString>("device"); // empty: a new file
    QTest::addColumn<int>("fault");
    QTest::addColumn<int>("outcome");

    QTest::newRow("every byte written and closed")
        << QString() << int(Fault::None) << int(Outcome::Converted);
#ifdef Q_OS_LINUX
    // Every write there fails as on a full disk.
    QTest::newRow("a device that is full")
        << "/dev/full" << int(Fault::None) << int(Outcome::DiskFull);
#endif
    QTest::newRow("a write refused, on a disk with room")
        << QString() << int(Fault::Refuses) << int(Outcome::CannotWrite);
    QTest::newRow("a short write without a word, on a disk with room")
        << QString() << int(Fault::SilentShortWrite) << int(Outcome::CannotWrite);
    QTest::newRow("bytes claimed but not written")
        << QString() << int(Fault::ClaimsAll) << int(Outcome::CannotWrite);
    QTest::newRow("bytes lost by the close")
        << QString() << int(Fault::LosesBytesOnClose) << int(Outcome::CannotWrite);
}

void tst_VideoProcessorSafety::writeAll_countsOnlyWhatIsWholeOnDisk()
{
    QFETCH(QString, device);
    QFETCH(int, fault);
    QFETCH(int, outcome);

    QByteArray bytes(100000, Qt::Uninitialized);
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = char(i * 7);
    const QString file = device.isEmpty() ? newFolder() + "/image.bin" : device;
    FailingFile written(file, FailingFile::Fault(fault));
    QVERIFY(written.open(QIODevice::WriteOnly));
    QCOMPARE(int(ImageFile::writeAll(written, bytes)), outcome);
    QVERIFY(!written.isOpen());
    if (outcome == int(Outcome::Converted))
        QCOMPARE(readFile(file), bytes);
}

void tst_VideoProcessorSafety::temporaryNames_matchOnlyTheJobsOwn_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("timeInNames");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("matches");

    const QString first = fileName(ImageFile::temporaryPath("/x/frame_000001.png"));
    const QString second = fileName(ImageFile::temporaryPath("/x/frame_000001.png", 2));
    QCOMPARE(first, QStringLiteral(".frame_000001.png.part"));
    QCOMPARE(second, QStringLiteral(".frame_000001.png.2.part"));
    QTest::newRow("an image's first temporary name") << "frame_%1" << false << first << true;
    QTest::newRow("an image's later temporary name") << "frame_%1" << false << second << true;
    QTest::newRow("a time name's")
        << "frame_%1" << true
        << fileName(ImageFile::temporaryPath("/x/frame_000012_00-01-02.500.png")) << true;
    QTest::newRow("a time name's, for a job without times")
        << "frame_%1" << false << ".frame_000012_00-01-02.500.png.part" << false;
    QTest::newRow("the image's own name") << "frame_%1" << false << "frame_000001.png" << false;
    QTest::newRow("without the leading dot")
        << "frame_%1" << false << "frame_000001.png.part" << false;
    QTest::newRow("another pattern's") << "frame_%1" << false << ".shot_000001.png.part" << false;
    QTest::newRow("another format's") << "frame_%1" << false << ".frame_000001.jpg.part" << false;
    QTest::newRow("a number the job never gives")
        << "frame_%1" << false << ".frame_000000.png.part" << false;
    QTest::newRow("the number twice, the same")
        << "(%1)+[%1]" << false << ".(000007)+[000007].png.part" << true;
    QTest::newRow("the number twice, different")
        << "(%1)+[%1]" << false << ".(000007)+[000008].png.part" << false;
}

void tst_VideoProcessorSafety::temporaryNames_matchOnlyTheJobsOwn()
{
    QFETCH(QString, pattern);
    QFETCH(bool, timeInNames);
    QFETCH(QString, name);
    QFETCH(bool, matches);

    const QRegularExpression expression = ImageFile::temporaryNameExpression(
        ImageNaming::imageNameExpression(pattern, "PNG", timeInNames));
    QCOMPARE(expression.match(name).hasMatch(), matches);
}

void tst_VideoProcessorSafety::jobStart_removesWhatAKilledJobLeft_data()
{
    QTest::addColumn<QString>("leftover");
    QTest::addColumn<bool>("removed");

    QTest::newRow("an image's temporary file") << ".frame_000005.png.part" << true;
    QTest::newRow("a later attempt's") << ".frame_000001.png.3.part" << true;
    QTest::newRow("a time name's, left by the same naming with times")
        << ".frame_000007_00-00-01.000.png.part" << true;
    QTest::newRow("another pattern's") << ".shot_000001.png.part" << false;
    QTest::newRow("another format's") << ".frame_000001.jpg.part" << false;
    QTest::newRow("a file of the user's") << "frame_000001.png.part" << false;
    QTest::newRow("a dot-file of the user's") << ".notes.part" << false;
}

void tst_VideoProcessorSafety::jobStart_removesWhatAKilledJobLeft()
{
    QFETCH(QString, leftover);
    QFETCH(bool, removed);

    const QString out = newFolder();
    QVERIFY(writeFile(out + '/' + leftover, "cut off"));
    QCOMPARE(runJob(job(out)).last(), QStringLiteral("finished"));

    QStringList expected = numberedImages(2, "png");
    if (!removed)
        expected << leftover;
    expected.sort();
    QCOMPARE(allFiles(out), expected);
    for (const QString &image : numberedImages(2, "png"))
        QVERIFY2(!QImage(out + '/' + image).isNull(), qPrintable(image));
}

void tst_VideoProcessorSafety::safeName_keepsAFolderInsideItsParent_data()
{
    using Rules = OutputFolder::NameRules;
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("rules");
    QTest::addColumn<QString>("safe");

    const auto both = [](const char *tag, const QString &name, const QString &safe) {
        QTest::addRow("%s", tag) << name << int(Rules::Common) << safe;
        QTest::addRow("%s, Windows", tag) << name << int(Rules::Windows) << safe;
    };
    both("a plain name", "holiday 2024", "holiday 2024");
    both("empty", "", "_");
    both("the folder itself", ".", "_");
    both("the parent", "..", "__");
    both("a slash", "a/b", "a_b");
    both("a backslash", "a\\b", "a_b");
    both("leading and trailing dots and spaces", ". a.b .", "__a.b__");
    both("a hidden name", ".hidden", "_hidden");
    both("wide characters", QStringLiteral("假期 视频"), QStringLiteral("假期 视频"));
    QTest::newRow("a device name, elsewhere") << "con" << int(Rules::Common) << "con";
    QTest::newRow("a device name") << "con" << int(Rules::Windows) << "con_";
    QTest::newRow("a device name with an extension")
        << "CON.backup" << int(Rules::Windows) << "CON_.backup";
    QTest::newRow("a numbered device") << "lpt9.x" << int(Rules::Windows) << "lpt9_.x";
    QTest::newRow("not a device") << "com10" << int(Rules::Windows) << "com10";
    QTest::newRow("Windows's forbidden characters, elsewhere")
        << "a:b?" << int(Rules::Common) << "a:b?";
    QTest::newRow("Windows's forbidden characters")
        << "a:b?<|>\"*" << int(Rules::Windows) << "a_b______";
    QTest::newRow("a control character") << "tab\there" << int(Rules::Windows) << "tab_here";
}

void tst_VideoProcessorSafety::safeName_keepsAFolderInsideItsParent()
{
    QFETCH(QString, name);
    QFETCH(int, rules);
    QFETCH(QString, safe);

    const QString made = OutputFolder::safeName(name, OutputFolder::NameRules(rules));
    QCOMPARE(made, safe);
    QVERIFY(OutputFolder::holds("/out", "/out/" + made));
}

void tst_VideoProcessorSafety::jobsForVideos_neverLeaveTheOutputFolder_data()
{
    QTest::addColumn<QStringList>("videos");
    QTest::addColumn<QStringList>("folders");

    QTest::newRow("three dots") << QStringList {"/v/...mp4"} << QStringList {"__"};
    QTest::newRow("two dots") << QStringList {"/v/..mp4"} << QStringList {"_"};
    QTest::newRow("a space") << QStringList {"/v/ .mp4"} << QStringList {"_"};
    QTest::newRow("an extension alone") << QStringList {"/v/.mp4"} << QStringList {"_mp4"};
    QTest::newRow("a trailing dot") << QStringList {"/v/clip..mp4"} << QStringList {"clip_"};
    QTest::newRow("standard input") << QStringList {"-"} << QStringList {"stdin"};
    QTest::newRow("names that become one get numbers")
        << QStringList {"/v/..mp4", "/w/ .mp4", "/x/_.mp4"} << QStringList {"_", "_ (2)", "_ (3)"};
    QTest::newRow("a plain name stays")
        << QStringList {"/v/clip.v2.mp4"} << QStringList {"clip.v2"};
}

void tst_VideoProcessorSafety::jobsForVideos_neverLeaveTheOutputFolder()
{
    QFETCH(QStringList, videos);
    QFETCH(QStringList, folders);

    ExtractionJob settings;
    settings.outputPath = QStringLiteral("/out/root");
    const QList<ExtractionJob> jobs = BatchQueue::jobsForVideos(videos, settings, true);
    QStringList made;
    for (const ExtractionJob &each : jobs) {
        QVERIFY2(
            OutputFolder::holds(settings.outputPath, each.outputPath), qPrintable(each.outputPath));
        made << fileName(each.outputPath);
    }
    QCOMPARE(made, folders);
}

void tst_VideoProcessorSafety::holds_acceptsOnlyEntriesRightInside_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("held");

    const auto row = [](const char *tag, const QString &folder, const QString &entry, bool held) {
        QTest::newRow(tag) << folder << entry << held;
    };
    row("a file in it", "/out", "/out/a.png", true);
    row("a folder written with a slash", "/out/", "/out/a.png", true);
    row("a folder written with a detour", "/out/x/..", "/out/a.png", true);
    row("relative, both", "out", "./out/a.png", true);
    row("relative and absolute", "out", QDir::currentPath() + "/out/a.png", true);
    row("the parent's", "/out", "/out/../a.png", false);
    row("relative, the parent's", "out", "out/../a.png", false);
    row("the folder itself", "/out", "/out/.", false);
    row("the parent itself", "/out", "/out/..", false);
    row("deeper", "/out", "/out/sub/a.png", false);
    row("a neighbour with the same start", "/out", "/outside/a.png", false);
#if !defined(Q_OS_WIN) && !defined(Q_OS_MACOS)
    row("another case is another folder", "/out", "/OUT/a.png", false);
#endif
}

void tst_VideoProcessorSafety::holds_acceptsOnlyEntriesRightInside()
{
    QFETCH(QString, folder);
    QFETCH(QString, entry);
    QFETCH(bool, held);
    QCOMPARE(OutputFolder::holds(folder, entry), held);
}

void tst_VideoProcessorSafety::earlierImages_areKeptOrAllReplaced_data()
{
    QTest::addColumn<QStringList>("earlier"); // each holding "earlier"
    QTest::addColumn<bool>("timeInNames");
    QTest::addColumn<bool>("overwrite");
    QTest::addColumn<int>("refusedCount"); // 0: the job writes
    QTest::addColumn<QStringList>("after"); // the folder's files; "*" for the job's own images

    const QStringList others {"notes.txt", "shot_000001.png", "frame_000001.jpg", "frame_1.png"};
    const QStringList run {"frame_000001.png", "frame_000003.png", "frame_000012.png"};
    QTest::newRow("other files only: written beside them")
        << others << false << false << 0 << others + QStringList {"*"};
    QTest::newRow("an earlier run: refused, nothing changed")
        << others + run << false << false << 3 << others + run;
    QTest::newRow("an earlier run, overwritten: this run alone, other files kept")
        << others + run << false << true << 0 << others + QStringList {"*"};
    const QStringList timed {"frame_000001_00-00-09.000.png", "frame_000004_01-00-00.000.png"};
    QTest::newRow("names with other times are the same naming: refused")
        << timed << true << false << 2 << timed;
    QTest::newRow("names with other times, overwritten")
        << timed << true << true << 0 << QStringList {"*"};
    QTest::newRow("time names are not the naming of a job without times")
        << timed << false << false << 0 << timed + QStringList {"*"};
}

void tst_VideoProcessorSafety::earlierImages_areKeptOrAllReplaced()
{
    QFETCH(QStringList, earlier);
    QFETCH(bool, timeInNames);
    QFETCH(bool, overwrite);
    QFETCH(int, refusedCount);
    QFETCH(QStringList, after);

    const QString out = newFolder();
    for (const QString &name : earlier)
        QVERIFY(writeFile(out + '/' + name, "earlier"));
    ExtractionJob extraction = job(out);
    extraction.timeInNames = timeInNames;
    extraction.overwrite = overwrite;
    const QStringList events = runJob(extraction);

    if (refusedCount > 0) {
        QCOMPARE(events,
            QStringList {"error " + outcomeMessage(Outcome::ImagesExist, out, refusedCount)});
    } else {
        QCOMPARE(events.last(), QStringLiteral("finished"));
    }
    QStringList kept = after;
    QStringList expected = kept;
    if (kept.removeAll("*") > 0) {
        // Frames 1 and 3 of the clip, 5 of its 10 a second.
        expected = kept
            + (timeInNames
                    ? QStringList {"frame_000001_00-00-00.100.png", "frame_000002_00-00-00.300.png"}
                    : numberedImages(2, "png"));
    }
    expected.sort();
    QCOMPARE(allFiles(out), expected);
    for (const QString &name : std::as_const(kept))
        QCOMPARE(readFile(out + '/' + name), QByteArray("earlier"));
}

void tst_VideoProcessorSafety::folderLock_refusesALiveHolderOnly_data()
{
    QTest::addColumn<QString>("holder");
    QTest::addColumn<bool>("refused");

    QTest::newRow("no lock") << "" << false;
    QTest::newRow("a live holder") << "live" << true;
    QTest::newRow("a live holder, its lock hours old") << "live, old" << true;
    QTest::newRow("a holder that is gone") << "gone" << false;
}

void tst_VideoProcessorSafety::folderLock_refusesALiveHolderOnly()
{
    QFETCH(QString, holder);
    QFETCH(bool, refused);

    const QString out = newFolder();
    const QString lockPath = out + "/.oskivo.lock";
    QLockFile held(lockPath);
    if (holder.startsWith("live")) {
        QVERIFY(held.tryLock(0));
        if (holder.endsWith("old")) {
            QFile lock(lockPath);
            QVERIFY(lock.open(QIODevice::ReadWrite));
            QVERIFY(lock.setFileTime(QDateTime::currentDateTime().addSecs(-5 * 3600),
                QFileDevice::FileModificationTime));
        }
    } else if (holder == "gone") {
#ifdef Q_OS_UNIX
        // A lock as a process writes it that has ended since.
        QProcess ended;
        ended.start("true", QStringList());
        QVERIFY(ended.waitForStarted());
        const qint64 pid = ended.processId();
        QVERIFY(ended.waitForFinished());
        QVERIFY(writeFile(lockPath,
            QStringLiteral("%1\noskivo-cli\n%2\n")
                .arg(pid)
                .arg(QSysInfo::machineHostName())
                .toUtf8()));
#else
        QSKIP("Needs a process id that is known to be gone");
#endif
    }

    const QStringList events = runJob(job(out));
    if (refused) {
        QCOMPARE(events, QStringList {"error " + outcomeMessage(Outcome::FolderInUse, out)});
        QCOMPARE(imageFiles(out), QStringList());
        QVERIFY(QFileInfo::exists(lockPath));
    } else {
        QCOMPARE(events.last(), QStringLiteral("finished"));
        // The lock goes with the job.
        QCOMPARE(allFiles(out), numberedImages(2, "png"));
    }
}

void tst_VideoProcessorSafety::twoJobsAtOnce_theSecondIsRefused()
{
    const QString out = newFolder();
    ExtractionJob first = job(out, "long.mp4");
    first.selection.frameRate = 25;
    first.quality = 100;
    first.writers = 1;
    VideoProcessor running;
    Recorder firstEvents(running);
    running.processVideo(first);
    QTRY_VERIFY_WITH_TIMEOUT(firstEvents.progressCount() >= 2, 60000);

    // Another naming changes nothing: the folder is taken.
    ExtractionJob second = job(out);
    second.namingPattern = QStringLiteral("other_%1");
    QCOMPARE(runJob(second), QStringList {"error " + outcomeMessage(Outcome::FolderInUse, out)});

    running.cancel();
    WAIT_FOR_END(firstEvents, 60000);
    const QStringList files = imageFiles(out);
    QVERIFY(!files.isEmpty());
    QCOMPARE(files, numberedImages(int(files.size()), "png"));
    // Free again once the first has ended.
    QCOMPARE(runJob(second).last(), QStringLiteral("finished"));
}

void tst_VideoProcessorSafety::fifo_givesTheFilesImages_data()
{
    QTest::addColumn<QString>("video");
    QTest::addColumn<QString>("selection");

    // Two seconds at 10 fps, a keyframe every second; MP4 with its index
    // ahead of the pictures, which a pipe cannot go back to seek in.
    MAKE_CLIP(testClip(path("stream.ts"), "160x120", 2.0, 10, {"-g", "10"}));
    MAKE_CLIP(
        testClip(path("indexed.mp4"), "160x120", 2.0, 10, {"-g", "10", "-movflags", "+faststart"}));
    MAKE_CLIP(testClip(path("stream.mkv"), "160x120", 2.0, 10, {"-g", "10"}));
    const auto row = [](const char *tag, const char *video, const char *selection) {
        QTest::newRow(tag) << QString(video) << QString(selection);
    };
    row("MPEG-TS, 5 a second", "stream.ts", "rate");
    row("MPEG-TS, from 0.5 s", "stream.ts", "start");
    row("MP4 with its index first, every 0.5 s from 0.3 s", "indexed.mp4", "every");
    row("Matroska, from 0.5 s", "stream.mkv", "start");
}

void tst_VideoProcessorSafety::fifo_givesTheFilesImages()
{
#ifdef Q_OS_LINUX
    QFETCH(QString, video);
    QFETCH(QString, selection);

    ExtractionJob fromFile = job(newFolder(), video);
    if (selection == "start") {
        fromFile.selection.startSeconds = 0.5;
    } else if (selection == "every") {
        fromFile.selection.mode = FrameSelection::Mode::EverySeconds;
        fromFile.selection.everySeconds = 0.5;
        fromFile.selection.startSeconds = 0.3;
    }
    QCOMPARE(runJob(fromFile).last(), QStringLiteral("finished"));

    const QString fifo = path(QStringLiteral("fifo%1").arg(outputs));
    QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ExtractionJob fromFifo = fromFile;
    fromFifo.videoPath = fifo;
    fromFifo.outputPath = newFolder();
    // Linux opens a FIFO for reading and writing without waiting; the writer
    // gives up should the job stop reading, so that the test cannot hang.
    const QByteArray bytes = readFile(path(video));
    std::atomic_bool written {false};
    std::thread writer([&] {
        const int fd = ::open(QFile::encodeName(fifo).constData(), O_RDWR | O_NONBLOCK);
        qint64 sent = 0;
        const QDeadlineTimer deadline(60000);
        while (fd >= 0 && sent < bytes.size() && !deadline.hasExpired()) {
            const ssize_t put = ::write(fd, bytes.constData() + sent, size_t(bytes.size() - sent));
            if (put > 0) {
                sent += put;
            } else if (errno == EAGAIN) {
                pollfd room {fd, POLLOUT, 0};
                ::poll(&room, 1, 100);
            } else {
                break;
            }
        }
        written = sent == bytes.size();
        // Until the job has taken every byte: a FIFO that no one holds open
        // loses what it buffers.
        for (int left = 1; fd >= 0 && left > 0 && !deadline.hasExpired();) {
            if (::ioctl(fd, FIONREAD, &left) != 0)
                break;
            if (left > 0) {
                pollfd nothing {fd, 0, 0};
                ::poll(&nothing, 1, 10);
            }
        }
        if (fd >= 0)
            ::close(fd);
    });
    const QStringList events = runJob(fromFifo);
    writer.join();
    QVERIFY(written);
    QCOMPARE(events.last(), QStringLiteral("finished"));

    const QStringList files = imageFiles(fromFile.outputPath);
    QVERIFY(files.size() >= 3);
    QCOMPARE(imageFiles(fromFifo.outputPath), files);
    for (const QString &name : files) {
        QVERIFY2(readFile(fromFifo.outputPath + '/' + name)
                == readFile(fromFile.outputPath + '/' + name),
            qPrintable(name));
    }
#else
    QSKIP("Needs a FIFO that opens for reading and writing at once");
#endif
}

QTEST_GUILESS_MAIN(tst_VideoProcessorSafety)
#include "tst_videoprocessor_safety.moc"

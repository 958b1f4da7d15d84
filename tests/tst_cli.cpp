// oskivo-cli and oskivo-bench as a user runs them: built programs started as
// processes on short clips, with no window system in their environment.

#include "joboption.h"
#include "outcome.h"
#include "videofixture.h"

#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <csignal>
#endif

using namespace VideoFixture;

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

// "gray8", "rgb8", "rgba8" or "rgb16": what a written image holds.
QString layout(const QImage &image)
{
    if (image.isNull())
        return QStringLiteral("unreadable");
    if (image.depth() == 64)
        return QStringLiteral("rgb16");
    if (image.isGrayscale())
        return QStringLiteral("gray8");
    return image.hasAlphaChannel() ? QStringLiteral("rgba8") : QStringLiteral("rgb8");
}

// The help's entry for an option, its wrapped lines joined.
QString helpEntry(QString help, const QString &option)
{
    // Continued lines are indented past the option names.
    help.replace(QRegularExpression(QStringLiteral("\n {5,}")), QStringLiteral(" "));
    const QRegularExpression entry(
        QStringLiteral(R"(^\s+(?:-\w, )?%1(?:\s.*)?$)").arg(QRegularExpression::escape(option)),
        QRegularExpression::MultilineOption);
    return entry.match(help).captured().simplified();
}

// What the engine says, in the language of `code`, for a text of its own.
QString engineText(const QString &code, const char *source)
{
    QTranslator catalog;
    if (!catalog.load(QStringLiteral(":/translations/lang_%1.qm").arg(code)))
        return QStringLiteral("no catalog for ") + code;
    const QString translated = catalog.translate("VideoProcessor", source);
    return translated.isEmpty() ? QString::fromUtf8(source) : translated;
}

QString json(const QJsonObject &object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

// The tool's lines of JSON, keys in order and "seconds", which varies, as
// whether it is a time; a line that is no object stays as it is.
QStringList jsonLines(const QString &out)
{
    QStringList lines;
    for (const QString &line : out.split(u'\n', Qt::SkipEmptyParts)) {
        QJsonObject object = QJsonDocument::fromJson(line.toUtf8()).object();
        object.insert("seconds", object.value("seconds").toDouble(-1) >= 0);
        lines << (object.size() > 1 ? json(object) : line);
    }
    return lines;
}

// The file names an index lists, CSV or JSON, in its order.
QStringList indexedFiles(const QString &indexPath)
{
    const QByteArray content = readFile(indexPath);
    QStringList files;
    if (indexPath.endsWith(".json")) {
        for (const QJsonValue &row : QJsonDocument::fromJson(content).array())
            files << row.toObject().value("file").toString();
        return files;
    }
    QStringList lines = QString::fromUtf8(content).split(u'\n', Qt::SkipEmptyParts);
    if (lines.isEmpty() || !lines.takeFirst().startsWith("file,"))
        return {"no header"};
    for (const QString &line : lines)
        files << line.section(u',', 0, 0);
    return files;
}

// No language, in the UTF-8 character set that Qt asks for.
const QStringList cLocale {QStringLiteral("LC_ALL=C.UTF-8")};

// What the tool said on stderr, without Qt's notice that the locale named in the
// environment is not installed on this machine, which depends on the machine.
QString toolErrors(const QByteArray &stderrBytes)
{
    static const QRegularExpression notice(
        QStringLiteral(
            R"(Detected locale "[^"]*" with character encoding "[^"]*", which is not UTF-8\..*?for more information[^\n]*\n)"),
        QRegularExpression::DotMatchesEverythingOption);
    return QString::fromLocal8Bit(stderrBytes).remove(notice);
}

// No window system of any kind, and no language but the one given.
QProcessEnvironment toolEnvironment(const QStringList &settings)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LC_ALL",
             "LC_MESSAGES", "LANG", "LANGUAGE"}) {
        environment.remove(QString::fromLatin1(name));
    }
    for (const QString &setting : settings)
        environment.insert(setting.section(u'=', 0, 0), setting.section(u'=', 1));
    return environment;
}

// Why the images of a folder are not 1..k of one run, each whole; empty
// when they are. Dot-files, temporary ones included, are not images.
QString brokenImages(const QString &folder, const QString &extension)
{
    const QStringList files = imageFiles(folder);
    if (files != numberedImages(int(files.size()), extension))
        return QStringLiteral("not 1..k: ") + files.join(u' ');
    for (const QString &name : files) {
        const QByteArray bytes = readFile(folder + '/' + name);
        // Whole: the format's end mark is there, and the picture reads.
        const bool ended = extension == "png" ? bytes.endsWith(QByteArray("IEND\xae\x42\x60\x82"))
            : extension == "jpg"              ? bytes.endsWith(QByteArray("\xff\xd9"))
                                              : true;
        QImageReader reader(folder + '/' + name);
        if (!ended || reader.read().isNull())
            return QStringLiteral("cut off: ") + name;
    }
    return QString();
}

// A folder's dot-files: temporary images, the lock.
QStringList dotFiles(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral(".*")}, QDir::Files | QDir::Hidden);
}

} // namespace

class tst_Cli : public QObject
{
    Q_OBJECT

public:
    tst_Cli() { QStandardPaths::setTestModeEnabled(true); }

private slots:
    void initTestCase();
    void init() { QDir(path("out")).removeRecursively(); }
    void conversion_writesTheImagesTheOptionsSayWithoutAWindowSystem_data();
    void conversion_writesTheImagesTheOptionsSayWithoutAWindowSystem();
    void badUsage_exitsTwoAndSaysWhich_data();
    void badUsage_exitsTwoAndSaysWhich();
    void missingVideo_failsAloneInTheEnvironmentsLanguage_data();
    void missingVideo_failsAloneInTheEnvironmentsLanguage();
    void outcomeCode_namesTheFailureTheSameInEveryLanguage_data();
    void outcomeCode_namesTheFailureTheSameInEveryLanguage();
    void interrupt_stopsWithImagesFromOneWithoutAGap();
    void index_namesEachImageAtTheTimeInItsName_data();
    void index_namesEachImageAtTheTimeInItsName();
    void sheet_isWrittenBesideTheImagesNotAmongThem();
    void progress_isOneLineRedrawnOnlyOnATerminal_data();
    void progress_isOneLineRedrawnOnlyOnATerminal();
    void help_listsEachOptionWithItsRangeAndDefault_data();
    void help_listsEachOptionWithItsRangeAndDefault();
    void manual_listsEveryOutcomeCode();
    void stopSignal_leavesWholeImagesFromOneWithoutAGap_data();
    void stopSignal_leavesWholeImagesFromOneWithoutAGap();
    void closedPipe_doesNotEndTheConversion_data();
    void closedPipe_doesNotEndTheConversion();
    void secondRun_isRefusedOrReplacesTheFirst_data();
    void secondRun_isRefusedOrReplacesTheFirst();
    void sameFolder_oneRunAtATimeEvenAfterAKill();
    void standardInputAndFifo_giveTheFilesImages_data();
    void standardInputAndFifo_giveTheFilesImages();
    void videoNames_neverLeadOutOfTheOutputFolder_data();
    void videoNames_neverLeadOutOfTheOutputFolder();
    void fullDisk_leavesNoCutOffImage_data();
    void fullDisk_leavesNoCutOffImage();
    void manual_listsTheFormatsHelpLists();

private:
    QString path(const QString &name) const { return dir.filePath(name); }
    // A job on long.mp4 into out that writes slowly enough to be stopped midway.
    bool startSlowJob(QProcess &process, const QStringList &extra) const
    {
        process.setProcessEnvironment(toolEnvironment(cLocale));
        process.setWorkingDirectory(dir.path());
        process.start(QStringLiteral(OSKIVO_CLI),
            QStringList {"long.mp4", "-o", "out", "--rate", "25", "--format", "png", "--quality",
                "100", "--writers", "2", "--quiet"}
                + extra);
        return process.waitForStarted();
    }
    Run run(const QStringList &arguments, const QStringList &environment = cLocale,
        const QString &program = QStringLiteral(OSKIVO_CLI)) const;

    QTemporaryDir dir;
};

Run tst_Cli::run(
    const QStringList &arguments, const QStringList &environment, const QString &program) const
{
    QProcess process;
    process.setProcessEnvironment(toolEnvironment(environment));
    process.setWorkingDirectory(dir.path());
    process.start(program, arguments);
    const bool ended = process.waitForFinished(300000);
    return {ended && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
        QString::fromLocal8Bit(process.readAllStandardOutput()),
        ended ? toolErrors(process.readAllStandardError())
              : "did not end: " + process.errorString()};
}

void tst_Cli::initTestCase()
{
    QVERIFY(dir.isValid());
    // Two seconds at 10 fps with a keyframe at 0 s and at 1 s.
    MAKE_CLIP(testClip(path("clip.mp4"), "320x240", 2.0, 10,
        {"-c:v", "libx264", "-g", "10", "-sc_threshold", "0"}));
    MAKE_CLIP(testClip(path("ten.mp4"), "160x120", 10.0, 5));
    // Slow to write as PNG at the highest compression, so that a stop comes mid-way.
    MAKE_CLIP(testClip(path("long.mp4"), "640x480", 8.0, 25));
}

void tst_Cli::conversion_writesTheImagesTheOptionsSayWithoutAWindowSystem_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QStringList>("said"); // on stdout

    // The tool's result line names the count and the folder.
    const auto cli = [](const char *tag, const QStringList &options, const QStringList &files,
                         const char *layout, QSize size = QSize(320, 240)) {
        const QString folder = QFileInfo(files.first()).path() == "." ? "out" : "out/clip";
        QTest::newRow(tag) << OSKIVO_CLI
                           << QStringList {"clip.mp4", "-o", "out", "--quiet"} + options << files
                           << layout << size << QStringList {QString::number(files.size()), folder};
    };
    cli("defaults: 5 a second as 24-bit JPG in the video's folder", {},
        numberedImages(10, "jpg", "clip/"), "rgb8");
    cli("8-bit PNG straight into the folder", {"--format", "png", "--depth", "8", "--no-subfolder"},
        numberedImages(10, "png"), "gray8");
    cli("every 0.5 s from 0:00:00.500 to 1.6 s, named with the times, as 16-bit PNG",
        {"--every", "0.5", "--start", "0:00:00.500", "--end", "1.6", "--pattern", "shot_%1",
            "--time-names", "--subfolder", "--format", "PNG", "--depth", "16"},
        {"clip/shot_000001_00-00-00.500.png", "clip/shot_000002_00-00-01.000.png",
            "clip/shot_000003_00-00-01.500.png"},
        "rgb16");
    cli("count 3, the sharpest of each third, black frames left out",
        {"--count", "3", "--sharpest", "--skip-black", "--distinct", "--distinct-sensitivity", "60",
            "--no-subfolder"},
        numberedImages(3, "jpg"), "rgb8");
    cli("keyframes as 32-bit PNG by two writers, format in any case",
        {"--keyframes", "--format", "Png", "--depth", "32", "--writers", "2"},
        numberedImages(2, "png", "clip/"), "rgba8");
    cli("fitted into 100x100, deinterlaced",
        {"--width", "100", "--height", "100", "--deinterlace", "on"},
        numberedImages(10, "jpg", "clip/"), "rgb8", QSize(100, 75));
    // The benchmark takes the folder as an argument, and the tool's options.
    const QStringList bench {"clip.mp4", "out", "--format", "png"};
    QTest::newRow("bench: 32-bit, every 0.5 s from 0.5 s in seconds")
        << OSKIVO_BENCH
        << bench
            + QStringList {"--depth", "32", "--every", "0.5", "--start", "0.5", "--end", "1.75"}
        << numberedImages(3, "png") << "rgba8" << QSize(320, 240) << QStringList {"frames=3 "};
    QTest::newRow("bench: count 4")
        << OSKIVO_BENCH << bench + QStringList {"--count", "4"} << numberedImages(4, "png")
        << "rgb8" << QSize(320, 240) << QStringList {"frames=4 "};
    QTest::newRow("bench: the default depth is 24-bit")
        << OSKIVO_BENCH << bench << numberedImages(10, "png") << "rgb8" << QSize(320, 240)
        << QStringList {"frames=10 "};
    QTest::newRow("bench: a height alone")
        << OSKIVO_BENCH << bench + QStringList {"--height", "60"} << numberedImages(10, "png")
        << "rgb8" << QSize(80, 60) << QStringList {"frames=10 "};
}

void tst_Cli::conversion_writesTheImagesTheOptionsSayWithoutAWindowSystem()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, files);
    QFETCH(QString, layout);
    QFETCH(QSize, size);
    QFETCH(QStringList, said);

    const Run result = run(arguments, cLocale, program);
    QVERIFY2(result.exitCode == 0, qPrintable(result.err));
    // Not a word on stderr: no platform plug-in was looked for.
    QCOMPARE(result.err, QString());
    QStringList written = imageFiles(path("out"));
    for (const QString &name : imageFiles(path("out/clip")))
        written << "clip/" + name;
    QCOMPARE(written, files);
    QImageReader reader(path("out/" + files.first()));
    const QString extension = QFileInfo(files.first()).suffix();
    QCOMPARE(reader.format(), extension == "jpg" ? QByteArray("jpeg") : extension.toLatin1());
    const QImage image = reader.read();
    QCOMPARE(::layout(image), layout);
    QCOMPARE(image.size(), size);
    for (const QString &text : said)
        QVERIFY2(result.out.contains(text), qPrintable(text + " not in: " + result.out));
}

void tst_Cli::badUsage_exitsTwoAndSaysWhich_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("said");

    const auto row = [](const char *tag, const QStringList &options, const QStringList &said) {
        QTest::newRow(tag) << QStringList {"clip.mp4", "-o", "out"} + options << said;
    };
    row("unknown option", {"--frames", "3"}, {"frames", "--help"});
    row("an integer out of its range", {"--rate", "0"}, {"--rate", "0", "1-60"});
    row("not a number", {"--rate", "five"}, {"--rate", "five"});
    row("a depth not offered", {"--depth", "12"}, {"--depth", "12", "8, 16, 24, 32"});
    row("not a time", {"--start", "1:75"}, {"--start", "1:75"});
    row("end before start", {"--start", "0:05", "--end", "2"}, {"--end", "--start"});
    row("two selections", {"--rate", "2", "--keyframes"}, {"--rate", "--keyframes"});
    row("unknown format", {"--format", "gif"}, {"--format", "gif", "JPG, JPEG, PNG"});
    row("pattern leaving the folder", {"--pattern", "../x_%1"}, {"--pattern", "../x_%1"});
    row("standard input twice", {"-", "-"}, {"(-)"});
    row("sharpest without parts", {"--sharpest"}, {"--sharpest", "--every", "--count"});
    row("sharpest of keyframes", {"--keyframes", "--sharpest"}, {"--sharpest", "--every"});
    row("count with another selection", {"--every", "2", "--count", "3"}, {"--every", "--count"});
    row("count 0", {"--count", "0"}, {"--count", "0", "1-100000"});
    row("distinct sensitivity out of range", {"--distinct", "--distinct-sensitivity", "101"},
        {"--distinct-sensitivity", "101", "1-100"});
    row("a width of zero", {"--width", "0"}, {"--width", "0", "1-16384"});
    row("a negative height", {"--height", "-240"}, {"--height", "-240", "1-16384"});
    row("a width that is no number", {"--width", "wide"}, {"--width", "wide"});
    row("a height past the largest", {"--width", "640", "--height", "16385"},
        {"--height", "16385", "1-16384"});
    row("a deinterlacing mode not offered", {"--deinterlace", "yes"},
        {"--deinterlace", "yes", "auto, on, off"});
    row("an index form not offered", {"--index", "xml"}, {"--index", "xml", "none, csv, json"});
    row("bad usage with --json: still on stderr", {"--json", "--quality", "0"},
        {"--quality", "1-100"});
    QTest::newRow("no output folder") << QStringList {"clip.mp4"} << QStringList {"-o"};
    QTest::newRow("no video") << QStringList {"-o", "out"} << QStringList {"oskivo-cli: "};
}

void tst_Cli::badUsage_exitsTwoAndSaysWhich()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, said);

    const Run result = run(arguments);
    QCOMPARE(result.exitCode, 2);
    for (const QString &text : said)
        QVERIFY2(result.err.contains(text), qPrintable(text + " not in: " + result.err));
    QCOMPARE(result.out, QString());
    QVERIFY(!QFileInfo::exists(path("out")));
}

void tst_Cli::missingVideo_failsAloneInTheEnvironmentsLanguage_data()
{
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<QString>("language");

    QTest::newRow("LC_ALL over LANG")
        << QStringList {"LC_ALL=zh_CN.UTF-8", "LANG=zh_TW.UTF-8"} << "zh_CN";
    QTest::newRow("an empty LC_ALL passed over for LANG")
        << QStringList {"LC_ALL=", "LANG=zh_TW.UTF-8"} << "zh_TW";
    QTest::newRow("another language: English") << QStringList {"LANG=fr_FR.UTF-8"} << "en_US";
    QTest::newRow("nothing set: English") << QStringList() << "en_US";
}

void tst_Cli::missingVideo_failsAloneInTheEnvironmentsLanguage()
{
    QFETCH(QStringList, environment);
    QFETCH(QString, language);

    const Run result = run(
        {"missing.mp4", "clip.mp4", "-o", "out", "--quiet", "--json", "--rate", "2"}, environment);
    const QString cannotOpen = engineText(language, "无法打开视频文件");
    QCOMPARE(result.exitCode, 1);
    QCOMPARE(result.err.trimmed(), "oskivo-cli: missing.mp4: " + cannotOpen);
    QCOMPARE(imageFiles(path("out/clip")), numberedImages(4, "jpg"));
    QVERIFY(!QFileInfo::exists(path("out/missing")));

    const QJsonValue none(QJsonValue::Null);
    QCOMPARE(jsonLines(result.out),
        (QStringList {
            json({{"path", "missing.mp4"}, {"output", "out/missing"}, {"images", 0},
                {"first", none}, {"last", none}, {"index", none}, {"seconds", true},
                {"code", "cannot-open-video"}, {"error", cannotOpen}, {"cancelled", false}}),
            json({{"path", "clip.mp4"}, {"output", "out/clip"}, {"images", 4},
                {"first", "out/clip/frame_000001.jpg"}, {"last", "out/clip/frame_000004.jpg"},
                {"index", none}, {"seconds", true}, {"code", none}, {"error", none},
                {"cancelled", false}})}));
}

void tst_Cli::outcomeCode_namesTheFailureTheSameInEveryLanguage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QJsonValue>("code");

    const QJsonValue none(QJsonValue::Null);
    for (const char *language : {"LANG=zh_CN.UTF-8", "LANG=en_US.UTF-8"}) {
        const auto row
            = [language](const char *name, const QStringList &arguments, const QJsonValue &code) {
                  QTest::addRow("%s, %s", name, language) << arguments << code;
              };
        row("converted", {"clip.mp4", "-o", "out/a", "--every", "1"}, none);
        row("missing video", {"missing.mp4", "-o", "out/a"}, "cannot-open-video");
        row("a text file", {"notes.txt", "-o", "out/a"}, "not-a-video");
        // A folder below a file can be made by nobody, root included.
        row("unwritable output folder", {"clip.mp4", "-o", "notes.txt/out"}, "cannot-make-folder");
    }
}

void tst_Cli::outcomeCode_namesTheFailureTheSameInEveryLanguage()
{
    QFETCH(QStringList, arguments);
    QFETCH(QJsonValue, code);
    QVERIFY(writeFile(path("notes.txt"), "not a video\n"));

    const QString language = QString::fromLatin1(QTest::currentDataTag()).section(", ", 1);
    const Run result = run(arguments + QStringList {"--json", "--quiet"}, {language});
    QCOMPARE(result.exitCode, code.isNull() ? 0 : 1);
    const QJsonObject object = QJsonDocument::fromJson(result.out.toUtf8()).object();
    QCOMPARE(object.value("code"), code);
    QCOMPARE(object.value("error").isNull(), code.isNull());
}

void tst_Cli::interrupt_stopsWithImagesFromOneWithoutAGap()
{
#ifndef Q_OS_UNIX
    QSKIP("Ctrl-C is sent to a process with a POSIX signal here");
#else
    QProcess process;
    // 200 images; a second video that the stop leaves out.
    process.setProcessEnvironment(toolEnvironment(cLocale));
    process.setWorkingDirectory(dir.path());
    process.start(QStringLiteral(OSKIVO_CLI),
        {"long.mp4", "clip.mp4", "-o", "out", "--rate", "25", "--format", "png", "--quality", "100",
            "--writers", "2", "--json", "--index", "csv"});
    QVERIFY(process.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(imageFiles(path("out/long")).size() >= 3, 120000);
    QCOMPARE(::kill(pid_t(process.processId()), SIGINT), 0);
    QVERIFY(process.waitForFinished(120000));

    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 130);
    QStringList files = imageFiles(path("out/long"));
    // The index lists exactly the images kept, in order.
    QVERIFY(files.removeOne("index.csv"));
    QCOMPARE(indexedFiles(path("out/long/index.csv")), files);
    QVERIFY2(files.size() >= 3 && files.size() < 200, qPrintable(files.join(' ')));
    QCOMPARE(files, numberedImages(int(files.size()), "png"));
    for (const QString &file : files)
        QVERIFY2(!QImage(path("out/long/" + file)).isNull(), qPrintable(file));
    QVERIFY(!QFileInfo::exists(path("out/clip")));

    // The stopped video with what it wrote; the one left out, stopped with nothing.
    const QJsonValue none(QJsonValue::Null);
    QCOMPARE(jsonLines(QString::fromUtf8(process.readAllStandardOutput())),
        (QStringList {
            json({{"path", "long.mp4"}, {"output", "out/long"}, {"images", files.size()},
                {"first", "out/long/" + files.first()}, {"last", "out/long/" + files.last()},
                {"index", "out/long/index.csv"}, {"seconds", true}, {"code", "stopped"},
                {"error", engineText("en_US", "操作已取消")}, {"cancelled", true}}),
            json({{"path", "clip.mp4"}, {"output", "out/clip"}, {"images", 0}, {"first", none},
                {"last", none}, {"index", none}, {"seconds", true}, {"code", "stopped"},
                {"error", none}, {"cancelled", true}})}));
#endif
}

void tst_Cli::index_namesEachImageAtTheTimeInItsName_data()
{
    QTest::addColumn<QString>("form");
    QTest::newRow("CSV") << "csv";
    QTest::newRow("JSON") << "json";
}

void tst_Cli::index_namesEachImageAtTheTimeInItsName()
{
    QFETCH(QString, form);

    const Run result = run({"ten.mp4", "-o", "out", "--every", "2", "--time-names", "--index", form,
        "--json", "--quiet"});
    QCOMPARE(result.exitCode, 0);
    const QString index = "out/ten/index." + form;
    QCOMPARE(QJsonDocument::fromJson(result.out.toUtf8()).object().value("index"), index);
    QStringList files = imageFiles(path("out/ten"));
    QVERIFY(files.removeOne("index." + form));
    QCOMPARE(files,
        (QStringList {"frame_000001_00-00-00.000.jpg", "frame_000002_00-00-02.000.jpg",
            "frame_000003_00-00-04.000.jpg", "frame_000004_00-00-06.000.jpg",
            "frame_000005_00-00-08.000.jpg"}));
    QCOMPARE(indexedFiles(path(index)), files);
    // The times as the names give them, to the millisecond.
    const QByteArray content = readFile(path(index));
    for (const char *time : {"0.000", "2.000", "4.000", "6.000", "8.000"}) {
        const QByteArray field = form == "csv"
            ? QByteArray(",") + time + ","
            : QByteArray("\"time\": ") + QByteArray::number(QByteArray(time).toDouble());
        QVERIFY2(content.contains(field), content.constData());
    }
}

void tst_Cli::sheet_isWrittenBesideTheImagesNotAmongThem()
{
    const Run result
        = run({"ten.mp4", "-o", "out", "--every", "1", "--sheet", "--json", "--quiet"});
    QCOMPARE(result.exitCode, 0);
    // Not a word on stderr from the platform that gives the sheet its fonts.
    QCOMPARE(result.err, QString());
    QCOMPARE(QJsonDocument::fromJson(result.out.toUtf8()).object().value("images"), 10);
    QStringList files = imageFiles(path("out/ten"));
    QVERIFY(files.removeOne("contact-sheet.jpg"));
    QCOMPARE(files, numberedImages(10, "jpg"));
    const QImage sheet(path("out/ten/contact-sheet.jpg"));
    QVERIFY(sheet.width() >= 800);
}

void tst_Cli::progress_isOneLineRedrawnOnlyOnATerminal_data()
{
    QTest::addColumn<bool>("terminal");
    QTest::newRow("a pipe: plain lines") << false;
    QTest::newRow("a terminal: redrawn in place") << true;
}

void tst_Cli::progress_isOneLineRedrawnOnlyOnATerminal()
{
    QFETCH(bool, terminal);
    const QStringList arguments {"clip.mp4", "-o", "out", "--rate", "5"};
    const QString script = QStandardPaths::findExecutable(QStringLiteral("script"));
    if (terminal && script.isEmpty())
        QSKIP("no script program to give the tool a terminal");
    // script puts the program on a terminal of its own and copies what it writes.
    const Run result = terminal
        ? run({"-qfec", "'" OSKIVO_CLI "' " + arguments.join(u' '), "/dev/null"}, cLocale, script)
        : run(arguments);
    const QString progress = terminal ? result.out : result.err;
    QCOMPARE(result.exitCode, 0);
    // The count, the rate and the time left, in words that depend on the language.
    static const QRegularExpression last(
        QStringLiteral(R"(\[1/1\] clip\.mp4 \[#{16}\] 10/10 .*\d+\.\d.* 0:00:00)"));
    QVERIFY2(last.match(progress).hasMatch(), qPrintable(progress));
    // Redrawn: a carriage return alone, not the terminal's own one before each newline.
    QCOMPARE(progress.contains(QLatin1String("\r[1/1] clip.mp4")), terminal);
    if (!terminal) {
        QVERIFY(!progress.contains(u'\r'));
        for (const QString &line : progress.split(u'\n', Qt::SkipEmptyParts))
            QVERIFY2(line.startsWith("[1/1] clip.mp4 "), qPrintable(line));
    }
}

void tst_Cli::help_listsEachOptionWithItsRangeAndDefault_data()
{
    QTest::addColumn<QStringList>("said");

    // Every option of the job, as its row says; the help and the manual
    // are made apart from the table, so each must say it.
    for (const JobOption &row : JobOption::all()) {
        QStringList said;
        if (row.kind != JobOption::Kind::Switch)
            said << QStringLiteral("<%1>").arg(QLatin1String(row.valueName));
        if (row.hasRange())
            said << row.valueText(row.minimum) + '-' + row.valueText(row.maximum);
        if (row.kind != JobOption::Kind::Switch && !row.defaultValue.isNull())
            said << row.valueText(row.defaultValue);
        said += row.choiceNames();
        QTest::newRow(qPrintable(row.flag())) << said;
    }
    QTest::newRow("--output") << QStringList {"-o", "<DIR>"};
    QTest::newRow("--subfolder") << QStringList();
    QTest::newRow("--no-subfolder") << QStringList();
    QTest::newRow("--json") << QStringList {
        "path", "images", "first", "last", "index", "code", "error"};
    QTest::newRow("--quiet") << QStringList {"-q"};
    QTest::newRow("--version") << QStringList {"-v"};
}

void tst_Cli::help_listsEachOptionWithItsRangeAndDefault()
{
    QFETCH(QStringList, said);

    const Run help = run({"--help"});
    QCOMPARE(help.exitCode, 0);
    QVERIFY2(help.out.contains("VIDEO... -o DIR"), qPrintable(help.out));
    const QString entry = helpEntry(help.out, QTest::currentDataTag());
    QVERIFY2(!entry.isEmpty(), qPrintable(help.out));
    for (const QString &text : said)
        QVERIFY2(entry.contains(text), qPrintable(text + " not in: " + entry));

    const Run version = run({"--version"});
    QCOMPARE(version.exitCode, 0);
    QCOMPARE(version.out, QStringLiteral("oskivo-cli " OSKIVO_VERSION "\n"));

    // The manual's list is written by hand: it names each option, its
    // hyphens escaped as roff wants them.
    const QString flag = QString::fromLatin1(QTest::currentDataTag());
    QString manual = QString::fromUtf8(readFile(QStringLiteral(OSKIVO_MAN_PAGE)));
    QVERIFY(!manual.isEmpty());
    manual.remove(QLatin1String("\\fR")).remove(QLatin1String("\\fB"));
    QVERIFY2(manual.contains(QString(flag).replace('-', QLatin1String("\\-"))),
        qPrintable(flag + " is not in the manual"));
}

void tst_Cli::manual_listsEveryOutcomeCode()
{
    const QString manual = QString::fromUtf8(readFile(QStringLiteral(OSKIVO_MAN_PAGE)));
    for (const Outcome outcome : allOutcomes()) {
        if (outcome == Outcome::Converted)
            continue;
        const QString code = QString::fromLatin1(outcomeCode(outcome));
        QVERIFY2(manual.contains(QStringLiteral(".B ") + code + '\n'), qPrintable(code));
    }
}

void tst_Cli::stopSignal_leavesWholeImagesFromOneWithoutAGap_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<int>("after"); // images written before it
    QTest::addColumn<int>("exitCode"); // -1: the second signal ends it

#ifdef Q_OS_UNIX
    QTest::newRow("SIGTERM after the first image") << int(SIGTERM) << 1 << 143;
    QTest::newRow("SIGTERM after four images") << int(SIGTERM) << 4 << 143;
    QTest::newRow("SIGHUP after two images") << int(SIGHUP) << 2 << 129;
    QTest::newRow("a second Ctrl-C while the first stops it") << int(SIGINT) << 2 << -1;
#endif
}

void tst_Cli::stopSignal_leavesWholeImagesFromOneWithoutAGap()
{
#ifndef Q_OS_UNIX
    QSKIP("The signals are POSIX ones");
#else
    QFETCH(int, signal);
    QFETCH(int, after);
    QFETCH(int, exitCode);

    QProcess process;
    QVERIFY(startSlowJob(process, {"--json"}));
    QTRY_VERIFY_WITH_TIMEOUT(imageFiles(path("out/long")).size() >= after, 120000);
    QVERIFY(process.processId() > 0);
    QCOMPARE(::kill(pid_t(process.processId()), signal), 0);
    if (exitCode < 0) {
        // The second comes once the tool has said that it stops, unless
        // the stop was over first.
        process.setReadChannel(QProcess::StandardError);
        QTRY_VERIFY_WITH_TIMEOUT(
            process.canReadLine() || process.state() == QProcess::NotRunning, 60000);
        if (process.state() == QProcess::Running)
            QCOMPARE(::kill(pid_t(process.processId()), signal), 0);
    }
    // The wait above runs the event loop, where the end may already have
    // been seen; waitForFinished() is false for a process that has ended.
    QVERIFY(process.state() == QProcess::NotRunning || process.waitForFinished(120000));

    if (exitCode < 0) {
        QVERIFY(process.exitStatus() == QProcess::CrashExit || process.exitCode() == 130);
    } else {
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), exitCode);
        const QJsonObject result
            = QJsonDocument::fromJson(process.readAllStandardOutput()).object();
        QCOMPARE(result.value("code").toString(), QStringLiteral("stopped"));
        QCOMPARE(result.value("images").toInt(), imageFiles(path("out/long")).size());
        // A stop that ran its course leaves nothing half-done, no lock.
        QCOMPARE(dotFiles(path("out/long")), QStringList());
    }
    const QString broken = brokenImages(path("out/long"), "png");
    QVERIFY2(broken.isEmpty(), qPrintable(broken));
    QVERIFY(imageFiles(path("out/long")).size() >= after);
#endif
}

void tst_Cli::closedPipe_doesNotEndTheConversion_data()
{
    QTest::addColumn<QString>("shell"); // "$@" is the tool's command
    QTest::addColumn<QStringList>("options");

    QTest::newRow("progress and results into a pipe closed after a byte")
        << R"("$@" 2>&1 | head -c 1 > /dev/null; exit ${PIPESTATUS[0]})" << QStringList();
    QTest::newRow("results into a pipe closed before they come")
        << R"("$@" | true; exit ${PIPESTATUS[0]})" << QStringList {"--json", "--quiet"};
}

void tst_Cli::closedPipe_doesNotEndTheConversion()
{
#ifndef Q_OS_UNIX
    QSKIP("Needs a POSIX shell's pipes");
#else
    QFETCH(QString, shell);
    QFETCH(QStringList, options);

    const Run result = run(QStringList {"-c", shell, "bash", OSKIVO_CLI, "clip.mp4", "-o", "out",
                               "--rate", "10", "--format", "png"}
            + options,
        cLocale, QStringLiteral("bash"));
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(imageFiles(path("out/clip")), numberedImages(20, "png"));
    const QString broken = brokenImages(path("out/clip"), "png");
    QVERIFY2(broken.isEmpty(), qPrintable(broken));
#endif
}

void tst_Cli::secondRun_isRefusedOrReplacesTheFirst_data()
{
    QTest::addColumn<QStringList>("first");
    QTest::addColumn<QStringList>("second");
    QTest::addColumn<QStringList>("after"); // empty: the first run's files, unchanged

    const QStringList times {"--time-names"};
    QTest::newRow("a second run: refused, not a file changed")
        << QStringList {"--rate", "5"} << QStringList {"--rate", "2"} << QStringList();
    QTest::newRow("with --overwrite: the second run's images alone")
        << QStringList {"--rate", "5"} << QStringList {"--rate", "2", "--overwrite"}
        << numberedImages(4, "jpg") + QStringList {"notes.txt", "shot_000001.jpg"};
    QTest::newRow("names with other times: refused")
        << times + QStringList {"--rate", "5"} << times + QStringList {"--every", "1"}
        << QStringList();
    QTest::newRow("names with other times, --overwrite: the second run's images alone")
        << times + QStringList {"--rate", "5"}
        << times + QStringList {"--every", "1", "--overwrite"}
        << QStringList {"frame_000001_00-00-00.000.jpg", "frame_000002_00-00-01.000.jpg",
               "notes.txt", "shot_000001.jpg"};
}

void tst_Cli::secondRun_isRefusedOrReplacesTheFirst()
{
    QFETCH(QStringList, first);
    QFETCH(QStringList, second);
    QFETCH(QStringList, after);

    const QStringList common {"clip.mp4", "-o", "out", "--no-subfolder", "--quiet", "--json"};
    QVERIFY(QDir().mkpath(path("out")));
    QVERIFY(writeFile(path("out/notes.txt"), "mine"));
    QVERIFY(writeFile(path("out/shot_000001.jpg"), "another naming"));
    QCOMPARE(run(common + first).exitCode, 0);
    QMap<QString, QByteArray> before;
    for (const QString &name : QDir(path("out")).entryList(QDir::Files | QDir::Hidden))
        before.insert(name, readFile(path("out/" + name)));
    const int earlier = int(before.size()) - 2;

    const Run result = run(common + second);
    const QStringList files = QDir(path("out")).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    if (after.isEmpty()) {
        QCOMPARE(result.exitCode, 1);
        const QJsonObject object = QJsonDocument::fromJson(result.out.toUtf8()).object();
        QCOMPARE(object.value("code").toString(), QStringLiteral("images-exist"));
        QCOMPARE(object.value("images").toInt(), 0);
        // The folder and the count, and the way on.
        for (const QString &said :
            {QStringLiteral("out"), QString::number(earlier), QStringLiteral("--overwrite")}) {
            QVERIFY2(result.err.contains(said), qPrintable(said + " not in: " + result.err));
        }
        QCOMPARE(files, QStringList(before.keys()));
        for (const QString &name : files)
            QVERIFY2(readFile(path("out/" + name)) == before.value(name), qPrintable(name));
    } else {
        QVERIFY2(result.exitCode == 0, qPrintable(result.err));
        QStringList expected = after;
        expected.sort();
        QCOMPARE(files, expected);
        QCOMPARE(readFile(path("out/notes.txt")), QByteArray("mine"));
    }
}

void tst_Cli::sameFolder_oneRunAtATimeEvenAfterAKill()
{
#ifndef Q_OS_UNIX
    QSKIP("Ends a process with a POSIX signal");
#else
    QProcess running;
    QVERIFY(startSlowJob(running, {"--no-subfolder"}));
    QTRY_VERIFY_WITH_TIMEOUT(imageFiles(path("out")).size() >= 2, 120000);

    // Another run into the folder, even of another naming, is refused.
    const QStringList other {"clip.mp4", "-o", "out", "--no-subfolder", "--quiet", "--json",
        "--pattern", "other_%1", "--format", "png"};
    const Run refused = run(other);
    QCOMPARE(refused.exitCode, 1);
    QCOMPARE(QJsonDocument::fromJson(refused.out.toUtf8()).object().value("code").toString(),
        QStringLiteral("folder-in-use"));
    QCOMPARE(imageFiles(path("out")).filter("other_"), QStringList());

    // Killed outright: what has an image's name is whole, 1..k.
    QVERIFY(running.processId() > 0);
    QCOMPARE(::kill(pid_t(running.processId()), SIGKILL), 0);
    QVERIFY(running.waitForFinished(60000));
    const QString broken = brokenImages(path("out"), "png");
    QVERIFY2(broken.isEmpty(), qPrintable(broken));
    QVERIFY(dotFiles(path("out")).contains(".oskivo.lock"));

    // The lock of a process that is gone is taken over, and what it left
    // half-written goes.
    const QStringList again {
        "clip.mp4", "-o", "out", "--no-subfolder", "--quiet", "--format", "png", "--overwrite"};
    const Run next = run(again);
    QVERIFY2(next.exitCode == 0, qPrintable(next.err));
    QCOMPARE(imageFiles(path("out")), numberedImages(10, "png"));
    QCOMPARE(dotFiles(path("out")), QStringList());
#endif
}

void tst_Cli::standardInputAndFifo_giveTheFilesImages_data()
{
    QTest::addColumn<QString>("shell"); // "$@" is the tool's command, without the video
    QTest::addColumn<QString>("video"); // the same video as a file
    QTest::addColumn<QString>("folder");

    MAKE_CLIP({"-i", path("clip.mp4"), "-c", "copy", path("clip.ts")});
    const auto row = [](const char *tag, const char *shell, const char *video, const char *folder) {
        QTest::newRow(tag) << QString(shell) << QString(video) << QString(folder);
    };
    row("a pipe on standard input", R"(cat clip.ts | "$@" -)", "clip.ts", "stdin");
    // An MP4 whose index is at its end: standard input can go back in a file.
    row("a file on standard input", R"("$@" - < clip.mp4)", "clip.mp4", "stdin");
    row("a FIFO", R"(rm -f stream && mkfifo stream && { cat clip.ts > stream & } && "$@" stream)",
        "clip.ts", "stream");
}

void tst_Cli::standardInputAndFifo_giveTheFilesImages()
{
#ifndef Q_OS_UNIX
    QSKIP("Needs a POSIX shell's pipes and FIFOs");
#else
    QFETCH(QString, shell);
    QFETCH(QString, video);
    QFETCH(QString, folder);

    const QStringList options {"-o", "out", "--rate", "10", "--quiet"};
    QCOMPARE(run(QStringList {video} + options).exitCode, 0);
    const Run piped = run(
        QStringList {"-c", shell, "bash", OSKIVO_CLI} + options, cLocale, QStringLiteral("bash"));
    QVERIFY2(piped.exitCode == 0, qPrintable(piped.err));

    const QString fromFile = path("out/" + QFileInfo(video).completeBaseName());
    const QStringList files = imageFiles(fromFile);
    QCOMPARE(files, numberedImages(20, "jpg"));
    QCOMPARE(imageFiles(path("out/" + folder)), files);
    for (const QString &name : files) {
        QVERIFY2(readFile(path("out/" + folder + '/' + name)) == readFile(fromFile + '/' + name),
            qPrintable(name));
    }
#endif
}

void tst_Cli::videoNames_neverLeadOutOfTheOutputFolder_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("folder");

    const auto row = [](const char *tag, const char *name, const char *folder) {
        QTest::newRow(tag) << QString(name) << QString(folder);
    };
    row("three dots", "...mp4", "__");
    row("two dots", "..mp4", "_");
    row("a space", " .mp4", "_");
    row("a hidden name", ".hidden.mp4", "_hidden");
#ifdef Q_OS_WIN
    row("a device name", "con.mp4", "con_");
#else
    row("a device name elsewhere", "con.mp4", "con");
#endif
}

void tst_Cli::videoNames_neverLeadOutOfTheOutputFolder()
{
    QFETCH(QString, name);
    QFETCH(QString, folder);

    QVERIFY(QDir().mkpath(path("out/videos")));
    QVERIFY(QFile::copy(path("clip.mp4"), path("out/videos/") + name));
    const Run result
        = run({"out/videos/" + name, "-o", "out/box/in", "--every", "1", "--quiet", "--json"});
    QVERIFY2(result.exitCode == 0, qPrintable(result.err));
    QCOMPARE(QDir(path("out")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
        (QStringList {"box", "videos"}));
    QCOMPARE(
        QDir(path("out/box")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
        QStringList {"in"});
    QCOMPARE(
        QDir(path("out/box/in")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
        QStringList {folder});
    QCOMPARE(imageFiles(path("out/box/in/" + folder)), numberedImages(2, "jpg"));
}

void tst_Cli::fullDisk_leavesNoCutOffImage_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("size"); // of the file system

    // Each picture 960x720: a TIFF of 2 MB, a PNG of about 100 KB, at the
    // fastest compression more, a JPG of about 50 KB.
    QTest::newRow("TIFF, the second image past the end") << QStringLiteral("tiff") << "3m";
    QTest::newRow("PNG") << QStringLiteral("png") << "512k";
    QTest::newRow("JPG") << QStringLiteral("jpg") << "256k";
}

void tst_Cli::fullDisk_leavesNoCutOffImage()
{
#ifndef Q_OS_LINUX
    QSKIP("Mounts a small file system in a namespace of its own");
#else
    QFETCH(QString, format);
    QFETCH(QString, size);

    const QString unshare = QStandardPaths::findExecutable(QStringLiteral("unshare"));
    if (unshare.isEmpty())
        QSKIP("no unshare program to mount a small file system with");
    const QStringList namespaced {"--user", "--map-root-user", "--mount", "sh", "-c"};
    const Run probe = run(
        namespaced + QStringList {"mkdir -p disk && mount -t tmpfs tmpfs disk"}, cLocale, unshare);
    if (probe.exitCode != 0)
        QSKIP(qPrintable("mounting a small file system is refused here: " + probe.err.trimmed()));
    if (!QFileInfo::exists(path("big.mp4")))
        MAKE_CLIP(testClip(path("big.mp4"), "960x720", 1.0, 10));

    // The disk lives as long as the namespace: what is on it is copied out.
    const QString script = QStringLiteral(
        "mount -t tmpfs -o size=%1 tmpfs disk && \"$0\" big.mp4 -o disk/o --rate 10 --format %2 "
        "--quality %3 --writers 1 --quiet --json; status=$?; cp -a disk/. out/; exit $status")
                               .arg(size, format, format == "png" ? "1" : "90");
    QVERIFY(QDir().mkpath(path("out")));
    const Run result = run(namespaced + QStringList {script, OSKIVO_CLI}, cLocale, unshare);
    QCOMPARE(result.exitCode, 1);
    const QJsonObject object = QJsonDocument::fromJson(result.out.toUtf8()).object();
    QCOMPARE(object.value("code").toString(), QStringLiteral("disk-full"));
    const QStringList files = imageFiles(path("out/o/big"));
    QVERIFY(!files.isEmpty());
    QCOMPARE(object.value("images").toInt(), files.size());
    QCOMPARE(object.value("last").toString(), "disk/o/big/" + files.last());
    const QString broken = brokenImages(path("out/o/big"), format);
    QVERIFY2(broken.isEmpty(), qPrintable(broken));
    QCOMPARE(dotFiles(path("out/o/big")), QStringList());
#endif
}

void tst_Cli::manual_listsTheFormatsHelpLists()
{
    const Run help = run({"--help"});
    QCOMPARE(help.exitCode, 0);
    const QString entry = helpEntry(help.out, QStringLiteral("--format"));
    // The manual's list is built with the program: "JPG, JPEG, ... or PPM".
    const QString manual = QString::fromUtf8(readFile(QStringLiteral(OSKIVO_MAN_PAGE)));
    const QRegularExpressionMatch line
        = QRegularExpression(QStringLiteral(R"(in any letter case: ([\w, ]+?), those that)"))
              .match(manual);
    QVERIFY2(line.hasMatch(), "the manual lists no formats");
    QStringList listed = line.captured(1).split(QStringLiteral(", "));
    const QStringList last = listed.takeLast().split(QStringLiteral(" or "));
    listed << last;
    const QStringList offered = JobOption::row(JobOption::Id::Format).choiceNames();
    QCOMPARE(listed, offered);
    for (const QString &format : offered)
        QVERIFY2(entry.contains(format), qPrintable(format + " not in: " + entry));
}

QTEST_GUILESS_MAIN(tst_Cli)
#include "tst_cli.moc"

// oskivo-cli and oskivo-bench as a user runs them: built programs started as
// processes on short clips, with no window system in their environment.

#include "formatlist.h"
#include "videofixture.h"

#include <QImageReader>
#include <QImageWriter>
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

// The names frame_000001.<extension> to frame_<count>.<extension>.
QStringList numbered(int count, const QString &extension, const QString &folder = QString())
{
    QStringList names;
    for (int i = 1; i <= count; ++i)
        names << folder
                + QStringLiteral("frame_%1.%2").arg(ExtractionRules::frameNumberText(i), extension);
    return names;
}

// The text an option's entry of the help holds, its wrapped lines joined.
QString helpEntry(const QString &help, const QString &option)
{
    const QRegularExpression start(
        QStringLiteral(R"(^\s+(?:-\w, )?%1(?:\s|$))").arg(QRegularExpression::escape(option)));
    const QStringList lines = help.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!start.match(lines.at(i)).hasMatch())
            continue;
        QString entry = lines.at(i);
        // Continued lines are indented past the option names.
        while (i + 1 < lines.size() && lines.at(i + 1).startsWith(QLatin1String("     ")))
            entry += u' ' + lines.at(++i).trimmed();
        return entry.simplified();
    }
    return QString();
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

} // namespace

class tst_Cli : public QObject
{
    Q_OBJECT

public:
    tst_Cli() { QStandardPaths::setTestModeEnabled(true); }

private slots:
    void initTestCase();
    void init();
    void conversion_writesTheImagesTheOptionsSay_data();
    void conversion_writesTheImagesTheOptionsSay();
    void anyFormat_isWrittenWithoutAWindowSystem_data();
    void anyFormat_isWrittenWithoutAWindowSystem();
    void badUsage_exitsTwoAndSaysWhich_data();
    void badUsage_exitsTwoAndSaysWhich();
    void missingVideo_failsAloneAndTheOtherIsConverted();
    void json_printsOneObjectPerVideo();
    void interrupt_stopsWithImagesFromOneWithoutAGap();
    void progress_isOneLineRedrawnOnlyOnATerminal_data();
    void progress_isOneLineRedrawnOnlyOnATerminal();
    void language_followsTheEnvironment_data();
    void language_followsTheEnvironment();
    void help_listsEachOptionWithItsRangeAndDefault_data();
    void help_listsEachOptionWithItsRangeAndDefault();
    void bench_keepsItsOptions_data();
    void bench_keepsItsOptions();

private:
    QString path(const QString &name) const { return dir.filePath(name); }
    Run run(const QString &program, const QStringList &arguments,
        const QStringList &environment = {QStringLiteral("LC_ALL=C")}) const;
    Run cli(const QStringList &arguments,
        const QStringList &environment = {QStringLiteral("LC_ALL=C")}) const
    {
        return run(QStringLiteral(OSKIVO_CLI), arguments, environment);
    }
    // What the engine says, in the language of `code`, for a text of its own.
    static QString engineText(const QString &code, const char *source);

    QTemporaryDir dir;
};

Run tst_Cli::run(
    const QString &program, const QStringList &arguments, const QStringList &environment) const
{
    QProcess process;
    process.setProcessEnvironment(toolEnvironment(environment));
    process.setWorkingDirectory(dir.path());
    process.start(program, arguments);
    Run result;
    if (!process.waitForFinished(300000)) {
        result.err = QStringLiteral("did not end: ") + process.errorString();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    result.err = QString::fromLocal8Bit(process.readAllStandardError());
    return result;
}

QString tst_Cli::engineText(const QString &code, const char *source)
{
    QTranslator catalog;
    if (!catalog.load(QStringLiteral(":/translations/lang_%1.qm").arg(code)))
        return QStringLiteral("no catalog for ") + code;
    const QString translated = catalog.translate("VideoProcessor", source);
    return translated.isEmpty() ? QString::fromUtf8(source) : translated;
}

void tst_Cli::initTestCase()
{
    QVERIFY(dir.isValid());
    // Two seconds at 10 fps with a keyframe at 0 s and at 1 s.
    MAKE_CLIP(testClip(path("clip.mp4"), "320x240", 2.0, 10,
        {"-c:v", "libx264", "-g", "10", "-sc_threshold", "0"}));
    // Slow to write as PNG at the highest compression, so that a stop comes mid-way.
    MAKE_CLIP(testClip(path("long.mp4"), "640x480", 8.0, 25));
}

void tst_Cli::init()
{
    QDir(path("out")).removeRecursively();
}

void tst_Cli::conversion_writesTheImagesTheOptionsSay_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("layout");

    QTest::newRow("defaults: 5 a second as 24-bit JPG in the video's folder")
        << QStringList() << numbered(10, "jpg", "clip/") << "rgb8";
    QTest::newRow("8-bit PNG straight into the folder")
        << QStringList {"--format", "png", "--depth", "8", "--no-subfolder"} << numbered(10, "png")
        << "gray8";
    QTest::newRow("every 0.5 s from 0:00:00.500 to 1.6 s, named with the times")
        << QStringList {"--every", "0.5", "--start", "0:00:00.500", "--end", "1.6", "--pattern",
               "shot_%1", "--time-names", "--subfolder"}
        << QStringList {"clip/shot_000001_00-00-00.500.jpg", "clip/shot_000002_00-00-01.000.jpg",
               "clip/shot_000003_00-00-01.500.jpg"}
        << "rgb8";
    QTest::newRow("keyframes as 32-bit PNG, format in any case")
        << QStringList {"--keyframes", "--format", "Png", "--depth", "32"}
        << numbered(2, "png", "clip/") << "rgba8";
    QTest::newRow("one a second as 16-bit PNG by two writers")
        << QStringList {"--rate", "1", "--format", "PNG", "--depth", "16", "--writers", "2"}
        << numbered(2, "png", "clip/") << "rgb16";
}

void tst_Cli::conversion_writesTheImagesTheOptionsSay()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, files);
    QFETCH(QString, layout);

    const Run result = cli(QStringList {"clip.mp4", "-o", "out"} + options);
    QVERIFY2(result.exitCode == 0, qPrintable(result.err));
    QStringList written;
    for (const QString &folder : {QStringLiteral("out"), QStringLiteral("out/clip")}) {
        for (const QString &name : imageFiles(path(folder)))
            written << QString(folder + u'/' + name).mid(4);
    }
    QCOMPARE(written, files);
    QCOMPARE(::layout(QImage(path("out/" + files.first()))), layout);
    // The result line names the count and the folder.
    QVERIFY2(result.out.contains(QString::number(files.size())), qPrintable(result.out));
    QVERIFY2(result.out.contains(QFileInfo(files.first()).path() == "." ? "out" : "out/clip"),
        qPrintable(result.out));
}

void tst_Cli::anyFormat_isWrittenWithoutAWindowSystem_data()
{
    QTest::addColumn<QString>("format");
    for (const QString &format : buildFormatList(QImageWriter::supportedImageFormats()))
        QTest::newRow(qPrintable(format)) << format;
}

void tst_Cli::anyFormat_isWrittenWithoutAWindowSystem()
{
    QFETCH(QString, format);
    const Run result = cli({"clip.mp4", "-o", "out", "--rate", "1", "--format", format, "--quiet"});
    QCOMPARE(result.exitCode, 0);
    // Not a word on stderr: no platform plug-in was looked for.
    QCOMPARE(result.err, QString());
    const QStringList files = imageFiles(path("out/clip"));
    QCOMPARE(files, numbered(2, format.toLower()));
    QImageReader reader(path("out/clip/" + files.first()));
    QCOMPARE(reader.format(),
        format.compare("JPG", Qt::CaseInsensitive) == 0 ? QByteArray("jpeg")
                                                        : format.toLower().toLatin1());
    QVERIFY2(!reader.read().isNull(), qPrintable(reader.errorString()));
}

void tst_Cli::badUsage_exitsTwoAndSaysWhich_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("said");

    const QStringList video {"clip.mp4", "-o", "out"};
    QTest::newRow("unknown option")
        << video + QStringList {"--frames", "3"} << QStringList {"frames", "--help"};
    QTest::newRow("rate 0") << video + QStringList {"--rate", "0"}
                            << QStringList {"--rate", "0", "1-60"};
    QTest::newRow("rate 61") << video + QStringList {"--rate", "61"}
                             << QStringList {"--rate", "61", "1-60"};
    QTest::newRow("rate in words")
        << video + QStringList {"--rate", "five"} << QStringList {"--rate", "five"};
    QTest::newRow("quality 101") << video + QStringList {"--quality", "101"}
                                 << QStringList {"--quality", "101", "1-100"};
    QTest::newRow("depth 12") << video + QStringList {"--depth", "12"}
                              << QStringList {"--depth", "12", "8, 16, 24, 32"};
    QTest::newRow("depth index 2")
        << video + QStringList {"--depth", "2"} << QStringList {"--depth", "8, 16, 24, 32"};
    QTest::newRow("every 0.05 s") << video + QStringList {"--every", "0.05"}
                                  << QStringList {"--every", "0.05", "0.1-3600"};
    QTest::newRow("scenes 0") << video + QStringList {"--scenes", "0"}
                              << QStringList {"--scenes", "0", "1-100"};
    QTest::newRow("writers 65") << video + QStringList {"--writers", "65"}
                                << QStringList {"--writers", "65", "0-64"};
    QTest::newRow("start not a time")
        << video + QStringList {"--start", "1:75"} << QStringList {"--start", "1:75"};
    QTest::newRow("end before start") << video + QStringList {"--start", "0:05", "--end", "2"}
                                      << QStringList {"--end", "--start"};
    QTest::newRow("two selections") << video + QStringList {"--rate", "2", "--keyframes"}
                                    << QStringList {"--rate", "--keyframes"};
    QTest::newRow("pattern without %1")
        << video + QStringList {"--pattern", "shot"} << QStringList {"--pattern", "shot", "%1"};
    QTest::newRow("pattern leaving the folder")
        << video + QStringList {"--pattern", "../x_%1"} << QStringList {"--pattern", "../x_%1"};
    QTest::newRow("unknown format") << video + QStringList {"--format", "gif"}
                                    << QStringList {"--format", "gif", "JPG, JPEG, PNG"};
    QTest::newRow("both folder options") << video + QStringList {"--subfolder", "--no-subfolder"}
                                         << QStringList {"--subfolder", "--no-subfolder"};
    QTest::newRow("no output folder") << QStringList {"clip.mp4"} << QStringList {"-o"};
    QTest::newRow("no video") << QStringList {"-o", "out"} << QStringList {"oskivo-cli: "};
}

void tst_Cli::badUsage_exitsTwoAndSaysWhich()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, said);

    const Run result = cli(arguments);
    QCOMPARE(result.exitCode, 2);
    for (const QString &text : said)
        QVERIFY2(result.err.contains(text), qPrintable(text + " not in: " + result.err));
    QCOMPARE(result.out, QString());
    QVERIFY(!QFileInfo::exists(path("out")));
}

void tst_Cli::missingVideo_failsAloneAndTheOtherIsConverted()
{
    const Run result = cli({"missing.mp4", "clip.mp4", "-o", "out", "--quiet"});
    QCOMPARE(result.exitCode, 1);
    QCOMPARE(result.err.trimmed(),
        "oskivo-cli: missing.mp4: " + engineText("en_US", "无法打开视频文件"));
    QCOMPARE(imageFiles(path("out/clip")), numbered(10, "jpg"));
    QVERIFY(!QFileInfo::exists(path("out/missing")));
}

void tst_Cli::json_printsOneObjectPerVideo()
{
    const Run result = cli({"clip.mp4", "missing.mp4", "-o", "out", "--json", "--rate", "2"});
    QCOMPARE(result.exitCode, 1);
    const QStringList lines = result.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    QList<QJsonObject> objects;
    for (const QString &line : lines) {
        QJsonParseError problem;
        const QJsonDocument document = QJsonDocument::fromJson(line.toUtf8(), &problem);
        QVERIFY2(document.isObject(), qPrintable(problem.errorString() + ": " + line));
        objects << document.object();
    }
    const QJsonObject converted = objects.at(0);
    QCOMPARE(converted.value("path").toString(), "clip.mp4");
    QCOMPARE(converted.value("output").toString(), "out/clip");
    QCOMPARE(converted.value("images").toInt(), 4);
    QCOMPARE(converted.value("first").toString(), "out/clip/frame_000001.jpg");
    QCOMPARE(converted.value("last").toString(), "out/clip/frame_000004.jpg");
    QVERIFY(converted.value("seconds").toDouble(-1) >= 0);
    QVERIFY(converted.value("error").isNull());
    QCOMPARE(converted.value("cancelled").toBool(true), false);
    QCOMPARE(imageFiles(path("out/clip")), numbered(4, "jpg"));

    const QJsonObject failed = objects.at(1);
    QCOMPARE(failed.value("path").toString(), "missing.mp4");
    QCOMPARE(failed.value("images").toInt(-1), 0);
    QVERIFY(failed.value("first").isNull() && failed.value("last").isNull());
    QCOMPARE(failed.value("error").toString(), engineText("en_US", "无法打开视频文件"));
}

void tst_Cli::interrupt_stopsWithImagesFromOneWithoutAGap()
{
#ifndef Q_OS_UNIX
    QSKIP("Ctrl-C is sent to a process with a POSIX signal here");
#else
    QProcess process;
    process.setProcessEnvironment(toolEnvironment({"LC_ALL=C"}));
    process.setWorkingDirectory(dir.path());
    // 200 images; a second video that the stop leaves out.
    process.start(QStringLiteral(OSKIVO_CLI),
        {"long.mp4", "clip.mp4", "-o", "out", "--rate", "25", "--format", "png", "--quality", "100",
            "--writers", "2", "--json"});
    QVERIFY(process.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(imageFiles(path("out/long")).size() >= 3, 120000);
    QCOMPARE(::kill(pid_t(process.processId()), SIGINT), 0);
    QVERIFY(process.waitForFinished(120000));

    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 130);
    const QStringList files = imageFiles(path("out/long"));
    QVERIFY2(files.size() >= 3 && files.size() < 200, qPrintable(files.join(' ')));
    QCOMPARE(files, numbered(int(files.size()), "png"));
    for (const QString &file : files)
        QVERIFY2(!QImage(path("out/long/" + file)).isNull(), qPrintable(file));
    QVERIFY(!QFileInfo::exists(path("out/clip")));

    const QStringList lines
        = QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    const QJsonObject stopped = QJsonDocument::fromJson(lines.at(0).toUtf8()).object();
    QCOMPARE(stopped.value("cancelled").toBool(), true);
    QCOMPARE(stopped.value("images").toInt(), files.size());
    QCOMPARE(stopped.value("last").toString(), "out/long/" + files.last());
    const QJsonObject left = QJsonDocument::fromJson(lines.at(1).toUtf8()).object();
    QCOMPARE(left.value("path").toString(), "clip.mp4");
    QCOMPARE(left.value("cancelled").toBool(), true);
    QCOMPARE(left.value("images").toInt(-1), 0);
#endif
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
    Run result;
    if (terminal) {
        const QString script = QStandardPaths::findExecutable(QStringLiteral("script"));
        if (script.isEmpty())
            QSKIP("no script program to give the tool a terminal");
        // script puts the program on a terminal of its own and copies what it writes.
        const QString command = QStringLiteral("'" OSKIVO_CLI "' ") + arguments.join(u' ');
        result = run(script, {"-qfec", command, "/dev/null"});
        result.err = result.out;
    } else {
        result = cli(arguments);
    }
    QCOMPARE(result.exitCode, 0);
    // The count, the rate and the time left, in words that depend on the language.
    static const QRegularExpression last(
        QStringLiteral(R"(\[1/1\] clip\.mp4 \[#{16}\] 10/10 .*\d+\.\d.* 0:00:00)"));
    QVERIFY2(last.match(result.err).hasMatch(), qPrintable(result.err));
    // Redrawn: a carriage return alone, not the terminal's own one before each newline.
    QCOMPARE(result.err.contains(QLatin1String("\r[1/1] clip.mp4")), terminal);
    if (!terminal)
        QVERIFY(!result.err.contains(u'\r'));
    if (!terminal) {
        for (const QString &line : result.err.split(u'\n', Qt::SkipEmptyParts))
            QVERIFY2(line.startsWith("[1/1] clip.mp4 "), qPrintable(line));
    }
}

void tst_Cli::language_followsTheEnvironment_data()
{
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<QString>("language");

    QTest::newRow("LANG zh_TW") << QStringList {"LANG=zh_TW.UTF-8"} << "zh_TW";
    QTest::newRow("LANG zh_CN") << QStringList {"LANG=zh_CN.UTF-8"} << "zh_CN";
    QTest::newRow("LANG en_US") << QStringList {"LANG=en_US.UTF-8"} << "en_US";
    QTest::newRow("LC_ALL over LANG")
        << QStringList {"LC_ALL=zh_TW.UTF-8", "LANG=zh_CN.UTF-8"} << "zh_TW";
    QTest::newRow("empty LC_ALL passed over")
        << QStringList {"LC_ALL=", "LANG=zh_TW.UTF-8"} << "zh_TW";
    QTest::newRow("another language: English") << QStringList {"LANG=fr_FR.UTF-8"} << "en_US";
    QTest::newRow("C: English") << QStringList {"LC_ALL=C"} << "en_US";
    QTest::newRow("nothing set: English") << QStringList() << "en_US";
}

void tst_Cli::language_followsTheEnvironment()
{
    QFETCH(QStringList, environment);
    QFETCH(QString, language);
    const Run result = cli({"missing.mp4", "-o", "out", "--quiet"}, environment);
    QCOMPARE(result.exitCode, 1);
    QCOMPARE(result.err.trimmed(),
        "oskivo-cli: missing.mp4: " + engineText(language, "无法打开视频文件"));
}

void tst_Cli::help_listsEachOptionWithItsRangeAndDefault_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QStringList>("said");

    QTest::newRow("output") << "--output" << QStringList {"-o", "<DIR>"};
    QTest::newRow("format") << "--format" << QStringList {"<F>", "JPG, JPEG, PNG", "JPG"};
    QTest::newRow("quality") << "--quality" << QStringList {"<Q>", "1-100", "90"};
    QTest::newRow("depth") << "--depth" << QStringList {"<D>", "8", "16", "24", "32"};
    QTest::newRow("rate") << "--rate" << QStringList {"<N>", "1-60", "5"};
    QTest::newRow("every") << "--every" << QStringList {"<S>", "0.1-3600", "10"};
    QTest::newRow("keyframes") << "--keyframes" << QStringList();
    QTest::newRow("scenes") << "--scenes" << QStringList {"<N>", "1-100", "50"};
    QTest::newRow("start") << "--start" << QStringList {"<T>", "0"};
    QTest::newRow("end") << "--end" << QStringList {"<T>"};
    QTest::newRow("pattern") << "--pattern" << QStringList {"<P>", "%1", "frame_%1"};
    QTest::newRow("time-names") << "--time-names" << QStringList();
    QTest::newRow("subfolder") << "--subfolder" << QStringList();
    QTest::newRow("no-subfolder") << "--no-subfolder" << QStringList();
    QTest::newRow("writers") << "--writers" << QStringList {"<N>", "0-64", "0"};
    QTest::newRow("json") << "--json" << QStringList {"path", "images", "first", "last", "error"};
    QTest::newRow("quiet") << "--quiet" << QStringList {"-q"};
    QTest::newRow("version") << "--version" << QStringList {"-v"};
}

void tst_Cli::help_listsEachOptionWithItsRangeAndDefault()
{
    QFETCH(QString, option);
    QFETCH(QStringList, said);

    const Run help = cli({"--help"});
    QCOMPARE(help.exitCode, 0);
    QVERIFY2(help.out.contains("VIDEO... -o DIR"), qPrintable(help.out));
    const QString entry = helpEntry(help.out, option);
    QVERIFY2(!entry.isEmpty(), qPrintable(option + " not in: " + help.out));
    for (const QString &text : said)
        QVERIFY2(entry.contains(text), qPrintable(text + " not in: " + entry));

    const Run version = cli({"--version"});
    QCOMPARE(version.exitCode, 0);
    QCOMPARE(version.out, QStringLiteral("oskivo-cli " OSKIVO_VERSION "\n"));
}

void tst_Cli::bench_keepsItsOptions_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("images");
    QTest::addColumn<QString>("layout");

    QTest::newRow("depth index 0: 8-bit") << QStringList {"--depth", "0"} << 10 << "gray8";
    QTest::newRow("depth index 3: 32-bit") << QStringList {"--depth", "3"} << 10 << "rgba8";
    QTest::newRow("depth index 7: 24-bit") << QStringList {"--depth", "7"} << 10 << "rgb8";
    QTest::newRow("every 0.5 s from 0.5 s in seconds")
        << QStringList {"--every", "0.5", "--start", "0.5", "--end", "1.75"} << 3 << "rgb8";
}

void tst_Cli::bench_keepsItsOptions()
{
    QFETCH(QStringList, options);
    QFETCH(int, images);
    QFETCH(QString, layout);

    const Run result = run(
        QStringLiteral(OSKIVO_BENCH), QStringList {"clip.mp4", "out", "--format", "png"} + options);
    QVERIFY2(result.exitCode == 0, qPrintable(result.err));
    QVERIFY2(
        result.out.startsWith(QStringLiteral("frames=%1 ").arg(images)), qPrintable(result.out));
    QCOMPARE(imageFiles(path("out")), numbered(images, "png"));
    QCOMPARE(::layout(QImage(path("out/frame_000001.png"))), layout);
}

QTEST_GUILESS_MAIN(tst_Cli)
#include "tst_cli.moc"

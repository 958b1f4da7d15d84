#include "mainwindow.h"
#include "testsupport.h"
#include "videoprocessor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QMediaPlayer>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <memory>

// Takes the file URLs the window would hand to the desktop.
class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    UrlCatcher() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open"); }
    ~UrlCatcher() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }

    QList<QUrl> urls;

public slots:
    void open(const QUrl &url) { urls << url; }
};

class tst_ConversionControl : public QObject
{
    Q_OBJECT

public:
    tst_ConversionControl() { QStandardPaths::setTestModeEnabled(true); }

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void start_refusesIncompleteInput_data();
    void start_refusesIncompleteInput();
    void start_refusesUnreadableOrEmptyRange_data();
    void start_refusesUnreadableOrEmptyRange();
    void start_createsMissingOutputDirectoryAndCompletes();
    void images_landWhereTheFieldsSay_data();
    void images_landWhereTheFieldsSay();
    void typedEmptyField_failsItsStartCheck_data();
    void typedEmptyField_failsItsStartCheck();
    void progress_showsTruncatedPercentAndCount_data();
    void progress_showsTruncatedPercentAndCount();
    void finished_showsBoxAndHidesBarLater_data();
    void finished_showsBoxAndHidesBarLater();
    void error_showsCriticalBox();
    void failedJob_leavesNoEmptySubfolder();
    void stop_unlocksAtOnceThenShowsCancellation();
    void runningJob_keepsInputsLockedAgainstPreviewEvents();
    void resetDuringJob_leavesJobRunning();
    void quitDuringJob_waitsForWorkerAndWritesNothingAfter();
    void jobEndingDuringQuitQuestion_reportsAfterNo();

private:
    void chooseVideo(const QString &path);
    void chooseOutput(const QString &path);
    // Types into a path field as the user would, replacing what it shows, and
    // confirms with Return or by moving the focus on.
    void type(const char *field, const QString &text, bool withReturn);
    // Makes the window the active one, so that focus can leave a field.
    void activate();
    // The controls a job locks, and those of them enabled now.
    static const QStringList &inputNames();
    QStringList jobInputs() const;
    // Starts a job; the caller answers or waits for the box that ends it.
    void start();
    // Chooses the long clip and a fresh output folder; returns the folder the
    // images land in, the clip's sub-folder of the output folder.
    QString chooseLongJob();
    // Stops the running job and closes the cancellation report that follows.
    void stopAndAcceptReport(QSignalSpy &error);

    QTemporaryDir media;
    QString clip; // 1 s, 10 fps
    QString longClip; // long enough to stop midway
    QString other; // like clip, under another name
    std::unique_ptr<QTemporaryDir> dir;
    MainWindow *window = nullptr;
    VideoProcessor *processor = nullptr;
};

void tst_ConversionControl::initTestCase()
{
    QVERIFY(media.isValid());
    clip = media.filePath("clip.mp4");
    longClip = media.filePath("long.mp4");
    other = media.filePath("other.mp4");
    MAKE_CLIP(testClip(clip));
    MAKE_CLIP(testClip(other));
    MAKE_CLIP(testClip(longClip, "640x360", 60, 30));
}

void tst_ConversionControl::init()
{
    wipeSettings();
    // Start without the default output folder, so that each test chooses its own.
    mainStore().setValue("outputPath", "");
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    window = new MainWindow;
    window->show();
    processor = window->findChild<VideoProcessor *>();
    QVERIFY(processor);
}

void tst_ConversionControl::cleanup()
{
    delete window;
    window = nullptr;
    dir.reset();
    wipeSettings();
}

void tst_ConversionControl::chooseVideo(const QString &path)
{
    DialogChooser chooser(path);
    w<QPushButton>("selectVideoButton")->click();
    QVERIFY(chooser.seen);
}

void tst_ConversionControl::chooseOutput(const QString &path)
{
    DialogChooser chooser(path);
    w<QPushButton>("selectOutputButton")->click();
    QVERIFY(chooser.seen);
    QCOMPARE(chooser.title, QStringLiteral("选择输出目录"));
    QCOMPARE(w<QLineEdit>("outputLineEdit")->text(), path);
}

void tst_ConversionControl::type(const char *field, const QString &text, bool withReturn)
{
    // A file dialog just closed may have left no window active.
    activate();
    auto *edit = w<QLineEdit>(field);
    edit->setFocus();
    QVERIFY(edit->hasFocus());
    edit->selectAll();
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Backspace);
    else
        QTest::keyClicks(edit, text);
    if (withReturn) {
        QTest::keyClick(edit, Qt::Key_Return);
    } else {
        w("frameRateSpinBox")->setFocus();
        QVERIFY(!edit->hasFocus());
    }
}

void tst_ConversionControl::activate()
{
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
}

const QStringList &tst_ConversionControl::inputNames()
{
    static const QStringList names {"selectVideoButton", "selectOutputButton", "startButton",
        "frameRateSpinBox", "qualitySlider", "formatComboBox", "bitDepthComboBox",
        "namingPatternComboBox", "customNameEdit", "selectionModeComboBox", "everySecondsSpinBox",
        "sceneSensitivitySpinBox", "startTimeEdit", "endTimeEdit", "timeInNamesCheckBox"};
    return names;
}

QStringList tst_ConversionControl::jobInputs() const
{
    QStringList enabled;
    for (const QString &name : inputNames()) {
        if (w(name)->isEnabled())
            enabled << name;
    }
    return enabled;
}

void tst_ConversionControl::start()
{
    w<QPushButton>("startButton")->click();
}

QString tst_ConversionControl::chooseLongJob()
{
    const QString output = dir->filePath("out");
    chooseVideo(longClip);
    if (!QDir().mkpath(output))
        QTest::qFail("cannot make the output folder", __FILE__, __LINE__);
    chooseOutput(output);
    return QDir(output).filePath("long");
}

void tst_ConversionControl::stopAndAcceptReport(QSignalSpy &error)
{
    BoxAnswerer report;
    w<QPushButton>("stopCButton")->click();
    QVERIFY(error.wait(30000));
    QTRY_VERIFY(report.seen);
    QCOMPARE(report.title, QStringLiteral("转换已停止"));
    QVERIFY2(report.text.startsWith(QStringLiteral("操作已取消\n已保留写入的 ")),
        qPrintable(report.text));
}

void tst_ConversionControl::start_refusesIncompleteInput_data()
{
    QTest::addColumn<bool>("withVideo");
    QTest::addColumn<QString>("output"); // "": none; "blocked": a path under a plain file
    QTest::addColumn<QString>("message");

    QTest::newRow("no video") << false << ""
                              << "请先选择视频文件";
    QTest::newRow("no video, output chosen") << false << "out"
                                             << "请先选择视频文件";
    QTest::newRow("no output") << true << ""
                               << "请先选择输出目录";
    QTest::newRow("output cannot be created") << true << "blocked"
                                              << "无法创建输出目录";
}

void tst_ConversionControl::start_refusesIncompleteInput()
{
    QFETCH(bool, withVideo);
    QFETCH(QString, output);
    QFETCH(QString, message);

    if (withVideo)
        chooseVideo(clip);
    if (output == u"blocked") {
        // Chosen while it exists, then its parent turns into a plain file.
        const QString chosen = dir->filePath("blocker/sub");
        QVERIFY(QDir().mkpath(chosen));
        chooseOutput(chosen);
        QVERIFY(QDir(dir->filePath("blocker")).removeRecursively());
        QFile blocker(dir->filePath("blocker"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    } else if (!output.isEmpty()) {
        QVERIFY(QDir().mkpath(dir->filePath(output)));
        chooseOutput(dir->filePath(output));
    }
    const QStringList enabledBefore = jobInputs();

    BoxAnswerer answer;
    start();

    QVERIFY(answer.seen);
    QCOMPARE(answer.title, QStringLiteral("警告"));
    QCOMPARE(answer.text, message);
    QCOMPARE(answer.icon, QMessageBox::Warning);
    QCOMPARE(answer.buttons, QMessageBox::Ok);
    QCOMPARE(answer.parent, window);
    QVERIFY(!w("progressBar")->isVisible());
    QVERIFY(!w("stopCButton")->isEnabled());
    QCOMPARE(jobInputs(), enabledBefore);
}

void tst_ConversionControl::start_refusesUnreadableOrEmptyRange_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<QString>("message");

    const QString badStart = "无法识别起始时间，请按“时:分:秒”填写，例如 0:01:20.000";
    const QString badEnd = "无法识别结束时间，请按“时:分:秒”填写，例如 0:01:20.000";
    const QString order = "起始时间必须早于结束时间";
    QTest::newRow("start not a time") << "abc"
                                      << "" << badStart;
    QTest::newRow("negative start") << "-1"
                                    << "0:00:01" << badStart;
    QTest::newRow("end not a time") << ""
                                    << "1:75" << badEnd;
    QTest::newRow("start at the end") << "0:00:01"
                                      << "1" << order;
    QTest::newRow("start after the end") << "0:00:00.800"
                                         << "0.5" << order;
    QTest::newRow("empty start, end at zero") << ""
                                              << "0" << order;
}

void tst_ConversionControl::start_refusesUnreadableOrEmptyRange()
{
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(QString, message);

    chooseVideo(clip);
    const QString output = dir->filePath("out");
    QVERIFY(QDir().mkpath(output));
    chooseOutput(output);
    w<QLineEdit>("startTimeEdit")->setText(start);
    w<QLineEdit>("endTimeEdit")->setText(end);

    BoxAnswerer answer;
    this->start();
    QVERIFY(answer.seen);
    QCOMPARE(answer.title, QStringLiteral("警告"));
    QCOMPARE(answer.text, message);
    QCOMPARE(answer.icon, QMessageBox::Warning);
    QVERIFY(!w("stopCButton")->isEnabled());
    QCOMPARE(jobInputs(), inputNames());
    // Refused before the clip's sub-folder is made.
    QCOMPARE(QDir(output).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

void tst_ConversionControl::start_createsMissingOutputDirectoryAndCompletes()
{
    chooseVideo(clip);
    const QString output = dir->filePath("a/b/c");
    QVERIFY(QDir().mkpath(output));
    chooseOutput(output);
    QVERIFY(QDir(dir->filePath("a")).removeRecursively());

    QSignalSpy finished(processor, &VideoProcessor::finished);
    QSignalSpy progress(processor, &VideoProcessor::progressChanged);
    BoxAnswerer *done = nullptr;
    // The start returns before the job's first signal: check the running state first.
    start();
    QVERIFY(QFileInfo(output).isDir());
    QVERIFY(w("progressBar")->isVisible());
    QCOMPARE(w<QProgressBar>("progressBar")->value(), 0);
    QVERIFY(w("stopCButton")->isEnabled());
    QCOMPARE(jobInputs(), QStringList());
    QVERIFY(!w("playPauseButton")->isEnabled());
    QVERIFY(!w("stopButton")->isEnabled());
    QVERIFY(w("subfolderCheckBox")->isEnabled());

    done = new BoxAnswerer;
    QVERIFY(finished.wait(30000));
    QTRY_VERIFY(done->seen);
    QCOMPARE(done->title, QStringLiteral("完成"));
    QCOMPARE(done->text,
        QStringLiteral("视频已成功转换为图片\n已写入 5 张图片到 ")
            + QDir::toNativeSeparators(QDir(output).filePath("clip")));
    QCOMPARE(done->icon, QMessageBox::Information);
    delete done;

    // 1 s at 10 fps, 5 per second asked: every second frame, five images, in the
    // clip's own folder.
    QCOMPARE(QDir(output).entryList(QDir::Files), QStringList());
    QCOMPARE(QDir(output + "/clip").entryList(QDir::Files).size(), 5);
    QCOMPARE(progress.last(), (QList<QVariant> {5, 5}));
    // The progress it told is over.
    QCOMPARE(w<QLabel>("statusLabel")->text(), QString());
    QCOMPARE(jobInputs(), inputNames());
    QVERIFY(!w("stopCButton")->isEnabled());
}

void tst_ConversionControl::images_landWhereTheFieldsSay_data()
{
    QTest::addColumn<QString>("video"); // the clip's base name
    QTest::addColumn<QString>(
        "videoHow"); // dialog, Return, leaving, or over: typed over a chosen one
    QTest::addColumn<QString>("outputHow");
    QTest::addColumn<bool>("subfolder");
    QTest::addColumn<QString>("lands"); // under the test's folder

    QTest::newRow("chosen, sub-folder on: the clip's folder") << "clip"
                                                              << "dialog"
                                                              << "dialog" << true << "out/clip";
    QTest::newRow("chosen, sub-folder off: the output folder") << "clip"
                                                               << "dialog"
                                                               << "dialog" << false << "out";
    QTest::newRow("typed with Return, sub-folder on") << "clip"
                                                      << "Return"
                                                      << "Return" << true << "out/clip";
    QTest::newRow("typed, then leaving the field, sub-folder off") << "clip"
                                                                   << "leaving"
                                                                   << "leaving" << false << "out";
    QTest::newRow("typed over chosen paths") << "other"
                                             << "over"
                                             << "over" << true << "out/other";
    QTest::newRow("typed video, chosen output") << "other"
                                                << "leaving"
                                                << "dialog" << true << "out/other";
}

void tst_ConversionControl::images_landWhereTheFieldsSay()
{
    QFETCH(QString, video);
    QFETCH(QString, videoHow);
    QFETCH(QString, outputHow);
    QFETCH(bool, subfolder);
    QFETCH(QString, lands);

    const QString videoPath = media.filePath(video + ".mp4");
    const QString output = dir->filePath("out");
    if (videoHow == u"dialog") {
        chooseVideo(videoPath);
    } else {
        if (videoHow == u"over")
            chooseVideo(clip);
        type("videoLineEdit", videoPath, videoHow != u"leaving");
    }
    if (outputHow == u"dialog") {
        QVERIFY(QDir().mkpath(output));
        chooseOutput(output);
    } else {
        if (outputHow == u"over") {
            QVERIFY(QDir().mkpath(dir->filePath("chosen")));
            chooseOutput(dir->filePath("chosen"));
        }
        type("outputLineEdit", output, outputHow != u"leaving");
    }
    w<QCheckBox>("subfolderCheckBox")->setChecked(subfolder);

    // A typed video reaches the preview as a chosen one does.
    auto *player = window->findChild<QMediaPlayer *>();
    QCOMPARE(player->source(), QUrl::fromLocalFile(videoPath));
    QTRY_VERIFY_WITH_TIMEOUT(w("playPauseButton")->isEnabled(), 20000);

    QSignalSpy finished(processor, &VideoProcessor::finished);
    BoxAnswerer done;
    start();
    QVERIFY(finished.wait(30000));
    QTRY_VERIFY(done.seen);
    QVERIFY2(done.text.startsWith(QStringLiteral("视频已成功转换为图片\n已写入 5 张图片到 ")),
        qPrintable(done.text));

    // The folder of every image written anywhere under the test's folder.
    QStringList folders;
    QDirIterator it(dir->path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        folders << QFileInfo(QDir(dir->path()).relativeFilePath(it.next())).path();
    QCOMPARE(folders, QStringList(5, lands));
}

void tst_ConversionControl::typedEmptyField_failsItsStartCheck_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("message");

    QTest::newRow("video field emptied") << "videoLineEdit"
                                         << "请先选择视频文件";
    QTest::newRow("output field emptied") << "outputLineEdit"
                                          << "请先选择输出目录";
}

void tst_ConversionControl::typedEmptyField_failsItsStartCheck()
{
    QFETCH(QString, field);
    QFETCH(QString, message);

    chooseVideo(clip);
    QVERIFY(QDir().mkpath(dir->filePath("out")));
    chooseOutput(dir->filePath("out"));
    type(field.toLatin1(), QString(), true);

    BoxAnswerer answer;
    start();
    QVERIFY(answer.seen);
    QCOMPARE(answer.text, message);
    QVERIFY(!w("stopCButton")->isEnabled());
    QCOMPARE(QDir(dir->filePath("out")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
        QStringList());
}

void tst_ConversionControl::progress_showsTruncatedPercentAndCount_data()
{
    QTest::addColumn<bool>("fromBusy"); // the bar was busy with an unknown total before
    QTest::addColumn<int>("frame");
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("percent"); // -1: busy, no percentage
    QTest::addColumn<QString>("status");

    QTest::newRow("3 of 50") << false << 3 << 50 << 6 << "处理中: 第 3/50 帧";
    QTest::newRow("29 of 100") << false << 29 << 100 << 29 << "处理中: 第 29/100 帧";
    QTest::newRow("2 of 3 truncates") << false << 2 << 3 << 66 << "处理中: 第 2/3 帧";
    QTest::newRow("first of one") << false << 0 << 1 << 0 << "处理中: 第 0/1 帧";
    QTest::newRow("past the estimate") << false << 60 << 50 << 42 << "处理中: 第 60/50 帧";
    QTest::newRow("no estimate") << false << 5 << 0 << -1 << "处理中: 第 5 帧";
    QTest::newRow("negative estimate") << false << 5 << -1 << -1 << "处理中: 第 5 帧";
    QTest::newRow("still none") << true << 7 << 0 << -1 << "处理中: 第 7 帧";
    QTest::newRow("a total after none") << true << 1 << 4 << 25 << "处理中: 第 1/4 帧";
}

void tst_ConversionControl::progress_showsTruncatedPercentAndCount()
{
    QFETCH(bool, fromBusy);
    QFETCH(int, frame);
    QFETCH(int, total);
    QFETCH(int, percent);
    QFETCH(QString, status);

    auto *bar = w<QProgressBar>("progressBar");
    bar->setValue(42);
    if (fromBusy)
        emit processor->progressChanged(0, 0);
    w<QLabel>("statusLabel")->setText("before");

    emit processor->progressChanged(frame, total);

    QCOMPARE(bar->maximum(), percent < 0 ? 0 : 100);
    QCOMPARE(bar->minimum(), 0);
    if (percent >= 0)
        QCOMPARE(bar->value(), percent);
    QCOMPARE(w<QLabel>("statusLabel")->text(), status);
}

void tst_ConversionControl::finished_showsBoxAndHidesBarLater_data()
{
    QTest::addColumn<bool>("openFolder");
    QTest::newRow("closed with OK") << false;
    QTest::newRow("folder button") << true;
}

void tst_ConversionControl::finished_showsBoxAndHidesBarLater()
{
    QFETCH(bool, openFolder);
    const QString output = dir->filePath("out");
    chooseVideo(clip);
    QVERIFY(QDir().mkpath(output));
    chooseOutput(output);
    UrlCatcher opened;

    auto *bar = w<QProgressBar>("progressBar");
    int valueWhileBoxOpen = -1;
    bool visibleWhileBoxOpen = false;
    QString folderButton;
    BoxAnswerer done;
    done.beforeAnswer = [&] {
        valueWhileBoxOpen = bar->value();
        visibleWhileBoxOpen = bar->isVisible();
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        for (QAbstractButton *button : box->buttons()) {
            if (box->buttonRole(button) == QMessageBox::ActionRole)
                folderButton = button->text();
        }
        if (openFolder)
            done.answerWith = folderButton;
    };
    start();
    QTRY_VERIFY_WITH_TIMEOUT(done.seen, 30000);

    QCOMPARE(done.title, QStringLiteral("完成"));
    QCOMPARE(done.parent, window);
    QCOMPARE(done.buttons, QMessageBox::Ok);
    QCOMPARE(folderButton, QStringLiteral("打开文件夹"));
    QCOMPARE(valueWhileBoxOpen, 100);
    QVERIFY(visibleWhileBoxOpen);
    const QUrl folder = QUrl::fromLocalFile(QDir(output).filePath("clip"));
    QCOMPARE(opened.urls, openFolder ? QList<QUrl> {folder} : QList<QUrl> {});
    QTRY_VERIFY_WITH_TIMEOUT(!bar->isVisible(), 10000);
    QCOMPARE(w<QLabel>("statusLabel")->text(), QString());
}

void tst_ConversionControl::error_showsCriticalBox()
{
    chooseVideo(clip);
    type("videoLineEdit", dir->filePath("missing.mp4"), true);
    QVERIFY(QDir().mkpath(dir->filePath("out")));
    chooseOutput(dir->filePath("out"));
    BoxAnswerer failed;
    start();
    QTRY_VERIFY_WITH_TIMEOUT(failed.seen, 30000);

    QCOMPARE(failed.title, QStringLiteral("错误"));
    QCOMPARE(failed.text, QStringLiteral("处理过程中发生错误: 无法打开视频文件"));
    QCOMPARE(failed.icon, QMessageBox::Critical);
    QCOMPARE(failed.buttons, QMessageBox::Ok);
    QCOMPARE(w<QLabel>("statusLabel")->text(), QString());
    QVERIFY(!w("progressBar")->isVisible());
    QVERIFY(!w("stopCButton")->isEnabled());
    QCOMPARE(jobInputs(), inputNames());
}

void tst_ConversionControl::failedJob_leavesNoEmptySubfolder()
{
    const QString notVideo = dir->filePath("notes.mp4");
    QVERIFY(VideoFixture::writeFile(notVideo, "not a video"));
    chooseVideo(notVideo);
    const QString output = dir->filePath("kept");
    QVERIFY(QDir().mkpath(output));
    chooseOutput(output);

    QSignalSpy error(processor, &VideoProcessor::error);
    BoxAnswerer failed;
    start();
    QVERIFY(error.wait(30000));
    QTRY_VERIFY(failed.seen);
    QVERIFY(!QFileInfo::exists(output + "/notes"));
    QVERIFY(QFileInfo(output).isDir());
}

void tst_ConversionControl::stop_unlocksAtOnceThenShowsCancellation()
{
    chooseLongJob();
    QSignalSpy progress(processor, &VideoProcessor::progressChanged);
    QSignalSpy error(processor, &VideoProcessor::error);
    start();
    QTRY_VERIFY_WITH_TIMEOUT(progress.size() >= 3, 30000);

    BoxAnswerer *report = new BoxAnswerer;
    w<QPushButton>("stopCButton")->click();
    QCOMPARE(w<QLabel>("statusLabel")->text(), QStringLiteral("转换已停止"));
    QVERIFY(!w("progressBar")->isVisible());
    QVERIFY(!w("stopCButton")->isEnabled());
    QCOMPARE(jobInputs(), inputNames());

    QVERIFY(error.wait(30000));
    QTRY_VERIFY(report->seen);
    // Not an error: what was kept, and where.
    const QString kept = dir->filePath("out/long");
    const qsizetype images = QDir(kept).entryList(QDir::Files).size();
    QVERIFY(images < 300);
    QCOMPARE(report->title, QStringLiteral("转换已停止"));
    QCOMPARE(report->icon, QMessageBox::Information);
    QCOMPARE(report->text,
        QStringLiteral("操作已取消\n已保留写入的 %1 张图片，位于 %2")
            .arg(images)
            .arg(QDir::toNativeSeparators(kept)));
    QCOMPARE(w<QLabel>("statusLabel")->text(), QString());
    delete report;
}

void tst_ConversionControl::runningJob_keepsInputsLockedAgainstPreviewEvents()
{
    chooseLongJob();
    auto *player = window->findChild<QMediaPlayer *>();
    QVERIFY(player);
    QSignalSpy progress(processor, &VideoProcessor::progressChanged);
    start();
    QVERIFY(progress.wait(30000));

    // The preview reports its own events while the job runs.
    emit player->playbackStateChanged(QMediaPlayer::StoppedState);
    emit player->mediaStatusChanged(QMediaPlayer::EndOfMedia);
    QCOMPARE(jobInputs(), QStringList());
    QVERIFY(!w("playPauseButton")->isEnabled());
    QVERIFY(!w("stopButton")->isEnabled());

    QSignalSpy error(processor, &VideoProcessor::error);
    stopAndAcceptReport(error);
    QCOMPARE(jobInputs(), inputNames());
}

void tst_ConversionControl::resetDuringJob_leavesJobRunning()
{
    chooseLongJob();
    QSignalSpy progress(processor, &VideoProcessor::progressChanged);
    QSignalSpy error(processor, &VideoProcessor::error);
    start();
    QVERIFY(progress.wait(30000));

    {
        BoxAnswerer answers({QMessageBox::Yes, QMessageBox::Ok});
        QVERIFY(QMetaObject::invokeMethod(window, "resetApplication"));
        QCOMPARE(answers.boxes.size(), 2);
    }
    // The job goes on, and its inputs stay locked until it ends.
    const int before = progress.size();
    QTRY_VERIFY_WITH_TIMEOUT(progress.size() > before + 2, 30000);
    QCOMPARE(error.size(), 0);
    QCOMPARE(jobInputs(), QStringList());
    QVERIFY(w("stopCButton")->isEnabled());

    stopAndAcceptReport(error);
}

void tst_ConversionControl::quitDuringJob_waitsForWorkerAndWritesNothingAfter()
{
    const QString output = chooseLongJob();
    QSignalSpy progress(processor, &VideoProcessor::progressChanged);
    start();
    QTRY_VERIFY_WITH_TIMEOUT(progress.size() >= 2, 30000);

    delete window; // must cancel and wait for the worker
    window = nullptr;
    const QStringList written = QDir(output).entryList(QDir::Files);
    QCoreApplication::processEvents();
    QVERIFY(!written.isEmpty());
    QCOMPARE(QDir(output).entryList(QDir::Files), written);
}

void tst_ConversionControl::jobEndingDuringQuitQuestion_reportsAfterNo()
{
    chooseLongJob();
    QSignalSpy finished(processor, &VideoProcessor::finished);
    start();

    BoxAnswerer report; // its Ok is not one of the question's buttons
    qsizetype openBoxes = 0;
    report.beforeAnswer = [&] {
        const auto boxes = window->findChildren<QMessageBox *>();
        openBoxes = std::count_if(
            boxes.begin(), boxes.end(), [](QMessageBox *box) { return box->isVisible(); });
    };
    BoxAnswerer quit(QMessageBox::No);
    // A slow user: the job ends while the question is still open.
    quit.beforeAnswer = [&] {
        QVERIFY(finished.wait(30000));
    };
    w<QPushButton>("closeButton")->click();

    QCOMPARE(quit.text, QStringLiteral("确定要退出Oskivo吗？"));
    QTRY_VERIFY(report.seen);
    QVERIFY(report.text.startsWith(QStringLiteral("视频已成功转换为图片\n")));
    QCOMPARE(openBoxes, 1);
}

QTEST_MAIN(tst_ConversionControl)
#include "tst_conversioncontrol.moc"

// The window beyond one video at a time: drops, the position slider, saving
// the frame on screen, batches, the overwrite question and the time left.

#include "mainwindow.h"
#include "startup.h"
#include "testsupport.h"
#include "videoprocessor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMediaPlayer>
#include <QMimeData>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace VideoFixture;

class tst_WindowFeatures : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startArguments_chooseTheClipsGiven();
    void drop_choosesLocalVideosOnly_data();
    void drop_choosesLocalVideosOnly();
    void slider_seeksAndSaveFrameWritesTheFrameShown();
    void batch_convertsEachIntoItsFolderAndListsFailures();
    void batchStop_isNoFailureAndSaysWhatWasKept();
    void overwrite_isAskedOnceBeforeWriting_data();
    void overwrite_isAskedOnceBeforeWriting();
    void longJob_showsTimeLeft();

private:
    void setOutput(const QString &path);
    // The status line's texts while the job ran, as each progress left it.
    QStringList runToReport(BoxAnswerer &report);

    QTemporaryDir media;
    QString counting; // 2 s at 10 fps, frame i of luma 16 + 3i
    QString clipA;
    QString clipB;
    QString bad;
    QString longClip;
    std::unique_ptr<QTemporaryDir> dir;
    MainWindow *window = nullptr;
    VideoProcessor *processor = nullptr;
};

void tst_WindowFeatures::initTestCase()
{
    QVERIFY(media.isValid());
    counting = media.filePath("counting.mp4");
    clipA = media.filePath("a.mp4");
    clipB = media.filePath("b.mp4");
    bad = media.filePath("bad.mp4");
    longClip = media.filePath("long.mp4");
    MAKE_CLIP(countingClip("10", 20, counting));
    MAKE_CLIP(testClip(clipA));
    MAKE_CLIP(testClip(clipB));
    MAKE_CLIP(testClip(longClip, "640x360", 60, 30));
    QVERIFY(writeFile(bad, "not a video"));
}

void tst_WindowFeatures::init()
{
    wipeSettings();
    mainStore().setValue("outputPath", "");
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    window = new MainWindow;
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    processor = window->findChild<VideoProcessor *>();
    QVERIFY(processor);
}

void tst_WindowFeatures::cleanup()
{
    delete window;
    window = nullptr;
    dir.reset();
    wipeSettings();
}

void tst_WindowFeatures::setOutput(const QString &path)
{
    auto *field = w<QLineEdit>("outputLineEdit");
    field->setText(path);
    emit field->editingFinished();
}

QStringList tst_WindowFeatures::runToReport(BoxAnswerer &report)
{
    QStringList statuses;
    auto *status = w<QLabel>("statusLabel");
    connect(processor, &VideoProcessor::progressChanged, status,
        [&statuses, status] { statuses << status->text(); });
    w<QPushButton>("startButton")->click();
    [&report] {
        QTRY_VERIFY_WITH_TIMEOUT(report.seen, 60000);
    }();
    disconnect(processor, nullptr, status, nullptr);
    return statuses;
}

// As the program's start does with its arguments.
void tst_WindowFeatures::startArguments_chooseTheClipsGiven()
{
    const QString missing = media.filePath("gone.mp4");
    QTest::ignoreMessage(QtWarningMsg, qPrintable("忽略启动参数，文件不存在: " + missing));
    window->chooseVideos(videoPathsFromArguments({clipA, missing, clipB}));
    QCOMPARE(w<QLineEdit>("videoLineEdit")->text(), clipA + " (+1)");
    QCOMPARE(window->findChild<QMediaPlayer *>()->source(), QUrl::fromLocalFile(clipA));
    QTRY_VERIFY_WITH_TIMEOUT(w("playPauseButton")->isEnabled(), 20000);
}

void tst_WindowFeatures::drop_choosesLocalVideosOnly_data()
{
    QTest::addColumn<QStringList>("dropped"); // "@folder": the test's folder of videos
    QTest::addColumn<bool>("duringJob");
    QTest::addColumn<QString>("field"); // "": refused, the field unchanged

    const QString web = QStringLiteral("https://example.com/c.mp4");
    QTest::newRow("two files and a web address")
        << QStringList {"a.mp4", "b.mp4", web} << false << "a.mp4 (+1)";
    QTest::newRow("only a web address") << QStringList {web} << false << "";
    QTest::newRow("a folder gives its videos") << QStringList {"@folder"} << false << "a.mp4 (+4)";
    QTest::newRow("during a job") << QStringList {"a.mp4"} << true << "";
}

void tst_WindowFeatures::drop_choosesLocalVideosOnly()
{
    QFETCH(QStringList, dropped);
    QFETCH(bool, duringJob);
    QFETCH(QString, field);

    if (duringJob) {
        window->chooseVideos({longClip});
        setOutput(dir->path());
        w<QPushButton>("startButton")->click();
    }
    const QString before = w<QLineEdit>("videoLineEdit")->text();
    QList<QUrl> urls;
    for (const QString &entry : dropped) {
        urls << (entry == u"@folder"   ? QUrl::fromLocalFile(media.path())
                : entry.contains(u':') ? QUrl(entry)
                                       : QUrl::fromLocalFile(media.filePath(entry)));
    }
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(window, &enter);
    QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(window, &drop);

    QCOMPARE(enter.isAccepted(), !field.isEmpty());
    QCOMPARE(
        w<QLineEdit>("videoLineEdit")->text(), field.isEmpty() ? before : media.filePath(field));
    if (!field.isEmpty()) {
        auto *player = window->findChild<QMediaPlayer *>();
        QCOMPARE(player->source(), QUrl::fromLocalFile(clipA));
    }
    if (duringJob) {
        BoxAnswerer stopped;
        w<QPushButton>("stopCButton")->click();
        QTRY_VERIFY_WITH_TIMEOUT(stopped.seen, 30000);
    }
}

void tst_WindowFeatures::slider_seeksAndSaveFrameWritesTheFrameShown()
{
    window->chooseVideos({counting});
    setOutput(dir->path());
    w<QComboBox>("formatComboBox")->setCurrentText("PNG");
    auto *player = window->findChild<QMediaPlayer *>();
    auto *slider = w<QSlider>("positionSlider");
    QTRY_VERIFY_WITH_TIMEOUT(slider->isEnabled() && slider->maximum() > 1500, 20000);

    slider->setSliderPosition(1530);
    slider->triggerAction(QAbstractSlider::SliderMove);
    QTRY_VERIFY_WITH_TIMEOUT(qAbs(player->position() - 1530) < 100, 10000);
    QTRY_COMPARE(slider->value(), int(player->position()));

    const qint64 shown = player->position();
    w<QPushButton>("saveFrameButton")->click();
    const QString status = w<QLabel>("statusLabel")->text();
    QVERIFY2(status.startsWith(QStringLiteral("已保存: frame_00-00-01.")), qPrintable(status));
    const QString saved = QDir(dir->filePath("counting")).filePath(status.mid(5));
    QVERIFY2(QFileInfo::exists(saved), qPrintable(saved));

    // The frame shown is the last one that starts at or before the position.
    const QString reference = dir->filePath("reference.png");
    const QString at = QString::number((shown / 100) * 0.1, 'f', 3);
    QCOMPARE(ffmpeg({"-ss", at, "-i", counting, "-frames:v", "1", reference}), QString());
    QCOMPARE(countingFrameIndex(QImage(saved)), countingFrameIndex(QImage(reference)));
    QCOMPARE(countingFrameIndex(QImage(saved)), int(shown / 100));

    // A second save keeps the first.
    w<QPushButton>("saveFrameButton")->click();
    QCOMPARE(imageFiles(dir->filePath("counting")).size(), 2);
}

void tst_WindowFeatures::batch_convertsEachIntoItsFolderAndListsFailures()
{
    w<QCheckBox>("subfolderCheckBox")->setChecked(false);
    const QString sameName = dir->filePath("again/a.mp4");
    QVERIFY(QDir().mkpath(dir->filePath("again")));
    QVERIFY(QFile::copy(clipA, sameName));
    window->chooseVideos({clipA, bad, clipB, sameName});
    QCOMPARE(w<QLineEdit>("videoLineEdit")->text(), clipA + " (+3)");
    const QString output = dir->filePath("out");
    setOutput(output);

    BoxAnswerer report;
    const QStringList statuses = runToReport(report);

    QVERIFY(!statuses.isEmpty());
    QVERIFY2(statuses.first().startsWith(QStringLiteral("视频 1/4 · 处理中: 第 0/")),
        qPrintable(statuses.first()));
    QVERIFY(statuses.last().startsWith(QStringLiteral("视频 4/4 · 处理中: 第 5/")));
    for (const char *folder : {"a", "b", "a (2)"})
        QCOMPARE(imageFiles(QDir(output).filePath(folder)).size(), 5);
    QVERIFY(!QFileInfo::exists(QDir(output).filePath("bad")));
    QCOMPARE(report.icon, QMessageBox::Warning);
    const QStringList lines = report.text.split('\n');
    QCOMPARE(lines.value(0), QStringLiteral("已转换 3/4 个视频"));
    QCOMPARE(
        lines.value(1), QStringLiteral("已写入 15 张图片到 ") + QDir::toNativeSeparators(output));
    QCOMPARE(lines.value(2), QStringLiteral("以下视频转换失败:"));
    QVERIFY2(lines.value(3).startsWith(QStringLiteral("bad.mp4: ")), qPrintable(report.text));
    QCOMPARE(lines.size(), 4);
}

void tst_WindowFeatures::batchStop_isNoFailureAndSaysWhatWasKept()
{
    window->chooseVideos({longClip, clipA});
    const QString output = dir->filePath("out");
    setOutput(output);
    QSignalSpy progress(processor, &VideoProcessor::progressChanged);
    w<QPushButton>("startButton")->click();
    QTRY_VERIFY_WITH_TIMEOUT(progress.size() >= 3, 30000);

    BoxAnswerer report;
    w<QPushButton>("stopCButton")->click();
    QTRY_VERIFY_WITH_TIMEOUT(report.seen, 30000);
    const qsizetype kept = imageFiles(QDir(output).filePath("long")).size();
    QCOMPARE(report.title, QStringLiteral("转换已停止"));
    QCOMPARE(report.icon, QMessageBox::Information);
    QCOMPARE(report.text.split('\n'),
        (QStringList {QStringLiteral("已转换 0/2 个视频"),
            QStringLiteral("已写入 %1 张图片到 %2").arg(kept).arg(QDir::toNativeSeparators(output)),
            QStringLiteral("转换已停止")}));
    QVERIFY(!QFileInfo::exists(QDir(output).filePath("a")));
    QCOMPARE(w<QLabel>("statusLabel")->text(), QString());
}

void tst_WindowFeatures::overwrite_isAskedOnceBeforeWriting_data()
{
    QTest::addColumn<QStringList>("videos");
    QTest::addColumn<QStringList>("existing"); // under the output folder
    QTest::addColumn<int>("answer"); // 0: no question expected
    QTest::addColumn<bool>("converted");
    QTest::addColumn<int>("filesOfA"); // in the first video's folder afterwards

    const QStringList one {"a.mp4"};
    const QStringList two {"a.mp4", "b.mp4"};
    QTest::newRow("other files only")
        << one << QStringList {"a/notes.txt", "a/frame_1.jpg"} << 0 << true << 7;
    QTest::newRow("an earlier image, cancelled")
        << one << QStringList {"a/frame_000003.jpg"} << int(QMessageBox::Cancel) << false << 1;
    QTest::newRow("an earlier image, overwritten")
        << one << QStringList {"a/frame_000003.jpg"} << int(QMessageBox::Yes) << true << 5;
    // The earlier run's images past the new one's go too: one run a folder.
    QTest::newRow("an earlier, longer run, overwritten")
        << one << QStringList {"a/frame_000003.jpg", "a/frame_000009.jpg", "a/notes.txt"}
        << int(QMessageBox::Yes) << true << 6;
    QTest::newRow("a batch asks once")
        << two << QStringList {"a/frame_000001.jpg", "b/frame_000002.jpg"} << int(QMessageBox::Yes)
        << true << 5;
}

void tst_WindowFeatures::overwrite_isAskedOnceBeforeWriting()
{
    QFETCH(QStringList, videos);
    QFETCH(QStringList, existing);
    QFETCH(int, answer);
    QFETCH(bool, converted);
    QFETCH(int, filesOfA);

    w<QCheckBox>("subfolderCheckBox")->setChecked(true);
    const QString output = dir->filePath("out");
    for (const QString &name : existing) {
        QVERIFY(QDir().mkpath(QFileInfo(QDir(output).filePath(name)).path()));
        QVERIFY(writeFile(QDir(output).filePath(name), "earlier"));
    }
    QStringList paths;
    for (const QString &video : videos)
        paths << media.filePath(video);
    window->chooseVideos(paths);
    setOutput(output);

    QList<QMessageBox::StandardButton> answers;
    if (answer)
        answers << QMessageBox::StandardButton(answer);
    if (converted)
        answers << QMessageBox::Ok;
    BoxAnswerer boxes(answers);
    w<QPushButton>("startButton")->click();
    QTRY_COMPARE_WITH_TIMEOUT(boxes.boxes.size(), int(answers.size()), 30000);

    if (answer) {
        QCOMPARE(boxes.boxes.first().title, QStringLiteral("确认覆盖"));
        QVERIFY(boxes.boxes.first().text.contains(QStringLiteral("frame_00000")));
        // How many there are, in every folder of the batch.
        const int earlier = int(existing.filter(QRegularExpression("/frame_\\d{6}\\.jpg$")).size());
        QVERIFY2(boxes.boxes.first().text.contains(QStringLiteral("已有 %1 张").arg(earlier)),
            qPrintable(boxes.boxes.first().text));
    }
    QCOMPARE(
        boxes.boxes.last().title, converted ? QStringLiteral("完成") : QStringLiteral("确认覆盖"));
    const QByteArray first = readFile(QDir(output).filePath(existing.first()));
    QCOMPARE(first == "earlier", !converted || answer == 0);
    QCOMPARE(imageFiles(QDir(output).filePath("a")).size(), filesOfA);
    if (converted)
        QVERIFY(!QFileInfo::exists(QDir(output).filePath("a/frame_000009.jpg")));
}

void tst_WindowFeatures::longJob_showsTimeLeft()
{
    window->chooseVideos({longClip});
    setOutput(dir->path());
    // Every frame as PNG: well past the two seconds on any machine.
    w<QComboBox>("formatComboBox")->setCurrentText("PNG");
    w<QSpinBox>("frameRateSpinBox")->setValue(30);
    auto *status = w<QLabel>("statusLabel");
    // Closes the job's box should it end all the same, so that the check fails.
    BoxAnswerer ended;
    w<QPushButton>("startButton")->click();
    QTRY_VERIFY_WITH_TIMEOUT(status->text().contains(QStringLiteral(" · 剩余 ")), 60000);
    QVERIFY(!ended.seen);
    QVERIFY2(QRegularExpression(QStringLiteral("^处理中: 第 \\d+/\\d+ 帧 · 剩余 \\d+:\\d\\d$"))
                 .match(status->text())
                 .hasMatch(),
        qPrintable(status->text()));

    w<QPushButton>("stopCButton")->click();
    QTRY_VERIFY_WITH_TIMEOUT(ended.seen, 30000);
}

QTEST_MAIN(tst_WindowFeatures)
#include "tst_windowfeatures.moc"

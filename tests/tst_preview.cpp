#include "mainwindow.h"
#include "testsupport.h"
#include "windowrules.h"

#include <QAudioOutput>
#include <QComboBox>
#include <QGraphicsVideoItem>
#include <QGraphicsView>
#include <QLabel>
#include <QLineEdit>
#include <QMediaPlayer>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QVideoFrame>
#include <QVideoSink>
#include <QtTest>

class tst_Preview : public QObject
{
    Q_OBJECT

public:
    tst_Preview() { QStandardPaths::setTestModeEnabled(true); }

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase()
    {
        if (!createdMovies.isEmpty())
            QDir().rmdir(createdMovies);
    }

    void setup_buildsSilentSingleRunPlayerInFixedView();
    void dialog_cancelledChangesNothing();
    void dialog_withoutMoviesFolder_opensHomeWithNoName();
    void choosing_parksAtStartWithPlayEnabledAndFits();
    void playPause_beforeLoadDoesNothing();
    void pauseLater_enablesStopWhichReturnsToStart();
    void invalidFile_disablesPreviewControls();
    void markButtons_takeRangeFromPreviewUntilAnotherVideo();
    void kinds_reachLoadedWithTheirPicture_data();
    void kinds_reachLoadedWithTheirPicture();
    void marks_takeTheFrameShownWhichTheJobTakesFirst_data();
    void marks_takeTheFrameShownWhichTheJobTakesFirst();
    void keys_stepThePausedPreview_data();
    void keys_stepThePausedPreview();
    void space_playsAndPauses();
    void sliderClick_seeksWhereClicked_data();
    void sliderClick_seeksWhereClicked();
    void wideOrNarrowPixels_previewedAsTheImagesAre_data();
    void wideOrNarrowPixels_previewedAsTheImagesAre();

private:
    void choose(const QString &path);
    // Chooses the counting clip and waits until it is parked.
    void chooseCounting();
    // Seeks the paused preview with the slider and waits until it shows the frame there.
    void seekAndSettle(qint64 positionMs);
    // The counting clip's frame the preview draws; -1 before one arrives.
    int frameDrawn() const;
    // Frame k of the counting clip starts at k / 30 s: the last to start by positionMs.
    static int countingFrameAt(qint64 positionMs) { return int(positionMs * 30 / 1000); }
    static qint64 countingFrameMs(int frame) { return qint64(frame) * 1000 / 30; }

    QTemporaryDir media;
    QString createdMovies;
    QString wide;
    QString junk;
    QString counting; // 3 s at 30 fps, frame k of luma 16 + 3k
    MainWindow *window = nullptr;
    QMediaPlayer *player = nullptr;
};

void tst_Preview::initTestCase()
{
    // The dialog starts in the movies folder only where it exists.
    const QString movies = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
    if (!QFileInfo::exists(movies)) {
        QVERIFY(QDir().mkpath(movies));
        createdMovies = movies;
    }
    QVERIFY(media.isValid());
    wide = media.filePath("wide.mp4");
    MAKE_CLIP(testClip(wide, "1920x1080", 3, 10));
    counting = media.filePath("counting.mp4");
    MAKE_CLIP(VideoFixture::countingClip("30", 90, counting));
    junk = media.filePath("junk.mp4");
    QFile file(junk);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("this is not a video\n");
}

void tst_Preview::init()
{
    wipeSettings();
    window = new MainWindow;
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    player = window->findChild<QMediaPlayer *>();
    QVERIFY(player);
}

void tst_Preview::cleanup()
{
    delete window;
    window = nullptr;
    wipeSettings();
}

void tst_Preview::choose(const QString &path)
{
    DialogChooser chooser(path);
    w<QPushButton>("selectVideoButton")->click();
    QVERIFY(chooser.seen);
    QCOMPARE(chooser.title, QStringLiteral("选择视频文件"));
    QCOMPARE(chooser.directory,
        QDir(QStandardPaths::writableLocation(QStandardPaths::MoviesLocation)).absolutePath());
    QCOMPARE(chooser.nameFilters,
        (QStringList {
            "视频文件 (*.mp4 *.avi *.mov *.mkv *.flv *.wmv *.mpeg *.mpg *.webm *.ts *.mts *.m2ts "
            "*.mxf *.3gp *.ogv *.m4v *.ogg *.asf *.dv *.mjpeg *.mjpg *.vob *.m2t *.3gpp)",
            "所有文件 (*)"}));
}

void tst_Preview::dialog_withoutMoviesFolder_opensHomeWithNoName()
{
    const QString movies = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
    const QString away = movies + QStringLiteral(".away");
    QVERIFY(QDir().rename(movies, away));
    DialogChooser chooser {QString()};
    w<QPushButton>("selectVideoButton")->click();
    QVERIFY(QDir().rename(away, movies));
    QVERIFY(chooser.seen);
    QCOMPARE(chooser.directory, QDir::home().absolutePath());
    QCOMPARE(chooser.proposedName, QString());
}

void tst_Preview::setup_buildsSilentSingleRunPlayerInFixedView()
{
    auto *view = w<QGraphicsView>("videoView");
    QVERIFY(player->audioOutput());
    QCOMPARE(player->audioOutput()->volume(), 0.0f);
    QCOMPARE(player->loops(), 1);
    auto *item = qobject_cast<QGraphicsVideoItem *>(player->videoOutput());
    QVERIFY(item);
    QCOMPARE(item->scene(), view->scene());
    QCOMPARE(item->parentItem(), nullptr);
    QCOMPARE(item->flags(), QGraphicsItem::ItemIsSelectable | QGraphicsItem::ItemIsFocusable);
    QCOMPARE(view->alignment(), Qt::AlignCenter);
    QCOMPARE(view->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(view->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(view->viewportUpdateMode(), QGraphicsView::FullViewportUpdate);
    QVERIFY(
        view->renderHints().testFlags(QPainter::Antialiasing | QPainter::SmoothPixmapTransform));
    QVERIFY(!w("playPauseButton")->isEnabled());
    QVERIFY(!w("stopButton")->isEnabled());
}

void tst_Preview::dialog_cancelledChangesNothing()
{
    DialogChooser chooser {QString()};
    w<QPushButton>("selectVideoButton")->click();
    QVERIFY(chooser.seen);
    QCOMPARE(w<QLineEdit>("videoLineEdit")->text(), QString());
    QCOMPARE(player->source(), QUrl());
}

void tst_Preview::choosing_parksAtStartWithPlayEnabledAndFits()
{
    choose(wide);
    QCOMPARE(w<QLineEdit>("videoLineEdit")->text(), wide);
    QCOMPARE(player->source(), QUrl::fromLocalFile(wide));

    QTRY_VERIFY_WITH_TIMEOUT(w("playPauseButton")->isEnabled(), 20000);
    QCOMPARE(player->playbackState(), QMediaPlayer::PausedState);
    QCOMPARE(player->position(), 0);
    QCOMPARE(w<QPushButton>("playPauseButton")->accessibleName(), QStringLiteral("播放"));
    QVERIFY(!w("stopButton")->isEnabled());
    QTRY_COMPARE(w<QLabel>("durationLabel")->text(), QStringLiteral("00:00:03"));

    auto *item = qobject_cast<QGraphicsVideoItem *>(player->videoOutput());
    QTRY_VERIFY_WITH_TIMEOUT(item->nativeSize() == QSizeF(1920, 1080), 20000);
    const QSize viewSize = w("videoView")->size();
    const std::optional<QRect> expected = fitVideoRect(QSizeF(1920, 1080), viewSize);
    QVERIFY(expected);
    QTRY_COMPARE(item->size(), QSizeF(expected->size()));
    QCOMPARE(item->pos(), QPointF(expected->topLeft()));
}

void tst_Preview::playPause_beforeLoadDoesNothing()
{
    QMetaObject::invokeMethod(window, "on_playPauseButton_clicked");
    QCOMPARE(player->playbackState(), QMediaPlayer::StoppedState);
    QCOMPARE(w<QPushButton>("playPauseButton")->accessibleName(), QStringLiteral("播放"));
}

void tst_Preview::pauseLater_enablesStopWhichReturnsToStart()
{
    choose(wide);
    QTRY_VERIFY_WITH_TIMEOUT(w("playPauseButton")->isEnabled(), 20000);

    w<QPushButton>("playPauseButton")->click();
    QTRY_COMPARE(player->playbackState(), QMediaPlayer::PlayingState);
    QCOMPARE(w<QPushButton>("playPauseButton")->accessibleName(), QStringLiteral("暂停"));
    QTRY_VERIFY_WITH_TIMEOUT(player->position() > 0, 20000);
    w<QPushButton>("playPauseButton")->click();
    QTRY_COMPARE(player->playbackState(), QMediaPlayer::PausedState);
    QCOMPARE(w<QPushButton>("playPauseButton")->accessibleName(), QStringLiteral("播放"));
    QVERIFY(w("stopButton")->isEnabled());
    QVERIFY(w<QLabel>("timeLabel")->text().startsWith(u"00:00:0"));

    w<QPushButton>("stopButton")->click();
    QCOMPARE(player->position(), 0);
    QVERIFY(!w("stopButton")->isEnabled());
}

void tst_Preview::invalidFile_disablesPreviewControls()
{
    choose(junk);
    QTRY_VERIFY_WITH_TIMEOUT(w<QLabel>("statusLabel")->text() == u"无效的视频文件"
            || w<QLabel>("statusLabel")->text().startsWith(u"播放错误: "),
        20000);
    QVERIFY(!w("playPauseButton")->isEnabled());
    QVERIFY(!w("stopButton")->isEnabled());
    QVERIFY(w("startButton")->isEnabled());
}

void tst_Preview::markButtons_takeRangeFromPreviewUntilAnotherVideo()
{
    QVERIFY(!w("markStartButton")->isEnabled());
    choose(wide);
    QTRY_VERIFY_WITH_TIMEOUT(w("markStartButton")->isEnabled(), 20000);
    QVERIFY(w("markEndButton")->isEnabled());
    auto *start = w<QLineEdit>("startTimeEdit");
    auto *end = w<QLineEdit>("endTimeEdit");

    w<QPushButton>("markEndButton")->click();
    QCOMPARE(end->text(), QStringLiteral("0:00:00.000"));
    player->setPosition(1500);
    QTRY_VERIFY_WITH_TIMEOUT(player->position() > 0, 20000);
    w<QPushButton>("markStartButton")->click();
    QCOMPARE(start->text(), formatTimeField(player->position()));
    QVERIFY(start->text() != u"0:00:00.000");

    choose(wide);
    QCOMPARE(start->text(), QStringLiteral("0:00:00.000"));
    QCOMPARE(end->text(), QString());
}

void tst_Preview::kinds_reachLoadedWithTheirPicture_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("codec"); // empty: the container's own choice

    QTest::newRow("MPEG-TS, MPEG-2 video") << "clip.ts" << QStringList();
    QTest::newRow("MPEG-TS, H.264") << "h264.ts" << QStringList {"-c:v", "libx264"};
    QTest::newRow("AV1 in Matroska, libaom")
        << "aom.mkv" << QStringList {"-c:v", "libaom-av1", "-cpu-used", "8"};
    QTest::newRow("AV1 in MP4, SVT-AV1") << "svt.mp4" << QStringList {"-c:v", "libsvtav1"};
    QTest::newRow("FLV") << "clip.flv" << QStringList();
    QTest::newRow("MXF, MPEG-2 video") << "clip.mxf" << QStringList();
}

void tst_Preview::kinds_reachLoadedWithTheirPicture()
{
    QFETCH(QString, name);
    QFETCH(QStringList, codec);

    const QString path = media.filePath(name);
    // MXF takes broadcast frame rates only. GStreamer finds no duration, and
    // shows no picture, in an MPEG-TS file much shorter than this.
    MAKE_CLIP(testClip(path, "320x240", 3, 25, codec));
    choose(path);

    QTRY_VERIFY_WITH_TIMEOUT(w("playPauseButton")->isEnabled(), 20000);
    QCOMPARE(player->playbackState(), QMediaPlayer::PausedState);
    // A picture arrived: a demuxer and a decoder for the kind exist.
    auto *item = qobject_cast<QGraphicsVideoItem *>(player->videoOutput());
    QTRY_COMPARE_WITH_TIMEOUT(item->nativeSize(), QSizeF(320, 240), 20000);
    QCOMPARE(w<QLabel>("statusLabel")->text(), QString());
}

void tst_Preview::chooseCounting()
{
    window->chooseVideos({counting});
    QTRY_VERIFY_WITH_TIMEOUT(w("playPauseButton")->isEnabled(), 20000);
    QTRY_VERIFY_WITH_TIMEOUT(frameDrawn() == 0, 20000);
}

void tst_Preview::seekAndSettle(qint64 positionMs)
{
    auto *slider = w<QSlider>("positionSlider");
    QTRY_VERIFY_WITH_TIMEOUT(slider->maximum() >= positionMs, 20000);
    slider->setSliderPosition(int(positionMs));
    slider->triggerAction(QAbstractSlider::SliderMove);
    // Paused, the preview goes a millisecond into the frame the position falls
    // in, where every player shows that frame.
    const int frame = countingFrameAt(positionMs);
    QTRY_COMPARE_WITH_TIMEOUT(
        player->position(), frame == 0 ? 0 : countingFrameMs(frame) + 1, 20000);
    QTRY_COMPARE_WITH_TIMEOUT(frameDrawn(), frame, 20000);
}

int tst_Preview::frameDrawn() const
{
    auto *item = qobject_cast<QGraphicsVideoItem *>(player->videoOutput());
    const QImage image = item->videoSink()->videoFrame().toImage();
    return image.isNull() ? -1 : VideoFixture::countingFrameIndex(image);
}

void tst_Preview::marks_takeTheFrameShownWhichTheJobTakesFirst_data()
{
    QTest::addColumn<qint64>("startAt"); // the preview's position at Mark In
    QTest::addColumn<qint64>("endAt"); // and at Mark Out
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");

    // Frame 54 starts at 1.800 s, 55 at 1.8333, 60 at 2.000, 62 at 2.0666.
    QTest::newRow("between frames") << qint64(1806) << qint64(2006) << "0:00:01.800"
                                    << "0:00:02.000";
    QTest::newRow("on a frame's start") << qint64(1800) << qint64(2000) << "0:00:01.800"
                                        << "0:00:02.000";
    QTest::newRow("in the millisecond a frame starts")
        << qint64(1833) << qint64(2066) << "0:00:01.800"
        << "0:00:02.033";
    QTest::newRow("in the millisecond after it starts")
        << qint64(1834) << qint64(2067) << "0:00:01.833"
        << "0:00:02.066";
}

void tst_Preview::marks_takeTheFrameShownWhichTheJobTakesFirst()
{
    QFETCH(qint64, startAt);
    QFETCH(qint64, endAt);
    QFETCH(QString, start);
    QFETCH(QString, end);

    QTemporaryDir output;
    auto *folder = w<QLineEdit>("outputLineEdit");
    folder->setText(output.path());
    emit folder->editingFinished();
    w<QComboBox>("formatComboBox")->setCurrentText("PNG");

    chooseCounting();
    seekAndSettle(startAt);
    // Paused, the time shows the frame shown, to the millisecond.
    QTRY_COMPARE(w<QLabel>("timeLabel")->text(), formatFrameTime(parseTimeField(start).value()));
    w<QPushButton>("markStartButton")->click();
    QCOMPARE(w<QLineEdit>("startTimeEdit")->text(), start);
    // The camera saves the same frame.
    w<QPushButton>("saveFrameButton")->click();
    const QString status = w<QLabel>("statusLabel")->text();
    QVERIFY2(status.startsWith(QStringLiteral("已保存: ")), qPrintable(status));
    const QString saved = QDir(output.path()).filePath("counting/" + status.mid(5));
    QCOMPARE(VideoFixture::countingFrameIndex(QImage(saved)), countingFrameAt(startAt));
    QVERIFY(QFile::remove(saved));
    seekAndSettle(endAt);
    w<QPushButton>("markEndButton")->click();
    QCOMPARE(w<QLineEdit>("endTimeEdit")->text(), end);

    // Every frame of the range: the first image is the frame shown at Mark In,
    // the last the one before the frame shown at Mark Out.
    w<QSpinBox>("frameRateSpinBox")->setValue(30);
    BoxAnswerer done;
    w<QPushButton>("startButton")->click();
    QTRY_VERIFY_WITH_TIMEOUT(done.seen, 60000);
    QCOMPARE(done.title, QStringLiteral("完成"));
    const QStringList images = VideoFixture::imageFiles(QDir(output.path()).filePath("counting"));
    QVERIFY(!images.isEmpty());
    const QDir written(QDir(output.path()).filePath("counting"));
    QCOMPARE(VideoFixture::countingFrameIndex(QImage(written.filePath(images.first()))),
        countingFrameAt(startAt));
    QCOMPARE(VideoFixture::countingFrameIndex(QImage(written.filePath(images.last()))),
        countingFrameAt(endAt) - 1);
}

void tst_Preview::keys_stepThePausedPreview_data()
{
    QTest::addColumn<qint64>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("shift");
    QTest::addColumn<QString>("focus"); // the widget with the keyboard focus
    QTest::addColumn<int>("frame"); // shown afterwards

    const int right = Qt::Key_Right, left = Qt::Key_Left;
    QTest::newRow("right, a frame on") << qint64(1806) << right << false << "positionSlider" << 55;
    QTest::newRow("left, a frame back") << qint64(1806) << left << false << "positionSlider" << 53;
    QTest::newRow("from the start") << qint64(0) << right << false << "positionSlider" << 1;
    QTest::newRow("nothing before the first")
        << qint64(0) << left << false << "positionSlider" << 0;
    QTest::newRow("a button has the focus")
        << qint64(1806) << right << false << "selectVideoButton" << 55;
    QTest::newRow("shift, a second on") << qint64(1000) << right << true << "positionSlider" << 60;
    QTest::newRow("shift, a second back")
        << qint64(1500) << left << true << "playPauseButton" << 15;
    QTest::newRow("a text field keeps its keys")
        << qint64(1806) << right << false << "outputLineEdit" << 54;
}

void tst_Preview::keys_stepThePausedPreview()
{
    QFETCH(qint64, from);
    QFETCH(int, key);
    QFETCH(bool, shift);
    QFETCH(QString, focus);
    QFETCH(int, frame);

    chooseCounting();
    if (from > 0)
        seekAndSettle(from);
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    w(focus)->setFocus();
    QTRY_VERIFY(w(focus)->hasFocus());
    QTest::keyClick(
        QApplication::focusWidget(), Qt::Key(key), shift ? Qt::ShiftModifier : Qt::NoModifier);
    QTRY_COMPARE_WITH_TIMEOUT(frameDrawn(), frame, 20000);
    QCOMPARE(player->playbackState(), QMediaPlayer::PausedState);
    QTRY_COMPARE(w<QLabel>("timeLabel")->text(), formatFrameTime(countingFrameMs(frame)));
}

void tst_Preview::space_playsAndPauses()
{
    chooseCounting();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    w("positionSlider")->setFocus();
    QTest::keyClick(w("positionSlider"), Qt::Key_Space);
    QTRY_COMPARE(player->playbackState(), QMediaPlayer::PlayingState);
    QCOMPARE(w<QPushButton>("playPauseButton")->accessibleName(), QStringLiteral("暂停"));
    QTest::keyClick(w("positionSlider"), Qt::Key_Space);
    QTRY_COMPARE(player->playbackState(), QMediaPlayer::PausedState);
    // A text field takes the space as a character.
    auto *field = w<QLineEdit>("outputLineEdit");
    field->setFocus();
    field->clear();
    QTest::keyClick(field, Qt::Key_Space);
    QCOMPARE(field->text(), QStringLiteral(" "));
    QCOMPARE(player->playbackState(), QMediaPlayer::PausedState);
}

void tst_Preview::sliderClick_seeksWhereClicked_data()
{
    QTest::addColumn<double>("at"); // along the groove, 0 to 1

    QTest::newRow("near the end") << 0.9;
    QTest::newRow("past the middle") << 0.6;
}

void tst_Preview::sliderClick_seeksWhereClicked()
{
    QFETCH(double, at);

    chooseCounting();
    auto *slider = w<QSlider>("positionSlider");
    QTRY_VERIFY_WITH_TIMEOUT(slider->maximum() > 2900, 20000);
    const QPoint where(qRound(slider->width() * at), slider->height() / 2);
    QTest::mouseClick(slider, Qt::LeftButton, {}, where);
    // Not a page's step from the start: where the click was, within what the
    // handle's width leaves uncertain.
    const qint64 wanted = qRound64(slider->maximum() * at);
    const qint64 slack = slider->maximum() / 10;
    QTRY_VERIFY_WITH_TIMEOUT(qAbs(player->position() - wanted) < slack, 20000);
    QVERIFY2(qAbs(slider->value() - wanted) < slack, qPrintable(QString::number(slider->value())));
}

void tst_Preview::wideOrNarrowPixels_previewedAsTheImagesAre_data()
{
    QTest::addColumn<QString>("aspect");
    QTest::addColumn<QSizeF>("shape");

    QTest::newRow("pixels twice as wide") << "2" << QSizeF(1280, 360);
    QTest::newRow("pixels half as wide") << "1/2" << QSizeF(320, 360);
    QTest::newRow("square pixels") << "1" << QSizeF(640, 360);
}

void tst_Preview::wideOrNarrowPixels_previewedAsTheImagesAre()
{
    QFETCH(QString, aspect);
    QFETCH(QSizeF, shape);

    const QString path = media.filePath(QStringLiteral("sar-%1.mp4").arg(QTest::currentDataTag()));
    MAKE_CLIP({"-f", "lavfi", "-i", "testsrc2=size=640x360:rate=10", "-t", "1", "-vf",
        "setsar=" + aspect, "-c:v", "libx264", "-pix_fmt", "yuv420p", path});
    window->chooseVideos({path});
    QTRY_VERIFY_WITH_TIMEOUT(w("playPauseButton")->isEnabled(), 20000);
    auto *item = qobject_cast<QGraphicsVideoItem *>(player->videoOutput());
    QTRY_VERIFY_WITH_TIMEOUT(item->nativeSize().isValid(), 20000);
    const std::optional<QRect> expected = fitVideoRect(shape, w("videoView")->size());
    QVERIFY(expected);
    QTRY_COMPARE(item->size(), QSizeF(expected->size()));
    QCOMPARE(item->pos(), QPointF(expected->topLeft()));
}

QTEST_MAIN(tst_Preview)
#include "tst_preview.moc"

#include "mainwindow.h"
#include "testsupport.h"
#include "windowrules.h"

#include <QAudioOutput>
#include <QGraphicsVideoItem>
#include <QGraphicsView>
#include <QLabel>
#include <QLineEdit>
#include <QMediaPlayer>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
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

private:
    void choose(const QString &path);

    QTemporaryDir media;
    QString createdMovies;
    QString wide;
    QString junk;
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
            "*.mxf *.3gp *.ogv *.m4v)",
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

QTEST_MAIN(tst_Preview)
#include "tst_preview.moc"

#include "previewplayer.h"
#include "windowrules.h"

#include <QAudioOutput>
#include <QDebug>
#include <QFileInfo>
#include <QGraphicsScene>
#include <QGraphicsVideoItem>
#include <QGraphicsView>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>
#include <QUrl>

PreviewPlayer::PreviewPlayer(
    QGraphicsView *view, QSlider *slider, QLabel *timeLabel, QLabel *durationLabel, QObject *parent)
    : QObject(parent)
    , view(view)
    , slider(slider)
    , timeLabel(timeLabel)
    , durationLabel(durationLabel)
{
    slider->setRange(0, 0);
    // Every way of moving it, dragging, a click on the groove or a key, is an action.
    connect(slider, &QSlider::actionTriggered, this, [this] {
        if (!mediaPlayer || !mediaLoaded)
            return;
        mediaPlayer->setPosition(this->slider->sliderPosition());
        // Away from the start, the preview's stop has something to do.
        emit stateChanged();
    });
}

PreviewPlayer::~PreviewPlayer()
{
    release();
}

void PreviewPlayer::setup()
{
    release();

    videoScene = new QGraphicsScene(this);
    view->setScene(videoScene);
    view->setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    view->setViewportUpdateMode(QGraphicsView::FullViewportUpdate);
    view->setAlignment(Qt::AlignCenter);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    videoItem = new QGraphicsVideoItem;
    videoItem->setFlags(QGraphicsItem::ItemIsSelectable | QGraphicsItem::ItemIsFocusable);
    videoScene->addItem(videoItem);

    mediaPlayer = new QMediaPlayer(this);
    mediaPlayer->setVideoOutput(videoItem);
    // Goes with the player it belongs to.
    auto *audioOutput = new QAudioOutput(mediaPlayer);
    audioOutput->setVolume(0.0);
    mediaPlayer->setAudioOutput(audioOutput);
    mediaPlayer->setLoops(1);

    connect(mediaPlayer, &QMediaPlayer::positionChanged, this, &PreviewPlayer::updatePosition);
    connect(mediaPlayer, &QMediaPlayer::durationChanged, this, &PreviewPlayer::durationChanged);
    connect(
        mediaPlayer, &QMediaPlayer::mediaStatusChanged, this, &PreviewPlayer::mediaStatusChanged);
    connect(mediaPlayer, &QMediaPlayer::playbackStateChanged, this, &PreviewPlayer::stateChanged);
    connect(mediaPlayer, &QMediaPlayer::errorOccurred, this, &PreviewPlayer::handlePlayerError);
    connect(videoItem, &QGraphicsVideoItem::nativeSizeChanged, this,
        &PreviewPlayer::fitVideoItemIfValid);

    emit stateChanged();
    qDebug() << "Media player setup complete";
}

void PreviewPlayer::release()
{
    if (mediaPlayer) {
        mediaPlayer->stop();
        disconnect(mediaPlayer, nullptr, this, nullptr);
        delete mediaPlayer;
        mediaPlayer = nullptr;
    }
    if (videoItem) {
        delete videoItem;
        videoItem = nullptr;
    }
    if (videoScene) {
        delete videoScene;
        videoScene = nullptr;
    }
    mediaLoaded = false;
    slider->setRange(0, 0);
}

void PreviewPlayer::load(const QString &filePath)
{
    qDebug() << "Loading video file:" << filePath;
    if (filePath.isEmpty() || !QFileInfo::exists(filePath)) {
        qDebug() << "Video file does not exist or path is empty";
        return;
    }

    try {
        if (mediaPlayer) {
            mediaPlayer->stop();
            mediaLoaded = false;
            mediaPlayer->setSource(QUrl::fromLocalFile(filePath));
            connect(
                mediaPlayer, &QMediaPlayer::mediaStatusChanged, this,
                [this](QMediaPlayer::MediaStatus status) {
                    if (status == QMediaPlayer::LoadedMedia)
                        QTimer::singleShot(50, this, &PreviewPlayer::fitVideoItemIfValid);
                },
                Qt::SingleShotConnection);
        }
    } catch (...) {
        emit loadFailed();
    }
}

void PreviewPlayer::togglePlayPause()
{
    if (!mediaPlayer || !mediaLoaded)
        return;
    if (mediaPlayer->playbackState() == QMediaPlayer::PlayingState)
        mediaPlayer->pause();
    else
        mediaPlayer->play();
    emit stateChanged();
}

void PreviewPlayer::stop()
{
    if (!mediaPlayer)
        return;
    mediaPlayer->stop();
    mediaPlayer->setPosition(0);
    emit stateChanged();
}

bool PreviewPlayer::isPlaying() const
{
    return mediaPlayer && mediaPlayer->playbackState() == QMediaPlayer::PlayingState;
}

qint64 PreviewPlayer::position() const
{
    return mediaPlayer ? mediaPlayer->position() : 0;
}

void PreviewPlayer::showTimes()
{
    if (!mediaPlayer)
        return;
    updatePosition(mediaPlayer->position());
    durationChanged(mediaPlayer->duration());
}

void PreviewPlayer::updatePosition(qint64 position)
{
    if (mediaPlayer && mediaPlayer->duration() > 0)
        timeLabel->setText(formatClockTime(position));
    // The handle under the user's mouse is theirs until it is let go.
    if (!slider->isSliderDown()) {
        const QSignalBlocker quiet(slider);
        slider->setValue(int(position));
    }
}

void PreviewPlayer::durationChanged(qint64 duration)
{
    if (mediaPlayer && duration > 0)
        durationLabel->setText(formatClockTime(duration));
    slider->setRange(0, int(qMax<qint64>(duration, 0)));
    slider->setPageStep(int(qBound(qint64(1000), duration / 10, qint64(60000))));
}

void PreviewPlayer::mediaStatusChanged(QMediaPlayer::MediaStatus status)
{
    qDebug() << "Media status changed:" << status;
    switch (status) {
    case QMediaPlayer::EndOfMedia:
        mediaPlayer->setPosition(0);
        emit stateChanged();
        break;
    case QMediaPlayer::InvalidMedia:
        mediaLoaded = false;
        emit invalidMedia();
        emit stateChanged();
        break;
    case QMediaPlayer::LoadedMedia:
        onMediaLoaded();
        break;
    default:
        break;
    }
}

void PreviewPlayer::onMediaLoaded()
{
    if (!mediaPlayer || mediaPlayer->mediaStatus() != QMediaPlayer::LoadedMedia || mediaLoaded)
        return;
    mediaLoaded = true;
    mediaPlayer->pause();
    mediaPlayer->setPosition(0);
    fitVideoItemIfValid();
    QTimer::singleShot(100, this, &PreviewPlayer::fitVideoItemIfValid);
    emit stateChanged();
}

void PreviewPlayer::handlePlayerError(QMediaPlayer::Error error, const QString &errorString)
{
    qDebug() << "Media player error:" << error << errorString;
    emit playerError(errorString);
}

void PreviewPlayer::fitVideoItemIfValid()
{
    if (videoItem && videoItem->nativeSize().isValid())
        fitVideoItem();
}

void PreviewPlayer::fitVideoItem()
{
    const std::optional<QRect> rect = fitVideoRect(videoItem->nativeSize(), view->size());
    if (!rect)
        return;
    videoItem->setSize(rect->size());
    videoItem->setPos(rect->topLeft());
    view->update();
}

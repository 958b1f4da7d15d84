#include "previewplayer.h"
#include "windowrules.h"

#include <QAudioOutput>
#include <QDebug>
#include <QFileInfo>
#include <QGraphicsScene>
#include <QGraphicsVideoItem>
#include <QGraphicsView>
#include <QLabel>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTimer>
#include <QUrl>

namespace {

// Where on the slider's groove `point` lies, as a value of the slider; nothing
// when it is on the handle, which a press drags from where it is.
std::optional<int> grooveValueAt(const QSlider *slider, QPoint point)
{
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = slider->sliderPosition();
    option.sliderValue = slider->value();
    option.singleStep = slider->singleStep();
    option.pageStep = slider->pageStep();
    option.tickPosition = slider->tickPosition();
    option.tickInterval = slider->tickInterval();
    const bool horizontal = slider->orientation() == Qt::Horizontal;
    if (horizontal)
        option.state |= QStyle::State_Horizontal;
    option.upsideDown = horizontal
        ? slider->invertedAppearance() != (slider->layoutDirection() == Qt::RightToLeft)
        : !slider->invertedAppearance();

    const QStyle *style = slider->style();
    const QRect handle
        = style->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider);
    if (handle.contains(point))
        return std::nullopt;
    const QRect groove
        = style->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, slider);
    // The handle's centre goes under the pointer.
    const int span
        = horizontal ? groove.width() - handle.width() : groove.height() - handle.height();
    const int at = horizontal ? point.x() - groove.x() - handle.width() / 2
                              : point.y() - groove.y() - handle.height() / 2;
    return QStyle::sliderValueFromPosition(
        slider->minimum(), slider->maximum(), at, span, option.upsideDown);
}

} // namespace

PreviewPlayer::PreviewPlayer(
    QGraphicsView *view, QSlider *slider, QLabel *timeLabel, QLabel *durationLabel, QObject *parent)
    : QObject(parent)
    , view(view)
    , slider(slider)
    , timeLabel(timeLabel)
    , durationLabel(durationLabel)
{
    slider->setRange(0, 0);
    // A press on the groove puts the handle there, and drags it on from there.
    slider->installEventFilter(this);
    // Every way of moving it, dragging, a click on the groove or a key, is an action.
    connect(slider, &QSlider::actionTriggered, this, [this] {
        if (!mediaPlayer || !mediaLoaded)
            return;
        seekTo(this->slider->sliderPosition());
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
    // The item gets the picture's shape with square pixels, which the player
    // does not know.
    videoItem->setAspectRatioMode(Qt::IgnoreAspectRatio);
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
    // Paused, the time shows the frame to the millisecond.
    connect(mediaPlayer, &QMediaPlayer::playbackStateChanged, this,
        [this] { updatePosition(mediaPlayer->position()); });
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
    frames.close();
    slider->setRange(0, 0);
}

void PreviewPlayer::load(const QString &filePath)
{
    qDebug() << "Loading video file:" << filePath;
    if (filePath.isEmpty() || !QFileInfo::exists(filePath)) {
        qDebug() << "Video file does not exist or path is empty";
        return;
    }

    // What the player does not tell: where frames start, the pixels' shape.
    // A file FFmpeg cannot read leaves the player's own view of it.
    frames.open(filePath);
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

qint64 PreviewPlayer::frameShownMs()
{
    return frameShownMs(position());
}

qint64 PreviewPlayer::frameShownMs(qint64 positionMs)
{
    const std::optional<int64_t> frame = frames.frameShownAt(positionMs);
    return frame ? *frame / 1000 : positionMs;
}

void PreviewPlayer::step(int direction, bool wholeSecond)
{
    if (!mediaPlayer || !mediaLoaded)
        return;
    const qint64 at = mediaPlayer->position();
    if (wholeSecond) {
        seekTo(qBound<qint64>(0, at + direction * 1000, mediaPlayer->duration()));
        return;
    }
    if (isPlaying())
        return;
    const std::optional<int64_t> shown = frames.frameShownAt(at);
    if (!shown)
        return;
    const std::optional<int64_t> next
        = direction > 0 ? frames.frameAfter(*shown) : frames.frameBefore(*shown);
    if (next)
        seekTo(positionShowing(*next));
}

qint64 PreviewPlayer::positionShowing(int64_t frameUs)
{
    // Players differ on a position right on a frame's start: some show that
    // frame, some the one before. A millisecond into it, all show it.
    return frameUs <= 0 ? 0 : frameUs / 1000 + 1;
}

void PreviewPlayer::seekTo(qint64 positionMs)
{
    // Paused, the position goes to the frame it falls in, so that the frame
    // shown is the one the time, the marks and the camera take.
    qint64 position = positionMs;
    if (!isPlaying()) {
        if (const std::optional<int64_t> frame = frames.frameShownAt(positionMs))
            position = positionShowing(*frame);
    }
    // A stopped player shows nothing of where it is set.
    if (mediaPlayer->playbackState() == QMediaPlayer::StoppedState)
        mediaPlayer->pause();
    mediaPlayer->setPosition(position);
    // Away from the start, the preview's stop has something to do.
    emit stateChanged();
}

bool PreviewPlayer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == slider && event->type() == QEvent::MouseButtonPress && mediaPlayer
        && mediaLoaded) {
        const auto *press = static_cast<QMouseEvent *>(event);
        if (press->button() == Qt::LeftButton) {
            if (const std::optional<int> value
                = grooveValueAt(slider, press->position().toPoint())) {
                // Only the handle moves now, so that the press finds it under
                // the pointer; the seek follows at the release or as it drags.
                const bool tracking = slider->hasTracking();
                slider->setTracking(false);
                slider->setSliderPosition(*value);
                slider->setTracking(tracking);
            }
        }
    }
    return QObject::eventFilter(watched, event);
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
    if (mediaPlayer && mediaPlayer->duration() > 0) {
        // Paused, the time is the frame's that a save or a mark would take.
        timeLabel->setText(isPlaying() || !mediaLoaded ? formatClockTime(position)
                                                       : formatFrameTime(frameShownMs(position)));
    }
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
    const QSizeF shape
        = previewShape(videoItem->nativeSize(), frames.storedSize(), frames.squarePixelSize());
    const std::optional<QRect> rect = fitVideoRect(shape, view->size());
    if (!rect)
        return;
    videoItem->setSize(rect->size());
    videoItem->setPos(rect->topLeft());
    view->update();
}

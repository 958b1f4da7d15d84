#ifndef PREVIEWPLAYER_H
#define PREVIEWPLAYER_H

#include "frametimeline.h"

#include <QMediaPlayer>
#include <QObject>
#include <QString>

#include <optional>

class QGraphicsScene;
class QGraphicsVideoItem;
class QGraphicsView;
class QLabel;
class QSlider;

// The silent preview on the home page: the player, the scene and video item it
// draws into, the picture's fit into the view, the position slider and the two
// time labels, and where the video's frames start. The window owns it,
// forwards its buttons and keys to it and reads its state for the control
// rule; the texts the user reads about it stay with the window.
class PreviewPlayer : public QObject
{
    Q_OBJECT

public:
    PreviewPlayer(QGraphicsView *view, QSlider *slider, QLabel *timeLabel, QLabel *durationLabel,
        QObject *parent = nullptr);
    ~PreviewPlayer() override;

    // A fresh, empty player; the previous one is released first.
    void setup();
    void release();
    // Points the player at a local file and parks it on its first frame once
    // loaded. An empty path or a missing file changes nothing.
    void load(const QString &filePath);

    void togglePlayPause();
    void stop();
    // A frame forward or back while paused, a second either way at any time.
    void step(int direction, bool wholeSecond);

    bool hasPlayer() const { return mediaPlayer != nullptr; }
    bool isLoaded() const { return mediaLoaded; }
    bool isPlaying() const;
    qint64 position() const;
    // The start of the frame shown, in whole milliseconds: the time a range
    // starting or ending on that frame has, and the one the paused preview
    // shows. The player's position where the frames' times are not known.
    qint64 frameShownMs();

    // Sets both labels again from the player, as after a re-translation.
    void showTimes();
    void fitVideoItemIfValid();

signals:
    // The player's state changed in a way the window's controls reflect.
    void stateChanged();
    void invalidMedia();
    void playerError(const QString &errorString);
    void loadFailed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    qint64 frameShownMs(qint64 positionMs);
    static qint64 positionShowing(int64_t frameUs);
    void seekTo(qint64 positionMs);
    void updatePosition(qint64 position);
    void durationChanged(qint64 duration);
    void mediaStatusChanged(QMediaPlayer::MediaStatus status);
    void onMediaLoaded();
    void handlePlayerError(QMediaPlayer::Error error, const QString &errorString);
    void fitVideoItem();

    QGraphicsView *view;
    QSlider *slider;
    QLabel *timeLabel;
    QLabel *durationLabel;
    QMediaPlayer *mediaPlayer = nullptr;
    QGraphicsScene *videoScene = nullptr;
    QGraphicsVideoItem *videoItem = nullptr;
    bool mediaLoaded = false;
    FrameTimeline frames;
};

#endif // PREVIEWPLAYER_H

#ifndef VIDEODROP_H
#define VIDEODROP_H

#include <QObject>
#include <QStringList>

#include <functional>

class QWidget;

// Makes a window a drop target for videos: local files, and folders for the
// videos directly inside them. A drag that brings none, or one while
// `accepting` says no, is refused, which shows the no-drop cursor.
class VideoDropFilter : public QObject
{
    Q_OBJECT

public:
    VideoDropFilter(QWidget *window, std::function<bool()> accepting);

signals:
    void videosDropped(const QStringList &paths);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::function<bool()> accepting;
    bool dragAccepted = false;
};

#endif // VIDEODROP_H

#ifndef PROGRESSLINE_H
#define PROGRESSLINE_H

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>

#include <cstdio>

// A batch's progress as one line: the video, a bar, the count, the rate and the
// time left. Redrawn in place on a terminal; elsewhere (a log, a pipe) written
// as plain lines, at most one a second and one at each video's end.
class ProgressLine
{
    Q_DECLARE_TR_FUNCTIONS(ProgressLine)

public:
    ProgressLine(FILE *stream, bool terminal);

    // index counts from 0.
    void startVideo(int index, int count, const QString &videoPath);
    // totalImages is an estimate; 0 when unknown.
    void update(int images, int totalImages);
    // Writes the video's last state as a line of its own.
    void finishVideo();
    // Ends a line drawn in place, so that a message can follow on its own line.
    void breakLine();
    // Takes away a line drawn in place, for a message to take its place.
    void clear();

    // The line for `images` of `totalImages` (0: unknown) written in `seconds`:
    // "[1/2] clip.mp4 [########--------] 40/80 20.0 张/秒 剩余 0:00:02".
    static QString text(const QString &label, int images, int totalImages, double seconds);
    // Terminal columns `text` takes: two for each wide East Asian character.
    static int columns(const QString &text);

private:
    void draw(bool force);

    FILE *stream;
    bool terminal;
    QString label;
    int images = 0;
    int totalImages = 0;
    QElapsedTimer videoClock;
    QElapsedTimer drawClock;
    // Columns of the line drawn in place; 0 when none is open.
    int drawnColumns = 0;
};

#endif // PROGRESSLINE_H

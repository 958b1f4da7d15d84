#ifndef INTERRUPTWATCHER_H
#define INTERRUPTWATCHER_H

#include <QObject>
#include <QTimer>

// Turns the first request to stop (Ctrl-C, and on Unix also SIGTERM and
// SIGHUP) into the signal interrupted(), delivered on this object's thread;
// a second one ends the process as it would without the watcher. One watcher
// at a time.
class InterruptWatcher : public QObject
{
    Q_OBJECT

public:
    // 128 + SIGINT, as a shell reports a program that Ctrl-C ended.
    static constexpr int interruptedStatus = 130;

    explicit InterruptWatcher(QObject *parent = nullptr);
    ~InterruptWatcher() override;

    bool wasInterrupted() const { return reported; }
    // 128 + the number of the signal that asked for the stop, as a shell
    // reports a program that it ended: 130 for Ctrl-C, 143 for SIGTERM, 129
    // for SIGHUP. 0 before one came.
    int exitStatus() const { return status; }

signals:
    void interrupted();

private:
    // A signal handler may do no more than set a flag, so it is looked at here.
    QTimer poll;
    bool reported = false;
    int status = 0;
};

#endif // INTERRUPTWATCHER_H

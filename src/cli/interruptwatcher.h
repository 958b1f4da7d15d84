#ifndef INTERRUPTWATCHER_H
#define INTERRUPTWATCHER_H

#include <QObject>
#include <QTimer>

// Turns the first Ctrl-C into the signal interrupted(), delivered on this
// object's thread; a second one ends the process as it would without the
// watcher. One watcher at a time.
class InterruptWatcher : public QObject
{
    Q_OBJECT

public:
    // 128 + SIGINT, as a shell reports a program that Ctrl-C ended.
    static constexpr int exitStatus = 130;

    explicit InterruptWatcher(QObject *parent = nullptr);
    ~InterruptWatcher() override;

    bool wasInterrupted() const { return reported; }

signals:
    void interrupted();

private:
    // A signal handler may do no more than set a flag, so it is looked at here.
    QTimer poll;
    bool reported = false;
};

#endif // INTERRUPTWATCHER_H

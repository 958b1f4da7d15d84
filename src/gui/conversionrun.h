#ifndef CONVERSIONRUN_H
#define CONVERSIONRUN_H

#include "batchqueue.h"
#include "windowrules.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QObject>
#include <QString>

class QWidget;

// The window's conversion of one video or several, one after another: what
// the status line says while it runs, and the box that closes it.
class ConversionRun : public QObject
{
    Q_OBJECT

public:
    explicit ConversionRun(QObject *parent = nullptr);

    // The videos go into `outputRoot`, each into a sub-folder of it where
    // there are several.
    void start(const QList<ExtractionJob> &jobs, const QString &outputRoot);
    void stop();
    bool isRunning() const;
    int videoCount() const { return queue->count(); }
    const QList<BatchResult> &results() const;

    // The closing box of the run that just ended.
    void showReport(QWidget *parent) const;

signals:
    // percent is -1 while the running video's total cannot be known.
    void progressChanged(int percent, const QString &status);
    void ended();

private:
    void showProgress(int frame, int totalFrames);
    void showVideoReport(QWidget *parent, const BatchResult &result) const;
    void showBatchReport(QWidget *parent) const;

    BatchQueue *queue;
    QElapsedTimer clock;
    TimeLeft timeLeft;
    QString root;
    int videoIndex = 0;
    // Reports of a batch that a new start replaces are not the new run's.
    bool starting = false;
    bool stopped = false;
};

#endif // CONVERSIONRUN_H

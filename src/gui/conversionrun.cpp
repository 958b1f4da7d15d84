#include "conversionrun.h"
#include "windowrules.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

namespace {

// The run's texts belong to the window.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(MainWindow)
};

// Shows `box` and opens `folder` when its folder button was the one clicked.
void execWithFolderButton(QMessageBox &box, const QString &folder)
{
    QPushButton *open = box.addButton(Texts::tr("打开文件夹"), QMessageBox::ActionRole);
    box.addButton(QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
    if (box.clickedButton() == open)
        QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

QString writtenText(int images, const QString &folder)
{
    return Texts::tr("已写入 %1 张图片到 %2").arg(images).arg(QDir::toNativeSeparators(folder));
}

QString keptText(int images, const QString &folder)
{
    return Texts::tr("已保留写入的 %1 张图片，位于 %2")
        .arg(images)
        .arg(QDir::toNativeSeparators(folder));
}

} // namespace

ConversionRun::ConversionRun(QObject *parent)
    : QObject(parent)
    , queue(new BatchQueue(this))
{
    connect(queue, &BatchQueue::videoStarted, this, [this](int index, int) { videoIndex = index; });
    connect(queue, &BatchQueue::progressChanged, this, &ConversionRun::showProgress);
    connect(queue, &BatchQueue::finished, this, [this] {
        if (!starting)
            emit ended();
    });
}

void ConversionRun::start(const QList<ExtractionJob> &jobs, const QString &outputRoot)
{
    root = outputRoot;
    videoIndex = 0;
    clock.start();
    timeLeft = TimeLeft();
    stopped = false;
    starting = true;
    queue->start(jobs);
    starting = false;
}

void ConversionRun::stop()
{
    // The status line says so from now on, whatever the worker still reports.
    stopped = true;
    queue->cancel();
}

bool ConversionRun::isRunning() const
{
    return queue->isRunning();
}

const QList<BatchResult> &ConversionRun::results() const
{
    return queue->results();
}

void ConversionRun::showProgress(int frame, int totalFrames)
{
    if (stopped)
        return;
    QStringList parts;
    if (videoCount() > 1)
        parts << Texts::tr("视频 %1/%2").arg(videoIndex + 1).arg(videoCount());
    parts << (totalFrames > 0 ? Texts::tr("处理中: 第 %1/%2 帧").arg(frame).arg(totalFrames)
                              : Texts::tr("处理中: 第 %1 帧").arg(frame));
    timeLeft.add(clock.elapsed(), batchDone(videoIndex, videoCount(), frame, totalFrames));
    if (const std::optional<qint64> left = timeLeft.ms())
        parts << Texts::tr("剩余 %1").arg(formatTimeLeft(*left));
    // Not clamped: past 100 the bar ignores the value and keeps its last one.
    const int percent = totalFrames > 0 ? int(frame * 100.0 / totalFrames) : -1;
    emit progressChanged(percent, parts.join(QStringLiteral(" · ")));
}

void ConversionRun::showReport(QWidget *parent) const
{
    if (videoCount() == 1 && !results().isEmpty())
        showVideoReport(parent, results().first());
    else
        showBatchReport(parent);
}

void ConversionRun::showVideoReport(QWidget *parent, const BatchResult &result) const
{
    // A stop is the user's choice, not a failure: what was kept, and where.
    if (result.outcome == Outcome::Stopped) {
        QMessageBox box(QMessageBox::Information, Texts::tr("转换已停止"),
            result.error + QLatin1Char('\n') + keptText(result.images, result.outputPath),
            QMessageBox::NoButton, parent);
        execWithFolderButton(box, result.outputPath);
        return;
    }
    if (!result.error.isEmpty()) {
        QMessageBox::critical(
            parent, Texts::tr("错误"), Texts::tr("处理过程中发生错误: %1").arg(result.error));
        return;
    }
    QMessageBox box(QMessageBox::Information, Texts::tr("完成"),
        Texts::tr("视频已成功转换为图片") + QLatin1Char('\n')
            + writtenText(result.images, result.outputPath),
        QMessageBox::NoButton, parent);
    execWithFolderButton(box, result.outputPath);
}

void ConversionRun::showBatchReport(QWidget *parent) const
{
    int converted = 0;
    int images = 0;
    QStringList failures;
    for (const BatchResult &result : results()) {
        images += result.images;
        if (result.error.isEmpty() && !result.cancelled)
            ++converted;
        else if (!result.cancelled)
            failures << QStringLiteral("%1: %2").arg(
                QFileInfo(result.videoPath).fileName(), result.error);
    }
    const bool stopped = !results().isEmpty() && results().last().cancelled;
    QStringList lines {Texts::tr("已转换 %1/%2 个视频").arg(converted).arg(videoCount()),
        writtenText(images, root)};
    if (stopped)
        lines << Texts::tr("转换已停止");
    if (!failures.isEmpty())
        lines << Texts::tr("以下视频转换失败:") << failures;
    QMessageBox box(failures.isEmpty() ? QMessageBox::Information : QMessageBox::Warning,
        stopped ? Texts::tr("转换已停止") : Texts::tr("完成"), lines.join(QLatin1Char('\n')),
        QMessageBox::NoButton, parent);
    execWithFolderButton(box, root);
}

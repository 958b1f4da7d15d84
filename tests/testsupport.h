#ifndef TESTSUPPORT_H
#define TESTSUPPORT_H

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QTimer>

// Answers the next modal message box with `button`, recording what it showed.
class BoxAnswerer : public QObject
{
public:
    explicit BoxAnswerer(QMessageBox::StandardButton button = QMessageBox::Ok)
    {
        connect(&poll, &QTimer::timeout, this, [this, button] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            poll.stop();
            seen = true;
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            buttons = box->standardButtons();
            parent = box->parentWidget();
            box->button(button)->click();
        });
        poll.start(10);
    }

    QTimer poll;
    bool seen = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QWidget *parent = nullptr;
};

// Picks `path` in the next file dialog, or cancels it when `path` is empty.
class DialogChooser : public QObject
{
public:
    explicit DialogChooser(const QString &path)
    {
        connect(&poll, &QTimer::timeout, this, [this, path] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            poll.stop();
            seen = true;
            title = dialog->windowTitle();
            directory = dialog->directory().absolutePath();
            nameFilters = dialog->nameFilters();
            if (path.isEmpty()) {
                dialog->reject();
            } else {
                dialog->selectFile(path);
                static_cast<QDialog *>(dialog)->accept();
            }
        });
        poll.start(10);
    }

    QTimer poll;
    bool seen = false;
    QString title;
    QString directory;
    QStringList nameFilters;
};

// Makes a small test clip with the ffmpeg program; returns whether it worked.
inline bool makeTestVideo(const QString &path, const QString &size = QStringLiteral("320x240"),
                          double seconds = 1.0, int rate = 10)
{
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 {"-v", "error", "-y", "-f", "lavfi", "-i",
                  QStringLiteral("testsrc2=size=%1:rate=%2").arg(size).arg(rate), "-t",
                  QString::number(seconds), "-pix_fmt", "yuv420p", path});
    return ffmpeg.waitForFinished(60000) && ffmpeg.exitStatus() == QProcess::NormalExit
           && ffmpeg.exitCode() == 0;
}

#endif // TESTSUPPORT_H

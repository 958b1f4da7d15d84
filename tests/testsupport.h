#ifndef TESTSUPPORT_H
#define TESTSUPPORT_H

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QSettings>
#include <QTimer>

#include <functional>

struct SeenBox
{
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QWidget *parent = nullptr;
};

// Answers the next modal message boxes, one answer each, in order. The fields
// describe the first box; `boxes` lists every box answered.
class BoxAnswerer : public QObject
{
public:
    explicit BoxAnswerer(QList<QMessageBox::StandardButton> answers)
    {
        connect(&poll, &QTimer::timeout, this, [this, answers]() mutable {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box || answers.isEmpty() || box == lastBox)
                return;
            lastBox = box;
            boxes.append({box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                          box->parentWidget()});
            if (!seen) {
                seen = true;
                title = boxes.first().title;
                text = boxes.first().text;
                icon = boxes.first().icon;
                buttons = boxes.first().buttons;
                parent = boxes.first().parent;
            }
            if (beforeAnswer)
                beforeAnswer();
            box->button(answers.takeFirst())->click();
            if (answers.isEmpty())
                poll.stop();
        });
        poll.start(10);
    }
    explicit BoxAnswerer(QMessageBox::StandardButton answer = QMessageBox::Ok)
        : BoxAnswerer(QList<QMessageBox::StandardButton>{answer})
    {
    }

    QTimer poll;
    std::function<void()> beforeAnswer; // runs while the box is still open
    QList<SeenBox> boxes;
    bool seen = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QWidget *parent = nullptr;

private:
    QPointer<QMessageBox> lastBox;
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
                // Typed as the user would: selectFile() loses against the name the
                // dialog proposes when its start folder does not exist.
                if (auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                    name->setText(path);
                else
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

// Empties both settings stores of the test-mode location, so that no window
// restores what an earlier test left.
inline void wipeSettings()
{
    QSettings(QStringLiteral("QuelvaneLabs"), QStringLiteral("Oskivo")).clear();
    QSettings(QStringLiteral("Oskivo"), QStringLiteral("Oskivo")).clear();
}

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

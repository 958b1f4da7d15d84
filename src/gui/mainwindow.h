#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include "appmenu.h"
#include "extractionjob.h"
#include "outputfolder.h"
#include "preferences.h"

#include <QMainWindow>
#include <QString>
#include <QStringList>

#include <functional>

class ConversionRun;
class OptionsPage;
class PreviewPlayer;

QT_BEGIN_NAMESPACE
namespace Ui {
class MainWindow;
}
QT_END_NAMESPACE

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Chooses the videos to convert, as the open dialog, the video field and a
    // drop do: the first goes into the preview, several make a batch.
    void chooseVideos(const QStringList &paths);

public slots:
    void switchLanguage(const QString &code);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private slots:
    void on_selectVideoButton_clicked();
    void on_videoLineEdit_editingFinished();
    void on_selectOutputButton_clicked();
    void on_outputLineEdit_editingFinished();
    void on_startButton_clicked();
    void on_stopCButton_clicked();
    void on_playPauseButton_clicked();
    void on_stopButton_clicked();
    void on_saveFrameButton_clicked();
    void on_closeButton_clicked();
    void on_minButton_clicked();
    void on_homeButton_clicked();
    void on_configButton_clicked();
    void on_markStartButton_clicked();
    void on_markEndButton_clicked();
    void about();
    void resetApplication();
    void switchToChineseSimplified();
    void switchToChineseTraditional();
    void switchToEnglish();

private:
    // Preview
    void updatePlayPauseButton();
    void updateControlStates();
    void showPreviewState();
    // Conversion
    // Where the chosen videos' images go, each video's job.
    QList<ExtractionJob> plannedJobs(const ExtractionJob &job) const;
    bool confirmOverwrite(QList<ExtractionJob> &jobs);
    // Says what is wrong with the options, if anything, in a warning.
    bool acceptedOptions(const ExtractionJob &job);
    void showProgress(int percent, const QString &status);
    void conversionEnded();
    void showJobReport(std::function<void()> showBox);
    // Settings and language
    void loadSettings();
    void saveSettings();
    QVariant savedValue(Preferences::Key key) const;
    void applyLanguage(const QString &code);
    // Re-texts the form without touching the format list, whose entries are
    // replaced at start-up and would otherwise be re-texted by position.
    void retranslateForm();

    Ui::MainWindow *ui;
    ConversionRun *conversion = nullptr;
    PreviewPlayer *preview = nullptr;
    AppMenu *menu = nullptr;
    OptionsPage *options = nullptr;
    Preferences settings;
    QStringList videoPaths;
    QString outputDirPath;
    LanguageCatalogs catalogs;
    QString currentLanguage = Preferences::defaultLanguage;
    // Set from a job's start until it finishes, fails or is stopped.
    bool jobRunning = false;
    // What the running job's start made, removed again if the job fails
    // before writing there.
    OutputFolder jobFolder;
    // A job's closing box, held back while the quit question is open.
    bool quitQuestionOpen = false;
    std::function<void()> pendingJobReport;
};

#endif // MAINWINDOW_H

#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include "extractionjob.h"
#include "outputfolder.h"
#include "preferences.h"

#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <QTranslator>
#include <QVariant>

#include <functional>
#include <vector>

class PreviewPlayer;
class QMenu;
class VideoProcessor;

QT_BEGIN_NAMESPACE
namespace Ui {
class MainWindow;
}
QT_END_NAMESPACE

// One option control of the advanced page and the key it is stored under: how
// to read the control for a save, and how to show a stored or default value.
struct OptionBinding
{
    Preferences::Key key;
    std::function<QVariant()> read;
    std::function<void(const QVariant &)> write;
};

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Loads the first of `paths` into the preview, as if it had been typed in.
    void openVideos(const QStringList &paths);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private slots:
    void on_selectVideoButton_clicked();
    void on_videoLineEdit_editingFinished();
    void on_selectOutputButton_clicked();
    void on_outputLineEdit_editingFinished();
    void on_startButton_clicked();
    void on_stopCButton_clicked();
    void updateProgress(int frame, int totalFrames);
    void processingFinished();
    void processingError(const QString &error);
    void on_qualitySlider_valueChanged(int value);
    void on_playPauseButton_clicked();
    void on_stopButton_clicked();
    void on_closeButton_clicked();
    void on_minButton_clicked();
    void on_homeButton_clicked();
    void on_configButton_clicked();
    void about();
    void resetApplication();
    void on_bitDepthComboBox_currentIndexChanged(int index);
    void on_namingPatternComboBox_currentIndexChanged(int index);
    void on_customNameEdit_textChanged(const QString &text);
    void on_selectionModeComboBox_currentIndexChanged(int index);
    void on_markStartButton_clicked();
    void on_markEndButton_clicked();
    void switchToChineseSimplified();
    void switchToChineseTraditional();
    void switchToEnglish();

private:
    // Preview
    void loadVideo(const QString &filePath);
    void updatePlayPauseButton();
    void updateControlStates(bool processing);
    void showPreviewState();
    // Range
    void showWholeVideo();
    // The two time fields as the job's range; false after a warning when they
    // do not give one.
    bool readRange(FrameSelection &selection);
    // Conversion
    QString jobDirectory() const;
    void showJobReport(std::function<void()> showBox);
    // Options, settings and language
    void buildFormatList();
    void showQualityValue();
    void bindOptions();
    void loadSettings();
    void saveSettings();
    QVariant savedValue(Preferences::Key key) const;
    void loadLanguage();
    void switchLanguage(const QString &code);
    void applyLanguage(const QString &code);
    void showPopupMenu();
    void retranslatePopupMenu();
    // Re-texts the form without touching the format list, whose entries are
    // replaced at start-up and would otherwise be re-texted by position.
    void retranslateForm();

    Ui::MainWindow *ui;
    VideoProcessor *videoProcessor = nullptr;
    PreviewPlayer *preview = nullptr;
    Preferences settings;
    // Loaded, saved and reset together, in the order of Preferences::keys().
    std::vector<OptionBinding> optionBindings;
    QString videoFilePath;
    QString outputDirPath;
    QMenu *popupMenu = nullptr;
    QTranslator appTranslator;
    QTranslator qtTranslator;
    QString currentLanguage = Preferences::defaultLanguage;
    QString namePattern = QStringLiteral("frame_%1");
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

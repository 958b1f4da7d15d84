#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include <QMainWindow>
#include <QMediaPlayer>
#include <QPoint>
#include <QSizeF>
#include <QString>
#include <QTranslator>

class QGraphicsScene;
class QGraphicsVideoItem;
class QMenu;
class QSettings;
class VideoProcessor;

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

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private slots:
    void on_selectVideoButton_clicked();
    void on_selectOutputButton_clicked();
    void on_startButton_clicked();
    void on_stopCButton_clicked();
    void updateProgress(int frame, int totalFrames);
    void processingFinished();
    void processingError(const QString &error);
    void on_qualitySlider_valueChanged(int value);
    void on_playPauseButton_clicked();
    void on_stopButton_clicked();
    void updatePosition(qint64 position);
    void durationChanged(qint64 duration);
    void mediaStatusChanged(QMediaPlayer::MediaStatus status);
    void onMediaLoaded();
    void playbackStateChanged(QMediaPlayer::PlaybackState state);
    void on_closeButton_clicked();
    void on_minButton_clicked();
    void on_homeButton_clicked();
    void on_configButton_clicked();
    void about();
    void resetApplication();
    void on_bitDepthComboBox_currentIndexChanged(int index);
    void on_namingPatternComboBox_currentIndexChanged(int index);
    void on_customNameEdit_textChanged(const QString &text);
    void switchToChineseSimplified();
    void switchToChineseTraditional();
    void switchToEnglish();
    void onVideoNativeSizeChanged(const QSizeF &size);

private:
    // Preview player
    void setupMediaPlayer();
    void releasePlayer();
    void loadVideo(const QString &filePath);
    void handlePlayerError(QMediaPlayer::Error error, const QString &errorString);
    void updatePlayPauseButton();
    void updateControlStates(bool processing);
    void fitVideoItem();
    void fitVideoItemIfValid();
    // Options, settings and language
    void buildFormatList();
    void showQualityValue();
    void loadSettings();
    void saveSettings();
    void loadLanguage();
    void switchLanguage(const QString &code);
    void showPopupMenu();
    void retranslatePopupMenu();
    // Re-texts the form without touching the format list, whose entries are
    // replaced at start-up and would otherwise be re-texted by position.
    void retranslateForm();
    bool isInDragArea(const QPoint &windowPos) const;

    Ui::MainWindow *ui;
    bool dragging = false;
    QPoint dragStartCursorPos;
    QPoint dragStartWindowPos;
    VideoProcessor *videoProcessor = nullptr;
    QString videoFilePath;
    QString outputDirPath;
    QMediaPlayer *mediaPlayer = nullptr;
    QGraphicsScene *videoScene = nullptr;
    QGraphicsVideoItem *videoItem = nullptr;
    QSettings *settings = nullptr;
    bool mediaLoaded = false;
    QMenu *popupMenu = nullptr;
    QTranslator appTranslator;
    QTranslator qtTranslator;
    QString currentLanguage = QStringLiteral("zh_CN");
    QString namePattern = QStringLiteral("frame_%1");
    // Set from a job's start until it finishes, fails or is stopped.
    bool jobRunning = false;
};

#endif // MAINWINDOW_H

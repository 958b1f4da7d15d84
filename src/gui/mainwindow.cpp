#include "mainwindow.h"
#include "ui_mainwindow.h"
#include "aboutdialog.h"
#include "videoprocessor.h"
#include "windowrules.h"

#include <QActionGroup>
#include <QAudioOutput>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGraphicsDropShadowEffect>
#include <QGraphicsScene>
#include <QGraphicsVideoItem>
#include <QImageWriter>
#include <QLibraryInfo>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QRegularExpressionValidator>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

namespace {

const QString mainOrganization = QStringLiteral("QuelvaneLabs");
const QString languageOrganization = QStringLiteral("Oskivo");
const QString applicationName = QStringLiteral("Oskivo");
const QString defaultLanguage = QStringLiteral("zh_CN");
const QString defaultNamePattern = QStringLiteral("frame_%1");
constexpr int customNamingIndex = 3;

enum BitDepthIndex { Gray8 = 0, Rgb16 = 1, Rgb24 = 2, Rgba32 = 3 };

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::MainWindow)
    , videoProcessor(new VideoProcessor(this))
    , settings(new QSettings(mainOrganization, applicationName, this))
{
    ui->setupUi(this);

    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(960, 640);

    // The shadow falls on the transparent margin the form leaves around the panel.
    auto *shadow = new QGraphicsDropShadowEffect(this);
    shadow->setBlurRadius(20.0);
    shadow->setColor(QColor(0, 0, 0, 80));
    shadow->setOffset(0, 0);
    shadow->setEnabled(true);
    ui->centralwidget->setGraphicsEffect(shadow);

    buildFormatList();
    ui->progressBar->hide();
    ui->customNameEdit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[a-zA-Z0-9_-]*")), this));
    ui->customNameEdit->hide();
    setupMediaPlayer();

    connect(videoProcessor, &VideoProcessor::progressChanged, this, &MainWindow::updateProgress);
    connect(videoProcessor, &VideoProcessor::finished, this, &MainWindow::processingFinished);
    connect(videoProcessor, &VideoProcessor::error, this, &MainWindow::processingError);

    showQualityValue();
    connect(ui->menuButton, &QPushButton::clicked, this, &MainWindow::showPopupMenu);
    ui->stopCButton->setEnabled(false);
    loadLanguage();
    loadSettings();
    ui->bitDepthComboBox->setCurrentIndex(Rgb24);
    updateControlStates(false);
}

MainWindow::~MainWindow()
{
    saveSettings();
    releasePlayer();
    delete ui;
    // The engine, a child, is destroyed after this: it cancels a running job and
    // waits for its worker.
}

void MainWindow::retranslateForm()
{
    QComboBox *formats = ui->formatComboBox;
    QStringList entries;
    entries.reserve(formats->count());
    for (int i = 0; i < formats->count(); ++i)
        entries << formats->itemText(i);

    ui->retranslateUi(this);

    for (int i = 0; i < entries.size(); ++i)
        formats->setItemText(i, entries.at(i));
}

bool MainWindow::isInDragArea(const QPoint &windowPos) const
{
    for (const QWidget *area : {static_cast<const QWidget *>(ui->headerFrame),
                                static_cast<const QWidget *>(ui->frameMenu)}) {
        if (area->rect().contains(area->mapFrom(this, windowPos)))
            return true;
    }
    return false;
}

void MainWindow::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && !isFullScreen()
        && isInDragArea(event->position().toPoint())) {
        dragging = true;
        dragStartCursorPos = event->globalPosition().toPoint();
        dragStartWindowPos = frameGeometry().topLeft();
        event->accept();
        return;
    }
    QMainWindow::mousePressEvent(event);
}

void MainWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (dragging && (event->buttons() & Qt::LeftButton) && !isFullScreen()) {
        move(dragStartWindowPos + (event->globalPosition().toPoint() - dragStartCursorPos));
        event->accept();
        return;
    }
    QMainWindow::mouseMoveEvent(event);
}

void MainWindow::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && dragging) {
        dragging = false;
        event->accept();
        return;
    }
    QMainWindow::mouseReleaseEvent(event);
}

void MainWindow::on_closeButton_clicked()
{
    const auto answer = QMessageBox::question(this, tr("确认退出"), tr("确定要退出Oskivo吗？"),
                                              QMessageBox::Yes | QMessageBox::No);
    if (answer == QMessageBox::Yes)
        QCoreApplication::quit();
}

void MainWindow::on_minButton_clicked()
{
    showMinimized();
}

void MainWindow::on_homeButton_clicked()
{
    ui->stackedWidget->setCurrentIndex(0);
}

void MainWindow::on_configButton_clicked()
{
    ui->stackedWidget->setCurrentIndex(1);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    saveSettings();
    event->accept();
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    fitVideoItemIfValid();
}

// --- Conversion control ---

void MainWindow::on_selectOutputButton_clicked()
{
    const QString dir = QFileDialog::getExistingDirectory(this, tr("选择输出目录"), outputDirPath,
                                                          QFileDialog::ShowDirsOnly);
    if (!dir.isEmpty()) {
        outputDirPath = dir;
        ui->outputLineEdit->setText(dir);
    }
}

void MainWindow::on_startButton_clicked()
{
    if (videoFilePath.isEmpty()) {
        QMessageBox::warning(this, tr("警告"), tr("请先选择视频文件"));
        return;
    }
    if (outputDirPath.isEmpty()) {
        QMessageBox::warning(this, tr("警告"), tr("请先选择输出目录"));
        return;
    }
    QDir outputDir(outputDirPath);
    if (!outputDir.exists() && !outputDir.mkpath(QStringLiteral("."))) {
        QMessageBox::warning(this, tr("警告"), tr("无法创建输出目录"));
        return;
    }
    const int frameRate = ui->frameRateSpinBox->value();
    if (frameRate < 1 || frameRate > 60) {
        QMessageBox::warning(this, tr("警告"), tr("帧率必须在1-60之间"));
        return;
    }

    ui->progressBar->show();
    const int quality = ui->qualitySlider->value();
    const QString format = ui->formatComboBox->currentText();
    const int bitDepth = ui->bitDepthComboBox->currentIndex();
    jobRunning = true;
    updateControlStates(true);
    ui->progressBar->setValue(0);
    ui->stopCButton->setEnabled(true);
    videoProcessor->processVideo(videoFilePath, outputDirPath, frameRate, quality, format,
                                 bitDepth, namePattern);
}

void MainWindow::on_stopCButton_clicked()
{
    videoProcessor->cancel();
    jobRunning = false;
    updateControlStates(false);
    ui->statusLabel->setText(tr("转换已停止"));
    ui->progressBar->hide();
    ui->stopCButton->setEnabled(false);
}

void MainWindow::updateProgress(int frame, int totalFrames)
{
    if (totalFrames <= 0)
        return;
    // Not clamped: past 100 the bar ignores the value and keeps its last one.
    ui->progressBar->setValue(int(frame * 100.0 / totalFrames));
    ui->statusLabel->setText(tr("处理中: 第 %1/%2 帧").arg(frame).arg(totalFrames));
}

void MainWindow::processingFinished()
{
    jobRunning = false;
    updateControlStates(false);
    ui->progressBar->setValue(100);
    ui->stopCButton->setEnabled(false);
    QTimer::singleShot(2000, this, [this] {
        // A job started in the meantime keeps its bar.
        if (!jobRunning)
            ui->progressBar->hide();
    });
    QMessageBox::information(this, tr("完成"), tr("视频已成功转换为图片"));
}

void MainWindow::processingError(const QString &error)
{
    jobRunning = false;
    updateControlStates(false);
    ui->statusLabel->setText(tr("错误发生"));
    ui->stopCButton->setEnabled(false);
    ui->progressBar->hide();
    QMessageBox::critical(this, tr("错误"), tr("处理过程中发生错误: %1").arg(error));
}

// --- Preview player ---

void MainWindow::setupMediaPlayer()
{
    releasePlayer();

    videoScene = new QGraphicsScene(this);
    QGraphicsView *view = ui->videoView;
    view->setScene(videoScene);
    view->setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    view->setViewportUpdateMode(QGraphicsView::FullViewportUpdate);
    view->setAlignment(Qt::AlignCenter);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    videoItem = new QGraphicsVideoItem;
    videoItem->setFlags(QGraphicsItem::ItemIsSelectable | QGraphicsItem::ItemIsFocusable);
    videoScene->addItem(videoItem);

    mediaPlayer = new QMediaPlayer(this);
    mediaPlayer->setVideoOutput(videoItem);
    auto *audioOutput = new QAudioOutput(this);
    audioOutput->setVolume(0.0);
    mediaPlayer->setAudioOutput(audioOutput);
    mediaPlayer->setLoops(1);

    connect(mediaPlayer, &QMediaPlayer::positionChanged, this, &MainWindow::updatePosition);
    connect(mediaPlayer, &QMediaPlayer::durationChanged, this, &MainWindow::durationChanged);
    connect(mediaPlayer, &QMediaPlayer::mediaStatusChanged, this, &MainWindow::mediaStatusChanged);
    connect(mediaPlayer, &QMediaPlayer::playbackStateChanged, this,
            &MainWindow::playbackStateChanged);
    connect(mediaPlayer, &QMediaPlayer::errorOccurred, this, &MainWindow::handlePlayerError);
    connect(videoItem, &QGraphicsVideoItem::nativeSizeChanged, this,
            &MainWindow::fitVideoItemIfValid);

    updateControlStates(false);
    updatePlayPauseButton();
    qDebug() << "Media player setup complete";
}

void MainWindow::releasePlayer()
{
    if (mediaPlayer) {
        mediaPlayer->stop();
        disconnect(mediaPlayer, nullptr, this, nullptr);
        delete mediaPlayer;
        mediaPlayer = nullptr;
    }
    if (videoItem) {
        delete videoItem;
        videoItem = nullptr;
    }
    if (videoScene) {
        delete videoScene;
        videoScene = nullptr;
    }
    mediaLoaded = false;
}

void MainWindow::loadVideo(const QString &filePath)
{
    qDebug() << "Loading video file:" << filePath;
    if (filePath.isEmpty() || !QFileInfo::exists(filePath)) {
        qDebug() << "Video file does not exist or path is empty";
        return;
    }

    try {
        if (mediaPlayer) {
            mediaPlayer->stop();
            mediaLoaded = false;
            mediaPlayer->setSource(QUrl::fromLocalFile(filePath));
            connect(
                mediaPlayer, &QMediaPlayer::mediaStatusChanged, this,
                [this](QMediaPlayer::MediaStatus status) {
                    if (status == QMediaPlayer::LoadedMedia)
                        QTimer::singleShot(50, this, &MainWindow::fitVideoItemIfValid);
                },
                Qt::SingleShotConnection);
        }
    } catch (...) {
        QMessageBox::critical(this, tr("错误"), tr("无法加载视频文件"));
        ui->statusLabel->setText(tr("视频加载失败"));
    }
}

void MainWindow::on_selectVideoButton_clicked()
{
    const QString file = QFileDialog::getOpenFileName(
        this, tr("选择视频文件"), QStandardPaths::writableLocation(QStandardPaths::MoviesLocation),
        tr("视频文件 (*.mp4 *.avi *.mov *.mkv *.flv *.wmv *.mpeg *.mpg *.webm)"));
    if (file.isEmpty())
        return;
    videoFilePath = file;
    ui->videoLineEdit->setText(videoFilePath);
    loadVideo(videoFilePath);
}

void MainWindow::mediaStatusChanged(QMediaPlayer::MediaStatus status)
{
    qDebug() << "Media status changed:" << status;
    switch (status) {
    case QMediaPlayer::EndOfMedia:
        mediaPlayer->setPosition(0);
        updateControlStates(false);
        updatePlayPauseButton();
        break;
    case QMediaPlayer::InvalidMedia:
        ui->statusLabel->setText(tr("无效的视频文件"));
        mediaLoaded = false;
        updateControlStates(false);
        updatePlayPauseButton();
        break;
    case QMediaPlayer::LoadedMedia:
        onMediaLoaded();
        break;
    default:
        break;
    }
}

void MainWindow::onMediaLoaded()
{
    if (!mediaPlayer || mediaPlayer->mediaStatus() != QMediaPlayer::LoadedMedia || mediaLoaded)
        return;
    mediaLoaded = true;
    mediaPlayer->pause();
    mediaPlayer->setPosition(0);
    fitVideoItemIfValid();
    QTimer::singleShot(100, this, &MainWindow::fitVideoItemIfValid);
    updateControlStates(false);
    updatePlayPauseButton();
}

void MainWindow::on_playPauseButton_clicked()
{
    if (!mediaPlayer || !mediaLoaded)
        return;
    if (mediaPlayer->playbackState() == QMediaPlayer::PlayingState)
        mediaPlayer->pause();
    else
        mediaPlayer->play();
    updateControlStates(false);
    updatePlayPauseButton();
}

void MainWindow::on_stopButton_clicked()
{
    if (!mediaPlayer)
        return;
    mediaPlayer->stop();
    mediaPlayer->setPosition(0);
    updateControlStates(false);
    updatePlayPauseButton();
}

void MainWindow::playbackStateChanged(QMediaPlayer::PlaybackState)
{
    updateControlStates(false);
    updatePlayPauseButton();
}

void MainWindow::updatePosition(qint64 position)
{
    if (mediaPlayer && mediaPlayer->duration() > 0)
        ui->timeLabel->setText(formatClockTime(position));
}

void MainWindow::durationChanged(qint64 duration)
{
    if (mediaPlayer && duration > 0)
        ui->durationLabel->setText(formatClockTime(duration));
}

void MainWindow::handlePlayerError(QMediaPlayer::Error error, const QString &errorString)
{
    qDebug() << "Media player error:" << error << errorString;
    ui->statusLabel->setText(tr("播放错误: %1").arg(errorString));
}

void MainWindow::onVideoNativeSizeChanged(const QSizeF &size)
{
    qDebug() << "Video native size changed to:" << size;
    fitVideoItemIfValid();
}

void MainWindow::updatePlayPauseButton()
{
    if (!mediaPlayer || !mediaLoaded)
        return;
    ui->playPauseButton->setText(mediaPlayer->playbackState() == QMediaPlayer::PlayingState
                                     ? tr("暂停")
                                     : tr("播放"));
}

void MainWindow::updateControlStates(bool processing)
{
    const ControlStates states =
        controlStatesFor(processing || jobRunning, mediaPlayer != nullptr, mediaLoaded,
                         mediaPlayer ? mediaPlayer->position() : 0);
    for (QWidget *input : {static_cast<QWidget *>(ui->selectVideoButton),
                           static_cast<QWidget *>(ui->selectOutputButton),
                           static_cast<QWidget *>(ui->startButton),
                           static_cast<QWidget *>(ui->frameRateSpinBox),
                           static_cast<QWidget *>(ui->qualitySlider),
                           static_cast<QWidget *>(ui->formatComboBox),
                           static_cast<QWidget *>(ui->bitDepthComboBox),
                           static_cast<QWidget *>(ui->namingPatternComboBox),
                           static_cast<QWidget *>(ui->customNameEdit)})
        input->setEnabled(states.jobInputs);
    ui->playPauseButton->setEnabled(states.playPause);
    ui->stopButton->setEnabled(states.previewStop);
}

void MainWindow::fitVideoItemIfValid()
{
    if (videoItem && videoItem->nativeSize().isValid())
        fitVideoItem();
}

void MainWindow::fitVideoItem()
{
    const std::optional<QRect> rect = fitVideoRect(videoItem->nativeSize(), ui->videoView->size());
    if (!rect)
        return;
    videoItem->setSize(rect->size());
    videoItem->setPos(rect->topLeft());
    ui->videoView->update();
}

// --- Output options ---

void MainWindow::buildFormatList()
{
    ui->formatComboBox->clear();
    ui->formatComboBox->addItems(::buildFormatList(QImageWriter::supportedImageFormats()));
}

void MainWindow::showQualityValue()
{
    ui->qualityValueLabel->setText(QStringLiteral("%1%").arg(ui->qualitySlider->value()));
}

void MainWindow::on_qualitySlider_valueChanged(int)
{
    showQualityValue();
}

void MainWindow::on_bitDepthComboBox_currentIndexChanged(int index)
{
    QString description;
    switch (index) {
    case Gray8:
        description = tr("标准8位色彩深度，文件较小");
        break;
    case Rgb16:
        description = tr("16位色彩深度，更好的色彩表现");
        break;
    case Rgb24:
        description = tr("标准24位RGB（每通道8位），适合大多数用途");
        break;
    case Rgba32:
        description = tr("32位色彩深度，最高质量，文件较大");
        break;
    default:
        break;
    }
    ui->bitDepthLabel->setText(description);

    // Written at once, unlike the other options, which wait for the window to close.
    QSettings store(mainOrganization, applicationName);
    store.setValue(QStringLiteral("bitDepth"), index);
}

void MainWindow::on_namingPatternComboBox_currentIndexChanged(int index)
{
    ui->customNameEdit->setVisible(index == customNamingIndex);
    namePattern = namePatternForIndex(index, namePattern);
}

void MainWindow::on_customNameEdit_textChanged(const QString &text)
{
    namePattern = text.isEmpty() ? defaultNamePattern : text + QStringLiteral("_%1");
}

// --- Settings ---

void MainWindow::loadSettings()
{
    qDebug() << "Loading settings...";
    videoFilePath = settings->value(QStringLiteral("videoPath"), QString()).toString();
    outputDirPath = settings
                        ->value(QStringLiteral("outputPath"),
                                QStandardPaths::writableLocation(QStandardPaths::PicturesLocation)
                                    + QStringLiteral("/VideoFrames"))
                        .toString();
    ui->videoLineEdit->setText(videoFilePath);
    ui->outputLineEdit->setText(outputDirPath);
    ui->frameRateSpinBox->setValue(settings->value(QStringLiteral("frameRate"), 5).toInt());
    ui->qualitySlider->setValue(settings->value(QStringLiteral("quality"), 90).toInt());
    ui->formatComboBox->setCurrentIndex(settings->value(QStringLiteral("format"), 0).toInt());
    ui->bitDepthComboBox->setCurrentIndex(
        settings->value(QStringLiteral("bitDepth"), int(Rgb24)).toInt());
    ui->namingPatternComboBox->setCurrentIndex(
        settings->value(QStringLiteral("namingPattern"), 0).toInt());
    ui->subfolderCheckBox->setChecked(
        settings->value(QStringLiteral("createSubfolder"), true).toBool());

    namePattern =
        settings->value(QStringLiteral("customNamePattern"), defaultNamePattern).toString();
    // A hand-edited store must not send the images outside the output directory.
    if (!isSafeNamePattern(namePattern))
        namePattern = defaultNamePattern;
    if (ui->namingPatternComboBox->currentIndex() == customNamingIndex) {
        QString baseName = namePattern;
        baseName.remove(QStringLiteral("_%1"));
        ui->customNameEdit->setText(baseName);
    }

    if (!videoFilePath.isEmpty() && QFileInfo::exists(videoFilePath)) {
        qDebug() << "Loading saved video file:" << videoFilePath;
        loadVideo(videoFilePath);
        QTimer::singleShot(500, this, &MainWindow::fitVideoItemIfValid);
    } else {
        qDebug() << "No valid video file to load from settings";
    }
    qDebug() << "Settings loaded successfully";
}

void MainWindow::saveSettings()
{
    settings->setValue(QStringLiteral("videoPath"), videoFilePath);
    settings->setValue(QStringLiteral("outputPath"), outputDirPath);
    settings->setValue(QStringLiteral("frameRate"), ui->frameRateSpinBox->value());
    settings->setValue(QStringLiteral("quality"), ui->qualitySlider->value());
    settings->setValue(QStringLiteral("format"), ui->formatComboBox->currentIndex());
    settings->setValue(QStringLiteral("bitDepth"), ui->bitDepthComboBox->currentIndex());
    settings->setValue(QStringLiteral("namingPattern"), ui->namingPatternComboBox->currentIndex());
    settings->setValue(QStringLiteral("createSubfolder"), ui->subfolderCheckBox->isChecked());
    settings->setValue(QStringLiteral("customNamePattern"), namePattern);
    settings->setValue(QStringLiteral("geometry"), saveGeometry());
    settings->setValue(QStringLiteral("windowState"), saveState());
    qDebug() << "Settings saved";
}

void MainWindow::resetApplication()
{
    const auto answer = QMessageBox::question(
        this, tr("确认重置"), tr("确定要重置应用程序吗？\n这将清除所有设置和播放列表。"),
        QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;

    releasePlayer();
    {
        QSettings store(mainOrganization, applicationName);
        store.clear();
        store.sync();
        store.clear();
    }
    videoFilePath.clear();
    outputDirPath.clear();
    ui->videoLineEdit->clear();
    ui->outputLineEdit->clear();
    ui->statusLabel->clear();
    ui->progressBar->setValue(0);
    ui->progressBar->hide();
    ui->frameRateSpinBox->setValue(5);
    ui->qualitySlider->setValue(90);
    ui->qualityValueLabel->setText(QStringLiteral("90%"));
    ui->formatComboBox->setCurrentIndex(0);
    ui->bitDepthComboBox->setCurrentIndex(Rgb24);
    ui->namingPatternComboBox->setCurrentIndex(0);
    ui->subfolderCheckBox->setChecked(true);
    ui->customNameEdit->clear();
    ui->customNameEdit->hide();
    namePattern = defaultNamePattern;
    ui->timeLabel->setText(QStringLiteral("00:00:00"));
    ui->durationLabel->setText(QStringLiteral("00:00:00"));
    updateControlStates(false);
    updatePlayPauseButton();
    setupMediaPlayer();
    {
        QSettings store(languageOrganization, applicationName);
        store.remove(QStringLiteral("language"));
    }
    switchLanguage(defaultLanguage);
    QMessageBox::information(this, tr("重置完成"), tr("应用程序已重置为初始状态。"));
}

// --- Language ---

void MainWindow::loadLanguage()
{
    const QSettings store(languageOrganization, applicationName);
    switchLanguage(store.value(QStringLiteral("language"), defaultLanguage).toString());
}

void MainWindow::switchToChineseSimplified()
{
    switchLanguage(QStringLiteral("zh_CN"));
}

void MainWindow::switchToChineseTraditional()
{
    switchLanguage(QStringLiteral("zh_TW"));
}

void MainWindow::switchToEnglish()
{
    switchLanguage(QStringLiteral("en_US"));
}

void MainWindow::switchLanguage(const QString &code)
{
    if (code == currentLanguage)
        return;
    currentLanguage = code;
    {
        QSettings store(languageOrganization, applicationName);
        store.setValue(QStringLiteral("language"), code);
    }

    QCoreApplication::removeTranslator(&appTranslator);
    QCoreApplication::removeTranslator(&qtTranslator);
    // Qt's catalog goes in first so that ours takes precedence.
    if (qtTranslator.load(QStringLiteral("qt_") + code,
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTranslator);

    const QString catalog = QStringLiteral(":/translations/lang_%1.qm").arg(code);
    if (!QFile::exists(catalog)) {
        qWarning() << "Translation file not found:" << catalog;
        if (code != defaultLanguage) {
            switchLanguage(defaultLanguage);
            return;
        }
    } else if (appTranslator.load(catalog)) {
        QCoreApplication::installTranslator(&appTranslator);
    } else {
        qWarning() << "Failed to load translation file:" << catalog;
        if (code != defaultLanguage) {
            switchLanguage(defaultLanguage);
            return;
        }
    }

    retranslateForm();
    showQualityValue();
    updatePlayPauseButton();
    if (mediaPlayer) {
        updatePosition(mediaPlayer->position());
        durationChanged(mediaPlayer->duration());
    }
    retranslatePopupMenu();
    on_bitDepthComboBox_currentIndexChanged(ui->bitDepthComboBox->currentIndex());
}

// --- Popup menu and About ---

void MainWindow::showPopupMenu()
{
    if (!popupMenu) {
        popupMenu = new QMenu(this);
        popupMenu->setStyleSheet(QStringLiteral(
            "QMenu { background-color: white; border: 1px solid #ddd; }"
            "QMenu::item { padding: 5px 20px 5px 10px; }"
            "QMenu::item:selected { background-color: #e6f2ff; }"
            "QMenu::icon { left: 5px; }"));

        auto *languages = new QActionGroup(this);
        languages->setExclusive(true);
        const struct {
            QString text;
            QString code;
        } entries[] = {{tr("简体中文"), QStringLiteral("zh_CN")},
                       {tr("繁體中文"), QStringLiteral("zh_TW")},
                       {tr("English"), QStringLiteral("en_US")}};
        for (const auto &entry : entries) {
            auto *action = new QAction(entry.text, this);
            action->setCheckable(true);
            action->setChecked(currentLanguage == entry.code);
            languages->addAction(action);
            const QString code = entry.code;
            connect(action, &QAction::triggered, this, [this, code] { switchLanguage(code); });
            popupMenu->addAction(action);
        }
        popupMenu->addSeparator();

        auto *reset = new QAction(tr("一键重置"), this);
        connect(reset, &QAction::triggered, this, &MainWindow::resetApplication);
        popupMenu->addAction(reset);
        auto *aboutAction = new QAction(tr("关于我们"), this);
        connect(aboutAction, &QAction::triggered, this, &MainWindow::about);
        popupMenu->addAction(aboutAction);
    }
    popupMenu->exec(ui->menuButton->mapToGlobal(QPoint(0, ui->menuButton->height())));
}

void MainWindow::retranslatePopupMenu()
{
    if (!popupMenu)
        return;
    const QList<QAction *> actions = popupMenu->actions();
    if (actions.size() > 2) {
        actions.at(0)->setText(tr("简体中文"));
        actions.at(1)->setText(tr("繁體中文"));
        actions.at(2)->setText(tr("English"));
    }
    if (actions.size() >= 6) {
        actions.at(4)->setText(tr("一键重置"));
        actions.at(5)->setText(tr("关于我们"));
    }
}

void MainWindow::about()
{
    AboutDialog dialog(this);
    dialog.exec();
}

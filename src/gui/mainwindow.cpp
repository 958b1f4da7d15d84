#include "mainwindow.h"
#include "aboutdialog.h"
#include "extractionrules.h"
#include "framedragger.h"
#include "previewplayer.h"
#include "ui_mainwindow.h"
#include "videoprocessor.h"
#include "windowrules.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGraphicsDropShadowEffect>
#include <QImageWriter>
#include <QLibraryInfo>
#include <QMenu>
#include <QMessageBox>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTimer>

#include <optional>
#include <utility>

namespace {

using Key = Preferences::Key;
using BitDepth = ExtractionRules::BitDepth;
using Mode = FrameSelection::Mode;

constexpr int customNamingIndex = 3;

QString defaultNamePattern()
{
    return Preferences::defaultValue(Key::CustomNamePattern).toString();
}

// The selection list follows the order of FrameSelection::Mode.
Mode selectionModeForIndex(int index)
{
    return index > 0 && index <= int(Mode::SceneChanges) ? Mode(index) : Mode::FramesPerSecond;
}

OptionBinding bind(Key key, QSpinBox *box)
{
    const auto read = [box] {
        return QVariant(box->value());
    };
    const auto write = [box](const QVariant &value) {
        box->setValue(value.toInt());
    };
    return {key, read, write};
}

OptionBinding bind(Key key, QDoubleSpinBox *box)
{
    const auto read = [box] {
        return QVariant(box->value());
    };
    const auto write = [box](const QVariant &value) {
        box->setValue(value.toDouble());
    };
    return {key, read, write};
}

OptionBinding bind(Key key, QAbstractSlider *slider)
{
    const auto read = [slider] {
        return QVariant(slider->value());
    };
    const auto write = [slider](const QVariant &value) {
        slider->setValue(value.toInt());
    };
    return {key, read, write};
}

OptionBinding bind(Key key, QAbstractButton *button)
{
    const auto read = [button] {
        return QVariant(button->isChecked());
    };
    const auto write = [button](const QVariant &value) {
        button->setChecked(value.toBool());
    };
    return {key, read, write};
}

// By index. A stored index outside the list selects `fallback`, by default no
// entry at all.
OptionBinding bind(Key key, QComboBox *combo, int fallback = -1)
{
    const auto read = [combo] {
        return QVariant(combo->currentIndex());
    };
    const auto write = [combo, fallback](const QVariant &value) {
        const int index = value.toInt();
        combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : fallback);
    };
    return {key, read, write};
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::MainWindow)
    , videoProcessor(new VideoProcessor(this))
{
    ui->setupUi(this);

    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(960, 640);
    new FrameDragger(this, {ui->headerFrame, ui->frameMenu});

    // The shadow falls on the transparent margin the form leaves around the panel.
    auto *shadow = new QGraphicsDropShadowEffect(this);
    shadow->setBlurRadius(20.0);
    shadow->setColor(QColor(0, 0, 0, 80));
    shadow->setOffset(0, 0);
    shadow->setEnabled(true);
    ui->centralwidget->setGraphicsEffect(shadow);

    buildFormatList();
    bindOptions();
    ui->progressBar->hide();
    ui->customNameEdit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[a-zA-Z0-9_-]*")), this));
    ui->customNameEdit->hide();

    preview = new PreviewPlayer(ui->videoView, ui->timeLabel, ui->durationLabel, this);
    connect(preview, &PreviewPlayer::stateChanged, this, &MainWindow::showPreviewState);
    connect(preview, &PreviewPlayer::invalidMedia, this,
        [this] { ui->statusLabel->setText(tr("无效的视频文件")); });
    connect(preview, &PreviewPlayer::playerError, this, [this](const QString &errorString) {
        ui->statusLabel->setText(tr("播放错误: %1").arg(errorString));
    });
    connect(preview, &PreviewPlayer::loadFailed, this, [this] {
        QMessageBox::critical(this, tr("错误"), tr("无法加载视频文件"));
        ui->statusLabel->setText(tr("视频加载失败"));
    });
    preview->setup();

    connect(videoProcessor, &VideoProcessor::progressChanged, this, &MainWindow::updateProgress);
    connect(videoProcessor, &VideoProcessor::finished, this, &MainWindow::processingFinished);
    connect(videoProcessor, &VideoProcessor::error, this, &MainWindow::processingError);

    showQualityValue();
    connect(ui->menuButton, &QPushButton::clicked, this, &MainWindow::showPopupMenu);
    ui->stopCButton->setEnabled(false);
    loadLanguage();
    loadSettings();
    ui->bitDepthComboBox->setCurrentIndex(int(BitDepth::Rgb24));
    // The form's first entry is selected before the slots are connected.
    on_selectionModeComboBox_currentIndexChanged(ui->selectionModeComboBox->currentIndex());
    updateControlStates(false);
}

MainWindow::~MainWindow()
{
    saveSettings();
    // The player goes before the form whose view and labels it uses.
    delete preview;
    preview = nullptr;
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

void MainWindow::on_closeButton_clicked()
{
    quitQuestionOpen = true;
    const auto answer = QMessageBox::question(
        this, tr("确认退出"), tr("确定要退出Oskivo吗？"), QMessageBox::Yes | QMessageBox::No);
    quitQuestionOpen = false;
    const std::function<void()> report = std::exchange(pendingJobReport, nullptr);
    if (answer == QMessageBox::Yes)
        QCoreApplication::quit();
    else if (report)
        report();
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
    preview->fitVideoItemIfValid();
}

// --- Conversion control ---

void MainWindow::on_selectOutputButton_clicked()
{
    const QString dir = QFileDialog::getExistingDirectory(
        this, tr("选择输出目录"), outputDirPath, QFileDialog::ShowDirsOnly);
    if (!dir.isEmpty()) {
        outputDirPath = dir;
        ui->outputLineEdit->setText(dir);
    }
}

void MainWindow::on_outputLineEdit_editingFinished()
{
    outputDirPath = ui->outputLineEdit->text();
}

// With the sub-folder option, each video's images go into a folder named after
// the video, so that a second video into the same output folder overwrites nothing.
QString MainWindow::jobDirectory() const
{
    const QString baseName = QFileInfo(videoFilePath).completeBaseName();
    if (!ui->subfolderCheckBox->isChecked() || baseName.isEmpty())
        return outputDirPath;
    return QDir(outputDirPath).filePath(baseName);
}

// A job that ends while the quit question is open would put its box over the
// question, nested in the question's event loop, where the click or key meant
// for No closes it unread. It waits for the answer instead.
void MainWindow::showJobReport(std::function<void()> showBox)
{
    if (quitQuestionOpen)
        pendingJobReport = std::move(showBox);
    else
        showBox();
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
    FrameSelection selection;
    if (!readRange(selection))
        return;
    const QString targetPath = jobDirectory();
    jobFolder = OutputFolder();
    if (!QFileInfo(targetPath).isDir() && !jobFolder.create(targetPath)) {
        QMessageBox::warning(this, tr("警告"), tr("无法创建输出目录"));
        return;
    }
    const int frameRate = ui->frameRateSpinBox->value();
    if (frameRate < 1 || frameRate > 60) {
        QMessageBox::warning(this, tr("警告"), tr("帧率必须在1-60之间"));
        return;
    }

    selection.mode = selectionModeForIndex(ui->selectionModeComboBox->currentIndex());
    selection.frameRate = frameRate;
    selection.everySeconds = ui->everySecondsSpinBox->value();
    selection.sceneSensitivity = ui->sceneSensitivitySpinBox->value();
    ExtractionJob job;
    job.videoPath = videoFilePath;
    job.outputPath = targetPath;
    job.format = ui->formatComboBox->currentText();
    job.quality = ui->qualitySlider->value();
    job.bitDepth = ExtractionRules::bitDepthFromIndex(ui->bitDepthComboBox->currentIndex());
    job.namingPattern = namePattern;
    job.timeInNames = ui->timeInNamesCheckBox->isChecked();
    job.selection = selection;

    ui->progressBar->show();
    jobRunning = true;
    updateControlStates(true);
    ui->progressBar->setRange(0, 100);
    ui->progressBar->setValue(0);
    ui->stopCButton->setEnabled(true);
    videoProcessor->processVideo(job);
}

bool MainWindow::readRange(FrameSelection &selection)
{
    const QString startText = ui->startTimeEdit->text().trimmed();
    const QString endText = ui->endTimeEdit->text().trimmed();
    const std::optional<qint64> start = startText.isEmpty() ? 0 : parseTimeField(startText);
    if (!start) {
        QMessageBox::warning(
            this, tr("警告"), tr("无法识别起始时间，请按“时:分:秒”填写，例如 0:01:20.000"));
        return false;
    }
    std::optional<qint64> end;
    if (!endText.isEmpty()) {
        end = parseTimeField(endText);
        if (!end) {
            QMessageBox::warning(
                this, tr("警告"), tr("无法识别结束时间，请按“时:分:秒”填写，例如 0:01:20.000"));
            return false;
        }
        if (*start >= *end) {
            QMessageBox::warning(this, tr("警告"), tr("起始时间必须早于结束时间"));
            return false;
        }
    }
    selection.startSeconds = *start / 1000.0;
    selection.endSeconds = end ? *end / 1000.0 : -1;
    return true;
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
    if (totalFrames <= 0) {
        // Nothing to measure against: the bar only shows that the job goes on.
        ui->progressBar->setRange(0, 0);
        ui->statusLabel->setText(tr("处理中: 第 %1 帧").arg(frame));
        return;
    }
    ui->progressBar->setRange(0, 100);
    // Not clamped: past 100 the bar ignores the value and keeps its last one.
    ui->progressBar->setValue(int(frame * 100.0 / totalFrames));
    ui->statusLabel->setText(tr("处理中: 第 %1/%2 帧").arg(frame).arg(totalFrames));
}

void MainWindow::processingFinished()
{
    jobRunning = false;
    updateControlStates(false);
    ui->progressBar->setRange(0, 100);
    ui->progressBar->setValue(100);
    ui->stopCButton->setEnabled(false);
    QTimer::singleShot(2000, this, [this] {
        // A job started in the meantime keeps its bar.
        if (!jobRunning)
            ui->progressBar->hide();
    });
    showJobReport(
        [this] { QMessageBox::information(this, tr("完成"), tr("视频已成功转换为图片")); });
}

void MainWindow::processingError(const QString &error)
{
    jobFolder.removeIfEmpty();
    jobRunning = false;
    updateControlStates(false);
    ui->statusLabel->setText(tr("错误发生"));
    ui->stopCButton->setEnabled(false);
    ui->progressBar->hide();
    showJobReport([this, error] {
        QMessageBox::critical(this, tr("错误"), tr("处理过程中发生错误: %1").arg(error));
    });
}

// --- Preview ---

// A range belongs to the video it was chosen on.
void MainWindow::loadVideo(const QString &filePath)
{
    showWholeVideo();
    preview->load(filePath);
}

void MainWindow::showWholeVideo()
{
    ui->startTimeEdit->setText(formatTimeField(0));
    ui->endTimeEdit->clear();
}

void MainWindow::on_markStartButton_clicked()
{
    ui->startTimeEdit->setText(formatTimeField(preview->position()));
}

void MainWindow::on_markEndButton_clicked()
{
    ui->endTimeEdit->setText(formatTimeField(preview->position()));
}

void MainWindow::on_selectVideoButton_clicked()
{
    const QString file = QFileDialog::getOpenFileName(this, tr("选择视频文件"),
        QStandardPaths::writableLocation(QStandardPaths::MoviesLocation),
        tr("视频文件 (*.mp4 *.avi *.mov *.mkv *.flv *.wmv *.mpeg *.mpg *.webm)")
            + QStringLiteral(";;") + tr("所有文件 (*)"));
    if (file.isEmpty())
        return;
    videoFilePath = file;
    ui->videoLineEdit->setText(videoFilePath);
    loadVideo(videoFilePath);
}

void MainWindow::openVideos(const QStringList &paths)
{
    if (paths.isEmpty())
        return;
    videoFilePath = paths.first();
    ui->videoLineEdit->setText(videoFilePath);
    loadVideo(videoFilePath);
}

void MainWindow::on_videoLineEdit_editingFinished()
{
    const QString typed = ui->videoLineEdit->text();
    if (typed == videoFilePath)
        return;
    videoFilePath = typed;
    loadVideo(videoFilePath);
}

void MainWindow::on_playPauseButton_clicked()
{
    preview->togglePlayPause();
}

void MainWindow::on_stopButton_clicked()
{
    preview->stop();
}

void MainWindow::showPreviewState()
{
    updateControlStates(false);
    updatePlayPauseButton();
}

void MainWindow::updatePlayPauseButton()
{
    if (!preview->hasPlayer() || !preview->isLoaded())
        return;
    ui->playPauseButton->setText(preview->isPlaying() ? tr("暂停") : tr("播放"));
}

void MainWindow::updateControlStates(bool processing)
{
    const ControlStates states = controlStatesFor(
        processing || jobRunning, preview->hasPlayer(), preview->isLoaded(), preview->position());
    const QList<QWidget *> inputs {ui->selectVideoButton, ui->selectOutputButton, ui->startButton,
        ui->frameRateSpinBox, ui->qualitySlider, ui->formatComboBox, ui->bitDepthComboBox,
        ui->namingPatternComboBox, ui->customNameEdit, ui->selectionModeComboBox,
        ui->everySecondsSpinBox, ui->sceneSensitivitySpinBox, ui->startTimeEdit, ui->endTimeEdit,
        ui->timeInNamesCheckBox};
    for (QWidget *input : inputs)
        input->setEnabled(states.jobInputs);
    for (QWidget *button : {ui->playPauseButton, ui->markStartButton, ui->markEndButton})
        button->setEnabled(states.playPause);
    ui->stopButton->setEnabled(states.previewStop);
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
    switch (BitDepth(index)) {
    case BitDepth::Gray8:
        description = tr("标准8位色彩深度，文件较小");
        break;
    case BitDepth::Rgb16:
        description = tr("16位色彩深度，更好的色彩表现");
        break;
    case BitDepth::Rgb24:
        description = tr("标准24位RGB（每通道8位），适合大多数用途");
        break;
    case BitDepth::Rgba32:
        description = tr("32位色彩深度，最高质量，文件较大");
        break;
    default:
        break;
    }
    ui->bitDepthLabel->setText(description);

    // Written at once, unlike the other options, which wait for the window to close.
    Preferences::storeNow(Key::BitDepth, index);
}

void MainWindow::on_namingPatternComboBox_currentIndexChanged(int index)
{
    ui->customNameEdit->setVisible(index == customNamingIndex);
    namePattern = namePatternForIndex(index, namePattern);
}

void MainWindow::on_customNameEdit_textChanged(const QString &text)
{
    namePattern = text.isEmpty() ? defaultNamePattern() : text + QStringLiteral("_%1");
}

// Only the setting the chosen selection uses is shown; keyframes need none.
void MainWindow::on_selectionModeComboBox_currentIndexChanged(int index)
{
    const Mode mode = selectionModeForIndex(index);
    ui->label_2->setVisible(mode == Mode::FramesPerSecond);
    ui->frameRateSpinBox->setVisible(mode == Mode::FramesPerSecond);
    ui->everySecondsLabel->setVisible(mode == Mode::EverySeconds);
    ui->everySecondsSpinBox->setVisible(mode == Mode::EverySeconds);
    ui->sceneSensitivityLabel->setVisible(mode == Mode::SceneChanges);
    ui->sceneSensitivitySpinBox->setVisible(mode == Mode::SceneChanges);
}

// --- Settings ---

void MainWindow::bindOptions()
{
    optionBindings = {
        bind(Key::FrameRate, ui->frameRateSpinBox),
        bind(Key::Quality, ui->qualitySlider),
        bind(Key::Format, ui->formatComboBox),
        bind(Key::BitDepth, ui->bitDepthComboBox),
        bind(Key::NamingPattern, ui->namingPatternComboBox),
        bind(Key::CreateSubfolder, ui->subfolderCheckBox),
        // A selection is always one of the list: the window has no job without one.
        bind(Key::SelectionMode, ui->selectionModeComboBox, 0),
        bind(Key::EverySeconds, ui->everySecondsSpinBox),
        bind(Key::SceneSensitivity, ui->sceneSensitivitySpinBox),
        bind(Key::TimeInNames, ui->timeInNamesCheckBox),
    };
}

void MainWindow::loadSettings()
{
    qDebug() << "Loading settings...";
    videoFilePath = settings.value(Key::VideoPath).toString();
    outputDirPath = settings.value(Key::OutputPath).toString();
    ui->videoLineEdit->setText(videoFilePath);
    ui->outputLineEdit->setText(outputDirPath);
    for (const OptionBinding &option : optionBindings)
        option.write(settings.value(option.key));

    namePattern = settings.value(Key::CustomNamePattern).toString();
    // A hand-edited store must not send the images outside the output directory.
    if (!ExtractionRules::isSafeNamingPattern(namePattern))
        namePattern = defaultNamePattern();
    if (ui->namingPatternComboBox->currentIndex() == customNamingIndex) {
        QString baseName = namePattern;
        baseName.remove(QStringLiteral("_%1"));
        ui->customNameEdit->setText(baseName);
    }

    if (!videoFilePath.isEmpty() && QFileInfo::exists(videoFilePath)) {
        qDebug() << "Loading saved video file:" << videoFilePath;
        loadVideo(videoFilePath);
        QTimer::singleShot(500, preview, &PreviewPlayer::fitVideoItemIfValid);
    } else {
        qDebug() << "No valid video file to load from settings";
    }
    qDebug() << "Settings loaded successfully";
}

void MainWindow::saveSettings()
{
    for (const Key key : Preferences::keys())
        settings.setValue(key, savedValue(key));
    qDebug() << "Settings saved";
}

QVariant MainWindow::savedValue(Key key) const
{
    for (const OptionBinding &option : optionBindings) {
        if (option.key == key)
            return option.read();
    }
    switch (key) {
    case Key::VideoPath:
        return videoFilePath;
    case Key::OutputPath:
        return outputDirPath;
    case Key::CustomNamePattern:
        return namePattern;
    case Key::Geometry:
        return saveGeometry();
    case Key::WindowState:
        return saveState();
    default:
        // Every other key is an option control's.
        return QVariant();
    }
}

void MainWindow::resetApplication()
{
    const auto answer = QMessageBox::question(this, tr("确认重置"),
        tr("确定要重置应用程序吗？\n这将清除所有设置和播放列表。"),
        QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;

    preview->release();
    Preferences::clearMain();
    videoFilePath.clear();
    outputDirPath.clear();
    ui->videoLineEdit->clear();
    ui->outputLineEdit->clear();
    ui->statusLabel->clear();
    ui->progressBar->setValue(0);
    ui->progressBar->hide();
    for (const OptionBinding &option : optionBindings)
        option.write(Preferences::defaultValue(option.key));
    showQualityValue();
    showWholeVideo();
    ui->customNameEdit->clear();
    ui->customNameEdit->hide();
    namePattern = defaultNamePattern();
    ui->timeLabel->setText(formatClockTime(0));
    ui->durationLabel->setText(formatClockTime(0));
    showPreviewState();
    preview->setup();
    Preferences::removeLanguage();
    switchLanguage(Preferences::defaultLanguage);
    QMessageBox::information(this, tr("重置完成"), tr("应用程序已重置为初始状态。"));
}

// --- Language ---

void MainWindow::loadLanguage()
{
    const QString code = Preferences::language();
    // The switch skips the language in force, yet at start no catalog is installed,
    // Qt's own included.
    if (code == currentLanguage)
        applyLanguage(code);
    else
        switchLanguage(code);
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
    Preferences::setLanguage(code);
    applyLanguage(code);
}

void MainWindow::applyLanguage(const QString &code)
{
    const QString &fallback = Preferences::defaultLanguage;
    QCoreApplication::removeTranslator(&appTranslator);
    QCoreApplication::removeTranslator(&qtTranslator);
    // Qt's catalog goes in first so that ours takes precedence.
    if (qtTranslator.load(
            QStringLiteral("qt_") + code, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTranslator);

    const QString catalog = QStringLiteral(":/translations/lang_%1.qm").arg(code);
    if (!QFile::exists(catalog)) {
        qWarning() << "Translation file not found:" << catalog;
        if (code != fallback) {
            switchLanguage(fallback);
            return;
        }
    } else if (appTranslator.load(catalog)) {
        QCoreApplication::installTranslator(&appTranslator);
    } else {
        qWarning() << "Failed to load translation file:" << catalog;
        if (code != fallback) {
            switchLanguage(fallback);
            return;
        }
    }

    retranslateForm();
    showQualityValue();
    updatePlayPauseButton();
    preview->showTimes();
    retranslatePopupMenu();
    on_bitDepthComboBox_currentIndexChanged(ui->bitDepthComboBox->currentIndex());
}

// --- Popup menu and About ---

void MainWindow::showPopupMenu()
{
    if (!popupMenu) {
        popupMenu = new QMenu(this);
        popupMenu->setStyleSheet(
            QStringLiteral("QMenu { background-color: white; border: 1px solid #ddd; }"
                           "QMenu::item { padding: 5px 20px 5px 10px; }"
                           "QMenu::item:selected { background-color: #e6f2ff; }"
                           "QMenu::icon { left: 5px; }"));

        auto *languages = new QActionGroup(this);
        languages->setExclusive(true);
        const struct
        {
            QString text;
            QString code;
        } entries[] = {{tr("简体中文"), QStringLiteral("zh_CN")},
            {tr("繁體中文"), QStringLiteral("zh_TW")}, {tr("English"), QStringLiteral("en_US")}};
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

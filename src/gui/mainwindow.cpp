#include "mainwindow.h"
#include "aboutdialog.h"
#include "conversionrun.h"
#include "framedragger.h"
#include "framesaver.h"
#include "imagenaming.h"
#include "optionspage.h"
#include "pixellayout.h"
#include "previewplayer.h"
#include "ui_mainwindow.h"
#include "videodrop.h"
#include "windowrules.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGraphicsDropShadowEffect>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
#include <QStandardPaths>
#include <QTimer>

#include <optional>
#include <utility>

namespace {

using Key = Preferences::Key;

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::MainWindow)
    , conversion(new ConversionRun(this))
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

    options = new OptionsPage(ui, this);
    ui->progressBar->hide();

    preview = new PreviewPlayer(
        ui->videoView, ui->positionSlider, ui->timeLabel, ui->durationLabel, this);
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
    // Text fields keep the arrow keys for their cursor; elsewhere on the
    // home page they move the preview.
    QList<QShortcut *> stepKeys;
    for (const PlayerStepKey &key : playerStepKeys()) {
        auto *shortcut = new QShortcut(key.keys, this);
        const PlayerStep step = key.step;
        connect(shortcut, &QShortcut::activated, preview, [this, step] {
            // The keys go with the player's buttons, locked during a job.
            if (ui->playPauseButton->isEnabled())
                preview->step(step.direction, step.wholeSecond);
        });
        stepKeys << shortcut;
    }
    connect(ui->stackedWidget, &QStackedWidget::currentChanged, this, [stepKeys](int page) {
        for (QShortcut *shortcut : stepKeys)
            shortcut->setEnabled(page == 0);
    });

    connect(conversion, &ConversionRun::progressChanged, this, &MainWindow::showProgress);
    connect(conversion, &ConversionRun::ended, this, &MainWindow::conversionEnded);

    auto *drop = new VideoDropFilter(this, [this] { return !jobRunning; });
    connect(drop, &VideoDropFilter::videosDropped, this, &MainWindow::chooseVideos);

    menu = new AppMenu(this);
    connect(menu, &AppMenu::languageChosen, this, &MainWindow::switchLanguage);
    connect(menu, &AppMenu::resetChosen, this, &MainWindow::resetApplication);
    connect(menu, &AppMenu::aboutChosen, this, &MainWindow::about);
    connect(ui->menuButton, &QPushButton::clicked, this, [this] { menu->exec(ui->menuButton); });

    ui->stopCButton->setEnabled(false);
    // The switch skips the language in force, yet at start no catalog is
    // installed, Qt's own included. A language taken from the system is not
    // stored: it follows the system until the user chooses one.
    const QString language = Preferences::language();
    if (language == currentLanguage || !Preferences::hasStoredLanguage()) {
        currentLanguage = language;
        applyLanguage(language);
    } else {
        switchLanguage(language);
    }
    loadSettings();
    // Every start ends with the default depth chosen, whatever was stored.
    ui->bitDepthComboBox->setCurrentIndex(Preferences::defaultValue(Key::BitDepth).toInt());
    updateControlStates();
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
    // The form's text is the chosen videos', not the one it was made with.
    ui->videoLineEdit->setText(videoFieldText(videoPaths));
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

// Space reaches the window where no control took it, as a button does: then
// it plays or pauses the preview.
void MainWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier
        && ui->stackedWidget->currentIndex() == 0 && ui->playPauseButton->isEnabled()) {
        preview->togglePlayPause();
        return;
    }
    QMainWindow::keyPressEvent(event);
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

// With the sub-folder option, or with several videos, each video's images go
// into a folder named after it, so that the next video overwrites nothing.
QList<ExtractionJob> MainWindow::plannedJobs(const ExtractionJob &job) const
{
    ExtractionJob settings = job;
    settings.outputPath = outputDirPath;
    return BatchQueue::jobsForVideos(videoPaths, settings, options->subfolders());
}

// Asked once for the whole batch; "Yes" lets every job remove the earlier
// images of its naming first, so that each folder holds one run.
bool MainWindow::confirmOverwrite(QList<ExtractionJob> &jobs)
{
    int count = 0;
    QString example;
    for (const ExtractionJob &job : std::as_const(jobs)) {
        const QStringList existing = ImageNaming::existingImages(job);
        if (example.isEmpty() && !existing.isEmpty())
            example = QDir(job.outputPath).filePath(existing.first());
        count += int(existing.size());
    }
    if (count == 0)
        return true;
    QMessageBox box(QMessageBox::Question, tr("确认覆盖"),
        tr("输出文件夹中已有 %1 张同名图片，例如 %2。\n覆盖时会先删除这些图片。要覆盖吗？")
            .arg(count)
            .arg(QDir::toNativeSeparators(example)),
        QMessageBox::Yes | QMessageBox::Cancel, this);
    box.button(QMessageBox::Yes)->setText(tr("覆盖"));
    box.setDefaultButton(QMessageBox::Cancel);
    if (box.exec() != QMessageBox::Yes)
        return false;
    for (ExtractionJob &job : jobs)
        job.overwrite = true;
    return true;
}

// The engine would refuse them too, in the command line's words.
bool MainWindow::acceptedOptions(const ExtractionJob &job)
{
    const std::optional<OptionProblem> problem = job.validate();
    if (problem)
        QMessageBox::warning(this, tr("警告"), problem->message(OptionProblem::Naming::Label));
    return !problem;
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
    if (videoPaths.isEmpty()) {
        QMessageBox::warning(this, tr("警告"), tr("请先选择视频文件"));
        return;
    }
    if (outputDirPath.isEmpty()) {
        QMessageBox::warning(this, tr("警告"), tr("请先选择输出目录"));
        return;
    }
    ExtractionJob job = options->jobOptions();
    if (!options->readRange(this, job.selection) || !acceptedOptions(job))
        return;
    jobFolder = OutputFolder();
    if (!QFileInfo(outputDirPath).isDir() && !jobFolder.create(outputDirPath)) {
        QMessageBox::warning(this, tr("警告"), tr("无法创建输出目录"));
        return;
    }
    QList<ExtractionJob> jobs = plannedJobs(job);
    if (!confirmOverwrite(jobs))
        return;

    ui->progressBar->show();
    jobRunning = true;
    updateControlStates();
    ui->progressBar->setRange(0, 100);
    ui->progressBar->setValue(0);
    ui->stopCButton->setEnabled(true);
    conversion->start(jobs, outputDirPath);
}

void MainWindow::on_stopCButton_clicked()
{
    conversion->stop();
    jobRunning = false;
    updateControlStates();
    ui->statusLabel->setText(tr("转换已停止"));
    ui->progressBar->hide();
    ui->stopCButton->setEnabled(false);
}

void MainWindow::showProgress(int percent, const QString &status)
{
    if (percent < 0) {
        // Nothing to measure against: the bar only shows that the job goes on.
        ui->progressBar->setRange(0, 0);
    } else {
        ui->progressBar->setRange(0, 100);
        ui->progressBar->setValue(percent);
    }
    ui->statusLabel->setText(status);
}

void MainWindow::conversionEnded()
{
    jobFolder.removeIfEmpty();
    const QList<BatchResult> &results = conversion->results();
    const bool failed
        = conversion->videoCount() == 1 && !results.isEmpty() && !results.first().error.isEmpty();
    jobRunning = false;
    updateControlStates();
    ui->stopCButton->setEnabled(false);
    // The box tells how it ended; the progress it showed is over.
    ui->statusLabel->clear();
    if (failed) {
        ui->progressBar->hide();
    } else {
        ui->progressBar->setRange(0, 100);
        ui->progressBar->setValue(100);
        QTimer::singleShot(2000, this, [this] {
            // A job started in the meantime keeps its bar.
            if (!jobRunning)
                ui->progressBar->hide();
        });
    }
    showJobReport([this] { conversion->showReport(this); });
}

// --- Preview ---

void MainWindow::chooseVideos(const QStringList &paths)
{
    videoPaths = paths;
    ui->videoLineEdit->setText(videoFieldText(paths));
    // A range belongs to the video it was chosen on.
    options->showWholeVideo();
    preview->load(paths.value(0));
}

// A range from the frame shown takes that frame first; one up to it ends
// just before it.
void MainWindow::on_markStartButton_clicked()
{
    ui->startTimeEdit->setText(formatTimeField(preview->frameShownMs()));
}

void MainWindow::on_markEndButton_clicked()
{
    ui->endTimeEdit->setText(formatTimeField(preview->frameShownMs()));
}

void MainWindow::on_selectVideoButton_clicked()
{
    // A folder that does not exist would land in the dialog's name field.
    const QString movies = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
    const QString folder = QFileInfo(movies).isDir() ? movies : QDir::homePath();
    QStringList patterns;
    for (const QString &suffix : videoFileSuffixes())
        patterns << QStringLiteral("*.") + suffix;
    const QStringList files = QFileDialog::getOpenFileNames(this, tr("选择视频文件"), folder,
        tr("视频文件 (%1)").arg(patterns.join(QLatin1Char(' '))) + QStringLiteral(";;")
            + tr("所有文件 (*)"));
    if (!files.isEmpty())
        chooseVideos(files);
}

void MainWindow::on_videoLineEdit_editingFinished()
{
    const QString typed = ui->videoLineEdit->text();
    if (typed == videoFieldText(videoPaths))
        return;
    chooseVideos(typed.isEmpty() ? QStringList() : QStringList {typed});
}

void MainWindow::on_playPauseButton_clicked()
{
    preview->togglePlayPause();
}

void MainWindow::on_stopButton_clicked()
{
    preview->stop();
}

void MainWindow::on_saveFrameButton_clicked()
{
    if (outputDirPath.isEmpty()) {
        QMessageBox::warning(this, tr("警告"), tr("请先选择输出目录"));
        return;
    }
    const QList<ExtractionJob> jobs = plannedJobs(options->jobOptions());
    if (jobs.isEmpty() || !acceptedOptions(jobs.first()))
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    // The frame's own time, so that the frame written is the one shown where
    // the position falls inside the millisecond a frame starts.
    const SavedFrame saved = saveFrame(jobs.first(), preview->frameShownMs());
    QGuiApplication::restoreOverrideCursor();
    if (saved.error.isEmpty())
        ui->statusLabel->setText(tr("已保存: %1").arg(QFileInfo(saved.filePath).fileName()));
    else
        QMessageBox::critical(this, tr("错误"), saved.error);
}

void MainWindow::showPreviewState()
{
    updateControlStates();
    updatePlayPauseButton();
}

void MainWindow::updatePlayPauseButton()
{
    // The button shows what a click does.
    const bool playing = preview->isPlaying();
    const QString action = playing ? tr("暂停") : tr("播放");
    ui->playPauseButton->setIcon(
        QIcon(playing ? QStringLiteral(":/image/pause.svg") : QStringLiteral(":/image/play.svg")));
    ui->playPauseButton->setToolTip(action);
    ui->playPauseButton->setAccessibleName(action);
}

void MainWindow::updateControlStates()
{
    const ControlStates states = controlStatesFor(
        jobRunning, preview->hasPlayer(), preview->isLoaded(), preview->position());
    for (QWidget *input : {ui->selectVideoButton, ui->selectOutputButton, ui->startButton})
        input->setEnabled(states.jobInputs);
    options->setInputsEnabled(states.jobInputs);
    const QList<QWidget *> previewControls {ui->playPauseButton, ui->markStartButton,
        ui->markEndButton, ui->saveFrameButton, ui->positionSlider};
    for (QWidget *control : previewControls)
        control->setEnabled(states.playPause);
    ui->stopButton->setEnabled(states.previewStop);
}

// --- Settings ---

void MainWindow::loadSettings()
{
    qDebug() << "Loading settings...";
    const QString videoPath = settings.value(Key::VideoPath).toString();
    outputDirPath = settings.value(Key::OutputPath).toString();
    ui->outputLineEdit->setText(outputDirPath);
    options->load(settings);

    // A path that is gone stays in the field, for the user to see and mend.
    chooseVideos(videoPath.isEmpty() ? QStringList() : QStringList {videoPath});
    if (QFileInfo::exists(videoPath))
        QTimer::singleShot(500, preview, &PreviewPlayer::fitVideoItemIfValid);
    else
        qDebug() << "No valid video file to load from settings";
    qDebug() << "Settings loaded successfully";
}

void MainWindow::saveSettings()
{
    for (const Key key : Preferences::keys())
        settings.setValue(key, savedValue(key));
    options->saveAddedOptions(settings);
    qDebug() << "Settings saved";
}

QVariant MainWindow::savedValue(Key key) const
{
    if (const std::optional<QVariant> option = options->savedValue(key))
        return *option;
    switch (key) {
    case Key::VideoPath:
        return videoPaths.value(0);
    case Key::OutputPath:
        return outputDirPath;
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
    videoPaths.clear();
    outputDirPath.clear();
    ui->videoLineEdit->clear();
    ui->outputLineEdit->clear();
    ui->statusLabel->clear();
    ui->progressBar->setValue(0);
    ui->progressBar->hide();
    options->reset();
    ui->timeLabel->setText(formatClockTime(0));
    ui->durationLabel->setText(formatClockTime(0));
    showPreviewState();
    preview->setup();
    Preferences::removeLanguage();
    switchLanguage(Preferences::defaultLanguage);
    QMessageBox::information(this, tr("重置完成"), tr("应用程序已重置为初始状态。"));
}

// --- Language ---

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
    menu->showLanguage(code);
    if (!catalogs.install(code) && code != Preferences::defaultLanguage) {
        switchLanguage(Preferences::defaultLanguage);
        return;
    }
    retranslateForm();
    options->retranslate();
    updatePlayPauseButton();
    preview->showTimes();
    menu->retranslate();
}

void MainWindow::about()
{
    AboutDialog dialog(this);
    dialog.exec();
}

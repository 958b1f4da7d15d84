#include "optionspage.h"
#include "depthnote.h"
#include "imagenaming.h"
#include "pixellayout.h"
#include "ui_mainwindow.h"

#include "windowrules.h"
#include <QSignalBlocker>

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpressionValidator>
#include <QSpinBox>

namespace {

using Key = Preferences::Key;
using BitDepth = Picture::BitDepth;
using Mode = FrameSelection::Mode;

constexpr int customNamingIndex = 3;

// The page's texts are the window's.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(MainWindow)
};

QString defaultNamePattern()
{
    return Preferences::defaultValue(Key::CustomNamePattern).toString();
}

// The form's controls of the table's options take their range from it; the
// default comes through Preferences, whose defaults are the table's.
void takeRange(QSpinBox *box, JobOption::Id id)
{
    const JobOption &row = JobOption::row(id);
    box->setRange(int(row.minimum), int(row.maximum));
}

void takeRange(QDoubleSpinBox *box, JobOption::Id id)
{
    const JobOption &row = JobOption::row(id);
    box->setRange(row.minimum, row.maximum);
}

void takeRange(QSlider *slider, JobOption::Id id)
{
    const JobOption &row = JobOption::row(id);
    slider->setRange(int(row.minimum), int(row.maximum));
}

// The selection list follows the order of FrameSelection::Mode.
Mode selectionModeForIndex(int index)
{
    return index > 0 && index <= int(Mode::Count) ? Mode(index) : Mode::FramesPerSecond;
}

QString countModeText()
{
    return Texts::tr("按数量");
}

bool hasParts(Mode mode)
{
    return mode == Mode::EverySeconds || mode == Mode::Count;
}

} // namespace

OptionsPage::OptionsPage(Ui::MainWindow *ui, QObject *parent)
    : QObject(parent)
    , ui(ui)
    , namePattern(defaultNamePattern())
{
    ui->formatComboBox->clear();
    ui->formatComboBox->addItems(
        ImageFormats::buildFormatList(QImageWriter::supportedImageFormats()));
    ui->customNameEdit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[a-zA-Z0-9_-]*")), this));
    ui->customNameEdit->hide();
    takeRange(ui->frameRateSpinBox, JobOption::Id::Rate);
    takeRange(ui->qualitySlider, JobOption::Id::Quality);
    takeRange(ui->everySecondsSpinBox, JobOption::Id::Every);
    takeRange(ui->sceneSensitivitySpinBox, JobOption::Id::Scenes);
    // The form lists the older modes; the list follows the modes' order, so
    // that a stored index keeps its meaning.
    ui->selectionModeComboBox->addItem(countModeText());

    bindings = {
        bindOption(Key::FrameRate, ui->frameRateSpinBox),
        bindOption(Key::Quality, ui->qualitySlider),
        bindOption(Key::Format, ui->formatComboBox),
        bindOption(Key::BitDepth, ui->bitDepthComboBox),
        bindOption(Key::NamingPattern, ui->namingPatternComboBox),
        bindOption(Key::CreateSubfolder, ui->subfolderCheckBox),
        // A selection is always one of the list: the window has no job without one.
        bindOption(Key::SelectionMode, ui->selectionModeComboBox, 0),
        bindOption(Key::EverySeconds, ui->everySecondsSpinBox),
        bindOption(Key::SceneSensitivity, ui->sceneSensitivitySpinBox),
        bindOption(Key::TimeInNames, ui->timeInNamesCheckBox),
    };
    // Before the handlers are connected: the form holds no values of its own.
    for (const OptionBinding &option : bindings)
        option.write(Preferences::defaultValue(option.key));

    connect(ui->qualitySlider, &QSlider::valueChanged, this, &OptionsPage::showQualityValue);
    connect(ui->bitDepthComboBox, &QComboBox::currentIndexChanged, this, [this](int index) {
        showBitDepth(index);
        // Written at once, unlike the other options, which wait for the window to close.
        Preferences::storeNow(Key::BitDepth, index);
    });
    connect(ui->namingPatternComboBox, &QComboBox::currentIndexChanged, this,
        &OptionsPage::chooseNaming);
    connect(ui->customNameEdit, &QLineEdit::textChanged, this, [this](const QString &text) {
        namePattern = text.isEmpty() ? defaultNamePattern() : text + QStringLiteral("_%1");
    });
    addSelectionControls();
    connect(ui->selectionModeComboBox, &QComboBox::currentIndexChanged, this,
        &OptionsPage::showSelectionMode);
    // The picture's size and deinterlacing, after its format and depth.
    addOptionControl(JobOption::Id::Width, ui->pictureFormLayout);
    addOptionControl(JobOption::Id::Height, ui->pictureFormLayout);
    addOptionControl(JobOption::Id::Deinterlace, ui->pictureFormLayout);
    showQualityValue();
    showSelectionMode(ui->selectionModeComboBox->currentIndex());
    showHelp();
    depthNote = new DepthNote(
        ui->formatComboBox, ui->bitDepthComboBox, ui->pictureFormLayout, ui->bitDepthLabel, this);

    // What a job writes beside its images, and into them besides the pixels.
    addOptionControl(JobOption::Id::Index, ui->filesFormLayout);
    addOptionControl(JobOption::Id::Sheet, ui->filesFormLayout);
    addOptionControl(JobOption::Id::NoMetadata, ui->filesFormLayout);
}

QWidget *OptionsPage::addOptionControl(JobOption::Id id, QFormLayout *section)
{
    using Kind = JobOption::Kind;
    const JobOption &row = JobOption::row(id);
    QWidget *parent = section->parentWidget();
    AddedOption option {&row, nullptr, nullptr, nullptr, nullptr};
    switch (row.kind) {
    case Kind::Number: {
        auto *box = new QSpinBox(parent);
        // An option unset by default gets a value below its range that
        // shows as its unset text.
        const int unset = int(row.minimum) - 1;
        box->setRange(row.defaultValue.isNull() ? unset : int(row.minimum), int(row.maximum));
        option.read = [box, unset, &row] {
            return row.defaultValue.isNull() && box->value() == unset ? QVariant()
                                                                      : QVariant(box->value());
        };
        option.write = [box, unset](const QVariant &value) {
            box->setValue(value.isNull() ? unset : value.toInt());
        };
        option.control = box;
        break;
    }
    case Kind::Decimal: {
        auto *box = new QDoubleSpinBox(parent);
        box->setRange(row.minimum, row.maximum);
        option.read = [box] {
            return QVariant(box->value());
        };
        option.write = [box](const QVariant &value) {
            box->setValue(value.toDouble());
        };
        option.control = box;
        break;
    }
    case Kind::Switch: {
        auto *box = new QCheckBox(parent);
        option.read = [box] {
            return QVariant(box->isChecked());
        };
        option.write = [box](const QVariant &value) {
            box->setChecked(value.toBool());
        };
        option.control = box;
        break;
    }
    case Kind::Choice: {
        auto *box = new QComboBox(parent);
        option.read = [box] {
            return box->currentData();
        };
        option.write = [box](const QVariant &value) {
            const int index = box->findData(value);
            box->setCurrentIndex(qMax(0, index));
        };
        option.control = box;
        break;
    }
    case Kind::Seconds:
    case Kind::Text: {
        auto *edit = new QLineEdit(parent);
        option.read = [edit] {
            return edit->text().isEmpty() ? QVariant() : QVariant(edit->text());
        };
        option.write = [edit](const QVariant &value) {
            edit->setText(value.toString());
        };
        option.control = edit;
        break;
    }
    }
    option.control->setObjectName(QString::fromLatin1(row.name) + QStringLiteral("OptionControl"));
    if (row.kind == Kind::Switch) {
        section->addRow(option.control);
    } else {
        auto *label = new QLabel(parent);
        section->addRow(label, option.control);
        option.label = label;
    }
    added.push_back(option);
    retranslateAdded(added.back());
    option.write(row.defaultValue);
    return option.control;
}

void OptionsPage::retranslateAdded(const AddedOption &option)
{
    const JobOption &row = *option.row;
    if (auto *box = qobject_cast<QCheckBox *>(option.control))
        box->setText(row.label());
    if (auto *label = qobject_cast<QLabel *>(option.label))
        label->setText(row.label() + u':');
    if (auto *box = qobject_cast<QSpinBox *>(option.control); box && row.noneText)
        box->setSpecialValueText(row.valueText(QVariant()));
    if (auto *box = qobject_cast<QComboBox *>(option.control); box && row.choices) {
        const QVariant current = box->currentData();
        const QSignalBlocker quiet(box);
        box->clear();
        const QList<JobOption::Choice> choices = row.choices();
        for (const JobOption::Choice &choice : choices)
            box->addItem(choice.label.isEmpty() ? choice.name : choice.label, choice.name);
        box->setCurrentIndex(qMax(0, box->findData(current)));
    }
    option.control->setToolTip(row.help());
}

// The help of the form's own controls comes from their rows too.
void OptionsPage::showHelp()
{
    using Id = JobOption::Id;
    const std::pair<QWidget *, Id> controls[] = {
        {ui->formatComboBox, Id::Format},
        {ui->qualitySlider, Id::Quality},
        {ui->bitDepthComboBox, Id::Depth},
        {ui->frameRateSpinBox, Id::Rate},
        {ui->everySecondsSpinBox, Id::Every},
        {ui->sceneSensitivitySpinBox, Id::Scenes},
        {ui->startTimeEdit, Id::Start},
        {ui->endTimeEdit, Id::End},
        {ui->timeInNamesCheckBox, Id::TimeNames},
    };
    for (const auto &[control, id] : controls)
        control->setToolTip(JobOption::row(id).help());
}

// The count beside the other modes' values; the choices by what frames
// show after the range.
void OptionsPage::addSelectionControls()
{
    using Id = JobOption::Id;
    QFormLayout *section = ui->selectionFormLayout;
    countControl = addOptionControl(Id::Count, section);
    int row = -1;
    QFormLayout::ItemRole role;
    section->getWidgetPosition(ui->sceneSensitivitySpinBox, &row, &role);
    const QFormLayout::TakeRowResult count = section->takeRow(section->rowCount() - 1);
    section->insertRow(row + 1, count.labelItem->widget(), count.fieldItem->widget());
    delete count.labelItem;
    delete count.fieldItem;
    sharpestControl = addOptionControl(Id::Sharpest, section);
    addOptionControl(Id::Distinct, section);
    addOptionControl(Id::DistinctSensitivity, section);
    addOptionControl(Id::SkipBlack, section);
}

ExtractionJob OptionsPage::jobOptions() const
{
    ExtractionJob job;
    job.format = ui->formatComboBox->currentText();
    job.quality = ui->qualitySlider->value();
    job.bitDepth = Picture::bitDepthFromIndex(ui->bitDepthComboBox->currentIndex());
    job.namingPattern = namePattern;
    job.timeInNames = ui->timeInNamesCheckBox->isChecked();
    FrameSelection &selection = job.selection;
    selection.mode = selectionModeForIndex(ui->selectionModeComboBox->currentIndex());
    selection.frameRate = ui->frameRateSpinBox->value();
    selection.everySeconds = ui->everySecondsSpinBox->value();
    selection.sceneSensitivity = ui->sceneSensitivitySpinBox->value();
    for (const AddedOption &option : added)
        option.row->set(job, option.read());
    // A part's sharpest frame needs parts; the box is hidden without them.
    selection.sharpest = selection.sharpest && hasParts(selection.mode);
    return job;
}

bool OptionsPage::readRange(QWidget *parent, FrameSelection &selection) const
{
    const auto refuse = [parent](const QString &text) {
        QMessageBox::warning(parent, Texts::tr("警告"), text);
        return false;
    };
    const QString startText = ui->startTimeEdit->text().trimmed();
    const QString endText = ui->endTimeEdit->text().trimmed();
    const std::optional<qint64> start = startText.isEmpty() ? 0 : parseTimeField(startText);
    if (!start)
        return refuse(Texts::tr("无法识别起始时间，请按“时:分:秒”填写，例如 0:01:20.000"));
    std::optional<qint64> end;
    if (!endText.isEmpty()) {
        end = parseTimeField(endText);
        if (!end)
            return refuse(Texts::tr("无法识别结束时间，请按“时:分:秒”填写，例如 0:01:20.000"));
        if (*start >= *end)
            return refuse(Texts::tr("起始时间必须早于结束时间"));
    }
    selection.startSeconds = *start / 1000.0;
    selection.endSeconds = end ? *end / 1000.0 : -1;
    return true;
}

bool OptionsPage::subfolders() const
{
    return ui->subfolderCheckBox->isChecked();
}

void OptionsPage::load(const Preferences &settings)
{
    for (const OptionBinding &option : bindings)
        option.write(settings.value(option.key));
    for (const AddedOption &option : added)
        option.write(settings.optionValue(*option.row));
    namePattern = settings.value(Key::CustomNamePattern).toString();
    // A hand-edited store must not send the images outside the output directory.
    if (!ImageNaming::isSafeNamingPattern(namePattern))
        namePattern = defaultNamePattern();
    if (ui->namingPatternComboBox->currentIndex() == customNamingIndex) {
        QString baseName = namePattern;
        baseName.remove(QStringLiteral("_%1"));
        ui->customNameEdit->setText(baseName);
    }
}

std::optional<QVariant> OptionsPage::savedValue(Key key) const
{
    if (key == Key::CustomNamePattern)
        return namePattern;
    for (const OptionBinding &option : bindings) {
        if (option.key == key)
            return option.read();
    }
    return std::nullopt;
}

void OptionsPage::saveAddedOptions(Preferences &settings) const
{
    for (const AddedOption &option : added)
        settings.setOptionValue(*option.row, option.read());
}

void OptionsPage::reset()
{
    for (const OptionBinding &option : bindings)
        option.write(Preferences::defaultValue(option.key));
    for (const AddedOption &option : added)
        option.write(option.row->defaultValue);
    showQualityValue();
    showWholeVideo();
    ui->customNameEdit->clear();
    ui->customNameEdit->hide();
    namePattern = defaultNamePattern();
}

void OptionsPage::showWholeVideo()
{
    ui->startTimeEdit->setText(formatTimeField(0));
    ui->endTimeEdit->clear();
}

void OptionsPage::setInputsEnabled(bool enabled)
{
    const QList<QWidget *> inputs {ui->frameRateSpinBox, ui->qualitySlider, ui->formatComboBox,
        ui->bitDepthComboBox, ui->namingPatternComboBox, ui->customNameEdit,
        ui->selectionModeComboBox, ui->everySecondsSpinBox, ui->sceneSensitivitySpinBox,
        ui->startTimeEdit, ui->endTimeEdit, ui->timeInNamesCheckBox};
    for (QWidget *input : inputs)
        input->setEnabled(enabled);
    for (const AddedOption &option : added)
        option.control->setEnabled(enabled);
}

void OptionsPage::retranslate()
{
    ui->selectionModeComboBox->setItemText(int(Mode::Count), countModeText());
    showQualityValue();
    showBitDepth(ui->bitDepthComboBox->currentIndex());
    depthNote->show();
    showHelp();
    for (const AddedOption &option : added)
        retranslateAdded(option);
}

void OptionsPage::showQualityValue()
{
    ui->qualityValueLabel->setText(QStringLiteral("%1%").arg(ui->qualitySlider->value()));
}

void OptionsPage::showBitDepth(int index)
{
    QString description;
    switch (BitDepth(index)) {
    case BitDepth::Gray8:
        description = Texts::tr("标准8位色彩深度，文件较小");
        break;
    case BitDepth::Rgb16:
        description = Texts::tr("16位色彩深度，更好的色彩表现");
        break;
    case BitDepth::Rgb24:
        description = Texts::tr("标准24位RGB（每通道8位），适合大多数用途");
        break;
    case BitDepth::Rgba32:
        description = Texts::tr("32位色彩深度，最高质量，文件较大");
        break;
    default:
        break;
    }
    ui->bitDepthLabel->setText(description);
}

void OptionsPage::chooseNaming(int index)
{
    ui->customNameEdit->setVisible(index == customNamingIndex);
    namePattern = namePatternForIndex(index, namePattern);
}

// Only the setting the chosen selection uses is shown; keyframes need none.
void OptionsPage::showSelectionMode(int index)
{
    const Mode mode = selectionModeForIndex(index);
    ui->label_2->setVisible(mode == Mode::FramesPerSecond);
    ui->frameRateSpinBox->setVisible(mode == Mode::FramesPerSecond);
    ui->everySecondsLabel->setVisible(mode == Mode::EverySeconds);
    ui->everySecondsSpinBox->setVisible(mode == Mode::EverySeconds);
    ui->sceneSensitivityLabel->setVisible(mode == Mode::SceneChanges);
    ui->sceneSensitivitySpinBox->setVisible(mode == Mode::SceneChanges);
    if (countControl) {
        countControl->setVisible(mode == Mode::Count);
        if (QWidget *label = ui->selectionFormLayout->labelForField(countControl))
            label->setVisible(mode == Mode::Count);
    }
    if (sharpestControl)
        sharpestControl->setVisible(hasParts(mode));
}

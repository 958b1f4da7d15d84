#ifndef OPTIONSPAGE_H
#define OPTIONSPAGE_H

#include "extractionjob.h"
#include "joboption.h"
#include "optionbinding.h"
#include "preferences.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class DepthNote;
class QFormLayout;
class QWidget;

namespace Ui {
class MainWindow;
}

// The advanced page's options: what they show, how they are stored, and the
// job they describe.
class OptionsPage : public QObject
{
    Q_OBJECT

public:
    OptionsPage(Ui::MainWindow *ui, QObject *parent);

    // The options as a job, without video, folder and range.
    ExtractionJob jobOptions() const;
    // The two time fields as the job's range; false after a warning over
    // `parent` when they do not give one.
    bool readRange(QWidget *parent, FrameSelection &selection) const;
    bool subfolders() const;

    // Adds the control of an option that the form does not hold to one of
    // the page's sections, as a row of it: its kind's widget with the
    // option's range, default, label and help. It is stored under the
    // option's name, reset to its default and read into the job with the
    // rest. Returns the control.
    QWidget *addOptionControl(JobOption::Id id, QFormLayout *section);

    void load(const Preferences &settings);
    // The value stored under `key`, for the keys the page owns.
    std::optional<QVariant> savedValue(Preferences::Key key) const;
    // Stores the values of the controls added by addOptionControl.
    void saveAddedOptions(Preferences &settings) const;
    void reset();
    void showWholeVideo();
    void setInputsEnabled(bool enabled);
    // Sets the texts the form's own re-translation does not.
    void retranslate();

private:
    struct AddedOption;
    void retranslateAdded(const AddedOption &option);
    void showHelp();
    void showQualityValue();
    void showBitDepth(int index);
    void chooseNaming(int index);
    void showSelectionMode(int index);
    void addSelectionControls();

    struct AddedOption
    {
        const JobOption *row;
        QWidget *control;
        // The label where the control has one of its own beside it.
        QWidget *label;
        std::function<QVariant()> read;
        std::function<void(const QVariant &)> write;
    };

    Ui::MainWindow *ui;
    // Loaded, saved and reset together, in the order of Preferences::keys().
    std::vector<OptionBinding> bindings;
    std::vector<AddedOption> added;
    QWidget *countControl = nullptr;
    QWidget *sharpestControl = nullptr;
    QString namePattern;
    DepthNote *depthNote = nullptr;
};

#endif // OPTIONSPAGE_H

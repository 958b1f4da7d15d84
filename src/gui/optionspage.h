#ifndef OPTIONSPAGE_H
#define OPTIONSPAGE_H

#include "extractionjob.h"
#include "optionbinding.h"
#include "preferences.h"

#include <QObject>
#include <QString>

#include <optional>
#include <vector>

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

    void load(const Preferences &settings);
    // The value stored under `key`, for the keys the page owns.
    std::optional<QVariant> savedValue(Preferences::Key key) const;
    void reset();
    void showWholeVideo();
    void setInputsEnabled(bool enabled);
    // Sets the texts the form's own re-translation does not.
    void retranslate();

private:
    void showQualityValue();
    void showBitDepth(int index);
    void chooseNaming(int index);
    void showSelectionMode(int index);

    Ui::MainWindow *ui;
    // Loaded, saved and reset together, in the order of Preferences::keys().
    std::vector<OptionBinding> bindings;
    QString namePattern;
};

#endif // OPTIONSPAGE_H

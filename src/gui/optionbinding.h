#ifndef OPTIONBINDING_H
#define OPTIONBINDING_H

#include "preferences.h"

#include <QVariant>

#include <functional>

class QAbstractButton;
class QAbstractSlider;
class QComboBox;
class QDoubleSpinBox;
class QSpinBox;

// One option control and the key it is stored under: how to read the control
// for a save, and how to show a stored or default value.
struct OptionBinding
{
    Preferences::Key key;
    std::function<QVariant()> read;
    std::function<void(const QVariant &)> write;
};

OptionBinding bindOption(Preferences::Key key, QSpinBox *box);
OptionBinding bindOption(Preferences::Key key, QDoubleSpinBox *box);
OptionBinding bindOption(Preferences::Key key, QAbstractSlider *slider);
OptionBinding bindOption(Preferences::Key key, QAbstractButton *button);
// By index. A stored index outside the list selects `fallback`, by default no
// entry at all.
OptionBinding bindOption(Preferences::Key key, QComboBox *combo, int fallback = -1);

#endif // OPTIONBINDING_H

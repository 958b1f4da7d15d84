#include "optionbinding.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QSpinBox>

namespace {

// Controls whose value is one property with a setter of the same type.
template<typename Control, typename Value>
OptionBinding bindValue(Preferences::Key key, Control *control, Value (Control::*get)() const,
    void (Control::*set)(Value))
{
    const auto read = [control, get] {
        return QVariant::fromValue((control->*get)());
    };
    const auto write = [control, set](const QVariant &value) {
        (control->*set)(value.value<Value>());
    };
    return {key, read, write};
}

} // namespace

OptionBinding bindOption(Preferences::Key key, QSpinBox *box)
{
    return bindValue(key, box, &QSpinBox::value, &QSpinBox::setValue);
}

OptionBinding bindOption(Preferences::Key key, QDoubleSpinBox *box)
{
    return bindValue(key, box, &QDoubleSpinBox::value, &QDoubleSpinBox::setValue);
}

OptionBinding bindOption(Preferences::Key key, QAbstractSlider *slider)
{
    return bindValue(key, slider, &QAbstractSlider::value, &QAbstractSlider::setValue);
}

OptionBinding bindOption(Preferences::Key key, QAbstractButton *button)
{
    return bindValue(key, button, &QAbstractButton::isChecked, &QAbstractButton::setChecked);
}

OptionBinding bindOption(Preferences::Key key, QComboBox *combo, int fallback)
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

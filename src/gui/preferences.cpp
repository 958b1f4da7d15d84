#include "preferences.h"

#include "extractionjob.h"

#include <QLocale>
#include <QStandardPaths>

namespace {

struct Entry
{
    Preferences::Key key;
    const char *name;
};

// The save order.
constexpr Entry entries[] = {
    {Preferences::Key::VideoPath, "videoPath"},
    {Preferences::Key::OutputPath, "outputPath"},
    {Preferences::Key::FrameRate, "frameRate"},
    {Preferences::Key::Quality, "quality"},
    {Preferences::Key::Format, "format"},
    {Preferences::Key::BitDepth, "bitDepth"},
    {Preferences::Key::NamingPattern, "namingPattern"},
    {Preferences::Key::CreateSubfolder, "createSubfolder"},
    {Preferences::Key::CustomNamePattern, "customNamePattern"},
    {Preferences::Key::SelectionMode, "selectionMode"},
    {Preferences::Key::EverySeconds, "everySeconds"},
    {Preferences::Key::SceneSensitivity, "sceneSensitivity"},
    {Preferences::Key::TimeInNames, "timeInNames"},
    {Preferences::Key::Geometry, "geometry"},
    {Preferences::Key::WindowState, "windowState"},
};

QSettings languageStore()
{
    return QSettings(Preferences::languageOrganization, Preferences::applicationName);
}

} // namespace

QList<Preferences::Key> Preferences::keys()
{
    QList<Key> result;
    for (const Entry &entry : entries)
        result << entry.key;
    return result;
}

QString Preferences::name(Key key)
{
    for (const Entry &entry : entries) {
        if (entry.key == key)
            return QString::fromLatin1(entry.name);
    }
    return QString();
}

QVariant Preferences::defaultValue(Key key)
{
    using Id = JobOption::Id;
    const auto optionDefault = [](Id id) {
        return JobOption::row(id).defaultValue;
    };
    switch (key) {
    case Key::VideoPath:
        return QString();
    case Key::OutputPath:
        // Resolved on each read: the location depends on the user and on test mode.
        return QStandardPaths::writableLocation(QStandardPaths::PicturesLocation)
            + QStringLiteral("/VideoFrames");
    case Key::FrameRate:
        return optionDefault(Id::Rate);
    case Key::Quality:
        return optionDefault(Id::Quality);
    case Key::Format:
        return 0;
    case Key::BitDepth:
        // The depth list's index.
        return int(ExtractionJob().bitDepth);
    case Key::NamingPattern:
        return 0;
    case Key::CreateSubfolder:
        return true;
    case Key::CustomNamePattern:
        return optionDefault(Id::Pattern);
    case Key::SelectionMode:
        // The selection list's index: frames per second.
        return 0;
    case Key::EverySeconds:
        return optionDefault(Id::Every);
    case Key::SceneSensitivity:
        return optionDefault(Id::Scenes);
    case Key::TimeInNames:
        return optionDefault(Id::TimeNames);
    case Key::Geometry:
    case Key::WindowState:
        break;
    }
    return QVariant();
}

QVariant Preferences::value(Key key) const
{
    return main.value(name(key), defaultValue(key));
}

void Preferences::setValue(Key key, const QVariant &value)
{
    main.setValue(name(key), value);
}

QVariant Preferences::optionValue(const JobOption &option) const
{
    return main.value(QString::fromLatin1(option.name), option.defaultValue);
}

void Preferences::setOptionValue(const JobOption &option, const QVariant &value)
{
    main.setValue(QString::fromLatin1(option.name), value);
}

void Preferences::storeNow(Key key, const QVariant &value)
{
    QSettings(mainOrganization, applicationName).setValue(name(key), value);
}

void Preferences::clearMain()
{
    QSettings store(mainOrganization, applicationName);
    store.clear();
    store.sync();
    store.clear();
}

QString Preferences::language()
{
    const QSettings store = languageStore();
    if (store.contains(languageKey))
        return store.value(languageKey).toString();
    // The default locale is the system's unless a test sets another.
    const QString system = languageFor(QLocale().uiLanguages());
    return system.isEmpty() ? defaultLanguage : system;
}

bool Preferences::hasStoredLanguage()
{
    return languageStore().contains(languageKey);
}

QString Preferences::languageFor(const QStringList &uiLanguages)
{
    for (const QString &tag : uiLanguages) {
        const QLocale locale(tag);
        if (locale.language() == QLocale::English)
            return QStringLiteral("en_US");
        if (locale.language() != QLocale::Chinese)
            continue;
        // Without a script in the tag, QLocale supplies the usual one for the
        // place: Traditional for Taiwan, Hong Kong and Macao.
        return locale.script() == QLocale::TraditionalHanScript ? QStringLiteral("zh_TW")
                                                                : QStringLiteral("zh_CN");
    }
    return QString();
}

void Preferences::setLanguage(const QString &code)
{
    languageStore().setValue(languageKey, code);
}

void Preferences::removeLanguage()
{
    languageStore().remove(languageKey);
}

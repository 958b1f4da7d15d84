#ifndef PREFERENCES_H
#define PREFERENCES_H

#include "joboption.h"

#include <QList>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>

// The window's two settings stores: the main store, with every key listed in
// Preferences::Key, and the language store, with the interface language only.
// Knows each key's name and default; knows nothing of widgets.
class Preferences
{
public:
    enum class Key {
        VideoPath,
        OutputPath,
        FrameRate,
        Quality,
        Format,
        BitDepth,
        NamingPattern,
        CreateSubfolder,
        CustomNamePattern,
        SelectionMode,
        EverySeconds,
        SceneSensitivity,
        TimeInNames,
        Geometry,
        WindowState,
    };

    static inline const QString mainOrganization = QStringLiteral("QuelvaneLabs");
    static inline const QString languageOrganization = QStringLiteral("Oskivo");
    static inline const QString applicationName = QStringLiteral("Oskivo");
    static inline const QString languageKey = QStringLiteral("language");
    static inline const QString defaultLanguage = QStringLiteral("zh_CN");

    // Every key of the main store, in the order a save writes them.
    static QList<Key> keys();
    static QString name(Key key);
    // What reading an absent key gives; invalid for the keys that are never read.
    static QVariant defaultValue(Key key);

    // Through the long-lived handle.
    QVariant value(Key key) const;
    void setValue(Key key, const QVariant &value);
    // The options without a key of the list above are stored under their
    // own name; their default is the option's.
    QVariant optionValue(const JobOption &option) const;
    void setOptionValue(const JobOption &option, const QVariant &value);

    // Through a short-lived handle, which writes the store back when it closes.
    static void storeNow(Key key, const QVariant &value);
    // Empties the main store; what the handlers write afterwards is all it holds.
    static void clearMain();

    // The stored language, or where none is stored the system's (languageFor
    // the interface languages of the default locale), or the default language.
    static QString language();
    static bool hasStoredLanguage();
    static void setLanguage(const QString &code);
    static void removeLanguage();
    // The first of `uiLanguages` (BCP 47 tags, most wanted first) that the
    // interface speaks, as its code; empty for none.
    static QString languageFor(const QStringList &uiLanguages);

private:
    QSettings main {mainOrganization, applicationName};
};

#endif // PREFERENCES_H

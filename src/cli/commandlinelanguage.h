#ifndef COMMANDLINELANGUAGE_H
#define COMMANDLINELANGUAGE_H

#include <QString>
#include <QTranslator>

class QProcessEnvironment;

// The language of a command-line program: the window's catalogs and Qt's own,
// chosen by the environment rather than by the window's settings.
class CommandLineLanguage
{
public:
    // "zh_CN" or "zh_TW" when the message locale names it, "en_US" for any other.
    // The message locale is the first of LC_ALL, LC_MESSAGES and LANG that is set
    // and not empty, or `systemLocale` (as QLocale names it) when none is.
    static QString fromEnvironment(
        const QProcessEnvironment &environment, const QString &systemLocale);

    // Installs the catalogs for `code`; false when the bundle has none for it.
    bool install(const QString &code);

private:
    QTranslator catalog;
    QTranslator qtCatalog;
};

#endif // COMMANDLINELANGUAGE_H

#ifndef STARTUP_H
#define STARTUP_H

#include <QString>
#include <QStringList>

class QApplication;
class QTranslator;

inline constexpr char defaultStyleSheetPath[] = ":/qss/default.css";

// Reads the style sheet at `path` and applies it to the whole application.
// Logs why it could not; the caller decides what the user sees.
bool loadStyleSheet(
    QApplication &app, const QString &path = QString::fromLatin1(defaultStyleSheetPath));

// The fixed warning shown when the style sheet could not be applied. Modal, no parent.
void showStyleSheetWarning();

// Tries the interface languages, in order, against the bundle's start-up catalogs and
// installs `translator` on the first that loads. Returns whether one did.
bool installStartupTranslator(
    QApplication &app, QTranslator &translator, const QStringList &uiLanguages);

// The existing local files among the program's arguments (without the program's own
// name), in their order, as absolute paths; file:// URLs count as the files they name.
// The program has no options: an argument starting with '-' is a path like any other.
// Logs a warning naming each argument it leaves out.
QStringList videoPathsFromArguments(const QStringList &arguments);

#endif // STARTUP_H

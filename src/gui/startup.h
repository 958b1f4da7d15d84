#ifndef STARTUP_H
#define STARTUP_H

#include <QString>
#include <QStringList>

class QApplication;
class QTranslator;

inline constexpr char defaultStyleSheetPath[] = ":/qss/default.css";

// Reads the style sheet at `path` and applies it to the whole application.
// Logs why it could not; the caller decides what the user sees.
bool loadStyleSheet(QApplication &app, const QString &path = QString::fromLatin1(defaultStyleSheetPath));

// The fixed warning shown when the style sheet could not be applied. Modal, no parent.
void showStyleSheetWarning();

// Tries the interface languages, in order, against the bundle's start-up catalogs and
// installs `translator` on the first that loads. Returns whether one did.
bool installStartupTranslator(QApplication &app, QTranslator &translator,
                              const QStringList &uiLanguages);

#endif // STARTUP_H

#ifndef APPMENU_H
#define APPMENU_H

#include <QObject>
#include <QString>
#include <QTranslator>

class QMenu;
class QWidget;

// The interface languages, in the order the menu lists them; `name` is
// translated in the window's context.
struct InterfaceLanguage
{
    const char *code;
    const char *name;
};
const QList<InterfaceLanguage> &interfaceLanguages();

// Qt's catalog and ours for one language, installed on the application.
class LanguageCatalogs
{
public:
    // False when our catalog is missing or unreadable; Qt's may be missing.
    bool install(const QString &code);

private:
    QTranslator app;
    QTranslator qt;
};

// The title bar's menu: the interface languages, then reset and About.
class AppMenu : public QObject
{
    Q_OBJECT

public:
    explicit AppMenu(QWidget *parent);

    // Opens the menu below `button` and returns once it is closed.
    void exec(QWidget *button);
    void showLanguage(const QString &code);
    void retranslate();

signals:
    void languageChosen(const QString &code);
    void resetChosen();
    void aboutChosen();

private:
    QMenu *menu;
    QString language;
    bool marked = false;
};

#endif // APPMENU_H

#include "appmenu.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QLibraryInfo>
#include <QMenu>
#include <QWidget>

namespace {

constexpr char context[] = "MainWindow";
// After the languages come a separator, reset and About.
constexpr int resetOffset = 1;
constexpr int aboutOffset = 2;
const char *const resetText = QT_TRANSLATE_NOOP("MainWindow", "一键重置");
const char *const aboutText = QT_TRANSLATE_NOOP("MainWindow", "关于我们");

QString translated(const char *text)
{
    return QCoreApplication::translate(context, text);
}

} // namespace

const QList<InterfaceLanguage> &interfaceLanguages()
{
    static const QList<InterfaceLanguage> languages {
        {"zh_CN", QT_TRANSLATE_NOOP("MainWindow", "简体中文")},
        {"zh_TW", QT_TRANSLATE_NOOP("MainWindow", "繁體中文")},
        {"en_US", QT_TRANSLATE_NOOP("MainWindow", "English")},
    };
    return languages;
}

bool LanguageCatalogs::install(const QString &code)
{
    QCoreApplication::removeTranslator(&app);
    QCoreApplication::removeTranslator(&qt);
    // Qt's catalog goes in first so that ours takes precedence.
    if (qt.load(QStringLiteral("qt_") + code, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qt);

    const QString catalog = QStringLiteral(":/translations/lang_%1.qm").arg(code);
    if (!QFile::exists(catalog)) {
        qWarning() << "Translation file not found:" << catalog;
        return false;
    }
    if (!app.load(catalog)) {
        qWarning() << "Failed to load translation file:" << catalog;
        return false;
    }
    QCoreApplication::installTranslator(&app);
    return true;
}

AppMenu::AppMenu(QWidget *parent)
    : QObject(parent)
    , menu(new QMenu(parent))
{
    menu->setStyleSheet(QStringLiteral("QMenu { background-color: white; border: 1px solid #ddd; }"
                                       "QMenu::item { padding: 5px 20px 5px 10px; }"
                                       "QMenu::item:selected { background-color: #e6f2ff; }"
                                       "QMenu::icon { left: 5px; }"));
    auto *languages = new QActionGroup(this);
    for (const InterfaceLanguage &entry : interfaceLanguages()) {
        QAction *action = menu->addAction(translated(entry.name));
        action->setCheckable(true);
        languages->addAction(action);
        const QString code = QString::fromLatin1(entry.code);
        connect(action, &QAction::triggered, this, [this, code] { emit languageChosen(code); });
    }
    menu->addSeparator();
    connect(
        menu->addAction(translated(resetText)), &QAction::triggered, this, &AppMenu::resetChosen);
    connect(
        menu->addAction(translated(aboutText)), &QAction::triggered, this, &AppMenu::aboutChosen);
}

void AppMenu::exec(QWidget *button)
{
    // The marks show the language in force when the menu is first opened, and
    // afterwards the one last chosen in it: a reset or a fallback leaves them.
    if (!marked) {
        marked = true;
        const QList<QAction *> actions = menu->actions();
        const QList<InterfaceLanguage> &languages = interfaceLanguages();
        for (int i = 0; i < languages.size(); ++i)
            actions.at(i)->setChecked(language == QLatin1String(languages.at(i).code));
    }
    menu->exec(button->mapToGlobal(QPoint(0, button->height())));
}

void AppMenu::showLanguage(const QString &code)
{
    language = code;
}

void AppMenu::retranslate()
{
    const QList<QAction *> actions = menu->actions();
    const QList<InterfaceLanguage> &languages = interfaceLanguages();
    for (int i = 0; i < languages.size(); ++i)
        actions.at(i)->setText(translated(languages.at(i).name));
    actions.at(languages.size() + resetOffset)->setText(translated(resetText));
    actions.at(languages.size() + aboutOffset)->setText(translated(aboutText));
}

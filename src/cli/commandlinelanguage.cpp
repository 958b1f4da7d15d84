#include "commandlinelanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QProcessEnvironment>

QString CommandLineLanguage::fromEnvironment(
    const QProcessEnvironment &environment, const QString &systemLocale)
{
    QString locale = systemLocale;
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = environment.value(QString::fromLatin1(name));
        if (!value.isEmpty()) {
            locale = value;
            break;
        }
    }
    // "zh_TW.UTF-8", "zh_TW@variant" and "zh-TW" all name the same language.
    locale.replace(u'-', u'_');
    for (const char *code : {"zh_CN", "zh_TW"}) {
        const QString name = QString::fromLatin1(code);
        if (locale.startsWith(name)
            && (locale.size() == name.size() || locale.at(name.size()) == u'.'
                || locale.at(name.size()) == u'@')) {
            return name;
        }
    }
    return QStringLiteral("en_US");
}

bool CommandLineLanguage::install(const QString &code)
{
    // Qt's catalog goes in first so that ours takes precedence, as in the window.
    if (qtCatalog.load(
            QStringLiteral("qt_") + code, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtCatalog);
    if (!catalog.load(QStringLiteral(":/translations/lang_%1.qm").arg(code)))
        return false;
    QCoreApplication::installTranslator(&catalog);
    return true;
}

#include "startup.h"

#include <QApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>

bool loadStyleSheet(QApplication &app, const QString &path)
{
    if (!QFile::exists(QStringLiteral(":/"))) {
        qCritical() << "资源系统未初始化！";
        return false;
    }

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCritical() << "无法打开样式表:" << file.errorString();
        qCritical() << "当前工作目录:" << QDir::currentPath();
        return false;
    }
    const QString styleSheet = QString::fromUtf8(file.readAll());
    file.close();

    if (styleSheet.isEmpty()) {
        qWarning() << "样式表为空！";
        return false;
    }

    app.setStyleSheet(styleSheet);
    return true;
}

void showStyleSheetWarning()
{
    // Deliberately untranslated: no catalog is installed this early.
    QMessageBox box(QMessageBox::Warning, QStringLiteral("警告"),
                    QStringLiteral("无法加载样式表，将使用默认外观。\n"
                                   "这可能会影响应用程序的外观，但功能不受影响。"),
                    QMessageBox::Ok);
    box.exec();
}

bool installStartupTranslator(QApplication &app, QTranslator &translator,
                              const QStringList &uiLanguages)
{
    for (const QString &locale : uiLanguages) {
        const QString baseName = QStringLiteral("Stillora_") + QLocale(locale).name();
        if (translator.load(QStringLiteral(":/i18n/") + baseName)) {
            app.installTranslator(&translator);
            return true;
        }
    }
    return false;
}

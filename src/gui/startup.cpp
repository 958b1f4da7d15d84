#include "startup.h"

#include <QApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>
#include <QUrl>

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

bool installStartupTranslator(
    QApplication &app, QTranslator &translator, const QStringList &uiLanguages)
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

QStringList videoPathsFromArguments(const QStringList &arguments)
{
    QStringList paths;
    for (const QString &argument : arguments) {
        QFileInfo info(argument);
        // A path that exists wins over reading it as a URL: "clip:1.mp4" is a file name.
        if (!info.exists()) {
            const QUrl url(argument);
            // One letter before the colon is a Windows drive, not a scheme.
            if (url.isValid() && url.scheme().size() > 1) {
                if (!url.isLocalFile()) {
                    qWarning().noquote() << "忽略启动参数，不是本地文件:" << argument;
                    continue;
                }
                info.setFile(url.toLocalFile());
            }
        }
        if (!info.exists())
            qWarning().noquote() << "忽略启动参数，文件不存在:" << argument;
        else if (info.isDir())
            qWarning().noquote() << "忽略启动参数，这是文件夹:" << argument;
        else if (!info.isFile())
            qWarning().noquote() << "忽略启动参数，不是普通文件:" << argument;
        else
            paths.append(info.absoluteFilePath());
    }
    return paths;
}

#include "outputfolder.h"

#include <QDir>
#include <QFileInfo>

bool OutputFolder::create(const QString &path)
{
    made.clear();
    QStringList missing;
    for (QString at = QDir::cleanPath(QFileInfo(path).absoluteFilePath()); !QFileInfo::exists(at);
         at = QFileInfo(at).path()) {
        missing << at;
        if (QFileInfo(at).path() == at)
            break;
    }
    if (!QDir().mkpath(path))
        return false;
    made = missing;
    return true;
}

void OutputFolder::removeIfEmpty()
{
    for (const QString &folder : std::as_const(made)) {
        // rmdir refuses a folder that holds anything.
        if (!QDir().rmdir(folder))
            break;
    }
    made.clear();
}

bool OutputFolder::holds(const QString &folder, const QString &path)
{
    const QString parent = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    const QFileInfo entry(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    const QString name = entry.fileName();
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return entry.path().compare(parent, Qt::CaseInsensitive) == 0;
#else
    return entry.path() == parent;
#endif
}

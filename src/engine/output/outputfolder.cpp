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
    // Both relative to the same working folder compare as they are, with no
    // look-up of it for every image.
    const bool sameKind = QDir::isAbsolutePath(folder) == QDir::isAbsolutePath(path);
    const QString parent
        = QDir::cleanPath(sameKind ? folder : QFileInfo(folder).absoluteFilePath());
    const QFileInfo entry(QDir::cleanPath(sameKind ? path : QFileInfo(path).absoluteFilePath()));
    const QString name = entry.fileName();
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return entry.path().compare(parent, Qt::CaseInsensitive) == 0;
#else
    return entry.path() == parent;
#endif
}

namespace {

bool isWindowsDeviceName(const QString &stem)
{
    static const QStringList devices {QStringLiteral("CON"), QStringLiteral("PRN"),
        QStringLiteral("AUX"), QStringLiteral("NUL"), QStringLiteral("CONIN$"),
        QStringLiteral("CONOUT$")};
    if (devices.contains(stem, Qt::CaseInsensitive))
        return true;
    // COM1 to COM9 and LPT1 to LPT9, with the superscript digits too.
    static const QString digits = QStringLiteral("123456789\u00B9\u00B2\u00B3");
    return stem.size() == 4
        && (stem.startsWith(QLatin1String("COM"), Qt::CaseInsensitive)
            || stem.startsWith(QLatin1String("LPT"), Qt::CaseInsensitive))
        && digits.contains(stem.at(3));
}

} // namespace

QString OutputFolder::safeName(const QString &name, NameRules rules)
{
    static const QString windowsForbidden = QStringLiteral("<>:\"|?*");
    QString safe = name;
    for (QChar &character : safe) {
        if (character == u'/' || character == u'\\'
            || (rules == NameRules::Windows
                && (character.unicode() < 0x20 || windowsForbidden.contains(character)))) {
            character = u'_';
        }
    }
    for (qsizetype i = 0; i < safe.size() && (safe.at(i) == u'.' || safe.at(i) == u' '); ++i)
        safe[i] = u'_';
    for (qsizetype i = safe.size() - 1; i >= 0 && (safe.at(i) == u'.' || safe.at(i) == u' '); --i)
        safe[i] = u'_';
    if (rules == NameRules::Windows) {
        const qsizetype dot = safe.indexOf(u'.');
        const QString stem = dot < 0 ? safe : safe.left(dot);
        if (isWindowsDeviceName(stem.trimmed()))
            safe.insert(stem.size(), u'_');
    }
    return safe.isEmpty() ? QStringLiteral("_") : safe;
}

#include "imagenaming.h"

#include "extractionjob.h"

#include <QDir>
#include <QDirIterator>
#include <QLatin1String>

namespace ImageNaming {

QString frameNumberText(int frameNumber)
{
    return QStringLiteral("%1").arg(frameNumber, 6, 10, QLatin1Char('0'));
}

QString outputFilePath(
    const QString &outputDir, const QString &namingPattern, int frameNumber, const QString &format)
{
    QString name = namingPattern;
    name.replace(QLatin1String("%1"), frameNumberText(frameNumber));
    // The multi-argument arg() inserts each part in one pass, so markers
    // inside an inserted part are never expanded.
    return QStringLiteral("%1/%2.%3").arg(outputDir, name, format.toLower());
}

bool isSafeNamingPattern(const QString &pattern)
{
    return !pattern.contains(u'/') && !pattern.contains(u'\\') && !pattern.contains(u':')
        && !pattern.contains(QLatin1String("..")) && !QDir::isAbsolutePath(pattern);
}

QString timeNameText(qint64 milliseconds)
{
    const qint64 ms = qMax<qint64>(0, milliseconds);
    return QStringLiteral("%1-%2-%3.%4")
        .arg(ms / 3600000, 2, 10, QLatin1Char('0'))
        .arg(ms / 60000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms % 1000, 3, 10, QLatin1Char('0'));
}

QString outputFilePathWithTime(const QString &outputDir, const QString &namingPattern,
    int frameNumber, qint64 milliseconds, const QString &format)
{
    QString name = namingPattern;
    name.replace(QLatin1String("%1"), frameNumberText(frameNumber));
    return QStringLiteral("%1/%2_%3.%4")
        .arg(outputDir, name, timeNameText(milliseconds), format.toLower());
}

QString savedFramePath(const QString &outputDir, const QString &namingPattern, qint64 milliseconds,
    const QString &format, int attempt)
{
    QString name = namingPattern;
    name.replace(QLatin1String("%1"), timeNameText(milliseconds));
    if (attempt > 1)
        name += QStringLiteral(" (%1)").arg(attempt);
    return QStringLiteral("%1/%2.%3").arg(outputDir, name, format.toLower());
}

QRegularExpression imageNameExpression(
    const QString &namingPattern, const QString &format, bool timeInNames)
{
    // frameNumberText's numbers: six digits, not all zeros, or more without
    // a leading zero. Every "%1" holds the same one.
    const QString number = QStringLiteral("(0(?!0{5})\\d{5}|[1-9]\\d{5,})");
    const QStringList literals = namingPattern.split(QLatin1String("%1"));
    QString expression = QStringLiteral("^");
    for (int i = 0; i < literals.size(); ++i) {
        if (i > 0)
            expression += i == 1 ? number : QStringLiteral("\\1");
        expression += QRegularExpression::escape(literals.at(i));
    }
    if (timeInNames)
        expression += QStringLiteral("_\\d{2,}-[0-5]\\d-[0-5]\\d\\.\\d{3}");
    expression += QStringLiteral("\\.") + QRegularExpression::escape(format.toLower())
        + QStringLiteral("$");
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return QRegularExpression(expression, QRegularExpression::CaseInsensitiveOption);
#else
    return QRegularExpression(expression);
#endif
}

QStringList existingImages(const ExtractionJob &job)
{
    const QRegularExpression names
        = imageNameExpression(job.namingPattern, job.format, job.timeInNames);
    // The entries' types come with the listing on common file systems, so
    // nothing is looked up per file.
    QDirIterator entries(job.outputPath, QDir::Files | QDir::Hidden);
    QStringList found;
    while (entries.hasNext()) {
        entries.next();
        if (names.match(entries.fileName()).hasMatch())
            found << entries.fileName();
    }
    found.sort();
    return found;
}

} // namespace ImageNaming

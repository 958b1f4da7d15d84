#include "imageindex.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace {

// Rewriting the whole list costs in proportion to its length, so a long job
// rewrites it at this pace rather than with every image.
constexpr std::chrono::milliseconds rewritePause {1000};

// The time as the names with the time give it: negative times count as 0.
qint64 shownMilliseconds(const IndexEntry &entry)
{
    return qMax<qint64>(0, entry.milliseconds);
}

QByteArray secondsText(qint64 milliseconds)
{
    return QByteArray::number(milliseconds / 1000) + '.'
        + QByteArray::number(milliseconds % 1000).rightJustified(3, '0');
}

// RFC 4180: a field with a separator, a quote or a line break is quoted,
// its quotes doubled.
QByteArray csvField(const QString &text)
{
    QByteArray field = text.toUtf8();
    if (field.contains(',') || field.contains('"') || field.contains('\n')
        || field.contains('\r')) {
        field.replace("\"", "\"\"");
        field = '"' + field + '"';
    }
    return field;
}

} // namespace

ImageIndex::ImageIndex(const QString &folder, Format format)
    : filePath(QDir(folder).filePath(fileName(format)))
    , format(format)
    , lastRewrite(std::chrono::steady_clock::now())
{
}

QString ImageIndex::fileName(Format format)
{
    switch (format) {
    case Format::None:
        break;
    case Format::Csv:
        return QStringLiteral("index.csv");
    case Format::Json:
        return QStringLiteral("index.json");
    }
    return QString();
}

void ImageIndex::add(const IndexEntry &entry)
{
    std::lock_guard locker(entriesMutex);
    entries[entry.image] = entry;
    while (entries.count(complete + 1) > 0)
        ++complete;
}

void ImageIndex::updateIfDue()
{
    std::unique_lock locker(fileMutex, std::try_to_lock);
    if (!locker.owns_lock())
        return;
    const auto now = std::chrono::steady_clock::now();
    if (now - lastRewrite < rewritePause)
        return;
    int count = 0;
    {
        std::lock_guard entriesLocker(entriesMutex);
        count = complete;
    }
    if (count <= listed)
        return;
    // A failed rewrite leaves the last one in place; finish() reports.
    if (rewrite(firstEntries(count)))
        listed = count;
    lastRewrite = std::chrono::steady_clock::now();
}

bool ImageIndex::finish(int count)
{
    std::lock_guard locker(fileMutex);
    const QList<IndexEntry> listedEntries = firstEntries(count);
    if (listedEntries.size() != count)
        return false;
    if (!rewrite(listedEntries))
        return false;
    listed = count;
    return true;
}

QList<IndexEntry> ImageIndex::firstEntries(int count) const
{
    std::lock_guard locker(entriesMutex);
    QList<IndexEntry> first;
    first.reserve(count);
    for (int number = 1; number <= count; ++number) {
        const auto found = entries.find(number);
        if (found == entries.end())
            break;
        first << found->second;
    }
    return first;
}

bool ImageIndex::rewrite(const QList<IndexEntry> &listedEntries)
{
    if (format == Format::None)
        return false;
    // A temporary file beside it, renamed over it once complete.
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray content = format == Format::Csv ? csv(listedEntries) : json(listedEntries);
    if (file.write(content) != content.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QByteArray ImageIndex::csv(const QList<IndexEntry> &listedEntries)
{
    QByteArray text = "file,image,frame,time,keyframe,width,height,score\n";
    for (const IndexEntry &entry : listedEntries) {
        text += csvField(entry.fileName) + ',' + QByteArray::number(entry.image) + ','
            + (entry.frame > 0 ? QByteArray::number(entry.frame) : QByteArray()) + ','
            + secondsText(shownMilliseconds(entry)) + ',' + (entry.keyframe ? "true" : "false")
            + ',' + QByteArray::number(entry.width) + ',' + QByteArray::number(entry.height) + ','
            + (entry.score ? QByteArray::number(*entry.score, 'g', 6) : QByteArray()) + '\n';
    }
    return text;
}

QByteArray ImageIndex::json(const QList<IndexEntry> &listedEntries)
{
    QJsonArray rows;
    for (const IndexEntry &entry : listedEntries) {
        rows.append(QJsonObject {
            {QStringLiteral("file"), entry.fileName},
            {QStringLiteral("image"), entry.image},
            {QStringLiteral("frame"),
                entry.frame > 0 ? QJsonValue(double(entry.frame)) : QJsonValue()},
            {QStringLiteral("time"), shownMilliseconds(entry) / 1000.0},
            {QStringLiteral("keyframe"), entry.keyframe},
            {QStringLiteral("width"), entry.width},
            {QStringLiteral("height"), entry.height},
            {QStringLiteral("score"), entry.score ? QJsonValue(*entry.score) : QJsonValue()},
        });
    }
    return QJsonDocument(rows).toJson(QJsonDocument::Indented);
}

#ifndef IMAGEINDEX_H
#define IMAGEINDEX_H

#include "extractionjob.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <chrono>
#include <map>
#include <mutex>
#include <optional>

// One written image as the index lists it.
struct IndexEntry
{
    // The image's number, from 1.
    int image = 0;
    // Without the folder: the index lies beside the images.
    QString fileName;
    // The frame's number in decoding order, from 1; 0 where not known.
    qint64 frame = 0;
    // Presentation time, as the names with the time give it.
    qint64 milliseconds = 0;
    bool keyframe = false;
    // The picture as written.
    int width = 0;
    int height = 0;
    // What chose the frame, where the selection has a score.
    std::optional<double> score;
};

// The list of a job's images beside them, index.csv or index.json. Images
// are recorded as they are written, in any order and from any writer
// thread; the file lists images 1..k, the run written from the first, and
// is rewritten whole and replaced in one step, so that it is never seen
// half-written.
class ImageIndex
{
public:
    using Format = IndexFormat;

    ImageIndex(const QString &folder, Format format);
    ImageIndex(const ImageIndex &) = delete;
    ImageIndex &operator=(const ImageIndex &) = delete;

    // "index.csv" or "index.json"; empty for None.
    static QString fileName(Format format);
    QString path() const { return filePath; }

    void add(const IndexEntry &entry);
    // Rewrites the file when images past the ones it lists are recorded and
    // a while has passed since the last rewrite. A call while another thread
    // rewrites returns at once.
    void updateIfDue();
    // Rewrites the file with exactly images 1..count; false where it cannot
    // be written, or where an image of them was never recorded.
    bool finish(int count);

    // The file's content for these entries, in their order.
    static QByteArray csv(const QList<IndexEntry> &entries);
    static QByteArray json(const QList<IndexEntry> &entries);

private:
    // Entries 1..count, or fewer where one of them is missing.
    QList<IndexEntry> firstEntries(int count) const;
    bool rewrite(const QList<IndexEntry> &entries);

    const QString filePath;
    const Format format;

    mutable std::mutex entriesMutex;
    std::map<int, IndexEntry> entries;
    // Images 1..complete are all recorded.
    int complete = 0;

    // Held while the file is rewritten.
    std::mutex fileMutex;
    int listed = 0;
    std::chrono::steady_clock::time_point lastRewrite;
};

#endif // IMAGEINDEX_H

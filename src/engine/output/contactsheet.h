#ifndef CONTACTSHEET_H
#define CONTACTSHEET_H

#include "ffmpegholders.h"

#include <QCoreApplication>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <QTransform>

#include <map>
#include <mutex>

// One picture of a job's images beside them: a grid of small copies, each
// labelled with its time, under a header that names the video. The copies
// are made from the frames as they are written; past `capacity` an even
// subset is kept (every second image, then every fourth...), which the
// header then says.
class ContactSheet
{
    Q_DECLARE_TR_FUNCTIONS(ContactSheet)

public:
    static constexpr int thumbnailWidth = 240;
    static constexpr int maxColumns = 8;
    static constexpr int capacity = 256;

    // What the header says of the video.
    struct Video
    {
        QString name;
        // -1 where not known.
        qint64 durationMs = -1;
        // As the images show it: upright, square pixels.
        QSize size;
        QString codec;
    };

    // Where everything goes on a sheet of `shown` thumbnails of one size.
    struct Layout
    {
        static constexpr int margin = 16;
        static constexpr int gap = 8;
        static constexpr int headerHeight = 84;
        static constexpr int labelHeight = 22;
        // The header's text needs this much even above a short row.
        static constexpr int minimumWidth = 800;

        int columns = 0;
        int rows = 0;
        QSize thumbnail;
        QSize sheet;

        // The thumbnail of the index-th shown image; its label lies below it.
        QRect cell(int index) const;
    };
    static Layout layout(int shown, QSize thumbnail);

    // A sheet file's name that no image name of a job takes: image names
    // carry a number.
    static QString fileName() { return QStringLiteral("contact-sheet.jpg"); }

    explicit ContactSheet(const Video &video);
    ContactSheet(const ContactSheet &) = delete;
    ContactSheet &operator=(const ContactSheet &) = delete;

    // Whether image `number`'s thumbnail would be kept now: worth making.
    bool wants(int number) const;
    // Any writer thread; kept where it is wanted.
    void add(int number, qint64 milliseconds, const QImage &thumbnail);

    // The sheet of images 1..count: those of them kept, in order. Null for
    // none.
    QImage draw(int count) const;
    // Draws it and writes it as a JPEG, replacing the file in one step.
    bool write(const QString &path, int count) const;

    // The numbers of the images 1..count the sheet shows.
    QList<int> shownImages(int count) const;

private:
    struct Thumbnail
    {
        qint64 milliseconds = 0;
        QImage picture;
    };

    const Video video;
    mutable std::mutex mutex;
    std::map<int, Thumbnail> kept;
    // Every stride-th image from the first is kept.
    int stride = 1;
};

// Makes thumbnails of frames, one writer thread each: a swscale of the frame
// straight to the thumbnail's size, turned upright as the images are.
class ThumbnailScaler
{
public:
    // Null where the frame cannot be scaled.
    QImage scale(const AVFrame *frame, const QTransform &orientation, int width);

private:
    FFmpeg::SwsContextPtr scaler;
    FFmpeg::FramePtr picture;
};

#endif // CONTACTSHEET_H

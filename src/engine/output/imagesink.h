#ifndef IMAGESINK_H
#define IMAGESINK_H

#include "contactsheet.h"
#include "frameconverter.h"
#include "imageextras.h"
#include "imagenaming.h"
#include "outcome.h"
#include "pixellayout.h"

#include <QString>
#include <QTransform>

#include <functional>
#include <map>
#include <mutex>

struct AVFrame;

// Takes the frames a job keeps, one writer thread each: a sink is used by
// one thread only, so it may keep state from one frame to the next.
class ImageSink
{
public:
    virtual ~ImageSink() = default;
    // Writes taken frame `number`; None on success.
    virtual Outcome write(const AVFrame *frame, int number) = 0;
};

// What every image of a job shares.
struct ImageSettings
{
    QString outputPath;
    QString namingPattern;
    QString format;
    int quality = 90;
    Picture::BitDepth bitDepth = Picture::BitDepth::Rgb24;
    bool timeInNames = false;
    // Shows the picture as a player does; identity when the stream has no
    // display matrix.
    QTransform orientation;

    QString filePath(int number) const
    {
        return ImageNaming::outputFilePath(outputPath, namingPattern, number, format);
    }
    // The frame's time, where names carry it, is its pts in its time_base.
    QString filePath(int number, const AVFrame *frame) const;
};

// Where each image of a job went, where the name alone does not tell (names
// with the frame's time); shared by the job's sinks.
class ImageNames
{
public:
    explicit ImageNames(const ImageSettings &settings)
        : settings(settings)
    {
    }
    void record(int number, const QString &path);
    QString path(int number) const;

private:
    const ImageSettings &settings;
    mutable std::mutex mutex;
    std::map<int, QString> paths;
};

// Converts each frame for the job's bit depth, turns it upright and writes
// it as "<output>/<pattern with the number>.<format>", with the job's
// extras where it has them.
class ImageFileSink : public ImageSink
{
public:
    ImageFileSink(
        const ImageSettings &settings, ImageNames &names, const ImageExtras *extras = nullptr);

    Outcome write(const AVFrame *frame, int number) override;

    // The path of each try at a name: 1 for the name wanted, then 2, 3...
    using NameChoice = std::function<QString(int attempt)>;
    static constexpr int maxNameAttempts = 10000;
    // Writes the frame as a new file, never over an existing one: at
    // nameFor(1), or where that is taken at nameFor(2), nameFor(3)...
    // *path says where it went, or on failure where it was to go.
    Outcome writeNew(const AVFrame *frame, const NameChoice &nameFor, QString *path);

private:
    // The frame as it is written: converted and turned upright.
    Outcome render(const AVFrame *frame, QImage *image);

    const ImageSettings &settings;
    ImageNames &names;
    const ImageExtras *extras;
    // swscale contexts are not shareable between threads: one per sink.
    FrameConverter converter;
    ThumbnailScaler thumbnails;
};

#endif // IMAGESINK_H

#ifndef IMAGESINK_H
#define IMAGESINK_H

#include "contactsheet.h"
#include "frameconverter.h"
#include "imageextras.h"
#include "imagenaming.h"
#include "jpegencoder.h"
#include "outcome.h"
#include "pictureshape.h"
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
    // The size of the picture as shown; 0 for a side left free.
    int width = 0;
    int height = 0;
    Picture::Deinterlace deinterlace = Picture::Deinterlace::Auto;
    // The stream's AVFieldOrder, for frames that do not say.
    int fieldOrder = AV_FIELD_UNKNOWN;

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

// Converts each frame for the job's bit depth and size, turns it upright and
// writes it as "<output>/<pattern with the number>.<format>", with the job's
// extras where it has them. JPEG and lossy WebP images of colour depths are
// encoded from the frame's YUV planes where it has them; the rest goes
// through an RGB picture and Qt's writers.
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
    // The image file's bytes.
    Outcome encode(const AVFrame *frame, QByteArray *bytes);
    // The frame as an RGB picture: converted and turned upright.
    Outcome render(const AVFrame *frame, QImage *image);

    const ImageSettings &settings;
    ImageNames &names;
    const ImageExtras *extras;
    const FrameConverter::Shape shape;
    // swscale contexts and TurboJPEG handles are not shareable between
    // threads: one per sink.
    FrameConverter converter;
    JpegEncoder jpeg;
    ThumbnailScaler thumbnails;
};

#endif // IMAGESINK_H

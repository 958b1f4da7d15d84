// What a job writes besides the pixels: the capture time and place in each
// image's EXIF, read back with Exiv2; the index beside the images, against
// the images themselves; the contact sheet, against its layout and the
// frames it shows.

#include "capturemetadata.h"
#include "contactsheet.h"
#include "exifwriter.h"
#include "imageindex.h"
#include "videofixture.h"

#include <QImageReader>
#include <QImageWriter>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <optional>

#include <exiv2/exiv2.hpp>

using namespace VideoFixture;

Q_DECLARE_METATYPE(IndexFormat)
Q_DECLARE_METATYPE(FrameSelection)

namespace {

// The EXIF of an image file as Exiv2 reads it, tag by tag as text; empty
// where it has none or Exiv2 does not read the format.
QMap<QString, QString> exifOf(const QString &path)
{
    QMap<QString, QString> tags;
    try {
        auto image = Exiv2::ImageFactory::open(QFile::encodeName(path).toStdString());
        image->readMetadata();
        for (const Exiv2::Exifdatum &datum : image->exifData())
            tags.insert(
                QString::fromStdString(datum.key()), QString::fromStdString(datum.toString()));
    } catch (const std::exception &) {
    }
    return tags;
}

// "48/1 51/1 277200/10000" as degrees.
double sexagesimal(const QString &rationals)
{
    const QStringList parts = rationals.split(u' ');
    double degrees = 0;
    double unit = 1;
    for (const QString &part : parts) {
        degrees += part.section(u'/', 0, 0).toDouble() / part.section(u'/', 1, 1).toDouble() / unit;
        unit *= 60;
    }
    return degrees;
}

bool writable(const QString &format)
{
    return QImageWriter::supportedImageFormats().contains(format.toLower().toLatin1());
}

// A row of the index, whatever its file's form: the values as text, as CSV
// gives them.
using IndexRow = QMap<QString, QString>;

QList<IndexRow> readIndex(const QString &path)
{
    const QByteArray content = readFile(path);
    QList<IndexRow> rows;
    if (path.endsWith(".json")) {
        for (const QJsonValue &value : QJsonDocument::fromJson(content).array()) {
            const QJsonObject object = value.toObject();
            IndexRow row;
            for (auto it = object.begin(); it != object.end(); ++it) {
                const QJsonValue field = it.value();
                row.insert(it.key(),
                    field.isString()     ? field.toString()
                        : field.isBool() ? QString::fromLatin1(field.toBool() ? "true" : "false")
                        : field.isNull() ? QString()
                                         : QString::number(field.toDouble(), 'g', 15));
            }
            rows << row;
        }
        return rows;
    }
    const QStringList lines = QString::fromUtf8(content).split(u'\n', Qt::SkipEmptyParts);
    if (lines.isEmpty())
        return rows;
    const QStringList header = lines.first().split(u',');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringList fields = lines.at(i).split(u',');
        IndexRow row;
        for (qsizetype j = 0; j < header.size(); ++j)
            row.insert(header.at(j), fields.value(j));
        rows << row;
    }
    return rows;
}

qint64 milliseconds(const QString &secondsText)
{
    return std::llround(secondsText.toDouble() * 1000);
}

// The images a job wrote in a folder, leaving out what lies beside them.
QStringList writtenImages(const QString &folder, const QString &extension)
{
    QStringList images;
    for (const QString &name : imageFiles(folder)) {
        if (name.startsWith("frame_") && name.endsWith("." + extension))
            images << name;
    }
    return images;
}

QColor numberColour(int number)
{
    return QColor::fromHsv(number * 37 % 360, 255, 40 + number * 11 % 200);
}

} // namespace

class tst_ImageExtras : public QObject
{
    Q_OBJECT

public:
    tst_ImageExtras() { QStandardPaths::setTestModeEnabled(true); }

private slots:
    void initTestCase();
    void creationTime_readsTheContainersForms_data();
    void creationTime_readsTheContainersForms();
    void location_readsIso6709_data();
    void location_readsIso6709();
    void degreesMinutesSeconds_carriesRoundingUpwards_data();
    void degreesMinutesSeconds_carriesRoundingUpwards();
    void metadata_isInTheImagesOfFormatsWithRoomForIt_data();
    void metadata_isInTheImagesOfFormatsWithRoomForIt();
    void index_listsEachImageWithItsFrame_data();
    void index_listsEachImageWithItsFrame();
    void index_thatCannotBeWrittenFailsTheJob();
    void sheetLayout_keepsAnEvenSubsetInAGrid_data();
    void sheetLayout_keepsAnEvenSubsetInAGrid();
    void sheet_showsTheJobsFramesUpright_data();
    void sheet_showsTheJobsFramesUpright();

private:
    QString path(const QString &name) const { return dir.filePath(name); }

    QTemporaryDir dir;
};

void tst_ImageExtras::initTestCase()
{
    silenceFfmpeg();
    QVERIFY(dir.isValid());
    // As a phone records: time, place and camera in the QuickTime container.
    MAKE_CLIP({"-f", "lavfi", "-i", "testsrc2=size=64x48:rate=10", "-t", "5", "-pix_fmt", "yuv420p",
        "-metadata", "creation_time=2024-05-06T07:08:09Z", "-metadata",
        "location=+48.8577+002.2950+035.000/", "-metadata", "make=Acme", "-metadata", "model=Cam 1",
        path("tagged.mov")});
    MAKE_CLIP({"-f", "lavfi", "-i", "testsrc2=size=64x48:rate=10", "-t", "5", "-pix_fmt", "yuv420p",
        "-fflags", "+bitexact", path("plain.mov")});
    // Frame i has the luma 16 + 3i; a keyframe every fifth frame, 10 s at 5 fps.
    MAKE_CLIP({"-f", "lavfi", "-i", countingSource("5"), "-frames:v", "50", "-c:v", "libx264",
        "-qp", "0", "-g", "5", "-sc_threshold", "0", "-pix_fmt", "yuv420p", path("counting.mp4")});
    // Grey, then a cut to blue at 1 s, then to red at 2 s.
    MAKE_CLIP({"-f", "lavfi", "-i",
        "color=c=gray:s=64x48:r=10:d=1[a];color=c=blue:s=64x48:r=10:d=1[b];"
        "color=c=red:s=64x48:r=10:d=1[c];[a][b][c]concat=n=3",
        "-pix_fmt", "yuv420p", path("cuts.mp4")});
    // Stored on its side: a player turns it a quarter, so that it shows
    // portrait. Newer ffmpeg programs take the turn as an input option, older
    // ones only as the rotate tag of a copy.
    MAKE_CLIP({"-f", "lavfi", "-i", countingSource("5", 64, 32), "-frames:v", "3", "-c:v",
        "libx264", "-qp", "0", "-pix_fmt", "yuv420p", path("lying.mp4")});
    if (!ffmpeg(
            {"-display_rotation", "90", "-i", path("lying.mp4"), "-c", "copy", path("turned.mp4")})
             .isEmpty()) {
        MAKE_CLIP({"-i", path("lying.mp4"), "-c", "copy", "-metadata:s:v:0", "rotate=90",
            path("turned.mp4")});
    }
}

void tst_ImageExtras::creationTime_readsTheContainersForms_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("utc"); // ISO with milliseconds; empty for none

    QTest::newRow("FFmpeg's form, microseconds and Z") << "2024-05-06T07:08:09.000000Z"
                                                       << "2024-05-06T07:08:09.000Z";
    QTest::newRow("milliseconds kept") << "2024-05-06T07:08:09.25Z"
                                       << "2024-05-06T07:08:09.250Z";
    QTest::newRow("no zone: UTC") << "2024-05-06 07:08:09"
                                  << "2024-05-06T07:08:09.000Z";
    QTest::newRow("an offset east is earlier in UTC") << "2024-05-06T07:08:09+02:00"
                                                      << "2024-05-06T05:08:09.000Z";
    QTest::newRow("an offset west without a colon, across midnight") << "2024-05-06T23:30:00-0130"
                                                                     << "2024-05-07T01:00:00.000Z";
    QTest::newRow("QuickTime's zero: no time") << "1904-01-01T00:00:00.000000Z"
                                               << "";
    QTest::newRow("Unix's zero: no time") << "1970-01-01T00:00:00.000000Z"
                                          << "";
    QTest::newRow("a date alone") << "2024-05-06"
                                  << "";
    QTest::newRow("no such month") << "2024-13-06T07:08:09Z"
                                   << "";
    QTest::newRow("nothing") << ""
                             << "";
}

void tst_ImageExtras::creationTime_readsTheContainersForms()
{
    QFETCH(QString, text);
    QFETCH(QString, utc);
    const QDateTime parsed = CaptureMetadata::parseCreationTime(text);
    QCOMPARE(parsed.isValid() ? parsed.toUTC().toString(Qt::ISODateWithMs) : QString(), utc);
}

void tst_ImageExtras::location_readsIso6709_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");
    QTest::addColumn<double>("altitude"); // NaN for none

    const double none = std::nan("");
    QTest::newRow("a phone's, with altitude")
        << "+48.8577+002.2950+035.000/" << true << 48.8577 << 2.295 << 35.0;
    QTest::newRow("no altitude") << "+48.8577+002.2950/" << true << 48.8577 << 2.295 << none;
    QTest::newRow("south and west, below sea level")
        << "-22.9068-043.1729-012.5/" << true << -22.9068 << -43.1729 << -12.5;
    QTest::newRow("degrees and minutes")
        << "+4851.462+00217.700/" << true << 48.8577 << 2.295 << none;
    QTest::newRow("degrees, minutes and seconds")
        << "+485127.72+0021742.00/" << true << 48.8577 << 2.295 << none;
    QTest::newRow("with a reference system, no solidus")
        << "+48.8577+002.2950+35CRSWGS_84" << true << 48.8577 << 2.295 << 35.0;
    QTest::newRow("past the pole") << "+91.0000+002.0000/" << false << 0.0 << 0.0 << none;
    QTest::newRow("sixty minutes") << "+4860.000+00217.700/" << false << 0.0 << 0.0 << none;
    QTest::newRow("a longitude of two digits")
        << "+48.8577+02.2950/" << false << 0.0 << 0.0 << none;
    QTest::newRow("a name") << "Paris" << false << 0.0 << 0.0 << none;
}

void tst_ImageExtras::location_readsIso6709()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(double, latitude);
    QFETCH(double, longitude);
    QFETCH(double, altitude);

    const std::optional<GeoLocation> place = CaptureMetadata::parseIso6709(text);
    QCOMPARE(place.has_value(), valid);
    if (!place)
        return;
    QVERIFY2(std::abs(place->latitude - latitude) < 1e-6,
        qPrintable(QString::number(place->latitude, 'f', 8)));
    QVERIFY2(std::abs(place->longitude - longitude) < 1e-6,
        qPrintable(QString::number(place->longitude, 'f', 8)));
    QCOMPARE(place->altitude.has_value(), !std::isnan(altitude));
    if (place->altitude)
        QCOMPARE(*place->altitude, altitude);
}

void tst_ImageExtras::degreesMinutesSeconds_carriesRoundingUpwards_data()
{
    QTest::addColumn<double>("degrees");
    QTest::addColumn<QString>("rationals");

    QTest::newRow("Paris") << 48.8577 << "48/1 51/1 277200/10000";
    QTest::newRow("the sign is the reference's") << -2.295 << "2/1 17/1 420000/10000";
    QTest::newRow("a hair below a whole degree") << 59.9999999999 << "60/1 0/1 0/10000";
}

void tst_ImageExtras::degreesMinutesSeconds_carriesRoundingUpwards()
{
    QFETCH(double, degrees);
    QFETCH(QString, rationals);
    QCOMPARE(ExifWriter::degreesMinutesSeconds(degrees), rationals);
}

void tst_ImageExtras::metadata_isInTheImagesOfFormatsWithRoomForIt_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("clip");
    QTest::addColumn<bool>("metadata");
    QTest::addColumn<bool>("tagged");

    QTest::newRow("JPG") << "JPG"
                         << "tagged.mov" << true << true;
    QTest::newRow("PNG") << "PNG"
                         << "tagged.mov" << true << true;
    QTest::newRow("WebP") << "WebP"
                          << "tagged.mov" << true << true;
    QTest::newRow("TIFF") << "TIFF"
                          << "tagged.mov" << true << true;
    QTest::newRow("BMP has no place for it") << "BMP"
                                             << "tagged.mov" << true << false;
    QTest::newRow("PPM has no place for it") << "PPM"
                                             << "tagged.mov" << true << false;
    QTest::newRow("JPG with metadata off") << "JPG"
                                           << "tagged.mov" << false << false;
    QTest::newRow("WebP with metadata off") << "WebP"
                                            << "tagged.mov" << false << false;
    QTest::newRow("JPG of a clip that says nothing") << "JPG"
                                                     << "plain.mov" << true << false;
}

void tst_ImageExtras::metadata_isInTheImagesOfFormatsWithRoomForIt()
{
    QFETCH(QString, format);
    QFETCH(QString, clip);
    QFETCH(bool, metadata);
    QFETCH(bool, tagged);
    if (!writable(format))
        QSKIP("Qt has no writer for this format here");

    ExtractionJob job;
    job.videoPath = path(clip);
    job.outputPath = path("metadata");
    QDir(job.outputPath).removeRecursively();
    job.format = format;
    job.selection.mode = FrameSelection::Mode::EverySeconds;
    job.selection.everySeconds = 2;
    job.captureMetadata = metadata;
    QCOMPARE(runJob(job).constLast(), QStringLiteral("finished"));

    const QStringList images = writtenImages(job.outputPath, format.toLower());
    QCOMPARE(images.size(), 3);
    for (const QString &image : images) {
        // The metadata leaves the picture as it was.
        const QString file = QDir(job.outputPath).filePath(image);
        QCOMPARE(QImage(file).size(), QSize(64, 48));
    }
    const QMap<QString, QString> exif = exifOf(QDir(job.outputPath).filePath(images.at(1)));
    if (!tagged) {
        for (const char *key : {"Exif.Photo.DateTimeOriginal", "Exif.GPSInfo.GPSLatitude",
                 "Exif.GPSInfo.GPSLongitude", "Exif.Image.Make"}) {
            QVERIFY2(!exif.contains(key), key);
        }
        return;
    }
    // The clip's creation time plus the second image's 2 s, in UTC.
    QCOMPARE(exif.value("Exif.Photo.DateTimeOriginal"), "2024:05:06 07:08:11");
    QCOMPARE(exif.value("Exif.Photo.SubSecTimeOriginal"), "000");
    QCOMPARE(exif.value("Exif.Photo.OffsetTimeOriginal"), "+00:00");
    QCOMPARE(exif.value("Exif.GPSInfo.GPSLatitudeRef"), "N");
    QCOMPARE(exif.value("Exif.GPSInfo.GPSLongitudeRef"), "E");
    QVERIFY(std::abs(sexagesimal(exif.value("Exif.GPSInfo.GPSLatitude")) - 48.8577) < 1e-6);
    QVERIFY(std::abs(sexagesimal(exif.value("Exif.GPSInfo.GPSLongitude")) - 2.2950) < 1e-6);
    QCOMPARE(exif.value("Exif.GPSInfo.GPSAltitudeRef"), "0");
    QCOMPARE(sexagesimal(exif.value("Exif.GPSInfo.GPSAltitude")), 35.0);
    QCOMPARE(exif.value("Exif.Image.Make"), "Acme");
    QCOMPARE(exif.value("Exif.Image.Model"), "Cam 1");
    // Each image its own time: the first at the creation time itself.
    QCOMPARE(
        exifOf(QDir(job.outputPath).filePath(images.at(0))).value("Exif.Photo.DateTimeOriginal"),
        "2024:05:06 07:08:09");
}

void tst_ImageExtras::index_listsEachImageWithItsFrame_data()
{
    QTest::addColumn<QString>("clip");
    QTest::addColumn<IndexFormat>("format");
    QTest::addColumn<FrameSelection>("selection");
    QTest::addColumn<bool>("timeInNames");
    QTest::addColumn<int>("images");
    // Whether the images show the counting clip's frames, whose number can
    // be read from their brightness.
    QTest::addColumn<bool>("counting");
    QTest::addColumn<bool>("scored");

    // A new job's selection, with the table's values for the modes not chosen.
    const FrameSelection defaults = ExtractionJob().selection;
    const auto every = [&defaults](double seconds) {
        FrameSelection selection = defaults;
        selection.mode = FrameSelection::Mode::EverySeconds;
        selection.everySeconds = seconds;
        return selection;
    };
    QTest::newRow("every 2 s with the times in the names, CSV")
        << "counting.mp4" << IndexFormat::Csv << every(2) << true << 5 << true << false;
    QTest::newRow("every 2 s with the times in the names, JSON")
        << "counting.mp4" << IndexFormat::Json << every(2) << true << 5 << true << false;
    QTest::newRow("every 1.4 s, seeking between keyframes and others")
        << "counting.mp4" << IndexFormat::Csv << every(1.4) << true << 8 << true << false;

    FrameSelection keyframes = defaults;
    keyframes.mode = FrameSelection::Mode::Keyframes;
    QTest::newRow("keyframes only, decoded without the others")
        << "counting.mp4" << IndexFormat::Json << keyframes << false << 10 << true << false;

    FrameSelection range = defaults;
    range.frameRate = 5;
    range.startSeconds = 3.2;
    range.endSeconds = 6;
    QTest::newRow("every frame of a range reached by a seek")
        << "counting.mp4" << IndexFormat::Csv << range << true << 14 << true << false;

    FrameSelection scenes = defaults;
    scenes.mode = FrameSelection::Mode::SceneChanges;
    QTest::newRow("scene changes with their scores")
        << "cuts.mp4" << IndexFormat::Json << scenes << true << 3 << false << true;
}

void tst_ImageExtras::index_listsEachImageWithItsFrame()
{
    QFETCH(QString, clip);
    QFETCH(IndexFormat, format);
    QFETCH(FrameSelection, selection);
    QFETCH(bool, timeInNames);
    QFETCH(int, images);
    QFETCH(bool, counting);
    QFETCH(bool, scored);

    ExtractionJob job;
    job.videoPath = path(clip);
    job.outputPath = path("index");
    QDir(job.outputPath).removeRecursively();
    job.format = "PNG";
    job.selection = selection;
    job.timeInNames = timeInNames;
    job.index = format;
    QCOMPARE(runJob(job).constLast(), QStringLiteral("finished"));

    const QStringList files = writtenImages(job.outputPath, "png");
    QCOMPARE(files.size(), images);
    const QString indexPath = QDir(job.outputPath).filePath(ImageIndex::fileName(format));
    const QList<IndexRow> rows = readIndex(indexPath);
    QCOMPARE(rows.size(), files.size());
    const QRegularExpression timeInName(QStringLiteral("_(\\d+)-(\\d+)-(\\d+)\\.(\\d{3})\\.png$"));
    for (int i = 0; i < rows.size(); ++i) {
        const IndexRow &row = rows.at(i);
        const QString context = QStringLiteral("row %1: ").arg(i + 1) + files.at(i);
        QCOMPARE(row.value("file"), files.at(i));
        QCOMPARE(row.value("image").toInt(), i + 1);
        const qint64 ms = milliseconds(row.value("time"));
        if (timeInNames) {
            const QRegularExpressionMatch match = timeInName.match(files.at(i));
            QVERIFY2(match.hasMatch(), qPrintable(context));
            const qint64 named
                = ((match.captured(1).toLongLong() * 60 + match.captured(2).toInt()) * 60
                      + match.captured(3).toInt())
                    * 1000
                + match.captured(4).toInt();
            QCOMPARE(ms, named);
        }
        const QImage image(QDir(job.outputPath).filePath(files.at(i)));
        QCOMPARE(row.value("width").toInt(), image.width());
        QCOMPARE(row.value("height").toInt(), image.height());
        // 5 fps in the counting clip, 10 in the cuts: the frame shown then.
        const int rate = counting ? 5 : 10;
        const qint64 frame = row.value("frame").toLongLong();
        QCOMPARE(frame, qint64(std::llround(ms * rate / 1000.0)) + 1);
        if (counting) {
            QCOMPARE(countingFrameIndex(image) + 1, frame);
            QCOMPARE(row.value("keyframe"), (frame - 1) % 5 == 0 ? "true" : "false");
        }
        // The first shot is taken for being the first, with nothing to compare.
        const bool hasScore = scored && i > 0;
        QVERIFY2(row.value("score").isEmpty() != hasScore, qPrintable(context));
        if (hasScore)
            QVERIFY2(row.value("score").toDouble() > 0.3, qPrintable(row.value("score")));
    }
    // Replaced in one step: no temporary file is left beside it.
    QCOMPARE(QDir(job.outputPath).entryList(QDir::Files).size(), files.size() + 1);
}

void tst_ImageExtras::index_thatCannotBeWrittenFailsTheJob()
{
    ExtractionJob job;
    job.videoPath = path("counting.mp4");
    job.outputPath = path("blocked");
    job.selection.frameRate = 1;
    job.index = IndexFormat::Csv;
    // A folder where the index goes.
    QVERIFY(QDir().mkpath(QDir(job.outputPath).filePath("index.csv")));

    const QStringList events = runJob(job);
    QCOMPARE(events.constLast(),
        "error "
            + outcomeMessage(Outcome::CannotWrite, QDir(job.outputPath).filePath("index.csv")));
    // The images themselves are written all the same.
    QCOMPARE(writtenImages(job.outputPath, "jpg"), numberedImages(10, "jpg"));
}

void tst_ImageExtras::sheetLayout_keepsAnEvenSubsetInAGrid_data()
{
    QTest::addColumn<int>("images");
    QTest::addColumn<int>("shown");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");

    QTest::newRow("1 image: one cell, the header's width") << 1 << 1 << 1 << 1;
    QTest::newRow("10 images: eight across") << 10 << 10 << 8 << 2;
    QTest::newRow("1000 images: every fourth") << 1000 << 250 << 8 << 32;
}

void tst_ImageExtras::sheetLayout_keepsAnEvenSubsetInAGrid()
{
    QFETCH(int, images);
    QFETCH(int, shown);
    QFETCH(int, columns);
    QFETCH(int, rows);

    ContactSheet::Video video;
    video.name = "clip.mp4";
    ContactSheet sheet(video);
    const QSize thumbnail(ContactSheet::thumbnailWidth, 135);
    // Out of order, as several writers finish them.
    for (int i = images; i >= 1; --i) {
        if (!sheet.wants(i))
            continue;
        QImage picture(thumbnail, QImage::Format_RGB888);
        picture.fill(numberColour(i));
        sheet.add(i, i * 100, picture);
    }

    const QList<int> kept = sheet.shownImages(images);
    QCOMPARE(kept.size(), shown);
    const int step = images / shown;
    for (int i = 0; i < kept.size(); ++i)
        QCOMPARE(kept.at(i), 1 + i * step);

    const ContactSheet::Layout layout = ContactSheet::layout(shown, thumbnail);
    QCOMPARE(layout.columns, columns);
    QCOMPARE(layout.rows, rows);
    QVERIFY(layout.thumbnail.width() >= 200 && layout.thumbnail.width() <= 320);
    QVERIFY(layout.sheet.width() >= 800);
    const QImage drawn = sheet.draw(images);
    QCOMPARE(drawn.size(), layout.sheet);
    // Each cell inside the sheet, clear of the header and of the one before,
    // showing its own image.
    for (int i = 0; i < shown; ++i) {
        const QRect cell = layout.cell(i);
        QVERIFY(QRect(QPoint(0, 0), layout.sheet).contains(cell));
        QVERIFY(cell.top() >= ContactSheet::Layout::headerHeight);
        if (i > 0)
            QVERIFY(!cell.intersects(layout.cell(i - 1)));
        const QColor colour = drawn.pixelColor(cell.center());
        QVERIFY2(near(colour, numberColour(kept.at(i)), 2),
            qPrintable(QString::number(kept.at(i)) + ": " + describe(colour)));
    }
}

void tst_ImageExtras::sheet_showsTheJobsFramesUpright_data()
{
    QTest::addColumn<QString>("clip");
    QTest::addColumn<int>("images");
    QTest::addColumn<QSize>("thumbnail");

    QTest::newRow("10 frames, one a second") << "counting.mp4" << 10 << QSize(240, 240);
    QTest::newRow("stored on its side, shown portrait") << "turned.mp4" << 3 << QSize(240, 480);
}

void tst_ImageExtras::sheet_showsTheJobsFramesUpright()
{
    QFETCH(QString, clip);
    QFETCH(int, images);
    QFETCH(QSize, thumbnail);

    ExtractionJob job;
    job.videoPath = path(clip);
    job.outputPath = path("sheet");
    QDir(job.outputPath).removeRecursively();
    job.selection.mode = FrameSelection::Mode::EverySeconds;
    job.selection.everySeconds = clip == "turned.mp4" ? 0.1 : 1;
    job.contactSheet = true;
    QCOMPARE(runJob(job).constLast(), QStringLiteral("finished"));

    // A JPEG beside JPEG images, but not one of them: a name no image of the
    // job can have, which comes first in name order.
    QCOMPARE(ImageNaming::firstExistingImage(job),
        QDir(job.outputPath).filePath(numberedImages(1, "jpg").first()));
    QCOMPARE(writtenImages(job.outputPath, "jpg"), numberedImages(images, "jpg"));
    const QImage sheet(QDir(job.outputPath).filePath(ContactSheet::fileName()));
    QVERIFY(!sheet.isNull());
    QVERIFY(sheet.width() >= 800);
    const ContactSheet::Layout layout = ContactSheet::layout(images, thumbnail);
    QCOMPARE(sheet.size(), layout.sheet);
    for (int i = 0; i < images; ++i) {
        // Each cell as bright as its image: the frames in their order.
        const QImage image(QDir(job.outputPath).filePath(numberedImages(i + 1, "jpg").last()));
        const QImage cell = sheet.copy(layout.cell(i).adjusted(4, 4, -4, -4));
        QVERIFY2(qAbs(meanGray(cell) - meanGray(image)) < 4,
            qPrintable(QStringLiteral("image %1: %2 against %3")
                           .arg(i + 1)
                           .arg(meanGray(cell))
                           .arg(meanGray(image))));
    }
}

QTEST_MAIN(tst_ImageExtras)
#include "tst_imageextras.moc"

#include "contactsheet.h"

#include "colourrules.h"
#include "orientation.h"

#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>

#include <cmath>

extern "C" {
#include <libavutil/pixdesc.h>
}

namespace {

// A label's time: hours, minutes, seconds and milliseconds.
QString clockText(qint64 milliseconds)
{
    const qint64 ms = qMax<qint64>(0, milliseconds);
    return QStringLiteral("%1:%2:%3.%4")
        .arg(ms / 3600000)
        .arg(ms / 60000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms % 1000, 3, 10, QLatin1Char('0'));
}

// Text needs the font database, which only a QGuiApplication has; without
// one the sheet goes without its words rather than stopping the program.
bool canDrawText()
{
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr;
}

QFont fontOfSize(int pixels, bool bold = false)
{
    QFont font;
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

} // namespace

QRect ContactSheet::Layout::cell(int index) const
{
    const int column = columns > 0 ? index % columns : 0;
    const int row = columns > 0 ? index / columns : 0;
    return QRect(margin + column * (thumbnail.width() + gap),
        headerHeight + row * (thumbnail.height() + labelHeight + gap), thumbnail.width(),
        thumbnail.height());
}

ContactSheet::Layout ContactSheet::layout(int shown, QSize thumbnail)
{
    Layout result;
    if (shown <= 0 || thumbnail.isEmpty())
        return result;
    result.thumbnail = thumbnail;
    result.columns = qMin(shown, maxColumns);
    result.rows = (shown + result.columns - 1) / result.columns;
    const int gridWidth = 2 * Layout::margin + result.columns * thumbnail.width()
        + (result.columns - 1) * Layout::gap;
    const int gridHeight = result.rows * (thumbnail.height() + Layout::labelHeight)
        + (result.rows - 1) * Layout::gap;
    result.sheet = QSize(qMax(gridWidth, int(Layout::minimumWidth)),
        Layout::headerHeight + gridHeight + Layout::margin);
    return result;
}

ContactSheet::ContactSheet(const Video &video)
    : video(video)
{
}

bool ContactSheet::wants(int number) const
{
    std::lock_guard locker(mutex);
    return number >= 1 && (number - 1) % stride == 0;
}

void ContactSheet::add(int number, qint64 milliseconds, const QImage &thumbnail)
{
    if (thumbnail.isNull())
        return;
    std::lock_guard locker(mutex);
    if (number < 1 || (number - 1) % stride != 0)
        return;
    kept[number] = Thumbnail {milliseconds, thumbnail};
    // Full: every other one of those kept goes, and so do the ones to come.
    while (int(kept.size()) > capacity) {
        stride *= 2;
        for (auto it = kept.begin(); it != kept.end();)
            it = (it->first - 1) % stride != 0 ? kept.erase(it) : std::next(it);
    }
}

QList<int> ContactSheet::shownImages(int count) const
{
    std::lock_guard locker(mutex);
    QList<int> shown;
    for (const auto &[number, thumbnail] : kept) {
        if (number > count)
            break;
        shown << number;
    }
    return shown;
}

QImage ContactSheet::draw(int count) const
{
    std::map<int, Thumbnail> pictures;
    {
        std::lock_guard locker(mutex);
        for (const auto &[number, thumbnail] : kept) {
            if (number > count)
                break;
            pictures.emplace(number, thumbnail);
        }
    }
    if (pictures.empty())
        return QImage();

    // The cells fit the largest thumbnail; a stream that changes size has
    // smaller ones centred in theirs.
    QSize cellSize;
    for (const auto &[number, thumbnail] : pictures)
        cellSize = cellSize.expandedTo(thumbnail.picture.size());
    const Layout grid = layout(int(pictures.size()), cellSize);

    QImage sheet(grid.sheet, QImage::Format_RGB32);
    if (sheet.isNull())
        return QImage();
    sheet.fill(QColor(0x20, 0x20, 0x20));
    QPainter painter(&sheet);
    const bool words = canDrawText();

    if (words) {
        painter.setPen(Qt::white);
        painter.setFont(fontOfSize(22, true));
        const QRect titleBox(
            Layout::margin, Layout::margin / 2, grid.sheet.width() - 2 * Layout::margin, 34);
        painter.drawText(titleBox, Qt::AlignLeft | Qt::AlignVCenter,
            painter.fontMetrics().elidedText(video.name, Qt::ElideMiddle, titleBox.width()));

        QStringList facts;
        if (video.durationMs >= 0)
            facts << tr("时长 %1").arg(clockText(video.durationMs));
        if (!video.size.isEmpty())
            facts << QStringLiteral("%1 × %2").arg(video.size.width()).arg(video.size.height());
        if (!video.codec.isEmpty())
            facts << video.codec;
        facts << tr("图片 %1 张").arg(count);
        if (int(pictures.size()) < count)
            facts << tr("显示其中均匀分布的 %1 张").arg(pictures.size());
        painter.setPen(QColor(0xd0, 0xd0, 0xd0));
        painter.setFont(fontOfSize(15));
        painter.drawText(QRect(Layout::margin, Layout::margin / 2 + 38,
                             grid.sheet.width() - 2 * Layout::margin, 24),
            Qt::AlignLeft | Qt::AlignVCenter, facts.join(QStringLiteral("  ·  ")));
        painter.setFont(fontOfSize(14));
    }

    int index = 0;
    for (const auto &[number, thumbnail] : pictures) {
        const QRect cell = grid.cell(index++);
        const QSize size = thumbnail.picture.size();
        painter.drawImage(QPoint(cell.x() + (cell.width() - size.width()) / 2,
                              cell.y() + (cell.height() - size.height()) / 2),
            thumbnail.picture);
        if (words) {
            painter.setPen(QColor(0xe0, 0xe0, 0xe0));
            painter.drawText(QRect(cell.x(), cell.bottom() + 1, cell.width(), Layout::labelHeight),
                Qt::AlignCenter,
                QStringLiteral("#%1  %2").arg(number).arg(clockText(thumbnail.milliseconds)));
        }
    }
    painter.end();
    return sheet;
}

bool ContactSheet::write(const QString &path, int count) const
{
    const QImage sheet = draw(count);
    if (sheet.isNull())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&file, "JPG");
    writer.setQuality(85);
    if (!writer.write(sheet)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QImage ThumbnailScaler::scale(const AVFrame *frame, const QTransform &orientation, int width)
{
    if (!frame || frame->width <= 0 || frame->height <= 0 || width <= 0)
        return QImage();
    const auto format = AVPixelFormat(frame->format);
    const AVPixFmtDescriptor *descriptor = av_pix_fmt_desc_get(format);
    if (!descriptor || (descriptor->flags & AV_PIX_FMT_FLAG_HWACCEL))
        return QImage();

    // The picture as shown: square pixels, then turned; a quarter turn swaps
    // the sides.
    const int shownWidth = Picture::squarePixelWidth(frame->width, frame->sample_aspect_ratio);
    const bool quarterTurn = qFuzzyIsNull(orientation.m11()) && !orientation.isIdentity();
    const QSize upright
        = quarterTurn ? QSize(frame->height, shownWidth) : QSize(shownWidth, frame->height);
    // Extreme shapes are squeezed rather than made into huge thumbnails.
    const int height = qBound(
        8, int(std::lround(double(width) * upright.height() / upright.width())), 4 * width);
    const QSize scaled = quarterTurn ? QSize(height, width) : QSize(width, height);

    // Averaging areas: as smooth as a bilinear filter at these ratios, at
    // about half its cost.
    scaler.reset(sws_getCachedContext(scaler.release(), frame->width, frame->height, format,
        scaled.width(), scaled.height(), AV_PIX_FMT_RGB24, SWS_AREA, nullptr, nullptr, nullptr));
    if (!scaler)
        return QImage();
    if (!(descriptor->flags & AV_PIX_FMT_FLAG_RGB) && descriptor->nb_components >= 3) {
        const int *coefficients
            = sws_getCoefficients(Picture::swsColorspace(frame->colorspace, frame->height));
        sws_setColorspaceDetails(scaler.get(), coefficients,
            Picture::isFullRange(frame->color_range, format) ? 1 : 0, coefficients, 1, 0, 1 << 16,
            1 << 16);
    }

    // Padded, aligned rows, as the converter's: swscale's vector code writes
    // whole blocks past a row's last pixel.
    if (!picture || picture->width != scaled.width() || picture->height != scaled.height()) {
        picture.reset(av_frame_alloc());
        if (!picture)
            return QImage();
        picture->format = AV_PIX_FMT_RGB24;
        picture->width = scaled.width();
        picture->height = scaled.height();
        if (av_frame_get_buffer(picture.get(), 64) < 0) {
            picture.reset();
            return QImage();
        }
    }
    if (sws_scale(scaler.get(), frame->data, frame->linesize, 0, frame->height, picture->data,
            picture->linesize)
        <= 0) {
        return QImage();
    }
    // A copy of its own: the buffer is reused for the next frame.
    const QImage thumbnail = QImage(picture->data[0], scaled.width(), scaled.height(),
        picture->linesize[0], QImage::Format_RGB888)
                                 .copy();
    return orientation.isIdentity() ? thumbnail : thumbnail.transformed(orientation);
}

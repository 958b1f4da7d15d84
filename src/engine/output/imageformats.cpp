#include "imageformats.h"

#include <algorithm>

namespace ImageFormats {

QStringList buildFormatList(const QList<QByteArray> &writerNames)
{
    static const char *const offered[]
        = {"JPG", "JPEG", "PNG", "BMP", "WebP", "TIFF", "PPM", "TGA"};
    QStringList formats;
    for (const char *name : offered) {
        const QString format = QString::fromLatin1(name);
        const bool writable = std::any_of(
            writerNames.cbegin(), writerNames.cend(), [&format](const QByteArray &writer) {
                return QString::fromUtf8(writer).compare(format, Qt::CaseInsensitive) == 0;
            });
        if (writable)
            formats << format;
    }
    return formats;
}

QByteArray writerFormatName(const QString &format)
{
    return format.toUpper().toUtf8();
}

int pngCompressionFromQuality(int quality)
{
    const int level = quality * 9 / 100;
    return level > 9 ? 9 : level;
}

} // namespace ImageFormats

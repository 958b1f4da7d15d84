#ifndef IMAGEFORMATS_H
#define IMAGEFORMATS_H

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace ImageFormats {

// The offered output formats, in a fixed order, among those `writerNames` (as the image
// writer lists them) can write. A name is offered once, in its fixed letter case.
QStringList buildFormatList(const QList<QByteArray> &writerNames);

// The format name handed to the image writer: the format in upper case.
QByteArray writerFormatName(const QString &format);

// Qt's PNG writer reads its quality as a compression level from 0 to 9.
int pngCompressionFromQuality(int quality);

} // namespace ImageFormats

#endif // IMAGEFORMATS_H

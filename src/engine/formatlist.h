#ifndef FORMATLIST_H
#define FORMATLIST_H

#include <QByteArray>
#include <QList>
#include <QStringList>

// The offered output formats, in a fixed order, among those `writerNames` (as the image
// writer lists them) can write. A name is offered once, in its fixed letter case.
QStringList buildFormatList(const QList<QByteArray> &writerNames);

#endif // FORMATLIST_H

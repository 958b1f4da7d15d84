#ifndef TIMEFIELD_H
#define TIMEFIELD_H

#include <QString>

#include <optional>

// A time field's text in milliseconds. Accepted, with surrounding blanks:
// "h:mm:ss", "m:ss" and plain seconds "ss", each with up to three decimals
// after a dot ("1:05:20.250", "1:20", "85.5"). Hours and the leading
// minutes or seconds may have any number of digits (up to nine), the other
// fields one or two digits below 60. Nothing for anything else, negatives and
// the empty text included.
std::optional<qint64> parseTimeField(const QString &text);

// "h:mm:ss.zzz", the form the time fields show; hours do not wrap, negative
// times show as zero.
QString formatTimeField(qint64 milliseconds);

#endif // TIMEFIELD_H

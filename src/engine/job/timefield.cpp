#include "timefield.h"

#include <QRegularExpression>

#include <algorithm>

std::optional<qint64> parseTimeField(const QString &text)
{
    static const QRegularExpression form(QStringLiteral(
        R"(^(?:(?:([0-9]{1,9}):([0-9]{1,2})|([0-9]{1,9})):([0-9]{1,2})|([0-9]{1,9}))(?:\.([0-9]{1,3}))?$)"));
    const QRegularExpressionMatch match = form.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;

    const auto field = [&match](int group) {
        return match.captured(group).toLongLong();
    };
    qint64 seconds = 0;
    if (match.hasCaptured(5)) {
        seconds = field(5);
    } else {
        const qint64 hours = field(1);
        const qint64 minutes = match.hasCaptured(2) ? field(2) : field(3);
        const qint64 secs = field(4);
        if (secs >= 60 || (match.hasCaptured(2) && minutes >= 60))
            return std::nullopt;
        seconds = (hours * 60 + minutes) * 60 + secs;
    }
    // "85.5" is 85 s and 500 ms: the decimals are padded to milliseconds.
    const qint64 fraction = match.captured(6).leftJustified(3, u'0').toLongLong();
    return seconds * 1000 + fraction;
}

QString formatTimeField(qint64 milliseconds)
{
    const qint64 ms = std::max<qint64>(milliseconds, 0);
    return QStringLiteral("%1:%2:%3.%4")
        .arg(ms / 3600000)
        .arg(ms / 60000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms % 1000, 3, 10, QLatin1Char('0'));
}

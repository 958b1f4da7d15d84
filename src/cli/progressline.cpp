#include "progressline.h"

#include <QFileInfo>

namespace {

constexpr int barWidth = 16;
constexpr int nameColumns = 20;
constexpr qint64 terminalIntervalMs = 100;
constexpr qint64 plainIntervalMs = 1000;

QString clock(double seconds)
{
    const qint64 whole = qint64(seconds + 0.5);
    return QStringLiteral("%1:%2:%3")
        .arg(whole / 3600)
        .arg(whole / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(whole % 60, 2, 10, QLatin1Char('0'));
}

// The name shortened in the middle to fit `width` columns.
QString elided(const QString &name, int width)
{
    if (ProgressLine::columns(name) <= width)
        return name;
    QString head;
    QString tail;
    int left = 0;
    int right = int(name.size()) - 1;
    bool front = true;
    while (left <= right) {
        const QString next = front ? name.mid(left, 1) : name.mid(right, 1);
        if (ProgressLine::columns(head + tail + next) + 3 > width)
            break;
        if (front) {
            head += next;
            ++left;
        } else {
            tail.prepend(next);
            --right;
        }
        front = !front;
    }
    return head + QStringLiteral("...") + tail;
}

void write(FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

} // namespace

ProgressLine::ProgressLine(FILE *stream, bool terminal)
    : stream(stream)
    , terminal(terminal)
{
}

int ProgressLine::columns(const QString &text)
{
    int count = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool wide = (u >= 0x1100 && u <= 0x115F) || (u >= 0x2E80 && u <= 0xA4CF)
            || (u >= 0xAC00 && u <= 0xD7A3) || (u >= 0xF900 && u <= 0xFAFF)
            || (u >= 0xFE30 && u <= 0xFE4F) || (u >= 0xFF00 && u <= 0xFF60)
            || (u >= 0xFFE0 && u <= 0xFFE6);
        count += c.isLowSurrogate() ? 0 : (wide ? 2 : 1);
    }
    return count;
}

QString ProgressLine::text(const QString &label, int images, int totalImages, double seconds)
{
    QString line = label;
    if (totalImages > 0) {
        const int filled = int(qint64(qMin(images, totalImages)) * barWidth / totalImages);
        line += QStringLiteral(" [%1%2] %3/%4")
                    .arg(QString(filled, u'#'), QString(barWidth - filled, u'-'))
                    .arg(images)
                    .arg(totalImages);
    } else {
        line += QStringLiteral(" %1").arg(images);
    }
    if (seconds > 0) {
        const double rate = images / seconds;
        line += u' ' + tr("%1 张/秒").arg(rate, 0, 'f', 1);
        if (totalImages > 0 && rate > 0)
            line += u' ' + tr("剩余 %1").arg(clock(qMax(0, totalImages - images) / rate));
    }
    return line;
}

void ProgressLine::startVideo(int index, int count, const QString &videoPath)
{
    breakLine();
    label = QStringLiteral("[%1/%2] %3")
                .arg(index + 1)
                .arg(count)
                .arg(elided(QFileInfo(videoPath).fileName(), nameColumns));
    images = 0;
    totalImages = 0;
    videoClock.start();
    drawClock.invalidate();
}

void ProgressLine::update(int written, int total)
{
    images = written;
    totalImages = total;
    draw(false);
}

void ProgressLine::finishVideo()
{
    draw(true);
    breakLine();
}

void ProgressLine::breakLine()
{
    if (drawnColumns > 0)
        write(stream, QStringLiteral("\n"));
    drawnColumns = 0;
}

void ProgressLine::clear()
{
    if (drawnColumns > 0)
        write(stream, u'\r' + QString(drawnColumns, u' ') + u'\r');
    drawnColumns = 0;
}

void ProgressLine::draw(bool force)
{
    if (!force && drawClock.isValid()
        && drawClock.elapsed() < (terminal ? terminalIntervalMs : plainIntervalMs)) {
        return;
    }
    drawClock.start();
    const QString line = text(label, images, totalImages, videoClock.elapsed() / 1000.0);
    if (!terminal) {
        write(stream, line + u'\n');
        return;
    }
    const int width = columns(line);
    // Blanks over what is left of a longer line before.
    write(stream, u'\r' + line + QString(qMax(0, drawnColumns - width), u' '));
    drawnColumns = width;
}

#include "windowrules.h"

#include <QFile>
#include <QMimeDatabase>
#include <QSet>
#include <QtTest>

#include <algorithm>

class tst_WindowRules : public QObject
{
    Q_OBJECT

private slots:
    void clockTime_showsWholeSecondsWrappingAtADay_data();
    void clockTime_showsWholeSecondsWrappingAtADay();
    void timeField_parsesTheAcceptedForms_data();
    void timeField_parsesTheAcceptedForms();
    void timeField_formatsWhatItParses_data();
    void timeField_formatsWhatItParses();
    void frameTime_showsMillisecondsWrappingAtADay_data();
    void frameTime_showsMillisecondsWrappingAtADay();
    void previewShape_isTheImagesTurnedAsThePlayerTurnedIt_data();
    void previewShape_isTheImagesTurnedAsThePlayerTurnedIt();
    void fit_keepsAspectRatioAndCentres_data();
    void fit_keepsAspectRatioAndCentres();
    void formatHoldsDepth_onlyWhereTheFormatCanStoreIt_data();
    void formatHoldsDepth_onlyWhereTheFormatCanStoreIt();
    void videoSuffixes_areThoseOfTheTypesTheDesktopEntryClaims();
    void controlStates_followJobMediaAndPosition_data();
    void controlStates_followJobMediaAndPosition();
    void timeLeft_fromTheBatchDoneSoFar_data();
    void timeLeft_fromTheBatchDoneSoFar();
    void timeLeft_followsTheLastSecondsRate_data();
    void timeLeft_followsTheLastSecondsRate();
};

void tst_WindowRules::clockTime_showsWholeSecondsWrappingAtADay_data()
{
    QTest::addColumn<qint64>("milliseconds");
    QTest::addColumn<QString>("text");

    QTest::newRow("zero") << qint64(0) << "00:00:00";
    QTest::newRow("just under a second") << qint64(999) << "00:00:00";
    QTest::newRow("1 h 2 min 5.9 s") << qint64((3600 + 120 + 5) * 1000 + 900) << "01:02:05";
    QTest::newRow("last second of a day") << qint64(86399999) << "23:59:59";
    QTest::newRow("a whole day") << qint64(86400000) << "00:00:00";
    QTest::newRow("25 h") << qint64(25) * 3600 * 1000 << "01:00:00";
    QTest::newRow("many days") << qint64(1000) * 86400 * 1000 + 61000 << "00:01:01";
}

void tst_WindowRules::clockTime_showsWholeSecondsWrappingAtADay()
{
    QFETCH(qint64, milliseconds);
    QFETCH(QString, text);
    QCOMPARE(formatClockTime(milliseconds), text);
}

void tst_WindowRules::timeField_parsesTheAcceptedForms_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("milliseconds"); // -1: refused

    const qint64 refused = -1;
    QTest::newRow("h:mm:ss.zzz") << "0:01:20.000" << qint64(80000);
    QTest::newRow("hours past a day") << "25:00:00" << qint64(90000000);
    QTest::newRow("single-digit fields") << "1:2:3" << qint64(3723000);
    QTest::newRow("m:ss") << "1:20" << qint64(80000);
    QTest::newRow("m:ss.z") << "1:20.5" << qint64(80500);
    QTest::newRow("minutes past an hour") << "90:00" << qint64(5400000);
    QTest::newRow("plain seconds") << "85.5" << qint64(85500);
    QTest::newRow("whole seconds") << "85" << qint64(85000);
    QTest::newRow("blanks around") << " 1:05 " << qint64(65000);
    QTest::newRow("empty") << "" << refused;
    QTest::newRow("words") << "abc" << refused;
    QTest::newRow("negative") << "-5" << refused;
    QTest::newRow("negative minutes") << "-1:20" << refused;
    QTest::newRow("seconds 60") << "1:60" << refused;
    QTest::newRow("minutes 60 after hours") << "1:60:00" << refused;
    QTest::newRow("four fields") << "1:2:3:4" << refused;
    QTest::newRow("four decimals") << "1.2345" << refused;
    QTest::newRow("no whole part") << ".5" << refused;
    QTest::newRow("dot without decimals") << "1:20." << refused;
    QTest::newRow("decimal comma") << "1,5" << refused;
    QTest::newRow("blank inside") << "1: 20" << refused;
    QTest::newRow("full-width digits") << "\uff11:\uff12\uff10" << refused;
}

void tst_WindowRules::timeField_parsesTheAcceptedForms()
{
    QFETCH(QString, text);
    QFETCH(qint64, milliseconds);
    QCOMPARE(parseTimeField(text).value_or(-1), milliseconds);
}

void tst_WindowRules::timeField_formatsWhatItParses_data()
{
    QTest::addColumn<qint64>("milliseconds");
    QTest::addColumn<QString>("text");

    QTest::newRow("zero") << qint64(0) << "0:00:00.000";
    QTest::newRow("1 min 20 s") << qint64(80000) << "0:01:20.000";
    QTest::newRow("past a day, every field") << qint64(90061001) << "25:01:01.001";
    QTest::newRow("negative") << qint64(-5) << "0:00:00.000";
}

void tst_WindowRules::timeField_formatsWhatItParses()
{
    QFETCH(qint64, milliseconds);
    QFETCH(QString, text);
    QCOMPARE(formatTimeField(milliseconds), text);
    QCOMPARE(parseTimeField(text).value_or(-1), std::max<qint64>(milliseconds, 0));
}

void tst_WindowRules::frameTime_showsMillisecondsWrappingAtADay_data()
{
    QTest::addColumn<qint64>("milliseconds");
    QTest::addColumn<QString>("text");

    QTest::newRow("zero") << qint64(0) << "00:00:00.000";
    QTest::newRow("a frame at 5.8 s") << qint64(5800) << "00:00:05.800";
    QTest::newRow("1 h 2 min 5.9 s") << qint64((3600 + 120 + 5) * 1000 + 900) << "01:02:05.900";
    QTest::newRow("last millisecond of a day") << qint64(86399999) << "23:59:59.999";
    QTest::newRow("25 h and 1 ms") << qint64(25) * 3600 * 1000 + 1 << "01:00:00.001";
    QTest::newRow("negative") << qint64(-40) << "00:00:00.000";
}

void tst_WindowRules::frameTime_showsMillisecondsWrappingAtADay()
{
    QFETCH(qint64, milliseconds);
    QFETCH(QString, text);
    QCOMPARE(formatFrameTime(milliseconds), text);
}

void tst_WindowRules::previewShape_isTheImagesTurnedAsThePlayerTurnedIt_data()
{
    QTest::addColumn<QSizeF>("native"); // as the player reports it
    QTest::addColumn<QSize>("stored");
    QTest::addColumn<QSize>("square"); // the images' size
    QTest::addColumn<QSizeF>("shape");

    QTest::newRow("square pixels")
        << QSizeF(1920, 1080) << QSize(1920, 1080) << QSize(1920, 1080) << QSizeF(1920, 1080);
    QTest::newRow("wide pixels, player ignores them")
        << QSizeF(640, 360) << QSize(640, 360) << QSize(1280, 360) << QSizeF(1280, 360);
    QTest::newRow("wide pixels, player applies them")
        << QSizeF(1280, 360) << QSize(640, 360) << QSize(1280, 360) << QSizeF(1280, 360);
    QTest::newRow("narrow pixels make it upright")
        << QSizeF(640, 480) << QSize(640, 480) << QSize(320, 480) << QSizeF(320, 480);
    QTest::newRow("player turned it a quarter")
        << QSizeF(360, 640) << QSize(640, 360) << QSize(1280, 360) << QSizeF(360, 1280);
    QTest::newRow("turned, with the pixels applied")
        << QSizeF(360, 1280) << QSize(640, 360) << QSize(1280, 360) << QSizeF(360, 1280);
    QTest::newRow("square picture, as stored")
        << QSizeF(480, 480) << QSize(480, 480) << QSize(640, 480) << QSizeF(640, 480);
    QTest::newRow("sizes unknown, the player's")
        << QSizeF(1919.5, 1080) << QSize() << QSize() << QSizeF(1919.5, 1080);
}

void tst_WindowRules::previewShape_isTheImagesTurnedAsThePlayerTurnedIt()
{
    QFETCH(QSizeF, native);
    QFETCH(QSize, stored);
    QFETCH(QSize, square);
    QFETCH(QSizeF, shape);
    QCOMPARE(previewShape(native, stored, square), shape);
}

void tst_WindowRules::fit_keepsAspectRatioAndCentres_data()
{
    QTest::addColumn<QSizeF>("native");
    QTest::addColumn<QSize>("view");
    QTest::addColumn<QRect>("expected");
    QTest::addColumn<bool>("fits");

    QTest::newRow("landscape in 4:3")
        << QSizeF(1920, 1080) << QSize(640, 480) << QRect(0, 60, 640, 360) << true;
    QTest::newRow("portrait in 4:3")
        << QSizeF(1080, 1920) << QSize(640, 480) << QRect(185, 0, 270, 480) << true;
    QTest::newRow("half pixel rounds up")
        << QSizeF(1919.5, 1080) << QSize(640, 480) << QRect(0, 60, 640, 360) << true;
    QTest::newRow("just under half rounds down")
        << QSizeF(1920.49, 1080) << QSize(640, 480) << QRect(0, 60, 640, 360) << true;
    QTest::newRow("same aspect fills")
        << QSizeF(320, 240) << QSize(640, 480) << QRect(0, 0, 640, 480) << true;
    // 640/3 = 213.33...: the size truncates, the odd remainder halves toward zero.
    QTest::newRow("truncated size, odd margin")
        << QSizeF(3, 1) << QSize(640, 480) << QRect(0, 133, 640, 213) << true;
    QTest::newRow("zero size") << QSizeF(0, 0) << QSize(640, 480) << QRect() << false;
    QTest::newRow("rounds to zero width")
        << QSizeF(0.4, 100) << QSize(640, 480) << QRect() << false;
    QTest::newRow("empty view") << QSizeF(100, 100) << QSize(0, 0) << QRect(0, 0, 0, 0) << true;
}

void tst_WindowRules::fit_keepsAspectRatioAndCentres()
{
    QFETCH(QSizeF, native);
    QFETCH(QSize, view);
    QFETCH(QRect, expected);
    QFETCH(bool, fits);

    const std::optional<QRect> rect = fitVideoRect(native, view);
    QCOMPARE(rect.has_value(), fits);
    if (!fits)
        return;
    QCOMPARE(*rect, expected);
}

void tst_WindowRules::formatHoldsDepth_onlyWhereTheFormatCanStoreIt_data()
{
    QTest::addColumn<QString>("format");
    // Whether gray, 16 bits a channel, RGB and RGB with alpha are kept.
    QTest::addColumn<QList<bool>>("holds");

    using B = QList<bool>;
    QTest::newRow("PNG keeps everything") << "PNG" << B {true, true, true, true};
    QTest::newRow("TIFF keeps everything") << "TIFF" << B {true, true, true, true};
    QTest::newRow("JPG, 8 bits and no alpha") << "JPG" << B {true, false, true, false};
    QTest::newRow("JPEG as JPG") << "JPEG" << B {true, false, true, false};
    QTest::newRow("BMP as written, no alpha") << "BMP" << B {true, false, true, false};
    QTest::newRow("PPM, 8 bits") << "PPM" << B {true, false, true, false};
    QTest::newRow("WebP keeps alpha, not 16 bits") << "WebP" << B {true, false, true, true};
    QTest::newRow("TGA keeps alpha, not 16 bits") << "TGA" << B {true, false, true, true};
    QTest::newRow("letter case does not matter") << "webp" << B {true, false, true, true};
}

void tst_WindowRules::formatHoldsDepth_onlyWhereTheFormatCanStoreIt()
{
    QFETCH(QString, format);
    QFETCH(QList<bool>, holds);

    const Picture::BitDepth depths[] = {Picture::BitDepth::Gray8, Picture::BitDepth::Rgb16,
        Picture::BitDepth::Rgb24, Picture::BitDepth::Rgba32};
    for (int i = 0; i < 4; ++i)
        QCOMPARE(formatHoldsDepth(format, depths[i]), holds.at(i));
}

void tst_WindowRules::videoSuffixes_areThoseOfTheTypesTheDesktopEntryClaims()
{
    QFile entry(QStringLiteral(OSKIVO_SOURCE_DIR "/resources/desktop/com.example.Oskivo.desktop"));
    QVERIFY(entry.open(QIODevice::ReadOnly | QIODevice::Text));
    QStringList claimed;
    for (const QByteArray &line : entry.readAll().split('\n')) {
        if (line.startsWith("MimeType="))
            claimed = QString::fromUtf8(line.mid(9)).split(u';', Qt::SkipEmptyParts);
    }
    QVERIFY(claimed.size() > 10);

    // Each claimed type can be chosen by one of its suffixes, and nothing else is offered.
    const QMimeDatabase types;
    const QStringList &offered = videoFileSuffixes();
    QSet<QString> ofClaimedTypes;
    for (const QString &name : claimed) {
        const QMimeType type = types.mimeTypeForName(name);
        QVERIFY2(type.isValid(), qPrintable(name));
        const QStringList suffixes = type.suffixes();
        const bool listed = std::any_of(suffixes.cbegin(), suffixes.cend(),
            [&offered](const QString &suffix) { return offered.contains(suffix); });
        QVERIFY2(listed, qPrintable(name + " has none of its suffixes in the open dialog"));
        for (const QString &suffix : suffixes)
            ofClaimedTypes << suffix;
    }
    for (const QString &suffix : offered)
        QVERIFY2(ofClaimedTypes.contains(suffix), qPrintable(suffix + " is of no type claimed"));
    QCOMPARE(QSet<QString>(offered.cbegin(), offered.cend()).size(), offered.size());
}

void tst_WindowRules::controlStates_followJobMediaAndPosition_data()
{
    QTest::addColumn<bool>("processing");
    QTest::addColumn<bool>("hasPlayer");
    QTest::addColumn<bool>("mediaLoaded");
    QTest::addColumn<qint64>("position");
    QTest::addColumn<bool>("jobInputs");
    QTest::addColumn<bool>("playPause");
    QTest::addColumn<bool>("previewStop");

    const qint64 zero = 0, later = 1500;
    //                                  processing, player, loaded, position -> inputs, play, stop
    QTest::newRow("idle, nothing loaded")
        << false << true << false << zero << true << false << false;
    QTest::newRow("idle, nothing loaded, moved")
        << false << true << false << later << true << false << false;
    QTest::newRow("idle, parked at 0") << false << true << true << zero << true << true << false;
    QTest::newRow("idle, paused later") << false << true << true << later << true << true << true;
    QTest::newRow("job, nothing loaded")
        << true << true << false << zero << false << false << false;
    QTest::newRow("job, nothing loaded, moved")
        << true << true << false << later << false << false << false;
    QTest::newRow("job, parked at 0") << true << true << true << zero << false << false << false;
    QTest::newRow("job, playing") << true << true << true << later << false << false << false;
    QTest::newRow("no player, loaded flag left over")
        << false << false << true << qint64(1500) << true << true << false;
}

void tst_WindowRules::controlStates_followJobMediaAndPosition()
{
    QFETCH(bool, processing);
    QFETCH(bool, hasPlayer);
    QFETCH(bool, mediaLoaded);
    QFETCH(qint64, position);

    const ControlStates states = controlStatesFor(processing, hasPlayer, mediaLoaded, position);
    QTEST(states.jobInputs, "jobInputs");
    QTEST(states.playPause, "playPause");
    QTEST(states.previewStop, "previewStop");
}

void tst_WindowRules::timeLeft_fromTheBatchDoneSoFar_data()
{
    QTest::addColumn<qint64>("elapsed");
    QTest::addColumn<int>("video"); // from 0
    QTest::addColumn<int>("videos");
    QTest::addColumn<int>("frame");
    QTest::addColumn<int>("total");
    QTest::addColumn<QString>("left"); // "": not shown

    QTest::newRow("before two seconds") << qint64(1999) << 0 << 1 << 10 << 20 << "";
    QTest::newRow("half of one video") << qint64(2000) << 0 << 1 << 10 << 20 << "0:02";
    QTest::newRow("nothing done yet") << qint64(5000) << 0 << 1 << 0 << 20 << "";
    QTest::newRow("rounded up to a second") << qint64(2500) << 0 << 1 << 30 << 40 << "0:01";
    QTest::newRow("past the estimate") << qint64(3000) << 0 << 1 << 60 << 50 << "0:00";
    QTest::newRow("hours") << qint64(3600000) << 0 << 1 << 1 << 3 << "2:00:00";
    QTest::newRow("second of four, half way") << qint64(30000) << 1 << 4 << 5 << 10 << "0:50";
    QTest::newRow("unknown total, after one of two") << qint64(60000) << 1 << 2 << 7 << 0 << "1:00";
    QTest::newRow("unknown total, first video") << qint64(60000) << 0 << 2 << 7 << 0 << "";
}

void tst_WindowRules::timeLeft_fromTheBatchDoneSoFar()
{
    QFETCH(qint64, elapsed);
    QFETCH(int, video);
    QFETCH(int, videos);
    QFETCH(int, frame);
    QFETCH(int, total);
    QFETCH(QString, left);

    TimeLeft timeLeft;
    timeLeft.add(elapsed, batchDone(video, videos, frame, total));
    const std::optional<qint64> ms = timeLeft.ms();
    QCOMPARE(ms ? formatTimeLeft(*ms) : QString(), left);
}

void tst_WindowRules::timeLeft_followsTheLastSecondsRate_data()
{
    // Stretches of the job: how many seconds, and how many thousandths of the
    // batch a second got done; progress is reported every half second.
    QTest::addColumn<QList<QPoint>>("stretches");
    QTest::addColumn<qint64>("left"); // at the end; -1: not shown
    QTest::addColumn<bool>("falls"); // never climbs from one report to the next

    using S = QList<QPoint>;
    QTest::newRow("steady") << S {{30, 10}} << qint64(70000) << true;
    // Judged by the whole run, 70 s; the rate of the last ten seconds says 35.
    QTest::newRow("speeds up after a slow start") << S {{20, 5}, {10, 20}} << qint64(35000) << true;
    QTest::newRow("slows down") << S {{20, 20}, {10, 5}} << qint64(110000) << false;
    QTest::newRow("stuck for longer than the window")
        << S {{10, 20}, {12, 0}} << qint64(-1) << false;
    QTest::newRow("short stop within the window")
        << S {{20, 10}, {4, 0}, {6, 10}} << qint64(123333) << false;
}

void tst_WindowRules::timeLeft_followsTheLastSecondsRate()
{
    QFETCH(QList<QPoint>, stretches);
    QFETCH(qint64, left);
    QFETCH(bool, falls);

    TimeLeft timeLeft;
    qint64 elapsed = 0;
    double done = 0;
    std::optional<qint64> previous;
    bool climbed = false;
    for (const QPoint &stretch : stretches) {
        for (int half = 0; half < stretch.x() * 2; ++half) {
            elapsed += 500;
            done += stretch.y() / 1000.0 / 2;
            timeLeft.add(elapsed, done);
            const std::optional<qint64> now = timeLeft.ms();
            if (previous && now && *now > *previous)
                climbed = true;
            previous = now;
        }
    }
    const std::optional<qint64> ms = timeLeft.ms();
    if (left < 0) {
        QVERIFY(!ms);
    } else {
        QVERIFY(ms);
        // Sums of halves round a little.
        QVERIFY2(qAbs(*ms - left) <= 10, qPrintable(QString::number(*ms)));
    }
    if (falls)
        QVERIFY(!climbed);
}

QTEST_APPLESS_MAIN(tst_WindowRules)
#include "tst_windowrules.moc"

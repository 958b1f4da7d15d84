// The progress line's text: the bar, the count, the rate and the time left,
// for known and unknown totals. No catalog is installed: the words are the
// source language's.

#include "progressline.h"

#include <QtTest>

class tst_ProgressLine : public QObject
{
    Q_OBJECT

private slots:
    void text_showsBarCountRateAndTimeLeft_data();
    void text_showsBarCountRateAndTimeLeft();
    void columns_countWideCharactersTwice_data();
    void columns_countWideCharactersTwice();
};

void tst_ProgressLine::text_showsBarCountRateAndTimeLeft_data()
{
    QTest::addColumn<int>("images");
    QTest::addColumn<int>("total");
    QTest::addColumn<double>("seconds");
    QTest::addColumn<QString>("text");

    QTest::newRow("half way") << 8 << 16 << 2.0
                              << "[1/2] a.mp4 [########--------] 8/16 4.0 张/秒 剩余 0:00:02";
    QTest::newRow("at the start: no rate yet")
        << 0 << 10 << 0.0 << "[1/2] a.mp4 [----------------] 0/10";
    QTest::newRow("nothing written yet: no time left")
        << 0 << 10 << 1.5 << "[1/2] a.mp4 [----------------] 0/10 0.0 张/秒";
    QTest::newRow("unknown total: no bar, no time left")
        << 7 << 0 << 2.0 << "[1/2] a.mp4 7 3.5 张/秒";
    QTest::newRow("past the estimate: a full bar, nothing left")
        << 12 << 10 << 3.0 << "[1/2] a.mp4 [################] 12/10 4.0 张/秒 剩余 0:00:00";
    QTest::newRow("hours left") << 1 << 3726 << 1.0
                                << "[1/2] a.mp4 [----------------] 1/3726 1.0 张/秒 剩余 1:02:05";
}

void tst_ProgressLine::text_showsBarCountRateAndTimeLeft()
{
    QFETCH(int, images);
    QFETCH(int, total);
    QFETCH(double, seconds);
    QTEST(ProgressLine::text(QStringLiteral("[1/2] a.mp4"), images, total, seconds), "text");
}

void tst_ProgressLine::columns_countWideCharactersTwice_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("columns");

    QTest::newRow("ASCII") << "a.mp4 10/20" << 11;
    QTest::newRow("Chinese") << "张/秒" << 5;
    QTest::newRow("full-width digits") << "\uff11\uff12" << 4;
    QTest::newRow("outside the basic plane, one character") << "\U0001F600" << 1;
}

void tst_ProgressLine::columns_countWideCharactersTwice()
{
    QFETCH(QString, text);
    QTEST(ProgressLine::columns(text), "columns");
}

QTEST_GUILESS_MAIN(tst_ProgressLine)
#include "tst_progressline.moc"

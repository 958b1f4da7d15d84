// The job's options as the engine checks them at its door: each option's
// range, its default, and the options that only count together.

#include "extractionjob.h"
#include "joboption.h"

#include <QStandardPaths>
#include <QtTest>

#include <cmath>
#include <limits>

using Id = JobOption::Id;
using Reason = OptionProblem::Reason;
using Mode = FrameSelection::Mode;

Q_DECLARE_METATYPE(Id)
Q_DECLARE_METATYPE(Reason)
Q_DECLARE_METATYPE(Mode)

class tst_JobOptions : public QObject
{
    Q_OBJECT

public:
    tst_JobOptions() { QStandardPaths::setTestModeEnabled(true); }

private slots:
    void validate_namesTheOptionAndWhy_data();
    void validate_namesTheOptionAndWhy();
    void defaults_areWhatANewJobHolds_data();
    void defaults_areWhatANewJobHolds();
    void unchosenSelection_isNotChecked();
    void problem_namesTheOptionByFlagOrLabel();
    void sharpestAlone_namesBothSelectionsItNeeds();
};

void tst_JobOptions::validate_namesTheOptionAndWhy_data()
{
    QTest::addColumn<Id>("option");
    QTest::addColumn<Mode>("mode");
    QTest::addColumn<QVariant>("value");
    // The reason, or -1 for a value the job takes.
    QTest::addColumn<int>("reason");

    const auto row = [](const char *tag, Id option, const QVariant &value, int reason,
                         Mode mode = Mode::FramesPerSecond) {
        QTest::newRow(tag) << option << mode << value << reason;
    };
    const int fine = -1;
    const int outOfRange = int(Reason::OutOfRange);
    const double infinite = std::numeric_limits<double>::infinity();
    row("quality at its lowest", Id::Quality, 1, fine);
    row("quality at its highest", Id::Quality, 100, fine);
    row("quality 0", Id::Quality, 0, outOfRange);
    row("quality 101", Id::Quality, 101, outOfRange);
    row("format in another case", Id::Format, "png", fine);
    row("format without a writer", Id::Format, "GIF", int(Reason::NotAChoice));
    row("depth 8", Id::Depth, "8", fine);
    // A depth of another number cannot be held: the command line refuses it.
    row("rate 60", Id::Rate, 60, fine);
    row("rate 61", Id::Rate, 61, outOfRange);
    row("every 0.1 s", Id::Every, 0.1, fine, Mode::EverySeconds);
    row("every 0.05 s", Id::Every, 0.05, outOfRange, Mode::EverySeconds);
    row("every NaN", Id::Every, std::nan(""), outOfRange, Mode::EverySeconds);
    row("scenes 0", Id::Scenes, 0, outOfRange, Mode::SceneChanges);
    row("count 1", Id::Count, 1, fine, Mode::Count);
    row("count 100000", Id::Count, 100000, fine, Mode::Count);
    row("count 0", Id::Count, 0, outOfRange, Mode::Count);
    row("count 100001", Id::Count, 100001, outOfRange, Mode::Count);
    row("distinct sensitivity 0", Id::DistinctSensitivity, 0, outOfRange);
    row("distinct sensitivity 100", Id::DistinctSensitivity, 100, fine);
    row("sharpest every few seconds", Id::Sharpest, true, fine, Mode::EverySeconds);
    row("sharpest of a count", Id::Sharpest, true, fine, Mode::Count);
    row("sharpest at a rate", Id::Sharpest, true, int(Reason::NeedsEither));
    row("sharpest keyframes", Id::Sharpest, true, int(Reason::NeedsEither), Mode::Keyframes);
    row("distinct scenes", Id::Distinct, true, fine, Mode::SceneChanges);
    row("skip black keyframes", Id::SkipBlack, true, fine, Mode::Keyframes);
    row("start at a day", Id::Start, 86400.0, fine);
    row("start negative", Id::Start, -0.5, outOfRange);
    row("start infinite", Id::Start, infinite, outOfRange);
    row("end infinite", Id::End, infinite, outOfRange);
    row("end at the start", Id::End, 0.0, int(Reason::NotLaterThan));
    row("end unset", Id::End, QVariant(), fine);
    row("width 1", Id::Width, 1, fine);
    row("width 0", Id::Width, 0, outOfRange);
    row("height 16384", Id::Height, 16384, fine);
    row("height 16385", Id::Height, 16385, outOfRange);
    row("height negative", Id::Height, -1, outOfRange);
    row("deinterlacing in another case", Id::Deinterlace, "OFF", fine);
    row("writers 64", Id::Writers, 64, fine);
    row("writers 65", Id::Writers, 65, outOfRange);
    row("pattern without a number", Id::Pattern, "frame", int(Reason::NoNumberMarker));
    row("pattern into the parent", Id::Pattern, "../f_%1", int(Reason::LeavesFolder));
    row("pattern with the number twice", Id::Pattern, "%1_%1", fine);
}

void tst_JobOptions::validate_namesTheOptionAndWhy()
{
    QFETCH(Id, option);
    QFETCH(Mode, mode);
    QFETCH(QVariant, value);
    QFETCH(int, reason);

    ExtractionJob job;
    QVERIFY(!job.validate());
    job.selection.mode = mode;
    JobOption::row(option).set(job, value);
    const std::optional<OptionProblem> problem = job.validate();
    if (reason < 0) {
        QVERIFY2(!problem, qPrintable(problem ? problem->message() : QString()));
        return;
    }
    QVERIFY(problem);
    QCOMPARE(problem->option, option);
    QCOMPARE(int(problem->reason), reason);
    QVERIFY2(
        problem->message().contains(JobOption::row(option).flag()), qPrintable(problem->message()));
}

void tst_JobOptions::defaults_areWhatANewJobHolds_data()
{
    QTest::addColumn<Id>("option");
    QTest::addColumn<QVariant>("value");

    // What the window's stored settings and the tool's scripts rely on.
    QTest::newRow("JPG") << Id::Format << QVariant("JPG");
    QTest::newRow("quality 90") << Id::Quality << QVariant(90);
    QTest::newRow("24 bits") << Id::Depth << QVariant("24");
    QTest::newRow("5 a second") << Id::Rate << QVariant(5);
    QTest::newRow("every 10 s") << Id::Every << QVariant(10.0);
    QTest::newRow("scene sensitivity 50") << Id::Scenes << QVariant(50);
    QTest::newRow("count 10") << Id::Count << QVariant(10);
    QTest::newRow("not the sharpest") << Id::Sharpest << QVariant(false);
    QTest::newRow("repeats kept") << Id::Distinct << QVariant(false);
    QTest::newRow("repeat sensitivity 50") << Id::DistinctSensitivity << QVariant(50);
    QTest::newRow("black frames kept") << Id::SkipBlack << QVariant(false);
    QTest::newRow("from the start") << Id::Start << QVariant(0.0);
    QTest::newRow("to the end") << Id::End << QVariant();
    QTest::newRow("frame_%1") << Id::Pattern << QVariant("frame_%1");
    QTest::newRow("no time in names") << Id::TimeNames << QVariant(false);
    QTest::newRow("writers chosen by the job") << Id::Writers << QVariant(0);
    QTest::newRow("the video's own width") << Id::Width << QVariant();
    QTest::newRow("the video's own height") << Id::Height << QVariant();
    QTest::newRow("deinterlacing where marked") << Id::Deinterlace << QVariant("auto");
}

void tst_JobOptions::defaults_areWhatANewJobHolds()
{
    QFETCH(Id, option);
    QFETCH(QVariant, value);
    const JobOption &row = JobOption::row(option);
    QCOMPARE(row.get(ExtractionJob()), value);
    QCOMPARE(row.defaultValue.isNull(), value.isNull());
    QCOMPARE(ExtractionJob().selection.mode, Mode::FramesPerSecond);
}

void tst_JobOptions::unchosenSelection_isNotChecked()
{
    // The window keeps every selection's value; only the chosen one counts.
    ExtractionJob job;
    job.selection.mode = Mode::Keyframes;
    job.selection.frameRate = 0;
    job.selection.everySeconds = 0;
    job.selection.sceneSensitivity = 0;
    QVERIFY(!job.validate());
    job.selection.mode = Mode::EverySeconds;
    QVERIFY(job.validate());
    QCOMPARE(job.validate()->option, Id::Every);
}

void tst_JobOptions::problem_namesTheOptionByFlagOrLabel()
{
    ExtractionJob job;
    job.selection.startSeconds = 5;
    job.selection.endSeconds = 2;
    const OptionProblem problem = *job.validate();
    const QString byFlag = problem.message(OptionProblem::Naming::Flag);
    const QString byLabel = problem.message(OptionProblem::Naming::Label);
    QVERIFY2(byFlag.contains("--end") && byFlag.contains("--start"), qPrintable(byFlag));
    QVERIFY2(byLabel.contains(JobOption::row(Id::End).label())
            && byLabel.contains(JobOption::row(Id::Start).label()) && !byLabel.contains("--"),
        qPrintable(byLabel));
}

void tst_JobOptions::sharpestAlone_namesBothSelectionsItNeeds()
{
    ExtractionJob job;
    job.selection.sharpest = true;
    const QString message = job.validate()->message();
    QVERIFY2(message.contains("--sharpest") && message.contains("--every")
            && message.contains("--count"),
        qPrintable(message));
}

QTEST_GUILESS_MAIN(tst_JobOptions)
#include "tst_joboptions.moc"

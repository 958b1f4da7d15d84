#ifndef JOBOPTION_H
#define JOBOPTION_H

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

struct ExtractionJob;

// One option of an extraction job, declared once, as FFmpeg declares its
// AVOptions: its name (the command line's --flag, and the settings key of
// options stored by name), its kind, range and default, its label and help,
// and the job's field it sets. The command-line programs, the engine's
// check and the window's controls all read these rows.
struct JobOption
{
    Q_DECLARE_TR_FUNCTIONS(JobOption)

public:
    enum class Id {
        Format,
        Quality,
        Depth,
        Rate,
        Every,
        Keyframes,
        Scenes,
        Count,
        Sharpest,
        Distinct,
        DistinctSensitivity,
        SkipBlack,
        Start,
        End,
        Pattern,
        TimeNames,
        Width,
        Height,
        Deinterlace,
        Index,
        NoMetadata,
        Sheet,
        Writers,
    };

    enum class Kind {
        // A whole number from minimum to maximum.
        Number,
        // A number with decimals from minimum to maximum.
        Decimal,
        // A time from minimum on: seconds with decimals, or h:mm:ss.zzz.
        Seconds,
        // One of choices(), by name.
        Choice,
        // On when given.
        Switch,
        // Free text, checked by the row's own rule.
        Text,
    };

    struct Choice
    {
        QString name;
        // What the window shows; the name where empty.
        QString label;
    };

    // Which frame selection an option's presence chooses, for the options
    // of which only one may be given.
    static constexpr int noMode = -1;

    Id id;
    const char *name;
    Kind kind;
    double minimum;
    double maximum;
    // What a new job holds; null where the option is unset by default (no
    // end, no output size), which noneText names for people.
    QVariant defaultValue;
    // The value's name in the help: "N", "S", "F".
    const char *valueName;
    // Untranslated; label() and help() translate them.
    const char *labelText;
    const char *helpText;
    const char *noneText;
    // A FrameSelection::Mode, or noMode.
    int mode;
    // For Choice rows; translated labels.
    QList<Choice> (*choices)();
    QVariant (*get)(const ExtractionJob &job);
    // Takes a value of the option's kind that passed the command line's or
    // the window's reading: a number, a bool, a choice's name, a text;
    // null for unset.
    void (*set)(ExtractionJob &job, const QVariant &value);

    // Every option, in the order the help lists them.
    static const std::vector<JobOption> &all();
    static const JobOption &row(Id id);
    static const JobOption *named(const QString &name);

    QString flag() const { return QStringLiteral("--") + QLatin1String(name); }
    QString label() const;
    // The help with the range and the default, as --help shows it.
    QString help() const;
    // The choices' names.
    QStringList choiceNames() const;
    // A value as people read it: 0.1, 24, "JPG", and noneText for null.
    QString valueText(const QVariant &value) const;
    bool hasRange() const { return kind == Kind::Number || kind == Kind::Decimal; }
};

// Which option of a job is wrong, its value, and why, as values: the
// window, the tool and the engine each make their text of it.
struct OptionProblem
{
    enum class Reason {
        // Below the option's minimum or above its maximum, or no number.
        OutOfRange,
        // Not one of the option's choices.
        NotAChoice,
        // A naming pattern without the number's place "%1".
        NoNumberMarker,
        // A naming pattern whose names would leave the output folder.
        LeavesFolder,
        // Not later than `other`, as the range's end must be than its start.
        NotLaterThan,
        // Given together with `other`, which it cannot go with.
        ConflictsWith,
        // Given without `other`, which it needs.
        Needs,
        // Given without `other` or `alternative`, one of which it needs.
        NeedsEither,
    };

    JobOption::Id option = JobOption::Id::Format;
    QVariant value;
    Reason reason = Reason::OutOfRange;
    JobOption::Id other = JobOption::Id::Format;
    JobOption::Id alternative = JobOption::Id::Format;

    // In the user's language, naming each option by its command-line flag
    // ("--rate 的值 0 超出范围 1-60") or, for the window, by its label.
    enum class Naming { Flag, Label };
    QString message(Naming naming = Naming::Flag) const;
};

#endif // JOBOPTION_H

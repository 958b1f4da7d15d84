#ifndef OUTPUTFOLDER_H
#define OUTPUTFOLDER_H

#include <QString>
#include <QStringList>

// A folder that images go into, made where it is missing. What was made for
// it, and only that, can be taken away again when nothing was written there.
class OutputFolder
{
public:
    // Makes the folder and the missing folders above it; false when it
    // cannot. Forgets what an earlier call made.
    bool create(const QString &path);

    // Removes the folders create() made, deepest first, as long as they are
    // empty. A folder that existed before is never touched.
    void removeIfEmpty();

    enum class NameRules {
        // Those of every system: no separator, no "." or "..", no leading or
        // trailing dot or space (which Windows drops, and which hide a folder).
        Common,
        // Also Windows's own: none of its forbidden characters, and no device
        // name (CON, NUL, COM1...), with an extension or without.
        Windows,
#if defined(Q_OS_WIN)
        ThisSystem = Windows,
#else
        ThisSystem = Common,
#endif
    };
    // `name` as the name of a folder right inside another: each character
    // the rules do not allow becomes "_", a device name gets "_" after it,
    // and an empty name is "_".
    static QString safeName(const QString &name, NameRules rules = NameRules::ThisSystem);

    // Whether `path`, made absolute and cleaned, names an entry right inside
    // `folder`: no "..", separator or "." in it leads anywhere else.
    static bool holds(const QString &folder, const QString &path);

private:
    // Deepest first.
    QStringList made;
};

#endif // OUTPUTFOLDER_H

#ifndef DEPTHNOTE_H
#define DEPTHNOTE_H

#include <QObject>

class QComboBox;
class QFormLayout;
class QLabel;
class QWidget;

// The line under the bit depth that says when the chosen format cannot keep
// what the chosen depth asks for, and what the images get instead. Hidden
// while the two go together.
class DepthNote : public QObject
{
    Q_OBJECT

public:
    // Adds the note to `form` as the row after `after`'s, and follows the two
    // lists, whose entries are the format's name and the depth's index.
    DepthNote(
        QComboBox *formats, QComboBox *depths, QFormLayout *form, QWidget *after, QObject *parent);

    QLabel *label() const { return note; }
    // Writes the note anew, as after a change of language.
    void show();

private:
    QComboBox *formats;
    QComboBox *depths;
    QLabel *note;
};

#endif // DEPTHNOTE_H

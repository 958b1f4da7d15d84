#ifndef TESTSUPPORT_H
#define TESTSUPPORT_H

// Shared by the window's tests: finding a widget of the window under test,
// answering its modal boxes and dialogs, and making clips.

#include "preferences.h"
#include "videofixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QSettings>
#include <QTimer>

#include <functional>

// The one object named `name` of type T among the children of the top-level
// widgets, that is of the window under test. Says so when there is none or more
// than one, so that a renamed widget or a left-over window fails by name
// instead of by a null pointer far away.
template<typename T = QWidget> T *w(const QString &name)
{
    QList<T *> found;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (top->objectName() == name && qobject_cast<T *>(top))
            found << qobject_cast<T *>(top);
        found << top->findChildren<T *>(name);
    }
    if (found.size() != 1)
        qWarning("%lld objects named %s of type %s", qlonglong(found.size()), qPrintable(name),
            T::staticMetaObject.className());
    return found.value(0);
}

struct SeenBox
{
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QWidget *parent = nullptr;
};

// Answers the next modal message boxes, one answer each, in order. A box without
// the next answer's button is left alone, for another answerer. The fields
// describe the first box; `boxes` lists every box answered.
class BoxAnswerer : public QObject
{
public:
    explicit BoxAnswerer(QList<QMessageBox::StandardButton> answers)
    {
        connect(&poll, &QTimer::timeout, this, [this, answers]() mutable {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box || answers.isEmpty() || box == lastBox || !box->button(answers.first()))
                return;
            lastBox = box;
            boxes.append({box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                box->parentWidget()});
            if (!seen) {
                seen = true;
                title = boxes.first().title;
                text = boxes.first().text;
                icon = boxes.first().icon;
                buttons = boxes.first().buttons;
                parent = boxes.first().parent;
            }
            if (beforeAnswer)
                beforeAnswer();
            QAbstractButton *answer = box->button(answers.takeFirst());
            for (QAbstractButton *button : box->buttons()) {
                if (!answerWith.isEmpty() && button->text() == answerWith)
                    answer = button;
            }
            answer->click();
            if (answers.isEmpty())
                poll.stop();
        });
        poll.start(10);
    }
    explicit BoxAnswerer(QMessageBox::StandardButton answer = QMessageBox::Ok)
        : BoxAnswerer(QList<QMessageBox::StandardButton> {answer})
    {
    }

    QTimer poll;
    std::function<void()> beforeAnswer; // runs while the box is still open
    QString answerWith; // a button of the box's own, by text, instead of the answer
    QList<SeenBox> boxes;
    bool seen = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QWidget *parent = nullptr;

private:
    QPointer<QMessageBox> lastBox;
};

// Picks `path` in the next file dialog, or cancels it when `path` is empty.
class DialogChooser : public QObject
{
public:
    explicit DialogChooser(const QString &path)
    {
        connect(&poll, &QTimer::timeout, this, [this, path] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            poll.stop();
            seen = true;
            title = dialog->windowTitle();
            directory = dialog->directory().absolutePath();
            nameFilters = dialog->nameFilters();
            if (auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                proposedName = name->text();
            if (path.isEmpty()) {
                dialog->reject();
            } else {
                // Typed as the user would: selectFile() loses against the name the
                // dialog proposes when its start folder does not exist.
                if (auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                    name->setText(path);
                else
                    dialog->selectFile(path);
                static_cast<QDialog *>(dialog)->accept();
            }
        });
        poll.start(10);
    }

    QTimer poll;
    bool seen = false;
    QString title;
    QString directory;
    QStringList nameFilters;
    QString proposedName;
};

// Handles of their own on the window's two stores, as a second program would open them.
inline QSettings mainStore()
{
    return QSettings(Preferences::mainOrganization, Preferences::applicationName);
}

inline QSettings languageStore()
{
    return QSettings(Preferences::languageOrganization, Preferences::applicationName);
}

// Empties both settings stores of the test-mode location, so that no window
// restores what an earlier test left.
inline void wipeSettings()
{
    mainStore().clear();
    languageStore().clear();
}

#endif // TESTSUPPORT_H

#include "videodrop.h"
#include "windowrules.h"

#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QWidget>

VideoDropFilter::VideoDropFilter(QWidget *window, std::function<bool()> accepting)
    : QObject(window)
    , accepting(std::move(accepting))
{
    window->setAcceptDrops(true);
    // A file dropped on a path field chooses the file, rather than pasting its URL there.
    for (QLineEdit *field : window->findChildren<QLineEdit *>())
        field->setAcceptDrops(false);
    window->installEventFilter(this);
}

bool VideoDropFilter::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const QStringList paths = accepting() && drop->mimeData()->hasUrls()
            ? droppedVideoPaths(drop->mimeData()->urls())
            : QStringList();
        dragAccepted = !paths.isEmpty() && event->type() == QEvent::DragEnter;
        if (paths.isEmpty()) {
            drop->ignore();
            return true;
        }
        drop->acceptProposedAction();
        if (event->type() == QEvent::Drop)
            emit videosDropped(paths);
        return true;
    }
    case QEvent::DragMove: {
        // Decided once on entering: a folder is not listed again at every move.
        auto *move = static_cast<QDragMoveEvent *>(event);
        if (dragAccepted && accepting())
            move->acceptProposedAction();
        else
            move->ignore();
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

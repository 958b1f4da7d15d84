#include "framedragger.h"

#include <QMouseEvent>
#include <QWidget>

FrameDragger::FrameDragger(QWidget *window, QList<QWidget *> dragAreas)
    : QObject(window)
    , window(window)
    , dragAreas(std::move(dragAreas))
{
    window->installEventFilter(this);
}

bool FrameDragger::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != window)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        return press(static_cast<QMouseEvent *>(event));
    case QEvent::MouseMove:
        return move(static_cast<QMouseEvent *>(event));
    case QEvent::MouseButtonRelease:
        return release(static_cast<QMouseEvent *>(event));
    default:
        return false;
    }
}

bool FrameDragger::isInDragArea(const QPoint &windowPos) const
{
    for (const QWidget *area : dragAreas) {
        if (area->rect().contains(area->mapFrom(window, windowPos)))
            return true;
    }
    return false;
}

bool FrameDragger::press(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || window->isFullScreen()
        || !isInDragArea(event->position().toPoint()))
        return false;
    dragging = true;
    dragStartCursorPos = event->globalPosition().toPoint();
    dragStartWindowPos = window->frameGeometry().topLeft();
    event->accept();
    return true;
}

bool FrameDragger::move(QMouseEvent *event)
{
    if (!dragging || !(event->buttons() & Qt::LeftButton) || window->isFullScreen())
        return false;
    window->move(dragStartWindowPos + (event->globalPosition().toPoint() - dragStartCursorPos));
    event->accept();
    return true;
}

bool FrameDragger::release(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !dragging)
        return false;
    dragging = false;
    event->accept();
    return true;
}

#ifndef FRAMEDRAGGER_H
#define FRAMEDRAGGER_H

#include <QList>
#include <QObject>
#include <QPoint>

class QMouseEvent;
class QWidget;

// Moves a frameless window while the left button, pressed inside one of the
// drag areas, is held. Installed as an event filter on the window, it sees the
// presses the window's children leave unhandled.
class FrameDragger : public QObject
{
    Q_OBJECT

public:
    FrameDragger(QWidget *window, QList<QWidget *> dragAreas);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool press(QMouseEvent *event);
    bool move(QMouseEvent *event);
    bool release(QMouseEvent *event);
    bool isInDragArea(const QPoint &windowPos) const;

    QWidget *window;
    QList<QWidget *> dragAreas;
    bool dragging = false;
    QPoint dragStartCursorPos;
    QPoint dragStartWindowPos;
};

#endif // FRAMEDRAGGER_H

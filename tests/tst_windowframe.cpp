#include "mainwindow.h"
#include "testsupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFrame>
#include <QGraphicsDropShadowEffect>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTimer>
#include <QtTest>

#include <functional>

class tst_WindowFrame : public QObject
{
    Q_OBJECT

public:
    tst_WindowFrame() { QStandardPaths::setTestModeEnabled(true); }

private slots:
    void init();
    void cleanup();

    void frame_isFramelessTranslucentFixedWithShadow();
    void drag_leftPressInDragAreaMovesWindowByCursorTravel_data();
    void drag_leftPressInDragAreaMovesWindowByCursorTravel();
    void drag_startsOnlyOnLeftPressInDragArea_data();
    void drag_startsOnlyOnLeftPressInDragArea();
    void drag_rightReleaseDoesNotEndIt();
    void drag_endsOnLeftRelease();
    void drag_needsLeftButtonHeldWhileMoving();
    void close_answerDecidesWhetherApplicationQuits_data();
    void close_answerDecidesWhetherApplicationQuits();
    void pages_followNavigationButtons();

private:
    // Sends a mouse event to `target` as the window system would: the application
    // hands an ignored press on to the parents.
    void send(QWidget *target, QEvent::Type type, QPoint local, QPoint global,
              Qt::MouseButton button, Qt::MouseButtons held);
    void press(QWidget *target, QPoint local, Qt::MouseButton button = Qt::LeftButton)
    {
        send(target, QEvent::MouseButtonPress, local, target->mapToGlobal(local), button,
             button);
    }
    void moveCursor(QPoint global, Qt::MouseButtons held = Qt::LeftButton)
    {
        send(window, QEvent::MouseMove, window->mapFromGlobal(global), global, Qt::NoButton,
             held);
    }
    void release(QPoint global, Qt::MouseButton button, Qt::MouseButtons stillHeld = {})
    {
        send(window, QEvent::MouseButtonRelease, window->mapFromGlobal(global), global, button,
             stillHeld);
    }

    MainWindow *window = nullptr;
};

void tst_WindowFrame::init()
{
    wipeSettings();
    window = new MainWindow;
    window->move(200, 150);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
}

void tst_WindowFrame::cleanup()
{
    delete window;
    window = nullptr;
    wipeSettings();
}

void tst_WindowFrame::send(QWidget *target, QEvent::Type type, QPoint local, QPoint global,
                           Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(type, QPointF(local), QPointF(global), button, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void tst_WindowFrame::frame_isFramelessTranslucentFixedWithShadow()
{
    QCOMPARE(int(window->windowFlags()), 0x801);
    QVERIFY(window->testAttribute(Qt::WA_TranslucentBackground));
    QCOMPARE(window->size(), QSize(960, 640));
    QCOMPARE(window->minimumSize(), QSize(960, 640));
    QCOMPARE(window->maximumSize(), QSize(960, 640));
    window->resize(1200, 800);
    QCOMPARE(window->size(), QSize(960, 640));

    auto *shadow = qobject_cast<QGraphicsDropShadowEffect *>(w("centralwidget")->graphicsEffect());
    QVERIFY(shadow);
    QCOMPARE(shadow->blurRadius(), 20.0);
    QCOMPARE(shadow->color(), QColor(0, 0, 0, 80));
    QCOMPARE(shadow->offset(), QPointF(0, 0));
    QVERIFY(shadow->isEnabled());

    QCOMPARE(w("headerFrame")->height(), 50);
    QVERIFY(w("frameMenu")->width() <= 60);
    QCOMPARE(w("frameMian")->geometry(), QRect(10, 10, 940, 620));
}

void tst_WindowFrame::drag_leftPressInDragAreaMovesWindowByCursorTravel_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("steps");

    QTest::newRow("title text, one step") << "label_6" << 1;
    QTest::newRow("title text, many steps") << "label_6" << 7;
    QTest::newRow("status text") << "statusLabel" << 3;
    QTest::newRow("empty title bar") << "headerFrame" << 2;
    QTest::newRow("empty navigation column") << "frameMenu" << 2;
}

void tst_WindowFrame::drag_leftPressInDragAreaMovesWindowByCursorTravel()
{
    QFETCH(QString, target);
    QFETCH(int, steps);

    QWidget *pressed = w(target.toLatin1());
    QVERIFY(pressed);
    // The bottom-left corner is clear of the buttons in both frames.
    const QPoint local(2, pressed->height() - 3);
    QCOMPARE(pressed->childAt(local), nullptr);
    const QPoint start = window->frameGeometry().topLeft();
    const QPoint cursor = pressed->mapToGlobal(local);

    press(pressed, local);
    for (int i = 1; i <= steps; ++i)
        moveCursor(cursor + QPoint(100 * i / steps, 50 * i / steps));
    release(cursor + QPoint(100, 50), Qt::LeftButton);

    QCOMPARE(window->frameGeometry().topLeft(), start + QPoint(100, 50));
}

void tst_WindowFrame::drag_startsOnlyOnLeftPressInDragArea_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QPoint>("local");
    QTest::addColumn<Qt::MouseButton>("button");

    QTest::newRow("right press on title") << "label_6" << QPoint(2, 2) << Qt::RightButton;
    QTest::newRow("middle press on title") << "label_6" << QPoint(2, 2) << Qt::MiddleButton;
    QTest::newRow("close button") << "closeButton" << QPoint(3, 3) << Qt::LeftButton;
    QTest::newRow("home button") << "homeButton" << QPoint(3, 3) << Qt::LeftButton;
    QTest::newRow("home page") << "page" << QPoint(5, 5) << Qt::LeftButton;
    QTest::newRow("advanced page") << "page_2" << QPoint(5, 5) << Qt::LeftButton;
    QTest::newRow("transparent margin") << "centralwidget" << QPoint(4, 4) << Qt::LeftButton;
    QTest::newRow("margin below the column") << "centralwidget" << QPoint(30, 635)
                                             << Qt::LeftButton;
}

void tst_WindowFrame::drag_startsOnlyOnLeftPressInDragArea()
{
    QFETCH(QString, target);
    QFETCH(QPoint, local);
    QFETCH(Qt::MouseButton, button);

    QWidget *pressed = w(target.toLatin1());
    QVERIFY(pressed);
    const QPoint start = window->frameGeometry().topLeft();
    const QPoint cursor = pressed->mapToGlobal(local);

    press(pressed, local, button);
    moveCursor(cursor + QPoint(100, 50), Qt::LeftButton | button);

    QCOMPARE(window->frameGeometry().topLeft(), start);
    release(cursor, button);
}

void tst_WindowFrame::drag_rightReleaseDoesNotEndIt()
{
    QWidget *title = w("label_6");
    const QPoint cursor = title->mapToGlobal(QPoint(2, 2));
    const QPoint start = window->frameGeometry().topLeft();

    press(title, QPoint(2, 2));
    moveCursor(cursor + QPoint(10, 10));
    release(cursor + QPoint(10, 10), Qt::RightButton, Qt::LeftButton);
    moveCursor(cursor + QPoint(40, 30));

    QCOMPARE(window->frameGeometry().topLeft(), start + QPoint(40, 30));
}

void tst_WindowFrame::drag_endsOnLeftRelease()
{
    QWidget *title = w("label_6");
    const QPoint cursor = title->mapToGlobal(QPoint(2, 2));
    const QPoint start = window->frameGeometry().topLeft();

    press(title, QPoint(2, 2));
    moveCursor(cursor + QPoint(20, 10));
    release(cursor + QPoint(20, 10), Qt::LeftButton);
    moveCursor(cursor + QPoint(80, 80));

    QCOMPARE(window->frameGeometry().topLeft(), start + QPoint(20, 10));
}

void tst_WindowFrame::drag_needsLeftButtonHeldWhileMoving()
{
    QWidget *title = w("label_6");
    const QPoint cursor = title->mapToGlobal(QPoint(2, 2));
    const QPoint start = window->frameGeometry().topLeft();

    press(title, QPoint(2, 2));
    moveCursor(cursor + QPoint(30, 30), Qt::NoButton);
    QCOMPARE(window->frameGeometry().topLeft(), start);
    moveCursor(cursor + QPoint(5, 6), Qt::LeftButton);
    QCOMPARE(window->frameGeometry().topLeft(), start + QPoint(5, 6));
}

void tst_WindowFrame::close_answerDecidesWhetherApplicationQuits_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<bool>("quits");

    QTest::newRow("yes") << QMessageBox::Yes << true;
    QTest::newRow("no") << QMessageBox::No << false;
}

void tst_WindowFrame::close_answerDecidesWhetherApplicationQuits()
{
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(bool, quits);

    BoxAnswerer answerer(answer);
    // Run the application's own loop, as the program does, so that quitting can end it.
    // After a "no" the click returns with the loop still running: end it with a marker.
    constexpr int stillRunning = 7;
    QTimer::singleShot(0, window, [this, quits] {
        static_cast<QAbstractButton *>(w("closeButton"))->click();
        if (!quits)
            QCoreApplication::exit(stillRunning);
    });
    QSignalSpy aboutToQuit(qApp, &QCoreApplication::aboutToQuit);
    const int result = QApplication::exec();

    QCOMPARE(answerer.title, QStringLiteral("确认退出"));
    QCOMPARE(answerer.text, QStringLiteral("确定要退出Oskivo吗？"));
    QCOMPARE(answerer.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(answerer.parent, window);
    QCOMPARE(result, quits ? 0 : stillRunning);
    if (!quits)
        QVERIFY(window->isVisible());
}

void tst_WindowFrame::pages_followNavigationButtons()
{
    auto *stack = qobject_cast<QStackedWidget *>(w("stackedWidget"));
    auto *home = qobject_cast<QAbstractButton *>(w("homeButton"));
    auto *config = qobject_cast<QAbstractButton *>(w("configButton"));

    const struct {
        QAbstractButton *click;
        int page;
    } steps[] = {{home, 0}, {config, 1}, {config, 1}, {home, 0}, {home, 0}};
    for (const auto &step : steps) {
        QTest::mouseClick(step.click, Qt::LeftButton);
        QCOMPARE(stack->currentIndex(), step.page);
        QCOMPARE(home->isChecked(), step.page == 0);
        QCOMPARE(config->isChecked(), step.page == 1);
    }
}

QTEST_MAIN(tst_WindowFrame)
#include "tst_windowframe.moc"

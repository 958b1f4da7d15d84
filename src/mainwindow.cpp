#include "mainwindow.h"
#include "ui_mainwindow.h"

#include <QCoreApplication>
#include <QGraphicsDropShadowEffect>
#include <QMessageBox>
#include <QMouseEvent>

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::MainWindow)
{
    ui->setupUi(this);

    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(960, 640);

    // The shadow falls on the transparent margin the form leaves around the panel.
    auto *shadow = new QGraphicsDropShadowEffect(this);
    shadow->setBlurRadius(20.0);
    shadow->setColor(QColor(0, 0, 0, 80));
    shadow->setOffset(0, 0);
    shadow->setEnabled(true);
    ui->centralwidget->setGraphicsEffect(shadow);
}

MainWindow::~MainWindow()
{
    delete ui;
}

void MainWindow::retranslateForm()
{
    QComboBox *formats = ui->formatComboBox;
    QStringList entries;
    entries.reserve(formats->count());
    for (int i = 0; i < formats->count(); ++i)
        entries << formats->itemText(i);

    ui->retranslateUi(this);

    for (int i = 0; i < entries.size(); ++i)
        formats->setItemText(i, entries.at(i));
}

bool MainWindow::isInDragArea(const QPoint &windowPos) const
{
    for (const QWidget *area : {static_cast<const QWidget *>(ui->headerFrame),
                                static_cast<const QWidget *>(ui->frameMenu)}) {
        if (area->rect().contains(area->mapFrom(this, windowPos)))
            return true;
    }
    return false;
}

void MainWindow::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && !isFullScreen()
        && isInDragArea(event->position().toPoint())) {
        dragging = true;
        dragStartCursorPos = event->globalPosition().toPoint();
        dragStartWindowPos = frameGeometry().topLeft();
        event->accept();
        return;
    }
    QMainWindow::mousePressEvent(event);
}

void MainWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (dragging && (event->buttons() & Qt::LeftButton) && !isFullScreen()) {
        move(dragStartWindowPos + (event->globalPosition().toPoint() - dragStartCursorPos));
        event->accept();
        return;
    }
    QMainWindow::mouseMoveEvent(event);
}

void MainWindow::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && dragging) {
        dragging = false;
        event->accept();
        return;
    }
    QMainWindow::mouseReleaseEvent(event);
}

void MainWindow::on_closeButton_clicked()
{
    const auto answer = QMessageBox::question(this, tr("确认退出"), tr("确定要退出Oskivo吗？"),
                                              QMessageBox::Yes | QMessageBox::No);
    if (answer == QMessageBox::Yes)
        QCoreApplication::quit();
}

void MainWindow::on_minButton_clicked()
{
    showMinimized();
}

void MainWindow::on_homeButton_clicked()
{
    ui->stackedWidget->setCurrentIndex(0);
}

void MainWindow::on_configButton_clicked()
{
    ui->stackedWidget->setCurrentIndex(1);
}

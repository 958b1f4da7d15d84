#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include <QMainWindow>
#include <QPoint>
#include <QString>
#include <QTranslator>

class QGraphicsScene;
class QGraphicsVideoItem;
class QMediaPlayer;
class QMenu;

QT_BEGIN_NAMESPACE
namespace Ui {
class MainWindow;
}
QT_END_NAMESPACE

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private slots:
    void on_closeButton_clicked();
    void on_minButton_clicked();
    void on_homeButton_clicked();
    void on_configButton_clicked();

private:
    bool isInDragArea(const QPoint &windowPos) const;
    // Re-texts the form without touching the format list, whose entries are
    // replaced at start-up and would otherwise be re-texted by position.
    void retranslateForm();

    Ui::MainWindow *ui;
    bool dragging = false;
    QPoint dragStartCursorPos;
    QPoint dragStartWindowPos;
    QString videoFilePath;
    QString outputDirPath;
    QMediaPlayer *mediaPlayer = nullptr;
    QGraphicsScene *videoScene = nullptr;
    QGraphicsVideoItem *videoItem = nullptr;
    bool mediaLoaded = false;
    QMenu *popupMenu = nullptr;
    QTranslator appTranslator;
    QTranslator qtTranslator;
    QString currentLanguage = QStringLiteral("zh_CN");
    QString namePattern = QStringLiteral("frame_%1");
};

#endif // MAINWINDOW_H

#ifndef ABOUTDIALOG_H
#define ABOUTDIALOG_H

#include <QDialog>

QT_BEGIN_NAMESPACE
namespace Ui {
class AboutDialog;
}
QT_END_NAMESPACE

class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AboutDialog(QWidget *parent = nullptr);
    ~AboutDialog() override;

private slots:
    // The form has no button box, so the by-name connection finds nothing for this slot.
    void on_buttonBox_accepted();

private:
    Ui::AboutDialog *ui;
};

#endif // ABOUTDIALOG_H

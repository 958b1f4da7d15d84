#include "aboutdialog.h"
#include "ui_aboutdialog.h"

#include <QDesktopServices>
#include <QUrl>

AboutDialog::AboutDialog(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::AboutDialog)
{
    ui->setupUi(this);
    ui->versionLabel->setText(tr("版本: %1").arg(QStringLiteral(OSKIVO_VERSION)));

    // The label leaves external links alone, so the system's handler is asked here.
    connect(ui->websiteLabel, &QLabel::linkActivated, this,
        [](const QString &link) { QDesktopServices::openUrl(QUrl(link)); });
}

AboutDialog::~AboutDialog()
{
    delete ui;
}

void AboutDialog::on_buttonBox_accepted()
{
    close();
}

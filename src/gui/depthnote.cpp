#include "depthnote.h"
#include "windowrules.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QLabel>

namespace {

// The note's texts are the window's.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(MainWindow)
};

} // namespace

DepthNote::DepthNote(
    QComboBox *formats, QComboBox *depths, QFormLayout *form, QWidget *after, QObject *parent)
    : QObject(parent)
    , formats(formats)
    , depths(depths)
    , note(new QLabel(form->parentWidget()))
{
    note->setObjectName(QStringLiteral("depthNoteLabel"));
    note->setWordWrap(true);
    note->setStyleSheet(QStringLiteral("color: #c0392b; font-size: 11px;"));
    int row = -1;
    QFormLayout::ItemRole role;
    form->getWidgetPosition(after, &row, &role);
    form->insertRow(row < 0 ? form->rowCount() : row + 1, note);
    connect(formats, &QComboBox::currentIndexChanged, this, &DepthNote::show);
    connect(depths, &QComboBox::currentIndexChanged, this, &DepthNote::show);
    show();
}

void DepthNote::show()
{
    const QString format = formats->currentText();
    const Picture::BitDepth depth = Picture::bitDepthFromIndex(depths->currentIndex());
    QString text;
    if (!formatHoldsDepth(format, depth)) {
        text = depth == Picture::BitDepth::Rgb16
            ? Texts::tr("%1 不能保存每通道 16 位，图片将以每通道 8 位写入").arg(format)
            : Texts::tr("%1 不能保存透明度，图片将不带透明度写入").arg(format);
    }
    note->setText(text);
    note->setVisible(!text.isEmpty());
}

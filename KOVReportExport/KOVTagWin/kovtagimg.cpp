#include "kovtagimg.h"
#include "ui_kovtagimg.h"

#include <QPixmap>

KOVTagImg::KOVTagImg(const QString& path, QWidget* parent)
    : QDialog(parent)
    , ui(new Ui_KOVTagImg)
{
    ui->setupUi(this);
    setWindowTitle(path.mid(path.lastIndexOf(QLatin1Char('/')) + 1));
    const QPixmap pixmap(path);
    if (!pixmap.isNull())
        ui->label->setPixmap(pixmap.scaled(ui->label->size(), Qt::KeepAspectRatio, Qt::FastTransformation));
}

KOVTagImg::~KOVTagImg()
{
    delete ui;
}

#include "kovtagtxt.h"
#include "ui_kovtagtxt.h"

#include "kovtagtext.h"

KOVTagTxt::KOVTagTxt(const QString& path, QWidget* parent)
    : QDialog(parent)
    , ui(new Ui_KOVTagTxt)
{
    ui->setupUi(this);
    setWindowTitle(path.mid(path.lastIndexOf(QLatin1Char('/')) + 1));
    QString text;
    switch (KOVTagText::read(path, &text)) {
    case KOVTagText::Status::Missing:
        ui->textEdit->setText(tr("文本标记不存在！"));
        return;
    case KOVTagText::Status::OpenError:
        ui->textEdit->setText(tr("文本标记打开错误！"));
        return;
    case KOVTagText::Status::Ok:
        break;
    }
    ui->textEdit->append(text);
    ui->textEdit->append(QStringLiteral("\r\n----------------\r\n") + tr("文本标记读取成功"));
}

KOVTagTxt::~KOVTagTxt()
{
    delete ui;
}

#include "kovprogressbarwidget.h"
#include "ui_kovprogressbarwidget.h"

#include "kovprogresstext.h"

#include <QTimer>

KOVProgressBarWidget::KOVProgressBarWidget(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::KOVProgressBarWidget)
{
    ui->setupUi(this);
    m_string = tr("数据恢复中") + QStringLiteral("...  ");
    ui->label->setText(m_string + QStringLiteral("0%"));
}

KOVProgressBarWidget::~KOVProgressBarWidget()
{
    delete ui;
}

void KOVProgressBarWidget::setProgressText(QString text)
{
    ui->reportName->setText(text);
    ui->progressSlider->setValue(0);
    ui->label->setText(m_string + QStringLiteral("0%"));
}

void KOVProgressBarWidget::setTotal(int total)
{
    m_total = total;
    ui->progressSlider->setMaximum(total);
}

void KOVProgressBarWidget::setValue(int value)
{
    ui->label->setText(m_string + KOVProgressText::percent(value, m_total));
    ui->progressSlider->setValue(value);
}

void KOVProgressBarWidget::finishProgressBar(int ret)
{
    ui->label->setText(ret == 1 ? tr("数据恢复完成！") : tr("数据恢复失败！"));
    QTimer::singleShot(1500, this, [this] {
        close();
        deleteLater();
    });
}

void KOVProgressBarWidget::setSize(QSize size)
{
    resize(size);
    ui->groupBox->move((size.width() - ui->groupBox->width()) / 2, (size.height() - ui->groupBox->height()) / 2);
    move(0, 0);
    show();
}

QString KOVProgressBarWidget::percentText() const
{
    return ui->label->text();
}

QString KOVProgressBarWidget::titleText() const
{
    return ui->reportName->text();
}

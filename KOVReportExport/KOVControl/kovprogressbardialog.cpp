#include "kovprogressbardialog.h"
#include "ui_kovprogressbardialog.h"

#include "kovprogresstext.h"

#include <QCloseEvent>
#include <QTimer>

KOVProgressBarDialog::KOVProgressBarDialog(QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::KOVProgressBarDialog)
{
    ui->setupUi(this);
    m_string = tr("数据保存中") + QStringLiteral("...  ");
    ui->label->setText(m_string + QStringLiteral("0%"));
}

KOVProgressBarDialog::~KOVProgressBarDialog()
{
    delete ui;
}

void KOVProgressBarDialog::beginRun()
{
    // The dialog is reused: nothing of the previous run's result may show.
    ++m_run;
    m_running = true;
    m_total = 0;
    ui->reportName->clear();
    ui->progressSlider->setValue(0);
    ui->label->setText(m_string + QStringLiteral("0%"));
}

void KOVProgressBarDialog::slotProgressText(QString text)
{
    setProgressText(text);
}

void KOVProgressBarDialog::setProgressText(const QString& text)
{
    m_running = true;
    ui->reportName->setText(text);
    ui->progressSlider->setValue(0);
    ui->label->setText(m_string + QStringLiteral("0%"));
}

void KOVProgressBarDialog::slotTotal(int total)
{
    m_running = true;
    m_total = total;
    ui->progressSlider->setMaximum(total);
}

void KOVProgressBarDialog::slotValue(int value)
{
    setValue(value);
}

void KOVProgressBarDialog::setValue(int value)
{
    ui->progressSlider->setValue(value);
    ui->label->setText(m_string + KOVProgressText::percent(value, m_total));
}

void KOVProgressBarDialog::slotFinishProgressBar(int ret)
{
    m_running = false;
    ui->label->setText(ret == 1 ? tr("文件已保存！") : ret == 2 ? tr("文件已保存，部分内容未能导出！") : tr("文件保存失败！"));
    // Bound to the dialog and to this run: a dialog gone by then, or already
    // showing the next export, is not ended by it.
    const int run = m_run;
    QTimer::singleShot(1500, this, [this, ret, run] {
        if (run == m_run)
            done(ret);
    });
}

void KOVProgressBarDialog::reject()
{
    if (!m_running)
        QDialog::reject();
}

void KOVProgressBarDialog::closeEvent(QCloseEvent* event)
{
    if (m_running)
        event->ignore();
    else
        QDialog::closeEvent(event);
}

QString KOVProgressBarDialog::percentText() const
{
    return ui->label->text();
}

QString KOVProgressBarDialog::titleText() const
{
    return ui->reportName->text();
}

int KOVProgressBarDialog::sliderValue() const
{
    return ui->progressSlider->value();
}

int KOVProgressBarDialog::sliderMaximum() const
{
    return ui->progressSlider->maximum();
}

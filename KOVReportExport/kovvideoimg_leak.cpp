// The loss-estimation box of a gas-leak report page: the yearly cost of the
// leak rate on show. The rules are KOVLeakLoss's; this keeps the box's texts
// and m_lossEstimation in step.
#include "kovvideoimg.h"
#include "ui_kovvideoimg.h"

void KOVVideoImg::updateLeakLossEstimation_value()
{
    m_lossEstimation.allMoney = KOVLeakLoss::yearlyAmount(m_lossEstimation);
    ui->info_money->setText(KOVLeakLoss::moneyText(
        KOVLeakLoss::toDisplay(m_lossEstimation.unitType, m_lossEstimation.allMoney)));
}

void KOVVideoImg::updateLeakLossEstimation_unit()
{
    const int unit = m_lossEstimation.unitType;
    // Shown from the stored base-currency values, so switching back and
    // forth never drifts.
    ui->info_value->setText(KOVLeakLoss::moneyText(KOVLeakLoss::toDisplay(unit, m_lossEstimation.value)));
    ui->info_energyCost->setText(KOVLeakLoss::moneyText(KOVLeakLoss::toDisplay(unit, m_lossEstimation.energyCost)));
    ui->info_money->setText(KOVLeakLoss::moneyText(KOVLeakLoss::toDisplay(unit, m_lossEstimation.allMoney)));
}

void KOVVideoImg::on_info_moneyUnit_currentIndexChanged(int index)
{
    m_lossEstimation.unitType = index;
    const QString symbol = ui->info_moneyUnit->itemText(index);
    ui->info_energyCostUnit->setText(symbol);
    ui->info_moneyUnit_year->setText(symbol);
    updateLeakLossEstimation_unit();
}

void KOVVideoImg::on_info_value_editingFinished()
{
    m_lossEstimation.value = KOVLeakLoss::toBase(m_lossEstimation.unitType, ui->info_value->text().toFloat());
    updateLeakLossEstimation_value();
}

void KOVVideoImg::on_info_energyCost_editingFinished()
{
    m_lossEstimation.energyCost
        = KOVLeakLoss::toBase(m_lossEstimation.unitType, ui->info_energyCost->text().toFloat());
    updateLeakLossEstimation_value();
}

void KOVVideoImg::on_info_specificPower_editingFinished()
{
    m_lossEstimation.specificPower = ui->info_specificPower->text().toFloat();
    updateLeakLossEstimation_value();
}

void KOVVideoImg::on_info_time_editingFinished()
{
    m_lossEstimation.time = ui->info_time->text().toInt(nullptr, 10);
    updateLeakLossEstimation_value();
}

void KOVVideoImg::on_info_leakValue_editingFinished()
{
    m_lossEstimation.leakValue = ui->info_leakValue->text().toFloat();
    updateLeakLossEstimation_value();
}

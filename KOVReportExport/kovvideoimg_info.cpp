// Frame information and the test-point fields that are not label fields.
#include "kovvideoimg.h"
#include "ui_kovvideoimg.h"

#include "kovframeinfotext.h"
#include "koviteminfo.h"
#include "kovmarklookup.h"

void KOVVideoImg::showItemInfo(int seq)
{
    KOVImageInfo info;
    if (m_itemInfo->getImageInfo(seq, info)) {
        ui->oldFileVersion->hide();
        const KOVFrameInfoText t = KOVFrameInfoText::fromImageInfo(info, m_itemInfo->getImageTime(seq));
        ui->infoTime->setText(t.time);
        ui->infoFreqBandwidth->setText(t.bandwidth);
        ui->infoDynamic->setText(t.dynamic);
        ui->infoUltrasonic->setText(t.ultrasonic);
        m_lossEstimation.level = t.level;
        m_lossEstimation.leakValue = info.leakValue;
        ui->info_leakValue->setText(t.leakValue);
    } else {
        ui->oldFileVersion->show();
        showDefaultInfo();
        // Otherwise a picture without data would carry the previous frame's
        // leak level into its record.
        m_lossEstimation.level.clear();
        m_lossEstimation.leakValue = 0.0f;
        ui->info_leakValue->setText(QStringLiteral("0"));
    }
    updateLeakLossEstimation_value();
}

void KOVVideoImg::showDefaultInfo()
{
    const QString none = QStringLiteral("/");
    ui->infoTime->setText(none);
    ui->infoFreqBandwidth->setText(none);
    ui->infoDynamic->setText(none);
    ui->infoUltrasonic->setText(none);
}

void KOVVideoImg::clearItmInfo()
{
    showItemLabelInfo(false);
    ui->infoTime->clear();
    ui->infoFreqBandwidth->clear();
    ui->infoDynamic->clear();
    ui->infoMaxSPL->clear();
    ui->infoUltrasonic->clear();
}

KOVImgInfo KOVVideoImg::currentImgInfo() const
{
    KOVImgInfo i;
    i.bandwidth = ui->infoFreqBandwidth->text();
    i.dynamic = ui->infoDynamic->text();
    i.heatSPL = ui->infoMaxSPL->text();
    i.ultrasonic = ui->infoUltrasonic->text();
    return i;
}

void KOVVideoImg::updatePointInfo_itemInfo()
{
    if (m_pointInfo.type == ItemType::photo || !m_markList.isEmpty())
        m_pointInfo.imgInfoList.append(currentImgInfo());
}

void KOVVideoImg::updatePointInfo_leakageInfo()
{
    m_pointInfo.leakageLevel = m_lossEstimation.level;
    m_pointInfo.leakage = ui->info_leakValue->text();
    m_pointInfo.economicLosses = ui->info_money->text() + QStringLiteral(" ") + ui->info_moneyUnit_year->text();
}

void KOVVideoImg::on_infoMaxSPL_textChanged(const QString& text)
{
    Q_UNUSED(text);
    if (m_pointInfo.type != ItemType::photo)
        return;
    m_pointInfo.imgInfoList.clear();
    updatePointInfo_itemInfo();
    emitPointInfo();
}

void KOVVideoImg::on_infoMaxSPL_editingFinished()
{
    if (m_pointInfo.type != ItemType::video)
        return;
    if (KOVMarkLookup::replace(m_markList, m_pointInfo.imgInfoList, m_videoImgIndex + 1, currentImgInfo()))
        emitPointInfo();
}

void KOVVideoImg::on_infoAdvice_editingFinished()
{
    ui->infoAdvice->clearFocus();
    m_pointInfo.advice = ui->infoAdvice->text();
    emitPointInfo();
}

void KOVVideoImg::on_infoJudgement_textChanged()
{
    m_pointInfo.judgment = ui->infoJudgement->toPlainText();
}

void KOVVideoImg::on_infoFaultLevel_elec_currentIndexChanged(const QString& text)
{
    m_pointInfo.faultLevel = text;
    emitPointInfo();
}

void KOVVideoImg::on_infoFaultLevel_gas_currentIndexChanged(const QString& text)
{
    m_pointInfo.faultLevel = text;
    emitPointInfo();
}

void KOVVideoImg::on_infoPrpdType_editingFinished()
{
    ui->infoPrpdType->clearFocus();
    emitPointInfo();
}

void KOVVideoImg::on_infoPrpdType_textChanged(const QString& text)
{
    if (m_pointInfo.prpdTypeList.isEmpty())
        m_pointInfo.prpdTypeList.append(text);
    else
        m_pointInfo.prpdTypeList[0] = text;
}

void KOVVideoImg::on_radioButton_toggled(bool checked)
{
    m_pointInfo.saveClip = checked;
    emitPointInfo();
}

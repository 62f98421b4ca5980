// The item's label (gas leak or electrical finding) and its fields.
//
// The state object holds one label record, that of whichever item folder any
// page read last. Before this page reads the record for a type switch or
// writes it back, it re-reads its own item's label file, so it never shows or
// overwrites another page's item.
#include "kovvideoimg.h"
#include "ui_kovvideoimg.h"

#include "kovinformation.h"
#include "kovlabelrules.h"
#include "kovmessagebox.h"

#include <QDebug>
#include <QDir>
#include <QMessageBox>

bool KOVVideoImg::ask(const QString& title, const QString& text)
{
    if (m_question)
        return m_question(title, text);
    return QMessageBox::information(this, title, text, QMessageBox::Ok | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Ok;
}

void KOVVideoImg::reloadOwnLabel()
{
    if (!m_itemDir.isEmpty())
        KOVInformation::Instance()->setItemPath(m_itemDir);
}

void KOVVideoImg::showItemLabelInfo(bool hasLabel)
{
    ui->saveItemInfo->setVisible(hasLabel);
    if (hasLabel) {
        const int t = KOVInformation::Instance()->getLabelType();
        if (t == 0 || t == 1) {
            m_pointInfo.labelType = t;
            ui->itemInfoTypeCB->setCurrentIndex(t);
            if (t == 0)
                showItemInfo_gas();
            else
                showItemInfo_elec();
            return;
        }
    }
    const bool gas = KOVLabelRules::panelFor(-1, m_reportType) == KOVLabelRules::GasPanel;
    m_pointInfo.labelType = gas ? 0 : 1;
    ui->itemInfoTypeCB->setCurrentIndex(gas ? 0 : 1);
    ui->groupBox_itemInfo_gas->setVisible(gas);
    ui->groupBox_itemInfo_elec->setVisible(!gas);
    ui->infoFaultLevel_gas->setVisible(gas);
    ui->infoFaultLevel_elec->setVisible(!gas);
    m_pointInfo.faultLevel = gas ? ui->infoFaultLevel_gas->currentText() : ui->infoFaultLevel_elec->currentText();
    ui->groupBox_prpdType->setVisible(!gas);

    const QString none = QStringLiteral("/");
    for (QLineEdit* e : { ui->infoAirPressure, ui->infoAirType, ui->infoFaultSite_gas, ui->infoDistance,
             ui->infoFaultSite_elec, ui->infoVoltage })
        e->setText(none);
}

void KOVVideoImg::showItemInfo_gas()
{
    ui->groupBox_itemInfo_elec->hide();
    ui->groupBox_itemInfo_gas->show();
    ui->infoFaultLevel_gas->show();
    m_pointInfo.faultLevel = ui->infoFaultLevel_gas->currentText();
    ui->infoFaultLevel_elec->hide();
    ui->groupBox_prpdType->hide();
    if (m_itemDir.isEmpty())
        return;
    const KOVInformation* info = KOVInformation::Instance();
    ui->infoAirPressure->setText(info->getAirPressure());
    ui->infoAirPressureUnit->setCurrentText(info->getAirPressureUnit());
    ui->infoAirType->setText(info->getGasType());
    ui->infoFaultSite_gas->setText(info->getFaultSite_gas());
}

void KOVVideoImg::showItemInfo_elec()
{
    ui->groupBox_itemInfo_gas->hide();
    ui->groupBox_itemInfo_elec->show();
    ui->infoFaultLevel_gas->hide();
    ui->infoFaultLevel_elec->show();
    m_pointInfo.faultLevel = ui->infoFaultLevel_elec->currentText();
    ui->groupBox_prpdType->show();
    if (m_itemDir.isEmpty())
        return;
    const KOVInformation* info = KOVInformation::Instance();
    ui->infoDistance->setText(info->getDistance());
    ui->infoFaultSite_elec->setText(info->getFaultSite_elec());
    ui->infoVoltage->setText(info->getVoltage());
    ui->infoVoltageUnitCB->setCurrentText(info->getVoltageUnit());
}

void KOVVideoImg::on_itemInfoTypeCB_currentIndexChanged(int index)
{
    m_pointInfo.labelType = index;
    reloadOwnLabel();
    if (index == 0)
        showItemInfo_gas();
    else
        showItemInfo_elec();
}

void KOVVideoImg::on_saveItemInfo_clicked()
{
    if (!ask(tr("提示"), tr("保存并覆盖原有测试点信息")))
        return;
    // Without an item of its own the page has no label file to write.
    if (m_itemDir.isEmpty())
        return;
    reloadOwnLabel();
    KOVInformation* info = KOVInformation::Instance();
    info->setLabelType(m_pointInfo.labelType);
    info->setFaultSite_gas(m_pointInfo.faultSite_gas);
    info->setAirPressure(ui->infoAirPressure->text());
    info->setAirPressureUnit(ui->infoAirPressureUnit->currentText());
    info->setGasType(m_pointInfo.gasType);
    info->setFaultSite_elec(m_pointInfo.faultSite_elec);
    info->setVoltage(ui->infoVoltage->text());
    info->setVoltageUnit(ui->infoVoltageUnitCB->currentText());
    info->setDistance(ui->infoDistance->text());
    if (!info->saveItemInfo()) {
        // The user asked for the file to be overwritten: say it was not.
        const QString path = info->getItemLabelPath();
        qWarning() << "KOVVideoImg::on_saveItemInfo_clicked: label not written" << path;
        KOVMessageBox::ask(this, QMessageBox::Warning, tr("警告"),
                           tr("测试点信息未能保存，请检查文件是否可写：")
                               + QDir::toNativeSeparators(QDir::cleanPath(path)),
                           QStringList());
    }
}

void KOVVideoImg::on_infoAirPressure_textChanged(const QString& text)
{
    m_pointInfo.airPressure = KOVLabelRules::withUnit(text, ui->infoAirPressureUnit->currentText());
}

void KOVVideoImg::on_infoAirPressureUnit_currentIndexChanged(const QString& unit)
{
    m_pointInfo.airPressure = KOVLabelRules::withUnit(ui->infoAirPressure->text(), unit);
}

void KOVVideoImg::on_infoAirType_textChanged(const QString& text)
{
    m_pointInfo.gasType = text;
}

void KOVVideoImg::on_infoFaultSite_gas_textChanged(const QString& text)
{
    m_pointInfo.faultSite_gas = text;
}

void KOVVideoImg::on_infoVoltage_textChanged(const QString& text)
{
    m_pointInfo.voltage = KOVLabelRules::withUnit(text, ui->infoVoltageUnitCB->currentText());
}

void KOVVideoImg::on_infoVoltageUnitCB_currentIndexChanged(const QString& unit)
{
    m_pointInfo.voltage = KOVLabelRules::withUnit(ui->infoVoltage->text(), unit);
}

void KOVVideoImg::on_infoFaultSite_elec_textChanged(const QString& text)
{
    m_pointInfo.faultSite_elec = text;
}

void KOVVideoImg::on_infoDistance_textChanged(const QString& text)
{
    m_pointInfo.distance = text;
}

void KOVVideoImg::on_infoAirPressure_editingFinished()
{
    ui->infoAirPressure->clearFocus();
    emitPointInfo();
}

void KOVVideoImg::on_infoAirType_editingFinished()
{
    ui->infoAirType->clearFocus();
    emitPointInfo();
}

void KOVVideoImg::on_infoFaultSite_gas_editingFinished()
{
    ui->infoFaultSite_gas->clearFocus();
    emitPointInfo();
}

void KOVVideoImg::on_infoVoltage_editingFinished()
{
    ui->infoVoltage->clearFocus();
    emitPointInfo();
}

void KOVVideoImg::on_infoFaultSite_elec_editingFinished()
{
    ui->infoFaultSite_elec->clearFocus();
    emitPointInfo();
}

void KOVVideoImg::on_infoDistance_editingFinished()
{
    ui->infoDistance->clearFocus();
    emitPointInfo();
}

#include "kovvideoimg.h"

#include "kovinformation.h"
#include "kovmsg.h"

KOVVideoImg::KOVVideoImg(QWidget* parent)
    : QWidget(parent)
{
    setWindowFlag(Qt::FramelessWindowHint);
    connect(KOVMsg::Instance(), &KOVMsg::sigItemListChanged, this, &KOVVideoImg::slotUpdateItemList);
}

KOVVideoImg::~KOVVideoImg() = default;

void KOVVideoImg::isReportWin(bool report, int type)
{
    m_isReportPage = report;
    m_reportType = type;
    m_pointInfo.leakageData = (type == 0);
}

void KOVVideoImg::saveNamePre(QString pre)
{
    m_savePre = pre;
}

void KOVVideoImg::slotUpdateItemList()
{
    m_itemList = KOVInformation::Instance()->getFileNameList();
    m_itemPathList = KOVInformation::Instance()->getFilePathList();
}

void KOVVideoImg::showItem(int index, QString dirPath)
{
    Q_UNUSED(dirPath);
    if (index < 0 || index >= m_itemList.size() || index >= m_itemPathList.size())
        return;
    m_preSelected = index;
    m_pointInfo.name = m_itemList[index];
    emit sigPointInfoChanged(m_pointInfo);
}

void KOVVideoImg::closeFile(bool isPhoto)
{
    Q_UNUSED(isPhoto);
}

void KOVVideoImg::synchronousSelectIndexAfterDel(int index)
{
    m_preSelected = index;
}

void KOVVideoImg::saveData(QJsonObject& root)
{
    Q_UNUSED(root);
}

void KOVVideoImg::restoreData(QJsonObject& root)
{
    Q_UNUSED(root);
}

void KOVVideoImg::updatePBText()
{
}

void KOVVideoImg::updateLanguage()
{
}

// The report page in the recovery cache. A restored page is rebuilt through
// the same four aligned lists as a ticked one; rows come back bounded by the
// restored file list (-1 for a point whose row is gone or repeated), one per
// test point, so no list is read past its end.
#include "kovreportwin.h"
#include "ui_kovreportwin.h"

#include "kovcachecheck.h"
#include "kovinformation.h"
#include "kovvideoimg.h"

#include <QCoreApplication>
#include <QJsonArray>

namespace {

// A widget asks to be polished when it is made; a page not on screen is
// polished when first shown instead. Matching the style sheets of a page's
// some 185 widgets was a third of restoring it, for pages most of which are
// never shown.
void deferPolish(QWidget* page)
{
    QCoreApplication::removePostedEvents(page, QEvent::PolishRequest);
    for (QWidget* w : page->findChildren<QWidget*>())
        QCoreApplication::removePostedEvents(w, QEvent::PolishRequest);
}

} // namespace

void KOVReportWin::saveData(QJsonObject& parent)
{
    const KOVReportInfo& r = m_reportInfo;
    QJsonObject o;
    o.insert(QStringLiteral("name"), r.name);
    o.insert(QStringLiteral("type"), r.type);
    o.insert(QStringLiteral("company"), r.company);
    o.insert(QStringLiteral("tester"), r.tester);
    o.insert(QStringLiteral("site"), r.site);
    o.insert(QStringLiteral("datetime"), r.datetime);
    o.insert(QStringLiteral("reportSN"), r.reportSN);
    o.insert(QStringLiteral("deviceModel"), r.deviceModel);
    o.insert(QStringLiteral("deviceSN"), r.deviceSN);
    o.insert(QStringLiteral("deviceVersion"), r.deviceVersion);
    o.insert(QStringLiteral("pointNum"), m_pointNum);
    o.insert(QStringLiteral("preStr"), m_winDefaultNum);
    QJsonArray rows;
    for (int row : qAsConst(m_chosedItemList))
        rows.append(row);
    o.insert(QStringLiteral("chosedItemList"), rows);
    QJsonArray points;
    for (KOVVideoImg* page : qAsConst(m_testPointList)) {
        QJsonObject point;
        page->saveData(point);
        points.append(point);
    }
    o.insert(QStringLiteral("testPointList"), points);
    o.insert(QStringLiteral("currentIndex"), ui->reviewTabWidget->currentIndex());
    parent.insert(QStringLiteral("reportInfo"), o);
}

void KOVReportWin::restoreData(QJsonObject& parent, const std::function<void()>& pointDone)
{
    const QJsonObject o = parent.value(QStringLiteral("reportInfo")).toObject();
    KOVReportInfo& r = m_reportInfo;
    r.name = o.value(QStringLiteral("name")).toString();
    r.type = o.value(QStringLiteral("type")).toInt(0) == 1 ? 1 : 0;
    r.company = o.value(QStringLiteral("company")).toString();
    r.tester = o.value(QStringLiteral("tester")).toString();
    r.site = o.value(QStringLiteral("site")).toString();
    r.datetime = o.value(QStringLiteral("datetime")).toString();
    r.reportSN = o.value(QStringLiteral("reportSN")).toString();
    r.deviceModel = o.value(QStringLiteral("deviceModel")).toString();
    r.deviceSN = o.value(QStringLiteral("deviceSN")).toString();
    r.deviceVersion = o.value(QStringLiteral("deviceVersion")).toString();
    const KOVReportInfo header = r;
    setWindowTitle(header.name);
    ui->infoName->setText(header.name);
    // Numbers name the files the test points write: never below their start.
    m_pointNum = std::max(1, o.value(QStringLiteral("pointNum")).toInt(1));
    m_winDefaultNum = std::max(0, o.value(QStringLiteral("preStr")).toInt(0));
    ui->infoCompany->setText(header.company);
    ui->infoTester->setText(header.tester);
    ui->infoSite->setText(header.site);
    ui->infoDateTime->setText(header.datetime);
    ui->infoReportSN->setText(header.reportSN);
    ui->infoModel->setText(header.deviceModel);
    ui->infoSN->setText(header.deviceSN);
    ui->infoVersion->setText(header.deviceVersion);

    const QJsonArray points = o.value(QStringLiteral("testPointList")).toArray();
    const QStringList names = KOVInformation::Instance()->getFileNameList();
    const QList<int> rows = KOVCacheCheck::chosenRows(o.value(QStringLiteral("chosedItemList")).toArray(),
                                                      points.size(), names.size());
    for (KOVVideoImg* page : qAsConst(m_testPointList))
        disconnect(page, nullptr, this, nullptr);
    ui->reviewTabWidget->clear();
    qDeleteAll(m_testPointList);
    m_testPointList.clear();
    m_pointInfoList.clear();
    m_chosedItemList.clear();
    for (int j = 0; j < points.size(); ++j) {
        QJsonObject point = points.at(j).toObject();
        auto* page = new KOVVideoImg(pageParent());
        connect(page, SIGNAL(sigPointInfoChanged(KOVTestPointInfo_t)), this,
                SLOT(slotUpdatePointInfo(KOVTestPointInfo_t)));
        page->isReportWin(true, r.type);
        page->saveNamePre(QString::number(m_winDefaultNum));
        // All four lists grow before the tab exists, as for a ticked row.
        m_chosedItemList.enqueue(rows.at(j));
        m_testPointList.append(page);
        m_pointInfoList.append(KOVTestPointInfo());
        m_reportInfo.pointInfoList = m_pointInfoList;
        // Not made current: showing each point in turn polishes every page
        // and grows with the count. The saved tab is made current below.
        ui->reviewTabWidget->addTab(page, rows.at(j) >= 0 ? names.at(rows.at(j)) : QString());
        page->restoreData(point);
        deferPolish(page);
        if (rows.at(j) < 0)
            ui->reviewTabWidget->setTabText(j, page->pointInfo().name);
        if (pointDone)
            pointDone();
    }
    m_itemCnt = m_testPointList.size();
    // A saved tab past the last leaves the last current, as when every
    // point was made current in turn.
    const int current = o.value(QStringLiteral("currentIndex")).toInt(0);
    const int count = ui->reviewTabWidget->count();
    if (count > 0)
        ui->reviewTabWidget->setCurrentIndex(current >= 0 && current < count ? current : count - 1);
    emit sigReportInfoChanged(m_reportInfo);
}

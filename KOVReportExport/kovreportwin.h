#ifndef KOVREPORTWIN_H
#define KOVREPORTWIN_H

#include "kovdatastruct.h"

#include <QDate>
#include <QJsonObject>
#include <QList>
#include <QQueue>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>

class KOVVideoImg;

namespace Ui {
class KOVReportWin;
}

// The page of one report, a tab of the main window: the report's header in
// nine fields and one review page per test point in a tab widget of its own.
//
// Tab i of reviewTabWidget and entry i of m_testPointList, m_pointInfoList
// and m_chosedItemList belong to the same test point; every change (add,
// remove, a dragged tab) goes to all four at the same position, and
// m_reportInfo.pointInfoList is a copy of m_pointInfoList. checkConsistency()
// says what breaks that, if anything.
//
// Implementation by concern: kovreportwin.cpp (construction, header fields,
// screen scale), kovreportwin_points.cpp (test points and their tabs),
// kovreportwin_state.cpp (recovery cache).
class KOVReportWin : public QWidget
{
    Q_OBJECT
public:
    explicit KOVReportWin(QWidget* parent = nullptr);
    ~KOVReportWin() override;

    void setReportWinTitle(QString title, int n);
    void setReportType(int type);
    // False, and nothing added, for a row outside the imported item lists.
    bool addTestpoint(int row);
    void deleteTestPoint(int index);
    void setChosedItemList();
    KOVReportInfo getReportData() const;
    void updateLanguage();
    void updateChosedNum(int index);

    // Read-only views for the main window, the recovery cache and tests.
    int reportNumber() const { return m_winDefaultNum; }
    int pointNum() const { return m_pointNum; }
    QQueue<int> chosedItemList() const { return m_chosedItemList; }
    QList<KOVTestPointInfo> pointInfoList() const { return m_pointInfoList; }
    QList<KOVVideoImg*> testPointPages() const { return m_testPointList; }
    // Empty when tabs and lists agree, else the first disagreement found.
    QString checkConsistency() const;

    // Recovery cache (kovreportwin_state.cpp): the page under "reportInfo"
    // of parent, its test points' pages nested in it.
    void saveData(QJsonObject& parent);
    // pointDone is called after each test point, for the restore's progress.
    void restoreData(QJsonObject& parent, const std::function<void()>& pointDone = {});

signals:
    void sigReportInfoChanged(KOVReportInfo_t reportInfo);
    void sigUpdateStatusLabel(int itemIndex);

public slots:
    void slotUpdateItemCnt();
    void slotUpdateIndex();
    void slotScreenDPIChanged(double dpiRate);
    void slotRemoveTestPoint(int index);
    void slotUpdatePointInfo(KOVTestPointInfo_t info);
    void slotTabMoved(int from, int to);

private slots:
    void on_reviewTabWidget_currentChanged(int index);
    void on_infoName_textChanged(const QString& text);
    void on_infoCompany_textChanged(const QString& text);
    void on_infoTester_textChanged(const QString& text);
    void on_infoSite_textChanged(const QString& text);
    void on_infoDateTime_textChanged(const QString& text);
    void on_infoReportSN_textChanged(const QString& text);
    void on_infoModel_textChanged(const QString& text);
    void on_infoSN_textChanged(const QString& text);
    void on_infoVersion_textChanged(const QString& text);
    void on_infoName_editingFinished();
    void on_infoCompany_editingFinished();
    void on_infoTester_editingFinished();
    void on_infoSite_editingFinished();
    void on_infoDateTime_editingFinished();
    void on_infoReportSN_editingFinished();
    void on_infoModel_editingFinished();
    void on_infoSN_editingFinished();
    void on_infoVersion_editingFinished();
    void on_hideInfoBtn_clicked();
    void on_choseDatePB_clicked();
    void on_calendarWidget_clicked(const QDate& date);

private:
    void initTableWidget();
    void refreshDPI();
    void setTabStyle(double rate);
    void delInfoAndTab(int index);
    void delPointInfo(int index);
    void releasePage(KOVVideoImg* page);
    QWidget* pageParent() const;

    Ui::KOVReportWin* ui;
    KOVReportInfo_t m_reportInfo;
    QList<KOVTestPointInfo> m_pointInfoList;
    QList<KOVVideoImg*> m_testPointList;
    QQueue<int> m_chosedItemList;
    int m_itemCnt = 0;
    // The file list's paths as of its last change: a deletion renumbers the
    // rows by them.
    QStringList m_itemPaths;
    int m_pointNum = 1;
    int m_winDefaultNum = 0;
    double m_preDpiRate = 1.0;
};

#endif // KOVREPORTWIN_H

#ifndef KOVREPORTEXPORT_H
#define KOVREPORTEXPORT_H

#include "kovdatastruct.h"

#include <QImage>
#include <QList>
#include <QMainWindow>
#include <QQueue>
#include <QString>
#include <QStringList>

class KOVCacheFile;
class KOVItem;
class KOVReportExportPrivate;
class KOVReportWin;
class KOVVideoImg;
class QJsonArray;
class QLabel;
class QListWidgetItem;

namespace Ui {
class KOVReportExport;
}

// The application's main window: the file list of imported items on the
// left, the browse page (tab 0) and the report pages on the right, the shown
// item's path in the status bar. The file-name list, the file-path list, the
// list entries and the list widget's rows are kept aligned by index.
class KOVReportExport : public QMainWindow
{
    Q_OBJECT
public:
    explicit KOVReportExport(QWidget* parent = nullptr);
    ~KOVReportExport() override;

    // Tab 0 is the browse page; every further tab is a report page.
    int getMainTabNum() const;
    // Offers to restore the recovery cache, before the window is shown.
    void restoreData();
    // Writes the recovery cache of the open report pages; false, with the
    // reason in why, when it could not be written. Writes nothing while a
    // restore runs: the cache on disk is then the only whole copy of the work.
    bool saveData(QString* why = nullptr);
    // The quit's write of the cache, while the window still shows: once per
    // run, only with report pages open, a failure told to the user.
    void saveDataAtQuit();
    // Ends the run as a quit that asks nothing (the session ends, a service
    // manager stops the program): the cache is written, then the loop ends.
    void quitFromOutside();

    // The import road, step by step.
    void importFiles();
    QString openUsrDirDialog();
    bool checkIsUsrDirSame(QString dir);
    QStringList openDirListDialog(QString dir);
    // Names the folders of dir the import cannot reach, once.
    void tellUndecodable(const QString& dir);
    QStringList checkDirInfo(QStringList dirs, int count);
    bool checkSameFile(QString name, QString path, int count);
    void updateOpenDir();
    QString getItemDirPath(QString path);

    void clickItemtoShow(int row);
    void setStatusInfo(int row, bool clear);
    void updateCurrentCheckedFile(QString path);
    void updateLanguage();
    void setChosedCheckboxVisible(bool visible);
    void batchVisible(bool show);
    void checkDelChosedItem();
    // Deleting items (kovreportexport_delete.cpp)
    bool delReportBeforeDelAllItem(int count);
    void delItemFile(int row);
    void updateItemListAndWidget(int row);
    void updateChosedItem_Del(int row);
    void deselectItem();
    void addNewReport(int type);
    void refreshSize(double dpi);

    // Report tabs and export (kovreportexport_report.cpp, _export.cpp).
    void clearCheckbox();
    void deleteHideImg(QList<KOVTestPointInfo> points);
    void exportInfo(KOVReportInfo info);
    QString mkReportDir(QString path, KOVReportInfo info, int count);
    // At start: the files under ./cfg the program cannot do without that are
    // missing, logged and told in one message. Returns them.
    QStringList checkNeededFiles();
    // Returns once a running export's worker has ended.
    void waitForExport();
    bool isExporting() const;
    QList<KOVReportWin*> reportWins() const { return m_winList; }
    QList<KOVReportInfo> reportRecords() const { return m_reportList; }
    QQueue<int> chosedItemList() const { return m_chosedItemList; }
    int reportNum() const { return m_reportNum; }
    // Empty when the tabs, the report lists, the file list rows, the chosen rows
    // and the ticks agree, else the first disagreement found.
    QString checkConsistency() const;

    QStringList filePathList() const { return m_filePathList; }
    QStringList fileNameList() const { return m_fileNameList; }
    QQueue<KOVItem*> itemEntries() const { return m_itemList; }
    int preIndex() const { return m_preIndex; }
    KOVVideoImg* browsePage() const { return m_videoImg; }

signals:
    void sigProgressText(QString text);
    void sigTotal(int total);
    void sigValue(int value);
    void sigFinishProgressBar(int ret);

public slots:
    void on_actionImport_triggered();
    void on_actionDelete_triggered();
    void on_actionbatchDel_triggered();
    void on_actionElectricity_triggered();
    void on_actionGas_triggered();
    void on_actionsaveReport_triggered();
    void on_actionChinese_triggered();
    void on_actionEnglish_triggered();
    void on_actionAbout_triggered();
    void on_listWidget_itemPressed(QListWidgetItem* item);
    void on_listWidget_currentRowChanged(int currentRow);
    void on_mainTabWidget_currentChanged(int index);
    void on_batch_allCB_toggled(bool checked);
    void on_batch_okPB_clicked();
    void on_batch_noPB_clicked();

    void slotUpdateStatusLB(int row);
    void slotOpenFile();
    void slotSwitchItem(int next);
    void slotSeclectItemChanged(int pre, int cur);
    void slotRemoveReportWin(int index);
    void slotUpdateChosedList(int pre, int now);
    void slotUpdateReportWinTitle(QString title);
    void slotSetItemUnchosed_videoWin(int row);
    void slotSetItemChosed(QString name);
    void slotSetItemUnchosed(QString name);
    void slotUpdateReportInfo(KOVReportInfo_t info);
    void slotLogicalDotsPerInchChanged(double dpi);
    void slotMainTabMoved(int from, int to);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void initStatusBar();
    // The window's size at factor 1 into the settings.
    void storeWindowSize();
    // Opens the window at its stored size, wholly inside the first screen's
    // available area, frame included.
    void placeOnScreen();
    void chooseLanguage(int id);
    void fitStatusBar();
    void addRow(const QString& name, bool boxVisible);
    void renumberShownRow(int row);
    // Titles of the report pages whose test points use row.
    QStringList reportsUsing(int row);
    // Recovery cache (kovreportexport_cache.cpp)
    void failRestore(const KOVCacheFile& cache, const QString& why);
    QJsonArray saveReportPages();
    void restoreReportPages(const QJsonArray& pages);
    KOVReportWin* currentReportWin() const;
    int rowOfEntry(QObject* entry, const QString& name) const;

    Ui::KOVReportExport* ui;
    KOVReportExportPrivate* d;
    QString m_curDirName;
    QString m_curFileName;
    QStringList m_filePathList;
    QStringList m_fileNameList;
    KOVVideoImg* m_videoImg = nullptr;
    QList<QImage> m_videoImgList;
    QList<KOVReportWin*> m_winList;
    int m_preIndex = -1;
    QQueue<int> m_chosedItemList;
    QList<KOVReportInfo> m_reportList;
    int m_reportNum = 1;
    QString m_exportPath;
    QLabel* statusLb_filePath = nullptr;
    QLabel* statusLb = nullptr;
    QQueue<KOVItem*> m_itemList;
    int m_language = 0;
    bool m_duringDel = false;
    double m_ratio = 1.0;
    double m_preDPIRate = 1.0;
};

#endif // KOVREPORTEXPORT_H

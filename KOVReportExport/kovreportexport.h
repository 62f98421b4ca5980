#ifndef KOVREPORTEXPORT_H
#define KOVREPORTEXPORT_H

#include <QMainWindow>

class QTabWidget;

// The application's main window. This is the bare frame that start-up and the
// crash handler rely on; import, the file list and the pages build on it.
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
    // Writes the recovery cache of the open report pages.
    void saveData();

private:
    QTabWidget* m_tabWidget = nullptr;
};

#endif // KOVREPORTEXPORT_H

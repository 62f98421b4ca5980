#ifndef KOVREPORTEXPORTPRIVATE_H
#define KOVREPORTEXPORTPRIVATE_H

#include "kovabout.h"
#include "kovexportplan.h"
#include "kovprogressbardialog.h"
#include "kovprogressbarwidget.h"

#include <QList>
#include <QPointer>
#include <QSize>
#include <QThread>

// State of the main window that no other class sees.
class KOVReportExportPrivate
{
public:
    ~KOVReportExportPrivate() { delete m_aboutWin; }

    KOVProgressBarDialog m_progress;                  // the export's, reused for every export
    QPointer<KOVProgressBarWidget> m_dataResore;      // the restore's; deletes itself after use
    QSize m_screenSize;                               // first screen at construction
    QPointer<QThread> m_exportThread;                 // the running export's worker, if any
    QList<KOVExportPlan::ClipCopy> m_clipCopies;      // planned by mkReportDir, copied by the worker
    bool m_movingTab = false;                         // putting the browse tab back first
    bool m_restoring = false;                         // a restore is rebuilding the pages
    bool m_savedAtQuit = false;                       // the quit's cache write was made
    bool m_placedFramed = false;                      // placed again with the frame known
    KOVAbout* m_aboutWin = nullptr;                   // no parent: a window of its own
};

#endif // KOVREPORTEXPORTPRIVATE_H

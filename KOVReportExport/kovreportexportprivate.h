#ifndef KOVREPORTEXPORTPRIVATE_H
#define KOVREPORTEXPORTPRIVATE_H

#include "kovabout.h"

#include <QSize>

// State of the main window that no other class sees.
class KOVReportExportPrivate
{
public:
    ~KOVReportExportPrivate() { delete m_aboutWin; }

    QSize m_screenSize; // first screen at construction
    KOVAbout* m_aboutWin = nullptr; // no parent: a window of its own
};

#endif // KOVREPORTEXPORTPRIVATE_H

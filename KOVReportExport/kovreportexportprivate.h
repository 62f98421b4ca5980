#ifndef KOVREPORTEXPORTPRIVATE_H
#define KOVREPORTEXPORTPRIVATE_H

#include <QSize>

// State of the main window that no other class sees.
class KOVReportExportPrivate
{
public:
    QSize m_screenSize; // first screen at construction
};

#endif // KOVREPORTEXPORTPRIVATE_H

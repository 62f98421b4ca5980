#include "kovreportexport.h"

#include "kovinformation.h"

#include <QTabWidget>

KOVReportExport::KOVReportExport(QWidget* parent)
    : QMainWindow(parent)
{
    m_tabWidget = new QTabWidget(this);
    m_tabWidget->setObjectName(QStringLiteral("tabWidget_main"));
    m_tabWidget->addTab(new QWidget(m_tabWidget), tr("浏览"));
    setCentralWidget(m_tabWidget);
    resize(KOVInformation::Instance()->getMainwindowSize());
    setWindowTitle(KOVInformation::Instance()->AppTitle());
}

KOVReportExport::~KOVReportExport() = default;

int KOVReportExport::getMainTabNum() const
{
    return m_tabWidget->count();
}

void KOVReportExport::restoreData()
{
}

void KOVReportExport::saveData()
{
}

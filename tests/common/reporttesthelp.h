#ifndef REPORTTESTHELP_H
#define REPORTTESTHELP_H

// The main window with an imported user directory, and the answers a person
// would give, shared by the report page and export tests.
#include "kovfiledialog.h"
#include "kovgen.h"
#include "kovitem.h"
#include "kovmessagebox.h"
#include "kovreportexport.h"
#include "kovreportwin.h"

#include <QTabWidget>

namespace ReportTest {

// Message boxes answered with `answer` (0 the first button), each text kept,
// and in `boxes` as "title|text|buttons".
struct Answers
{
    QStringList texts, boxes;
    int answer = 0;

    void install()
    {
        KOVMessageBox::s_answer = [this](QMessageBox::Icon, const QString& title, const QString& text,
                                         const QStringList& buttons) {
            texts << text;
            boxes << title + QLatin1Char('|') + text + QLatin1Char('|') + buttons.join(QLatin1Char(','));
            return answer;
        };
    }
    void clear()
    {
        texts.clear();
        boxes.clear();
        answer = 0;
    }
};

// A user directory of `items` light picture items below root.
inline QString makeUserDir(const QString& root, int items)
{
    KOVGen::DirOptions o;
    o.outDir = root;
    o.items = items;
    o.light = true;
    o.force = true;
    return KOVGen::writeUserDirectory(o).ok ? root : QString();
}

inline void importInto(KOVReportExport& w, const QString& dir)
{
    KOVFileDialog::s_chooseHook = [dir](const QString&) { return dir; };
    w.importFiles();
    KOVFileDialog::s_chooseHook = nullptr;
}

inline QTabWidget* mainTabs(KOVReportExport& w) { return w.findChild<QTabWidget*>(QStringLiteral("mainTabWidget")); }

inline QTabWidget* pointTabs(KOVReportWin* page)
{
    return page->findChild<QTabWidget*>(QStringLiteral("reviewTabWidget"));
}

// The windows' own consistency checks: empty when all hold.
inline QString faults(KOVReportExport& w)
{
    QString f = w.checkConsistency();
    for (KOVReportWin* page : w.reportWins())
        f += page->checkConsistency();
    return f;
}

#define KOV_CONSISTENT(w) QVERIFY2(ReportTest::faults(w).isEmpty(), qPrintable(ReportTest::faults(w)))

// Ticks a row as the user does, by its check box.
inline void tick(KOVReportExport& w, int row) { w.itemEntries().at(row)->setChosed(); }

} // namespace ReportTest

#endif // REPORTTESTHELP_H

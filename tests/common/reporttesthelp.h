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

#include <QDir>
#include <QFile>
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
    void clear() { *this = Answers(); }
};

// A user directory of `items` light picture items below root.
inline QString makeUserDir(const QString& root, int items)
{
    KOVGen::DirOptions o;
    o.outDir = root, o.items = items, o.light = o.force = true;
    return KOVGen::writeUserDirectory(o).ok ? root : QString();
}

inline void importInto(KOVReportExport& w, const QString& dir)
{
    KOVFileDialog::s_chooseHook = [dir](const QString&) { return dir; };
    w.importFiles();
    KOVFileDialog::s_chooseHook = nullptr;
}

inline QTabWidget* mainTabs(KOVReportExport& w) { return w.findChild<QTabWidget*>(QStringLiteral("mainTabWidget")); }

inline QTabWidget* pointTabs(KOVReportWin* page) { return page->findChild<QTabWidget*>(QStringLiteral("reviewTabWidget")); }

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

inline KOVReportWin* currentPage(KOVReportExport& w) { return qobject_cast<KOVReportWin*>(mainTabs(w)->currentWidget()); }

// Imports dir and opens one report page per list of rows to tick (gas,
// electrical, gas...); then tab `tab` is made current, unless -1.
inline void openReports(KOVReportExport& w, const QString& dir, const QList<QList<int>>& reports, int tab = -1)
{
    importInto(w, dir);
    for (int i = 0; i < reports.size(); ++i) {
        w.addNewReport(i % 2);
        for (int row : reports.at(i))
            tick(w, row);
    }
    if (tab >= 0)
        mainTabs(w)->setCurrentIndex(tab);
}

// A video test point's record, its five files in itemDir/hideImg/ where
// pages write them.
inline KOVTestPointInfo videoRecord(const QString& name, const QString& itemDir)
{
    const QString dir = itemDir + QStringLiteral("/hideImg/");
    QDir().mkpath(dir);
    for (const char* f : {"w.png", "f.jpg", "p.png", "a.wav", "v.avi"})
        QFile(dir + QLatin1String(f)).open(QIODevice::WriteOnly);
    KOVTestPointInfo p;
    p.name = name;
    p.type = ItemType::video;
    p.wavform = p.marked = p.pdd = p.hasClip = true;
    p.wavformImgPath = dir + "w.png", p.clipAudio = dir + "a.wav", p.clipVideo = dir + "v.avi";
    p.videoImgPathList << dir + "f.jpg";
    p.pddImgPathList << dir + "p.png";
    return p;
}

} // namespace ReportTest

#endif // REPORTTESTHELP_H

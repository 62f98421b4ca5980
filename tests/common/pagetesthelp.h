#ifndef PAGETESTHELP_H
#define PAGETESTHELP_H

// Short hands of the test-point page tests: widgets by name, a page in its
// mode showing an item, a video item with discharge audio.

#include "kovgen.h"
#include "kovtestutil.h"
#include "kovvideoimg.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace PageTest {

template <typename T = QWidget>
T* child(const QObject* o, const QString& name)
{
    T* w = o->findChild<T*>(name);
    if (!w)
        qFatal("no widget %s", qPrintable(name));
    return w;
}

inline void click(const QObject* o, const QString& name, int times = 1)
{
    for (int i = 0; i < times; ++i)
        child<QPushButton>(o, name)->click();
}

// A page on the first of two tabs, shown: switching to the other tab puts
// it away as a report's test-point tabs do. The tabs own both pages.
inline KOVVideoImg* pageBesideAnother(QTabWidget& tabs)
{
    auto* page = new KOVVideoImg;
    tabs.addTab(page, QStringLiteral("point"));
    tabs.addTab(new KOVVideoImg, QStringLiteral("other"));
    tabs.show();
    return QTest::qWaitForWindowExposed(&tabs) ? page : nullptr;
}

// reportType -1: the browse page; dir empty: no item shown.
inline void open(KOVVideoImg& page, int reportType, int item = -1, const QString& dir = QString())
{
    page.isReportWin(reportType >= 0, reportType);
    page.slotUpdateItemList();
    if (!dir.isEmpty())
        page.showItem(item, dir);
}

// An electrical video item whose recording carries discharge bursts; seconds
// 0: as long as the video and a little more. Returns its folder.
inline QString writePdVideo(const QString& dir, const QString& fileName, int frames, quint64 seed, double seconds = 0)
{
    KOVGen::ItemOptions o;
    o.dir = dir;
    o.fileName = fileName;
    o.kind = KOVGen::ItemKind::Video;
    o.frames = frames;
    o.label = KOVGen::electricalLabel(3);
    o.withAudio = true;
    o.audio.content = KOVGen::AudioContent::PdBursts;
    o.audio.seed = seed;
    o.audio.seconds = seconds;
    return KOVGen::writeItem(o) ? dir : QString();
}

} // namespace PageTest

#endif // PAGETESTHELP_H

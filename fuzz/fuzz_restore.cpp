// A test point's page rebuilt from the recovery cache: the page's own restore
// reads the input's state, then unlocks its frame and deletes its clip, as a
// user would next. Whatever the state says, the page records paths only in
// the shown item's real working folder and deletes nothing else.
//
// The items are planted fresh for every input under the scratch folder, one
// with a working folder of its own and two whose "hideImg" is a link (to a
// folder elsewhere, to the item folder); "@ITEMS@" in the input stands for
// their folder, so mutations reach real paths.
#include "kovfuzzfile.h"
#include "kovinformation.h"
#include "kovlockcheck.h"
#include "kovvideoimg.h"

#include <QApplication>
#include <QJsonDocument>

namespace {

const char* const kItems[] = { "real", "out", "self", "other" };

QString items() { return KOVFuzz::scratch() + QStringLiteral("/items"); }

void put(const QString& path)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write("keep") != 4)
        std::abort();
}

// Files nothing may touch (but the page's own in a working folder), and the
// layout around them. The cache folder holds one picture a state may name.
QStringList plant()
{
    const QString root = items();
    QDir(root).removeRecursively();
    QDir(KOVFuzz::scratch() + QStringLiteral("/outside")).removeRecursively();
    QStringList kept;
    for (const char* name : kItems) {
        const QString dir = root + QLatin1Char('/') + QLatin1String(name);
        put(dir + QStringLiteral("/VID_1.mp4"));
        put(dir + QStringLiteral("/R1_0.jpg"));
        kept << dir + QStringLiteral("/VID_1.mp4") << dir + QStringLiteral("/R1_0.jpg");
    }
    put(root + QStringLiteral("/real/hideImg/R1_0.jpg"));
    kept << root + QStringLiteral("/real/hideImg/R1_0.jpg");
    if (!QFileInfo::exists(QStringLiteral("cache/frame.jpg"))) {
        QDir().mkpath(QStringLiteral("cache"));
        QImage(64, 48, QImage::Format_RGB32).save(QStringLiteral("cache/frame.jpg"));
    }
    put(root + QStringLiteral("/other/hideImg/R1_0.jpg"));
    kept << root + QStringLiteral("/other/hideImg/R1_0.jpg");
    for (const char* f : { "R1_0.jpg", "R1_pdd0.jpg", "R1_videoClip.avi", "R1_audioClip.wav" }) {
        put(KOVFuzz::scratch() + QStringLiteral("/outside/") + QLatin1String(f));
        kept << KOVFuzz::scratch() + QStringLiteral("/outside/") + QLatin1String(f);
    }
    QFile::link(KOVFuzz::scratch() + QStringLiteral("/outside"), root + QStringLiteral("/out/hideImg"));
    QFile::link(root + QStringLiteral("/self"), root + QStringLiteral("/self/hideImg"));
    return kept;
}

QString hideOf(int item)
{
    return item < 0 ? QString() : items() + QLatin1Char('/') + QLatin1String(kItems[item]) + QStringLiteral("/hideImg/");
}

bool ours(const QString& path, int shown)
{
    if (path.isEmpty())
        return true;
    const QString folder = hideOf(shown);
    return !folder.isEmpty() && !QFileInfo(folder.chopped(1)).isSymLink() && QDir::cleanPath(path).startsWith(folder)
        && !QFileInfo(path).isSymLink();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static int argc = 1;
    static char name[] = "kovfuzz";
    static char* argv[] = { name, nullptr };
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
    KOVFuzz::app(); // the quiet message handler
    QDir::setCurrent(KOVFuzz::scratch());
    const QStringList kept = plant();
    QStringList names, paths;
    for (const char* n : kItems) {
        names << QStringLiteral("VID_1.mp4");
        paths << items() + QLatin1Char('/') + QLatin1String(n) + QStringLiteral("/VID_1.mp4");
    }
    KOVInformation::Instance()->setFileNameList(names);
    KOVInformation::Instance()->setFilePathList(paths);

    QByteArray text(reinterpret_cast<const char*>(data), int(size));
    text.replace("@ITEMS@", items().toUtf8());
    QJsonObject root = QJsonDocument::fromJson(text).object();
    int shown = -1;
    {
        KOVVideoImg page;
        page.isReportWin(true, 1);
        page.saveNamePre(QStringLiteral("1"));
        page.restoreData(root);
        KOVFuzz::check(KOVLockCheck::check(page.lockState(), false).isEmpty(), "the restored lock state is whole");
        const KOVTestPointInfo& p = page.pointInfo();
        shown = page.shownItem();
        for (const QString& f : p.videoImgPathList + p.pddImgPathList + QStringList { p.clipVideo, p.clipAudio })
            KOVFuzz::check(ours(f, shown), "a restored path lies in the shown item's own working folder");
        QMetaObject::invokeMethod(&page, "slotBtnGroupUnlockClicked", Q_ARG(int, 0));
        QMetaObject::invokeMethod(&page, "on_delScreen_1_clicked");
    }
    for (const QString& f : kept) {
        if (!ours(f, shown)) {
            const QFileInfo i(f);
            KOVFuzz::check(i.isFile() && !i.isSymLink() && i.size() == 4, "nothing else is deleted or written");
        }
    }
    return 0;
}

// Rules of report pages without a window, and the export task with the real
// writer, whose failed save is reported.
#include "kovaligned.h"
#include "kovtable.h"
#include "kovgolden.h"
#include "kovvideoimg.h"
#include "reporttesthelp.h"
#include "kovexportjob.h"
#include "kovexportplan.h"
#include "kovreportrules.h"
#include "kovtestutil.h"
#include "writerfixture.h"
#include "xlsxtesthelp.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QQueue>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Every path of a JSON tree with the type found there; arrays as "[]".
void shape(const QString& path, const QJsonValue& v, QSet<QString>& out)
{
    static const char* const names[] = {"null", "bool", "number", "string", "array", "object"};
    out << path + QLatin1Char(' ') + QLatin1String(names[qMin(int(v.type()) & 0xf, 5)]);
    if (v.isArray())
        for (const QJsonValue& e : v.toArray())
            shape(path + QStringLiteral("[]"), e, out);
    const QJsonObject o = v.toObject();
    for (auto it = o.begin(); it != o.end(); ++it)
        shape(path + QLatin1Char('/') + it.key(), it.value(), out);
}

// Clip folders of an earlier export of points A, B and C in F, and this
// export's staged copies for A and B; C has no clip now. Each file names its
// point and export, so that a swap and a part of one show.
KOVReportInfo clipSwapFixture(const QString& folder)
{
    KOVReportInfo info;
    const auto write = [](const QString& dir, const QString& tag) {
        for (const char* file : {"a.wav", "v.avi"}) {
            QFile f(dir + "/" + file);
            if (!QDir().mkpath(dir) || !f.open(QIODevice::WriteOnly))
                return false;
            f.write((tag + " " + QFileInfo(dir).fileName() + "/" + file).toUtf8());
        }
        return true;
    };
    for (const char* name : {"A", "B", "C"}) {
        KOVTestPointInfo p;
        p.name = name;
        info.pointInfoList << p;
        if (!write(folder + "/" + name, "old")
            || (p.name != "C" && !write(KOVExportPlan::stagedClips(folder) + "/" + name, "new")))
            return {};
    }
    QFile notes(folder + "/notes.txt");
    return notes.open(QIODevice::WriteOnly) ? info : KOVReportInfo();
}

// "old" or "new" when dir holds that export's whole pair, "none" when there
// is no dir, "part" otherwise.
QString clipPair(const QString& dir)
{
    if (!QFileInfo::exists(dir))
        return QStringLiteral("none");
    QStringList tags;
    for (const char* file : {"a.wav", "v.avi"}) {
        QFile f(dir + "/" + file);
        const QString text = f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
        tags << (text.endsWith(QFileInfo(dir).fileName() + "/" + file) ? text.section(' ', 0, 0) : QString());
    }
    return tags.first() == tags.last() && !tags.first().isEmpty() && KOVTest::listTree(dir).size() == 2
        ? tags.first()
        : QStringLiteral("part");
}

// Runs the swap in a child process killed as it is about to take step
// `stop`; true when it was killed, false when it finished first.
bool swapKilledAt(const QString& folder, const KOVReportInfo& info, int stop)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        int step = 0;
        KOVExportPlan::setStepHook([&] {
            if (step++ == stop)
                ::raise(SIGKILL);
            return true;
        });
        KOVExportPlan::replaceClipFolders(folder, info);
        ::_exit(0);
    }
    int status = 0;
    return pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

} // namespace

class TestReportRules : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(KOVXlsxTest::installTemplates(QDir::currentPath()));
        QDir().mkpath(QStringLiteral("pictures"));
        QVERIFY(KOVXlsxTest::makePicture(KOVWriterFixture::kFrame, 1024, 600, "JPEG"));
        QVERIFY(KOVXlsxTest::makePicture(KOVWriterFixture::kPattern, 530, 220, "PNG", QColor(200, 60, 40)));
    }

    // Caches stored by an earlier run are read by their key names and value
    // types at every level: a key renamed in writer and reader alike, or a
    // number written as text, loses them. The window writes a gas report of a
    // picture and an electrical one of a video with a locked frame and a clip.
    void cacheKeysAndTypes()
    {
        QTemporaryDir root;
        const QString usr = ReportTest::makeUserDir(root.filePath(QStringLiteral("default")), 2);
        KOVGen::ItemOptions o;
        o.dir = usr + QStringLiteral("/item_video");
        o.fileName = QStringLiteral("VID_1.mp4");
        o.kind = KOVGen::ItemKind::Video;
        o.frames = 12;
        o.label = KOVGen::electricalLabel(3);
        o.withAudio = true;
        QVERIFY(!usr.isEmpty() && KOVGen::writeItem(o));
        ReportTest::Answers answers;
        answers.install();
        {
            KOVReportExport w;
            w.show();
            ReportTest::importInto(w, usr);
            w.addNewReport(0);
            ReportTest::tick(w, 0);
            w.addNewReport(1);
            ReportTest::tick(w, 2);
            KOVVideoImg* page = w.reportWins().at(1)->testPointPages().at(0);
            QVERIFY(QMetaObject::invokeMethod(page, "on_lockBtn_clicked"));
            for (const char* step : {"on_screenShotPB_clicked", "slotTimeOut", "slotTimeOut", "on_screenShotPB_clicked"})
                QVERIFY(QMetaObject::invokeMethod(page, step));
            QVERIFY(page->pointInfo().hasClip);
            w.saveData();
        }
        QFile f(QStringLiteral("cache/cache.json"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QSet<QString> paths;
        shape(QString(), QJsonDocument::fromJson(f.readAll()).object(), paths);
        QStringList lines = paths.values();
        lines.sort();
        KOV_GOLDEN(QStringLiteral("kovreport/golden/cache_keys.txt"), lines);
    }

    void rowsAfterDeletion()
    {
        QList<KOVTestPointInfo> points{{}, {}, {}};
        QQueue<int> rows;
        rows << 2 << 5 << -1 << 3;
        KOVReportRules::lowerRowsAbove(rows, 3);
        QCOMPARE(static_cast<QList<int>>(rows), (QList<int>{2, 4, -1, 3}));
        // Lists beside tabs refuse a position outside them, all or nothing
        // (moves and removals in range: tst_reportpage, through the tabs).
        QList<QString> pages{"p0", "p1"};
        QVERIFY(!KOVAligned::removeAt(2, pages, points) && !KOVAligned::removeAt(-1, pages, points));
        QVERIFY(!KOVAligned::follow(QList<QString>{"nobody", "p0"}, pages, points));
        QCOMPARE(pages, (QList<QString>{"p0", "p1"}));
        QCOMPARE(points.size(), 3);
    }

    void pointFiles_data()
    {
        KOVTable::columns<int, bool, QStringList>({"type", "flags", "files"});
        QTest::newRow("video, everything") << int(ItemType::video) << true
                                           << QStringList{"w.png", "f1.jpg", "p1.png", "f2.jpg", "a.wav", "v.avi"};
        QTest::newRow("video, no flags") << int(ItemType::video) << false << QStringList{};
        QTest::newRow("picture keeps its files") << int(ItemType::photo) << true << QStringList{};
    }
    void pointFiles()
    {
        QFETCH(int, type);
        QFETCH(bool, flags);
        KOVTestPointInfo p;
        p.type = ItemType(type);
        p.wavform = p.marked = p.pdd = p.hasClip = flags;
        p.wavformImgPath = "w.png";
        p.videoImgPathList = QStringList{"f1.jpg", "f2.jpg"};
        p.pddImgPathList = QStringList{"p1.png"}; // shorter: the second frame has no pattern
        p.clipAudio = "a.wav";
        p.clipVideo = "v.avi";
        QTEST(KOVReportRules::pointFiles(p), "files");
        // Closing the report takes pictures only, never clips.
        if (flags)
            QCOMPARE(KOVReportRules::reportPictures({p}), (QStringList{"w.png", "f1.jpg", "f2.jpg", "p1.png"}));
    }

    void exportFolder_data()
    {
        KOVTable::columns<QString, QString, QString>({"typed", "folder", "workbook"});
        // With ".xlsx" typed: tst_export.
        QTest::newRow("no suffix typed") << "/home/u/Documents" << "/home/u/Documents"
                                         << "/home/u/Documents/Documents.xlsx";
        QTest::newRow("upper-case suffix") << "/out/r.XLSX" << "/out/r" << "/out/r/r.XLSX";
        QTest::newRow("other suffix kept as name") << "/out/r.v2" << "/out/r.v2" << "/out/r.v2/r.v2.xlsx";
    }
    void exportFolder()
    {
        QFETCH(QString, typed);
        QFETCH(QString, folder);
        const QString path = KOVExportPlan::withSuffix(typed);
        QCOMPARE(KOVExportPlan::folderFor(path), folder);
        QTEST(KOVExportPlan::workbookIn(folder, path), "workbook");
        QCOMPARE(KOVExportPlan::stampedFolder(folder, QDateTime(QDate(2022, 3, 5), QTime(14, 3, 9))), folder + QStringLiteral("_0305140309"));
    }

    // Saved with and without sound: tst_export, through the window.
    void clipCopies_data()
    {
        KOVTable::columns<bool, bool, QStringList>({"saveClip", "hasClip", "targets"});
        QTest::newRow("saved, no waveform") << true << true << QStringList{"/F/V.mp4/a.wav", "/F/V.mp4/v.avi"};
        QTest::newRow("not saved") << false << true << QStringList{};
        QTest::newRow("no clip") << true << false << QStringList{};
    }
    void clipCopies()
    {
        QFETCH(bool, saveClip);
        QFETCH(bool, hasClip);
        KOVReportInfo info;
        info.pointInfoList << KOVTestPointInfo();
        KOVTestPointInfo& p = info.pointInfoList.last();
        p.name = "V.mp4";
        p.saveClip = saveClip;
        p.hasClip = hasClip;
        p.wavform = false;
        p.clipAudio = "/i/a.wav";
        p.clipVideo = "/i/v.avi";
        QStringList got;
        for (const auto& c : KOVExportPlan::clipCopies("/F", info, 1))
            got << c.target;
        QTEST(got, "targets");
        QVERIFY(KOVExportPlan::clipCopies("/F", info, 0).isEmpty());
    }

    // A cache may name a point anything: its clips never land outside the
    // export folder, and replacing an earlier export goes by the same rule.
    void clipFolderStaysInside_data()
    {
        QTest::addColumn<QString>("name");
        for (const char* name : {"../x", "..", ".", ""})
            QTest::newRow(*name ? name : "empty") << QString::fromLatin1(name);
    }
    void clipFolderStaysInside()
    {
        QFETCH(QString, name);
        QTemporaryDir root;
        const QString folder = root.filePath("out/F");
        QVERIFY(QDir().mkpath(folder) && QDir().mkpath(root.filePath("out/x")));
        KOVReportInfo info;
        info.pointInfoList << KOVTestPointInfo();
        KOVTestPointInfo& p = info.pointInfoList.last();
        p.name = name;
        p.saveClip = p.hasClip = true;
        p.clipAudio = root.filePath("a.wav");
        QVERIFY(QFile(p.clipAudio).open(QIODevice::WriteOnly));
        QCOMPARE(KOVExportPlan::copyClips(KOVExportPlan::clipCopies(folder, info, 1)), QStringList{p.clipAudio});
        QVERIFY(KOVExportPlan::replaceClipFolders(folder, info).isEmpty());
        QCOMPARE(KOVTest::listTree(root.path()), (QStringList{"a.wav", "out", "out/F", "out/x"}));
    }

    // An earlier export's clip folder gives way to a complete copy only.
    void clipFolderReplacedOnlyWhenComplete()
    {
        QTemporaryDir root;
        const QString folder = root.filePath("F");
        KOVReportInfo info;
        for (const char* name : {"A", "B"}) {
            KOVTestPointInfo p;
            p.name = name;
            p.saveClip = p.hasClip = true;
            p.clipVideo = root.filePath("v.avi");
            info.pointInfoList << p;
            QVERIFY(QDir().mkpath(folder + "/" + name) && QFile(folder + "/" + name + "/old").open(QIODevice::WriteOnly));
        }
        info.pointInfoList[1].clipAudio = root.path(); // a folder: its copy fails
        QVERIFY(QFile(root.filePath("v.avi")).open(QIODevice::WriteOnly));
        const auto copies = KOVExportPlan::clipCopies(KOVExportPlan::stagedClips(folder), info, 2);
        QCOMPARE(KOVExportPlan::copyClips(copies).size(), 1);
        QVERIFY(KOVExportPlan::replaceClipFolders(folder, info, copies).isEmpty());
        QCOMPARE(KOVTest::listTree(folder), (QStringList{"A", "A/v.avi", "B", "B/old"}));
    }

    // Replacing an earlier export's clip folders, stopped at every step by a
    // kill or made to fail there: each point keeps its old pair or has its
    // new one whole, a failure keeps the old one and is reported, and the
    // next export puts back what a kill left aside and clears the rest.
    void clipSwapLeavesWholePairs_data()
    {
        KOVTable::columns<bool>({"kill"});
        QTest::newRow("step fails") << false;
        QTest::newRow("killed before step") << true;
    }
    void clipSwapLeavesWholePairs()
    {
        QFETCH(bool, kill);
        bool finished = false;
        int stop = 0;
        for (; !finished; ++stop) {
            QTemporaryDir root;
            const QString folder = root.filePath("F");
            const KOVReportInfo info = clipSwapFixture(folder);
            QVERIFY(!info.pointInfoList.isEmpty());
            QStringList failed;
            if (kill) {
                finished = !swapKilledAt(folder, info, stop);
            } else {
                int step = 0;
                KOVExportPlan::setStepHook([&] { return step++ != stop; });
                failed = KOVExportPlan::replaceClipFolders(folder, info);
                KOVExportPlan::setStepHook({});
                finished = step <= stop;
            }
            const QString at = QStringLiteral(" stopped before step %1").arg(stop);
            QStringList expected;
            for (const QString& name : QStringList{"A", "B", "C"}) {
                const QString dir = folder + "/" + name;
                const QString now = clipPair(dir);
                const QString fresh = name == "C" ? "none" : "new";
                const bool aside = clipPair(KOVExportPlan::asideClips(folder) + "/" + name) == "old";
                if (kill)
                    QVERIFY2(now == "old" || now == fresh || (now == "none" && aside), qPrintable(dir + at));
                else
                    QVERIFY2(now == (failed.contains(dir) ? "old" : fresh), qPrintable(dir + at));
                if (finished)
                    QCOMPARE(now, fresh);
                expected << (now == "none" && aside ? "old" : now);
            }
            KOVExportPlan::discardStaged(folder, folder + "/r.xlsx");
            QCOMPARE((QStringList{clipPair(folder + "/A"), clipPair(folder + "/B"), clipPair(folder + "/C")}), expected);
            QStringList top = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
            top.removeAll("C");
            QCOMPARE(top, (QStringList{"A", "B", "notes.txt"}));
        }
        QVERIFY2(stop > 5, "stopped at each point's renames"); // not passed through untried
    }

    // Staged under a name that, with the atomic save's temporary suffix,
    // stays short: a workbook of the longest name the file system takes is
    // saved and put in place. What a killed export left staged, under this
    // name or the one earlier versions used, goes at the next clean-up.
    void longestNameStagedAndCleared()
    {
        QTemporaryDir out;
        const QString wb = out.filePath(QString(250, QLatin1Char('r')) + ".xlsx");
        QCOMPARE(QFile::encodeName(QFileInfo(wb).fileName()).size(), 255);
        const KOVReportInfo info = KOVWriterFixture::report(1, {KOVWriterFixture::elecPoint(1)});
        auto writer = std::make_shared<KOVLibxl>();
        QVERIFY(writer->CreateExcel(KOVExportPlan::stagedWorkbook(wb), info.type, 1, 0));
        KOVExportJob job(writer, info, wb, {});
        writer.reset();
        int finished = -1;
        job.run({[](int) {}, [](const QString&) {}, [](int) {}, [&](int r) { finished = r; }});
        QVERIFY2(job.saved() && finished == 1, qPrintable(job.errorMessage()));
        QCOMPARE(KOVTest::listTree(out.path()), QStringList{QFileInfo(wb).fileName()});
        QString error;
        QVERIFY2(!KOVXlsxTest::inspect(wb, &error).isEmpty(), qPrintable(error));

        const QString other = out.filePath("r.xlsx");
        for (const QString& left : {KOVExportPlan::stagedWorkbook(other), other + ".part"})
            QVERIFY(KOVTest::writeEncoded(left, "part"));
        KOVExportPlan::discardStaged(out.path(), other);
        QCOMPARE(KOVTest::listTree(out.path()), QStringList{QFileInfo(wb).fileName()});
    }

    // The workbook's place taken by a folder with a file in it after it was
    // created: the task, run here as the worker would, reports the failure
    // after every point's progress.
    void failedSaveIsReported()
    {
        QTemporaryDir out;
        const QString wb = out.filePath("r.xlsx");
        const KOVReportInfo info = KOVWriterFixture::report(1, {KOVWriterFixture::elecPoint(1), KOVWriterFixture::elecPoint(2)});
        auto writer = std::make_shared<KOVLibxl>();
        QVERIFY(writer->CreateExcel(wb, info.type, info.pointInfoList.size(), 0));
        QVERIFY(QFile::remove(wb) && QDir().mkpath(wb + "/inside"));
        KOVExportJob job(writer, info, wb, {});
        writer.reset(); // the task's share is all that is left
        QStringList events;
        KOVExportJob::Progress p;
        p.total = [&](int n) { events << "total " + QString::number(n); };
        p.text = [&](const QString& t) { events << "text " + t; };
        p.value = [&](int v) { events << "value " + QString::number(v); };
        p.finish = [&](int r) { events << "finish " + QString::number(r); };
        job.run(p);
        QCOMPARE(events, (QStringList{"total 2", "text " + wb, "value 1", "value 2", "finish 0"}));
        QVERIFY(!job.saved());
    }
};

QTEST_MAIN(TestReportRules)
#include "tst_reportrules.moc"

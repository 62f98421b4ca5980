// The export worker's task with the real writer: order of its reports, clips
// copied before the sheets, a failed save reported as failed.
#include "kovexportjob.h"
#include "kovlibxl.h"
#include "writerfixture.h"
#include "xlsxtesthelp.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QtTest>

using namespace KOVWriterFixture;
using namespace KOVXlsxTest;

class TestExportJob : public QObject
{
    Q_OBJECT

    struct Run
    {
        QStringList events;
        bool clipThereAtTotal = false;
    };

    // Creates the workbook as the interface thread does, then runs the task
    // here, as the worker would; between the two, `meddle` may spoil things.
    Run exportWith(const KOVReportInfo& info, const QString& workbook, const QList<KOVExportPlan::ClipCopy>& copies,
                   const std::function<void()>& meddle = {})
    {
        Run run;
        auto writer = std::make_shared<KOVLibxl>();
        if (!writer->CreateExcel(workbook, info.type, info.pointInfoList.size(), 0))
            return run;
        if (meddle)
            meddle();
        KOVExportJob job(writer, info, workbook, copies);
        writer.reset(); // the task's share is all that is left
        KOVExportJob::Progress p;
        p.total = [&](int n) {
            run.events << QStringLiteral("total %1").arg(n);
            run.clipThereAtTotal = copies.isEmpty() || QFile::exists(copies.first().target);
        };
        p.text = [&](const QString& t) { run.events << QStringLiteral("text ") + t; };
        p.value = [&](int v) { run.events << QStringLiteral("value %1").arg(v); };
        p.finish = [&](int r) { run.events << QStringLiteral("finish %1").arg(r); };
        job.run(p);
        run.events << (job.saved() ? QStringLiteral("saved") : QStringLiteral("not saved"));
        return run;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(installTemplates(QDir::currentPath()));
        QDir().mkpath(QStringLiteral("pictures"));
        QVERIFY(makePicture(kFrame, 1024, 600, "JPEG"));
        QVERIFY(makePicture(kPattern, 530, 220, "PNG", QColor(200, 60, 40)));
    }

    void reportsInOrder()
    {
        QDir().mkpath("order");
        QFile clip("clip.avi");
        QVERIFY(clip.open(QIODevice::WriteOnly));
        clip.write(QByteArray(4096, 'c'));
        clip.close();
        const QString wb = QDir::current().filePath("order/r.xlsx");
        const Run run = exportWith(report(0, {photoPoint(1), photoPoint(2), photoPoint(3)}), wb,
                                   {{QStringLiteral("clip.avi"), QStringLiteral("order/IMG_1.jpg/clip.avi")}});
        QCOMPARE(run.events, (QStringList{"total 3", "text " + wb, "value 1", "value 2", "value 3", "finish 1", "saved"}));
        QVERIFY(run.clipThereAtTotal);
        QCOMPARE(QFile("order/IMG_1.jpg/clip.avi").size(), 4096);
        const QJsonObject seen = inspect(wb);
        QCOMPARE(seen.value("sheets").toArray().size(), 4);
    }

    void failedSaveIsReported()
    {
        QDir().mkpath("fail");
        const QString wb = QDir::current().filePath("fail/r.xlsx");
        // The workbook's place taken by a folder with a file in it: nothing
        // can be saved over that.
        const Run run = exportWith(report(1, {elecPoint(1)}), wb, {}, [&] {
            QVERIFY(QFile::remove(wb));
            QVERIFY(QDir().mkpath(wb + "/inside"));
        });
        QCOMPARE(run.events, (QStringList{"total 1", "text " + wb, "value 1", "finish 0", "not saved"}));
    }
};

QTEST_MAIN(TestExportJob)
#include "tst_exportjob.moc"

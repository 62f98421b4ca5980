// The export worker's task with the real writer: a failed save is reported
// as failed, after every point's progress.
#include "kovexportjob.h"
#include "kovlibxl.h"
#include "writerfixture.h"
#include "xlsxtesthelp.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QtTest>

using namespace KOVWriterFixture;
using namespace KOVXlsxTest;

class TestExportJob : public QObject
{
    Q_OBJECT

    // Creates the workbook as the interface thread does, lets `meddle`
    // spoil things, then runs the task here as the worker would.
    QStringList exportWith(const KOVReportInfo& info, const QString& workbook, const std::function<void()>& meddle)
    {
        QStringList events;
        auto writer = std::make_shared<KOVLibxl>();
        if (!writer->CreateExcel(workbook, info.type, info.pointInfoList.size(), 0))
            return events;
        meddle();
        KOVExportJob job(writer, info, workbook, {});
        writer.reset(); // the task's share is all that is left
        KOVExportJob::Progress p;
        p.total = [&](int n) { events << QStringLiteral("total %1").arg(n); };
        p.text = [&](const QString& t) { events << QStringLiteral("text ") + t; };
        p.value = [&](int v) { events << QStringLiteral("value %1").arg(v); };
        p.finish = [&](int r) { events << QStringLiteral("finish %1").arg(r); };
        job.run(p);
        events << (job.saved() ? QStringLiteral("saved") : QStringLiteral("not saved"));
        return events;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(installTemplates(QDir::currentPath()));
        QDir().mkpath(QStringLiteral("pictures"));
        QVERIFY(makePicture(kFrame, 1024, 600, "JPEG"));
        QVERIFY(makePicture(kPattern, 530, 220, "PNG", QColor(200, 60, 40)));
    }

    void failedSaveIsReported()
    {
        QTemporaryDir out;
        const QString wb = out.filePath("r.xlsx");
        // The workbook's place taken by a folder with a file in it: nothing
        // can be saved over that.
        const QStringList events = exportWith(report(1, {elecPoint(1), elecPoint(2)}), wb, [&] {
            QVERIFY(QFile::remove(wb));
            QVERIFY(QDir().mkpath(wb + "/inside"));
        });
        QCOMPARE(events, (QStringList{"total 2", "text " + wb, "value 1", "value 2", "finish 0", "not saved"}));
    }
};

QTEST_MAIN(TestExportJob)
#include "tst_exportjob.moc"

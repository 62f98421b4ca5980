// Rules of report pages without a window: lists beside tabs, limits,
// numbering, rows after deletions, files of a removed point, export folders.
#include "kovaligned.h"
#include "kovexportplan.h"
#include "kovreportrules.h"

#include <QQueue>
#include <QtTest>

namespace {

// A report page's lists with a tab row of names standing in for the tabs.
struct Lists
{
    QList<QString> tabs;
    QList<QString> pages;
    QList<KOVTestPointInfo> records;
    QQueue<int> rows;

    QString check() const
    {
        QString fault = KOVAligned::checkSizes(tabs.size(), pages, records, rows);
        for (int i = 0; fault.isEmpty() && i < tabs.size(); ++i) {
            if (pages.at(i) != tabs.at(i) || records.at(i).name != tabs.at(i))
                fault = QStringLiteral("entry %1 belongs to another tab").arg(i);
        }
        return fault;
    }
};

} // namespace

class TestReportRules : public QObject
{
    Q_OBJECT

private slots:
    // A scripted user story per row: a = add, r<i> = remove tab i,
    // m<f><t> = drag tab f to t, x<i> = a remove the lists refuse.
    void alignedLists_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("tabs");
        QTest::newRow("add three, close the middle") << QStringList{"a", "a", "a", "r1"} << QStringList{"p0", "p2"};
        QTest::newRow("drag then close the dragged") << QStringList{"a", "a", "a", "m02", "r2"}
                                                     << QStringList{"p1", "p2"};
        QTest::newRow("drag back and forth") << QStringList{"a", "a", "a", "m20", "m12", "r0"}
                                             << QStringList{"p1", "p0"};
        QTest::newRow("removals outside refused") << QStringList{"a", "x5", "x-1", "a"} << QStringList{"p0", "p1"};
        QTest::newRow("close all then add") << QStringList{"a", "a", "r0", "r0", "a"} << QStringList{"p2"};
    }
    void alignedLists()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, tabs);
        Lists l;
        int made = 0;
        for (const QString& s : steps) {
            if (s == QLatin1String("a")) {
                const QString name = QStringLiteral("p%1").arg(made);
                l.tabs << name;
                l.pages << name;
                KOVTestPointInfo info;
                info.name = name;
                l.records << info;
                l.rows << made++;
            } else if (s.startsWith(QLatin1Char('r'))) {
                const int i = s.mid(1).toInt();
                QVERIFY(KOVAligned::removeAt(i, l.pages, l.records, l.rows));
                l.tabs.removeAt(i);
            } else if (s.startsWith(QLatin1Char('x'))) {
                QVERIFY(!KOVAligned::removeAt(s.mid(1).toInt(), l.pages, l.records, l.rows));
            } else {
                const int from = s.mid(1, 1).toInt();
                const int to = s.mid(2, 1).toInt();
                l.tabs.move(from, to);
                QVERIFY(KOVAligned::move(from, to, l.pages, l.records, l.rows));
            }
            QVERIFY2(l.check().isEmpty(), qPrintable(s + QLatin1String(": ") + l.check()));
        }
        QCOMPARE(l.tabs, tabs);
        for (int i = 0; i < tabs.size(); ++i)
            QCOMPARE(l.rows.at(i), tabs.at(i).mid(1).toInt());
        // The main window's way: pages put into the tab bar's order.
        QList<QString> order = l.pages;
        std::reverse(order.begin(), order.end());
        QVERIFY(KOVAligned::follow(order, l.pages, l.records, l.rows));
        QVERIFY(!KOVAligned::follow(QList<QString>{"nobody"}, l.pages, l.records));
        std::reverse(l.tabs.begin(), l.tabs.end());
        QVERIFY2(l.check().isEmpty(), qPrintable(l.check()));
    }

    void limits_data()
    {
        QTest::addColumn<int>("names");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("hundredth tick") << 200 << 99 << true;
        QTest::newRow("hundred-and-first") << 200 << 100 << false;
        QTest::newRow("every name chosen") << 3 << 3 << false;
        QTest::newRow("one name left") << 3 << 2 << true;
    }
    void limits()
    {
        QFETCH(int, names);
        QFETCH(int, chosen);
        QFETCH(bool, accepted);
        QCOMPARE(KOVReportRules::canAddPoint(names, chosen), accepted);
    }

    void rowsAfterDeletion()
    {
        QList<KOVTestPointInfo> points;
        for (const char* n : {"b.jpg", "gone.jpg", "d.mp4"}) {
            KOVTestPointInfo p;
            p.name = QString::fromLatin1(n);
            points << p;
        }
        const QList<int> byName = KOVReportRules::rowsByName(points, {"a.jpg", "b.jpg", "d.mp4", "b.jpg"});
        QCOMPARE(byName, (QList<int>{1, -1, 2}));
        QQueue<int> rows;
        rows << 2 << 5 << -1 << 3;
        KOVReportRules::lowerRowsAbove(rows, 3);
        QCOMPARE(static_cast<QList<int>>(rows), (QList<int>{2, 4, -1, 3}));
    }

    void pointFiles_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("flags");
        QTest::addColumn<QStringList>("files");
        QTest::newRow("video, everything") << int(ItemType::video) << true
                                           << QStringList{"w.png", "f1.jpg", "p1.png", "f2.jpg", "a.wav", "v.avi"};
        QTest::newRow("video, no flags") << int(ItemType::video) << false << QStringList{};
        QTest::newRow("picture keeps its files") << int(ItemType::photo) << true << QStringList{};
    }
    void pointFiles()
    {
        QFETCH(int, type);
        QFETCH(bool, flags);
        QFETCH(QStringList, files);
        KOVTestPointInfo p;
        p.type = ItemType(type);
        p.wavform = p.marked = p.pdd = p.hasClip = flags;
        p.wavformImgPath = "w.png";
        p.videoImgPathList = QStringList{"f1.jpg", "f2.jpg"};
        p.pddImgPathList = QStringList{"p1.png"}; // shorter: the second frame has no pattern
        p.clipAudio = "a.wav";
        p.clipVideo = "v.avi";
        QCOMPARE(KOVReportRules::pointFiles(p), files);
        // Closing the report takes pictures only, never clips.
        if (flags)
            QCOMPARE(KOVReportRules::reportPictures({p}), (QStringList{"w.png", "f1.jpg", "f2.jpg", "p1.png"}));
    }

    void exportFolder_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("workbook");
        QTest::newRow("with suffix") << "/out/Gas Report 1.xlsx" << "/out/Gas Report 1"
                                     << "/out/Gas Report 1/Gas Report 1.xlsx";
        QTest::newRow("no suffix typed") << "/home/u/Documents" << "/home/u/Documents"
                                         << "/home/u/Documents/Documents.xlsx";
        QTest::newRow("upper-case suffix") << "/out/r.XLSX" << "/out/r" << "/out/r/r.XLSX";
        QTest::newRow("other suffix kept as name") << "/out/r.v2" << "/out/r.v2" << "/out/r.v2/r.v2.xlsx";
    }
    void exportFolder()
    {
        QFETCH(QString, typed);
        QFETCH(QString, folder);
        QFETCH(QString, workbook);
        const QString path = KOVExportPlan::withSuffix(typed);
        QCOMPARE(KOVExportPlan::folderFor(path), folder);
        QCOMPARE(KOVExportPlan::workbookIn(folder, path), workbook);
        const QDateTime t(QDate(2022, 3, 5), QTime(14, 3, 9));
        QCOMPARE(KOVExportPlan::stampedFolder(folder, t), folder + QStringLiteral("_0305140309"));
    }

    void clipCopies_data()
    {
        QTest::addColumn<bool>("saveClip");
        QTest::addColumn<bool>("hasClip");
        QTest::addColumn<QString>("audio");
        QTest::addColumn<QStringList>("targets");
        QTest::newRow("saved with sound") << true << true << "/i/a.wav" << QStringList{"/F/V.mp4/a.wav", "/F/V.mp4/v.avi"};
        QTest::newRow("saved without sound") << true << true << "" << QStringList{"/F/V.mp4/v.avi"};
        QTest::newRow("not saved") << false << true << "/i/a.wav" << QStringList{};
        QTest::newRow("no clip") << true << false << "/i/a.wav" << QStringList{};
    }
    void clipCopies()
    {
        QFETCH(bool, saveClip);
        QFETCH(bool, hasClip);
        QFETCH(QString, audio);
        QFETCH(QStringList, targets);
        KOVReportInfo info;
        KOVTestPointInfo p;
        p.name = "V.mp4";
        p.saveClip = saveClip;
        p.hasClip = hasClip;
        p.wavform = false; // a clip without a waveform still keeps its video
        p.clipAudio = audio;
        p.clipVideo = "/i/v.avi";
        info.pointInfoList << p;
        QStringList got;
        for (const auto& c : KOVExportPlan::clipCopies("/F", info, 1))
            got << c.target;
        QCOMPARE(got, targets);
        QVERIFY(KOVExportPlan::clipCopies("/F", info, 0).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestReportRules)
#include "tst_reportrules.moc"

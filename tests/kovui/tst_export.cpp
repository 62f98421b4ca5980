// Export through the main window: the folder with its clips, the progress,
// the workbook read back by openpyxl, refusals, failures, a typed folder.
#include "kovexportplan.h"
#include "kovinformation.h"
#include "kovlibxl.h"
#include "kovsavedialog.h"
#include "kovtestutil.h"
#include "kovvideoimg.h"
#include "reporttesthelp.h"
#include "xlsxtesthelp.h"
#include "kovtable.h"

#include <QAction>
#include <QCalendarWidget>
#include <QJsonArray>
#include <QRegularExpression>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace ReportTest;

class TestExport : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    QString m_items;
    Answers m_answers;
    QStringList m_saveAsked;
    QString m_saveAnswer;

    void exportAs(KOVReportExport& w, const QString& answer) { m_saveAnswer = answer; w.on_actionsaveReport_triggered(); }

    // A gas report of rows 0..2; row 1 carries a clip with sound, row 2 one
    // without (no audio file, no waveform).
    void makeReport(KOVReportExport& w)
    {
        importInto(w, m_items);
        w.addNewReport(0);
        for (int r : {0, 1, 2})
            tick(w, r);
        auto* page = qobject_cast<KOVReportWin*>(mainTabs(w)->currentWidget());
        for (int i : {1, 2}) {
            KOVTestPointInfo p = page->pointInfoList().at(i);
            const QString dir = m_root.filePath(QStringLiteral("clips%1/").arg(i));
            p.saveClip = p.hasClip = true;
            p.wavform = i == 1;
            p.clipVideo = dir + QStringLiteral("clip.avi");
            p.clipAudio = i == 1 ? dir + QStringLiteral("clip.wav") : QString();
            QFile v(p.clipVideo), a(p.clipAudio);
            QVERIFY(QDir().mkpath(dir) && v.open(QIODevice::WriteOnly) && v.write(QByteArray(1 << 16, char('0' + i))) > 0);
            QVERIFY(i == 2 || (a.open(QIODevice::WriteOnly) && a.write(QByteArray(1000, 'a')) > 0));
            emit page->testPointPages().at(i)->sigPointInfoChanged(p);
        }
    }

private slots:
    void initTestCase()
    {
        QVERIFY(KOVXlsxTest::installTemplates(QDir::currentPath()));
        m_items = makeUserDir(m_root.filePath(QStringLiteral("items")), 4);
        QVERIFY(!m_items.isEmpty());
        m_answers.install();
        KOVSaveDialog::s_answer = [this](const QString& caption, const QString& proposed, const QString&) {
            m_saveAsked << caption + QLatin1Char('|') + proposed;
            return m_saveAnswer;
        };
    }
    void init()
    {
        m_answers.clear();
        m_saveAsked.clear();
    }

    void exportsWorkbookAndClips()
    {
        KOVReportExport w;
        makeReport(w);
        QSignalSpy total(&w, &KOVReportExport::sigTotal);
        QSignalSpy text(&w, &KOVReportExport::sigProgressText);
        QSignalSpy value(&w, &KOVReportExport::sigValue);
        QSignalSpy finish(&w, &KOVReportExport::sigFinishProgressBar);
        const QString out = m_root.filePath(QStringLiteral("out"));
        m_saveAnswer = out + QStringLiteral("/r1.xlsx");
        // The worker held at its start while the window is asked: exporting
        // then, and no longer once the dialog has ended.
        QSemaphore started, go;
        connect(&w, &KOVReportExport::sigTotal, this, [&] { started.release(); go.acquire(); }, Qt::DirectConnection);
        bool during = false;
        QTimer::singleShot(0, &w, [&] {
            during = started.tryAcquire(1, 20000) && w.isExporting();
            go.release();
        });
        w.on_actionsaveReport_triggered();
        QCOMPARE(m_saveAsked, QStringList{QStringLiteral("导出报告|气体报告1")});
        QVERIFY(m_answers.texts.isEmpty() && during && !w.isExporting());
        const QString wb = out + QStringLiteral("/r1/r1.xlsx");
        QCOMPARE(QVariantList({total.value(0).value(0), text.value(0).value(0)}), QVariantList({3, wb}));
        QCOMPARE(value, (QList<QVariantList>{{1}, {2}, {3}}));
        QCOMPARE(finish, QList<QVariantList>{{1}});
        const QString n1 = w.fileNameList().at(1), n2 = w.fileNameList().at(2);
        QCOMPARE(KOVTest::listTree(out + QStringLiteral("/r1")),
                 (QStringList{n1, n1 + "/clip.avi", n1 + "/clip.wav", n2, n2 + "/clip.avi", "r1.xlsx"}));
        QCOMPARE(QFile(out + "/r1/" + n2 + "/clip.avi").size(), qint64(1 << 16));
        QString error; // read back by openpyxl
        const QJsonObject seen = KOVXlsxTest::inspect(wb, &error);
        QVERIFY2(!seen.isEmpty(), qPrintable(error));
        const QJsonArray sheets = seen.value("sheets").toArray();
        QVERIFY(seen.value("structure").toArray().isEmpty() && sheets.size() == 4);
        QVERIFY(QJsonDocument(sheets.at(0).toObject()).toJson().contains(KOVInformation::Instance()->getCompany().toUtf8()));
    }

    // A typed path naming a folder the user keeps other work in.
    void typedFolderKeepsItsFiles_data()
    {
        KOVTable::columns<int, bool>({"answer", "stamped"});
        QTest::newRow("overwrite") << 0 << false;
        QTest::newRow("keep") << 1 << true;
    }
    void typedFolderKeepsItsFiles()
    {
        QFETCH(int, answer);
        QFETCH(bool, stamped);
        const QString name = QStringLiteral("Documents_%1").arg(answer), docs = m_root.filePath("home/" + name);
        QDir().mkpath(docs + "/photos");
        for (const QString& f : QStringList{docs + "/thesis.odt", docs + "/photos/one.jpg"})
            QVERIFY(QFile(f).open(QIODevice::WriteOnly));
        KOVReportExport w;
        makeReport(w);
        m_answers.answer = answer;
        exportAs(w, docs); // typed without ".xlsx"
        QCOMPARE(m_answers.texts, QStringList{"文件已存在，是否覆盖？"});
        const QStringList left = KOVTest::listTree(docs);
        QCOMPARE(QList<bool>({left.contains("thesis.odt"), left.contains("photos/one.jpg"), left.contains(name + ".xlsx")}),
                 QList<bool>({true, true, !stamped}));
        const QStringList beside = QDir(m_root.filePath("home")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QCOMPARE(beside.filter(QRegularExpression(name + "_\\d{10}$")).size(), stamped ? 1 : 0);
    }

    void refusals()
    {
        KOVReportExport w;
        w.on_actionsaveReport_triggered();
        importInto(w, m_items);
        w.addNewReport(1);
        const QString out = m_root.filePath(QStringLiteral("refused"));
        exportAs(w, out + QStringLiteral("/r.xlsx")); // no test point
        mainTabs(w)->setCurrentIndex(0);
        w.on_actionsaveReport_triggered(); // the browse page is shown
        QCOMPARE(m_answers.texts, (QStringList{"未创建报告！", "报告无测试点，无法导出报告！",
                                                 "未选中报告页，无法导出报告！"}));
        QVERIFY(m_saveAsked.isEmpty());
        QVERIFY(!QFileInfo::exists(out));
    }

    void failures()
    {
        KOVReportExport w;
        makeReport(w);
        // The old workbook's place taken by a folder: it cannot be removed.
        const QString out = m_root.filePath(QStringLiteral("fail"));
        QDir().mkpath(out + "/r/r.xlsx/inside");
        exportAs(w, out + QStringLiteral("/r.xlsx"));
        QCOMPARE(m_answers.texts.value(1), out + "/r/r.xlsx\r\n文件删除失败，请手动删除后重试！");

        // A clip file that cannot be copied is reported after the export,
        // which still writes the workbook and the other clips.
        m_answers.texts.clear();
        KOVReportWin* page = w.reportWins().first();
        KOVTestPointInfo p = page->pointInfoList().at(1);
        p.clipAudio = m_root.filePath("clips1/clip.wav.dir"); // a folder: no file to copy
        QDir().mkpath(p.clipAudio);
        emit page->testPointPages().at(1)->sigPointInfoChanged(p);
        exportAs(w, out + QStringLiteral("/c.xlsx"));
        QCOMPARE(m_answers.texts.size(), 1);
        QVERIFY2(m_answers.texts.at(0).startsWith("以下剪辑文件复制失败：\r\n" + p.clipAudio), qPrintable(m_answers.texts.at(0)));
        QVERIFY(QFile::exists(out + "/c/c.xlsx") && QFile::exists(out + "/c/" + w.fileNameList().at(1) + "/clip.avi"));
    }

    // Exporting again over an earlier export whose save fails: its workbook
    // and clips stay byte for byte and the reason is told; the next export
    // that succeeds replaces both.
    void failedSaveKeepsEarlierExport()
    {
        KOVReportExport w;
        makeReport(w);
        const QString out = m_root.filePath(QStringLiteral("again"));
        exportAs(w, out + QStringLiteral("/r.xlsx"));
        const QString wb = out + "/r/r.xlsx", clip = out + "/r/" + w.fileNameList().at(1) + "/clip.avi";
        const QByteArray book = KOVTest::readAll(wb), video = KOVTest::readAll(clip);
        const QStringList tree = KOVTest::listTree(out);
        QVERIFY(!book.isEmpty() && !video.isEmpty());
        QVERIFY(KOVTest::writeEncoded(m_root.filePath("clips1/clip.avi"), "newer"));

        KOVLibxl::s_saveFault = [](const QString&) { return QStringLiteral("No space left on device"); };
        w.on_actionsaveReport_triggered();
        KOVLibxl::s_saveFault = nullptr;
        QCOMPARE(m_answers.texts, (QStringList{"文件已存在，是否覆盖？", "文件保存失败！\r\n" + wb + "\r\nNo space left on device"}));
        QCOMPARE(KOVTest::readAll(wb) + KOVTest::readAll(clip), book + video);
        QCOMPARE(KOVTest::listTree(out), tree);

        m_answers.texts.clear();
        w.on_actionsaveReport_triggered();
        QCOMPARE(m_answers.texts, QStringList{"文件已存在，是否覆盖？"});
        QCOMPARE(KOVTest::listTree(out), tree);
        QCOMPARE(KOVTest::readAll(clip), QByteArray("newer"));
        QString error;
        QVERIFY2(!KOVXlsxTest::inspect(wb, &error).isEmpty(), qPrintable(error));
    }

    // The longest names the file system takes (255 bytes with ".xlsx"):
    // exported, and exported again over the first, with nothing left beside.
    void longestNames_data()
    {
        KOVTable::columns<QString>({"name"});
        QTest::newRow("ASCII") << QString(250, QLatin1Char('r'));
        QTest::newRow("Chinese, three bytes a character") << QString(83, QChar(0x62a5)) + "1";
    }
    void longestNames()
    {
        QFETCH(QString, name);
        QCOMPARE(QFile::encodeName(name + ".xlsx").size(), 255);
        KOVReportExport w;
        makeReport(w);
        const QString out = m_root.filePath("long_" + QString::number(name.size()));
        const QString wb = out + "/" + name + "/" + name + ".xlsx";
        const QString n1 = w.fileNameList().at(1), n2 = w.fileNameList().at(2);
        for (int round = 0; round < 2; ++round) {
            exportAs(w, out + "/" + name + ".xlsx");
            QCOMPARE(m_answers.texts, round == 0 ? QStringList() : QStringList{"文件已存在，是否覆盖？"});
            m_answers.texts.clear();
            QCOMPARE(KOVTest::listTree(out + "/" + name),
                     (QStringList{n1, n1 + "/clip.avi", n1 + "/clip.wav", n2, n2 + "/clip.avi", name + ".xlsx"}));
            QString error;
            QVERIFY2(!KOVXlsxTest::inspect(wb, &error).isEmpty(), qPrintable(error));
        }
    }

    // Whatever stops the export, no export folder is left behind.
    void failedExportLeavesNoFolder_data()
    {
        KOVTable::columns<QString, QString>({"fault", "told"});
        QTest::newRow("template missing") << "missing" << "缺少以下必需文件，无法导出报告：\r\n./cfg/template_gas_ch";
        QTest::newRow("template unreadable") << "garbage" << "文件创建失败，可能存在以下问题：\r\n1、报告无测试点\r\n2、文件被占用\r\n3、文件加载失败";
        QTest::newRow("save fails") << "save" << "文件保存失败！\r\n%1\r\ndisk full";
    }
    void failedExportLeavesNoFolder()
    {
        QFETCH(QString, fault);
        QFETCH(QString, told);
        KOVReportExport w;
        makeReport(w);
        const QString out = m_root.filePath("nofolder_" + fault);
        QVERIFY(QDir().mkpath(out) && QFile::rename("cfg/template_gas_ch", "cfg/hidden"));
        if (fault == "garbage")
            QVERIFY(QFile("cfg/template_gas_ch").open(QIODevice::WriteOnly));
        else if (fault == "save")
            QVERIFY(QFile::copy("cfg/hidden", "cfg/template_gas_ch"));
        KOVLibxl::s_saveFault = [](const QString&) { return QStringLiteral("disk full"); };
        exportAs(w, out + QStringLiteral("/r.xlsx"));
        KOVLibxl::s_saveFault = nullptr;
        QFile::remove("cfg/template_gas_ch");
        QVERIFY(QFile::rename("cfg/hidden", "cfg/template_gas_ch"));
        QCOMPARE(m_answers.texts, QStringList{told.arg(out + "/r/r.xlsx")});
        QCOMPARE(KOVTest::listTree(out), QStringList());
    }

    // A locked frame whose file was never written: listed, never plain success.
    void unplacedPicturesAreListed()
    {
        KOVReportExport w;
        makeReport(w);
        KOVReportWin* page = w.reportWins().first();
        KOVTestPointInfo p = page->pointInfoList().at(0);
        const QString gone = m_root.filePath(QStringLiteral("hideImg/R1_1.jpg"));
        p.type = ItemType::video;
        p.marked = true;
        p.videoImgPathList = QStringList{gone};
        emit page->testPointPages().at(0)->sigPointInfoChanged(p);
        QSignalSpy finish(&w, &KOVReportExport::sigFinishProgressBar);
        exportAs(w, m_root.filePath(QStringLiteral("pictures/r.xlsx")));
        QCOMPARE(finish, QList<QVariantList>{{2}});
        QCOMPARE(m_answers.texts, QStringList{"以下图片未能放入报告：\r\n" + gone});
    }

    // Started without the templates or the feature bank: named once.
    void neededFilesNamedAtStart()
    {
        KOVReportExport w;
        QVERIFY(QDir().mkpath("cfg/Data") && QFile("cfg/Data/bank.txt").open(QIODevice::Append));
        QVERIFY(w.checkNeededFiles().isEmpty());
        QVERIFY(QFile::rename("cfg/template_elec_en", "cfg/hidden") && QFile::remove("cfg/Data/bank.txt"));
        const QStringList missing = w.checkNeededFiles();
        QVERIFY(QFile::rename("cfg/hidden", "cfg/template_elec_en"));
        QCOMPARE(missing, (QStringList{"./cfg/template_elec_en", "./cfg/Data/bank.txt"}));
        QCOMPARE(m_answers.texts.size(), 1);
        QVERIFY(m_answers.texts.at(0).endsWith("：\r\n" + missing.join("\r\n")));
    }

    // The menu's language is for the next start: the run keeps its own for
    // new reports' calendars and the workbook's template.
    void languageChoiceWaitsForRestart()
    {
        const bool chinese = KOVInformation::Instance()->runLanguageId() == 0;
        KOVReportExport w;
        makeReport(w);
        w.findChild<QAction*>(chinese ? "actionEnglish" : "actionChinese")->trigger();
        QCOMPARE(KOVInformation::Instance()->getLanguageId(), chinese ? 1 : 0); // stored at once
        w.addNewReport(1);
        QCOMPARE(w.reportWins().at(1)->findChild<QCalendarWidget*>()->locale().language(),
                 chinese ? QLocale::Chinese : QLocale::English);
        mainTabs(w)->setCurrentIndex(1);
        exportAs(w, m_root.filePath(QStringLiteral("language/r.xlsx")));
        KOVInformation::Instance()->setLanguageId(chinese ? 0 : 1);
        const QJsonObject book = KOVXlsxTest::inspect(m_root.filePath(QStringLiteral("language/r/r.xlsx")));
        QCOMPARE(book.value("sheets").toArray().at(0).toObject().value("name").toString(),
                 chinese ? QStringLiteral("检测报告") : QStringLiteral("Report"));
    }
};

QTEST_MAIN(TestExport)
#include "tst_export.moc"

// Deleting items from the file list: rows, the shown row, batches, and the
// lists that must stay aligned after every step.
#include "kovfiledialog.h"
#include "kovinformation.h"
#include "kovitem.h"
#include "kovmessagebox.h"
#include "kovreportexport.h"
#include "kovvideoimg.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

class TstDelete : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    QStringList m_asked;

    QListWidget* list(KOVReportExport& w) { return w.findChild<QListWidget*>(QStringLiteral("listWidget")); }

    // Names, paths, entries, rows and the state object's lists stay aligned.
    void checkConsistency(KOVReportExport& w)
    {
        const QStringList names = w.fileNameList();
        QCOMPARE(w.filePathList().size(), names.size());
        QCOMPARE(w.itemEntries().size(), names.size());
        QCOMPARE(list(w)->count(), names.size());
        for (int r = 0; r < names.size(); ++r) {
            QCOMPARE(w.itemEntries().at(r)->itemName(), names.at(r));
            QCOMPARE(list(w)->itemWidget(list(w)->item(r)), w.itemEntries().at(r));
            QVERIFY(w.filePathList().at(r).endsWith(QLatin1Char('/') + names.at(r)));
        }
        QCOMPARE(KOVInformation::Instance()->getFileNameList(), names);
        QCOMPARE(KOVInformation::Instance()->getFilePathList(), w.filePathList());
        QVERIFY(w.preIndex() >= -1 && w.preIndex() < qMax(1, names.size()));
    }

    void importFive(KOVReportExport& w)
    {
        const QString usr = m_root.filePath(QStringLiteral("default"));
        for (int i = 0; i < 5; ++i) {
            const QString dir = usr + QStringLiteral("/item%1").arg(i);
            QDir().mkpath(dir);
            QImage img(32, 20, QImage::Format_RGB32);
            img.fill(Qt::darkCyan);
            QVERIFY(img.save(dir + QStringLiteral("/%1.jpg").arg(i)));
        }
        QFile(usr + QStringLiteral("/usrInfo.ini")).open(QIODevice::WriteOnly);
        KOVFileDialog::s_chooseHook = [usr](const QString&) { return usr; };
        w.show();
        w.importFiles();
        QCOMPARE(w.fileNameList().size(), 5);
    }

private slots:
    void initTestCase()
    {
        KOVMessageBox::s_answer = [this](QMessageBox::Icon, const QString& title, const QString& text,
                                         const QStringList&) {
            m_asked << title + QLatin1Char('|') + text;
            return 0;
        };
    }
    void init() { m_asked.clear(); }

    // Single deletion without report pages: which row goes, where the shown
    // row ends up, whether the browse page still shows an item.
    void deleteRow_data()
    {
        QTest::addColumn<int>("shown");
        QTest::addColumn<int>("deleted");
        QTest::addColumn<int>("preIndex");
        QTest::addColumn<bool>("closed");
        QTest::newRow("the shown row") << 2 << 2 << 0 << true;
        QTest::newRow("a row after the shown one") << 1 << 3 << 1 << false;
        QTest::newRow("a row before the shown one") << 3 << 0 << 2 << false;
        QTest::newRow("the first row shown and deleted") << 0 << 0 << 0 << true;
    }
    void deleteRow()
    {
        QFETCH(int, shown);
        QFETCH(int, deleted);
        QFETCH(int, preIndex);
        QFETCH(bool, closed);
        KOVReportExport w;
        importFive(w);
        w.clickItemtoShow(shown);
        const QStringList before = w.fileNameList();
        const QString path = w.filePathList().at(deleted);
        list(w)->setCurrentRow(deleted);
        w.on_actionDelete_triggered();
        checkConsistency(w);
        QStringList expected = before;
        expected.removeAt(deleted);
        QCOMPARE(w.fileNameList(), expected);
        QCOMPARE(w.preIndex(), preIndex);
        QCOMPARE(w.browsePage()->shownItem(), preIndex);
        QCOMPARE(w.browsePage()->findChild<QLabel*>(QStringLiteral("itemNameLB"))->text().isEmpty(), closed);
        QVERIFY(QFile::exists(path)); // nothing on disk is touched
        QVERIFY(m_asked.isEmpty());
    }

    void deleteEveryRowOneByOne()
    {
        KOVReportExport w;
        importFive(w);
        w.clickItemtoShow(4);
        while (list(w)->count() > 0) {
            list(w)->setCurrentRow(list(w)->count() - 1);
            w.on_actionDelete_triggered();
            checkConsistency(w);
        }
        QCOMPARE(w.preIndex(), -1);
        QCOMPARE(w.browsePage()->shownItem(), -1);
        QVERIFY(m_asked.isEmpty());
        w.on_actionDelete_triggered(); // nothing left, nothing current
        QCOMPARE(m_asked, QStringList { QStringLiteral("警告|未选择任何文件，请选择文件进行删除！") });
    }

    // A batch removes the entries that were selected, however the rows shift
    // while it runs.
    void batch_data()
    {
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<QStringList>("left");
        QTest::addColumn<QStringList>("asked");
        QTest::newRow("two apart") << QList<int> { 0, 2 } << QStringList { "1.jpg", "3.jpg", "4.jpg" } << QStringList();
        QTest::newRow("three adjacent") << QList<int> { 1, 2, 3 } << QStringList { "0.jpg", "4.jpg" } << QStringList();
        QTest::newRow("the last two") << QList<int> { 3, 4 } << QStringList { "0.jpg", "1.jpg", "2.jpg" } << QStringList();
        QTest::newRow("every row") << QList<int> { 0, 1, 2, 3, 4 } << QStringList() << QStringList();
        QTest::newRow("nothing") << QList<int>() << QStringList { "0.jpg", "1.jpg", "2.jpg", "3.jpg", "4.jpg" }
                                 << QStringList { QStringLiteral("提示|未选择任何文件！") };
    }
    void batch()
    {
        QFETCH(QList<int>, selected);
        QFETCH(QStringList, left);
        QFETCH(QStringList, asked);
        KOVReportExport w;
        importFive(w);
        w.on_actionbatchDel_triggered();
        auto* box = w.findChild<QGroupBox*>(QStringLiteral("groupBox_batchDel"));
        QVERIFY(!box->isHidden());
        QCOMPARE(list(w)->selectionMode(), QAbstractItemView::MultiSelection);
        for (int r : selected)
            list(w)->item(r)->setSelected(true);
        w.on_batch_okPB_clicked();
        checkConsistency(w);
        QCOMPARE(w.fileNameList(), left);
        QCOMPARE(m_asked, asked);
        QCOMPARE(box->isHidden(), !selected.isEmpty()); // a refused or empty batch stays open
        QVERIFY(list(w)->selectedItems().isEmpty());
    }

};

QTEST_MAIN(TstDelete)
#include "tst_delete.moc"

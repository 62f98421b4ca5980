// The recovery cache through the windows: a review page's state, the whole
// main window, caches a restore must not trust, and the loss box.
#include "kovcachefile.h"
#include "kovfiledialog.h"
#include "kovinformation.h"
#include "kovmessagebox.h"
#include "kovreportexport.h"
#include "kovvideoimg.h"
#include "kovtestutil.h"
#include "reviewfixture.h"

#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {

template <typename T> T* child(QObject* o, const char* name)
{
    return o->findChild<T*>(QLatin1String(name));
}

// The document without the picture names, which are new on every save, and
// the shown frame, which is written but not read back.
QJsonObject withoutPictures(QJsonObject testPoint)
{
    QJsonObject o = testPoint.value(QStringLiteral("testPoint")).toObject();
    for (const char* key : { "img", "markedImgList", "pddImgList", "videoImgIndex" })
        o.remove(QLatin1String(key));
    return o;
}


} // namespace

class TstRestore : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    QStringList m_asked; // title + "|" + text of every box
    int m_answer = 0;
    QList<ReviewFixture::Item> m_items;

    void writeCache(const QByteArray& bytes)
    {
        QVERIFY(QDir().mkpath(KOVCacheFile().dir()));
        QFile f(KOVCacheFile().jsonPath());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QStringList failedFolders() const
    {
        return QDir(QStringLiteral(".")).entryList({ QStringLiteral("cache-failed-*") }, QDir::Dirs);
    }
    QJsonObject readCache()
    {
        QJsonObject root;
        QString why;
        if (!KOVCacheFile().read(&root, &why))
            qWarning() << why;
        return root;
    }
    // A main window with the three items imported and row 1 shown.
    void importInto(KOVReportExport& w)
    {
        KOVFileDialog::s_chooseHook = [this](const QString&) { return m_root.filePath(QStringLiteral("default")); };
        w.show();
        w.importFiles();
        w.clickItemtoShow(1);
    }

private slots:
    void initTestCase()
    {
        KOVMessageBox::s_answer = [this](QMessageBox::Icon, const QString& title, const QString& text,
                                         const QStringList&) {
            m_asked << title + QLatin1Char('|') + text;
            return m_answer;
        };
        const QString usr = m_root.filePath(QStringLiteral("default"));
        QVERIFY(QDir().mkpath(usr));
        QFile(usr + QStringLiteral("/usrInfo.ini")).open(QIODevice::WriteOnly);
        m_items << ReviewFixture::makeItem(usr, QStringLiteral("p1"), QStringLiteral("a.jpg"), KOVGen::ItemKind::Picture, 1, 0)
                << ReviewFixture::makeItem(usr, QStringLiteral("v1"), QStringLiteral("b.mp4"), KOVGen::ItemKind::Video, 12, 1)
                << ReviewFixture::makeItem(usr, QStringLiteral("p2"), QStringLiteral("c.jpg"), KOVGen::ItemKind::Picture, 1, 0);
        for (const auto& i : m_items)
            QVERIFY(!i.path.isEmpty());
    }
    void init()
    {
        m_asked.clear();
        m_answer = 0;
        KOVCacheFile().remove();
        for (const QString& d : failedFolders())
            QDir(d).removeRecursively();
        ReviewFixture::publish(m_items);
    }

    void reviewPageRoundTrip_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("reportType");
        QTest::newRow("picture on a gas report") << 0 << 0;
        QTest::newRow("video on an electrical report") << 1 << 1;
    }
    void reviewPageRoundTrip()
    {
        QFETCH(int, row);
        QFETCH(int, reportType);
        KOVVideoImg saved;
        saved.isReportWin(true, reportType);
        saved.slotUpdateItemList();
        saved.showItem(row, m_items.at(row).dir);
        child<QLineEdit>(&saved, "infoAdvice")->setText(QStringLiteral("更换 阀门"));
        emit child<QLineEdit>(&saved, "infoAdvice")->editingFinished();
        child<QTextEdit>(&saved, "infoJudgement")->setPlainText(QStringLiteral("依据"));
        // The box of the item's own label last: its text is the record's, as
        // showing the item again makes it.
        const bool gasItem = row != 1;
        child<QComboBox>(&saved, gasItem ? "infoFaultLevel_elec" : "infoFaultLevel_gas")->setCurrentIndex(1);
        child<QComboBox>(&saved, gasItem ? "infoFaultLevel_gas" : "infoFaultLevel_elec")->setCurrentIndex(2);
        child<QLineEdit>(&saved, "infoPrpdType")->setText(QStringLiteral("电晕"));
        child<QRadioButton>(&saved, "radioButton")->setChecked(true);
        if (row == 1) {
            // A locked frame and a clip of three frames.
            QVERIFY(QMetaObject::invokeMethod(&saved, "on_lockBtn_clicked"));
            child<QPushButton>(&saved, "screenShotPB")->click();
            for (int i = 0; i < 3; ++i)
                QVERIFY(QMetaObject::invokeMethod(&saved, "slotTimeOut"));
            child<QPushButton>(&saved, "screenShotPB")->click();
            QCOMPARE(saved.lockState().marks.size(), 1);
            QVERIFY(saved.pointInfo().hasClip);
        }
        QJsonObject first;
        saved.saveData(first);

        const QJsonObject tp = first.value(QStringLiteral("testPoint")).toObject();
        QCOMPARE(tp.value(QStringLiteral("preSelect")).toInt(), row);
        QCOMPARE(tp.value(QStringLiteral("pointInfo")).toObject().contains(QStringLiteral("imgInfoList")), row == 1);

        KOVVideoImg restored;
        restored.isReportWin(true, reportType);
        QList<KOVTestPointInfo> sent;
        connect(&restored, &KOVVideoImg::sigPointInfoChanged, this, [&sent](KOVTestPointInfo_t i) { sent << i; });
        restored.restoreData(first);
        QCOMPARE(restored.shownItem(), row);
        const KOVTestPointInfo& a = saved.pointInfo();
        const KOVTestPointInfo& b = restored.pointInfo();
        QCOMPARE(b.name, a.name);
        QCOMPARE(b.type, a.type);
        QCOMPARE(b.advice, a.advice);
        QCOMPARE(b.judgment, a.judgment);
        QCOMPARE(b.faultLevel, a.faultLevel);
        QCOMPARE(b.saveClip, true);
        QCOMPARE(b.leakageData, reportType == 0);
        QCOMPARE(b.leakage, a.leakage);
        QCOMPARE(b.economicLosses, a.economicLosses);
        QCOMPARE(b.imgInfoList.size(), a.imgInfoList.size());
        QCOMPARE(b.prpdTypeList.value(0), QStringLiteral("电晕"));
        QVERIFY(!sent.isEmpty());
        QCOMPARE(sent.last().advice, a.advice);
        QCOMPARE(restored.lockState().marks, saved.lockState().marks);
        QCOMPARE(KOVLockCheck::check(restored.lockState()), QString());
        for (const QImage& locked : restored.lockState().images)
            QVERIFY(!locked.isNull());
        QCOMPARE(b.hasClip, a.hasClip);
        QCOMPARE(b.clipVideo, a.clipVideo);
        QCOMPARE(b.videoImgPathList, a.videoImgPathList);
        for (const char* box : { "infoFaultLevel_gas", "infoFaultLevel_elec" })
            QCOMPARE(child<QComboBox>(&restored, box)->currentIndex(), child<QComboBox>(&saved, box)->currentIndex());

        QJsonObject second;
        restored.saveData(second);
        QCOMPARE(withoutPictures(second), withoutPictures(first));
    }

    // A damaged or edited page state: every index and path is bounded.
    void hostilePageState_data()
    {
        QTest::addColumn<QJsonObject>("patch");
        QTest::addColumn<int>("shown");
        QTest::addColumn<QList<int>>("locks");
        QTest::addColumn<QStringList>("framePaths");
        QTest::addColumn<bool>("hasClip");
        QTest::addColumn<int>("gasIndex");
        const QString hide = m_items.at(1).dir + QStringLiteral("hideImg/");
        const QList<int> none;
        QTest::newRow("never showed an item") << QJsonObject { { "preSelect", -1 } } << -1 << none << QStringList() << false << -1;
        QTest::newRow("row beyond the list") << QJsonObject { { "preSelect", 7 } } << -1 << none << QStringList() << false << -1;
        QTest::newRow("fault level in the box") << QJsonObject { { "faultLevel_gas", 1 } } << 1 << none << QStringList() << false << 1;
        QTest::newRow("fault level beyond the box") << QJsonObject { { "faultLevel_gas", 9 } } << 1 << none << QStringList() << false << -1;
        QTest::newRow("fault level -1 keeps the box") << QJsonObject { { "faultLevel_gas", -1 } } << 1 << none << QStringList() << false << -1;
        QTest::newRow("frame numbers bounded")
            << QJsonObject { { "markList", QJsonArray { 0, -3, 5, 6, 7, 8, 9 } },
                   { "pointInfo", QJsonObject { { "videoImgPathList", QJsonArray { hide + "5.jpg", hide + "6.jpg", hide + "7.jpg", hide + "8.jpg", hide + "9.jpg" } } } } }
            << 1 << QList<int> { 5 } << QStringList { hide + "5.jpg" } << false << -1;
        QTest::newRow("frame file outside hideImg")
            << QJsonObject { { "markList", QJsonArray { 3 } },
                   { "pointInfo", QJsonObject { { "videoImgPathList", QJsonArray { m_items.at(1).path } } } } }
            << 1 << QList<int> { 3 } << QStringList { QString() } << false << -1;
        QTest::newRow("locked frame without its file")
            << QJsonObject { { "markList", QJsonArray { 3, 3 } }, { "pddImgList", QJsonArray { "./cache/a.jpg", "./cache/b.jpg" } },
                   { "pointInfo", QJsonObject { { "imgInfoList", QJsonArray { QJsonObject(), QJsonObject() } } } } }
            << 1 << QList<int> { 3 } << QStringList { QString() } << false << -1;
        QTest::newRow("clip inside hideImg")
            << QJsonObject { { "screenList", QJsonArray { hide + "c.avi" } }, { "screenAudioList", QJsonArray { hide + "c.wav" } },
                   { "pointInfo", QJsonObject { { "hasClip", true } } } }
            << 1 << none << QStringList() << true << -1;
        QTest::newRow("clip climbing out")
            << QJsonObject { { "screenList", QJsonArray { hide + "../b.mp4" } }, { "screenAudioList", QJsonArray { hide + "c.wav" } },
                   { "pointInfo", QJsonObject { { "hasClip", true } } } }
            << 1 << none << QStringList() << false << -1;
    }
    void hostilePageState()
    {
        QFETCH(QJsonObject, patch);
        QFETCH(int, shown);
        QFETCH(QList<int>, locks);
        QFETCH(QStringList, framePaths);
        QFETCH(bool, hasClip);
        QFETCH(int, gasIndex);
        QJsonObject tp { { "preSelect", 1 } };
        for (auto it = patch.begin(); it != patch.end(); ++it)
            tp.insert(it.key(), it.value());
        QJsonObject root { { "testPoint", tp } };
        KOVVideoImg page;
        page.isReportWin(true, 0);
        page.restoreData(root);
        QCOMPARE(page.shownItem(), shown);
        QCOMPARE(page.lockState().marks, locks);
        QCOMPARE(KOVLockCheck::check(page.lockState(), false), QString());
        QCOMPARE(page.pointInfo().videoImgPathList, framePaths);
        QCOMPARE(page.pointInfo().hasClip, hasClip);
        QCOMPARE(page.pointInfo().clipVideo.isEmpty(), !hasClip);
        QCOMPARE(child<QComboBox>(&page, "infoFaultLevel_gas")->currentIndex(), gasIndex);
        QCOMPARE(page.pointInfo().marked, !framePaths.isEmpty());
    }

    void mainWindowRoundTrip()
    {
        {
            KOVReportExport w;
            importInto(w);
            w.saveData();
        }
        const QJsonObject root = readCache();
        QCOMPARE(root.value(QStringLiteral("itemNameList")).toArray().size(), 3);
        QCOMPARE(root.value(QStringLiteral("preIndex")).toInt(), 1);
        QCOMPARE(root.value(QStringLiteral("reportNum")).toInt(), 1);
        QCOMPARE(root.value(QStringLiteral("currentIndex")).toInt(), 0);
        QVERIFY(QRegularExpression(QStringLiteral("^\\{[0-9a-f-]{36}\\}$")).match(root.value(QStringLiteral("uuid")).toString()).hasMatch());
        QCOMPARE(root.value(QStringLiteral("videoImg")).toObject().value(QStringLiteral("testPoint")).toObject()
                     .value(QStringLiteral("preSelect")).toInt(), 1);

        KOVInformation::Instance()->setFileNameList({});
        KOVReportExport back;
        back.restoreData();
        QCOMPARE(m_asked, QStringList { QStringLiteral("提示|检测到上次未正常关闭，是否恢复？") });
        QCOMPARE(back.fileNameList(), (QStringList { "a.jpg", "c.jpg", "b.mp4" })); // folder order p1, p2, v1
        QCOMPARE(back.filePathList().at(1), m_items.at(2).path);
        QCOMPARE(back.itemEntries().size(), 3);
        QCOMPARE(child<QListWidget>(&back, "listWidget")->count(), 3);
        QCOMPARE(back.preIndex(), 1);
        QCOMPARE(back.browsePage()->shownItem(), 1);
        QCOMPARE(KOVInformation::Instance()->getFileNameList(), back.fileNameList());
        QVERIFY(!QDir(KOVCacheFile().dir()).exists());
        back.restoreData(); // offered once
        QCOMPARE(m_asked.size(), 1);
    }

    void answerNoDiscards()
    {
        {
            KOVReportExport w;
            importInto(w);
            w.saveData();
            w.saveData(); // a second write leaves one document
        }
        QCOMPARE(QDir(KOVCacheFile().dir()).entryList({ QStringLiteral("*.json*") }, QDir::Files).size(), 1);
        m_answer = 1;
        KOVReportExport w;
        w.restoreData();
        QCOMPARE(m_asked.size(), 1);
        QVERIFY(w.fileNameList().isEmpty());
        QVERIFY(!QDir(KOVCacheFile().dir()).exists());
        QVERIFY(failedFolders().isEmpty());
    }

    void untrustedCache_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QJsonObject good { { "usrDirPath", m_root.filePath(QStringLiteral("default")) + "/" },
            { "itemNameList", QJsonArray { "a.jpg", "b.mp4" } },
            { "itemPathList", QJsonArray { m_items.at(0).path, m_items.at(1).path } } };
        const QByteArray whole = QJsonDocument(good).toJson();
        QTest::newRow("torn") << whole.left(whole.size() - 9) << QString();
        QTest::newRow("truncated") << QByteArray() << QString();
        QJsonObject o = good;
        o.insert("itemNameList", QJsonArray { "a.jpg" });
        QTest::newRow("mismatched arrays") << QJsonDocument(o).toJson() << "2 item paths but 1 item names";
        o = good;
        o.insert("usrDirPath", m_root.filePath(QStringLiteral("gone/")));
        QTest::newRow("user directory gone") << QJsonDocument(o).toJson() << "is gone";
    }
    void untrustedCache()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        writeCache(bytes);
        {
            KOVReportExport w;
            w.restoreData();
            QVERIFY(w.fileNameList().isEmpty());
            QCOMPARE(child<QListWidget>(&w, "listWidget")->count(), 0);
        }
        QCOMPARE(m_asked.size(), 2);
        QVERIFY(m_asked.at(1).startsWith(QStringLiteral("警告|上次的工作无法恢复：")));
        QVERIFY2(m_asked.at(1).contains(reason), qPrintable(m_asked.at(1)));
        const QStringList aside = failedFolders();
        QCOMPARE(aside.size(), 1);
        QVERIFY(m_asked.at(1).contains(aside.at(0)));
        QCOMPARE(KOVTest::readAll(aside.at(0) + QStringLiteral("/cache.json")), bytes);
        KOVReportExport again;
        again.restoreData();
        QCOMPARE(m_asked.size(), 2); // not offered again
    }

    void outOfRangeIndexes()
    {
        QJsonObject o { { "usrDirPath", m_root.filePath(QStringLiteral("default")) + "/" },
            { "itemNameList", QJsonArray { "a.jpg", "b.mp4" } },
            { "itemPathList", QJsonArray { m_items.at(0).path, m_items.at(1).path } },
            { "preIndex", 50 }, { "reportNum", -4 }, { "currentIndex", 9 },
            { "videoImg", QJsonObject { { "testPoint", QJsonObject { { "preSelect", 40 } } } } } };
        writeCache(QJsonDocument(o).toJson());
        KOVReportExport w;
        w.restoreData();
        QCOMPARE(w.fileNameList().size(), 2);
        QCOMPARE(w.preIndex(), -1);
        QCOMPARE(w.browsePage()->shownItem(), -1);
        QCOMPARE(child<QTabWidget>(&w, "mainTabWidget")->currentIndex(), 0);
        QVERIFY(failedFolders().isEmpty());
    }

    void lossBox_data()
    {
        QTest::addColumn<QString>("leak");
        QTest::addColumn<int>("currency");
        QTest::addColumn<QString>("hours");
        QTest::addColumn<QString>("money");
        QTest::newRow("1 ml/s in yuan") << "1" << 0 << "8760" << "37.84";
        QTest::newRow("1 ml/s in euro") << "1" << 2 << "8760" << "5.25";
        QTest::newRow("no leak") << "0" << 0 << "8760" << "0.00";
        QTest::newRow("empty hours") << "1" << 0 << "" << "0.00";
    }
    void lossBox()
    {
        QFETCH(QString, leak);
        QFETCH(int, currency);
        QFETCH(QString, hours);
        QFETCH(QString, money);
        KOVVideoImg page;
        page.isReportWin(true, 0);
        auto* unit = child<QComboBox>(&page, "info_moneyUnit");
        QCOMPARE(child<QLabel>(&page, "info_moneyUnit_year")->text(), QStringLiteral("￥"));
        unit->setCurrentIndex(currency);
        QCOMPARE(child<QLabel>(&page, "info_energyCostUnit")->text(), unit->itemText(currency));
        QCOMPARE(child<QLabel>(&page, "info_moneyUnit_year")->text(), unit->itemText(currency));
        child<QLineEdit>(&page, "info_time")->setText(hours);
        emit child<QLineEdit>(&page, "info_time")->editingFinished();
        child<QLineEdit>(&page, "info_leakValue")->setText(leak);
        emit child<QLineEdit>(&page, "info_leakValue")->editingFinished();
        QCOMPARE(child<QLabel>(&page, "info_money")->text(), money);
    }

};

QTEST_MAIN(TstRestore)
#include "tst_restore.moc"

// User information and item label files, as the imager writes them (GBK,
// CR LF, unquoted values) and as we write them back.
#include "kovgetitemlabelinfo.h"
#include "kovgetreportinfo.h"
#include "kovtestutil.h"

#include <QTemporaryDir>
#include <QtTest>

class TestItemInfo : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_dir.reset(new QTemporaryDir); }

    void labelTexts_data()
    {
        QTest::addColumn<QString>("ini");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("faultSiteGas");
        QTest::addColumn<QString>("airUnit");
        QTest::addColumn<QString>("faultSiteElec");
        QTest::newRow("gas with empty site")
            << "[itemInfo]\ntype=0\n[GasLeak]\nfaultSite=\nairPressure=0.6\nairUnit=\nairType=氮气\n" << 0 << "/" << ""
            << "/";
        QTest::newRow("comma and blank kept")
            << "[itemInfo]\ntype=1\n[ElectricLeak]\nfaultSite=变压器A相, 套管\nvoltage=110\nelecUnit=kV\n" << 1 << "/" << ""
            << "变压器A相, 套管";
        QTest::newRow("semicolon kept")
            << "[itemInfo]\ntype=1\n[ElectricLeak]\nfaultSite=母线;B相 接头\n" << 1 << "/" << "" << "母线;B相 接头";
        QTest::newRow("blanks around the equals sign")
            << "[itemInfo]\ntype = 1\n[ElectricLeak]\nfaultSite = a, b \n" << 1 << "/" << "" << "a, b";
        QTest::newRow("type text reads as 0") << "[itemInfo]\ntype=abc\n" << 0 << "/" << "" << "/";
        QTest::newRow("no type key") << "[GasLeak]\nairUnit=MPa\n" << -1 << "/" << "MPa" << "/";
    }
    void labelTexts()
    {
        QFETCH(QString, ini);
        const QString path = m_dir->filePath(QStringLiteral("itemInfo.ini"));
        QVERIFY(KOVTest::writeEncoded(path, ini));
        KOVGetItemLabelInfo label;
        QVERIFY(label.readItemCfgInfo(path));
        QTEST(label.m_labelType, "type");
        QTEST(label.m_faultSite_gas, "faultSiteGas");
        QTEST(label.m_airUnit, "airUnit");
        QTEST(label.m_faultSite_elec, "faultSiteElec");
    }

    void staleTextsAreNotCarriedOver()
    {
        const QString a = m_dir->filePath(QStringLiteral("a.ini"));
        const QString b = m_dir->filePath(QStringLiteral("b.ini"));
        QVERIFY(KOVTest::writeEncoded(a, QStringLiteral("[itemInfo]\ntype=1\n[ElectricLeak]\nfaultSite=刀闸\nvoltage=10\nelecUnit=kV\ndistance=3\n")));
        QVERIFY(KOVTest::writeEncoded(b, QStringLiteral("[itemInfo]\ntype=0\n[GasLeak]\nfaultSite=阀门\n")));
        KOVGetItemLabelInfo label;
        QVERIFY(label.readItemCfgInfo(a));
        QCOMPARE(label.m_voltage, QStringLiteral("10"));
        QVERIFY(label.readItemCfgInfo(b));
        QCOMPARE(QStringList({label.m_faultSite_gas, label.m_faultSite_elec, label.m_voltage, label.m_elecUnit,
                              label.m_distance}),
                 QStringList({"阀门", "/", "/", "", "/"}));
        // A missing file is a clean record too.
        QVERIFY(!label.readItemCfgInfo(m_dir->filePath(QStringLiteral("none.ini"))));
        QCOMPARE(label.m_labelType, -1);
        QCOMPARE(label.m_faultSite_gas, QStringLiteral("/"));
    }

    void saveCreatesFileAndRoundTrips_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("plain") << "item1";
        QTest::newRow("blanks and chinese") << "测试 项目 01";
        QTest::newRow("shell characters") << "a\"b';rm -rf x; $(touch pwned)`id`";
    }
    void saveCreatesFileAndRoundTrips()
    {
        QFETCH(QString, folder);
        QDir root(m_dir->path());
        QVERIFY(root.mkdir(folder));
        const QString dir = root.filePath(folder);
        const QStringList before = KOVTest::listTree(m_dir->path());

        KOVGetItemLabelInfo label;
        QVERIFY(!label.readItemCfgInfo(dir + QStringLiteral("/itemInfo.ini")));
        label.m_labelType = 0;
        label.m_faultSite_gas = QStringLiteral("压缩机出口, 法兰;左侧");
        label.m_gasType = QStringLiteral("氮气");
        label.m_airPressure = QStringLiteral("0.8");
        label.m_airUnit = QStringLiteral("MPa");
        QVERIFY(label.saveItemCfgInfo());

        QStringList after = KOVTest::listTree(m_dir->path());
        QStringList expected = before;
        expected << folder + QStringLiteral("/itemInfo.ini");
        expected.sort();
        after.sort();
        QCOMPARE(after, expected); // no stray file anywhere

        KOVGetItemLabelInfo back;
        QVERIFY(back.readItemCfgInfo(dir + QStringLiteral("/itemInfo.ini")));
        QCOMPARE(back.m_labelType, 0);
        QCOMPARE(QStringList({back.m_faultSite_gas, back.m_gasType, back.m_airPressure, back.m_airUnit, back.m_voltage}),
                 QStringList({label.m_faultSite_gas, "氮气", "0.8", "MPa", "/"}));
    }

    void saveWithoutReadFails()
    {
        KOVGetItemLabelInfo label;
        QVERIFY(!label.saveItemCfgInfo());
    }

    void usrInfoOnlyCompanyChanges()
    {
        const QString full = m_dir->filePath(QStringLiteral("full.ini"));
        const QString part = m_dir->filePath(QStringLiteral("part.ini"));
        QVERIFY(KOVTest::writeEncoded(full, QStringLiteral(
            "[TestInfo]\ncompany=华东电力, 检修部\nreportSN=R-001\ntester=张三\nsite=一号站\ndatetime=2026-12-01\n"
            "[DeviceInfo]\nmodel=AI-200\nversion=2.3.1\nsn=SN9\n")));
        QVERIFY(KOVTest::writeEncoded(part, QStringLiteral("[TestInfo]\ncompany=新公司\n")));
        KOVGetReportInfo r;
        QVERIFY(r.readUsrCfgInfo(full));
        QCOMPARE(QStringList({r.m_company, r.m_deviceSN}), QStringList({"华东电力, 检修部", "SN9"}));
        QVERIFY(r.readUsrCfgInfo(part));
        QCOMPARE(QStringList({r.m_company, r.m_tester, r.m_version}), QStringList({"新公司", "张三", "2.3.1"}));
        QVERIFY(!r.readUsrCfgInfo(m_dir->filePath(QStringLiteral("missing.ini"))));
        QCOMPARE(r.m_company, QStringLiteral("新公司"));
    }

private:
    QScopedPointer<QTemporaryDir> m_dir;
};

QTEST_MAIN(TestItemInfo)
#include "tst_iteminfo.moc"

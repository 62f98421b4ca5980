// User information and item label files, as the imager writes them (GBK,
// CR LF, unquoted values) and as we write them back; hostile INI files; our
// INI reader against QSettings.
#include "kovconfig.h"
#include "kovgetitemlabelinfo.h"
#include "kovgetreportinfo.h"
#include "kovinifile.h"
#include "kovtable.h"
#include "kovtestutil.h"

#include <QSettings>
#include <QSize>
#include <QTemporaryDir>

namespace {

// A QVariant stream of a list type claiming 0x40000000 elements after the
// type id 'G', as QSettings escapes it in a file.
const QByteArray kHostile = QByteArrayLiteral("@Variant(\\0\\0\\0G@\\0\\0\\0)");

QString hostileText()
{
    return QStringLiteral("@Variant(") + QString(3, QChar(0)) + QStringLiteral("G@") + QString(3, QChar(0))
           + QLatin1Char(')');
}

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

} // namespace


class TestItemInfo : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_dir.reset(new QTemporaryDir); }

    void labelTexts_data()
    {
        KOVTable::columns<QString, int, QStringList>({"ini", "type", "texts"}); // texts: gas fault site, air unit, electrical fault site
        QTest::newRow("gas with empty site")
            << "[itemInfo]\ntype=0\n[GasLeak]\nfaultSite=\nairPressure=0.6\nairUnit=\nairType=氮气\n" << 0 << QStringList{"/", "", "/"};
        QTest::newRow("comma and blank kept")
            << "[itemInfo]\ntype=1\n[ElectricLeak]\nfaultSite=变压器A相, 套管\nvoltage=110\nelecUnit=kV\n" << 1 << QStringList{"/", "", "变压器A相, 套管"};
        QTest::newRow("semicolon kept")
            << "[itemInfo]\ntype=1\n[ElectricLeak]\nfaultSite=母线;B相 接头\n" << 1 << QStringList{"/", "", "母线;B相 接头"};
        QTest::newRow("blanks around the equals sign")
            << "[itemInfo]\ntype = 1\n[ElectricLeak]\nfaultSite = a, b \n" << 1 << QStringList{"/", "", "a, b"};
        QTest::newRow("type text reads as 0") << "[itemInfo]\ntype=abc\n" << 0 << QStringList{"/", "", "/"};
        QTest::newRow("no type key") << "[GasLeak]\nairUnit=MPa\n" << -1 << QStringList{"/", "MPa", "/"};
    }
    void labelTexts()
    {
        QFETCH(QString, ini);
        const QString path = m_dir->filePath(QStringLiteral("itemInfo.ini"));
        QVERIFY(KOVTest::writeEncoded(path, ini));
        KOVGetItemLabelInfo label;
        QVERIFY(label.readItemCfgInfo(path));
        QTEST(label.m_labelType, "type");
        QTEST(QStringList({label.m_faultSite_gas, label.m_airUnit, label.m_faultSite_elec}), "texts");
    }

    // A folder name a shell would act on; a save without a read fails.
    void saveCreatesFileAndRoundTrips()
    {
        const QString folder = QStringLiteral("测试 a\"b';rm -rf x; $(touch pwned)`id`");
        QVERIFY(QDir(m_dir->path()).mkdir(folder));
        const QString path = m_dir->filePath(folder + QStringLiteral("/itemInfo.ini"));
        KOVGetItemLabelInfo label;
        QVERIFY(!label.saveItemCfgInfo());
        QVERIFY(!label.readItemCfgInfo(path));
        label.m_labelType = 0;
        label.m_faultSite_gas = QStringLiteral("压缩机出口, 法兰;左侧");
        label.m_gasType = QStringLiteral("氮气");
        label.m_airUnit = QStringLiteral("MPa");
        label.m_distance = QStringLiteral("12");
        QVERIFY(label.saveItemCfgInfo());
        QCOMPARE(KOVTest::listTree(m_dir->path()), QStringList({folder, folder + QStringLiteral("/itemInfo.ini")})); // no stray file
        KOVGetItemLabelInfo back;
        QVERIFY(back.readItemCfgInfo(path));
        QCOMPARE(QStringList({QString::number(back.m_labelType), back.m_faultSite_gas, back.m_gasType, back.m_airUnit, back.m_voltage, back.m_distance}),
                 QStringList({"0", label.m_faultSite_gas, "氮气", "MPa", "/", "12"}));
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
        QVERIFY(!r.readUsrCfgInfo(m_dir->filePath(QStringLiteral("missing.ini"))) && r.m_company == QStringLiteral("新公司"));
    }

    // INI files someone else wrote: a value QSettings would rebuild through
    // QDataStream ("@Variant(...)" with a huge element count crashes it) is
    // read as the text it is by every INI reader and survives our saves as
    // text, while the typed values QSettings writes into our settings file
    // still read.
    void typedValuesReadAsText_data()
    {
        KOVTable::columns<QByteArray, QString>({"value", "text"});
        QTest::newRow("variant with a huge count") << kHostile << hostileText();
        QTest::newRow("quoted variant") << "\"" + kHostile + "\"" << hostileText();
        QTest::newRow("variant spelt with escapes") << QByteArray("\\x40Variant(\\0\\0\\0G@\\0\\0\\0)") << hostileText();
        QTest::newRow("date time") << QByteArray("@DateTime(\\0\\0\\0\\x10\\xff\\xff)")
                                   << QStringLiteral("@DateTime(") + QString(3, QChar(0)) + QStringLiteral("\x10\xff\xff)");
        QTest::newRow("byte array") << QByteArray("@ByteArray(abc)") << QStringLiteral("@ByteArray(abc)");
        QTest::newRow("escaped at sign") << QByteArray("@@Variant(x)") << QStringLiteral("@Variant(x)");
        QTest::newRow("text with a NUL") << QByteArray("@String(a\\0b)") << QStringLiteral("a") + QChar(0) + 'b';
    }
    void typedValuesReadAsText()
    {
        QFETCH(QByteArray, value);
        QFETCH(QString, text);
        const QString usr = m_dir->filePath(QStringLiteral("usrInfo.ini"));
        QVERIFY(writeBytes(usr, "[TestInfo]\r\ncompany=" + value + "\r\ntester=Li\r\n"));
        KOVGetReportInfo report;
        QVERIFY(report.readUsrCfgInfo(usr));
        QCOMPARE(QStringList({report.m_company, report.m_tester}), QStringList({text, "Li"}));

        const QString item = m_dir->filePath(QStringLiteral("itemInfo.ini"));
        QVERIFY(writeBytes(item, "[itemInfo]\r\ntype=1\r\n[ElectricLeak]\r\nfaultSite=" + value + "\r\nvoltage="
                                     + value + "\r\n"));
        KOVGetItemLabelInfo label;
        QVERIFY(label.readItemCfgInfo(item));
        QCOMPARE(QStringList({label.m_faultSite_elec, label.m_voltage}), QStringList({text, text}));
    }

    // After our label save the hostile value is stored escaped as text, so
    // even QSettings reads the file safely, and the imager's keys stay.
    void labelSaveKeepsHostileValuesAsText()
    {
        const QString item = m_dir->filePath(QStringLiteral("itemInfo.ini"));
        QVERIFY(writeBytes(item, "[itemInfo]\r\ntype=" + kHostile + "\r\n[GasLeak]\r\nfaultSite=" + kHostile
                                     + "\r\n[Device]\r\nsn=" + kHostile + "\r\nnote=A, B\r\n"));
        KOVGetItemLabelInfo label;
        QVERIFY(label.readItemCfgInfo(item));
        QCOMPARE(label.m_labelType, 0);
        label.m_airUnit = QStringLiteral("MPa");
        QVERIFY(label.saveItemCfgInfo());
        QVERIFY(!KOVTest::readAll(item).contains("\n" "sn=@Variant"));

        QSettings qt(item, QSettings::IniFormat);
        QCOMPARE(qt.value(QStringLiteral("Device/sn")).toString(), hostileText());
        QCOMPARE(qt.value(QStringLiteral("GasLeak/faultSite")).toString(), hostileText());
        QCOMPARE(qt.value(QStringLiteral("Device/note")).toStringList(), QStringList({"A", "B"}));
        KOVGetItemLabelInfo again;
        QVERIFY(again.readItemCfgInfo(item));
        QCOMPARE(QStringList({again.m_faultSite_gas, again.m_airUnit}), QStringList({hostileText(), "MPa"}));
    }

    // The settings file: hostile values read as text and survive a save as
    // text; what QSettings itself wrote there reads back with its type.
    void settingsFile()
    {
        QVERIFY(QDir::setCurrent(m_dir->path()));
        QVERIFY(QDir().mkpath(QStringLiteral("cfg")));
        {
            QSettings qt(KOVConfig::cfgPath(), QSettings::IniFormat);
            qt.setValue(QStringLiteral("Window/size"), QSize(1300, 800));
            qt.setValue(QStringLiteral("Window/state"), QByteArray("\x00\x01\xff)", 4));
            qt.setValue(QStringLiteral("Window/rect"), QRect(1, 2, 3, 4));
            qt.setValue(QStringLiteral("Window/at"), QStringLiteral("@home"));
            qt.setValue(QStringLiteral("Window/list"), QStringList({"a", "b, c"}));
            qt.setValue(QStringLiteral("MainwindowSize/width"), 1500);
        }
        QFile f(KOVConfig::cfgPath());
        QVERIFY(f.open(QIODevice::Append));
        f.write("[Report_Info]\ncompany=" + kHostile + "\n[OEM_Info]\ntitle_en=" + kHostile + "\n");
        f.close();

        KOVConfig cfg;
        QCOMPARE(QStringList({cfg.m_company, cfg.m_appTitle_en}), QStringList({hostileText(), hostileText()}));
        QCOMPARE(cfg.m_mainwindow_width, 1500);
        cfg.m_tester = QStringLiteral("王");
        QCOMPARE(cfg.saveCfg(), 0);

        KOVIniFile ini;
        QVERIFY(ini.load(KOVConfig::cfgPath(), nullptr, KOVIniFile::PlainQtTypes));
        const QStringList keys{"Window/size", "Window/state", "Window/rect", "/Window//at/", "Window/list",
                               "OEM_Info/title_en", "Report_Info/tester"};
        const QVariantList values{QSize(1300, 800), QByteArray("\x00\x01\xff)", 4), QRect(1, 2, 3, 4),
                                  QStringLiteral("@home"), QStringList({"a", "b, c"}), hostileText(),
                                  QStringLiteral("王")};
        for (int i = 0; i < keys.size(); ++i)
            QCOMPARE(ini.value(keys[i]), values[i]);
        // Only our own typed values are typed: the imager's files are text.
        QVERIFY(ini.load(KOVConfig::cfgPath(), nullptr, KOVIniFile::TextOnly));
        QCOMPARE(ini.value(QStringLiteral("Window/size")), QVariant(QStringLiteral("@Size(1300 800)")));
        KOVConfig again;
        QCOMPARE(QStringList({again.m_company, again.m_tester}), QStringList({hostileText(), "王"}));
    }

    // A save keeps what the settings read: an entry no reader finds stays
    // unfound, and never overrides the one that is read.
    void saveKeepsWhatWasRead_data()
    {
        KOVTable::columns<QByteArray, QString>({"file", "title"});
        QTest::newRow("section written with a slash") << QByteArray("[OEM_Info/]\ntitle_en=hidden\n") << QString();
        QTest::newRow("hidden key beside the read one")
            << QByteArray("[OEM_Info]\ntitle_en=shown\n[OEM_Info/]\ntitle_en=hidden\n") << QStringLiteral("shown");
    }
    void saveKeepsWhatWasRead()
    {
        QFETCH(QByteArray, file);
        QVERIFY(QDir::setCurrent(m_dir->path()));
        QVERIFY(QDir().mkpath(QStringLiteral("cfg")));
        QVERIFY(writeBytes(KOVConfig::cfgPath(), file));
        KOVConfig before;
        QTEST(before.m_appTitle_en, "title");
        QCOMPARE(before.saveCfg(), 0);
        KOVConfig after;
        QTEST(after.m_appTitle_en, "title");
    }

    // The grammar corners where a reader of our own could drift from what
    // QSettings reads: each row is read by both and must agree.
    void readsAsQSettings_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("quotes, escapes, lists") << QByteArray("[g]\nq=\"a, b\" ; c\nl= x , y ,\"z \"\ne=a\\tb\\\"\\\\\n");
        QTest::newRow("line join and quoted line end") << QByteArray("[g]\nj=ab\\\ncd\nm=\"one\ntwo\"\n");
        QTest::newRow("semicolon ends a value") << QByteArray("[g]\nv=A;B\n;k=1\n");
        QTest::newRow("duplicate key, last wins") << QByteArray("[g]\nk=1\n[h]\nx=0\n[g]\nk=2\n");
        QTest::newRow("percent keys and general") << QByteArray("a%20b=1\n[General]\nc=2\n[%U4e2d]\nd=%-5\n");
        QTest::newRow("byte order mark before a key") << QByteArray("\xef\xbb\xbfk=v\n");
        QTest::newRow("byte order mark means UTF-8") << QByteArray("\xef\xbb\xbf[g]\nt=\xe4\xb8\xad\xb2\n");
        QTest::newRow("vertical tab is no blank") << QByteArray("[g]\n\vk=1\n\fj=2\n");
        QTest::newRow("empty and missing value") << QByteArray("[g]\nempty=\nnone\n=orphan\n");
        QTest::newRow("GBK text") << QByteArray("[g]\nt=\xb2\xe2\xca\xd4, \xd6\xd0\n");
    }
    void readsAsQSettings()
    {
        QFETCH(QByteArray, file);
        for (const char* codec : {static_cast<const char*>(nullptr), "GBK"}) {
            // A file of its own per codec: QSettings keeps what it parsed by file name.
            const QString path = m_dir->filePath(QStringLiteral("g%1.ini").arg(codec ? 1 : 0));
            QVERIFY(writeBytes(path, file));
            KOVIniFile ours;
            QVERIFY(ours.load(path, codec, KOVIniFile::PlainQtTypes));
            QSettings qt(path, QSettings::IniFormat);
            if (codec)
                qt.setIniCodec(codec);
            QStringList keys = qt.allKeys();
            keys.sort();
            QStringList mine = ours.keys();
            mine.removeAll(QString());
            mine.sort();
            QCOMPARE(mine, keys);
            for (const QString& k : keys)
                QCOMPARE(ours.value(k), qt.value(k));
        }
    }

private:
    QScopedPointer<QTemporaryDir> m_dir;
};

QTEST_MAIN(TestItemInfo)
#include "tst_iteminfo.moc"

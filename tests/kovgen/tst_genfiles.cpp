// The generator's INI files and info.dat, checked against the rules readers
// apply to the imager's files.
#include "kovgen.h"
#include "kovgetitemlabelinfo.h"
#include "kovgetreportinfo.h"
#include "kovtestutil.h"

#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>

using namespace KOVGen;

namespace {

bool allLinesEndCrLf(const QByteArray& b)
{
    if (b.isEmpty() || !b.endsWith("\r\n"))
        return false;
    for (int i = 0; i < b.size(); ++i)
        if (b[i] == '\n' && (i == 0 || b[i - 1] != '\r'))
            return false;
    return true;
}

} // namespace

class TestGenFiles : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        QVERIFY(m_dir->isValid());
    }

    void usrInfoIsGbkWithCrLf()
    {
        const QString path = m_dir->filePath(QStringLiteral("usrInfo.ini"));
        UsrInfo u = demoUsrInfo(3);
        u.company = QStringLiteral("华东电力, 检测;二部");
        u.site = QStringLiteral("1号变电站 110kV区");
        QVERIFY(writeUsrInfo(path, u));
        const QByteArray bytes = KOVTest::readAll(path);
        QVERIFY(allLinesEndCrLf(bytes));
        // GBK, not UTF-8: the UTF-8 bytes of the company must not be there.
        QVERIFY(!bytes.contains(u.company.toUtf8()));
        QVERIFY(bytes.contains(QTextCodec::codecForName("GBK")->fromUnicode(u.company)));
        QVERIFY(!bytes.contains('"'));

        KOVGetReportInfo r;
        QVERIFY(r.readUsrCfgInfo(path));
        QCOMPARE(r.m_company, u.company);
        QCOMPARE(r.m_site, u.site);
        QCOMPARE(r.m_reportSN, u.reportSN);
        QCOMPARE(r.m_tester, u.tester);
        QCOMPARE(r.m_dateTime, u.datetime);
        QCOMPARE(r.m_model, u.model);
        QCOMPARE(r.m_version, u.version);
        QCOMPARE(r.m_deviceSN, u.sn);
    }

    void itemLabels_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("site");
        QTest::newRow("gas, comma in site") << 0 << QStringLiteral("阀门接口, 3号管线");
        QTest::newRow("gas, semicolon in site") << 0 << QStringLiteral("储气罐;出口法兰");
        QTest::newRow("electrical, comma and blank") << 1 << QStringLiteral("变压器A相, 套管");
        QTest::newRow("electrical, semicolon") << 1 << QStringLiteral("母线;B相 接头");
    }
    void itemLabels()
    {
        QFETCH(int, type);
        QFETCH(QString, site);
        ItemLabel l = type == 0 ? gasLabel(7) : electricalLabel(7);
        (type == 0 ? l.faultSite : l.faultSiteElec) = site;
        const QString path = m_dir->filePath(QStringLiteral("itemInfo.ini"));
        QVERIFY(writeItemInfo(path, l));
        QVERIFY(allLinesEndCrLf(KOVTest::readAll(path)));
        KOVGetItemLabelInfo r;
        QVERIFY(r.readItemCfgInfo(path));
        QCOMPARE(r.m_labelType, type);
        if (type == 0) {
            QCOMPARE(r.m_faultSite_gas, site);
            QCOMPARE(r.m_airPressure, l.airPressure);
            QCOMPARE(r.m_airUnit, l.airUnit);
            QCOMPARE(r.m_gasType, l.airType);
        } else {
            QCOMPARE(r.m_faultSite_elec, site);
            QCOMPARE(r.m_voltage, l.voltage);
            QCOMPARE(r.m_elecUnit, l.elecUnit);
            QCOMPARE(r.m_distance, l.distance);
        }
    }

    void customKeySetAndLineEnds()
    {
        const QString path = m_dir->filePath(QStringLiteral("custom.ini"));
        QVERIFY(writeIni(path, {{QStringLiteral("GasLeak"), {{QStringLiteral("airUnit"), QStringLiteral("kPa")}}}},
                         "UTF-8", LineEnd::LF));
        QCOMPARE(KOVTest::readAll(path), QByteArray("[GasLeak]\nairUnit=kPa\n"));
        QVERIFY(!writeIni(path, {}, "no-such-codec"));
        QVERIFY(!writeIni(m_dir->filePath(QStringLiteral("missing/x.ini")), {}));
    }

    // Every format, clean and with each deliberate fault: the structure a
    // reader expects, CRLF line ends, the field counts of each frame line.
    void infoDatStructure_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("faults");
        QTest::addColumn<int>("frames");
        QTest::addColumn<int>("accepted");
        for (int f : {2, 11, 12, 13}) {
            const QByteArray n = QByteArray::number(f);
            QTest::newRow("format " + n + " clean") << f << int(NoFault) << 5 << 5;
            QTest::newRow("format " + n + " one frame") << f << int(NoFault) << 1 << 1;
            QTest::newRow("format " + n + " no frames") << f << int(NoFault) << 0 << 0;
            QTest::newRow("format " + n + " short line") << f << int(WrongFieldCount) << 4 << 4;
            QTest::newRow("format " + n + " blank line") << f << int(BlankLineInside) << 4 << 4;
            QTest::newRow("format " + n + " text in number") << f << int(NonNumericField) << 4 << 5;
            QTest::newRow("format " + n + " repeated title") << f << int(RepeatedTitle) << 4 << 4;
        }
        QTest::newRow("format 13 every fault") << 13 << int(WrongFieldCount | RepeatedTitle | NonNumericField |
                                                             BlankLineInside)
                                               << 3 << 4;
        QTest::newRow("unknown format 14") << 14 << int(NoFault) << 3 << 0;
    }
    void infoDatStructure()
    {
        QFETCH(int, format);
        QFETCH(int, faults);
        QFETCH(int, frames);
        QFETCH(int, accepted);
        InfoDatOptions o;
        o.format = format;
        o.faults = faults;
        o.frames = frames;
        o.baseTime = QDateTime(QDate(2023, 12, 31), QTime(23, 59, 58, 120));
        const QString path = m_dir->filePath(QStringLiteral("info.dat"));
        QCOMPARE(writeInfoDat(path, o), accepted);
        const QByteArray bytes = KOVTest::readAll(path);
        QVERIFY(allLinesEndCrLf(bytes));
        QStringList lines = QString::fromLatin1(bytes).split(QStringLiteral("\r\n"));
        QCOMPARE(lines.takeLast(), QString()); // after the final line end

        // Headline: base time first, the format number after the last colon of
        // the last blank- (format 2) or tab-separated field.
        const QString head = lines.takeFirst();
        QVERIFY(head.toLower().contains(QLatin1String("headline")));
        const QChar sep = format == 2 ? QLatin1Char(' ') : QLatin1Char('\t');
        if (format != 2)
            QVERIFY(!head.contains(QLatin1Char(' ')));
        QCOMPARE(head.split(sep).first(), QStringLiteral("20231231235958.120"));
        QCOMPARE(head.split(sep).last().section(QLatin1Char(':'), -1).toInt(), format);

        const int device = format >= 11 ? 9 : 0;
        for (int i = 0; i < device; ++i)
            QVERIFY2(lines[i].contains(QLatin1Char(':')), qPrintable(lines[i]));
        int at = device;
        if (format >= 12)
            QCOMPARE(lines[at++], QStringLiteral("PDDLength:240"));
        if (format >= 13)
            QCOMPARE(lines[at++].section(QLatin1Char(':'), -1), QStringLiteral("350"));
        const int fields = format == 2 ? 9 : format == 13 ? 12 : 8;
        QVERIFY(lines[at].startsWith(QLatin1String("seqNumber\t")));
        if (format != 14)
            QCOMPARE(lines[at].split(QLatin1Char('\t')).size(), fields);
        ++at;
        int good = 0;
        int seq = 0;
        for (; at < lines.size(); ++at) {
            const QStringList f = lines[at].split(QLatin1Char('\t'));
            if (lines[at].isEmpty() || f.size() != fields || f[0] == QLatin1String("seqNumber"))
                continue;
            ++good;
            if (f[3] != QLatin1String("n/a"))
                QCOMPARE(f[0].toInt(), ++seq);
        }
        if (format != 14)
            QCOMPARE(good, accepted);
    }

    void infoDatOptionalLines()
    {
        InfoDatOptions o;
        o.format = 13;
        o.frames = 2;
        o.pddLen = 200;
        o.leakPressureKPa = 425;
        o.lineEnd = LineEnd::LF;
        QString text = QString::fromLatin1(infoDatBytes(o));
        QVERIFY(!text.contains(QLatin1Char('\r')));
        QVERIFY(text.contains(QLatin1String("\nPDDLength:200\n")));
        QVERIFY(text.contains(QLatin1String(":425\n")));
        // Without the device lines a reader takes the next nine lines for them
        // and finds no title: nothing is accepted.
        o.deviceLines = false;
        int accepted = -1;
        infoDatBytes(o, &accepted);
        QCOMPARE(accepted, 0);
        o.deviceLines = true;
        o.leakPressureLine = false;
        text = QString::fromLatin1(infoDatBytes(o, &accepted));
        QVERIFY(!text.contains(QLatin1String("LeakPressure")));
        QCOMPARE(accepted, 1); // the title went for the missing line, frame 1 for the title
    }

    void infoDatUsesGivenValues()
    {
        Frame f;
        f.seq = 7;
        f.maxSPL = 90.5;
        f.x = 705;
        f.y = 58;
        f.leakRate = 120;
        InfoDatOptions o;
        o.values = {f};
        const QStringList lines = QString::fromLatin1(infoDatBytes(o)).split(QStringLiteral("\r\n"));
        const QStringList last = lines[lines.size() - 2].split(QLatin1Char('\t'));
        QCOMPARE(last.size(), 12);
        QCOMPARE(last[0], QStringLiteral("7"));
        QCOMPARE(last[4], QStringLiteral("90.5"));
        QCOMPARE(last[5], QStringLiteral("705"));
        QCOMPARE(last[11], QStringLiteral("120.0"));
        QVERIFY(writeInfoDat(m_dir->filePath(QStringLiteral("no/such/dir/info.dat")), o) < 0);
    }

    void framesAreSeededAndPlausible()
    {
        const QVector<Frame> a = makeFrames(11, 200);
        const QVector<Frame> b = makeFrames(11, 200);
        const QVector<Frame> c = makeFrames(12, 200);
        QCOMPARE(a.size(), 200);
        QVERIFY(makeFrames(1, 0).isEmpty());
        QVERIFY(makeFrames(1, -3).isEmpty());
        bool differs = false;
        for (int i = 0; i < a.size(); ++i) {
            QCOMPARE(a[i].maxSPL, b[i].maxSPL);
            QCOMPARE(a[i].x, b[i].x);
            differs = differs || a[i].maxSPL != c[i].maxSPL;
            QCOMPARE(a[i].seq, i + 1);
            QVERIFY(a[i].maxSPL >= 20 && a[i].maxSPL < 100); // readings keep the "NN.NdB" shape
            QVERIFY(a[i].x >= 0 && a[i].x < kFrameWidth && a[i].y >= 0 && a[i].y < kFrameHeight);
            QVERIFY(a[i].freqBandLow < a[i].freqBandHigh);
        }
        QVERIFY(differs);
        QCOMPARE(readingText(45.2), QStringLiteral("45.2dB"));
        QCOMPARE(readingText(90.0), QStringLiteral("90.0dB"));
    }

private:
    QScopedPointer<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(TestGenFiles)
#include "tst_genfiles.moc"

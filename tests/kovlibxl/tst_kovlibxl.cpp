// The report writer driven as the export drives it, with records built here
// and pictures drawn here; results read back by openpyxl.
#include "kovlibxl.h"
#include "kovtestutil.h"
#include "kovxlsxbook.h"
#include "writerfixture.h"
#include "xlsxtesthelp.h"

#include <QJsonArray>
#include <QRegularExpression>
#include <QTranslator>
#include <QtTest>

using namespace KOVXlsxTest;
using namespace KOVWriterFixture;

namespace {

QStringList g_messages;
void capture(QtMsgType, const QMessageLogContext&, const QString& msg) { g_messages << msg; }

using Cells = QMap<QString, QString>; // "A7" -> text; a null text means untouched (absent)

QString cellOf(const QJsonObject& sheet, const QString& ref)
{
    const QJsonValue v = sheet.value("cells").toObject().value(ref);
    return v.isUndefined() ? QString() : v.toString();
}

QString expectedSummary(int reportType, const KOVTestPointInfo& tp, int k, int language)
{
    const QString n = QString::number(k);
    if (reportType == 0)
        return language == 0 ? QStringLiteral("   –   测试故障点（") + n + QStringLiteral("）为") + tp.gasType + QStringLiteral("泄漏，运行状态判定为") + tp.faultLevel
                             : QStringLiteral("   –   Test Fault Point (") + n + QStringLiteral(") is ") + tp.gasType + QStringLiteral(" leakage, the running state is ") + tp.faultLevel;
    const QString kind = tp.labelType == 1 && !tp.prpdTypeList.isEmpty() ? tp.prpdTypeList.first() : QString();
    return language == 0 ? QStringLiteral("   –   测试故障点（") + n + QStringLiteral("）为") + kind + QStringLiteral("，运行状态判定为") + tp.faultLevel
                         : QStringLiteral("   –   Test Fault Point (") + n + QStringLiteral(") is ") + kind + QStringLiteral(", the running state is ") + tp.faultLevel;
}

QString templateName(int type, int language)
{
    return QStringLiteral("template_%1_%2").arg(type == 0 ? "gas" : "elec", language == 0 ? "ch" : "en");
}

} // namespace

Q_DECLARE_METATYPE(KOVTestPointInfo)
Q_DECLARE_METATYPE(Cells)

class TestKovLibxl : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(installTemplates(QDir::currentPath()));
        QDir().mkpath(QStringLiteral("pictures"));
        QDir().mkpath(QStringLiteral("out"));
        QVERIFY(makePicture(kFrame, 1024, 600, "JPEG"));
        QVERIFY(makePicture(kPattern, 530, 220, "PNG", QColor(200, 60, 40)));
        QVERIFY(m_english.load(binaryDir() + QStringLiteral("/KOVReportExport/style/font/Translate_EN.qm")));
        QVERIFY(m_chinese.load(binaryDir() + QStringLiteral("/KOVReportExport/style/font/Translate_CH.qm")));
    }

    void init()
    {
        g_messages.clear();
        qInstallMessageHandler(capture);
    }

    void cleanup()
    {
        qInstallMessageHandler(nullptr);
        QCoreApplication::removeTranslator(&m_english);
        QCoreApplication::removeTranslator(&m_chinese);
        installTemplates(QDir::currentPath());
    }

    void create_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("copyStays");
        const QString empty = QStringLiteral("excelName is empty,or no testPointCnt.");
        QTest::newRow("null name") << "" << QString() << 1 << empty << false;
        QTest::newRow("no test point") << "" << "out/a.xlsx" << 0 << empty << false;
        QTest::newRow("target is a directory") << "dir" << "out/taken.xlsx" << 1 << QStringLiteral("该文件被占用,请手动删除后重试.") << false;
        QTest::newRow("template missing") << "missing" << "out/a.xlsx" << 1 << QStringLiteral("copy failed, please check template file.") << false;
        QTest::newRow("template not a workbook") << "garbage" << "out/a.xlsx" << 1 << QStringLiteral("load error = ") << true;
        QTest::newRow("template with one sheet") << "onesheet" << "out/a.xlsx" << 3 << QStringLiteral("template lacks") << true;
        // No message: the workbook is made, writable, and takes the record.
        QTest::newRow("target exists already") << "exists" << "out/a.xlsx" << 1 << QString() << true;
        QTest::newRow("template is read-only") << "readonly" << "out/a.xlsx" << 1 << QString() << true;
    }
    void create()
    {
        QFETCH(QString, setup);
        QFETCH(QString, name);
        QFETCH(int, count);
        QFETCH(QString, message);
        const QString tpl = QStringLiteral("cfg/template_gas_ch");
        QFile::remove(QStringLiteral("out/a.xlsx"));
        if (setup == QLatin1String("dir")) {
            QVERIFY(QDir().mkpath(name + QStringLiteral("/inner")));
        } else if (setup == QLatin1String("missing")) {
            QVERIFY(QFile::remove(tpl));
        } else if (setup == QLatin1String("exists")) {
            QVERIFY(KOVTest::writeEncoded(name, QStringLiteral("an old file"), "UTF-8"));
        } else if (setup == QLatin1String("readonly")) {
            QVERIFY(QFile::setPermissions(tpl, QFile::ReadOwner | QFile::ReadGroup));
        } else if (setup == QLatin1String("garbage")) {
            QVERIFY(QFile::remove(tpl));
            QVERIFY(KOVTest::writeEncoded(tpl, QStringLiteral("not a workbook"), "UTF-8"));
        } else if (setup == QLatin1String("onesheet")) {
            // The template's workbook part without its second sheet.
            KOVXlsxPackage pkg;
            QVERIFY(pkg.read(tpl));
            QByteArray wb = pkg.part(QStringLiteral("xl/workbook.xml"));
            const int at = wb.indexOf("<sheet name=", wb.indexOf("sheetId=\"1\""));
            QVERIFY(at > 0);
            wb.remove(at, wb.indexOf("/>", at) + 2 - at);
            pkg.setPart(QStringLiteral("xl/workbook.xml"), wb);
            QVERIFY(QFile::remove(tpl));
            QVERIFY(pkg.write(tpl));
        }
        KOVLibxl writer;
        QCOMPARE(writer.CreateExcel(name, 0, count, 0), message.isEmpty());
        QVERIFY(!g_messages.isEmpty());
        QVERIFY(g_messages.first().startsWith(QStringLiteral("CreateExcel = ")));
        if (message.isEmpty()) {
            QVERIFY(QFileInfo(name).permissions() & QFile::WriteOwner);
            QVERIFY(writer.WriteHomePage(report(0, {photoPoint(1)}), writer.GetSheet(0)));
            QVERIFY(writer.SaveExcel());
            KOVXlsxBook book;
            QVERIFY(book.load(name));
            QCOMPARE(book.sheet(0)->readStr(20, 0), QStringLiteral("华东能源有限公司"));
            return;
        }
        QVERIFY2(g_messages.last().startsWith(message), qPrintable(g_messages.join('|')));
        if (setup == QLatin1String("dir"))
            QVERIFY(QFileInfo(name + QStringLiteral("/inner")).isDir());
        else if (!name.isEmpty())
            QTEST(QFile::exists(name), "copyStays");
        // Nothing may write through a writer whose workbook is not ready.
        QVERIFY(!writer.GetSheet(1) || setup == QLatin1String("onesheet"));
        QDir(QStringLiteral("out/taken.xlsx")).removeRecursively();
    }

    void homePage_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("count");
        QTest::newRow("gas, one point") << 0 << 0 << 1 << 1;
        QTest::newRow("gas, twelve points") << 0 << 0 << 12 << 12;
        QTest::newRow("electrical, English, three points") << 1 << 1 << 3 << 3;
        QTest::newRow("count larger than the list") << 0 << 0 << 2 << 3;
    }
    void homePage()
    {
        QFETCH(int, type);
        QFETCH(int, language);
        QFETCH(int, points);
        QFETCH(int, count);
        useLanguage(language);
        QList<KOVTestPointInfo> list;
        for (int k = 1; k <= points; ++k)
            list << (type == 0 ? (k % 2 ? photoPoint(k) : videoPoint(k, true, k % 4 == 0)) : elecPoint(k));
        const KOVReportInfo info = report(type, list);
        const QString out = QStringLiteral("out/home.xlsx");
        QVERIFY(exportReport(info, language, out, count));

        QString error;
        const QJsonObject tpl = inspect(templatePath(templateName(type, language)), &error);
        const QJsonObject r = inspect(out, &error);
        QVERIFY2(!r.isEmpty(), qPrintable(error));
        QCOMPARE(r.value("structure").toArray(), QJsonArray());
        const QJsonArray sheets = r.value("sheets").toArray();
        const QJsonObject tplHome = tpl.value("sheets").toArray().at(0).toObject();
        const QJsonObject tplPoint = tpl.value("sheets").toArray().at(1).toObject();
        QCOMPARE(sheets.size(), count + 1);

        const QJsonObject home = sheets.at(0).toObject();
        QCOMPARE(home.value("name"), tplHome.value("name"));
        QCOMPARE(cellOf(home, "A21"), info.company);
        QCOMPARE(cellOf(home, "A30"), info.deviceModel + cellOf(tplHome, "A30"));
        QCOMPARE(cellOf(home, "A32"), cellOf(tplHome, "A32") + info.reportSN);
        const QStringList table{info.company, info.site, info.datetime, info.deviceModel, info.deviceSN, info.deviceVersion, info.tester};
        for (int i = 0; i < 7; ++i)
            QCOMPARE(cellOf(home, QStringLiteral("E%1").arg(54 + i)), table[i]);
        const QString countLine = language == 0
            ? (type == 0 ? QStringLiteral("本次检测泄漏点有 ") : QStringLiteral("本次检测局放点有 ")) + QString::number(count) + QStringLiteral(" 处：")
            : QStringLiteral("There are ") + QString::number(count) + QStringLiteral(" fault points detected this time：");
        QCOMPARE(cellOf(home, "B71"), countLine);
        for (int k = 1; k <= 11; ++k) {
            const QString ref = QStringLiteral("B%1").arg(71 + k);
            if (k <= 10 && k <= count && k <= points)
                QCOMPARE(cellOf(home, ref), expectedSummary(type, list.at(k - 1), k, language));
            else
                QCOMPARE(cellOf(home, ref), cellOf(tplHome, ref)); // B82 keeps the template's note
        }
        QCOMPARE(home.value("styles"), tplHome.value("styles"));

        for (int i = 1; i <= count; ++i) {
            const QJsonObject s = sheets.at(i).toObject();
            const QString n = QString::number(i);
            if (i == 1) {
                QCOMPARE(s.value("name"), tplPoint.value("name"));
                QCOMPARE(cellOf(s, "A1"), cellOf(tplPoint, "A1"));
            } else {
                QCOMPARE(s.value("name").toString(), language == 0 ? QStringLiteral("测试故障点(") + n + ")" : QStringLiteral("Test Fault Point (") + n + ")");
                QCOMPARE(cellOf(s, "A1"), language == 0 ? QStringLiteral("测试故障点（") + n + QStringLiteral("）记录") : QStringLiteral("Test Fault Point (") + n + ") Record");
            }
            // A sheet without a record stays blank.
            QCOMPARE(cellOf(s, "G7"), i <= points ? list.at(i - 1).faultLevel : QString());
        }
    }

    void pointSheet_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<KOVTestPointInfo>("tp");
        QTest::addColumn<bool>("result");
        QTest::addColumn<Cells>("cells");
        QTest::addColumn<int>("pictures");
        QTest::addColumn<QString>("message");
        const QString none;
        const KOVTestPointInfo photo = photoPoint(1);
        const Cells gasCells{{"A7", "阀门 1"}, {"D7", "压缩空气"}, {"D10", "0.6MPa"}, {"G7", "一般"}, {"G10", "建议 1 周内复查"},
                             {"A10", "41.5dB"}, {"G13", "1.25"}, {"D13", "3.0"}, {"A13", "1234.56 ¥/年"}, {"A14", none}};
        QTest::newRow("gas photo with leak data") << 0 << photo << true << gasCells << 1 << none;

        KOVTestPointInfo noLeak = photo;
        noLeak.leakageData = false;
        Cells noLeakCells = gasCells;
        noLeakCells["G13"] = noLeakCells["D13"] = noLeakCells["A13"] = none;
        QTest::newRow("gas photo without leak data") << 0 << noLeak << true << noLeakCells << 1 << none;

        QTest::newRow("video, locked frame and pattern") << 0 << videoPoint(1, true, true) << true << gasCells << 2 << none;
        QTest::newRow("video, locked frame, no pattern") << 0 << videoPoint(1, true, false) << true << gasCells << 1 << none;

        Cells unlocked = gasCells;
        unlocked["A10"] = unlocked["G13"] = unlocked["D13"] = unlocked["A13"] = none;
        unlocked["A14"] = QStringLiteral("未锁定图片！");
        QTest::newRow("video without locked frame") << 0 << videoPoint(1, false, true) << true << unlocked << 0 << none;

        KOVTestPointInfo nullItem = photo;
        nullItem.type = ItemType::null;
        Cells untouched;
        for (const QString& k : gasCells.keys())
            untouched[k] = none;
        QTest::newRow("item of type null") << 0 << nullItem << false << untouched << 0 << none;

        KOVTestPointInfo elec0 = elecPoint(1);
        elec0.labelType = 0;
        const Cells elecCells{{"A7", "开关柜 1"}, {"D7", "15m"}, {"D10", "10kV"}, {"G7", "严重"}, {"A10", "41.5dB"}, {"G13", none}};
        QTest::newRow("electrical, label type 0") << 1 << elec0 << true << elecCells << 2 << none;

        KOVTestPointInfo noDistance = elecPoint(1);
        noDistance.distance.clear();
        Cells noDistanceCells = elecCells;
        noDistanceCells["D7"] = QStringLiteral("m");
        QTest::newRow("electrical, empty distance") << 1 << noDistance << true << noDistanceCells << 2 << none;

        KOVTestPointInfo noPattern = elecPoint(1);
        noPattern.prpdTypeList.clear();
        QTest::newRow("electrical, no pattern type") << 1 << noPattern << true << elecCells << 2 << none;

        KOVTestPointInfo missing = photo;
        missing.photoImgPath = QStringLiteral("pictures/none.jpg");
        QTest::newRow("missing picture file") << 0 << missing << true << gasCells << 0 << QStringLiteral("add pic = ");

        KOVTestPointInfo emptyLists = videoPoint(1, true, true);
        emptyLists.imgInfoList.clear();
        emptyLists.videoImgPathList.clear();
        emptyLists.pddImgPathList.clear();
        Cells emptyListCells = gasCells;
        emptyListCells["A10"] = none;
        QTest::newRow("locked frame with empty lists") << 0 << emptyLists << true << emptyListCells << 0 << none;

        Cells neither = gasCells;
        neither["A7"] = neither["D7"] = neither["D10"] = none;
        QTest::newRow("report type 2 writes no label block") << 2 << photo << true << neither << 1 << none;
    }
    void pointSheet()
    {
        QFETCH(int, type);
        QFETCH(KOVTestPointInfo, tp);
        QFETCH(Cells, cells);
        QFETCH(int, pictures);
        QFETCH(QString, message);
        useLanguage(0);
        const QString out = QStringLiteral("out/point.xlsx");
        const KOVReportInfo info = report(type, {tp});
        {
            KOVLibxl writer;
            QVERIFY(writer.CreateExcel(out, type, 1, 0));
            QVERIFY(writer.WriteHomePage(info, writer.GetSheet(0)));
            QTEST(writer.WritePoinInfo(tp, writer.GetSheet(1), type), "result");
            QVERIFY(writer.SaveExcel());
        }
        if (!message.isEmpty())
            QVERIFY2(g_messages.filter(message).size() == 1, qPrintable(g_messages.join('|')));
        QString error;
        const QJsonObject r = inspect(out, &error);
        QVERIFY2(!r.isEmpty(), qPrintable(error));
        QCOMPARE(r.value("structure").toArray(), QJsonArray());
        const QJsonObject home = r.value("sheets").toArray().at(0).toObject();
        const QJsonObject sheet = r.value("sheets").toArray().at(1).toObject();
        for (auto it = cells.cbegin(); it != cells.cend(); ++it)
            QVERIFY2(cellOf(sheet, it.key()) == it.value(), qPrintable(it.key() + ": " + cellOf(sheet, it.key())));
        QCOMPARE(cellOf(home, "B72"), expectedSummary(type == 0 ? 0 : 1, tp, 1, 0));
        const QJsonArray images = sheet.value("images").toArray();
        QCOMPARE(images.size(), pictures);
        // The frame at 40, 20 from A14, the pattern 400 pixels lower.
        if (pictures >= 1)
            QCOMPARE(images.at(0).toObject().value("from").toArray(), (QJsonArray{0, 40 * 9525, 14, 0}));
        if (pictures == 2) {
            QCOMPARE(images.at(1).toObject().value("from").toArray(), (QJsonArray{0, 85 * 9525, 33, 0}));
            QCOMPARE(images.at(1).toObject().value("w").toInt(), 530);
        }
    }

    void captions_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("a30");
        QTest::addColumn<QString>("a32");
        QTest::newRow("rich-text caption in the template") << "" << "KOV4420 声学成像仪 检测" << "报告编号：SN-2024-0042";
        QTest::newRow("empty caption cells") << "empty" << "KOV4420" << "SN-2024-0042";
        QTest::newRow("no caption cells at all") << "absent" << "KOV4420" << "SN-2024-0042";
    }
    void captions()
    {
        QFETCH(QString, edit);
        const QString tpl = QStringLiteral("cfg/template_gas_ch");
        if (!edit.isEmpty()) {
            KOVXlsxPackage pkg;
            QVERIFY(pkg.read(tpl));
            QString xml = QString::fromUtf8(pkg.part(QStringLiteral("xl/worksheets/sheet1.xml")));
            const QRegularExpression cell(QStringLiteral("<c r=\"(A30|A32)\"([^>]*) t=\"s\"><v>\\d+</v></c>"));
            QCOMPARE(xml.count(cell), 2);
            xml.replace(cell, edit == QLatin1String("empty") ? QStringLiteral("<c r=\"\\1\"\\2/>") : QString());
            pkg.setPart(QStringLiteral("xl/worksheets/sheet1.xml"), xml.toUtf8());
            QVERIFY(QFile::remove(tpl));
            QVERIFY(pkg.write(tpl));
        }
        const QString out = QStringLiteral("out/captions.xlsx");
        QVERIFY(exportReport(report(0, {photoPoint(1)}), 0, out));
        KOVXlsxBook book;
        QVERIFY(book.load(out));
        QTEST(book.sheet(0)->readStr(29, 0), "a30");
        QTEST(book.sheet(0)->readStr(31, 0), "a32");
    }

    void modelPictures()
    {
        const QString out = QStringLiteral("out/models.xlsx");
        KOVLibxl writer;
        QVERIFY(writer.CreateExcel(out, 0, 1, 0));
        writer.WriteImg_4410(writer.GetSheet(1));
        writer.WriteImg_4420(writer.GetSheet(1));
        writer.WriteImg_4430(writer.GetSheet(1));
        QVERIFY(QFile::remove(QStringLiteral("cfg/KOV44XX_Img/KOV4420.png")));
        writer.WriteImg_4420(writer.GetSheet(1));
        QCOMPARE(g_messages.filter(QStringLiteral("add pic = ")).size(), 1);
        QVERIFY(writer.SaveExcel());
        const QJsonArray images = inspect(out).value("sheets").toArray().at(1).toObject().value("images").toArray();
        QCOMPARE(images.size(), 3);
        // A13, 180, 160 and 150 pixels to the right: columns of 87 pixels.
        QCOMPARE(images.at(0).toObject().value("from").toArray(), (QJsonArray{2, 6 * 9525, 12, 0}));
        QCOMPARE(images.at(1).toObject().value("from").toArray(), (QJsonArray{1, 73 * 9525, 12, 0}));
        QCOMPARE(images.at(2).toObject().value("from").toArray(), (QJsonArray{1, 63 * 9525, 12, 0}));
        // 400 x 300 drawn, at 0.22: 88 x 66 pixels; row 13 is 32 pixels high, row 14 20.
        QCOMPARE(images.at(0).toObject().value("to").toArray(), (QJsonArray{3, 7 * 9525, 14, 14 * 9525}));
    }

    void missingSheets()
    {
        const KOVReportInfo info = report(0, {photoPoint(1), photoPoint(2)});
        KOVLibxl writer;
        QVERIFY(!writer.SaveExcel()); // nothing before CreateExcel
        QVERIFY(writer.CreateExcel(QStringLiteral("out/missing.xlsx"), 0, 2, 0));
        QVERIFY(!writer.GetSheet(-1));
        QVERIFY(!writer.GetSheet(3));
        QVERIFY(!writer.WriteHomePage(info, nullptr));
        QVERIFY(!writer.WritePoinInfo(info.pointInfoList.at(0), nullptr, 0));
        writer.WriteResult(info, nullptr);
        writer.WriteImg_4410(nullptr);
        QVERIFY(writer.SaveExcel());
    }

private:
    // The application installs the catalogue of its language; so do the tests.
    void useLanguage(int language)
    {
        QCoreApplication::removeTranslator(&m_english);
        QCoreApplication::removeTranslator(&m_chinese);
        QCoreApplication::installTranslator(language == 0 ? &m_chinese : &m_english);
    }

    QTranslator m_english;
    QTranslator m_chinese;
};

QTEST_MAIN(TestKovLibxl)
#include "tst_kovlibxl.moc"

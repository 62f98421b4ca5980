// The report writer driven as the export drives it, with records built here
// and pictures drawn here. Written workbooks are read back by openpyxl and
// held, where they differ from their template, to golden outputs; whole
// reports are converted by LibreOffice (PDF and CSV of every sheet, kept in
// <build>/tests/kovlibxl/pdf) and their pictures counted by pdfimages.
#include "kovlibxl.h"
#include "kovgolden.h"
#include "kovtable.h"
#include "kovtestutil.h"
#include "kovmediafixtures.h"
#include "kovxlsxbook.h"
#include "writerfixture.h"
#include "xlsxtesthelp.h"

#include <QJsonArray>
#include <QRegularExpression>
#include <QTranslator>

using namespace KOVXlsxTest;
using namespace KOVWriterFixture;
using Points = QList<KOVTestPointInfo>;
Q_DECLARE_METATYPE(Points)

namespace {

QStringList g_messages;
void capture(QtMsgType, const QMessageLogContext&, const QString& msg) { g_messages << msg; }

QString templateName(int type, int language)
{
    return QStringLiteral("template_%1_%2").arg(type == 0 ? "gas" : "elec", language == 0 ? "ch" : "en");
}

// What a written sheet holds beyond its template sheet: changed cells and
// styles, and the layout with its pictures.
QStringList differences(const QJsonObject& sheet, const QJsonObject& tpl)
{
    QStringList out;
    for (const char* part : {"cells", "styles"}) {
        const QJsonObject now = sheet.value(part).toObject(), was = tpl.value(part).toObject();
        for (auto it = now.begin(); it != now.end(); ++it)
            if (it.value() != was.value(it.key()))
                out << QLatin1String(part) + QLatin1Char(' ') + it.key() + QLatin1Char(' ') + it.value().toString().replace('\n', "\\n");
        for (auto it = was.begin(); it != was.end(); ++it)
            if (!now.contains(it.key()))
                out << QLatin1String(part) + QLatin1Char(' ') + it.key() + QStringLiteral(" gone");
    }
    QJsonObject layout = sheet;
    layout.remove("cells");
    layout.remove("styles");
    return out << QString::fromUtf8(QJsonDocument(layout).toJson(QJsonDocument::Compact));
}

} // namespace

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
        for (int l : {0, 1})
            QVERIFY(m_tr[l].load(binaryDir() + QStringLiteral("/KOVReportExport/style/font/Translate_%1.qm").arg(l ? "EN" : "CH")));
        m_pdfDir = binaryDir() + QStringLiteral("/tests/kovlibxl/pdf");
        QVERIFY(QDir().mkpath(m_pdfDir));
    }

    void init()
    {
        g_messages.clear();
        qInstallMessageHandler(capture);
    }

    void cleanup()
    {
        qInstallMessageHandler(nullptr);
        useLanguage(-1);
        installTemplates(QDir::currentPath());
    }

    void create_data()
    {
        KOVTable::columns<QString, QString, int, QString, bool>({"setup", "name", "count", "message", "copyStays"});
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
        if (setup == QLatin1String("dir"))
            QVERIFY(QDir().mkpath(name + QStringLiteral("/inner")));
        else if (setup == QLatin1String("exists"))
            QVERIFY(KOVTest::writeEncoded(name, QStringLiteral("an old file"), "UTF-8"));
        else if (setup == QLatin1String("readonly"))
            QVERIFY(QFile::setPermissions(tpl, QFile::ReadOwner | QFile::ReadGroup));
        else if (setup == QLatin1String("missing") || setup == QLatin1String("garbage"))
            QVERIFY(QFile::remove(tpl) && (setup == QLatin1String("missing") || KOVTest::writeEncoded(tpl, QStringLiteral("not a workbook"), "UTF-8")));
        else if (setup == QLatin1String("onesheet"))
            QVERIFY(patchPart(tpl, QStringLiteral("out/one.xlsx"), QStringLiteral("xl/workbook.xml"), [](QByteArray wb) {
                // The template's workbook part without its second sheet.
                const int at = wb.indexOf("<sheet name=", wb.indexOf("sheetId=\"1\""));
                return wb.remove(at, wb.indexOf("/>", at) + 2 - at);
            }) && QFile::remove(tpl) && QFile::rename(QStringLiteral("out/one.xlsx"), tpl));
        KOVLibxl writer;
        QCOMPARE(writer.CreateExcel(name, 0, count, 0), message.isEmpty());
        const QStringList messages = g_messages;
        QVERIFY(!messages.isEmpty() && messages.first().startsWith(QStringLiteral("CreateExcel = ")));
        if (message.isEmpty()) {
            QVERIFY(QFileInfo(name).permissions() & QFile::WriteOwner);
            QVERIFY(writer.WriteHomePage(report(0, {photoPoint(1)}), writer.GetSheet(0)) && writer.SaveExcel());
            KOVXlsxBook book;
            QVERIFY(book.load(name) && book.sheet(0)->readStr(20, 0) == QStringLiteral("华东能源有限公司"));
            return;
        }
        QVERIFY2(messages.last().startsWith(message), qPrintable(messages.join('|')));
        if (setup == QLatin1String("dir"))
            QVERIFY(QFileInfo(name + QStringLiteral("/inner")).isDir());
        else if (!name.isEmpty())
            QTEST(QFile::exists(name), "copyStays");
        // Nothing may write through a writer whose workbook is not ready.
        QVERIFY(!writer.GetSheet(1) || setup == QLatin1String("onesheet"));
        QDir(QStringLiteral("out/taken.xlsx")).removeRecursively();
    }

    // Whole workbooks: the home sheet's header, table, count and summary
    // lines (at most ten), sheet names and titles, and one point sheet per
    // kind of record, cells and pictures.
    void workbooks_data()
    {
        KOVTable::columns<int, int, Points, int>({"type", "language", "points", "count"});
        Points twelve;
        for (int k = 1; k <= 12; ++k)
            twelve << (k % 2 ? photoPoint(k) : videoPoint(k, true, k % 4 == 0));
        KOVTestPointInfo noLeak = photoPoint(2), nullItem = photoPoint(6), missing = photoPoint(7), emptyLists = videoPoint(8, true, true);
        noLeak.leakageData = false;
        nullItem.type = ItemType::null;
        missing.photoImgPath = QStringLiteral("pictures/none.jpg");
        emptyLists.imgInfoList.clear();
        emptyLists.videoImgPathList.clear();
        emptyLists.pddImgPathList.clear();
        KOVTestPointInfo label0 = elecPoint(2), noDistance = elecPoint(3), noPattern = elecPoint(4);
        label0.labelType = 0;
        noDistance.distance.clear();
        noPattern.prpdTypeList.clear();
        QTest::newRow("gas, twelve points") << 0 << 0 << twelve << 12;
        QTest::newRow("gas, every kind of point")
            << 0 << 0 << Points{photoPoint(1), noLeak, videoPoint(3, true, true), videoPoint(4, true, false), videoPoint(5, false, true), nullItem, missing, emptyLists} << 8;
        QTest::newRow("electrical, English") << 1 << 1 << Points{elecPoint(1), label0, noDistance, noPattern} << 4;
        QTest::newRow("count larger than the list") << 0 << 0 << twelve.mid(0, 2) << 3;
        QTest::newRow("report type 2 writes no label block") << 2 << 0 << Points{photoPoint(1)} << 1;
    }
    void workbooks()
    {
        QFETCH(int, type);
        QFETCH(int, language);
        QFETCH(Points, points);
        QFETCH(int, count);
        useLanguage(language);
        const QString out = QStringLiteral("out/book.xlsx");
        QStringList lines(QStringLiteral("written"));
        {
            KOVLibxl writer;
            QVERIFY(writer.CreateExcel(out, type, count, language));
            QVERIFY(writer.WriteHomePage(report(type, points), writer.GetSheet(0)));
            for (int i = 0; i < count && i < points.size(); ++i)
                lines.first() += QStringLiteral(" %1").arg(writer.WritePoinInfo(points.at(i), writer.GetSheet(i + 1), type));
            QVERIFY(writer.SaveExcel());
            lines << QStringLiteral("missing pictures %1").arg(g_messages.filter(QStringLiteral("add pic = ")).size());
        }
        QString error;
        const QJsonObject r = inspect(out, &error);
        const QJsonArray tpl = inspect(templatePath(templateName(type == 1, language))).value("sheets").toArray();
        QVERIFY2(!r.isEmpty() && !tpl.isEmpty(), qPrintable(error));
        QCOMPARE(r.value("structure").toArray(), QJsonArray());
        const QJsonArray sheets = r.value("sheets").toArray();
        QCOMPARE(sheets.size(), count + 1);
        for (int i = 0; i < sheets.size(); ++i)
            for (const QString& d : differences(sheets.at(i).toObject(), tpl.at(qMin(i, 1)).toObject()))
                lines << QStringLiteral("sheet %1 ").arg(i) + d;
        KOV_GOLDEN(QStringLiteral("kovlibxl/golden/%1.txt").arg(QString::fromLatin1(QTest::currentDataTag()).replace(' ', '_').remove(',')), lines);
    }

    void otherReaders_data()
    {
        KOVTable::columns<int, int, Points, int, QStringList>({"type", "language", "points", "pictures", "texts"});
        KOVTestPointInfo hostile = photoPoint(4), label0 = elecPoint(3);
        hostile.advice = QStringLiteral("A&B <c> \"d\" _x0041_ line\r\nbreak") + QChar(2);
        label0.labelType = 0;
        // LibreOffice decodes escapes: the literal text comes back as typed, the line break as a bare LF.
        QTest::newRow("gas_report") << 0 << 0 << Points{photoPoint(1), videoPoint(2, true, true), videoPoint(3, false, false), hostile} << 4
            << QStringList{"A&B <c> \"\"d\"\" _x0041_ line\nbreak\"", "本次检测泄漏点有 4 处：", "未锁定图片！"};
        QTest::newRow("elec_report") << 1 << 1 << Points{elecPoint(1), elecPoint(2), label0} << 6
            << QStringList{"There are 3 fault points detected this time：", "Test Fault Point (3) is , the running state is"};
    }
    void otherReaders()
    {
        QFETCH(int, type);
        QFETCH(int, language);
        QFETCH(Points, points);
        QFETCH(QStringList, texts);
        useLanguage(language);
        const KOVReportInfo info = report(type, points);
        const QString name = QString::fromLatin1(QTest::currentDataTag());
        const QString xlsx = QDir::currentPath() + QLatin1Char('/') + name + QStringLiteral(".xlsx");
        QVERIFY(exportReport(info, language, xlsx));
        QString log;
        const QString pdf = m_pdfDir + QLatin1Char('/') + name + QStringLiteral(".pdf");
        QFile::remove(pdf);
        QVERIFY2(soffice({"--convert-to", "pdf", "--outdir", m_pdfDir, xlsx}, &log) && QFileInfo(pdf).size() > 0, qPrintable(log));
        const QString csvDir = QDir::currentPath() + QStringLiteral("/csv_") + name;
        QDir(csvDir).removeRecursively();
        // The last token -1 asks for one CSV per sheet, UTF-8 (76), comma separated.
        QVERIFY2(soffice({"--convert-to", "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false,-1", "--outdir", csvDir, xlsx}, &log), qPrintable(log));
        const QStringList csvs = QDir(csvDir).entryList({QStringLiteral("*.csv")}, QDir::Files, QDir::Name);
        QCOMPARE(csvs.size(), points.size() + 1);
        QString all;
        for (const QString& f : csvs)
            all += QString::fromUtf8(KOVTest::readAll(csvDir + QLatin1Char('/') + f));
        texts << info.company << info.deviceModel << info.reportSN;
        for (const KOVTestPointInfo& tp : points)
            texts << tp.faultLevel;
        for (const QString& t : texts)
            QVERIFY2(all.contains(t), qPrintable(t));
        const QString list = KOVMediaFixture::run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
        QTEST(list.split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(2).filter(QStringLiteral(" image ")).size(), "pictures");
    }

private:
    // The application installs the catalogue of its language; so do the tests.
    void useLanguage(int language)
    {
        for (QTranslator& t : m_tr)
            QCoreApplication::removeTranslator(&t);
        if (language >= 0)
            QCoreApplication::installTranslator(&m_tr[language ? 1 : 0]);
    }

    bool soffice(const QStringList& args, QString* log)
    {
        // A profile of our own: parallel runs must not share LibreOffice's.
        const QString profile = QStringLiteral("-env:UserInstallation=file://") + QDir::currentPath() + QStringLiteral("/lo_profile");
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(QStringLiteral("soffice"), QStringList{profile, QStringLiteral("--headless")} + args);
        const bool done = p.waitForFinished(300000);
        *log = QString::fromUtf8(p.readAll());
        return done && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    }

    QTranslator m_tr[2];
    QString m_pdfDir;
};

QTEST_MAIN(TestKovLibxl)
#include "tst_kovlibxl.moc"

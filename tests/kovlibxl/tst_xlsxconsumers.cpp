// Whole reports opened by other programs: LibreOffice converts them to PDF
// and to CSV (every sheet) without error, and pdfimages finds the pictures.
// The PDFs stay in <build>/tests/kovlibxl/pdf for a person to look at.
#include "kovlibxl.h"
#include "writerfixture.h"
#include "xlsxtesthelp.h"

#include <QTranslator>

Q_DECLARE_METATYPE(QList<KOVTestPointInfo>)
#include <QtTest>

using namespace KOVXlsxTest;
using namespace KOVWriterFixture;

class TestXlsxConsumers : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(installTemplates(QDir::currentPath()));
        QDir().mkpath(QStringLiteral("pictures"));
        QVERIFY(makePicture(kFrame, 1024, 600, "JPEG"));
        QVERIFY(makePicture(kPattern, 530, 220, "PNG", QColor(200, 60, 40)));
        m_pdfDir = binaryDir() + QStringLiteral("/tests/kovlibxl/pdf");
        QVERIFY(QDir().mkpath(m_pdfDir));
    }

    void convert_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QList<KOVTestPointInfo>>("points");
        QTest::addColumn<int>("pictures");

        KOVTestPointInfo hostile = photoPoint(4);
        hostile.advice = QStringLiteral("A&B <c> \"d\" _x0041_ line\r\nbreak") + QChar(2);
        QTest::newRow("gas report, Chinese") << 0 << 0 << "gas_report"
            << QList<KOVTestPointInfo>{photoPoint(1), videoPoint(2, true, true), videoPoint(3, false, false), hostile} << 4;
        KOVTestPointInfo label0 = elecPoint(3);
        label0.labelType = 0;
        QTest::newRow("electrical report, English") << 1 << 1 << "elec_report"
            << QList<KOVTestPointInfo>{elecPoint(1), elecPoint(2), label0} << 6;
    }
    void convert()
    {
        QFETCH(int, type);
        QFETCH(int, language);
        QFETCH(QString, name);
        QFETCH(QList<KOVTestPointInfo>, points);
        QTranslator tr;
        QVERIFY(tr.load(binaryDir() + (language == 0 ? QStringLiteral("/KOVReportExport/style/font/Translate_CH.qm")
                                                     : QStringLiteral("/KOVReportExport/style/font/Translate_EN.qm"))));
        QCoreApplication::installTranslator(&tr);
        const KOVReportInfo info = report(type, points);
        const QString xlsx = QDir::currentPath() + QStringLiteral("/") + name + QStringLiteral(".xlsx");
        QVERIFY(exportReport(info, language, xlsx));
        QCoreApplication::removeTranslator(&tr);

        QString log;
        const QString pdf = m_pdfDir + QStringLiteral("/") + name + QStringLiteral(".pdf");
        QFile::remove(pdf);
        QVERIFY2(soffice({QStringLiteral("--convert-to"), QStringLiteral("pdf"), QStringLiteral("--outdir"), m_pdfDir, xlsx}, &log), qPrintable(log));
        QVERIFY2(QFileInfo(pdf).size() > 0, qPrintable(log));

        const QString csvDir = QDir::currentPath() + QStringLiteral("/csv_") + name;
        QDir(csvDir).removeRecursively();
        // The last token -1 asks for one CSV per sheet, UTF-8 (76), comma separated.
        QVERIFY2(soffice({QStringLiteral("--convert-to"),
                          QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false,-1"),
                          QStringLiteral("--outdir"), csvDir, xlsx}, &log), qPrintable(log));
        const QStringList csvs = QDir(csvDir).entryList({QStringLiteral("*.csv")}, QDir::Files, QDir::Name);
        QCOMPARE(csvs.size(), points.size() + 1);
        QString all;
        for (const QString& f : csvs) {
            QFile file(csvDir + QStringLiteral("/") + f);
            QVERIFY(file.open(QIODevice::ReadOnly));
            all += QString::fromUtf8(file.readAll());
        }
        QStringList wanted{info.company, info.deviceModel, info.reportSN};
        for (const KOVTestPointInfo& tp : points)
            wanted << tp.faultLevel;
        for (const QString& w : wanted)
            QVERIFY2(all.contains(w), qPrintable(w));
        if (type == 0) {
            // LibreOffice decodes escapes: the literal text comes back as typed.
            // (LibreOffice keeps the line break as a bare LF.)
            QVERIFY2(all.contains(QStringLiteral("A&B <c> \"\"d\"\" _x0041_ line\nbreak\"")), qPrintable(all.right(3000)));
            QVERIFY(all.contains(QStringLiteral("本次检测泄漏点有 4 处：")));
            QVERIFY(all.contains(QStringLiteral("未锁定图片！")));
        } else {
            QVERIFY(all.contains(QStringLiteral("There are 3 fault points detected this time：")));
            QVERIFY(all.contains(QStringLiteral("Test Fault Point (3) is , the running state is")));
        }

        QProcess images;
        images.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
        QVERIFY(images.waitForFinished(60000));
        const QStringList lines = QString::fromUtf8(images.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QTEST(lines.mid(2).filter(QStringLiteral(" image ")).size(), "pictures");
    }

private:
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

    QString m_pdfDir;
};

QTEST_MAIN(TestXlsxConsumers)
#include "tst_xlsxconsumers.moc"

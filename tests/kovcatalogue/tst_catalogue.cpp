// The translation catalogues: every text the program passes through tr()
// has its English translation, no text is claimed by two area files, and
// the Chinese catalogue changes the few texts whose source is English.
#include "kovcachecheck.h"
#include "kovcachefile.h"
#include "kovcatalogue.h"
#include "kovtable.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

namespace {

QString sourceDir()
{
    return QString::fromLocal8Bit(qgetenv("KOV_SOURCE_DIR"));
}

QStringList areaFiles(const QString& language)
{
    QDir dir(sourceDir() + QStringLiteral("/KOVReportExport/style/font/Translate_") + language);
    QStringList files;
    for (const QString& f : dir.entryList({QStringLiteral("*.ts")}, QDir::Files, QDir::Name))
        files << dir.filePath(f);
    return files;
}

} // namespace

class TestCatalogue : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_tmp;

private slots:
    // Every text of the program, as lupdate finds it in the sources and
    // forms, must be in the English catalogue.
    void everyProgramTextInEnglish()
    {
        const QString all = m_tmp.filePath(QStringLiteral("program.ts"));
        QStringList args{"-silent", "-no-obsolete"};
        for (const char* dir : {"KOVReportExport", "KOVLibXl", "platform"})
            args << sourceDir() + QLatin1Char('/') + QLatin1String(dir);
        args << "-ts" << all;
        QCOMPARE(QProcess::execute(QStringLiteral(KOV_LUPDATE), args), 0);
        QList<KOVCatalogueMessage> messages;
        QString error;
        QVERIFY2(KOVCatalogue::readTs(all, &messages, &error), qPrintable(error));
        QStringList keys;
        for (const KOVCatalogueMessage& m : qAsConst(messages))
            keys << KOVCatalogue::key(m);
        // lupdate really read the sources and the forms.
        QVERIFY(keys.contains(QStringLiteral("KOVReportExport | 导入文件")));
        QVERIFY(keys.contains(QStringLiteral("KOVReportExport | 浏览页")));

        QTranslator english;
        QVERIFY(english.load(QStringLiteral(":/style/font/Translate_EN.qm")));
        const QStringList missing = KOVCatalogue::untranslated(messages, english);
        QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("%1 texts without English:\n").arg(missing.size())
                                                + missing.join(QLatin1Char('\n'))));
    }

    void noTextInTwoAreaFiles()
    {
        for (const QString language : {"CH", "EN"}) {
            const QStringList files = areaFiles(language);
            QVERIFY(files.size() > 1);
            QString error;
            const QStringList dups = KOVCatalogue::duplicated(files, &error);
            QVERIFY2(error.isEmpty(), qPrintable(error));
            QVERIFY2(dups.isEmpty(), qPrintable(dups.join(QLatin1Char('\n'))));
        }
    }

    // Texts the catalogues change that reach the workbook (the discharge
    // classes) or a dialog; the other English sources are held by tst_shell.
    void shownTexts_data()
    {
        KOVTable::columns<QString, QString, QString, QString>({"context", "source", "chinese", "english"});
        QTest::newRow("corona") << "QObject" << "电晕，尖端放电" << "电晕/尖端放电" << "Corona/Point Discharge";
        QTest::newRow("surface") << "QObject" << "沿面放电、悬浮放电" << "沿面/悬浮放电"
                                 << "Discharge Along Dielectric Surface/Suspended Discharge";
        QTest::newRow("free metal") << "QObject" << "自由金属放电" << "自由金属颗粒放电" << "Free Metal Particle Discharge";
        QTest::newRow("none") << "QObject" << "未检测到放电" << "未检测到放电" << "No Discharge";
        QTest::newRow("folder chooser") << "KOVFileDialog" << "Please select folder" << "请选择文件夹" << "Please select folder";
    }
    void shownTexts()
    {
        QFETCH(QString, context);
        QFETCH(QString, source);
        for (const char* language : {"CH", "EN"}) {
            QTranslator t;
            QVERIFY(t.load(QStringLiteral(":/style/font/Translate_%1.qm").arg(QLatin1String(language))));
            const QString shown = t.translate(context.toLatin1(), source.toUtf8());
            QTEST(shown.isEmpty() ? source : shown, language[0] == 'C' ? "chinese" : "english");
        }
    }

    // A refused restore's reason stands in the restore's message: in the
    // interface's language, the English catalogue keeping the source.
    void cacheRefusalsInBothLanguages_data()
    {
        KOVTable::columns<QJsonObject, QString, QString>({"root", "ch", "en"}); // root empty: a document that is no object
        QTest::newRow("mismatched item lists")
            << QJsonObject{{"itemPathList", QJsonArray{"a", "b"}}, {"itemNameList", QJsonArray{"a"}}}
            << "有2个文件路径，却有1个文件名" << "2 item paths but 1 item names";
        QTest::newRow("page with a bad point")
            << QJsonObject{{"winList", QJsonArray{QJsonObject{{"reportInfo", QJsonObject{{"testPointList", QJsonArray{1}}}}}}}}
            << "第1份报告页：有测试点内容无效" << "report page 1: a test point is no object";
        QTest::newRow("document no object") << QJsonObject() << "缓存文件内容无效" << "the document is not an object";
    }
    void cacheRefusalsInBothLanguages()
    {
        QFETCH(QJsonObject, root);
        QFETCH(QString, ch);
        QFETCH(QString, en);
        QDir().mkpath(QStringLiteral("cache"));
        QFile json(QStringLiteral("cache/cache.json"));
        QVERIFY(json.open(QIODevice::WriteOnly) && json.write("[]") == 2);
        json.close();
        for (const char* language : {"CH", "EN"}) {
            QTranslator t;
            QVERIFY(t.load(QStringLiteral(":/style/font/Translate_%1.qm").arg(QLatin1String(language))));
            QCoreApplication::installTranslator(&t);
            QString why;
            QJsonObject read;
            if (root.isEmpty())
                KOVCacheFile().read(&read, &why);
            else
                why = KOVCacheCheck::checkRoot(root);
            QCOMPARE(why, qstrcmp(language, "CH") == 0 ? ch : en);
        }
    }
};

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"

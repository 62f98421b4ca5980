// The recovery cache on disk and what a restore may trust of it.
#include "kovcachecheck.h"
#include "kovcachefile.h"

#include <QJsonDocument>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QJsonObject validRoot(const QString& usrDir)
{
    QJsonObject report;
    report.insert(QStringLiteral("reportInfo"), QJsonObject {
        { QStringLiteral("chosedItemList"), QJsonArray { 0, 1 } },
        { QStringLiteral("testPointList"), QJsonArray { QJsonObject(), QJsonObject() } } });
    return QJsonObject { { QStringLiteral("usrDirPath"), usrDir },
        { QStringLiteral("itemPathList"), QJsonArray { QStringLiteral("a/a.jpg"), QStringLiteral("b/b.mp4") } },
        { QStringLiteral("itemNameList"), QJsonArray { QStringLiteral("a.jpg"), QStringLiteral("b.mp4") } },
        { QStringLiteral("videoImg"), QJsonObject() },
        { QStringLiteral("winList"), QJsonArray { report } },
        { QStringLiteral("currentIndex"), 1 } };
}

QJsonArray repeated(const QJsonValue& v, int n)
{
    QJsonArray a;
    for (int i = 0; i < n; ++i)
        a.append(v);
    return a;
}

} // namespace

class TstCache : public QObject
{
    Q_OBJECT
private slots:
    void writeReadAndReplace()
    {
        QTemporaryDir tmp;
        const KOVCacheFile cache(tmp.path() + QStringLiteral("/cache"));
        QVERIFY(!cache.exists());
        QJsonObject first = validRoot(tmp.path());
        first.insert(QStringLiteral("uuid"), QStringLiteral("first"));
        QVERIFY(cache.write(first));
        QJsonObject second = first;
        second.insert(QStringLiteral("uuid"), QStringLiteral("second"));
        second.insert(QStringLiteral("名称"), QStringLiteral("气体报告1"));
        QVERIFY(cache.write(second));

        QJsonObject back;
        QString why;
        QVERIFY2(cache.read(&back, &why), qPrintable(why));
        QCOMPARE(back, second);
        // Nothing but the document: no temporary file left beside it.
        QCOMPARE(QDir(cache.dir()).entryList(QDir::Files), QStringList { QStringLiteral("cache.json") });
        QFile f(cache.jsonPath());
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray text = f.readAll();
        QVERIFY(text.contains("\n    \"currentIndex\": 1,\n"));
        QVERIFY(text.indexOf("\"currentIndex\"") < text.indexOf("\"itemNameList\""));
        QVERIFY(text.contains(QStringLiteral("气体报告1").toUtf8()));
    }

    void brokenFilesFailAndMoveAside_data()
    {
        QTest::addColumn<QByteArray>("content");
        const QByteArray whole = QJsonDocument(validRoot(QStringLiteral("/"))).toJson();
        QTest::newRow("torn") << whole.left(whole.size() / 2);
        QTest::newRow("truncated to nothing") << QByteArray();
        QTest::newRow("not json") << QByteArray("\x00\x01garbage", 9);
        QTest::newRow("array document") << QByteArray("[1, 2]");
    }
    void brokenFilesFailAndMoveAside()
    {
        QFETCH(QByteArray, content);
        QTemporaryDir tmp;
        const KOVCacheFile cache(tmp.path() + QStringLiteral("/cache/"));
        QVERIFY(QDir().mkpath(cache.dir()));
        QFile f(cache.jsonPath());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
        f.close();
        QFile picture(cache.newImagePath());
        QVERIFY(picture.open(QIODevice::WriteOnly));
        picture.close();

        QJsonObject root { { QStringLiteral("kept"), true } };
        QString why;
        QVERIFY(!cache.read(&root, &why));
        QVERIFY(!why.isEmpty());
        QCOMPARE(root.value(QStringLiteral("kept")), QJsonValue(true));

        const QString aside = cache.moveAside();
        QVERIFY(!aside.isEmpty());
        QVERIFY(!cache.exists());
        QVERIFY(aside.startsWith(tmp.path() + QStringLiteral("/cache-failed-")));
        QFile moved(aside + QStringLiteral("cache.json"));
        QVERIFY(moved.open(QIODevice::ReadOnly));
        QCOMPARE(moved.readAll(), content);
        QCOMPARE(QDir(aside).entryList(QStringList { QStringLiteral("*.jpg") }, QDir::Files).size(), 1);
        // A second bad cache in the same second gets a folder of its own.
        QVERIFY(QDir().mkpath(cache.dir()));
        const QString again = cache.moveAside();
        QVERIFY(!again.isEmpty() && again != aside);
    }

    void checkRoot_data()
    {
        QTest::addColumn<QJsonObject>("root");
        QTest::addColumn<QString>("why"); // part of the reason, empty for a good cache
        const QString here = QDir::currentPath();
        QJsonObject r = validRoot(here);
        QTest::newRow("good") << r << QString();
        QTest::newRow("empty document") << QJsonObject() << QString();
        r = validRoot(here);
        r.insert(QStringLiteral("itemNameList"), QJsonArray { QStringLiteral("a.jpg") });
        QTest::newRow("arrays disagree") << r << "2 item paths but 1 item names";
        QTest::newRow("user directory gone") << validRoot(here + QStringLiteral("/gone")) << "is gone";
        r = validRoot(here + QStringLiteral("/gone"));
        r.insert(QStringLiteral("itemPathList"), QJsonArray());
        r.insert(QStringLiteral("itemNameList"), QJsonArray());
        QTest::newRow("gone but nothing listed") << r << QString();
        r = validRoot(here);
        r.insert(QStringLiteral("winList"), QJsonArray { 1 });
        QTest::newRow("report no object") << r << "report page 1: no report object";
        r = validRoot(here);
        r.insert(QStringLiteral("winList"), repeated(validRoot(here).value(QStringLiteral("winList")).toArray().at(0), 31));
        QTest::newRow("31 report pages") << r << "31 report pages";
        r = validRoot(here);
        r.insert(QStringLiteral("winList"), QJsonArray { QJsonObject { { QStringLiteral("reportInfo"),
            QJsonObject { { QStringLiteral("testPointList"), repeated(QJsonObject(), 101) } } } } });
        QTest::newRow("101 test points") << r << "101 test points";
    }
    void checkRoot()
    {
        QFETCH(QJsonObject, root);
        QFETCH(QString, why);
        const QString got = KOVCacheCheck::checkRoot(root);
        if (why.isEmpty())
            QCOMPARE(got, QString());
        else
            QVERIFY2(got.contains(why), qPrintable(got));
    }

    void chosenRows_data()
    {
        QTest::addColumn<QJsonArray>("rows");
        QTest::addColumn<int>("points");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("aligned") << QJsonArray { 2, 0, 1 } << 3 << QList<int> { 2, 0, 1 };
        QTest::newRow("short is padded") << QJsonArray { 2 } << 3 << QList<int> { 2, -1, -1 };
        QTest::newRow("long is cut") << QJsonArray { 0, 1, 2, 3 } << 2 << QList<int> { 0, 1 };
        QTest::newRow("beyond the list") << QJsonArray { 4, 5, -7 } << 3 << QList<int> { 4, -1, -1 };
        QTest::newRow("not numbers") << QJsonArray { QStringLiteral("1"), 1.5, true } << 3 << QList<int> { -1, -1, -1 };
        QTest::newRow("a row twice") << QJsonArray { 3, 1, 3 } << 3 << QList<int> { 3, 1, -1 };
    }
    void chosenRows()
    {
        QFETCH(QJsonArray, rows);
        QFETCH(int, points);
        QFETCH(QList<int>, expected);
        QCOMPARE(KOVCacheCheck::chosenRows(rows, points, 5), expected);
    }

    void frameNumbers()
    {
        const QJsonArray a { 3, 0, -2, QStringLiteral("4"), 12, 3, 40, 7, 9 };
        QCOMPARE(KOVCacheCheck::frameNumbers(a, 4), (QList<int> { 3, 12, 40, 7 }));
        QCOMPARE(KOVCacheCheck::inRange(3, 3, -1), -1);
        QCOMPARE(KOVCacheCheck::inRange(2, 3, -1), 2);
        QCOMPARE(KOVCacheCheck::inRange(-1, 3, 0), 0);
    }

    void hideImgGuard_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("inside");
        QTest::newRow("frame file") << "/u/default/item1/hideImg/1_2.jpg" << true;
        QTest::newRow("doubled slash") << "/u/default/item1//hideImg//1_2.jpg" << true;
        QTest::newRow("the folder itself") << "/u/default/item1/hideImg/" << false;
        QTest::newRow("climbs out") << "/u/default/item1/hideImg/../item1.jpg" << false;
        QTest::newRow("sibling prefix") << "/u/default/item1/hideImgX/a.jpg" << false;
        QTest::newRow("relative") << "hideImg/a.jpg" << false;
        QTest::newRow("empty") << "" << false;
    }
    void hideImgGuard()
    {
        QFETCH(QString, path);
        QFETCH(bool, inside);
        QCOMPARE(KOVCacheCheck::insideHideImg(path, QStringLiteral("/u/default/item1")), inside);
        const QStringList kept = KOVCacheCheck::keepInsideHideImg({ QStringLiteral("x"), path },
                                                                   QStringLiteral("/u/default/item1/"));
        QCOMPARE(kept.size(), 2);
        QCOMPARE(kept.at(1), inside ? path : QString());
    }
};

QTEST_GUILESS_MAIN(TstCache)
#include "tst_cache.moc"

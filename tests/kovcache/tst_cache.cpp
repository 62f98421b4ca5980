// The recovery cache on disk: of two writes the last stands whole, and a bad
// cache moved aside never overwrites an earlier one.
#include "kovcachefile.h"

#include <QTemporaryDir>
#include <QtTest>

class TstCache : public QObject
{
    Q_OBJECT
private slots:
    void writeReadAndMoveAside()
    {
        QTemporaryDir tmp;
        const KOVCacheFile cache(tmp.path() + QStringLiteral("/cache"));
        QJsonObject root { { QStringLiteral("currentIndex"), 1 }, { QStringLiteral("名称"), QStringLiteral("气体报告1") } };
        QVERIFY(cache.write(QJsonObject { { QStringLiteral("uuid"), QStringLiteral("first") } }));
        QVERIFY(cache.write(root));
        QJsonObject back;
        QString why;
        QVERIFY2(cache.read(&back, &why), qPrintable(why));
        QCOMPARE(back, root);
        QCOMPARE(QDir(cache.dir()).entryList(QDir::Files), QStringList { QStringLiteral("cache.json") });

        QFile f(cache.jsonPath());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[1, 2]");
        f.close();
        QVERIFY(!cache.read(&back, &why) && !why.isEmpty());
        QCOMPARE(back, root); // untouched on failure
        const QString aside = cache.moveAside();
        QVERIFY(aside.startsWith(tmp.path() + QStringLiteral("/cache-failed-")));
        QVERIFY(QFile::exists(aside + QStringLiteral("cache.json")) && !cache.exists());
        // A second bad cache in the same second gets a folder of its own.
        QVERIFY(QDir().mkpath(cache.dir()));
        const QString again = cache.moveAside();
        QVERIFY(!again.isEmpty() && again != aside);
    }
};

QTEST_GUILESS_MAIN(TstCache)
#include "tst_cache.moc"

// The per-frame measurements a page keeps in the recovery cache.
#include "koviteminfo.h"
#include "kovgen.h"

#include <QJsonArray>
#include <QTemporaryDir>
#include <QtTest>

class TstFrameCache : public QObject
{
    Q_OBJECT
private slots:
    // The leak figures come back with the frame (a restored page shows the
    // frame's leak rate, not 0); a cache written without them reads 0.
    void leakFieldsKept_data()
    {
        QTest::addColumn<bool>("dropLeakKeys");
        QTest::newRow("written with leak fields") << false;
        QTest::newRow("older cache without them") << true;
    }
    void leakFieldsKept()
    {
        QFETCH(bool, dropLeakKeys);
        QTemporaryDir tmp;
        KOVGen::InfoDatOptions opt;
        opt.frames = 3;
        opt.values = KOVGen::makeFrames(5, 3);
        opt.values[1].leakRate = 90.0; // ml/min: 1.5 ml/s
        opt.values[1].leakLevel = 2.5;
        opt.values[1].leakDistance = 3.25;
        opt.values[1].leakPower = 0.75;
        const QString path = tmp.filePath(QStringLiteral("info.dat"));
        QCOMPARE(KOVGen::writeInfoDat(path, opt), 3);
        KOVItemInfo writer;
        QCOMPARE(writer.readItemInfo(path), 3);
        QJsonObject root;
        writer.saveData(root);
        if (dropLeakKeys) {
            QJsonArray list = root.value(QStringLiteral("imageInfoList")).toArray();
            for (int i = 0; i < list.size(); ++i) {
                QJsonObject o = list.at(i).toObject();
                for (const char* key : { "leakDistance", "leakLevel", "leakPower", "leakValue" })
                    o.remove(QLatin1String(key));
                list.replace(i, o);
            }
            root.insert(QStringLiteral("imageInfoList"), list);
        }
        KOVItemInfo reader;
        reader.restoreData(root);
        KOVImageInfo original, back;
        QVERIFY(writer.getImageInfo(2, original));
        QVERIFY(reader.getImageInfo(2, back));
        QCOMPARE(back.maxSPLdBValue, original.maxSPLdBValue);
        QCOMPARE(back.leakValue, dropLeakKeys ? 0.0f : 1.5f);
        QCOMPARE(back.leakLevel, dropLeakKeys ? 0.0f : 2.5f);
        QCOMPARE(back.leakDistance, dropLeakKeys ? 0.0f : 3.25f);
        QCOMPARE(back.leakPower, dropLeakKeys ? 0.0f : 0.75f);
    }
};

QTEST_GUILESS_MAIN(TstFrameCache)
#include "tst_framecache.moc"

// The yearly cost of a gas leak against the figures the page must show, and
// the leak figures a frame keeps in the recovery cache.
#include "koviteminfo.h"
#include "leaklossestimation.h"

#include <QJsonArray>
#include <QtTest>

class TstLeakLoss : public QObject
{
    Q_OBJECT
private slots:
    void yearlyAmount_data()
    {
        QTest::addColumn<float>("pressure");
        QTest::addColumn<float>("leak");
        QTest::addColumn<int>("hours");
        QTest::addColumn<float>("specificPower");
        QTest::addColumn<int>("unit");
        QTest::addColumn<QString>("shown");
        QTest::newRow("0.5 MPa 10 ml/s yuan") << 0.5f << 10.0f << 8760 << 12.0f << 0 << "1934.61";
        QTest::newRow("dollar") << 0.5f << 10.0f << 8760 << 12.0f << 1 << "304.31";
        QTest::newRow("euro") << 0.5f << 10.0f << 8760 << 12.0f << 2 << "268.14";
        QTest::newRow("pound") << 0.5f << 10.0f << 8760 << 12.0f << 3 << "224.61";
        QTest::newRow("unknown currency is base") << 0.5f << 10.0f << 8760 << 12.0f << -1 << "1934.61";
        QTest::newRow("no pressure 1 ml/s") << 0.0f << 1.0f << 8760 << 12.0f << 0 << "37.84";
        QTest::newRow("empty hours") << 0.5f << 10.0f << 0 << 12.0f << 0 << "0.00";
        // The energy term uses the measured leak: no power removes exactly 63.07.
        QTest::newRow("energy term uses measured leak") << 0.5f << 10.0f << 8760 << 0.0f << 0 << "1871.54";
    }
    void yearlyAmount()
    {
        QFETCH(float, pressure);
        QFETCH(float, leak);
        QFETCH(int, hours);
        QFETCH(float, specificPower);
        QFETCH(int, unit);
        LeakLossEstimation e;
        e.pressure = pressure;
        e.leakValue = leak;
        e.time = hours;
        e.specificPower = specificPower;
        e.unitType = unit;
        QTEST(KOVLeakLoss::moneyText(KOVLeakLoss::toDisplay(unit, KOVLeakLoss::yearlyAmount(e))), "shown");
        // A typed amount is kept in the base currency and shows again as typed.
        QCOMPARE(KOVLeakLoss::moneyText(KOVLeakLoss::toDisplay(unit, KOVLeakLoss::toBase(unit, 6.36f))),
                 QStringLiteral("6.36"));
    }

    // Dropped, a restored page would show a leak rate of 0.
    void leakFieldsInTheCache()
    {
        const QJsonObject frame { { "seq", 1 }, { "leakDistance", 3.25 }, { "leakLevel", 2.5 }, { "leakPower", 0.75 },
                                  { "leakValue", 1.5 } };
        QJsonObject root { { "imageCount", 1 }, { "imageInfoList", QJsonArray { frame } } };
        KOVItemInfo info;
        info.restoreData(root);
        QJsonObject again;
        info.saveData(again);
        const QJsonObject back = again.value("imageInfoList").toArray().at(0).toObject();
        for (const char* key : { "leakDistance", "leakLevel", "leakPower", "leakValue" })
            QCOMPARE(back.value(QLatin1String(key)), frame.value(QLatin1String(key)));
    }
};

QTEST_APPLESS_MAIN(TstLeakLoss)
#include "tst_leakloss.moc"

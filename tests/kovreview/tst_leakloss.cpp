// The yearly cost of a gas leak, checked against the figures the page must show.
#include "leaklossestimation.h"

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
        QTest::newRow("0.5 MPa 10 ml/s dollar") << 0.5f << 10.0f << 8760 << 12.0f << 1 << "304.31";
        QTest::newRow("0.5 MPa 10 ml/s euro") << 0.5f << 10.0f << 8760 << 12.0f << 2 << "268.14";
        QTest::newRow("0.5 MPa 10 ml/s pound") << 0.5f << 10.0f << 8760 << 12.0f << 3 << "224.61";
        QTest::newRow("unknown currency is base") << 0.5f << 10.0f << 8760 << 12.0f << 7 << "1934.61";
        QTest::newRow("negative currency is base") << 0.5f << 10.0f << 8760 << 12.0f << -1 << "1934.61";
        QTest::newRow("no pressure 1 ml/s") << 0.0f << 1.0f << 8760 << 12.0f << 0 << "37.84";
        QTest::newRow("frame without data") << 0.5f << 0.0f << 8760 << 12.0f << 0 << "0.00";
        QTest::newRow("empty hours") << 0.5f << 10.0f << 0 << 12.0f << 0 << "0.00";
        // Without compression power only the gas term is left: energy uses the
        // measured leak, so a zero power must remove exactly 63.07.
        QTest::newRow("energy term uses measured leak") << 0.5f << 10.0f << 8760 << 0.0f << 0 << "1871.54";
    }
    void yearlyAmount()
    {
        QFETCH(float, pressure);
        QFETCH(float, leak);
        QFETCH(int, hours);
        QFETCH(float, specificPower);
        QFETCH(int, unit);
        QFETCH(QString, shown);
        LeakLossEstimation e;
        e.pressure = pressure;
        e.leakValue = leak;
        e.time = hours;
        e.specificPower = specificPower;
        e.unitType = unit;
        const float amount = KOVLeakLoss::yearlyAmount(e);
        QCOMPARE(KOVLeakLoss::moneyText(KOVLeakLoss::toDisplay(unit, amount)), shown);
    }

    // Typed amounts are stored in the base currency; switching the display
    // back and forth never moves the stored value.
    void typedAmountAcrossCurrencies()
    {
        const float base = KOVLeakLoss::toBase(1, 1.0f);
        QCOMPARE(base, 1.0f / 0.1573f);
        QCOMPARE(KOVLeakLoss::moneyText(KOVLeakLoss::toDisplay(0, base)), QStringLiteral("6.36"));
        QCOMPARE(KOVLeakLoss::moneyText(KOVLeakLoss::toDisplay(1, base)), QStringLiteral("1.00"));
        QCOMPARE(KOVLeakLoss::toBase(9, 2.5f), 2.5f);
        QCOMPARE(KOVLeakLoss::currencySymbol(2), QStringLiteral("€"));
        QCOMPARE(KOVLeakLoss::currencySymbol(5), QStringLiteral("￥"));
    }

    void standardLeakAtAtmosphere()
    {
        QCOMPARE(KOVLeakLoss::standardLeak(0.0f, 4.0f), 4.0f);
        QVERIFY(qAbs(KOVLeakLoss::standardLeak(0.101325f, 1.0f) - 2.0f) < 1e-6f);
    }
};

QTEST_APPLESS_MAIN(TstLeakLoss)
#include "tst_leakloss.moc"

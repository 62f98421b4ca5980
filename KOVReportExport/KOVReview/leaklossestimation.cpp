#include "leaklossestimation.h"

namespace KOVLeakLoss {
namespace {

const float kAtmosphere = 0.101325f; // MPa
const float kMlToM3 = 0.000001f;

} // namespace

QString currencySymbol(int unitType)
{
    switch (unitType) {
    case 1: return QStringLiteral("＄");
    case 2: return QStringLiteral("€");
    case 3: return QStringLiteral("￡");
    default: return QStringLiteral("￥");
    }
}

float currencyFactor(int unitType)
{
    switch (unitType) {
    case 1: return 0.1573f;
    case 2: return 0.1386f;
    case 3: return 0.1161f;
    default: return 1.0f;
    }
}

float toDisplay(int unitType, float amount)
{
    return unitType >= 1 && unitType <= 3 ? amount * currencyFactor(unitType) : amount;
}

float toBase(int unitType, float amount)
{
    return unitType >= 1 && unitType <= 3 ? amount / currencyFactor(unitType) : amount;
}

float standardLeak(float pressure, float leak)
{
    return ((pressure + kAtmosphere) * leak) / kAtmosphere;
}

float yearlyAmount(const LeakLossEstimation& e)
{
    const float t = static_cast<float>(e.time);
    const float s = standardLeak(e.pressure, e.leakValue);
    const float a = (e.leakValue * e.specificPower) * 60.0f;
    // The energy term compresses the measured leak, not the standard one.
    const float energy = ((kMlToM3 * a) * e.energyCost) * t;
    const float gas = (((e.value * kMlToM3) * s) * t) * 3600.0f;
    return gas + energy;
}

QString moneyText(float amount)
{
    return QString::number(static_cast<double>(amount), 'f', 2);
}

} // namespace KOVLeakLoss

#ifndef LEAKLOSSESTIMATION_H
#define LEAKLOSSESTIMATION_H

#include <QString>

// Inputs and result of a gas leak's yearly cost. Money is kept in the base
// currency (index 0) and only converted for display.
struct LeakLossEstimation
{
    float pressure = 0.0f;  // MPa
    float leakValue = 0.0f; // ml/s
    QString level;          // leak level text, copied into the record
    int unitType = 0;       // currency index of the display
    float value = 1.0f;     // gas value per m3
    float energyCost = 1.0f; // per kWh
    float specificPower = 12.0f; // kW/(m3/min)
    int time = 8760;        // working hours per year
    float allMoney = 0.0f;  // yearly amount
};

// The yearly cost rules. Everything is single precision and evaluated in a
// fixed order, because the amounts shown (and copied into reports) are the
// two-decimal roundings of exactly these float results.
namespace KOVLeakLoss {

// Currency symbols by index: 0 "￥", 1 "＄", 2 "€", 3 "￡".
QString currencySymbol(int unitType);
// Factor from the base currency to unitType; 1 for index 0 and unknown ones.
float currencyFactor(int unitType);
// Base currency to the chosen one (multiplied by the factor).
float toDisplay(int unitType, float amount);
// Chosen currency to the base one (divided by the factor).
float toBase(int unitType, float amount);
// A leak measured at gauge pressure (MPa) as the flow at atmospheric pressure.
float standardLeak(float pressure, float leak);
// Gas value of the standard leak plus the energy to compress the measured leak,
// per year, in the base currency.
float yearlyAmount(const LeakLossEstimation& e);
// An amount as the page shows it: the float widened, two decimals.
QString moneyText(float amount);

} // namespace KOVLeakLoss

#endif // LEAKLOSSESTIMATION_H

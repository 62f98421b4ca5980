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

#endif // LEAKLOSSESTIMATION_H

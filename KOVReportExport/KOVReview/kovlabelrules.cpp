#include "kovlabelrules.h"

KOVLabelRules::Panel KOVLabelRules::panelFor(int labelType, int reportType)
{
    if (labelType == 0)
        return GasPanel;
    if (labelType == 1)
        return ElecPanel;
    return reportType == 0 ? GasPanel : ElecPanel;
}

QString KOVLabelRules::withUnit(const QString& value, const QString& unit)
{
    return value + unit;
}

#ifndef KOVLABELRULES_H
#define KOVLABELRULES_H

#include <QString>

// Which label panel a review page shows, and how label fields enter the
// test-point record. Codes: label type 0 gas leak, 1 electrical, -1 none;
// report type -1 browse page, 0 gas leak report, 1 electrical report.
class KOVLabelRules
{
public:
    enum Panel { GasPanel = 0, ElecPanel = 1 };

    // The item's own label wins; without one (-1 or anything unknown) the
    // report decides, and only a gas report means gas: the browse page (-1)
    // shows the electrical panel.
    static Panel panelFor(int labelType, int reportType);
    // The record keeps value and unit glued together ("0.4MPa", "/kV").
    static QString withUnit(const QString& value, const QString& unit);
};

#endif // KOVLABELRULES_H

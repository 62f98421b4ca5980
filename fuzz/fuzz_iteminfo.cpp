// An item's itemInfo.ini: read, saved again as the label page does, read back.
#include "kovfuzzfile.h"
#include "kovgetitemlabelinfo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    KOVFuzz::app();
    const QString path = KOVFuzz::writeInput(QStringLiteral("itemInfo.ini"), data, size);
    KOVGetItemLabelInfo a;
    KOVFuzz::check(a.readItemCfgInfo(path), "an existing itemInfo.ini reads");
    KOVFuzz::check(a.saveItemCfgInfo(), "the label saves");
    KOVGetItemLabelInfo b;
    KOVFuzz::check(b.readItemCfgInfo(path), "the saved label reads");
    KOVFuzz::check(a.m_labelType == b.m_labelType && a.m_faultSite_gas == b.m_faultSite_gas
                       && a.m_airPressure == b.m_airPressure && a.m_airUnit == b.m_airUnit
                       && a.m_gasType == b.m_gasType && a.m_faultSite_elec == b.m_faultSite_elec
                       && a.m_voltage == b.m_voltage && a.m_elecUnit == b.m_elecUnit
                       && a.m_distance == b.m_distance,
                   "a saved label reads back as it was");
    return 0;
}

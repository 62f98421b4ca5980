#ifndef KOVGETITEMLABELINFO_H
#define KOVGETITEMLABELINFO_H

#include <QString>

// The label of one item folder (itemInfo.ini): gas leak or electrical finding.
//
// A save always goes to the file of the last read. A page that saves must
// therefore read its own item's file first (KOVInformation::setItemPath), then
// set the fields, then save; otherwise it would write over the label of
// whichever item another page showed last.
class KOVGetItemLabelInfo
{
public:
    KOVGetItemLabelInfo() = default;

    // Every read starts from a clean record (type -1, texts "/", units empty),
    // so keys missing from this file never show the previous item's texts.
    bool readItemCfgInfo(QString path);
    // Writes the nine keys to the file of the last read, creating it if needed.
    // Returns false when there was no read or the file could not be written.
    bool saveItemCfgInfo();

    static QString checkIsEmpty(QString s);

    int m_labelType = -1;
    QString m_faultSite_elec;
    QString m_distance;
    QString m_voltage;
    QString m_elecUnit;
    QString m_gasType;
    QString m_airPressure;
    QString m_airUnit;
    QString m_faultSite_gas;
    QString m_itemInfoPath;

private:
    void clear();
};

#endif // KOVGETITEMLABELINFO_H

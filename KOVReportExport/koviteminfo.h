#ifndef KOVITEMINFO_H
#define KOVITEMINFO_H

#include "kovimageinfo.h"

#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringRef>

// Reader of an item's per-frame measurement file info.dat. Reading also sets
// the state object's partial-discharge length and leak pressure when the file
// carries them, and announces the device lines through the hub.
class KOVItemInfo
{
public:
    KOVItemInfo();

    // Frame records read; 0 when the file is not recognised or has no frames,
    // -1 when it cannot be opened.
    int readItemInfo(QString path);
    // Parses text already read; readItemInfo's second half.
    int parseItemInfo(const QString& text);

    // frameNo counts from 1; false (info untouched) outside 1..count.
    bool getImageInfo(int frameNo, KOVImageInfo& info);
    // Base time + (frameNo - 1) x 40 ms; invalid outside 1..count.
    QDateTime getImageTime(int frameNo);
    int imageCount() const { return m_imageCount; }

    void saveData(QJsonObject& root);
    void restoreData(QJsonObject& root);
    bool checkHeadLine(QString line);

    // Partial-discharge lengths outside this range are refused: the pattern
    // view divides by the length and sizes buffers from it.
    static constexpr int kMinPDDLen = 1;
    static constexpr int kMaxPDDLen = 10000;

private:
    int formatNumber(const QString& headLine) const;
    bool readBaseTime(const QString& headLine, int format);
    void readDeviceLine(const QString& line, int index);
    void readPDDLenLine(const QString& line);
    void readLeakPressureLine(const QString& line);
    bool parseFrameLine(const QStringRef& line, int format, KOVImageInfo& out) const;

    QDateTime m_baseDateTime;
    int m_imageCount = 0;
    QList<KOVImageInfo> m_imageInfos;
};

#endif // KOVITEMINFO_H

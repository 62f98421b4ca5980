#ifndef KOVXLSXDRAWING_H
#define KOVXLSXDRAWING_H

#include "kovxlsxgeometry.h"

#include <QString>

#include <pugixml.hpp>

// The drawing part of a sheet: the anchored pictures it shows.
class KOVXlsxDrawing
{
public:
    // Starts an empty drawing part.
    static void init(pugi::xml_document& doc);
    // Appends one picture spanning from..to; cx, cy give its size in EMU,
    // relId the drawing's relationship to the picture's media part, and
    // editAs how it follows the cells ("twoCell", "oneCell", "absolute").
    static void addPicture(pugi::xml_document& doc, const KOVXlsxGeometry::Point& from,
                           const KOVXlsxGeometry::Point& to, qint64 cx, qint64 cy,
                           const QString& relId, const char* editAs);

private:
    static const int kMaxShapeId = 0x7FFFFFFE;
    static int nextShapeId(const pugi::xml_node& root);
    static void writePoint(pugi::xml_node parent, const QString& prefix, const char* local,
                           const KOVXlsxGeometry::Point& p);
};

#endif // KOVXLSXDRAWING_H

#ifndef KOVXLSXGEOMETRY_H
#define KOVXLSXGEOMETRY_H

#include <QHash>
#include <QVector>

#include <pugixml.hpp>

// Column widths and row heights of a worksheet in screen pixels (96 dpi),
// as spreadsheet programs lay them out for a default font whose widest
// digit is 7 pixels. Pictures are anchored with it.
class KOVXlsxGeometry
{
public:
    // A cell corner plus an offset inside that cell, in EMU.
    struct Point
    {
        int row = 0;
        int col = 0;
        qint64 rowOff = 0;
        qint64 colOff = 0;
    };

    static const int kEmuPerPixel = 9525;

    explicit KOVXlsxGeometry(const pugi::xml_node& worksheet);

    int columnWidth(int col) const;
    int rowHeight(int row) const;
    // The point dx, dy pixels right of and below the top left corner of the
    // cell (row, col); offsets larger than a cell land in a later cell.
    Point locate(int row, int col, qint64 dx, qint64 dy) const;

    // Pixels of a column width given in characters (padding included).
    static int widthToPixels(double chars);

private:
    struct ColRange
    {
        int first;
        int last;
        int px;
    };
    QVector<ColRange> m_cols;
    QHash<int, int> m_rows;
    int m_defaultCol = 64;
    int m_defaultRow = 20;
};

#endif // KOVXLSXGEOMETRY_H

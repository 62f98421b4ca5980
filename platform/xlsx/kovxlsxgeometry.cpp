#include "kovxlsxgeometry.h"

#include "kovxlsxtext.h"
#include "kovxlsxxml.h"

#include <cmath>
#include <cstring>

namespace {
const int kDigitWidth = 7;
const double kMaxWidth = 255;  // characters
const double kMaxHeight = 409; // points

int pointsToPixels(double pt) { return int(std::lround(pt * 96.0 / 72.0)); }
} // namespace

int KOVXlsxGeometry::widthToPixels(double chars)
{
    if (chars <= 0)
        return 0;
    return int(std::floor((256.0 * chars + std::floor(128.0 / kDigitWidth)) / 256.0 * kDigitWidth));
}

KOVXlsxGeometry::KOVXlsxGeometry(const pugi::xml_node& worksheet)
{
    // Widths and heights beyond what spreadsheet programs allow (255
    // characters, 409 points) are cut to it; a number that is not one
    // leaves the default.
    const pugi::xml_node fmt = KOVXlsxXml::child(worksheet, "sheetFormatPr");
    if (fmt.attribute("defaultColWidth")) {
        m_defaultCol = widthToPixels(KOVXlsxXml::boundedNumber(fmt.attribute("defaultColWidth"), 0, kMaxWidth, 8.43));
    } else if (fmt.attribute("baseColWidth")) {
        // The base width counts digits only; five pixels of padding are
        // added and the result rounds up to a multiple of eight.
        const int px = int(KOVXlsxXml::boundedNumber(fmt.attribute("baseColWidth"), 0, kMaxWidth, 8) * kDigitWidth) + 5;
        m_defaultCol = (px + 7) / 8 * 8;
    }
    if (fmt.attribute("defaultRowHeight"))
        m_defaultRow = pointsToPixels(KOVXlsxXml::boundedNumber(fmt.attribute("defaultRowHeight"), 0, kMaxHeight, 15));

    const pugi::xml_node cols = KOVXlsxXml::child(worksheet, "cols");
    for (pugi::xml_node c = cols.first_child(); c; c = c.next_sibling()) {
        if (std::strcmp(KOVXlsxXml::localName(c), "col") != 0)
            continue;
        int first = 0;
        int last = 0;
        if (!KOVXlsxXml::intAttribute(c.attribute("min"), 1, KOVXlsxText::kMaxCols, &first)
            || !KOVXlsxXml::intAttribute(c.attribute("max"), first, KOVXlsxText::kMaxCols, &last)) {
            continue;
        }
        int px = c.attribute("width")
                     ? widthToPixels(KOVXlsxXml::boundedNumber(c.attribute("width"), 0, kMaxWidth, 0))
                     : m_defaultCol;
        if (c.attribute("hidden").as_bool())
            px = 0;
        m_cols.append({first - 1, last - 1, px});
    }

    const pugi::xml_node data = KOVXlsxXml::child(worksheet, "sheetData");
    for (pugi::xml_node r = data.first_child(); r; r = r.next_sibling()) {
        int row = 0;
        if (std::strcmp(KOVXlsxXml::localName(r), "row") != 0
            || !KOVXlsxXml::intAttribute(r.attribute("r"), 1, KOVXlsxText::kMaxRows, &row)) {
            continue;
        }
        if (r.attribute("hidden").as_bool())
            m_rows.insert(row - 1, 0);
        else if (r.attribute("ht"))
            m_rows.insert(row - 1, pointsToPixels(KOVXlsxXml::boundedNumber(r.attribute("ht"), 0, kMaxHeight, 15)));
    }
}

int KOVXlsxGeometry::columnWidth(int col) const
{
    for (const ColRange& r : m_cols)
        if (col >= r.first && col <= r.last)
            return r.px;
    return m_defaultCol;
}

int KOVXlsxGeometry::rowHeight(int row) const
{
    return m_rows.value(row, m_defaultRow);
}

KOVXlsxGeometry::Point KOVXlsxGeometry::locate(int row, int col, qint64 dx, qint64 dy) const
{
    Point p;
    p.row = row;
    p.col = col;
    dx = qMax<qint64>(0, dx);
    dy = qMax<qint64>(0, dy);
    while (p.col < KOVXlsxText::kMaxCols - 1 && dx >= columnWidth(p.col)) {
        dx -= columnWidth(p.col);
        ++p.col;
    }
    while (p.row < KOVXlsxText::kMaxRows - 1 && dy >= rowHeight(p.row)) {
        dy -= rowHeight(p.row);
        ++p.row;
    }
    p.colOff = dx * kEmuPerPixel;
    p.rowOff = dy * kEmuPerPixel;
    return p;
}

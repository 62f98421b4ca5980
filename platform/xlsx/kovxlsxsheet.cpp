#include "kovxlsxsheet.h"

#include "kovxlsxbook.h"
#include "kovxlsxtext.h"
#include "kovxlsxxml.h"

#include <cmath>
#include <cstring>

namespace {

bool isNamed(const pugi::xml_node& n, const char* local)
{
    return n.type() == pugi::node_element && std::strcmp(KOVXlsxXml::localName(n), local) == 0;
}

int cellColumn(const pugi::xml_node& c)
{
    int row = 0;
    int col = -1;
    KOVXlsxText::parseCellRef(c.attribute("r").value(), &row, &col);
    return col;
}

bool inRange(int row, int col)
{
    return row >= 0 && col >= 0 && row < KOVXlsxText::kMaxRows && col < KOVXlsxText::kMaxCols;
}

// The 0-based row of a row element; -1 when its number is missing or not a row number.
int rowIndex(const pugi::xml_node& r)
{
    int n = 0;
    return KOVXlsxXml::intAttribute(r.attribute("r"), 1, KOVXlsxText::kMaxRows, &n) ? n - 1 : -1;
}

} // namespace

KOVXlsxSheet::KOVXlsxSheet(KOVXlsxBook* book, const QString& name, const QString& part)
    : m_book(book), m_name(name), m_part(part)
{
}

bool KOVXlsxSheet::normalize(QString* error)
{
    const pugi::xml_node data = KOVXlsxXml::child(m_doc.document_element(), "sheetData");
    int row = 0; // 1-based, as in the file
    for (pugi::xml_node r = data.first_child(); r; r = r.next_sibling()) {
        if (!isNamed(r, "row"))
            continue;
        if (r.attribute("r")) {
            row = rowIndex(r) + 1;
            if (row == 0) {
                *error = QStringLiteral("row number %1 out of range").arg(QString::fromUtf8(r.attribute("r").value()).left(20));
                return false;
            }
        } else if (++row > KOVXlsxText::kMaxRows) {
            *error = QStringLiteral("more than %1 rows").arg(KOVXlsxText::kMaxRows);
            return false;
        } else {
            r.append_attribute("r") = row;
        }
        int col = -1;
        for (pugi::xml_node c = r.first_child(); c; c = c.next_sibling()) {
            if (!isNamed(c, "c"))
                continue;
            const int given = cellColumn(c);
            if (given >= 0) {
                col = given;
            } else if (++col >= KOVXlsxText::kMaxCols) {
                *error = QStringLiteral("row %1 has more than %2 cells").arg(row).arg(KOVXlsxText::kMaxCols);
                return false;
            } else {
                c.remove_attribute("r");
                c.append_attribute("r") = KOVXlsxText::cellRef(row - 1, col).toUtf8().constData();
            }
        }
    }
    return true;
}

pugi::xml_node KOVXlsxSheet::findRow(int row, bool create)
{
    pugi::xml_node root = m_doc.document_element();
    pugi::xml_node data = KOVXlsxXml::child(root, "sheetData");
    if (!data) {
        if (!create)
            return pugi::xml_node();
        data = KOVXlsxXml::addWorksheetChild(root, "sheetData");
    }
    pugi::xml_node before;
    for (pugi::xml_node r = data.first_child(); r; r = r.next_sibling()) {
        if (!isNamed(r, "row"))
            continue;
        const int rr = rowIndex(r);
        if (rr == row)
            return r;
        if (rr > row) {
            before = r;
            break;
        }
    }
    if (!create)
        return pugi::xml_node();
    pugi::xml_node r = KOVXlsxXml::addChild(data, "row", before);
    r.append_attribute("r") = row + 1;
    return r;
}

pugi::xml_node KOVXlsxSheet::findCell(int row, int col, bool create)
{
    pugi::xml_node r = findRow(row, create);
    if (!r)
        return pugi::xml_node();
    pugi::xml_node before;
    for (pugi::xml_node c = r.first_child(); c; c = c.next_sibling()) {
        if (!isNamed(c, "c"))
            continue;
        const int cc = cellColumn(c);
        if (cc == col)
            return c;
        if (cc > col) {
            before = c;
            break;
        }
    }
    if (!create)
        return pugi::xml_node();
    const int style = defaultStyle(r, col);
    pugi::xml_node c = KOVXlsxXml::addChild(r, "c", before);
    c.append_attribute("r") = KOVXlsxText::cellRef(row, col).toUtf8().constData();
    if (style > 0)
        c.append_attribute("s") = style;
    // The row's span hint would no longer cover the new cell.
    r.remove_attribute("spans");
    return c;
}

int KOVXlsxSheet::defaultStyle(const pugi::xml_node& rowNode, int col) const
{
    if (rowNode.attribute("customFormat").as_bool())
        return rowNode.attribute("s").as_int();
    const pugi::xml_node cols = KOVXlsxXml::child(m_doc.document_element(), "cols");
    for (pugi::xml_node c = cols.first_child(); c; c = c.next_sibling()) {
        if (isNamed(c, "col") && col + 1 >= c.attribute("min").as_int() && col + 1 <= c.attribute("max").as_int())
            return c.attribute("style").as_int();
    }
    return 0;
}

QString KOVXlsxSheet::readStr(int row, int col) const
{
    if (!inRange(row, col))
        return QString();
    const pugi::xml_node c = const_cast<KOVXlsxSheet*>(this)->findCell(row, col, false);
    if (!c)
        return QString();
    const char* t = c.attribute("t").value();
    QString text;
    if (std::strcmp(t, "s") == 0) {
        const pugi::xml_node v = KOVXlsxXml::child(c, "v");
        if (!v)
            return QString();
        text = m_book->sharedString(v.text().as_int(-1));
    } else if (std::strcmp(t, "inlineStr") == 0) {
        text = KOVXlsxXml::runText(KOVXlsxXml::child(c, "is"));
    } else if (std::strcmp(t, "str") == 0) {
        const pugi::xml_node v = KOVXlsxXml::child(c, "v");
        if (!v)
            return QString();
        text = KOVXlsxXml::text(v.text().get());
    } else {
        return QString();
    }
    if (text.isNull())
        return QString();
    return KOVXlsxText::decodeEscapes(text);
}

bool KOVXlsxSheet::writeStr(int row, int col, const QString& text)
{
    if (!inRange(row, col) || !m_doc.document_element())
        return false;
    pugi::xml_node c = findCell(row, col, true);
    while (c.first_child())
        c.remove_child(c.first_child());
    // Keep the address and the style; everything about the old value goes.
    for (const char* a : {"t", "cm", "vm", "ph"})
        c.remove_attribute(a);
    c.append_attribute("t") = "inlineStr";
    pugi::xml_node t = KOVXlsxXml::addChild(KOVXlsxXml::addChild(c, "is"), "t");
    t.append_attribute("xml:space") = "preserve";
    t.text().set(KOVXlsxText::cellText(text).toUtf8().constData());
    m_dirty = true;
    return true;
}

bool KOVXlsxSheet::setPicture(int row, int col, int pictureId, double scale, int dx, int dy, Placement placement)
{
    if (!inRange(row, col) || pictureId < 0 || pictureId >= m_book->pictureCount()
        || !(scale > 0) || !std::isfinite(scale) || scale > 100) {
        return false;
    }
    m_anchors.append({pictureId, row, col, scale, dx, dy, placement});
    m_dirty = true;
    return true;
}

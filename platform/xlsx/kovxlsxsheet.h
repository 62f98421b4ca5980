#ifndef KOVXLSXSHEET_H
#define KOVXLSXSHEET_H

#include <QList>
#include <QString>

#include <pugixml.hpp>

class KOVXlsxBook;

// One worksheet of a KOVXlsxBook. Owned by its book; rows and columns are
// 0-based (A1 is row 0, column 0).
class KOVXlsxSheet
{
public:
    // How a picture follows the cells under it.
    enum Placement {
        MoveAndSize = 0,
        MoveOnly = 1,
        Absolute = 2,
    };

    QString name() const { return m_name; }

    // The cell's text; a null string for an empty cell or one that holds no
    // text (a number, a formula result that is not text).
    QString readStr(int row, int col) const;
    // Writes text as a string cell. The cell keeps its style; a new cell
    // takes its row's or column's style, as the sheet shows it.
    bool writeStr(int row, int col, const QString& text);
    // Anchors picture pictureId (from KOVXlsxBook::addPicture) with its top
    // left corner dx, dy pixels from the top left corner of (row, col),
    // scaled by scale. The drawing is built when the book is saved.
    bool setPicture(int row, int col, int pictureId, double scale, int dx, int dy,
                    Placement placement = MoveAndSize);

    KOVXlsxSheet(const KOVXlsxSheet&) = delete;
    KOVXlsxSheet& operator=(const KOVXlsxSheet&) = delete;

private:
    friend class KOVXlsxBook;

    struct Anchor
    {
        int pictureId;
        int row;
        int col;
        double scale;
        int dx;
        int dy;
        Placement placement;
    };

    KOVXlsxSheet(KOVXlsxBook* book, const QString& name, const QString& part);

    // Gives rows and cells without an address the address their position
    // implies; false (with error set) for addresses beyond the sheet's limits.
    bool normalize(QString* error);
    pugi::xml_node findRow(int row, bool create);
    pugi::xml_node findCell(int row, int col, bool create);
    int defaultStyle(const pugi::xml_node& rowNode, int col) const;

    KOVXlsxBook* m_book;
    QString m_name;
    QString m_part;
    pugi::xml_document m_doc;
    QList<Anchor> m_anchors;
    bool m_dirty = false;
};

#endif // KOVXLSXSHEET_H

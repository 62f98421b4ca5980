#ifndef KOVXLSXRELS_H
#define KOVXLSXRELS_H

#include <QByteArray>
#include <QList>
#include <QString>

// The relationships of one part (its "_rels/<name>.rels" part).
class KOVXlsxRels
{
public:
    struct Rel
    {
        QString id;
        QString type;   // full relationship type URI
        QString target; // as written, relative to the source part's folder
        bool external = false;
    };

    static const char* const kTypeOfficeDocument;
    static const char* const kTypeWorksheet;
    static const char* const kTypeSharedStrings;
    static const char* const kTypeDrawing;
    static const char* const kTypeImage;
    static const char* const kTypeCalcChain;

    // Name of the part that holds the relationships of sourcePart.
    static QString relsPartName(const QString& sourcePart);
    // Part name a target resolves to from sourcePart ("xl/workbook.xml" +
    // "worksheets/sheet1.xml" gives "xl/worksheets/sheet1.xml").
    static QString resolve(const QString& sourcePart, const QString& target);
    // Target text that reaches part from sourcePart.
    static QString relativeTarget(const QString& sourcePart, const QString& part);

    bool parse(const QByteArray& bytes);
    QByteArray serialize() const;

    QList<Rel> rels() const { return m_rels; }
    const Rel* byId(const QString& id) const;
    const Rel* firstOfType(const char* type) const;
    QString add(const QString& type, const QString& target, bool external = false);
    void append(const Rel& rel) { m_rels << rel; }
    void remove(const QString& id);
    bool isEmpty() const { return m_rels.isEmpty(); }

private:
    QList<Rel> m_rels;
};

#endif // KOVXLSXRELS_H

#ifndef KOVTEMPLATESHEET_H
#define KOVTEMPLATESHEET_H

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>

class KOVTemplateStyles;

// One sheet of a template, read from a .layout file for one report type and
// one language table.
class KOVTemplateSheet
{
public:
    // Shared strings of the workbook being built; markup may hold [b]..[/b].
    struct Strings
    {
        QStringList markup;
        QList<QString> styleOf; // the cell style whose font the runs take
        int add(const QString& text, const QString& style);
    };

    bool parse(const QString& layout, const QString& reportType, const QMap<QString, QString>& texts,
               const KOVTemplateStyles& styles, Strings* strings, QString* error);
    QString name() const { return m_name; }
    QByteArray xml(bool selected) const;

    static QByteArray sharedStringsXml(const Strings& strings, const KOVTemplateStyles& styles);

private:
    struct Cell
    {
        int style = 0;
        int string = -1;
    };
    bool parseLine(const QString& line, const QString& reportType, const QMap<QString, QString>& texts,
                   const KOVTemplateStyles& styles, Strings* strings, QString* error);

    QString m_name;
    QMap<int, double> m_heights;           // 0-based row -> points
    QMap<QPair<int, int>, Cell> m_cells;   // (row, col), 0-based
    QStringList m_merges;
    QList<int> m_breaks;                   // break after these 1-based rows
    QList<double> m_cols;
    double m_defaultRow = 15;
    bool m_landscape = false;
    int m_fitWidth = 1;
    int m_fitHeight = 0;
    QList<double> m_margins{0.7, 0.7, 0.75, 0.75};
};

#endif // KOVTEMPLATESHEET_H

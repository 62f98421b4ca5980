#ifndef KOVTEMPLATESTYLES_H
#define KOVTEMPLATESTYLES_H

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

// The named cell styles of styles.txt, turned into the workbook's style part.
class KOVTemplateStyles
{
public:
    struct Style
    {
        double size = 10;
        bool bold = false;
        bool italic = false;
        QString color = QStringLiteral("000000");
        QString fill;
        QString border;
        QString align;
        QString valign;
        bool wrap = false;
    };

    bool parse(const QString& text, QString* error);
    void setFontFamily(const QString& family) { m_family = family; }
    QString fontFamily() const { return m_family; }

    bool contains(const QString& name) const { return m_index.contains(name); }
    // Index of the style in the workbook's cell formats.
    int index(const QString& name) const { return m_index.value(name); }
    Style style(const QString& name) const { return m_styles.value(index(name)); }
    QByteArray xml() const;

private:
    QList<Style> m_styles;
    QMap<QString, int> m_index;
    QString m_family;
};

#endif // KOVTEMPLATESTYLES_H

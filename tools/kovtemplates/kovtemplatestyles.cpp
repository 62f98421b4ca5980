#include "kovtemplatestyles.h"

#include <QXmlStreamWriter>

bool KOVTemplateStyles::parse(const QString& text, QString* error)
{
    int lineNo = 0;
    for (const QString& raw : text.split(QLatin1Char('\n'))) {
        ++lineNo;
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.size() < 2 || words[0] != QLatin1String("style")) {
            *error = QStringLiteral("styles line %1: expected 'style <name> ...'").arg(lineNo);
            return false;
        }
        Style s;
        for (const QString& w : words.mid(2)) {
            const QString key = w.section(QLatin1Char('='), 0, 0);
            const QString value = w.section(QLatin1Char('='), 1);
            if (key == QLatin1String("font")) s.size = value.toDouble();
            else if (key == QLatin1String("bold")) s.bold = true;
            else if (key == QLatin1String("italic")) s.italic = true;
            else if (key == QLatin1String("color")) s.color = value;
            else if (key == QLatin1String("fill")) s.fill = value;
            else if (key == QLatin1String("border")) s.border = value;
            else if (key == QLatin1String("align")) s.align = value;
            else if (key == QLatin1String("valign")) s.valign = value;
            else if (key == QLatin1String("wrap")) s.wrap = true;
            else {
                *error = QStringLiteral("styles line %1: unknown key %2").arg(lineNo).arg(key);
                return false;
            }
        }
        m_index.insert(words[1], m_styles.size());
        m_styles << s;
    }
    if (m_styles.isEmpty()) {
        *error = QStringLiteral("no styles");
        return false;
    }
    return true;
}

QByteArray KOVTemplateStyles::xml() const
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.writeStartDocument(QStringLiteral("1.0"), true);
    w.writeStartElement(QStringLiteral("styleSheet"));
    w.writeDefaultNamespace(QStringLiteral("http://schemas.openxmlformats.org/spreadsheetml/2006/main"));

    // One font, fill and border per style keeps the indices aligned; the
    // first style doubles as the workbook's default.
    w.writeStartElement(QStringLiteral("fonts"));
    w.writeAttribute(QStringLiteral("count"), QString::number(m_styles.size()));
    for (const Style& s : m_styles) {
        w.writeStartElement(QStringLiteral("font"));
        if (s.bold) w.writeEmptyElement(QStringLiteral("b"));
        if (s.italic) w.writeEmptyElement(QStringLiteral("i"));
        w.writeEmptyElement(QStringLiteral("sz"));
        w.writeAttribute(QStringLiteral("val"), QString::number(s.size));
        w.writeEmptyElement(QStringLiteral("color"));
        w.writeAttribute(QStringLiteral("rgb"), QStringLiteral("FF") + s.color);
        w.writeEmptyElement(QStringLiteral("name"));
        w.writeAttribute(QStringLiteral("val"), m_family);
        w.writeEmptyElement(QStringLiteral("family"));
        w.writeAttribute(QStringLiteral("val"), QStringLiteral("2"));
        w.writeEndElement();
    }
    w.writeEndElement();

    w.writeStartElement(QStringLiteral("fills"));
    w.writeAttribute(QStringLiteral("count"), QString::number(m_styles.size() + 2));
    for (const char* pattern : {"none", "gray125"}) {
        w.writeStartElement(QStringLiteral("fill"));
        w.writeEmptyElement(QStringLiteral("patternFill"));
        w.writeAttribute(QStringLiteral("patternType"), QLatin1String(pattern));
        w.writeEndElement();
    }
    for (const Style& s : m_styles) {
        w.writeStartElement(QStringLiteral("fill"));
        if (s.fill.isEmpty()) {
            w.writeEmptyElement(QStringLiteral("patternFill"));
            w.writeAttribute(QStringLiteral("patternType"), QStringLiteral("none"));
        } else {
            w.writeStartElement(QStringLiteral("patternFill"));
            w.writeAttribute(QStringLiteral("patternType"), QStringLiteral("solid"));
            w.writeEmptyElement(QStringLiteral("fgColor"));
            w.writeAttribute(QStringLiteral("rgb"), QStringLiteral("FF") + s.fill);
            w.writeEmptyElement(QStringLiteral("bgColor"));
            w.writeAttribute(QStringLiteral("indexed"), QStringLiteral("64"));
            w.writeEndElement();
        }
        w.writeEndElement();
    }
    w.writeEndElement();

    w.writeStartElement(QStringLiteral("borders"));
    w.writeAttribute(QStringLiteral("count"), QString::number(m_styles.size()));
    for (const Style& s : m_styles) {
        w.writeStartElement(QStringLiteral("border"));
        const bool all = s.border == QLatin1String("thin") || s.border == QLatin1String("medium");
        for (const char* side : {"left", "right", "top", "bottom", "diagonal"}) {
            const bool on = QLatin1String(side) != QLatin1String("diagonal")
                && (all || (s.border == QLatin1String("bottom") && QLatin1String(side) == QLatin1String("bottom")));
            if (!on) {
                w.writeEmptyElement(QLatin1String(side));
                continue;
            }
            w.writeStartElement(QLatin1String(side));
            w.writeAttribute(QStringLiteral("style"), s.border == QLatin1String("medium") ? QStringLiteral("medium") : QStringLiteral("thin"));
            w.writeEmptyElement(QStringLiteral("color"));
            w.writeAttribute(QStringLiteral("rgb"), QStringLiteral("FF8EA9DB"));
            w.writeEndElement();
        }
        w.writeEndElement();
    }
    w.writeEndElement();

    w.writeStartElement(QStringLiteral("cellStyleXfs"));
    w.writeAttribute(QStringLiteral("count"), QStringLiteral("1"));
    w.writeEmptyElement(QStringLiteral("xf"));
    for (const char* a : {"numFmtId", "fontId", "fillId", "borderId"})
        w.writeAttribute(QLatin1String(a), QStringLiteral("0"));
    w.writeEndElement();

    w.writeStartElement(QStringLiteral("cellXfs"));
    w.writeAttribute(QStringLiteral("count"), QString::number(m_styles.size()));
    for (int i = 0; i < m_styles.size(); ++i) {
        const Style& s = m_styles[i];
        w.writeStartElement(QStringLiteral("xf"));
        w.writeAttribute(QStringLiteral("numFmtId"), QStringLiteral("0"));
        w.writeAttribute(QStringLiteral("fontId"), QString::number(i));
        w.writeAttribute(QStringLiteral("fillId"), QString::number(i + 2));
        w.writeAttribute(QStringLiteral("borderId"), QString::number(i));
        w.writeAttribute(QStringLiteral("xfId"), QStringLiteral("0"));
        for (const char* a : {"applyFont", "applyFill", "applyBorder", "applyAlignment"})
            w.writeAttribute(QLatin1String(a), QStringLiteral("1"));
        w.writeEmptyElement(QStringLiteral("alignment"));
        if (!s.align.isEmpty()) w.writeAttribute(QStringLiteral("horizontal"), s.align);
        if (!s.valign.isEmpty()) w.writeAttribute(QStringLiteral("vertical"), s.valign);
        if (s.wrap) w.writeAttribute(QStringLiteral("wrapText"), QStringLiteral("1"));
        w.writeEndElement();
    }
    w.writeEndElement();

    w.writeStartElement(QStringLiteral("cellStyles"));
    w.writeAttribute(QStringLiteral("count"), QStringLiteral("1"));
    w.writeEmptyElement(QStringLiteral("cellStyle"));
    w.writeAttribute(QStringLiteral("name"), QStringLiteral("Normal"));
    w.writeAttribute(QStringLiteral("xfId"), QStringLiteral("0"));
    w.writeAttribute(QStringLiteral("builtinId"), QStringLiteral("0"));
    w.writeEndElement();

    w.writeEndElement();
    w.writeEndDocument();
    return out;
}

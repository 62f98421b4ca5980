#include "kovtemplatesheet.h"

#include "kovtemplatestyles.h"

#include <QRegularExpression>
#include <QXmlStreamWriter>

namespace {

const QString kMain = QStringLiteral("http://schemas.openxmlformats.org/spreadsheetml/2006/main");
const QString kRel = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");

// "B71" -> (70, 1); false for anything else.
bool parseRef(const QString& ref, int* row, int* col)
{
    static const QRegularExpression re(QStringLiteral("^([A-Z]{1,2})([0-9]{1,5})$"));
    const auto m = re.match(ref);
    if (!m.hasMatch())
        return false;
    int c = 0;
    for (const QChar ch : m.captured(1))
        c = c * 26 + (ch.unicode() - 'A' + 1);
    *col = c - 1;
    *row = m.captured(2).toInt() - 1;
    return *row >= 0;
}

QString colName(int col)
{
    QString name;
    for (int c = col + 1; c > 0; c = (c - 1) / 26)
        name.prepend(QChar('A' + (c - 1) % 26));
    return name;
}

} // namespace

int KOVTemplateSheet::Strings::add(const QString& text, const QString& style)
{
    for (int i = 0; i < markup.size(); ++i)
        if (markup[i] == text && styleOf[i] == style)
            return i;
    markup << text;
    styleOf << style;
    return markup.size() - 1;
}

bool KOVTemplateSheet::parse(const QString& layout, const QString& reportType, const QMap<QString, QString>& texts,
                             const KOVTemplateStyles& styles, Strings* strings, QString* error)
{
    int lineNo = 0;
    for (const QString& raw : layout.split(QLatin1Char('\n'))) {
        ++lineNo;
        QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1String("gas:")) || line.startsWith(QLatin1String("elec:"))) {
            if (!line.startsWith(reportType + QLatin1Char(':')))
                continue;
            line = line.section(QLatin1Char(':'), 1).trimmed();
        }
        if (!parseLine(line, reportType, texts, styles, strings, error)) {
            *error = QStringLiteral("line %1: %2").arg(lineNo).arg(*error);
            return false;
        }
    }
    return !m_name.isEmpty() || ((*error = QStringLiteral("no sheet name")), false);
}

bool KOVTemplateSheet::parseLine(const QString& line, const QString& reportType, const QMap<QString, QString>& texts,
                                 const KOVTemplateStyles& styles, Strings* strings, QString* error)
{
    // Texts: {key} from the language table, {$.key} by report type.
    QString expanded = line;
    static const QRegularExpression key(QStringLiteral("\\{([^}]+)\\}"));
    for (auto m = key.match(expanded); m.hasMatch(); m = key.match(expanded)) {
        QString k = m.captured(1);
        k.replace(QLatin1String("$."), reportType + QLatin1Char('.'));
        if (!texts.contains(k)) {
            *error = QStringLiteral("no text for %1").arg(k);
            return false;
        }
        expanded.replace(m.capturedStart(), m.capturedLength(), texts.value(k));
    }
    const QString cmd = line.section(QLatin1Char(' '), 0, 0);
    const QStringList w = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (cmd == QLatin1String("sheet")) {
        m_name = expanded.section(QLatin1Char(' '), 1);
    } else if (cmd == QLatin1String("page")) {
        m_landscape = w.value(1) == QLatin1String("landscape");
        for (const QString& a : w.mid(2)) {
            const QString v = a.section(QLatin1Char('='), 1);
            if (a.startsWith(QLatin1String("fitWidth="))) m_fitWidth = v.toInt();
            else if (a.startsWith(QLatin1String("fitHeight="))) m_fitHeight = v.toInt();
            else if (a.startsWith(QLatin1String("margins="))) {
                m_margins.clear();
                for (const QString& x : v.split(QLatin1Char(',')))
                    m_margins << x.toDouble();
            }
        }
    } else if (cmd == QLatin1String("cols")) {
        for (const QString& x : w.mid(1))
            m_cols << x.toDouble();
    } else if (cmd == QLatin1String("defaultrow")) {
        m_defaultRow = w.value(1).toDouble();
    } else if (cmd == QLatin1String("row")) {
        m_heights.insert(w.value(1).toInt() - 1, w.value(2).toDouble());
    } else if (cmd == QLatin1String("break")) {
        m_breaks << w.value(1).toInt();
    } else if (cmd == QLatin1String("cell")) {
        const QString range = w.value(1);
        const QString style = w.value(2);
        if (!styles.contains(style)) {
            *error = QStringLiteral("unknown style %1").arg(style);
            return false;
        }
        int r0, c0, r1, c1;
        if (!parseRef(range.section(QLatin1Char(':'), 0, 0), &r0, &c0)
            || !parseRef(range.contains(QLatin1Char(':')) ? range.section(QLatin1Char(':'), 1) : range, &r1, &c1)
            || r1 < r0 || c1 < c0) {
            *error = QStringLiteral("bad cell range %1").arg(range);
            return false;
        }
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c)
                m_cells[qMakePair(r, c)].style = styles.index(style);
        if (r1 > r0 || c1 > c0)
            m_merges << range;
        const QString text = expanded.section(QLatin1Char(' '), 3);
        if (!text.isEmpty())
            m_cells[qMakePair(r0, c0)].string = strings->add(text, style);
    } else {
        *error = QStringLiteral("unknown command %1").arg(cmd);
        return false;
    }
    return true;
}

QByteArray KOVTemplateSheet::xml(bool selected) const
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.writeStartDocument(QStringLiteral("1.0"), true);
    w.writeStartElement(QStringLiteral("worksheet"));
    w.writeDefaultNamespace(kMain);
    w.writeNamespace(kRel, QStringLiteral("r"));
    w.writeStartElement(QStringLiteral("sheetPr"));
    w.writeEmptyElement(QStringLiteral("pageSetUpPr"));
    w.writeAttribute(QStringLiteral("fitToPage"), QStringLiteral("1"));
    w.writeEndElement();
    w.writeStartElement(QStringLiteral("sheetViews"));
    w.writeEmptyElement(QStringLiteral("sheetView"));
    w.writeAttribute(QStringLiteral("showGridLines"), QStringLiteral("0"));
    if (selected)
        w.writeAttribute(QStringLiteral("tabSelected"), QStringLiteral("1"));
    w.writeAttribute(QStringLiteral("workbookViewId"), QStringLiteral("0"));
    w.writeEndElement();
    w.writeEmptyElement(QStringLiteral("sheetFormatPr"));
    w.writeAttribute(QStringLiteral("defaultRowHeight"), QString::number(m_defaultRow));
    w.writeAttribute(QStringLiteral("customHeight"), QStringLiteral("1"));
    if (!m_cols.isEmpty()) {
        w.writeStartElement(QStringLiteral("cols"));
        for (int i = 0; i < m_cols.size(); ++i) {
            w.writeEmptyElement(QStringLiteral("col"));
            w.writeAttribute(QStringLiteral("min"), QString::number(i + 1));
            w.writeAttribute(QStringLiteral("max"), QString::number(i + 1));
            w.writeAttribute(QStringLiteral("width"), QString::number(m_cols[i]));
            w.writeAttribute(QStringLiteral("customWidth"), QStringLiteral("1"));
        }
        w.writeEndElement();
    }

    // Every row gets a fixed height so that no reader fits rows to their
    // fonts and moves the pictures anchored on them.
    QList<int> rows = m_heights.keys();
    for (const auto& rc : m_cells.keys())
        if (!rows.contains(rc.first))
            rows << rc.first;
    std::sort(rows.begin(), rows.end());
    w.writeStartElement(QStringLiteral("sheetData"));
    for (int r : qAsConst(rows)) {
        w.writeStartElement(QStringLiteral("row"));
        w.writeAttribute(QStringLiteral("r"), QString::number(r + 1));
        w.writeAttribute(QStringLiteral("ht"), QString::number(m_heights.value(r, m_defaultRow)));
        w.writeAttribute(QStringLiteral("customHeight"), QStringLiteral("1"));
        for (auto it = m_cells.lowerBound(qMakePair(r, 0)); it != m_cells.end() && it.key().first == r; ++it) {
            w.writeStartElement(QStringLiteral("c"));
            w.writeAttribute(QStringLiteral("r"), colName(it.key().second) + QString::number(r + 1));
            w.writeAttribute(QStringLiteral("s"), QString::number(it->style));
            if (it->string >= 0) {
                w.writeAttribute(QStringLiteral("t"), QStringLiteral("s"));
                w.writeTextElement(QStringLiteral("v"), QString::number(it->string));
            }
            w.writeEndElement();
        }
        w.writeEndElement();
    }
    w.writeEndElement();

    if (!m_merges.isEmpty()) {
        w.writeStartElement(QStringLiteral("mergeCells"));
        w.writeAttribute(QStringLiteral("count"), QString::number(m_merges.size()));
        for (const QString& m : m_merges) {
            w.writeEmptyElement(QStringLiteral("mergeCell"));
            w.writeAttribute(QStringLiteral("ref"), m);
        }
        w.writeEndElement();
    }
    w.writeEmptyElement(QStringLiteral("printOptions"));
    w.writeAttribute(QStringLiteral("horizontalCentered"), QStringLiteral("1"));
    w.writeEmptyElement(QStringLiteral("pageMargins"));
    const char* sides[] = {"left", "right", "top", "bottom"};
    for (int i = 0; i < 4; ++i)
        w.writeAttribute(QLatin1String(sides[i]), QString::number(m_margins.value(i, 0.7)));
    w.writeAttribute(QStringLiteral("header"), QStringLiteral("0.3"));
    w.writeAttribute(QStringLiteral("footer"), QStringLiteral("0.3"));
    w.writeEmptyElement(QStringLiteral("pageSetup"));
    w.writeAttribute(QStringLiteral("paperSize"), QStringLiteral("9")); // A4
    w.writeAttribute(QStringLiteral("orientation"), m_landscape ? QStringLiteral("landscape") : QStringLiteral("portrait"));
    w.writeAttribute(QStringLiteral("fitToWidth"), QString::number(m_fitWidth));
    w.writeAttribute(QStringLiteral("fitToHeight"), QString::number(m_fitHeight));
    w.writeStartElement(QStringLiteral("headerFooter"));
    w.writeTextElement(QStringLiteral("oddFooter"), QStringLiteral("&C&P / &N"));
    w.writeEndElement();
    if (!m_breaks.isEmpty()) {
        w.writeStartElement(QStringLiteral("rowBreaks"));
        w.writeAttribute(QStringLiteral("count"), QString::number(m_breaks.size()));
        w.writeAttribute(QStringLiteral("manualBreakCount"), QString::number(m_breaks.size()));
        for (int b : m_breaks) {
            w.writeEmptyElement(QStringLiteral("brk"));
            w.writeAttribute(QStringLiteral("id"), QString::number(b));
            w.writeAttribute(QStringLiteral("max"), QStringLiteral("16383"));
            w.writeAttribute(QStringLiteral("man"), QStringLiteral("1"));
        }
        w.writeEndElement();
    }
    w.writeEndElement();
    w.writeEndDocument();
    return out;
}

QByteArray KOVTemplateSheet::sharedStringsXml(const Strings& strings, const KOVTemplateStyles& styles)
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.writeStartDocument(QStringLiteral("1.0"), true);
    w.writeStartElement(QStringLiteral("sst"));
    w.writeDefaultNamespace(kMain);
    w.writeAttribute(QStringLiteral("count"), QString::number(strings.markup.size()));
    w.writeAttribute(QStringLiteral("uniqueCount"), QString::number(strings.markup.size()));
    static const QRegularExpression bold(QStringLiteral("\\[b\\](.*?)\\[/b\\]"));
    for (int i = 0; i < strings.markup.size(); ++i) {
        const QString& text = strings.markup[i];
        w.writeStartElement(QStringLiteral("si"));
        if (!text.contains(QLatin1String("[b]"))) {
            w.writeStartElement(QStringLiteral("t"));
            w.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
            w.writeCharacters(text);
            w.writeEndElement();
        } else {
            // Runs: plain and bold pieces, each with the cell's font.
            const KOVTemplateStyles::Style s = styles.style(strings.styleOf[i]);
            int last = 0;
            auto run = [&](const QString& piece, bool b) {
                if (piece.isEmpty())
                    return;
                w.writeStartElement(QStringLiteral("r"));
                w.writeStartElement(QStringLiteral("rPr"));
                if (b || s.bold) w.writeEmptyElement(QStringLiteral("b"));
                w.writeEmptyElement(QStringLiteral("sz"));
                w.writeAttribute(QStringLiteral("val"), QString::number(s.size));
                w.writeEmptyElement(QStringLiteral("color"));
                w.writeAttribute(QStringLiteral("rgb"), QStringLiteral("FF") + s.color);
                w.writeEmptyElement(QStringLiteral("rFont"));
                w.writeAttribute(QStringLiteral("val"), styles.fontFamily());
                w.writeEndElement();
                w.writeStartElement(QStringLiteral("t"));
                w.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
                w.writeCharacters(piece);
                w.writeEndElement();
                w.writeEndElement();
            };
            for (auto it = bold.globalMatch(text); it.hasNext();) {
                const auto m = it.next();
                run(text.mid(last, m.capturedStart() - last), false);
                run(m.captured(1), true);
                last = m.capturedEnd();
            }
            run(text.mid(last), false);
        }
        w.writeEndElement();
    }
    w.writeEndElement();
    w.writeEndDocument();
    return out;
}

#include "kovxlsxtext.h"

#include <QRegularExpression>

QString KOVXlsxText::columnName(int col)
{
    QString name;
    for (int c = col + 1; c > 0; c = (c - 1) / 26)
        name.prepend(QChar('A' + (c - 1) % 26));
    return name;
}

QString KOVXlsxText::cellRef(int row, int col)
{
    return columnName(col) + QString::number(row + 1);
}

bool KOVXlsxText::parseCellRef(const char* ref, int* row, int* col)
{
    if (!ref)
        return false;
    const char* p = ref;
    long c = 0;
    while (*p >= 'A' && *p <= 'Z') {
        c = c * 26 + (*p - 'A' + 1);
        if (c > kMaxCols)
            return false;
        ++p;
    }
    long r = 0;
    const char* digits = p;
    while (*p >= '0' && *p <= '9') {
        r = r * 10 + (*p - '0');
        if (r > kMaxRows)
            return false;
        ++p;
    }
    if (c == 0 || p == digits || *p != '\0' || r == 0)
        return false;
    *row = int(r - 1);
    *col = int(c - 1);
    return true;
}

QString KOVXlsxText::cellText(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        const ushort u = ch.unicode();
        if (ch.isHighSurrogate()) {
            if (i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
                out.append(ch).append(text.at(i + 1));
                ++i;
            }
            continue;
        }
        if (ch.isLowSurrogate())
            continue;
        if ((u < 0x20 && u != 0x09 && u != 0x0A && u != 0x0D) || u == 0xFFFE || u == 0xFFFF)
            continue;
        out.append(ch);
    }
    if (out.size() > kMaxCellText) {
        int cut = kMaxCellText;
        if (out.at(cut - 1).isHighSurrogate())
            --cut;
        out.truncate(cut);
    }
    // Readers decode _xHHHH_ as a character code, so text that happens to
    // look like one has its underscore escaped itself.
    static const QRegularExpression escapeLike(QStringLiteral("_(x[0-9A-Fa-f]{4}_)"));
    out.replace(escapeLike, QStringLiteral("_x005F_\\1"));
    // XML readers turn a stored CR into LF; the escape keeps it a CR.
    out.replace(QLatin1Char('\r'), QLatin1String("_x000D_"));
    return out;
}

QString KOVXlsxText::decodeEscapes(const QString& text)
{
    if (!text.contains(QLatin1String("_x")))
        return text;
    static const QRegularExpression escape(QStringLiteral("_x([0-9A-Fa-f]{4})_"));
    QString out;
    int last = 0;
    auto it = escape.globalMatch(text);
    while (it.hasNext()) {
        const auto m = it.next();
        out += text.midRef(last, m.capturedStart() - last);
        out += QChar(m.captured(1).toUShort(nullptr, 16));
        last = m.capturedEnd();
    }
    out += text.midRef(last);
    return out;
}

QString KOVXlsxText::quotedSheetName(const QString& name)
{
    QString q = name;
    q.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + q + QLatin1Char('\'');
}

bool KOVXlsxText::isValidSheetName(const QString& name)
{
    if (name.isEmpty() || name.size() > 31)
        return false;
    if (name.startsWith(QLatin1Char('\'')) || name.endsWith(QLatin1Char('\'')))
        return false;
    for (const QChar ch : name) {
        if (QStringLiteral("[]:*?/\\").contains(ch) || ch.unicode() < 0x20)
            return false;
    }
    return true;
}

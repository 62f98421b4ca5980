// The INI grammar of QSettings, rebuilt so that files are read without it.
#include "kovinigrammar.h"

#include <QTextCodec>

namespace {

bool isSpecial(char c)
{
    return c == '\n' || c == '\r' || c == '"' || c == ';' || c == '=' || c == '\\';
}

void chopTrailingBlanks(QString& s, int limit)
{
    int n = s.size() - 1;
    while (n >= limit && (s.at(n) == QLatin1Char(' ') || s.at(n) == QLatin1Char('\t')))
        s.truncate(n--);
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

namespace KOVIniGrammar {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool readLine(const QByteArray& d, int& pos, int& start, int& len, int& equals)
{
    const int n = d.size();
    bool inQuotes = false;
    equals = -1;
    start = pos;
    while (start < n && isSpace(d.at(start)))
        ++start;
    int i = start;
    while (i < n) {
        char ch = d.at(i);
        while (!isSpecial(ch)) {
            if (++i == n)
                goto done;
            ch = d.at(i);
        }
        ++i;
        if (ch == '=') {
            if (!inQuotes && equals == -1)
                equals = i - 1;
        } else if (ch == '\n' || ch == '\r') {
            if (i == start + 1) {
                ++start;
            } else if (!inQuotes) {
                --i;
                goto done;
            }
        } else if (ch == '\\') {
            if (i < n) {
                const char next = d.at(i++);
                if (i < n) {
                    const char after = d.at(i);
                    if ((next == '\n' && after == '\r') || (next == '\r' && after == '\n'))
                        ++i;
                }
            }
        } else if (ch == '"') {
            inQuotes = !inQuotes;
        } else { // ';'
            if (i == start + 1) {
                while (i < n && d.at(i) != '\n' && d.at(i) != '\r')
                    ++i;
                while (i < n && isSpace(d.at(i)))
                    ++i;
                start = i;
            } else if (!inQuotes) {
                --i;
                goto done;
            }
        }
    }
done:
    pos = i;
    len = i - start;
    return len > 0;
}

QString unescapeKey(const QByteArray& d, int from, int to)
{
    QString out;
    int i = from;
    while (i < to) {
        const uchar ch = uchar(d.at(i));
        if (ch == '\\') {
            out += QLatin1Char('/');
            ++i;
            continue;
        }
        if (ch != '%' || i == to - 1) {
            out += QLatin1Char(char(ch));
            ++i;
            continue;
        }
        int first = i + 1;
        int digits = 2;
        if (d.at(i + 1) == 'U') {
            ++first;
            digits = 4;
        }
        bool ok = false;
        // Read as a signed number and cut to 16 bits, as QSettings does ("%-5" is U+FFFB).
        const ushort code = first + digits > to ? 0 : ushort(d.mid(first, digits).toInt(&ok, 16));
        if (!ok) {
            out += QLatin1Char('%');
            ++i;
            continue;
        }
        out += QChar(code);
        i = first + digits;
    }
    return out;
}

bool unescapeValue(const QByteArray& d, int from, int to, QTextCodec* codec, QString& str, QStringList& list)
{
    static const char escapes[][2] = {{'a', '\a'}, {'b', '\b'}, {'f', '\f'}, {'n', '\n'},  {'r', '\r'}, {'t', '\t'},
                                      {'v', '\v'}, {'"', '"'},  {'?', '?'},  {'\'', '\''}, {'\\', '\\'}};
    bool isList = false;
    bool inQuotes = false;
    bool quoted = false;
    int i = from;
    int chopLimit = 0;
    bool skipBlanks = true;
    bool chop = true;
    while (true) {
        if (skipBlanks) {
            while (i < to && (d.at(i) == ' ' || d.at(i) == '\t'))
                ++i;
            skipBlanks = false;
            chopLimit = str.size();
        }
        if (i >= to)
            break;
        const char ch = d.at(i);
        if (ch == '\\') {
            ++i;
            if (i >= to) {
                chop = false; // a lone backslash at the end keeps the blanks before it
                break;
            }
            const char e = d.at(i++);
            bool simple = false;
            for (const auto& x : escapes) {
                if (e == x[0]) {
                    str += QLatin1Char(x[1]);
                    simple = true;
                    break;
                }
            }
            if (simple) {
                chopLimit = str.size();
                continue;
            }
            if ((e == 'x' && i < to && hexValue(d.at(i)) >= 0) || (e >= '0' && e <= '7')) {
                // Only the low 16 bits of a long escape count.
                const bool hex = e == 'x';
                quint32 code = hex ? 0 : quint32(e - '0');
                while (i < to) {
                    const int v = hex ? hexValue(d.at(i)) : (d.at(i) >= '0' && d.at(i) <= '7' ? d.at(i) - '0' : -1);
                    if (v < 0)
                        break;
                    code = ((code << (hex ? 4 : 3)) + quint32(v)) & 0xFFFFFu;
                    ++i;
                }
                str += QChar(ushort(code & 0xFFFFu));
                chopLimit = str.size();
                continue;
            }
            if (e == 'x' && i >= to) {
                chop = false;
                break;
            }
            if (e == '\n' || e == '\r') {
                if (i < to && (d.at(i) == '\n' || d.at(i) == '\r') && d.at(i) != e)
                    ++i;
            }
            chopLimit = str.size();
            continue;
        }
        if (ch == '"') {
            ++i;
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes)
                skipBlanks = true;
            continue;
        }
        if (ch == ',' && !inQuotes) {
            if (!quoted)
                chopTrailingBlanks(str, chopLimit);
            if (!isList) {
                isList = true;
                list.clear();
            }
            list.append(str);
            str.clear();
            quoted = false;
            ++i;
            skipBlanks = true;
            continue;
        }
        int j = i + 1;
        while (j < to && d.at(j) != '\\' && d.at(j) != '"' && d.at(j) != ',')
            ++j;
        if (codec)
            str += codec->toUnicode(d.constData() + i, j - i);
        else
            str += QString::fromLatin1(d.constData() + i, j - i);
        i = j;
    }
    if (chop && !quoted)
        chopTrailingBlanks(str, chopLimit);
    if (isList)
        list.append(str);
    return isList;
}

} // namespace KOVIniGrammar

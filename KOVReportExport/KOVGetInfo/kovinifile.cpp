#include "kovinifile.h"

#include <QFile>
#include <QFileInfo>
#include <QPoint>
#include <QRect>
#include <QSaveFile>
#include <QSettings>
#include <QSize>
#include <QTemporaryDir>
#include <QTextCodec>

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r'; // not \f or \v, as in QSettings
}

bool isSpecial(char c)
{
    return c == '\n' || c == '\r' || c == '"' || c == ';' || c == '=' || c == '\\';
}

// One logical line: a quoted value may run over line ends, a backslash joins
// the next line, and an unquoted ';' ends the line (the rest is a comment,
// which the next call skips). Returns false at the end of the data.
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

// Keys: '\' stands for '/', "%XX" and "%UXXXX" for a character; bytes are Latin-1.
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

// A value: quotes, C escapes ("\x4e2d", octal), line joins, and unquoted
// commas separating list elements. Returns whether the value is a list.
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

QStringList splitArgs(const QString& s, int open)
{
    return s.mid(open + 1, s.size() - open - 2).split(QLatin1Char(' '));
}

} // namespace

QString KOVIniFile::normalizedKey(const QString& key)
{
    QString out;
    out.reserve(key.size());
    for (const QChar c : key) {
        if (c == QLatin1Char('/') && (out.isEmpty() || out.endsWith(QLatin1Char('/'))))
            continue;
        out += c;
    }
    if (out.endsWith(QLatin1Char('/')))
        out.chop(1);
    return out;
}

bool KOVIniFile::load(const QString& path, const char* codecName, Types types)
{
    m_entries.clear();
    m_order.clear();
    m_types = types;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    return parse(f.readAll(), codecName, types);
}

bool KOVIniFile::parse(const QByteArray& d, const char* codecName, Types types)
{
    m_entries.clear();
    m_order.clear();
    m_types = types;
    QTextCodec* codec = codecName && *codecName ? QTextCodec::codecForName(codecName) : nullptr;
    // Without a codec of its own QSettings reads a file with a byte order mark as UTF-8.
    if (!codec && d.startsWith("\xef\xbb\xbf"))
        codec = QTextCodec::codecForName("UTF-8");

    QString section;
    // QSettings skips a byte order mark only before a section: before a key
    // it becomes part of the key.
    int pos = 0;
    if (d.startsWith("\xef\xbb\xbf")) {
        int p = 3;
        while (p < d.size() && isSpace(d.at(p)))
            ++p;
        if (p < d.size() && d.at(p) == '[')
            pos = 3;
    }
    int start = 0, len = 0, equals = -1;
    while (readLine(d, pos, start, len, equals)) {
        const int end = start + len;
        if (d.at(start) == '[') {
            const int close = d.indexOf(']', start);
            const QByteArray name =
                (close == -1 || close >= end ? d.mid(start + 1, len - 1) : d.mid(start + 1, close - start - 1)).trimmed();
            if (name.compare("general", Qt::CaseInsensitive) == 0)
                section.clear();
            else if (name.compare("%general", Qt::CaseInsensitive) == 0)
                section = QString::fromLatin1(name.mid(1)) + QLatin1Char('/');
            else
                section = unescapeKey(name, 0, name.size()) + QLatin1Char('/');
            continue;
        }
        if (equals == -1)
            continue;
        int keyEnd = equals;
        while (keyEnd > start && (d.at(keyEnd - 1) == ' ' || d.at(keyEnd - 1) == '\t'))
            --keyEnd;
        // Stored as written: QSettings, too, finds "a//b" under no key.
        const QString key = section + unescapeKey(d, start, keyEnd);

        Entry e;
        QString str = QLatin1String(""); // "key=" is an empty text, not a missing one
        QStringList list;
        if (unescapeValue(d, equals + 1, end, codec, str, list)) {
            for (QString& item : list)
                if (item.startsWith(QLatin1String("@@")))
                    item.remove(0, 1);
            e.value = list;
        } else {
            e.value = toVariant(str);
        }
        // The raw text runs to the end of the physical line: an imager text
        // "A;B" is cut at the ';' by the grammar but is one text.
        int lineEnd = equals + 1;
        while (lineEnd < d.size() && d.at(lineEnd) != '\n' && d.at(lineEnd) != '\r')
            ++lineEnd;
        const QByteArray rawBytes = d.mid(equals + 1, lineEnd - equals - 1);
        e.raw = (codec ? codec->toUnicode(rawBytes) : QString::fromLatin1(rawBytes)).trimmed();
        e.plain = !e.raw.startsWith(QLatin1Char('"')) && !e.raw.contains(QLatin1Char('\\'))
                  && !e.raw.startsWith(QLatin1Char('@'));
        if (!m_entries.contains(key))
            m_order << key;
        m_entries.insert(key, e); // the last of duplicate keys wins, as in QSettings
    }
    return true;
}

QVariant KOVIniFile::toVariant(const QString& s) const
{
    if (!s.startsWith(QLatin1Char('@')))
        return s;
    // QSettings writes a text holding a NUL character this way, our label too.
    if (s.startsWith(QLatin1String("@String(")) && s.endsWith(QLatin1Char(')')))
        return s.mid(8, s.size() - 9);
    if (m_types == PlainQtTypes && s.endsWith(QLatin1Char(')'))) {
        if (s.startsWith(QLatin1String("@ByteArray(")))
            return s.mid(11, s.size() - 12).toLatin1();
        if (s.startsWith(QLatin1String("@Rect("))) {
            const QStringList a = splitArgs(s, 5);
            if (a.size() == 4)
                return QRect(a[0].toInt(), a[1].toInt(), a[2].toInt(), a[3].toInt());
        } else if (s.startsWith(QLatin1String("@Size("))) {
            const QStringList a = splitArgs(s, 5);
            if (a.size() == 2)
                return QSize(a[0].toInt(), a[1].toInt());
        } else if (s.startsWith(QLatin1String("@Point("))) {
            const QStringList a = splitArgs(s, 6);
            if (a.size() == 2)
                return QPoint(a[0].toInt(), a[1].toInt());
        } else if (s == QLatin1String("@Invalid()")) {
            return QVariant();
        }
        // "@Variant(" and "@DateTime(" would need QDataStream: they stay text.
    }
    if (s.startsWith(QLatin1String("@@")))
        return s.mid(1);
    return s;
}

bool KOVIniFile::contains(const QString& key) const
{
    const QString k = normalizedKey(key);
    return !k.isEmpty() && m_entries.contains(k);
}

QVariant KOVIniFile::value(const QString& key) const
{
    const QString k = normalizedKey(key);
    if (k.isEmpty()) // as QSettings: the empty key names nothing
        return QVariant();
    const auto it = m_entries.constFind(k);
    return it == m_entries.constEnd() ? QVariant() : it->value;
}

QString KOVIniFile::text(const QString& key) const
{
    const QString k = normalizedKey(key);
    const auto it = k.isEmpty() ? m_entries.constEnd() : m_entries.constFind(k);
    if (it == m_entries.constEnd())
        return QString();
    if (it->plain && (it->raw.contains(QLatin1Char(',')) || it->raw.contains(QLatin1Char(';'))))
        return it->raw;
    if (it->value.type() == QVariant::StringList)
        return it->value.toStringList().join(QLatin1Char(','));
    const QString s = it->value.toString();
    return s.isNull() ? QLatin1String("") : s;
}

QStringList KOVIniFile::keys() const
{
    return m_order;
}

bool KOVIniFile::update(const QString& path, const char* readCodec, Types types,
                        const QList<QPair<QString, QVariant>>& changes, QString* error)
{
    const auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    KOVIniFile old;
    if (QFileInfo::exists(path) && !old.load(path, readCodec, types))
        return fail(QStringLiteral("cannot read %1").arg(path));
    QTemporaryDir dir;
    if (!dir.isValid())
        return fail(QStringLiteral("no temporary folder for %1").arg(path));
    const QString fresh = dir.filePath(QStringLiteral("fresh.ini"));
    {
        QSettings settings(fresh, QSettings::IniFormat);
        for (const QString& key : qAsConst(old.m_order))
            if (!normalizedKey(key).isEmpty())
                settings.setValue(key, old.m_entries.value(key).value);
        for (const auto& c : changes)
            settings.setValue(c.first, c.second);
        settings.sync();
        if (settings.status() != QSettings::NoError)
            return fail(QStringLiteral("cannot write %1").arg(fresh));
    }
    QFile in(fresh);
    if (!in.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read back %1").arg(fresh));
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(in.readAll()) < 0 || !out.commit())
        return fail(QStringLiteral("cannot write %1: %2").arg(path, out.errorString()));
    return true;
}

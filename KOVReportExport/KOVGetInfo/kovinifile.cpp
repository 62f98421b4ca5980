#include "kovinifile.h"

#include "kovinigrammar.h"

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
        while (p < d.size() && KOVIniGrammar::isSpace(d.at(p)))
            ++p;
        if (p < d.size() && d.at(p) == '[')
            pos = 3;
    }
    int start = 0, len = 0, equals = -1;
    while (KOVIniGrammar::readLine(d, pos, start, len, equals)) {
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
                section = KOVIniGrammar::unescapeKey(name, 0, name.size()) + QLatin1Char('/');
            continue;
        }
        if (equals == -1)
            continue;
        int keyEnd = equals;
        while (keyEnd > start && (d.at(keyEnd - 1) == ' ' || d.at(keyEnd - 1) == '\t'))
            --keyEnd;
        // Stored as written: QSettings, too, finds "a//b" under no key.
        const QString key = section + KOVIniGrammar::unescapeKey(d, start, keyEnd);

        Entry e;
        QString str = QLatin1String(""); // "key=" is an empty text, not a missing one
        QStringList list;
        if (KOVIniGrammar::unescapeValue(d, equals + 1, end, codec, str, list)) {
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
        // A key no reader finds ("a//b", under a section written "[a/]")
        // is not carried over: QSettings would write it under its normal
        // name, where it would surface, or override the entry read there.
        for (const QString& key : qAsConst(old.m_order))
            if (!key.isEmpty() && normalizedKey(key) == key)
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

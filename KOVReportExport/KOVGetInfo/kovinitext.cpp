#include "kovinitext.h"

#include <QFile>
#include <QStringList>
#include <QTextCodec>

KOVIniText::KOVIniText(const QString& path, const char* codecName)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.readAll();
    QTextCodec* codec = codecName && *codecName ? QTextCodec::codecForName(codecName)
                                               : QTextCodec::codecForLocale();
    const QString text = codec ? codec->toUnicode(bytes) : QString::fromLocal8Bit(bytes);

    QString group;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (QString line : lines) {
        line = line.trimmed(); // also drops the CR of CR LF files
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            group = line.mid(1, line.size() - 2).trimmed();
            if (group.compare(QLatin1String("General"), Qt::CaseInsensitive) == 0)
                group.clear();
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        const QString full = group.isEmpty() ? key : group + QLatin1Char('/') + key;
        if (!m_raw.contains(full)) // QSettings keeps the first of duplicate keys too
            m_raw.insert(full, line.mid(eq + 1).trimmed());
    }
}

QString KOVIniText::value(QSettings& settings, const QString& key) const
{
    const QVariant v = settings.value(key);
    if (v.isNull())
        return QString();

    QString k = key;
    if (k.startsWith(QLatin1Char('/')))
        k.remove(0, 1);
    const auto it = m_raw.constFind(k);
    if (it != m_raw.constEnd()) {
        const QString& raw = it.value();
        const bool writtenByQSettings = raw.startsWith(QLatin1Char('"')) || raw.contains(QLatin1Char('\\'))
                                        || raw.startsWith(QLatin1Char('@'));
        if (!writtenByQSettings
            && (raw.contains(QLatin1Char(',')) || raw.contains(QLatin1Char(';'))))
            return raw;
    }
    if (v.type() == QVariant::StringList)
        return v.toStringList().join(QLatin1Char(','));
    return v.toString();
}

#include "kovcatalogue.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <QTranslator>
#include <QXmlStreamReader>

namespace {

void readMessage(QXmlStreamReader& xml, const QString& context, QList<KOVCatalogueMessage>* out)
{
    KOVCatalogueMessage m;
    m.context = context;
    m.numerus = xml.attributes().value(QLatin1String("numerus")) == QLatin1String("yes");
    while (xml.readNextStartElement()) {
        const auto name = xml.name();
        if (name == QLatin1String("source")) {
            m.source = xml.readElementText();
        } else if (name == QLatin1String("comment")) {
            m.comment = xml.readElementText();
        } else if (name == QLatin1String("translation")) {
            const QString type = xml.attributes().value(QLatin1String("type")).toString();
            m.obsolete = type == QLatin1String("obsolete") || type == QLatin1String("vanished");
            // Its text does not matter here: the compiled catalogue decides
            // what the program shows (lrelease compiles unfinished drafts too).
            xml.skipCurrentElement();
        } else {
            xml.skipCurrentElement();
        }
    }
    out->append(m);
}

void readContext(QXmlStreamReader& xml, QList<KOVCatalogueMessage>* out)
{
    QString name;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("name"))
            name = xml.readElementText();
        else if (xml.name() == QLatin1String("message"))
            readMessage(xml, name, out);
        else
            xml.skipCurrentElement();
    }
}

} // namespace

bool KOVCatalogue::readTs(const QString& path, QList<KOVCatalogueMessage>* out, QString* error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = path + QStringLiteral(": ") + f.errorString();
        return false;
    }
    QXmlStreamReader xml(&f);
    QList<KOVCatalogueMessage> messages;
    if (xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("TS"))
            xml.raiseError(QStringLiteral("not a translation source"));
        while (!xml.hasError() && xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("context"))
                readContext(xml, &messages);
            else
                xml.skipCurrentElement();
        }
    }
    if (xml.hasError()) {
        if (error)
            *error = QStringLiteral("%1:%2: %3").arg(path).arg(xml.lineNumber()).arg(xml.errorString());
        return false;
    }
    *out = messages;
    return true;
}

QString KOVCatalogue::key(const KOVCatalogueMessage& m)
{
    QString k = m.context + QStringLiteral(" | ") + m.source;
    if (!m.comment.isEmpty())
        k += QStringLiteral(" | ") + m.comment;
    return k;
}

QStringList KOVCatalogue::untranslated(const QList<KOVCatalogueMessage>& messages, const QTranslator& translator)
{
    QStringList missing;
    QSet<QString> seen;
    for (const KOVCatalogueMessage& m : messages) {
        if (m.obsolete)
            continue;
        const QByteArray context = m.context.toUtf8();
        const QByteArray source = m.source.toUtf8();
        const QByteArray comment = m.comment.toUtf8();
        const QString text = translator.translate(context.constData(), source.constData(),
                                                  m.comment.isEmpty() ? nullptr : comment.constData(),
                                                  m.numerus ? 1 : -1);
        const QString k = key(m);
        if (text.isEmpty() && !seen.contains(k)) {
            seen.insert(k);
            missing << k;
        }
    }
    return missing;
}

QStringList KOVCatalogue::duplicated(const QStringList& tsFiles, QString* error)
{
    QHash<QString, QString> firstFile;
    QStringList dups;
    for (const QString& path : tsFiles) {
        QList<KOVCatalogueMessage> messages;
        if (!readTs(path, &messages, error))
            return QStringList();
        for (const KOVCatalogueMessage& m : qAsConst(messages)) {
            const QString k = key(m);
            const auto it = firstFile.constFind(k);
            if (it == firstFile.constEnd())
                firstFile.insert(k, path);
            else if (it.value() != path && !dups.contains(k))
                dups << k;
        }
    }
    return dups;
}

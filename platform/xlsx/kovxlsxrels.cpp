#include "kovxlsxrels.h"

#include "kovxlsxxml.h"

#include <QDir>
#include <QSet>

#define KOV_REL_BASE "http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
const char* const KOVXlsxRels::kTypeOfficeDocument = KOV_REL_BASE "officeDocument";
const char* const KOVXlsxRels::kTypeWorksheet = KOV_REL_BASE "worksheet";
const char* const KOVXlsxRels::kTypeSharedStrings = KOV_REL_BASE "sharedStrings";
const char* const KOVXlsxRels::kTypeDrawing = KOV_REL_BASE "drawing";
const char* const KOVXlsxRels::kTypeImage = KOV_REL_BASE "image";
const char* const KOVXlsxRels::kTypeCalcChain = KOV_REL_BASE "calcChain";

QString KOVXlsxRels::relsPartName(const QString& sourcePart)
{
    const int slash = sourcePart.lastIndexOf(QLatin1Char('/'));
    return sourcePart.left(slash + 1) + QLatin1String("_rels/") + sourcePart.mid(slash + 1) + QLatin1String(".rels");
}

QString KOVXlsxRels::resolve(const QString& sourcePart, const QString& target)
{
    if (target.startsWith(QLatin1Char('/')))
        return QDir::cleanPath(target).mid(1);
    const int slash = sourcePart.lastIndexOf(QLatin1Char('/'));
    const QString joined = QDir::cleanPath(QLatin1Char('/') + sourcePart.left(slash + 1) + target);
    // A target climbing above the package root names nothing inside it.
    return joined.startsWith(QLatin1String("/..")) ? QString() : joined.mid(1);
}

QString KOVXlsxRels::relativeTarget(const QString& sourcePart, const QString& part)
{
    const int slash = sourcePart.lastIndexOf(QLatin1Char('/'));
    return QDir(QLatin1Char('/') + sourcePart.left(slash)).relativeFilePath(QLatin1Char('/') + part);
}

bool KOVXlsxRels::parse(const QByteArray& bytes)
{
    m_rels.clear();
    pugi::xml_document doc;
    if (!KOVXlsxXml::parse(doc, bytes))
        return false;
    for (pugi::xml_node n = doc.document_element().first_child(); n; n = n.next_sibling()) {
        if (n.type() != pugi::node_element || qstrcmp(KOVXlsxXml::localName(n), "Relationship") != 0)
            continue;
        Rel r;
        r.id = KOVXlsxXml::text(n.attribute("Id").value());
        r.type = KOVXlsxXml::text(n.attribute("Type").value());
        r.target = KOVXlsxXml::text(n.attribute("Target").value());
        r.external = qstrcmp(n.attribute("TargetMode").value(), "External") == 0;
        if (r.id.isEmpty())
            return false;
        m_rels << r;
    }
    return true;
}

QByteArray KOVXlsxRels::serialize() const
{
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child("Relationships");
    root.append_attribute("xmlns") = KOVXlsxXml::kNsPkgRel;
    for (const Rel& r : m_rels) {
        pugi::xml_node n = root.append_child("Relationship");
        n.append_attribute("Id") = r.id.toUtf8().constData();
        n.append_attribute("Type") = r.type.toUtf8().constData();
        n.append_attribute("Target") = r.target.toUtf8().constData();
        if (r.external)
            n.append_attribute("TargetMode") = "External";
    }
    return KOVXlsxXml::serialize(doc);
}

const KOVXlsxRels::Rel* KOVXlsxRels::byId(const QString& id) const
{
    for (const Rel& r : m_rels)
        if (r.id == id)
            return &r;
    return nullptr;
}

const KOVXlsxRels::Rel* KOVXlsxRels::firstOfType(const char* type) const
{
    for (const Rel& r : m_rels)
        if (r.type == QLatin1String(type))
            return &r;
    return nullptr;
}

QString KOVXlsxRels::add(const QString& type, const QString& target, bool external)
{
    QSet<QString> used;
    for (const Rel& r : qAsConst(m_rels))
        used.insert(r.id);
    QString id;
    for (int i = m_rels.size() + 1;; ++i) {
        id = QStringLiteral("rId%1").arg(i);
        if (!used.contains(id))
            break;
    }
    Rel r;
    r.id = id;
    r.type = type;
    r.target = target;
    r.external = external;
    m_rels << r;
    return id;
}

void KOVXlsxRels::remove(const QString& id)
{
    for (int i = 0; i < m_rels.size(); ++i)
        if (m_rels.at(i).id == id) {
            m_rels.removeAt(i);
            return;
        }
}

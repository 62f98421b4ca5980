#include "kovxlsxbook.h"

#include "kovxlsxtext.h"
#include "kovxlsxxml.h"

#include <QFile>
#include <QFileInfo>

#include <cstring>

KOVXlsxBook::KOVXlsxBook() = default;
KOVXlsxBook::~KOVXlsxBook() = default;

void KOVXlsxBook::clear()
{
    m_package = KOVXlsxPackage();
    m_workbookPart.clear();
    m_workbook.reset();
    m_contentTypes.reset();
    m_workbookRels = KOVXlsxRels();
    m_sheets.clear();
    m_sharedStrings.clear();
    m_pictures.clear();
    m_error.clear();
}

bool KOVXlsxBook::fail(const QString& message)
{
    m_error = message;
    return false;
}

bool KOVXlsxBook::load(const QString& path)
{
    clear();
    if (loadParts(path))
        return true;
    // Nothing of a half-read book stays usable.
    const QString error = m_error;
    clear();
    m_error = error;
    return false;
}

bool KOVXlsxBook::loadParts(const QString& path)
{
    if (!m_package.read(path))
        return fail(m_package.errorMessage());
    QString why;
    if (!KOVXlsxXml::parse(m_contentTypes, m_package.part(QStringLiteral("[Content_Types].xml")), &why))
        return fail(QStringLiteral("not a workbook: no content types (%1)").arg(why));

    KOVXlsxRels rootRels;
    if (!rootRels.parse(m_package.part(QStringLiteral("_rels/.rels"))))
        return fail(QStringLiteral("not a workbook: no package relationships"));
    const KOVXlsxRels::Rel* doc = rootRels.firstOfType(KOVXlsxRels::kTypeOfficeDocument);
    if (!doc)
        return fail(QStringLiteral("not a workbook: no main document"));
    m_workbookPart = KOVXlsxRels::resolve(QString(), doc->target);
    if (!KOVXlsxXml::parse(m_workbook, m_package.part(m_workbookPart), &why))
        return fail(QStringLiteral("not a workbook: %1 unreadable (%2)").arg(m_workbookPart, why));
    if (std::strcmp(KOVXlsxXml::localName(m_workbook.document_element()), "workbook") != 0)
        return fail(QStringLiteral("not a workbook: %1 holds no workbook").arg(m_workbookPart));
    m_workbookRels = relsOf(m_workbookPart);

    const pugi::xml_node sheets = KOVXlsxXml::child(m_workbook.document_element(), "sheets");
    for (pugi::xml_node s = sheets.first_child(); s; s = s.next_sibling()) {
        if (s.type() != pugi::node_element)
            continue;
        const QString name = KOVXlsxXml::text(s.attribute("name").value());
        const KOVXlsxRels::Rel* rel = m_workbookRels.byId(KOVXlsxXml::text(KOVXlsxXml::relIdAttribute(s).value()));
        if (!rel || rel->external)
            return fail(QStringLiteral("sheet %1 has no part").arg(name));
        const QString part = KOVXlsxRels::resolve(m_workbookPart, rel->target);
        std::unique_ptr<KOVXlsxSheet> sheet(new KOVXlsxSheet(this, name, part));
        if (!m_package.contains(part))
            return fail(QStringLiteral("sheet %1: part %2 missing").arg(name, part));
        if (!KOVXlsxXml::parse(sheet->m_doc, m_package.part(part), &why) || !sheet->normalize(&why))
            return fail(QStringLiteral("sheet %1: part %2 unreadable (%3)").arg(name, part, why));
        m_sheets.push_back(std::move(sheet));
    }
    if (m_sheets.empty())
        return fail(QStringLiteral("workbook has no sheets"));
    return loadSharedStrings();
}

bool KOVXlsxBook::loadSharedStrings()
{
    const KOVXlsxRels::Rel* rel = m_workbookRels.firstOfType(KOVXlsxRels::kTypeSharedStrings);
    const QString part = rel ? KOVXlsxRels::resolve(m_workbookPart, rel->target) : QString();
    if (part.isEmpty() || !m_package.contains(part))
        return true;
    pugi::xml_document doc;
    QString why;
    if (!KOVXlsxXml::parse(doc, m_package.part(part), &why))
        return fail(QStringLiteral("shared strings %1 unreadable (%2)").arg(part, why));
    for (pugi::xml_node si = doc.document_element().first_child(); si; si = si.next_sibling())
        if (si.type() == pugi::node_element && std::strcmp(KOVXlsxXml::localName(si), "si") == 0)
            m_sharedStrings << KOVXlsxXml::runText(si);
    return true;
}

KOVXlsxSheet* KOVXlsxBook::sheet(int index) const
{
    return index >= 0 && index < sheetCount() ? m_sheets[size_t(index)].get() : nullptr;
}

int KOVXlsxBook::sheetIndex(const KOVXlsxSheet* sheet) const
{
    for (size_t i = 0; i < m_sheets.size(); ++i)
        if (m_sheets[i].get() == sheet)
            return int(i);
    return -1;
}

QString KOVXlsxBook::sharedString(int index) const
{
    return index >= 0 && index < m_sharedStrings.size() ? m_sharedStrings.at(index) : QString();
}

int KOVXlsxBook::addPicture(const QString& path)
{
    m_error.clear();
    QFile f(path);
    if (!QFileInfo(path).isFile() || !f.open(QIODevice::ReadOnly)) {
        fail(QStringLiteral("cannot read picture %1").arg(path));
        return -1;
    }
    if (f.size() > kMaxPictureSize) {
        fail(QStringLiteral("picture too large: %1").arg(path));
        return -1;
    }
    Picture pic;
    pic.data = f.readAll();
    pic.info = KOVXlsxImageInfo::probe(pic.data);
    if (!pic.info.isValid()) {
        fail(QStringLiteral("not a JPEG, PNG, GIF or BMP picture: %1").arg(path));
        return -1;
    }
    m_pictures << pic;
    return m_pictures.size() - 1;
}

KOVXlsxImageInfo KOVXlsxBook::pictureInfo(int id) const
{
    return id >= 0 && id < m_pictures.size() ? m_pictures.at(id).info : KOVXlsxImageInfo();
}

KOVXlsxRels KOVXlsxBook::relsOf(const QString& part) const
{
    KOVXlsxRels rels;
    const QString name = KOVXlsxRels::relsPartName(part);
    if (m_package.contains(name))
        rels.parse(m_package.part(name));
    return rels;
}

void KOVXlsxBook::storeRels(const QString& part, const KOVXlsxRels& rels)
{
    const QString name = KOVXlsxRels::relsPartName(part);
    if (rels.isEmpty())
        m_package.removePart(name);
    else
        m_package.setPart(name, rels.serialize());
}

void KOVXlsxBook::setOverride(const QString& part, const QString& contentType)
{
    removeOverride(part);
    pugi::xml_node n = m_contentTypes.document_element().append_child("Override");
    n.append_attribute("PartName") = (QLatin1Char('/') + part).toUtf8().constData();
    n.append_attribute("ContentType") = contentType.toUtf8().constData();
}

QString KOVXlsxBook::overrideOf(const QString& part) const
{
    const QString name = QLatin1Char('/') + part;
    for (pugi::xml_node n = m_contentTypes.document_element().first_child(); n; n = n.next_sibling())
        if (std::strcmp(KOVXlsxXml::localName(n), "Override") == 0
            && KOVXlsxXml::text(n.attribute("PartName").value()).compare(name, Qt::CaseInsensitive) == 0)
            return KOVXlsxXml::text(n.attribute("ContentType").value());
    return QString();
}

void KOVXlsxBook::removeOverride(const QString& part)
{
    const QString name = QLatin1Char('/') + part;
    pugi::xml_node root = m_contentTypes.document_element();
    for (pugi::xml_node n = root.first_child(); n;) {
        const pugi::xml_node next = n.next_sibling();
        if (std::strcmp(KOVXlsxXml::localName(n), "Override") == 0
            && KOVXlsxXml::text(n.attribute("PartName").value()).compare(name, Qt::CaseInsensitive) == 0)
            root.remove_child(n);
        n = next;
    }
}

void KOVXlsxBook::ensureDefault(const QString& extension, const QString& contentType)
{
    pugi::xml_node root = m_contentTypes.document_element();
    pugi::xml_node firstOverride;
    for (pugi::xml_node n = root.first_child(); n; n = n.next_sibling()) {
        if (std::strcmp(KOVXlsxXml::localName(n), "Default") == 0
            && KOVXlsxXml::text(n.attribute("Extension").value()).compare(extension, Qt::CaseInsensitive) == 0)
            return;
        if (!firstOverride && std::strcmp(KOVXlsxXml::localName(n), "Override") == 0)
            firstOverride = n;
    }
    pugi::xml_node n = firstOverride ? root.insert_child_before("Default", firstOverride) : root.append_child("Default");
    n.append_attribute("Extension") = extension.toUtf8().constData();
    n.append_attribute("ContentType") = contentType.toUtf8().constData();
}

QString KOVXlsxBook::cloneName(const QString& part) const
{
    // "xl/drawings/drawing3.xml" gives "xl/drawings/drawing%1.xml".
    const int slash = part.lastIndexOf(QLatin1Char('/'));
    int dot = part.lastIndexOf(QLatin1Char('.'));
    if (dot <= slash)
        dot = part.size();
    int stem = dot;
    while (stem > slash + 1 && part.at(stem - 1).isDigit())
        --stem;
    QString pattern = part.left(stem) + QLatin1String("%1") + part.mid(dot);
    return m_package.uniqueName(pattern);
}

QString KOVXlsxBook::relPrefix(pugi::xml_node root)
{
    for (pugi::xml_attribute a = root.first_attribute(); a; a = a.next_attribute())
        if (std::strncmp(a.name(), "xmlns:", 6) == 0 && std::strcmp(a.value(), KOVXlsxXml::kNsRel) == 0)
            return QString::fromUtf8(a.name() + 6);
    // Not declared yet: declare it under a prefix nothing else uses.
    QString prefix = QStringLiteral("r");
    for (int i = 1; root.attribute(("xmlns:" + prefix).toUtf8().constData()); ++i)
        prefix = QStringLiteral("r%1").arg(i);
    root.append_attribute(("xmlns:" + prefix).toUtf8().constData()) = KOVXlsxXml::kNsRel;
    return prefix;
}

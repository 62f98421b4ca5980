// Sheet copies: the new sheet gets its own part, its own copies of the parts
// the pattern refers to (drawings, comments, printer settings), its own
// relationship from the workbook, sheet id and content type.
#include "kovxlsxbook.h"

#include "kovxlsxtext.h"
#include "kovxlsxxml.h"

#include <QRegularExpression>

#include <cstring>

namespace {
const char* const kWorksheetType = "application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml";
}

KOVXlsxSheet* KOVXlsxBook::addSheetCopy(const QString& name, const KOVXlsxSheet* pattern)
{
    m_error.clear();
    const int from = sheetIndex(pattern);
    if (from < 0) {
        fail(QStringLiteral("the pattern is not a sheet of this book"));
        return nullptr;
    }
    if (!KOVXlsxText::isValidSheetName(name)) {
        fail(QStringLiteral("unusable sheet name: %1").arg(name));
        return nullptr;
    }
    for (const auto& s : m_sheets) {
        if (s->name().compare(name, Qt::CaseInsensitive) == 0) {
            fail(QStringLiteral("sheet name taken: %1").arg(name));
            return nullptr;
        }
    }
    pugi::xml_node sheets = KOVXlsxXml::child(m_workbook.document_element(), "sheets");
    const pugi::xml_attribute patternRid = KOVXlsxXml::relIdAttribute(sheets.first_child());
    if (!sheets || !patternRid) {
        fail(QStringLiteral("workbook has no sheet list"));
        return nullptr;
    }

    // Sheet ids are 32-bit; a template using the last one leaves none free.
    unsigned maxId = 0;
    for (pugi::xml_node s = sheets.first_child(); s; s = s.next_sibling())
        maxId = qMax(maxId, s.attribute("sheetId").as_uint());
    if (maxId == 0xFFFFFFFFu) {
        fail(QStringLiteral("no sheet id left after %1").arg(maxId));
        return nullptr;
    }

    const QString part = m_package.uniqueName(QStringLiteral("xl/worksheets/sheet%1.xml"));
    // Claimed now; the XML itself is written when the book is saved.
    m_package.setPart(part, QByteArray());
    std::unique_ptr<KOVXlsxSheet> sheet(new KOVXlsxSheet(this, name, part));
    sheet->m_doc.reset(pattern->m_doc);
    sheet->m_anchors = pattern->m_anchors;
    sheet->m_dirty = true;
    // Only one sheet may be selected; the copy must not join the pattern.
    const pugi::xml_node views = KOVXlsxXml::child(sheet->m_doc.document_element(), "sheetViews");
    for (pugi::xml_node v = views.first_child(); v; v = v.next_sibling())
        v.remove_attribute("tabSelected");
    copySheetRels(pattern->m_part, part);

    const QString rid = m_workbookRels.add(QLatin1String(KOVXlsxRels::kTypeWorksheet),
                                           KOVXlsxRels::relativeTarget(m_workbookPart, part));
    pugi::xml_node entry = KOVXlsxXml::addChild(sheets, "sheet");
    entry.append_attribute("name") = name.toUtf8().constData();
    entry.append_attribute("sheetId") = maxId + 1;
    entry.append_attribute(patternRid.name()) = rid.toUtf8().constData();
    setOverride(part, QLatin1String(kWorksheetType));

    copyDefinedNames(from, sheetCount(), pattern->name(), name);
    m_sheets.push_back(std::move(sheet));
    return m_sheets.back().get();
}

void KOVXlsxBook::copySheetRels(const QString& fromPart, const QString& toPart)
{
    const KOVXlsxRels rels = relsOf(fromPart);
    KOVXlsxRels copy;
    for (KOVXlsxRels::Rel r : rels.rels()) {
        const QString src = r.external ? QString() : KOVXlsxRels::resolve(fromPart, r.target);
        if (!src.isEmpty() && m_package.contains(src)) {
            const QString clone = cloneName(src);
            m_package.setPart(clone, m_package.part(src));
            const QString type = overrideOf(src);
            if (!type.isEmpty())
                setOverride(clone, type);
            // The clone lies beside its source, so its own relative targets
            // (the pictures of a drawing) still reach the same parts.
            const QString srcRels = KOVXlsxRels::relsPartName(src);
            if (m_package.contains(srcRels))
                m_package.setPart(KOVXlsxRels::relsPartName(clone), m_package.part(srcRels));
            r.target = KOVXlsxRels::relativeTarget(toPart, clone);
        }
        // Ids stay as they are: the copied sheet XML refers to them.
        copy.append(r);
    }
    storeRels(toPart, copy);
}

void KOVXlsxBook::copyDefinedNames(int fromIndex, int toIndex, const QString& oldName, const QString& newName)
{
    // Print areas and print titles are names local to their sheet; the copy
    // gets its own, pointing at itself.
    pugi::xml_node names = KOVXlsxXml::child(m_workbook.document_element(), "definedNames");
    QList<pugi::xml_node> local;
    for (pugi::xml_node n = names.first_child(); n; n = n.next_sibling())
        if (n.type() == pugi::node_element && n.attribute("localSheetId")
            && n.attribute("localSheetId").as_int() == fromIndex)
            local << n;
    for (const pugi::xml_node& n : qAsConst(local)) {
        pugi::xml_node copy = names.append_copy(n);
        copy.attribute("localSheetId") = toIndex;
        QString formula = KOVXlsxXml::text(n.text().get());
        formula.replace(KOVXlsxText::quotedSheetName(oldName) + QLatin1Char('!'), KOVXlsxText::quotedSheetName(newName) + QLatin1Char('!'));
        if (!oldName.contains(QLatin1Char(' ')))
            formula.replace(QRegularExpression(QStringLiteral("(^|[,(])") + QRegularExpression::escape(oldName) + QStringLiteral("!")),
                            QStringLiteral("\\1") + KOVXlsxText::quotedSheetName(newName) + QLatin1Char('!'));
        copy.text().set(formula.toUtf8().constData());
    }
}

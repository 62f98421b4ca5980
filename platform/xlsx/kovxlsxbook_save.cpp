// Saving: pictures become drawing and media parts, the calculation chain is
// dropped, and every changed XML part is written back into the package.
#include "kovxlsxbook.h"

#include "kovxlsxdrawing.h"
#include "kovxlsxgeometry.h"
#include "kovxlsxxml.h"

#include <cmath>

namespace {
const char* const kDrawingType = "application/vnd.openxmlformats-officedocument.drawing+xml";

const char* editAsOf(KOVXlsxSheet::Placement p)
{
    switch (p) {
    case KOVXlsxSheet::MoveOnly:
        return "oneCell";
    case KOVXlsxSheet::Absolute:
        return "absolute";
    case KOVXlsxSheet::MoveAndSize:
        break;
    }
    return "twoCell";
}
} // namespace

bool KOVXlsxBook::save(const QString& path)
{
    m_error.clear();
    if (!m_workbook.document_element())
        return fail(QStringLiteral("no workbook loaded"));
    QHash<int, QString> media;
    for (const auto& s : m_sheets)
        if (!s->m_anchors.isEmpty() && !placePictures(s.get(), &media))
            return false;
    dropCalcChain();

    m_package.setPart(m_workbookPart, KOVXlsxXml::serialize(m_workbook));
    storeRels(m_workbookPart, m_workbookRels);
    for (const auto& s : m_sheets) {
        if (s->m_dirty) {
            m_package.setPart(s->m_part, KOVXlsxXml::serialize(s->m_doc));
            s->m_dirty = false;
        }
    }
    m_package.setPart(QStringLiteral("[Content_Types].xml"), KOVXlsxXml::serialize(m_contentTypes));
    if (!m_package.write(path))
        return fail(m_package.errorMessage());
    return true;
}

bool KOVXlsxBook::placePictures(KOVXlsxSheet* sheet, QHash<int, QString>* media)
{
    pugi::xml_node root = sheet->m_doc.document_element();
    KOVXlsxRels sheetRels = relsOf(sheet->m_part);

    // Pictures join the sheet's drawing when it has one, else a new drawing.
    QString drawingPart;
    pugi::xml_document drawing;
    pugi::xml_node ref = KOVXlsxXml::child(root, "drawing");
    if (ref) {
        const KOVXlsxRels::Rel* rel = sheetRels.byId(KOVXlsxXml::text(KOVXlsxXml::relIdAttribute(ref).value()));
        const QString part = rel && !rel->external ? KOVXlsxRels::resolve(sheet->m_part, rel->target) : QString();
        if (!part.isEmpty() && KOVXlsxXml::parse(drawing, m_package.part(part)))
            drawingPart = part;
        else
            root.remove_child(ref);
    }
    if (drawingPart.isEmpty()) {
        drawingPart = m_package.uniqueName(QStringLiteral("xl/drawings/drawing%1.xml"));
        KOVXlsxDrawing::init(drawing);
        const QString rid = sheetRels.add(QLatin1String(KOVXlsxRels::kTypeDrawing),
                                          KOVXlsxRels::relativeTarget(sheet->m_part, drawingPart));
        const QString prefix = relPrefix(root);
        ref = KOVXlsxXml::addWorksheetChild(root, "drawing");
        ref.append_attribute((prefix + QLatin1String(":id")).toUtf8().constData()) = rid.toUtf8().constData();
        setOverride(drawingPart, QLatin1String(kDrawingType));
        storeRels(sheet->m_part, sheetRels);
    }

    KOVXlsxRels drawingRels = relsOf(drawingPart);
    const KOVXlsxGeometry geometry(root);
    for (const KOVXlsxSheet::Anchor& a : qAsConst(sheet->m_anchors)) {
        const Picture& pic = m_pictures.at(a.pictureId);
        if (!media->contains(a.pictureId)) {
            const QString name = m_package.uniqueName(QStringLiteral("xl/media/image%1.") + pic.info.extension);
            m_package.setPart(name, pic.data);
            ensureDefault(pic.info.extension, pic.info.contentType);
            media->insert(a.pictureId, name);
        }
        const QString rid = drawingRels.add(QLatin1String(KOVXlsxRels::kTypeImage),
                                            KOVXlsxRels::relativeTarget(drawingPart, media->value(a.pictureId)));
        const qint64 w = qMax<qint64>(1, std::llround(pic.info.size.width() * a.scale));
        const qint64 h = qMax<qint64>(1, std::llround(pic.info.size.height() * a.scale));
        // Offsets count right and down from the anchor cell only.
        const qint64 dx = qMax(0, a.dx);
        const qint64 dy = qMax(0, a.dy);
        const KOVXlsxGeometry::Point from = geometry.locate(a.row, a.col, dx, dy);
        const KOVXlsxGeometry::Point to = geometry.locate(a.row, a.col, dx + w, dy + h);
        KOVXlsxDrawing::addPicture(drawing, from, to, w * KOVXlsxGeometry::kEmuPerPixel,
                                   h * KOVXlsxGeometry::kEmuPerPixel, rid, editAsOf(a.placement));
    }
    m_package.setPart(drawingPart, KOVXlsxXml::serialize(drawing));
    storeRels(drawingPart, drawingRels);
    sheet->m_anchors.clear();
    sheet->m_dirty = true;
    return true;
}

void KOVXlsxBook::dropCalcChain()
{
    while (const KOVXlsxRels::Rel* rel = m_workbookRels.firstOfType(KOVXlsxRels::kTypeCalcChain)) {
        const QString id = rel->id;
        const QString part = KOVXlsxRels::resolve(m_workbookPart, rel->target);
        m_package.removePart(part);
        removeOverride(part);
        m_workbookRels.remove(id);
    }
}

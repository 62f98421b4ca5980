#include "kovxlsxdrawing.h"

#include "kovxlsxxml.h"

#include <cstring>

void KOVXlsxDrawing::init(pugi::xml_document& doc)
{
    doc.reset();
    pugi::xml_node root = doc.append_child("xdr:wsDr");
    root.append_attribute("xmlns:xdr") = KOVXlsxXml::kNsXdr;
    root.append_attribute("xmlns:a") = KOVXlsxXml::kNsDrawing;
    root.append_attribute("xmlns:r") = KOVXlsxXml::kNsRel;
}

int KOVXlsxDrawing::nextShapeId(const pugi::xml_node& root)
{
    // Ids too large to count on from are passed over, not trusted.
    struct MaxId : pugi::xml_tree_walker
    {
        int max = 0;
        bool for_each(pugi::xml_node& n) override
        {
            int id = 0;
            if (n.type() == pugi::node_element && std::strcmp(KOVXlsxXml::localName(n), "cNvPr") == 0
                && KOVXlsxXml::intAttribute(n.attribute("id"), 0, kMaxShapeId, &id)) {
                max = qMax(max, id);
            }
            return true;
        }
    } walker;
    pugi::xml_node(root).traverse(walker);
    return walker.max + 1;
}

void KOVXlsxDrawing::writePoint(pugi::xml_node parent, const QString& prefix, const char* local,
                                const KOVXlsxGeometry::Point& p)
{
    const auto name = [&](const char* l) { return (prefix + QLatin1String(l)).toUtf8(); };
    pugi::xml_node n = parent.append_child(name(local).constData());
    n.append_child(name("col").constData()).text().set(p.col);
    n.append_child(name("colOff").constData()).text().set(static_cast<long long>(p.colOff));
    n.append_child(name("row").constData()).text().set(p.row);
    n.append_child(name("rowOff").constData()).text().set(static_cast<long long>(p.rowOff));
}

void KOVXlsxDrawing::addPicture(pugi::xml_document& doc, const KOVXlsxGeometry::Point& from,
                                const KOVXlsxGeometry::Point& to, qint64 cx, qint64 cy,
                                const QString& relId, const char* editAs)
{
    pugi::xml_node root = doc.document_element();
    const QString p = KOVXlsxXml::prefixOf(root);
    const QString x = p.isEmpty() ? QString() : p + QLatin1Char(':');
    const auto name = [&](const char* l) { return (x + QLatin1String(l)).toUtf8(); };
    const int id = nextShapeId(root);

    pugi::xml_node anchor = root.append_child(name("twoCellAnchor").constData());
    anchor.append_attribute("editAs") = editAs;
    writePoint(anchor, x, "from", from);
    writePoint(anchor, x, "to", to);

    // The drawing namespaces are declared here as well: an existing drawing
    // part need not have declared them under these prefixes.
    pugi::xml_node pic = anchor.append_child(name("pic").constData());
    pic.append_attribute("xmlns:a") = KOVXlsxXml::kNsDrawing;
    pic.append_attribute("xmlns:r") = KOVXlsxXml::kNsRel;
    pugi::xml_node nv = pic.append_child(name("nvPicPr").constData());
    pugi::xml_node cNvPr = nv.append_child(name("cNvPr").constData());
    cNvPr.append_attribute("id") = id;
    cNvPr.append_attribute("name") = QStringLiteral("Picture %1").arg(id).toUtf8().constData();
    nv.append_child(name("cNvPicPr").constData()).append_child("a:picLocks").append_attribute("noChangeAspect") = 1;

    pugi::xml_node fill = pic.append_child(name("blipFill").constData());
    fill.append_child("a:blip").append_attribute("r:embed") = relId.toUtf8().constData();
    fill.append_child("a:stretch").append_child("a:fillRect");

    pugi::xml_node sp = pic.append_child(name("spPr").constData());
    pugi::xml_node xfrm = sp.append_child("a:xfrm");
    pugi::xml_node off = xfrm.append_child("a:off");
    off.append_attribute("x") = 0;
    off.append_attribute("y") = 0;
    pugi::xml_node ext = xfrm.append_child("a:ext");
    ext.append_attribute("cx") = static_cast<long long>(cx);
    ext.append_attribute("cy") = static_cast<long long>(cy);
    pugi::xml_node geom = sp.append_child("a:prstGeom");
    geom.append_attribute("prst") = "rect";
    geom.append_child("a:avLst");

    anchor.append_child(name("clientData").constData());
}

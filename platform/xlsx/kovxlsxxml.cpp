#include "kovxlsxxml.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

const char* const KOVXlsxXml::kNsMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const char* const KOVXlsxXml::kNsRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
const char* const KOVXlsxXml::kNsPkgRel = "http://schemas.openxmlformats.org/package/2006/relationships";
const char* const KOVXlsxXml::kNsContentTypes = "http://schemas.openxmlformats.org/package/2006/content-types";
const char* const KOVXlsxXml::kNsXdr = "http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing";
const char* const KOVXlsxXml::kNsDrawing = "http://schemas.openxmlformats.org/drawingml/2006/main";

namespace {

// Order of the children of a worksheet; a child has to stand before every
// child named later in this list or strict readers ask to repair the file.
const char* const kWorksheetOrder[] = {
    "sheetPr", "dimension", "sheetViews", "sheetFormatPr", "cols", "sheetData",
    "sheetCalcPr", "sheetProtection", "protectedRanges", "scenarios", "autoFilter",
    "sortState", "dataConsolidate", "customSheetViews", "mergeCells", "phoneticPr",
    "conditionalFormatting", "dataValidations", "hyperlinks", "printOptions",
    "pageMargins", "pageSetup", "headerFooter", "rowBreaks", "colBreaks",
    "customProperties", "cellWatches", "ignoredErrors", "smartTags", "drawing",
    "legacyDrawing", "legacyDrawingHF", "drawingHF", "picture", "oleObjects",
    "controls", "webPublishItems", "tableParts", "extLst",
};

int orderIndex(const char* local)
{
    const int n = int(sizeof(kWorksheetOrder) / sizeof(kWorksheetOrder[0]));
    for (int i = 0; i < n; ++i)
        if (std::strcmp(kWorksheetOrder[i], local) == 0)
            return i;
    return n; // unknown children count as extensions at the end
}

} // namespace

const char* KOVXlsxXml::localName(const pugi::xml_node& node)
{
    const char* name = node.name();
    const char* colon = std::strchr(name, ':');
    return colon ? colon + 1 : name;
}

QString KOVXlsxXml::prefixOf(const pugi::xml_node& node)
{
    const char* name = node.name();
    const char* colon = std::strchr(name, ':');
    return colon ? QString::fromUtf8(name, int(colon - name)) : QString();
}

pugi::xml_node KOVXlsxXml::child(const pugi::xml_node& parent, const char* local)
{
    for (pugi::xml_node n = parent.first_child(); n; n = n.next_sibling())
        if (n.type() == pugi::node_element && std::strcmp(localName(n), local) == 0)
            return n;
    return pugi::xml_node();
}

pugi::xml_node KOVXlsxXml::addChild(pugi::xml_node parent, const char* local, const pugi::xml_node& before)
{
    const QString prefix = prefixOf(parent);
    const QByteArray name = prefix.isEmpty() ? QByteArray(local) : (prefix + QLatin1Char(':') + QLatin1String(local)).toUtf8();
    return before ? parent.insert_child_before(name.constData(), before) : parent.append_child(name.constData());
}

pugi::xml_node KOVXlsxXml::addWorksheetChild(pugi::xml_node worksheet, const char* local)
{
    const int mine = orderIndex(local);
    for (pugi::xml_node n = worksheet.first_child(); n; n = n.next_sibling())
        if (n.type() == pugi::node_element && orderIndex(localName(n)) > mine)
            return addChild(worksheet, local, n);
    return addChild(worksheet, local);
}

pugi::xml_attribute KOVXlsxXml::relIdAttribute(const pugi::xml_node& node)
{
    for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute()) {
        const char* name = a.name();
        const char* colon = std::strchr(name, ':');
        if (colon && std::strcmp(colon + 1, "id") == 0)
            return a;
    }
    return pugi::xml_attribute();
}

QString KOVXlsxXml::runText(const pugi::xml_node& node)
{
    QString out;
    for (pugi::xml_node n = node.first_child(); n; n = n.next_sibling()) {
        if (n.type() != pugi::node_element)
            continue;
        const char* local = localName(n);
        if (std::strcmp(local, "t") == 0)
            out += QString::fromUtf8(n.text().get());
        else if (std::strcmp(local, "rPh") != 0)
            out += runText(n);
    }
    return out;
}

namespace {
struct DepthWalker : pugi::xml_tree_walker
{
    bool tooDeep = false;
    bool for_each(pugi::xml_node&) override
    {
        tooDeep = depth() >= KOVXlsxXml::kMaxDepth;
        return !tooDeep;
    }
};
} // namespace

bool KOVXlsxXml::parse(pugi::xml_document& doc, const QByteArray& bytes, QString* error)
{
    // Whitespace-only text is kept: a cell may hold just blanks.
    const unsigned options = pugi::parse_default | pugi::parse_ws_pcdata_single;
    const pugi::xml_parse_result r = doc.load_buffer(bytes.constData(), size_t(bytes.size()), options, pugi::encoding_auto);
    if (!r || !doc.document_element()) {
        if (error)
            *error = r ? QStringLiteral("no root element") : QString::fromUtf8(r.description());
        return false;
    }
    // pugixml walks iteratively; the limit is for the recursive walks above it.
    DepthWalker walker;
    doc.traverse(walker);
    if (walker.tooDeep) {
        doc.reset();
        if (error)
            *error = QStringLiteral("elements nested deeper than %1 levels").arg(kMaxDepth);
        return false;
    }
    return true;
}

bool KOVXlsxXml::intAttribute(const pugi::xml_attribute& a, qint64 lo, qint64 hi, int* out)
{
    if (!a || !*a.value())
        return false;
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(a.value(), &end, 10);
    while (end && (*end == ' ' || *end == '\t' || *end == '\n' || *end == '\r'))
        ++end;
    if (errno == ERANGE || !end || *end != '\0' || v < lo || v > hi)
        return false;
    *out = int(v);
    return true;
}

double KOVXlsxXml::boundedNumber(const pugi::xml_attribute& a, double lo, double hi, double fallback)
{
    if (!a)
        return fallback;
    const double v = a.as_double();
    return std::isfinite(v) ? qBound(lo, v, hi) : fallback;
}

namespace {
struct ByteWriter : pugi::xml_writer
{
    QByteArray* out;
    void write(const void* data, size_t size) override { out->append(static_cast<const char*>(data), int(size)); }
};
} // namespace

QByteArray KOVXlsxXml::serialize(const pugi::xml_document& doc)
{
    QByteArray out;
    ByteWriter w;
    w.out = &out;
    // Raw output: indentation would become cell text in preserved runs.
    doc.save(w, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    return QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n") + out;
}

#ifndef KOVXLSXXML_H
#define KOVXLSXXML_H

#include <QByteArray>
#include <QString>

#include <pugixml.hpp>

// Namespace-prefix tolerant access to the package's XML parts. Producers may
// write any prefix for the main namespace, so elements are matched by their
// local name and new ones take the prefix of their parent.
class KOVXlsxXml
{
public:
    static const char* const kNsMain;
    static const char* const kNsRel;
    static const char* const kNsPkgRel;
    static const char* const kNsContentTypes;
    static const char* const kNsXdr;
    static const char* const kNsDrawing;

    static const char* localName(const pugi::xml_node& node);
    static QString prefixOf(const pugi::xml_node& node);
    static pugi::xml_node child(const pugi::xml_node& parent, const char* local);
    // Appends (or inserts before `before`) an element named like its parent's prefix.
    static pugi::xml_node addChild(pugi::xml_node parent, const char* local,
                                   const pugi::xml_node& before = pugi::xml_node());
    // Inserts a worksheet child where the worksheet schema orders it.
    static pugi::xml_node addWorksheetChild(pugi::xml_node worksheet, const char* local);
    // The r:id style attribute of an element, whatever prefix it uses.
    static pugi::xml_attribute relIdAttribute(const pugi::xml_node& node);
    // Concatenated text of every <t> below node, skipping phonetic runs.
    static QString runText(const pugi::xml_node& node);

    // Parts nesting deeper than this are refused: real ones nest about a
    // dozen levels, and every walk over a part (ours and pugixml's copies)
    // then stays far from the end of the stack. error, when given, says why.
    static const int kMaxDepth = 256;
    static bool parse(pugi::xml_document& doc, const QByteArray& bytes, QString* error = nullptr);

    // Numbers in attributes come from files users may replace: a whole
    // number within [lo, hi] or false (out untouched); a finite number cut
    // to [lo, hi] or fallback.
    static bool intAttribute(const pugi::xml_attribute& a, qint64 lo, qint64 hi, int* out);
    static double boundedNumber(const pugi::xml_attribute& a, double lo, double hi, double fallback);
    static QByteArray serialize(const pugi::xml_document& doc);
    static QString text(const pugi::char_t* s) { return QString::fromUtf8(s); }
};

#endif // KOVXLSXXML_H

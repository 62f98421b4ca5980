#ifndef KOVCATALOGUE_H
#define KOVCATALOGUE_H

#include <QList>
#include <QString>
#include <QStringList>

class QTranslator;

// One message of a translation source (.ts) file.
struct KOVCatalogueMessage
{
    QString context;
    QString source;
    QString comment; // the disambiguation passed to tr()
    bool numerus = false;
    bool obsolete = false; // vanished or obsolete: no longer in the sources
};

// Reads .ts files and tells which texts of the program a compiled
// catalogue leaves untranslated.
class KOVCatalogue
{
public:
    // The messages of one .ts file in file order; false (with error set)
    // when the file cannot be read or is not well-formed XML.
    static bool readTs(const QString& path, QList<KOVCatalogueMessage>* out, QString* error = nullptr);

    // "context | source" of every current message the translator has no
    // translation for, each once, in the order met.
    static QStringList untranslated(const QList<KOVCatalogueMessage>& messages, const QTranslator& translator);

    // "context | source" of messages that appear in more than one of the
    // given files: lrelease keeps only one of them, whichever comes first.
    static QStringList duplicated(const QStringList& tsFiles, QString* error = nullptr);

    static QString key(const KOVCatalogueMessage& m);
};

#endif // KOVCATALOGUE_H

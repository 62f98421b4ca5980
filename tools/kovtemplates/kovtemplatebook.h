#ifndef KOVTEMPLATEBOOK_H
#define KOVTEMPLATEBOOK_H

#include <QMap>
#include <QString>

// Builds one template workbook (home sheet and first test point sheet) from
// the text sources in one folder, for one report type and one language.
class KOVTemplateBook
{
public:
    // reportType "gas" or "elec", language "ch" or "en".
    static bool build(const QString& sourceDir, const QString& reportType, const QString& language,
                      const QString& target, QString* error);

private:
    static bool readText(const QString& path, QString* text, QString* error);
    static bool readTexts(const QString& path, QMap<QString, QString>* texts, QString* error);
};

#endif // KOVTEMPLATEBOOK_H

#ifndef KOVXLSXBOOK_H
#define KOVXLSXBOOK_H

#include "kovxlsximageinfo.h"
#include "kovxlsxpackage.h"
#include "kovxlsxrels.h"
#include "kovxlsxsheet.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

#include <pugixml.hpp>

// An .xlsx workbook held in memory: loaded from a file, changed through its
// sheets, written back as a whole. Every part this layer does not touch is
// written back byte for byte. Not thread-safe; one thread at a time.
class KOVXlsxBook
{
public:
    KOVXlsxBook();
    ~KOVXlsxBook();

    KOVXlsxBook(const KOVXlsxBook&) = delete;
    KOVXlsxBook& operator=(const KOVXlsxBook&) = delete;

    bool load(const QString& path);
    // Saves to path atomically; the calculation chain is dropped because
    // the cells it lists may have changed.
    bool save(const QString& path);

    int sheetCount() const { return int(m_sheets.size()); }
    // Null when there is no sheet at index.
    KOVXlsxSheet* sheet(int index) const;
    // Appends a deep copy of pattern (cells, styles, merged cells, column
    // widths, row heights, page setup, pictures) named name. Null when the
    // name is unusable or taken, or pattern is not a sheet of this book.
    KOVXlsxSheet* addSheetCopy(const QString& name, const KOVXlsxSheet* pattern);

    // Reads a JPEG, PNG, GIF or BMP file; returns its identifier, or -1.
    int addPicture(const QString& path);
    int pictureCount() const { return m_pictures.size(); }
    KOVXlsxImageInfo pictureInfo(int id) const;

    // Text of the last failure; empty when the last operation succeeded.
    QString errorMessage() const { return m_error; }

    static const qint64 kMaxPictureSize = 64 * 1024 * 1024;

private:
    friend class KOVXlsxSheet;

    struct Picture
    {
        QByteArray data;
        KOVXlsxImageInfo info;
    };

    void clear();
    bool loadParts(const QString& path);
    bool loadSharedStrings();
    bool fail(const QString& message);
    QString sharedString(int index) const;
    int sheetIndex(const KOVXlsxSheet* sheet) const;

    // Package helpers.
    KOVXlsxRels relsOf(const QString& part) const;
    void storeRels(const QString& part, const KOVXlsxRels& rels);
    void setOverride(const QString& part, const QString& contentType);
    QString overrideOf(const QString& part) const;
    void removeOverride(const QString& part);
    void ensureDefault(const QString& extension, const QString& contentType);
    QString cloneName(const QString& part) const;
    QString relPrefix(pugi::xml_node root);

    // Copy and save steps.
    void copySheetRels(const QString& fromPart, const QString& toPart);
    void copyDefinedNames(int fromIndex, int toIndex, const QString& oldName, const QString& newName);
    bool placePictures(KOVXlsxSheet* sheet, QHash<int, QString>* media);
    void dropCalcChain();

    KOVXlsxPackage m_package;
    QString m_workbookPart;
    pugi::xml_document m_workbook;
    pugi::xml_document m_contentTypes;
    KOVXlsxRels m_workbookRels;
    std::vector<std::unique_ptr<KOVXlsxSheet>> m_sheets;
    QStringList m_sharedStrings;
    QList<Picture> m_pictures;
    QString m_error;
};

#endif // KOVXLSXBOOK_H

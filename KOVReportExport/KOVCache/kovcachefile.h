#ifndef KOVCACHEFILE_H
#define KOVCACHEFILE_H

#include <QJsonObject>
#include <QString>

// The recovery cache folder "./cache/" (relative to the working directory):
// "cache.json" and the pictures the review pages save beside it.
//
// The document is written through a temporary file renamed over the old one,
// so a crash in the middle of a write leaves the previous complete document
// (or none), never a torn one, and of two writes the last one stands.
class KOVCacheFile
{
public:
    // dir ends in "/"; the default is the application's "./cache/".
    explicit KOVCacheFile(const QString& dir = QStringLiteral("./cache/"));

    QString dir() const { return m_dir; }
    QString jsonPath() const { return m_dir + QStringLiteral("cache.json"); }
    bool exists() const;

    // Creates the folder when needed and replaces the document. The JSON is
    // indented by four blanks with the members in key order.
    bool write(const QJsonObject& root, QString* error = nullptr) const;

    // Reads and parses the document; false with a reason for a file that
    // cannot be read, is no JSON or holds no object.
    bool read(QJsonObject* root, QString* error) const;

    // A fresh picture path beside the document: dir + 32 hex digits + ".jpg".
    QString newImagePath() const;

    // Renames the whole folder to a sibling "<dir>-failed-yyyyMMdd-hhmmss"
    // (numbered when taken), so the work in it can be recovered by hand and
    // the restore question does not come back. Returns the new folder path,
    // empty when the rename failed.
    QString moveAside() const;

    // Removes the folder with everything in it; a folder that is a link is
    // removed as the link alone.
    bool remove() const;

private:
    QString m_dir;
};

#endif // KOVCACHEFILE_H

#ifndef KOVXLSXPACKAGE_H
#define KOVXLSXPACKAGE_H

#include <QByteArray>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

// The zip container of a workbook: every part held in memory by its name
// (zip entry name, no leading slash), in the order of the archive.
class KOVXlsxPackage
{
public:
    bool read(const QString& path);
    // Writes every part into a new archive that replaces path only once it
    // is complete, so a failed write leaves no half-written file behind.
    bool write(const QString& path) const;

    bool contains(const QString& name) const { return m_parts.contains(name); }
    QByteArray part(const QString& name) const { return m_parts.value(name); }
    void setPart(const QString& name, const QByteArray& bytes);
    void removePart(const QString& name);
    QStringList names() const { return m_order; }
    // First free name made from a pattern holding %1, counting from 1.
    QString uniqueName(const QString& pattern) const;

    QString errorMessage() const { return m_error; }

    // Limits against archives whose headers claim absurd sizes.
    static const qint64 kMaxPartSize = 256 * 1024 * 1024;
    static const qint64 kMaxTotalSize = 1024LL * 1024 * 1024;
    static const int kMaxParts = 100000;

private:
    QMap<QString, QByteArray> m_parts;
    QStringList m_order;
    QSet<QString> m_folded; // lower-case names, for the case-blind lookups
    mutable QString m_error;
};

#endif // KOVXLSXPACKAGE_H

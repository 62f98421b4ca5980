#ifndef KOVINITEXT_H
#define KOVINITEXT_H

#include <QHash>
#include <QSettings>
#include <QString>

// Reads INI texts the way the imager means them.
//
// QSettings treats an unquoted comma as a list separator and a semicolon as the
// start of a comment, so "变压器A相, 套管" reads back as a list whose toString()
// is empty, and "A;B" is cut to "A". The imager writes its texts unquoted, so
// such values are taken from the raw line instead. Values that QSettings itself
// wrote (quoted or escaped) are left to QSettings.
class KOVIniText
{
public:
    // codecName may be empty for the locale's encoding (how QSettings reads a
    // file without a codec).
    KOVIniText(const QString& path, const char* codecName);

    // The value of "/group/key", or a null QString when the key is missing.
    QString value(QSettings& settings, const QString& key) const;

private:
    QHash<QString, QString> m_raw; // "group/key" -> raw text after '='
};

#endif // KOVINITEXT_H

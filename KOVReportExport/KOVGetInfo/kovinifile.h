#ifndef KOVINIFILE_H
#define KOVINIFILE_H

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>

// An INI file read with the grammar QSettings writes (sections, quoting,
// escapes, comma lists, "%XX" keys), without ever letting QSettings parse it.
//
// QSettings rebuilds any value of the form "@Variant(...)" or "@DateTime(...)"
// through QDataStream, so one line in a file someone handed us can make it
// allocate a container of billions of elements and bring the program down.
// Here such a value stays the text it is. The INI files of the imager and our
// settings file are all read through this class.
class KOVIniFile
{
public:
    enum Types {
        // Every value is text (or a list of texts): files the imager wrote.
        TextOnly,
        // Also the types QSettings writes as plain text, "@Size(w h)",
        // "@Point(x y)", "@Rect(x y w h)", "@ByteArray(...)" and
        // "@Invalid()": our own settings file. ("@String(...)", a text
        // with a NUL in it, reads as text in both.)
        PlainQtTypes,
    };

    // False when the file cannot be read; the entries are then empty.
    // codecName may be null for files QSettings writes without a codec
    // (bytes above 127 read as Latin-1, or UTF-8 after a byte order mark,
    // as QSettings does).
    bool load(const QString& path, const char* codecName, Types types);
    bool parse(const QByteArray& bytes, const char* codecName, Types types);

    bool contains(const QString& key) const;
    // As QSettings would return it ("group/key", leading slash optional),
    // except that nothing is deserialised; a null QVariant when missing.
    QVariant value(const QString& key) const;
    // The text the imager meant: it writes values unquoted, so a comma or a
    // semicolon in such a value belongs to the text and is not a list
    // separator or a comment. Values quoted or escaped as QSettings writes
    // them read as QSettings reads them; a list reads joined by commas.
    // A null QString when the key is missing.
    QString text(const QString& key) const;
    QStringList keys() const;

    // Sets keys in the INI file at path and keeps every other entry, through
    // QSettings writing a fresh file from the entries read here (so QSettings
    // never parses what was there), then replacing path in one step.
    // The file is written without a codec, as QSettings does by default.
    static bool update(const QString& path, const char* readCodec, Types types,
                       const QList<QPair<QString, QVariant>>& changes, QString* error = nullptr);

    // The key as QSettings stores it: no leading, trailing or doubled '/'.
    static QString normalizedKey(const QString& key);

private:
    struct Entry
    {
        QVariant value;
        QString raw; // the line's text after '=', trimmed
        bool plain = false; // neither quoted nor escaped nor '@'
    };

    QVariant toVariant(const QString& s) const;

    QHash<QString, Entry> m_entries;
    QStringList m_order;
    Types m_types = TextOnly;
};

#endif // KOVINIFILE_H

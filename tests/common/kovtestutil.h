#ifndef KOVTESTUTIL_H
#define KOVTESTUTIL_H

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTextCodec>

namespace KOVTest {

// Writes text in the given codec, as the imager writes its INI files (GBK,
// CR LF, values unquoted).
inline bool writeEncoded(const QString& path, const QString& text, const char* codec = "GBK")
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    const QByteArray bytes = QTextCodec::codecForName(codec)->fromUnicode(t);
    return f.write(bytes) == bytes.size();
}

inline QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The files directly in from, copied into to (made when missing); false at
// the first that cannot be.
inline bool copyFiles(const QString& from, const QString& to)
{
    if (!QDir().mkpath(to))
        return false;
    for (const QString& f : QDir(from).entryList(QDir::Files))
        if (!QFile::copy(from + QLatin1Char('/') + f, to + QLatin1Char('/') + f))
            return false;
    return true;
}

// Names of every file and folder below dir, relative, sorted.
inline QStringList listTree(const QString& dir)
{
    QStringList out;
    QDir d(dir);
    const auto entries = d.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& fi : entries) {
        out << fi.fileName();
        if (fi.isDir())
            for (const QString& sub : listTree(fi.filePath()))
                out << fi.fileName() + QLatin1Char('/') + sub;
    }
    return out;
}

} // namespace KOVTest

#endif // KOVTESTUTIL_H

#ifndef KOVINIGRAMMAR_H
#define KOVINIGRAMMAR_H

#include <QByteArray>
#include <QString>
#include <QStringList>

class QTextCodec;

// The pieces of the INI grammar QSettings reads, byte for byte as it reads
// them (KOVIniFile puts them together).
namespace KOVIniGrammar {

// Blanks between lines and before a key: space, tab, CR, LF (not FF or VT).
bool isSpace(char c);
// One logical line from pos: a quoted value may run over line ends, a
// backslash joins the next line, and an unquoted ';' ends the line (the rest
// is a comment, which the next call skips). equals is the first unquoted '='
// or -1. Returns false at the end of the data.
bool readLine(const QByteArray& d, int& pos, int& start, int& len, int& equals);
// Keys: '\' stands for '/', "%XX" and "%UXXXX" for a character; bytes are Latin-1.
QString unescapeKey(const QByteArray& d, int from, int to);
// A value: quotes, C escapes ("\x4e2d", octal), line joins, and unquoted
// commas separating list elements; text through codec, Latin-1 without one.
// Returns whether the value is a list (then in list, else in str).
bool unescapeValue(const QByteArray& d, int from, int to, QTextCodec* codec, QString& str, QStringList& list);

} // namespace KOVIniGrammar

#endif // KOVINIGRAMMAR_H

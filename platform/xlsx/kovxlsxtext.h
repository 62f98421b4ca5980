#ifndef KOVXLSXTEXT_H
#define KOVXLSXTEXT_H

#include <QString>

// Cell addresses and cell text as the workbook format wants them.
class KOVXlsxText
{
public:
    // Column letters of a 0-based column ("A" for 0, "AA" for 26).
    static QString columnName(int col);
    // "B71" for row 70, column 1 (both 0-based).
    static QString cellRef(int row, int col);
    // Parses "B71" into 0-based row and column; false for anything else.
    static bool parseCellRef(const char* ref, int* row, int* col);

    // Makes user text safe to store: characters XML 1.0 forbids and lone
    // surrogates are dropped, a literal "_xHHHH_" is escaped so readers do
    // not decode it, CR is escaped so XML readers keep it, and the text is
    // cut to the cell limit of 32767 units.
    static QString cellText(const QString& text);

    // Undoes the "_xHHHH_" escapes of stored cell text.
    static QString decodeEscapes(const QString& text);

    // Sheet name usable in a formula reference: 'Name' with quotes doubled.
    static QString quotedSheetName(const QString& name);

    // Names a sheet may carry: 1 to 31 units, none of []:*?/\ and no
    // apostrophe at either end.
    static bool isValidSheetName(const QString& name);

    static const int kMaxCellText = 32767;
    static const int kMaxRows = 1048576;
    static const int kMaxCols = 16384;
};

#endif // KOVXLSXTEXT_H

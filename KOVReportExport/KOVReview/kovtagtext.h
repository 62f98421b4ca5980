#ifndef KOVTAGTEXT_H
#define KOVTAGTEXT_H

#include <QString>

class QIODevice;

// Reads a text tag. Imagers wrote these in UTF-8 or, older ones, in GBK.
class KOVTagText
{
public:
    enum class Status { Ok, Missing, OpenError };

    // Decodes line by line as UTF-8; from the first line that is not valid
    // UTF-8 to the end of the file every line is taken as GBK instead.
    static QString decode(QIODevice& in);
    static Status read(const QString& path, QString* text);
};

#endif // KOVTAGTEXT_H

#ifndef KOVFUZZPARTS_H
#define KOVFUZZPARTS_H

// Workbook inputs as text, so that mutations change the XML and not the zip
// around it: each part is a line "==> name" followed by its bytes. The seed
// tool writes templates this way; the workbook target zips them up again.

#include <QByteArray>
#include <QList>
#include <QPair>

namespace KOVFuzz {

inline QByteArray joinParts(const QList<QPair<QByteArray, QByteArray>>& parts)
{
    QByteArray out;
    for (const auto& p : parts)
        out += "==> " + p.first + '\n' + p.second + '\n';
    return out;
}

inline QList<QPair<QByteArray, QByteArray>> splitParts(const QByteArray& text)
{
    QList<QPair<QByteArray, QByteArray>> parts;
    int at = text.startsWith("==> ") ? 0 : text.indexOf("\n==> ");
    while (at >= 0) {
        const int nameStart = at + (text.at(at) == '\n' ? 5 : 4);
        const int nameEnd = text.indexOf('\n', nameStart);
        if (nameEnd < 0)
            break;
        const int next = text.indexOf("\n==> ", nameEnd);
        const int end = next < 0 ? text.size() : next;
        QByteArray body = text.mid(nameEnd + 1, end - nameEnd - 1);
        parts.append({text.mid(nameStart, nameEnd - nameStart), body});
        at = next;
    }
    return parts;
}

} // namespace KOVFuzz

#endif // KOVFUZZPARTS_H

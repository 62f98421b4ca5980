#ifndef KOVNEWFILE_H
#define KOVNEWFILE_H

#include <QByteArray>
#include <QList>
#include <QString>

// Whole-file writes into folders the user's media hold (an item's working
// folder): the bytes go to a file created under a fresh name beside path,
// which is then renamed over path. A symbolic or hard link planted under
// path is replaced by the new file, never written through; the file it
// pointed at stays as it was.
namespace KOVNewFile {

// False with a reason when the file cannot be created, written or renamed;
// then path is as it was before.
bool write(const QString& path, const QByteArray& bytes, QString* error = nullptr);
// The parts one after another, without joining them in memory first.
bool write(const QString& path, const QList<QByteArray>& parts, QString* error = nullptr);

} // namespace KOVNewFile

#endif // KOVNEWFILE_H

#include "kovnewfile.h"

#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace KOVNewFile {

bool write(const QString& path, const QByteArray& bytes, QString* error)
{
    return write(path, QList<QByteArray> { bytes }, error);
}

bool write(const QString& path, const QList<QByteArray>& parts, QString* error)
{
    const QFileInfo target(path);
    // Hidden and unique: never a name someone could have planted a link under.
    const QString temp = target.absolutePath() + QStringLiteral("/.") + target.fileName() + QLatin1Char('.')
        + QUuid::createUuid().toString(QUuid::Id128) + QStringLiteral(".tmp");
    QFile f(temp);
    if (!f.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    bool written = true;
    for (const QByteArray& bytes : parts)
        written = written && f.write(bytes) == bytes.size();
    written = written && f.flush();
    const QString why = f.errorString();
    f.close();
    if (!written || f.error() != QFileDevice::NoError) {
        if (error)
            *error = written ? f.errorString() : why;
        QFile::remove(temp);
        return false;
    }
    // rename() replaces the name itself, whatever it was a link to; QFile's
    // rename refuses an existing target.
    if (std::rename(QFile::encodeName(temp).constData(), QFile::encodeName(path).constData()) != 0) {
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(errno));
        QFile::remove(temp);
        return false;
    }
    return true;
}

} // namespace KOVNewFile

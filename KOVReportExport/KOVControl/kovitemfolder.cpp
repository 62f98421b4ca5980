#include "kovitemfolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTextCodec>

#include <algorithm>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

const QString& KOVItemFolder::thumbnailName()
{
    static const QString name = QStringLiteral(".thumbnail.jpg");
    return name;
}

bool KOVItemFolder::isItemName(const QString& name)
{
    return name.endsWith(QLatin1String(".jpg")) || name.endsWith(QLatin1String(".mp4"));
}

bool KOVItemFolder::isPictureName(const QString& name)
{
    return name.endsWith(QLatin1String(".jpg"));
}

QString KOVItemFolder::itemFileName(const QString& folder)
{
    // Hidden files must be listed: on Linux the thumbnail is one. The names
    // are matched here rather than by name filters, which cost a pattern
    // match per entry and dominate an import of thousands of folders.
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden);
    while (it.hasNext()) {
        it.next();
        const QString name = it.fileName();
        if (!isItemName(name))
            continue;
        if (files.size() == 2)
            return QString(); // three or more pictures and videos
        files << name;
    }
    std::sort(files.begin(), files.end());
    if (files.size() == 1) {
        // A thumbnail alone is not a recording.
        return files.first() == thumbnailName() ? QString() : files.first();
    }
    if (files.size() == 2) {
        if (files.at(0) == thumbnailName())
            return files.at(1);
        if (files.at(1) == thumbnailName())
            return files.at(0);
    }
    return QString();
}

QStringList KOVItemFolder::candidateFolders(const QString& dir)
{
    const QStringList names = QDir(dir).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotDot,
                                                  QDir::Name | QDir::IgnoreCase);
    QStringList out;
    out.reserve(names.size());
    for (const QString& n : names) {
        // Listed with hidden entries only to keep "." itself.
        if (n.startsWith(QLatin1Char('.')) && n.size() > 1)
            continue;
        out << dir + n;
    }
    return out;
}

QStringList KOVItemFolder::undecodableFolders(const QString& dir)
{
    QStringList out;
    DIR* d = ::opendir(QFile::encodeName(dir).constData());
    if (!d)
        return out;
    QTextCodec* gbk = QTextCodec::codecForName("GBK");
    while (const dirent* e = ::readdir(d)) {
        const QByteArray raw(e->d_name);
        if (raw.startsWith('.') || QFile::encodeName(QFile::decodeName(raw)) == raw)
            continue; // hidden, or listed under a name that reaches it
        struct stat st;
        if (::fstatat(::dirfd(d), e->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode))
            out << (gbk ? gbk->toUnicode(raw) : QFile::decodeName(raw));
    }
    ::closedir(d);
    std::sort(out.begin(), out.end());
    return out;
}

QString KOVItemFolder::dirPart(const QString& path)
{
    return path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
}

#include "kovitemfolder.h"

#include <QDir>

namespace {

const QStringList& itemFilters()
{
    static const QStringList filters{QStringLiteral("*.jpg"), QStringLiteral("*.mp4")};
    return filters;
}

} // namespace

const QString& KOVItemFolder::thumbnailName()
{
    static const QString name = QStringLiteral(".thumbnail.jpg");
    return name;
}

bool KOVItemFolder::isItemName(const QString& name)
{
    return name.endsWith(QLatin1String(".jpg")) || name.endsWith(QLatin1String(".mp4"));
}

QString KOVItemFolder::itemFileName(const QString& folder)
{
    // Hidden files must be listed: on Linux the thumbnail is one, and a
    // folder that lists without it would still hold the right count only by
    // luck. The filters are case-sensitive so the scan and the rows agree.
    const QStringList files = QDir(folder).entryList(itemFilters(),
                                                     QDir::Files | QDir::Hidden | QDir::CaseSensitive,
                                                     QDir::Name);
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
    for (const QString& n : names)
        out << dir + n;
    return out;
}

QString KOVItemFolder::dirPart(const QString& path)
{
    return path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
}

#include "kovclipnames.h"

#include "kovnewfile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>

namespace {
const char* const kHideDir = "/hideImg";
}

QString KOVClipNames::savePrefix(const QString& reportNumber)
{
    return QStringLiteral("R") + dropPathChars(reportNumber) + QStringLiteral("_");
}

QString KOVClipNames::dropPathChars(const QString& text)
{
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    QString kept;
    kept.reserve(text.size());
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f || forbidden.contains(c))
            continue;
        kept.append(c);
    }
    return kept;
}

QString KOVClipNames::hideDir(const QString& itemDir)
{
    return itemDir + QLatin1String(kHideDir);
}

QString KOVClipNames::frameImage(const QString& itemDir, const QString& prefix, int pos)
{
    return hideDir(itemDir) + QLatin1Char('/') + prefix + QString::number(pos) + QStringLiteral(".jpg");
}

QString KOVClipNames::pddImage(const QString& itemDir, const QString& prefix, int pos)
{
    return hideDir(itemDir) + QLatin1Char('/') + prefix + QStringLiteral("pdd") + QString::number(pos)
        + QStringLiteral(".jpg");
}

QString KOVClipNames::clipVideo(const QString& itemDir, const QString& prefix)
{
    return hideDir(itemDir) + QLatin1Char('/') + prefix + QStringLiteral("videoClip.avi");
}

QString KOVClipNames::clipAudio(const QString& itemDir, const QString& prefix)
{
    return hideDir(itemDir) + QLatin1Char('/') + prefix + QStringLiteral("audioClip.wav");
}

bool KOVClipNames::hideDirUsable(const QString& itemDir)
{
    const QFileInfo folder(hideDir(itemDir));
    if (folder.isSymLink())
        return false;
    return folder.isDir() || !folder.exists();
}

bool KOVClipNames::saveImage(const QString& itemDir, const QString& path, const QImage& image, QString* error)
{
    const QFileInfo folder(hideDir(itemDir));
    if (itemDir.isEmpty() || folder.isSymLink() || !folder.isDir()) {
        *error = QStringLiteral("%1 is no folder of its own").arg(folder.filePath());
        return false;
    }
    if (QFileInfo(QFileInfo(path).absolutePath()).canonicalFilePath() != folder.canonicalFilePath()) {
        *error = QStringLiteral("%1 is not in %2").arg(path, folder.filePath());
        return false;
    }
    QByteArray bytes;
    return encodeJpeg(image, &bytes, error) && KOVNewFile::write(path, bytes, error);
}

bool KOVClipNames::encodeJpeg(const QImage& image, QByteArray* bytes, QString* error, int quality)
{
    QBuffer buffer(bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "JPG");
    writer.setQuality(quality);
    if (writer.write(image))
        return true;
    *error = writer.errorString();
    return false;
}

bool KOVClipNames::insideHideDir(const QString& itemDir, const QString& path)
{
    if (itemDir.isEmpty() || path.isEmpty())
        return false;
    const QFileInfo folder(hideDir(itemDir));
    // A working folder that is a link may stand for any folder, the item's own included.
    if (folder.isSymLink())
        return false;
    const QFileInfo file(path);
    // A link is never followed out of the folder, nor deleted in its place.
    if (file.isSymLink() || !file.isFile() || !folder.isDir())
        return false;
    const QString folderReal = folder.canonicalFilePath();
    const QString parentReal = QFileInfo(file.absolutePath()).canonicalFilePath();
    return !folderReal.isEmpty() && folderReal == parentReal;
}

bool KOVClipNames::removeInside(const QString& itemDir, const QString& path)
{
    return insideHideDir(itemDir, path) && QFile::remove(path);
}

bool KOVClipNames::inAWorkingFolder(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo file(path);
    if (file.isSymLink() || !file.isFile())
        return false;
    // The folder as named, not resolved: a "hideImg" link names a folder elsewhere.
    const QFileInfo parent(file.absolutePath());
    if (parent.isSymLink() || parent.fileName() != QLatin1String(kHideDir + 1))
        return false;
    const QString parentReal = parent.canonicalFilePath();
    return !parentReal.isEmpty() && QFileInfo(parentReal).fileName() == QLatin1String(kHideDir + 1);
}

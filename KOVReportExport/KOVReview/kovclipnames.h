#ifndef KOVCLIPNAMES_H
#define KOVCLIPNAMES_H

#include <QString>

class QImage;

// Names of the files a review page keeps in an item's hidden working folder
// (locked frames, their pattern pictures, the clip video and audio), and the
// one place that deletes them.
class KOVClipNames
{
public:
    // "R" + number + "_" for a page of the report with that number text. The
    // number is the user's text: characters that would make the name reach
    // into another folder or be refused by a file system are dropped.
    static QString savePrefix(const QString& reportNumber);
    // The same characters dropped from any text (a prefix handed over whole).
    static QString dropPathChars(const QString& text);

    static QString hideDir(const QString& itemDir);
    static QString frameImage(const QString& itemDir, const QString& prefix, int pos);
    static QString pddImage(const QString& itemDir, const QString& prefix, int pos);
    static QString clipVideo(const QString& itemDir, const QString& prefix);
    static QString clipAudio(const QString& itemDir, const QString& prefix);

    // True when itemDir's working folder is a real folder or not there yet;
    // false when the name is a link (to a folder elsewhere, or to the item
    // folder itself) or some other file. Nothing is written or deleted in a
    // working folder that is a link.
    static bool hideDirUsable(const QString& itemDir);

    // Writes image as a JPEG of quality 100 under path, a new file directly
    // inside itemDir's working folder (see KOVNewFile). False with a reason
    // when the folder is refused or the file cannot be written.
    static bool saveImage(const QString& itemDir, const QString& path, const QImage& image, QString* error);
    // The JPEG bytes every picture of the working folder is stored as
    // (quality 100; -1 the encoder's default, as QImage::save writes);
    // false with the encoder's reason.
    static bool encodeJpeg(const QImage& image, QByteArray* bytes, QString* error, int quality = 100);

    // True when path names a file directly inside itemDir's working folder.
    // Paths come from records and from a restored cache, so they are not
    // trusted: "..", links and other folders are all outside.
    static bool insideHideDir(const QString& itemDir, const QString& path);

    // Deletes path when it lies inside itemDir's working folder; true when a
    // file was deleted.
    static bool removeInside(const QString& itemDir, const QString& path);

    // For callers that hold only a record's path, not its item: true when
    // path names a file (not a link) directly inside some item's working
    // folder, a folder named "hideImg".
    static bool inAWorkingFolder(const QString& path);
};

#endif // KOVCLIPNAMES_H

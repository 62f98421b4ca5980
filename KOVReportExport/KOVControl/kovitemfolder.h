#ifndef KOVITEMFOLDER_H
#define KOVITEMFOLDER_H

#include <QString>
#include <QStringList>

// The one rule for what an item folder of a user directory is. Import, the
// file-list rows and the review page must agree on it, or rows and the
// imported lists drift apart.
class KOVItemFolder
{
public:
    // A picture or video name: ends in ".jpg" or ".mp4", lower case as the
    // imager writes it ("A.JPG" is not an item).
    static bool isItemName(const QString& name);

    // Whether an item name is a picture: it ends in ".jpg". Any other item is
    // a video, "x.jpg.mp4" included, whatever the name contains.
    static bool isPictureName(const QString& name);

    // The item's file name in folder, or empty when the folder is not an item:
    // exactly one picture or video, besides an optional ".thumbnail.jpg".
    static QString itemFileName(const QString& folder);

    // The candidate item folders of a user directory (dir ends in "/"), each as
    // dir + entry name, by name with letter case ignored. "." is kept: a user
    // directory may itself hold one item. ".." is not: it would reach a file
    // above the user directory. Hidden folders (".git", ".Trash-1000") are not
    // items; hidden files count only inside an item folder (the thumbnail).
    static QStringList candidateFolders(const QString& dir);

    // The folders of dir whose names the system cannot decode (names written
    // in GBK, read on a UTF-8 system): no path reaches them, so they are never
    // items. Given as GBK reads them, the imager's encoding, by name.
    static QStringList undecodableFolders(const QString& dir);

    // The path up to and including its last "/".
    static QString dirPart(const QString& path);

    static const QString& thumbnailName();
};

#endif // KOVITEMFOLDER_H

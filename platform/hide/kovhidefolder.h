#ifndef KOVHIDEFOLDER_H
#define KOVHIDEFOLDER_H

#include <QString>

// Marks a folder the program made for its own files as hidden, so the user's
// file browser does not show it beside the imager's files. Only the hidden
// attribute is set; a folder that existed before keeps its attributes, which
// is the caller's business (call this only for a folder it just created).
//
// On Linux there is no such attribute and the folder keeps its name (records,
// the recovery cache and the export carry it): the call leaves it as it is.
class KOVHideFolder
{
public:
    // True when the folder exists afterwards with the attribute set, or, where
    // the platform has no attribute, simply exists.
    static bool makeHidden(const QString& folder);
};

#endif // KOVHIDEFOLDER_H

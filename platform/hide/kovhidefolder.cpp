#include "kovhidefolder.h"

#include <QFileInfo>

#ifdef Q_OS_WIN
#include <QDir>
#include <windows.h>
#endif

bool KOVHideFolder::makeHidden(const QString& folder)
{
    const QFileInfo info(folder);
    if (!info.isDir())
        return false;
#ifdef Q_OS_WIN
    const QString native = QDir::toNativeSeparators(info.absoluteFilePath());
    return SetFileAttributesW(reinterpret_cast<const wchar_t*>(native.utf16()), FILE_ATTRIBUTE_HIDDEN) != 0;
#else
    return true;
#endif
}

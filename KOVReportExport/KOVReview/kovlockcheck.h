#ifndef KOVLOCKCHECK_H
#define KOVLOCKCHECK_H

#include "kovdatastruct.h"

#include <QImage>
#include <QList>
#include <QStringList>

// The locked-frame state of a review page is kept in parallel lists (frame
// numbers, images, pattern pictures and types) plus the path lists of its
// test-point record. This names what must hold between them after every
// step, so tests can ask after each one.
struct KOVLockState
{
    const QList<int>& marks;
    const QList<QImage>& images;
    const QList<QImage>& pddImages;
    const QStringList& pddTypes;
    const KOVTestPointInfo& record;
};

class KOVLockCheck
{
public:
    // At most this many frames are locked at once.
    static constexpr int kMaxLocked = 1;

    // Empty when consistent, else what is wrong. With files true, every
    // path in the record must name an existing file.
    static QString check(const KOVLockState& s, bool files = true);
};

#endif // KOVLOCKCHECK_H

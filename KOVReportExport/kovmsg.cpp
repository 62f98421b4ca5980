#include "kovmsg.h"

KOVMsg* KOVMsg::Instance()
{
    // Created once, race-free, and never destroyed (see KOVInformation).
    static KOVMsg* const instance = new KOVMsg();
    return instance;
}

KOVMsg::KOVMsg(QObject* parent)
    : QObject(parent)
{
}

KOVMsg::~KOVMsg() = default;

// usrInfo.ini as the imager hands it over.
#include "kovfuzzfile.h"
#include "kovgetreportinfo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    KOVFuzz::app();
    KOVGetReportInfo info;
    KOVFuzz::check(info.readUsrCfgInfo(KOVFuzz::writeInput(QStringLiteral("usrInfo.ini"), data, size)),
                   "an existing usrInfo.ini reads");
    return 0;
}

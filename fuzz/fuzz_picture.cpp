// The header probe of pictures put into a workbook (JPEG, PNG, GIF, BMP).
#include "kovxlsximageinfo.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), int(size));
    const KOVXlsxImageInfo info = KOVXlsxImageInfo::probe(bytes);
    if (info.isValid() && (info.size.width() > 65535 || info.size.height() > 65535))
        std::abort();
    return 0;
}

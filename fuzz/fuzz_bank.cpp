// The discharge classifier's feature bank, asked about a few fixed periods.
#include "kov_pdclassifier.h"
#include "kovfuzzfile.h"

#include <cmath>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    KOVFuzz::app();
    const QString path = KOVFuzz::writeInput(QStringLiteral("bank.txt"), data, size);
    KOV_PDClassifier c(path.toLocal8Bit().constData());
    KOVFuzz::check(c.rowCount() >= 0 && c.rowCount() < KOV_PDClassifier::kMaxRows, "rows within the table");
    std::vector<float> period(240);
    for (int shape = 0; shape < 3; ++shape) {
        for (int i = 0; i < 240; ++i)
            period[size_t(i)] = shape == 0 ? 0.0f : shape == 1 ? float(std::sin(i * 0.05)) * 40 : float(i % 17);
        int type = -1;
        c.GetPDInfo(period.data(), int(period.size()), type);
        KOVFuzz::check(c.isUsable() || type == 0, "an unusable bank answers 0");
    }
    return 0;
}

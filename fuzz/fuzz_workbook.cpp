// A report template someone put in cfg/: the report writer copies it, adds
// test point sheets, fills them and saves; what it saved must load again.
// Inputs starting "PK" are the zip file itself, others parts as text
// (kovfuzzparts.h).
#include "kovfuzzfile.h"
#include "kovfuzzparts.h"
#include "kovlibxl.h"
#include "kovxlsxbook.h"

#include <QImage>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

namespace {

bool zipParts(const QByteArray& text, const QString& path)
{
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdCreate))
        return false;
    for (const auto& p : KOVFuzz::splitParts(text)) {
        QuaZipFile f(&zip);
        if (!f.open(QIODevice::WriteOnly, QuaZipNewInfo(QString::fromUtf8(p.first)), nullptr, 0, 0, 0))
            return false;
        f.write(p.second);
        f.close();
    }
    zip.close();
    return zip.getZipError() == 0;
}

QString picture()
{
    static const QString path = [] {
        const QString p = KOVFuzz::scratch() + QStringLiteral("/frame.png");
        QImage img(8, 6, QImage::Format_RGB32);
        img.fill(Qt::red);
        img.save(p, "PNG");
        return p;
    }();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    KOVFuzz::app();
    QDir::setCurrent(KOVFuzz::scratch());
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    const QString templ = QStringLiteral("cfg/template_gas_ch");
    QFile::remove(templ);
    if (bytes.startsWith("PK")) {
        KOVFuzz::writeInput(templ, data, size);
    } else if (!zipParts(bytes, templ)) {
        return 0;
    }
    const QString out = KOVFuzz::scratch() + QStringLiteral("/report.xlsx");
    KOVLibxl writer;
    if (!writer.CreateExcel(out, 0, 3, 0))
        return 0;
    KOVReportInfo info;
    info.company = QStringLiteral("公司, A;B");
    for (int i = 0; i < 3; ++i) {
        KOVTestPointInfo tp;
        tp.type = ItemType::photo;
        tp.photoImgPath = picture();
        tp.faultSite_gas = QStringLiteral("valve %1").arg(i);
        info.pointInfoList << tp;
    }
    writer.WriteHomePage(info, writer.GetSheet(0));
    for (int i = 0; i < 3; ++i)
        writer.WritePoinInfo(info.pointInfoList.at(i), writer.GetSheet(i + 1), 0);
    if (!writer.SaveExcel())
        return 0;
    KOVXlsxBook again;
    if (!again.load(out)) {
        std::fprintf(stderr, "saved book does not load: %s\n", qPrintable(again.errorMessage()));
        KOVFuzz::check(false, "a saved report loads again");
    }
    KOVFuzz::check(again.sheetCount() >= 4, "the test point sheets were saved");
    return 0;
}

// The test point sheets and their pictures.
#include "kovlibxl.h"

#include "kovxlsxbook.h"

#include <QDebug>
#include <QObject>

namespace {

// Cells of a test point sheet, 0-based (row, column).
const int kRowSite = 6;    // A7, D7, G7
const int kRowValue = 9;   // A10, D10, G10
const int kRowLeak = 12;   // A13, D13, G13
const int kRowPicture = 13; // A14
const int kColA = 0;
const int kColD = 3;
const int kColG = 6;

// The locked frame sits at 60 % in the picture area, the discharge pattern
// full size below it; offsets in pixels from the corner of A14.
const double kFrameScale = 0.6;
const int kFrameDx = 40;
const int kFrameDy = 20;
const double kPatternScale = 1.0;
const int kPatternDx = 85;
const int kPatternDy = 400;

} // namespace

bool KOVLibxl::WritePoinInfo(KOVTestPointInfo tp, KOVXlsxSheet* sheet, int type)
{
    if (!sheet || tp.type == ItemType::null)
        return false;
    if (type == 0) {
        sheet->writeStr(kRowSite, kColA, tp.faultSite_gas);
        sheet->writeStr(kRowSite, kColD, tp.gasType);
        sheet->writeStr(kRowValue, kColD, tp.airPressure);
    } else if (type == 1) {
        sheet->writeStr(kRowSite, kColA, tp.faultSite_elec);
        sheet->writeStr(kRowSite, kColD, tp.distance + QStringLiteral("m"));
        sheet->writeStr(kRowValue, kColD, tp.voltage);
    }
    sheet->writeStr(kRowSite, kColG, tp.faultLevel);
    sheet->writeStr(kRowValue, kColG, tp.advice);

    if (tp.type == ItemType::photo || tp.marked) {
        writeLeakCells(tp, sheet);
        if (!tp.imgInfoList.isEmpty())
            sheet->writeStr(kRowValue, kColA, tp.imgInfoList.first().heatSPL);
        if (tp.type == ItemType::photo) {
            writePicture(sheet, tp.photoImgPath, kRowPicture, kColA, kFrameScale, kFrameDx, kFrameDy);
        } else {
            if (!tp.videoImgPathList.isEmpty())
                writePicture(sheet, tp.videoImgPathList.first(), kRowPicture, kColA, kFrameScale, kFrameDx, kFrameDy);
            if (tp.pdd && !tp.pddImgPathList.isEmpty())
                writePicture(sheet, tp.pddImgPathList.first(), kRowPicture, kColA, kPatternScale, kPatternDx, kPatternDy);
        }
    } else {
        sheet->writeStr(kRowPicture, kColA, QObject::tr("未锁定图片！"));
    }
    return true;
}

void KOVLibxl::writeLeakCells(const KOVTestPointInfo& tp, KOVXlsxSheet* sheet)
{
    if (!tp.leakageData)
        return;
    sheet->writeStr(kRowLeak, kColG, tp.leakage);
    sheet->writeStr(kRowLeak, kColD, tp.leakageLevel);
    sheet->writeStr(kRowLeak, kColA, tp.economicLosses);
}

void KOVLibxl::writePicture(KOVXlsxSheet* sheet, const QString& path, int row, int col,
                            double scale, int dx, int dy)
{
    if (!sheet || !m_book)
        return;
    const int id = m_book->addPicture(path);
    if (id < 0) {
        qDebug() << "add pic = " << m_book->errorMessage();
        m_unplaced << path;
        return;
    }
    sheet->setPicture(row, col, id, scale, dx, dy, KOVXlsxSheet::MoveAndSize);
}

void KOVLibxl::WriteImg_4410(KOVXlsxSheet* sheet)
{
    writePicture(sheet, QStringLiteral("./cfg/KOV44XX_Img/KOV4410.png"), kRowLeak, kColA, 0.22, 180, 0);
}

void KOVLibxl::WriteImg_4420(KOVXlsxSheet* sheet)
{
    writePicture(sheet, QStringLiteral("./cfg/KOV44XX_Img/KOV4420.png"), kRowLeak, kColA, 0.2, 160, 0);
}

void KOVLibxl::WriteImg_4430(KOVXlsxSheet* sheet)
{
    writePicture(sheet, QStringLiteral("./cfg/KOV44XX_Img/KOV4430.png"), kRowLeak, kColA, 0.27, 150, 0);
}

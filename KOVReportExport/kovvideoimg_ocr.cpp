// The maximum sound-pressure reading, recognised off the interface thread.
#include "kovvideoimg.h"
#include "ui_kovvideoimg.h"

#include "kovocrcontext.h"

void KOVVideoImg::showSoundPressure_OCR(const cv::Mat& image)
{
    // No region to read (missing, tiny or unreadable picture): the field says
    // "no value" at once, and any reading still on its way is retired.
    if (!m_ocr->request(image))
        ui->infoMaxSPL->setText(QStringLiteral("/"));
}

void KOVVideoImg::retireOcr()
{
    m_ocr->invalidate();
}

void KOVVideoImg::slotOcrResult(quint64 generation, const QString& text)
{
    // Readings finish out of order with respect to the frames shown since;
    // only the one for the picture on show may reach the field (and, through
    // its text handler, the test-point record).
    if (!m_ocr->isCurrent(generation))
        return;
    ui->infoMaxSPL->setText(text);
}

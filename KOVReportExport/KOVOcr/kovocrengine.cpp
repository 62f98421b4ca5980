#include "kovocrengine.h"

#include <tesseract/baseapi.h>

#include <omp.h>

#include <QByteArray>
#include <QFile>

KOVOcrEngine::KOVOcrEngine()
    : m_api(new tesseract::TessBaseAPI)
{
    serialise();
    // The engine writes layout statistics of specks and blank regions to
    // stderr ("Lower quartile=", "Median="), which users then find in their
    // terminal. Set before Init, so nothing Init says goes there either.
    m_api->SetVariable("debug_file", "/dev/null");
    m_ready = m_api->Init(nullptr, "eng", tesseract::OEM_LSTM_ONLY) == 0;
    if (m_ready) {
        m_api->SetVariable("tessedit_char_whitelist", "0123456789dBN/A");
        m_api->SetVariable("tessedit_parallelize", "0");
        m_api->SetPageSegMode(tesseract::PSM_SINGLE_WORD);
    }
}

KOVOcrEngine::~KOVOcrEngine()
{
    m_api->End();
}

void KOVOcrEngine::serialise()
{
    // The engine's LSTM runs OpenMP teams of its own, and OpenMP gives every
    // new calling thread a new team whose threads spin between regions. With
    // a worker thread per page and a hundred pages that meant hundreds of
    // spinning threads and recognitions ten to a hundred times slower. A
    // 70 x 25 canvas gains nothing from parallelism. The limit belongs to
    // the calling thread, so every thread that loads or recognises sets it.
    omp_set_max_active_levels(0);
}

QString KOVOcrEngine::recognise(const cv::Mat& binary)
{
    serialise();
    if (!m_ready || binary.empty() || binary.type() != CV_8UC1)
        return QString();
    const cv::Mat img = binary.isContinuous() ? binary : binary.clone();
    m_api->SetImage(img.data, img.cols, img.rows, 1, int(img.step[0]));
    char* text = m_api->GetUTF8Text();
    const QString s = text ? QString::fromLatin1(text).trimmed() : QString();
    delete[] text;
    m_api->Clear();
    return s;
}

bool KOVOcrEngine::hasLanguageData()
{
    const QByteArray prefix = qgetenv("TESSDATA_PREFIX");
    if (!prefix.isEmpty())
        return QFile::exists(QString::fromLocal8Bit(prefix) + QStringLiteral("/eng.traineddata"));
    return QFile::exists(QStringLiteral("/usr/share/tesseract-ocr/5/tessdata/eng.traineddata"));
}

#ifndef KOVOCRENGINE_H
#define KOVOCRENGINE_H

#include <QString>

#include <opencv2/core.hpp>

#include <memory>

namespace tesseract {
class TessBaseAPI;
}

// One recognition engine set up for the burnt-in reading: LSTM only, one word,
// a whitelist of the digits and "dBN/A", no parallelism inside (pages run
// their recognitions on worker threads of their own). Not thread-safe: one
// thread at a time.
class KOVOcrEngine
{
public:
    // Loads the English data from the engine's default place (about 150 ms
    // and tens of megabytes), so engines are made on first need only.
    KOVOcrEngine();
    ~KOVOcrEngine();
    KOVOcrEngine(const KOVOcrEngine&) = delete;
    KOVOcrEngine& operator=(const KOVOcrEngine&) = delete;

    // False when the language data could not be loaded; recognise then
    // always gives an empty text (shown as "/").
    bool isReady() const { return m_ready; }

    // Raw text (Latin-1, trimmed) of a binarised canvas from KOVOcrRegion.
    QString recognise(const cv::Mat& binary);

    // Whether the English data is installed where the engine looks.
    static bool hasLanguageData();

private:
    static void serialise();

    std::unique_ptr<tesseract::TessBaseAPI> m_api;
    bool m_ready = false;
};

#endif // KOVOCRENGINE_H

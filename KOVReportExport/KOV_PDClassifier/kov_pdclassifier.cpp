#include "kov_pdclassifier.h"

#include "kov_pdalg.h"

#include <QDebug>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <fstream>
#include <vector>

const char* const KOV_PDClassifier::kDefaultBankPath = "./cfg/Data/bank.txt";

namespace {

const int kNeighbours = 5;
const int kMinRows = 4;
const int kMaxClasses = 4;
// A pattern longer than this is not a period of phase bins.
const float kMaxPatternLen = 1 << 20;

// Reads a count written as a number; truncated toward zero, and refused when
// it is not a finite number in range (a cast of 1e30 to int is undefined).
bool readCount(std::istream& in, float limit, int& out)
{
    float v;
    if (!(in >> v) || !(v > -1.0f) || !(v < limit))
        return false;
    out = static_cast<int>(v);
    return true;
}

} // namespace

KOV_PDClassifier::KOV_PDClassifier(const char* bankPath)
{
    m_dEmpiricalData = new float*[kMaxRows];
    for (int r = 0; r < kMaxRows; ++r)
        m_dEmpiricalData[r] = new float[KOV_ROW_LEN]();
    readBank(bankPath);
}

KOV_PDClassifier::~KOV_PDClassifier()
{
    for (int r = 0; r < kMaxRows; ++r)
        delete[] m_dEmpiricalData[r];
    delete[] m_dEmpiricalData;
}

void KOV_PDClassifier::readBank(const char* path)
{
    std::ifstream in(path);
    if (!in) {
        // Every period then classifies as none. Said once: the capture makes
        // a classifier for each page that loads audio.
        static std::atomic<bool> told { false };
        if (!told.exchange(true))
            qWarning() << "KOV_PDClassifier: bank" << path << "not found; no discharge will be classified";
        return;
    }
    if (!readCount(in, 1e9f, m_nClassNum) || !readCount(in, 1e9f, m_nFeatureLen)) {
        qWarning() << "KOV_PDClassifier: bank" << path << "has no class count and row length";
        return;
    }
    if (m_nFeatureLen != KOV_ROW_LEN || m_nClassNum < 1 || m_nClassNum > kMaxClasses) {
        qWarning() << "KOV_PDClassifier: bank" << path << "refused: row length" << m_nFeatureLen << "classes"
                   << m_nClassNum;
        return;
    }
    // The last row of the table is the query's.
    int rows = 0;
    for (; rows < kMaxRows - 1; ++rows) {
        float* row = m_dEmpiricalData[rows];
        int c = 0;
        while (c < KOV_ROW_LEN && in >> row[c])
            ++c;
        if (c < KOV_ROW_LEN)
            break;
    }
    m_nEPDataLen = rows;
    float extra;
    if (rows == kMaxRows - 1 && in >> extra)
        qWarning() << "KOV_PDClassifier: bank" << path << "cut at" << rows << "rows";
    m_usable = checkBank();
    if (m_usable)
        cacheScaling();
    if (!m_usable)
        qWarning() << "KOV_PDClassifier: bank" << path << "unusable:" << m_nEPDataLen << "rows";
}

bool KOV_PDClassifier::checkBank() const
{
    if (m_nEPDataLen < kMinRows)
        return false;
    for (int c = 0; c < KOV_ROW_LEN; ++c) {
        float lo = m_dEmpiricalData[0][c], hi = lo;
        for (int r = 0; r < m_nEPDataLen; ++r) {
            const float v = m_dEmpiricalData[r][c];
            if (!std::isfinite(v))
                return false;
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
        // A feature with one value in every row scales to nothing.
        if (c > 0 && (!(hi > lo) || !std::isfinite(hi - lo)))
            return false;
    }
    return true;
}

void KOV_PDClassifier::cacheScaling()
{
    const int n = m_nEPDataLen;
    m_lo.assign(KOV_ROW_LEN, 0.0f);
    m_hi.assign(KOV_ROW_LEN, 0.0f);
    m_scaled.assign(KOV_ROW_LEN, std::vector<float>());
    for (int c = 1; c < KOV_ROW_LEN; ++c) {
        float lo = m_dEmpiricalData[0][c], hi = lo;
        for (int r = 0; r < n; ++r) {
            lo = std::min(lo, m_dEmpiricalData[r][c]);
            hi = std::max(hi, m_dEmpiricalData[r][c]);
        }
        m_lo[c] = lo;
        m_hi[c] = hi;
        m_scaled[c].resize(static_cast<size_t>(n));
        const float range = hi - lo;
        for (int r = 0; r < n; ++r)
            m_scaled[c][static_cast<size_t>(r)] = (m_dEmpiricalData[r][c] - lo) / range;
    }
    m_work.assign(KOV_ROW_LEN, std::vector<float>(static_cast<size_t>(n)));
    m_dist.resize(static_cast<size_t>(n) + 1);
    m_labels.resize(static_cast<size_t>(n) + 1);
    m_bankLabels.resize(static_cast<size_t>(n) + 1);
    for (int r = 0; r < n; ++r)
        m_bankLabels[static_cast<size_t>(r)] = m_dEmpiricalData[r][0];
    m_bankLabels[static_cast<size_t>(n)] = -1.0f; // the query's
}

// The bank's column c scaled over lo..hi, as KOV_FeatureMapping scales it.
const float* KOV_PDClassifier::scaledColumn(int c, float lo, float hi, std::vector<float>& work)
{
    if (lo == m_lo[c] && hi == m_hi[c])
        return m_scaled[c].data();
    const float range = hi - lo;
    for (int r = 0; r < m_nEPDataLen; ++r)
        work[static_cast<size_t>(r)] = (m_dEmpiricalData[r][c] - lo) / range;
    return work.data();
}

bool KOV_PDClassifier::GetPDInfo(const float* data, int len, int& type)
{
    type = 0;
    if (!m_usable || !data || len < 1)
        return true;
    float* query = m_dEmpiricalData[m_nEPDataLen];
    KOV_FeatureExtraction(data, len, query);
    query[0] = -1.0f;
    for (int c = 1; c < KOV_ROW_LEN; ++c)
        if (!std::isfinite(query[c]))
            return true; // a flat period has no skewness: no discharge
    // The same arithmetic as KOV_FeatureMapping and KOV_AbstractDistance over
    // the bank and the query; each row's pairs are added in column order.
    const int n = m_nEPDataLen;
    const double w = 1.0 / (KOV_ROW_LEN / 2);
    float sq[KOV_ROW_LEN];
    const float* col[KOV_ROW_LEN];
    for (int c = 1; c < KOV_ROW_LEN; ++c) {
        const float q = query[c];
        const float lo = std::min(m_lo[c], q), hi = std::max(m_hi[c], q);
        if (!std::isfinite(hi - lo))
            return true; // a range beyond float: nothing to compare
        sq[c] = (q - lo) / (hi - lo);
        col[c] = scaledColumn(c, lo, hi, m_work[static_cast<size_t>(c)]);
    }
    static_assert(KOV_ROW_LEN == 9, "four pairs of feature columns");
    float* dist = m_dist.data();
    for (int r = 0; r < n; ++r) {
        float total = 0.0f;
        for (int c = 1; c < KOV_ROW_LEN; c += 2) {
            const float dA = sq[c] - col[c][r];
            const float dB = sq[c + 1] - col[c + 1][r];
            const float pair = dA * dA + dB * dB;
            total = static_cast<float>(total + pair * w * w);
        }
        dist[r] = total;
    }
    m_dist[static_cast<size_t>(n)] = 100.0f;
    // The vote may reorder the labels.
    std::copy(m_bankLabels.begin(), m_bankLabels.end(), m_labels.begin());
    type = KOV_VoteNearest(m_dist.data(), m_labels.data(), n + 1, kNeighbours, m_nClassNum);
    return true;
}

bool KOV_PDClassifier::KOV_ClassificationFeatureBank(const char* path)
{
    std::ifstream in(path);
    if (!in)
        return false;
    float count, length;
    if (!(in >> count >> length) || !(count >= 0.0f) || !(count < 1e9f) || !(length >= 1.0f) || !(length < kMaxPatternLen))
        return false;
    const int n = static_cast<int>(count);
    const int len = static_cast<int>(length);
    std::vector<float> values(static_cast<size_t>(len));
    float row[KOV_ROW_LEN];
    for (int p = 0; p < n; ++p) {
        if (!(in >> row[0]))
            return false;
        for (int i = 0; i < len; ++i)
            if (!(in >> values[static_cast<size_t>(i)]))
                return false;
        KOV_FeatureExtraction(values.data(), len, row);
        // Always the full row: a writer that took its length from a loaded
        // bank would write empty lines without one.
        std::ofstream out("Data/FeatureBank.txt", std::ios::app);
        if (!out)
            return false;
        out << '\n';
        for (float v : row)
            out << v << ' ';
        if (!out)
            return false;
    }
    return true;
}

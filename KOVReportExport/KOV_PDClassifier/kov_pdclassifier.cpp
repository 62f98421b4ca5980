#include "kov_pdclassifier.h"

#include "kov_pdalg.h"

#include <QDebug>
#include <algorithm>
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
    if (!in)
        return;
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
        if (c > 0 && !(hi > lo))
            return false;
    }
    return true;
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
    // Scaling works in place; the bank must stay as read for the next query.
    const int n = m_nEPDataLen + 1;
    std::vector<float> scratch(static_cast<size_t>(n) * KOV_ROW_LEN);
    std::vector<float*> rows(static_cast<size_t>(n));
    for (int r = 0; r < n; ++r) {
        rows[static_cast<size_t>(r)] = scratch.data() + static_cast<size_t>(r) * KOV_ROW_LEN;
        std::copy(m_dEmpiricalData[r], m_dEmpiricalData[r] + KOV_ROW_LEN, rows[static_cast<size_t>(r)]);
    }
    type = KOV_KNearestNeighbors(rows.data(), n, KOV_ROW_LEN, m_nClassNum, kNeighbours);
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

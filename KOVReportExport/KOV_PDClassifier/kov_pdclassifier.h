#ifndef KOV_PDCLASSIFIER_H
#define KOV_PDCLASSIFIER_H

#include <vector>

// Decides the discharge class of one mains period from its phase-bin values:
// eight features, scaled together with a bank of labelled rows, and a vote of
// the five nearest rows. Answers 0 (no discharge) whenever the bank or the
// query cannot be trusted.
class KOV_PDClassifier
{
public:
    static const char* const kDefaultBankPath; // "./cfg/Data/bank.txt"
    static const int kMaxRows = 1024;          // bank rows + the query row

    explicit KOV_PDClassifier(const char* bankPath = kDefaultBankPath);
    ~KOV_PDClassifier();
    KOV_PDClassifier(const KOV_PDClassifier&) = delete;
    KOV_PDClassifier& operator=(const KOV_PDClassifier&) = delete;

    bool GetPDInfo(const float* data, int len, int& type);

    // Appends one feature row per pattern of the pattern file `path` (count,
    // length, then label and values per pattern) to "Data/FeatureBank.txt".
    // False when the pattern file or the bank file cannot be opened, or the
    // pattern file ends early.
    bool KOV_ClassificationFeatureBank(const char* path);

    int classCount() const { return m_nClassNum; }
    int rowCount() const { return m_nEPDataLen; }
    int rowLength() const { return m_nFeatureLen; }
    // False when the bank was refused or is too small to vote; every answer is
    // then 0.
    bool isUsable() const { return m_usable; }

private:
    void readBank(const char* path);
    bool checkBank() const;
    void cacheScaling();
    const float* scaledColumn(int c, float lo, float hi, std::vector<float>& work);

    int m_nClassNum = 0;
    int m_nEPDataLen = 0;
    int m_nFeatureLen = 0;
    int m_nOffset = 0;
    int m_nType = 0;
    float** m_dEmpiricalData = nullptr;
    bool m_usable = false;
    // Every query is scaled together with the bank. Most queries fall inside
    // the bank's range of each feature, and then the bank's scaled columns are
    // the same for every query: they are kept, column by column, and only a
    // column the query stretches is scaled again.
    std::vector<float> m_lo, m_hi;
    std::vector<std::vector<float>> m_scaled; // per feature column, bank rows
    std::vector<std::vector<float>> m_work;   // columns scaled for one query
    std::vector<float> m_dist, m_labels;
    std::vector<float> m_bankLabels; // column 0 of the bank rows, then the query's
};

#endif // KOV_PDCLASSIFIER_H

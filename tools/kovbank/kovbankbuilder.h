#ifndef KOVBANKBUILDER_H
#define KOVBANKBUILDER_H

#include <QString>
#include <cstdint>
#include <vector>

// Makes the classifier's feature bank from synthetic recordings: each one runs
// through the real pulse capture, and every period in which the capture found
// a pulse (the only periods the classifier is ever asked about) becomes a
// labelled pattern of 240 phase-bin values. The patterns go through the
// classifier's own bank writer.
class KOVBankBuilder
{
public:
    enum { Classes = 4, Bins = 240, RecordingPeriods = 40, SkippedPeriods = 2 };

    struct Pattern
    {
        int label;
        std::vector<float> bins;
    };

    struct Confusion
    {
        long counts[Classes][Classes] = {}; // [true class][answer], pulse periods
        long periods[Classes] = {};
        long pulses[Classes] = {};
    };

    // Up to rows pulse periods of class cls, from as many recordings as it
    // takes (at most maxRecordings).
    static std::vector<Pattern> collect(uint32_t seed, int cls, int rows, int maxRecordings = 2000);
    // Writes the bank file: class count, row length, then one row per pattern.
    static bool writeBank(const std::vector<Pattern>& patterns, const QString& bankPath, QString* error);
    // The whole bank: rowsPerClass patterns of every class from one seed.
    static bool build(uint32_t seed, int rowsPerClass, const QString& bankPath, QString* error);
    // Classifies the periods of recordingsPerClass recordings of every class,
    // made from seed, with the bank at bankPath.
    static Confusion evaluate(const QString& bankPath, uint32_t seed, int recordingsPerClass);
    static QString format(const Confusion& c);

private:
    template <typename Fn>
    static void runRecording(const std::vector<float>& audio, Fn perPeriod);
};

#endif // KOVBANKBUILDER_H

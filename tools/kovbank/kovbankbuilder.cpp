#include "kovbankbuilder.h"

#include "kov_pdalg.h"
#include "kov_pdclassifier.h"
#include "kovpddpulsecapture.h"
#include "kovpdsynth.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <cmath>
#include <cstdio>

namespace {

const char* const kClassNames[KOVBankBuilder::Classes] = {"none", "corona", "surface", "free metal"};

// Runs fn with the working directory set to dir; the classifier reads and
// writes its files relative to it.
template <typename Fn>
bool inDirectory(const QString& dir, Fn fn)
{
    const QString was = QDir::currentPath();
    if (!QDir::setCurrent(dir))
        return false;
    const bool ok = fn();
    QDir::setCurrent(was);
    return ok;
}

bool finiteFeatures(const std::vector<float>& bins)
{
    float row[KOV_ROW_LEN];
    KOV_FeatureExtraction(bins.data(), static_cast<int>(bins.size()), row);
    for (int c = 1; c < KOV_ROW_LEN; ++c)
        if (!std::isfinite(row[c]))
            return false;
    return true;
}

} // namespace

template <typename Fn>
void KOVBankBuilder::runRecording(const std::vector<float>& audio, Fn perPeriod)
{
    // Fed as playback feeds it, one 40 ms video frame at a time.
    const int block = 3840;
    KOVPddPulseCapture capture(KOVPddPulseCapture::Pdd50Hz);
    float bins[Bins];
    int period = 0;
    for (size_t at = 0; at < audio.size(); at += block) {
        const int n = static_cast<int>(std::min<size_t>(block, audio.size() - at));
        capture.FeedAudio(audio.data() + at, n);
        KOVPddPulseCapture::PddType type = KOVPddPulseCapture::PddTypeNone;
        while (capture.getPdd(bins, type)) {
            // The first periods see the filters settle and the noise floor
            // start from 0.
            if (period++ >= SkippedPeriods)
                perPeriod(bins, capture.lastPeriodHadPulse(), type);
        }
    }
}

std::vector<KOVBankBuilder::Pattern> KOVBankBuilder::collect(uint32_t seed, int cls, int rows, int maxRecordings)
{
    // Each class draws from its own stream, so the rows of one class do not
    // change when another class's count does.
    KOVPdSynth synth(seed * 7919u + static_cast<uint32_t>(cls) * 104729u);
    std::vector<Pattern> out;
    for (int r = 0; r < maxRecordings && static_cast<int>(out.size()) < rows; ++r) {
        const std::vector<float> audio = synth.render(cls, RecordingPeriods);
        runRecording(audio, [&](const float* bins, bool pulse, KOVPddPulseCapture::PddType) {
            if (!pulse || static_cast<int>(out.size()) >= rows)
                return;
            Pattern p{cls, std::vector<float>(bins, bins + Bins)};
            if (finiteFeatures(p.bins))
                out.push_back(std::move(p));
        });
    }
    return out;
}

bool KOVBankBuilder::writeBank(const std::vector<Pattern>& patterns, const QString& bankPath, QString* error)
{
    QTemporaryDir tmp;
    if (!tmp.isValid() || !QDir(tmp.path()).mkpath(QStringLiteral("Data"))) {
        *error = QStringLiteral("no scratch folder");
        return false;
    }
    {
        QFile f(tmp.filePath(QStringLiteral("patterns.txt")));
        if (!f.open(QIODevice::WriteOnly)) {
            *error = f.errorString();
            return false;
        }
        QTextStream s(&f);
        s << patterns.size() << ' ' << Bins << '\n';
        char num[32];
        for (const Pattern& p : patterns) {
            s << p.label;
            for (float v : p.bins) {
                std::snprintf(num, sizeof num, " %.9g", static_cast<double>(v));
                s << num;
            }
            s << '\n';
        }
    }
    const bool written = inDirectory(tmp.path(), [] {
        KOV_PDClassifier writer("");
        return writer.KOV_ClassificationFeatureBank("patterns.txt");
    });
    QFile rows(tmp.filePath(QStringLiteral("Data/FeatureBank.txt")));
    if (!written || !rows.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("the bank writer failed");
        return false;
    }
    QDir().mkpath(QFileInfo(bankPath).absolutePath());
    QFile out(bankPath);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        *error = out.errorString();
        return false;
    }
    const QByteArray body = QByteArray::number(Classes) + ' ' + QByteArray::number(KOV_ROW_LEN) + rows.readAll() + '\n';
    if (out.write(body) != body.size()) {
        *error = out.errorString();
        return false;
    }
    return true;
}

bool KOVBankBuilder::build(uint32_t seed, int rowsPerClass, const QString& bankPath, QString* error)
{
    std::vector<Pattern> all;
    for (int cls = 0; cls < Classes; ++cls) {
        std::vector<Pattern> some = collect(seed, cls, rowsPerClass);
        if (static_cast<int>(some.size()) < rowsPerClass) {
            *error = QStringLiteral("only %1 periods of class %2").arg(some.size()).arg(cls);
            return false;
        }
        all.insert(all.end(), some.begin(), some.end());
    }
    return writeBank(all, bankPath, error);
}

KOVBankBuilder::Confusion KOVBankBuilder::evaluate(const QString& bankPath, uint32_t seed, int recordingsPerClass)
{
    Confusion c;
    QTemporaryDir tmp;
    const QString bank = tmp.filePath(QStringLiteral("cfg/Data/bank.txt"));
    if (!tmp.isValid() || !QDir(tmp.path()).mkpath(QStringLiteral("cfg/Data")) || !QFile::copy(bankPath, bank))
        return c;
    inDirectory(tmp.path(), [&] {
        for (int cls = 0; cls < Classes; ++cls) {
            KOVPdSynth synth(seed * 7919u + static_cast<uint32_t>(cls) * 104729u);
            for (int r = 0; r < recordingsPerClass; ++r) {
                runRecording(synth.render(cls, RecordingPeriods), [&](const float*, bool pulse, KOVPddPulseCapture::PddType type) {
                    c.periods[cls]++;
                    if (!pulse)
                        return;
                    c.pulses[cls]++;
                    c.counts[cls][type]++;
                });
            }
        }
        return true;
    });
    return c;
}

QString KOVBankBuilder::format(const Confusion& c)
{
    QString s;
    QTextStream t(&s);
    t << "Periods with a pulse, by true class (rows) and answer (columns), in %:\n";
    t << qSetFieldWidth(12) << "" << qSetFieldWidth(0);
    for (const char* name : kClassNames)
        t << qSetFieldWidth(11) << name << qSetFieldWidth(0);
    t << "   pulses/periods\n";
    for (int i = 0; i < Classes; ++i) {
        t << qSetFieldWidth(12) << kClassNames[i] << qSetFieldWidth(0);
        for (int j = 0; j < Classes; ++j) {
            const double pct = c.pulses[i] ? 100.0 * c.counts[i][j] / c.pulses[i] : 0.0;
            t << qSetFieldWidth(11) << QString::number(pct, 'f', 1) << qSetFieldWidth(0);
        }
        t << "   " << c.pulses[i] << "/" << c.periods[i] << "\n";
    }
    return s;
}
